// The record scanner of ostrel-fastaindex (FASTA, and FASTQ through the
// FASTQ scanner when the text starts with '@'): the bytes fed whole and fed
// in blocks split where the input says give the same index text, counts and
// error. The split points are the input's first bytes, the rest the text.
#include <string>

#include "FuzzSupport.h"
#include "seq/RecordScanner.h"

using namespace ostrel;

namespace {

struct Outcome {
  std::string mIndexText;
  int64_t mRecords = 0;
  int64_t mDuplicates = 0;
  std::string mError;
  int64_t mErrorPosition = 0;
  bool mGood = false;
  bool operator==(const Outcome& other) const {
    return mIndexText == other.mIndexText && mRecords == other.mRecords && mDuplicates == other.mDuplicates &&
           mError == other.mError && mErrorPosition == other.mErrorPosition && mGood == other.mGood;
  }
};

// Scans `text` in blocks of the given sizes, the last block taking the
// rest; the index text is taken after every block, as the command does.
Outcome Scan(const std::string& text, const uint8_t* sizes, size_t sizeCount) {
  RecordScanner scanner;
  Outcome outcome;
  bool good = true;
  size_t at = 0;
  for (size_t k = 0; k <= sizeCount && good; ++k) {
    const size_t n = k < sizeCount ? std::min<size_t>(sizes[k], text.size() - at) : text.size() - at;
    good = scanner.Feed(text.data() + at, n);
    at += n;
    outcome.mIndexText += scanner.mIndexText;
    scanner.mIndexText.clear();
  }
  good = scanner.Finish() && good;
  outcome.mIndexText += scanner.mIndexText;
  outcome.mRecords = scanner.mRecordCount;
  outcome.mDuplicates = scanner.mDuplicateCount;
  outcome.mError = scanner.mError;
  outcome.mErrorPosition = scanner.mErrorPosition;
  outcome.mGood = good;
  FUZZ_CHECK(good == scanner.mError.empty());
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const size_t sizeCount = size == 0 ? 0 : std::min<size_t>(bytes[0] % 16, size - 1);
  const uint8_t* sizes = bytes + 1;
  const size_t textStart = size == 0 ? 0 : 1 + sizeCount;
  const std::string text(reinterpret_cast<const char*>(bytes) + textStart, size - textStart);
  const Outcome whole = Scan(text, nullptr, 0);
  FUZZ_CHECK(Scan(text, sizes, sizeCount) == whole);
  // Byte by byte, for short texts.
  if (text.size() <= 256) {
    const std::string ones(text.size(), '\1');
    FUZZ_CHECK(Scan(text, reinterpret_cast<const uint8_t*>(ones.data()), ones.size()) == whole);
  }
  // Every index line is "name TAB start TAB end", start <= end.
  if (whole.mGood) {
    size_t lines = 0;
    for (size_t at = 0; at < whole.mIndexText.size(); ++lines) {
      const size_t end = whole.mIndexText.find('\n', at);
      FUZZ_CHECK(end != std::string::npos);
      const std::string line = whole.mIndexText.substr(at, end - at);
      const size_t tab1 = line.find('\t'), tab2 = line.rfind('\t');
      FUZZ_CHECK(tab1 != std::string::npos && tab2 > tab1);
      const int64_t start = std::stoll(line.substr(tab1 + 1)), last = std::stoll(line.substr(tab2 + 1));
      FUZZ_CHECK(start >= 1 && start <= last && last <= static_cast<int64_t>(text.size()));
      FUZZ_CHECK(text[start - 1] == '>' || text[start - 1] == '@');
      at = end + 1;
    }
    FUZZ_CHECK(static_cast<int64_t>(lines) == whole.mRecords);
  }
  return 0;
}
