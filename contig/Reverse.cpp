// A contig turned to the other strand: the consensus and every read
// reverse-complemented, with each per-position value (qualities, starts,
// trims, BAC figures, QA positions) moved along with the base it marks.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "ace/Contig.h"

namespace ostrel {

namespace {

// 0-based index i of a length-L sequence seen from the other end; -1 (and
// any other negative "none") stays as it is.
int MirrorIndex(int i, size_t length) {
  return i < 0 ? i : ClampToInt(static_cast<int64_t>(length) - 1 - i);
}

// A range first .. last mirrored: the ends swap.
void MirrorRange(int& first, int& last, size_t length) {
  const int newFirst = MirrorIndex(last, length);
  last = MirrorIndex(first, length);
  first = newFirst;
}

// The kept "QA a b c d" line of a read of `length` characters, its 1-based
// positions p mirrored to length + 1 - p and each pair's ends swapped. A
// position below 1 means none and stays; a line of another shape is kept.
std::string MirrorQALine(const std::string& line, size_t length) {
  std::vector<std::string> words;
  size_t at = 0;
  while (words.size() < 6) {
    at = line.find_first_not_of(" \t\r", at);
    if (at == std::string::npos) break;
    const size_t end = std::min(line.find_first_of(" \t\r", at), line.size());
    words.push_back(line.substr(at, end - at));
    at = end;
  }
  if (words.size() != 5 || words[0] != "QA") return line;
  int64_t p[4];
  for (int k = 0; k < 4; ++k) {
    char* end = nullptr;
    const long long value = std::strtoll(words[k + 1].c_str(), &end, 10);
    if (end == words[k + 1].c_str() || *end != '\0' || value < INT32_MIN || value > INT32_MAX) return line;
    p[k] = value < 1 ? value : static_cast<int64_t>(length) + 1 - value;
  }
  return "QA " + std::to_string(ClampToInt(p[1])) + " " + std::to_string(ClampToInt(p[0])) + " " +
         std::to_string(ClampToInt(p[3])) + " " + std::to_string(ClampToInt(p[2]));
}

}  // namespace

void Contig::ReverseComplementContig() {
  const size_t length = mBases.size();
  ReverseComplement();
  // Pad columns after the last value have none: 0s first keep the values on
  // their columns. Values past the consensus end stay where they are.
  std::vector<int>& values = mQuality.mQualities;
  if (values.size() < length) values.resize(length, 0);
  std::reverse(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(length));

  for (size_t i = 0; i < mReads.size(); ++i) {
    Sequence& read = mReads[i];
    const size_t readLength = read.mBases.size();
    read.ReverseComplement();
    if (i >= mReadQuality.size())
      std::cerr << "WARNING: There are " << mReadQuality.size() << " read qualities and " << mReads.size()
                << " reads." << std::endl;
    else if (mReadQuality[i].mQualities.empty())
      std::cerr << "WARNING: " << read.mName << " has no quality in RCContig()." << std::endl;
    else
      mReadQuality[i].Reverse();

    if (i < mAlignStart.size())
      mAlignStart[i] = ClampToInt(static_cast<int64_t>(length) - mAlignStart[i] - static_cast<int64_t>(readLength) + 2);
    if (i < mComplemented.size()) mComplemented[i] = mComplemented[i] == 'C' ? 'U' : 'C';
    if (i < mReadTrimStart.size() && i < mReadTrimEnd.size())
      MirrorRange(mReadTrimStart[i], mReadTrimEnd[i], readLength);
    if (i < mQALines.size()) mQALines[i] = MirrorQALine(mQALines[i], readLength);
  }

  mStrand = mStrand == 'C' ? 'U' : 'C';
  MirrorRange(mTrimStart, mTrimEnd, length);
  MirrorRange(mBACTrimStart, mBACTrimEnd, length);
  MirrorRange(mBACReadStart, mBACReadEnd, length);
  MirrorTags();
  ComputeSyntheticBS();
}

}  // namespace ostrel
