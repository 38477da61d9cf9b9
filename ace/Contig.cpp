// Copying a contig stage by stage, questions about its read names, and the
// consensus columns a read covers.
#include "ace/Contig.h"

#include <algorithm>
#include <cstdint>
#include <iostream>

#include "util/StringUtil.h"

namespace ostrel {

void Contig::CopyContig(Contig& target) const {
  std::cout << "copy consensus...\t" << std::flush;
  target.mBases.resize(mBases.size());
  std::copy(mBases.begin(), mBases.end(), target.mBases.begin());
  target.mName = mName;
  target.mDescription = mDescription;

  std::cout << "quality..\t" << std::flush;
  target.mQuality.mQualities.resize(mQuality.mQualities.size());
  std::copy(mQuality.mQualities.begin(), mQuality.mQualities.end(),
            target.mQuality.mQualities.begin());

  std::cout << "data struc...\t" << std::flush;
  target.mPaddedBases = mPaddedBases;
  target.mNumReads = mNumReads;
  target.mNumBaseSeqs = mNumBaseSeqs;
  target.mStrand = mStrand;
  target.mTemplateReads = mTemplateReads;
  target.mReadTemplate = mReadTemplate;
  target.mReadDirection = mReadDirection;
  target.mReadIdxMap = mReadIdxMap;

  std::cout << "reads...\t" << std::flush;
  target.mReads.resize(mReads.size());
  std::copy(mReads.begin(), mReads.end(), target.mReads.begin());
  target.mReadQuality.resize(mReadQuality.size());
  std::copy(mReadQuality.begin(), mReadQuality.end(), target.mReadQuality.begin());
  target.mTemplates = mTemplates;
  target.mAlignStart = mAlignStart;
  target.mComplemented = mComplemented;
  target.mReadTrimStart = mReadTrimStart;
  target.mReadTrimEnd = mReadTrimEnd;
  target.mBaseSegments = mBaseSegments;
  target.mQALines = mQALines;
  target.mReadRecords = mReadRecords;

  target.mTrimStart = mTrimStart;
  target.mTrimEnd = mTrimEnd;
  target.mBACReadStart = mBACReadStart;
  target.mBACReadEnd = mBACReadEnd;
  target.mBACTrimStart = mBACTrimStart;
  target.mBACTrimEnd = mBACTrimEnd;
}

int Contig::CountReadsMatching(const std::string& pattern) const {
  int count = 0;
  for (const Sequence& read : mReads)
    if (Contains(read.mName, pattern)) ++count;
  return count;
}

bool Contig::AllReadsMatch(const std::string& pattern) const {
  return CountReadsMatching(pattern) == static_cast<int>(mReads.size());
}

bool Contig::NoReadsMatch(const std::string& pattern) const { return CountReadsMatching(pattern) == 0; }

bool Contig::IsPlacedRead(int readIdx) const {
  return readIdx >= 0 && readIdx < static_cast<int>(mReads.size()) &&
         readIdx < static_cast<int>(mAlignStart.size()) &&
         readIdx < static_cast<int>(mComplemented.size());
}

bool Contig::ClipToConsensus(int readIdx, int64_t fromOffset, int64_t toOffset, int& first,
                             int& last) const {
  // 64 bits: a start near either int limit plus a read length overflows int.
  const int64_t readFirst = static_cast<int64_t>(mAlignStart[readIdx]) - 1;
  const int64_t lo = std::max<int64_t>(readFirst + fromOffset, 0);
  const int64_t hi = std::min<int64_t>(readFirst + toOffset, static_cast<int64_t>(mBases.size()) - 1);
  if (lo > hi) return false;
  first = static_cast<int>(lo);
  last = static_cast<int>(hi);
  return true;
}

bool Contig::ReadExtentInConsensus(int readIdx, int& first, int& last) const {
  first = last = -1;
  if (!IsPlacedRead(readIdx)) return false;
  return ClipToConsensus(readIdx, 0, static_cast<int64_t>(mReads[readIdx].mBases.size()) - 1, first, last);
}

bool Contig::TrimmedExtentInConsensus(int readIdx, int& first, int& last) const {
  first = last = -1;
  if (!IsPlacedRead(readIdx) || readIdx >= static_cast<int>(mReadTrimStart.size()) ||
      readIdx >= static_cast<int>(mReadTrimEnd.size()))
    return false;
  const int64_t from = std::max(mReadTrimStart[readIdx], 0);
  const int64_t to = std::min<int64_t>(mReadTrimEnd[readIdx], static_cast<int64_t>(mReads[readIdx].mBases.size()) - 1);
  return ClipToConsensus(readIdx, from, to, first, last);
}

int64_t Contig::ReadOffset(int readIdx, int pos) const {
  return static_cast<int64_t>(pos) - mAlignStart[readIdx] + 1;
}

}  // namespace ostrel
