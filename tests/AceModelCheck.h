// Comparison of two assemblies read or built in memory, member by member.
#ifndef OSTREL_TESTS_ACEMODELCHECK_H
#define OSTREL_TESTS_ACEMODELCHECK_H

#include <gtest/gtest.h>

#include <vector>

#include "ace/AceFile.h"

namespace ostrel::test {

inline void ExpectSameModel(const AceFile& a, const AceFile& b) {
  ASSERT_EQ(a.size(), b.size());
  EXPECT_EQ(a.mValid, b.mValid);
  EXPECT_EQ(a.mTotalLength, b.mTotalLength);
  EXPECT_EQ(a.mN50, b.mN50);
  for (size_t c = 0; c < a.size(); ++c) {
    EXPECT_EQ(a[c].mName, b[c].mName);
    EXPECT_EQ(a[c].mBases, b[c].mBases);
    EXPECT_EQ(a[c].mQuality.mQualities, b[c].mQuality.mQualities);
    EXPECT_EQ(a[c].mAlignStart, b[c].mAlignStart);
    EXPECT_EQ(a[c].mComplemented, b[c].mComplemented);
    EXPECT_EQ(a[c].mQALines, b[c].mQALines);
    EXPECT_EQ(a[c].mNumBaseSeqs, b[c].mNumBaseSeqs);
    ASSERT_EQ(a[c].mBaseSegments.size(), b[c].mBaseSegments.size());
    for (size_t s = 0; s < a[c].mBaseSegments.size(); ++s) {
      EXPECT_EQ(a[c].mBaseSegments[s].mStart, b[c].mBaseSegments[s].mStart);
      EXPECT_EQ(a[c].mBaseSegments[s].mEnd, b[c].mBaseSegments[s].mEnd);
      EXPECT_EQ(a[c].mBaseSegments[s].mReadName, b[c].mBaseSegments[s].mReadName);
    }
    EXPECT_EQ(a[c].mReadTrimStart, b[c].mReadTrimStart);
    EXPECT_EQ(a[c].mReadTrimEnd, b[c].mReadTrimEnd);
    EXPECT_EQ(a[c].mTrimStart, b[c].mTrimStart);
    EXPECT_EQ(a[c].mTrimEnd, b[c].mTrimEnd);
    EXPECT_EQ(a[c].mReadIdxMap, b[c].mReadIdxMap);
    ASSERT_EQ(a[c].mReads.size(), b[c].mReads.size());
    ASSERT_EQ(a[c].mReadQuality.size(), b[c].mReadQuality.size());
    for (size_t i = 0; i < a[c].mReads.size(); ++i) {
      EXPECT_EQ(a[c].mReads[i].mName, b[c].mReads[i].mName);
      EXPECT_EQ(a[c].mReads[i].mBases, b[c].mReads[i].mBases);
      EXPECT_EQ(a[c].mReads[i].mDescription, b[c].mReads[i].mDescription);
      if (i < a[c].mReadQuality.size()) {
        EXPECT_EQ(a[c].mReadQuality[i].mQualities, b[c].mReadQuality[i].mQualities);
      }
    }
  }
  ASSERT_EQ(a.mContigQuality.size(), b.mContigQuality.size());
  for (size_t c = 0; c < a.mContigQuality.size(); ++c)
    EXPECT_EQ(a.mContigQuality[c].mQualities, b.mContigQuality[c].mQualities);
  EXPECT_EQ(a.mReadContigMap.size(), b.mReadContigMap.size());
  for (const auto& entry : a.mReadContigMap) {
    std::vector<int> inA, inB;
    for (auto [it, end] = a.mReadContigMap.equal_range(entry.first); it != end; ++it) inA.push_back(it->second);
    for (auto [it, end] = b.mReadContigMap.equal_range(entry.first); it != end; ++it) inB.push_back(it->second);
    EXPECT_EQ(inA, inB) << entry.first;
  }
  EXPECT_EQ(a.mAverageCoverageTrimmed, b.mAverageCoverageTrimmed);
  ASSERT_EQ(a.mTags.size(), b.mTags.size());
  for (size_t t = 0; t < a.mTags.size(); ++t) {
    EXPECT_EQ(a.mTags[t].mText, b.mTags[t].mText);
    EXPECT_EQ(a.mTags[t].mSubjectHeld, b.mTags[t].mSubjectHeld);
  }
}

}  // namespace ostrel::test

#endif
