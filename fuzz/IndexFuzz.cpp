// The "_idx" readers on arbitrary bytes: extractbins' read index, and the
// library's record index with quality records fetched through it.
//
// The input is "index text NUL data"; without a NUL the same bytes are both.
// Properties: every read index lookup lands in its table; the record index
// of the data scanned in one part and in two parts agrees with the record
// scanner's count, and its lookups of many names at once with those of one;
// a fetched record's name is the one asked for.
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "extractbins/ReadIndex.h"
#include "seq/QualityRecordFile.h"
#include "seq/RecordIndex.h"
#include "seq/RecordScanner.h"
#include "util/LineScan.h"

using namespace ostrel;
using ostrel::fuzz::ScratchPath;

namespace {

// The first words of the input's lines, without a leading '>': names that
// the index or the data may hold, and a few that they may not.
std::vector<std::string> NamesOf(const std::string& text) {
  std::vector<std::string> names = {"", "r1", ">"};
  std::istringstream in(text);
  std::string line;
  while (names.size() < 16 && std::getline(in, line)) {
    int pos = 0;
    std::string word = GetNextWSDelimitedString(line, line.compare(0, 1, ">") == 0 ? 1 : 0, pos);
    if (!word.empty()) names.push_back(word);
  }
  return names;
}

int64_t ScannedRecords(const std::string& data) {
  RecordScanner scanner;
  if (!scanner.Feed(data.data(), data.size()) || !scanner.Finish()) return -1;
  return scanner.mRecordCount;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  fuzz::Quiet quiet;
  const std::string input(reinterpret_cast<const char*>(bytes), size);
  const size_t nul = input.find('\0');
  const std::string indexText = nul == std::string::npos ? input : input.substr(0, nul);
  const std::string data = nul == std::string::npos ? input : input.substr(nul + 1);
  const std::string dataName = ScratchPath("reads.qual");
  fuzz::WriteBytes(dataName, data);
  fuzz::WriteBytes(dataName + "_idx", indexText);
  const std::vector<std::string> names = NamesOf(indexText + "\n" + data);

  ReadIndex readIndex;
  FUZZ_CHECK(readIndex.Load(dataName));
  std::vector<const IndexInfo*> many;
  readIndex.FindMany(names, many);
  for (size_t k = 0; k < names.size(); ++k) {
    const IndexInfo* one = readIndex.Find(names[k]);
    FUZZ_CHECK(one == many[k]);
    FUZZ_CHECK(one == nullptr || (one >= readIndex.mTable.data() && one < readIndex.mTable.data() + readIndex.mTable.size()));
  }

  // Through the index file, then (without it) by scanning the data, whole
  // and in two parts.
  RecordIndex fromFile;
  if (!fromFile.Load(dataName)) FUZZ_CHECK(!fromFile.mError.empty());
  std::vector<RecordIndex::Range> ranges;
  for (const std::string& name : names) fromFile.Find(name, ranges);
  std::remove((dataName + "_idx").c_str());
  const int64_t scanned = ScannedRecords(data);
  RecordIndex whole, halves;
  halves.mSplitScanFrom = 1;
  const bool wholeLoaded = whole.Load(dataName);
  const bool halvesLoaded = halves.Load(dataName);
  FUZZ_CHECK(wholeLoaded == (scanned >= 0));
  FUZZ_CHECK(halvesLoaded == wholeLoaded);
  if (wholeLoaded) {
    FUZZ_CHECK(!whole.mFromIndexFile);
    FUZZ_CHECK(static_cast<int64_t>(whole.Size()) == scanned);
    FUZZ_CHECK(halves.Size() == whole.Size());
    std::vector<RecordIndex::Range> first;
    for (const RecordIndex* index : {&whole, &halves}) {
      index->FindFirst(names, first);
      FUZZ_CHECK(first.size() == names.size());
      for (size_t k = 0; k < names.size(); ++k) {
        index->Find(names[k], ranges);
        FUZZ_CHECK(ranges.empty() ? first[k].mStart == 0
                                  : first[k].mStart == ranges[0].mStart && first[k].mEnd == ranges[0].mEnd);
      }
    }
  }

  // Quality records fetched one by one and together, with and without the
  // index file (with it, every piece but a batch's first read as it is
  // parsed).
  for (int withIndex = 0; withIndex < 2; ++withIndex) {
    if (withIndex) fuzz::WriteBytes(dataName + "_idx", indexText);
    QualityRecordFile file;
    if (!file.Open(dataName)) continue;
    if (withIndex) file.mMaxBatchText = 1;
    std::ostringstream messages;
    std::vector<QualityRecordFile::Fetched> together;
    file.Fetch(names, together, messages);
    FUZZ_CHECK(together.size() == names.size());
    for (size_t k = 0; k < names.size(); ++k) {
      QualityRecordFile::Fetched alone;
      file.Fetch(names[k], alone, messages);
      FUZZ_CHECK(alone.mFound == together[k].mFound);
      if (!alone.mFound) continue;
      FUZZ_CHECK(alone.mQuality.mName == names[k]);
      FUZZ_CHECK(alone.mQuality.mQualities == together[k].mQuality.mQualities);
      FUZZ_CHECK(alone.mStart >= 1 && alone.mStart <= static_cast<int64_t>(data.size()));
    }
  }
  return 0;
}
