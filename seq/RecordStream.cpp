// Records read in one pass: the record scanner's index lines taken after
// each block, the text of each record found in the block or in what was
// kept of the blocks before.
#include "seq/RecordStream.h"

#include <algorithm>

#include "seq/IndexLine.h"
#include "util/StringUtil.h"

namespace ostrel {

bool RecordStream::Open(const std::string& fileName) {
  mFileName = fileName;
  mEnded = !mIn.Open(fileName);
  if (!mEnded) return true;
  mError = ShownFileName(fileName) + " open failed. " + mIn.mError + ".";
  return false;
}

bool RecordStream::Next() {
  if (mBlock != nullptr) Keep(mRanges.empty() ? mCarryStart : mRanges.back().second);
  mNames.clear();
  mRanges.clear();
  if (mEnded) return false;
  const char* data = nullptr;
  const int64_t got = mIn.Next(data);
  if (got < 0) {
    mEnded = true;
    mError =
        mIn.mError + " after byte " + std::to_string(mTextEnd) + " of its text; the records after it are not read.";
    return false;
  }
  mBlockStart = mTextEnd;
  mTextEnd += got;
  mBlock = data;
  mBlockSize = static_cast<size_t>(got);
  const bool good = got == 0 ? mScanner.Finish() : mScanner.Feed(data, mBlockSize);
  mEnded = got == 0 || !good;
  TakeRecords();
  if (!good) Malformed();
  return !mNames.empty() || !mEnded;
}

void RecordStream::TakeRecords() {
  const std::string& lines = mScanner.mIndexText;
  for (size_t at = 0; at < lines.size();) {
    const size_t end = lines.find('\n', at);
    mLine.assign(lines, at, end - at);
    at = end + 1;
    mNames.emplace_back();
    mRanges.emplace_back();
    ParseIndexLine(mLine, mNames.back(), mRanges.back().first, mRanges.back().second);
  }
  mScanner.mIndexText.clear();
}

void RecordStream::Malformed() {
  mError = ShownFileName(mFileName) + " byte " + std::to_string(mScanner.mErrorPosition);
  if (mScanner.mErrorLine > 0) mError += " (line " + std::to_string(mScanner.mErrorLine) + ")";
  mError += ": " + mScanner.mError + "; the records from there on are not read.";
}

void RecordStream::Text(size_t k, std::string_view& kept, std::string_view& block) const {
  const int64_t from = mRanges[k].first - 1;
  const int64_t to = mRanges[k].second;
  const int64_t split = std::min(std::max(from, mBlockStart), to);
  kept = split > from ? std::string_view(mCarry.data() + (from - mCarryStart), static_cast<size_t>(split - from))
                      : std::string_view();
  block = to > split ? std::string_view(mBlock + (split - mBlockStart), static_cast<size_t>(to - split))
                     : std::string_view();
}

std::string_view RecordStream::WholeText(size_t k, std::string& scratch) const {
  std::string_view kept, block;
  Text(k, kept, block);
  if (kept.empty()) return block;
  if (block.empty()) return kept;
  scratch.assign(kept).append(block);
  return scratch;
}

void RecordStream::Keep(int64_t keepFrom) {
  if (keepFrom >= mBlockStart) {
    const size_t skipped = static_cast<size_t>(keepFrom - mBlockStart);
    mCarry.assign(mBlock + skipped, mBlockSize - skipped);
  } else {
    mCarry.erase(0, static_cast<size_t>(keepFrom - mCarryStart));
    mCarry.append(mBlock, mBlockSize);
  }
  mCarryStart = keepFrom;
  mBlock = nullptr;
  mBlockSize = 0;
}

}  // namespace ostrel
