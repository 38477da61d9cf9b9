// Loading a record index from its "_idx" file or from the data itself, and
// reading a record by its position.
#include "seq/RecordIndex.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "seq/RecordScanner.h"
#include "util/FileUtil.h"
#include "util/LineScan.h"

namespace ostrel {

namespace {

constexpr size_t kScanBlock = 1 << 20;

}  // namespace

bool RecordIndex::Load(const std::string& dataName) {
  mRanges.clear();
  mNameIndex.clear();
  mError.clear();
  mFromIndexFile = false;
  const std::string indexName = dataName + "_idx";
  if (FileExists(indexName) && FileExists(dataName) && !FileModifiedBefore(indexName, dataName)) {
    std::ifstream in(indexName, std::ios::binary);
    std::ostringstream text;
    if (in && (text << in.rdbuf())) {
      AddLines(text.str());
      mFromIndexFile = true;
      return true;
    }
  }
  return ScanData(dataName);
}

bool RecordIndex::ScanData(const std::string& dataName) {
  std::ifstream in(dataName, std::ios::binary);
  if (!in) {
    mError = "cannot read " + dataName;
    return false;
  }
  RecordScanner scanner;
  std::vector<char> block(kScanBlock);
  bool good = true;
  while (good && in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    good = scanner.Feed(block.data(), static_cast<size_t>(in.gcount()));
    AddLines(scanner.mIndexText);
    scanner.mIndexText.clear();
  }
  good = good && !in.bad() && scanner.Finish();
  AddLines(scanner.mIndexText);
  if (!good) {
    mError = dataName + ": " + (in.bad() ? std::string("read error") : scanner.mError) + " at byte " +
             std::to_string(scanner.mErrorPosition);
    mRanges.clear();
    mNameIndex.clear();
  }
  return good;
}

void RecordIndex::AddLines(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  while (GetLine(lines, line)) {
    int pos = 0;
    const std::string name = GetNextWSDelimitedString(line, 0, pos);
    if (name.empty()) continue;
    Range range;
    range.mStart = GetNextInteger64(line, pos, pos);
    range.mEnd = GetNextInteger64(line, pos, pos);
    if (mNameIndex.emplace(name, static_cast<int>(mRanges.size())).second) mRanges.push_back(range);
  }
}

const RecordIndex::Range* RecordIndex::Find(const std::string& name) const {
  const auto found = mNameIndex.find(name);
  return found == mNameIndex.end() ? nullptr : &mRanges[static_cast<size_t>(found->second)];
}

bool RecordIndex::ReadRecord(std::istream& in, const Range& range, std::string& record) {
  record.clear();
  in.clear();
  // A range from a damaged or foreign index is checked against the data's
  // size before any room is made for it.
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (range.mStart < 1 || range.mEnd < range.mStart || size < 0 || range.mEnd > size) {
    in.clear();
    return false;
  }
  in.seekg(range.mStart - 1);
  record.resize(static_cast<size_t>(range.mEnd - range.mStart + 1));
  in.read(&record[0], static_cast<std::streamsize>(record.size()));
  if (in.gcount() == static_cast<std::streamsize>(record.size())) return true;
  record.clear();
  in.clear();
  return false;
}

}  // namespace ostrel
