// Counts over individual read characters against a contig's consensus:
// high-quality disagreements and Phred-20 depth per index, and the bases a
// read shares with the consensus.
//
// A read's quality is looked at only where its quality list has a value; a
// missing value is below every threshold. Each count walks every read once
// over the indexes it covers.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <iostream>

#include "ace/Contig.h"

namespace ostrel {

namespace {

const int kHighQuality = 19;  // a quality above this is high

// The C library's upper-case mapping of every byte, looked up rather than
// called in the per-character loops.
using UpperTable = std::array<char, 256>;
const UpperTable& Uppercase() {
  static const UpperTable table = [] {
    UpperTable t;
    for (int c = 0; c < 256; ++c) t[c] = static_cast<char>(std::toupper(c));
    return t;
  }();
  return table;
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Consensus indexes first .. last (all covered by the read) where the read
// shows the consensus character, ignoring case; pad columns never match.
int CountMatching(const Contig& contig, int readIdx, int first, int last) {
  int matches = 0;
  for (int p = first; p <= last; ++p) {
    const char read = contig.mReads[readIdx].mBases[contig.ReadOffset(readIdx, p)];
    if (contig.mBases[p] != '*' && Lower(contig.mBases[p]) == Lower(read)) ++matches;
  }
  return matches;
}

}  // namespace

void Contig::GetHQDescrepency(std::vector<int>& profile) const {
  if (mReadQuality.size() != mReads.size()) {
    std::cerr << "ReadQuality doesn't match number of reads." << std::endl;
    return;
  }
  profile.assign(mBases.size(), 0);
  const UpperTable& upper = Uppercase();
  int first, last;
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i) {
    if (!ReadExtentInConsensus(i, first, last)) continue;
    const std::vector<int>& quality = mReadQuality[i].mQualities;
    // Only the columns whose read offset has a quality value.
    const int offset = static_cast<int>(ReadOffset(i, first));
    const int valued = static_cast<int>(quality.size()) - offset;
    if (valued <= 0) continue;
    last = std::min(last, first + valued - 1);
    const char* read = mReads[i].mBases.data() + offset;
    const int* value = quality.data() + offset;
    for (int p = first; p <= last; ++p, ++read, ++value)
      profile[p] += (*value > kHighQuality) & (upper[static_cast<unsigned char>(*read)] !=
                                               upper[static_cast<unsigned char>(mBases[p])]);
  }
}

int Contig::CalcP20Coverage(int pos) const {
  int count = 0;
  const int reads = std::min(static_cast<int>(mReads.size()), static_cast<int>(mReadQuality.size()));
  for (int i = 0; i < reads; ++i) {
    if (!IsPlacedRead(i)) continue;
    const int64_t k = ReadOffset(i, pos);
    const std::vector<int>& quality = mReadQuality[i].mQualities;
    if (k >= 0 && k < static_cast<int64_t>(quality.size()) && quality[k] > kHighQuality) ++count;
  }
  return count;
}

void Contig::GetP20Coverage(std::vector<int>& profile) const {
  profile.assign(mBases.size(), 0);
  const int reads = std::min(static_cast<int>(mReads.size()), static_cast<int>(mReadQuality.size()));
  const int64_t length = static_cast<int64_t>(mBases.size());
  for (int i = 0; i < reads; ++i) {
    if (!IsPlacedRead(i)) continue;
    // Offsets follow the quality list, which may be longer than the read.
    const std::vector<int>& quality = mReadQuality[i].mQualities;
    const int64_t readFirst = static_cast<int64_t>(mAlignStart[i]) - 1;
    const int64_t from = std::max<int64_t>(0, -readFirst);
    const int64_t to = std::min<int64_t>(static_cast<int64_t>(quality.size()), length - readFirst);
    for (int64_t k = from; k < to; ++k)
      if (quality[k] > kHighQuality) ++profile[readFirst + k];
  }
}

int Contig::GetMatchingBases(int readIdx) const {
  int first, last;
  if (!ReadExtentInConsensus(readIdx, first, last)) return 0;
  return CountMatching(*this, readIdx, first, last);
}

int Contig::GetMatchingBasesTrimmed(int readIdx) const {
  int first, last;
  if (mTrimStart > mTrimEnd || !TrimmedExtentInConsensus(readIdx, first, last)) return 0;
  first = std::max(first, mTrimStart);
  last = std::min(last, mTrimEnd);
  return CountMatching(*this, readIdx, first, last);
}

}  // namespace ostrel
