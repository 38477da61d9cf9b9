// Comparison of two assemblies read or built in memory, member by member,
// and quality files made for the reads of an assembly.
#ifndef OSTREL_TESTS_ACEMODELCHECK_H
#define OSTREL_TESTS_ACEMODELCHECK_H

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "ace/AceFile.h"

namespace ostrel::test {

// Each read's "RD" counts and "DS" mark.
inline std::vector<std::tuple<int, int, bool>> RecordFields(const Contig& contig) {
  std::vector<std::tuple<int, int, bool>> fields;
  for (const ReadRecordFields& f : contig.mReadRecords) fields.emplace_back(f.mWholeReadItems, f.mReadTags, f.mDescribed);
  return fields;
}

inline void ExpectSameTag(const AceTag& a, const AceTag& b) {
  EXPECT_EQ(a.mText, b.mText);
  EXPECT_EQ(a.mContigNumber, b.mContigNumber);
  EXPECT_EQ(a.mInContig, b.mInContig);
  EXPECT_EQ(a.mAfterRead, b.mAfterRead);
}

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
    EXPECT_EQ(a[c].mStrand, b[c].mStrand);
    EXPECT_EQ(RecordFields(a[c]), RecordFields(b[c]));
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
  for (size_t c = 0; c < a.size() && c < b.size(); ++c) {
    ASSERT_EQ(a[c].mTags.size(), b[c].mTags.size());
    for (size_t t = 0; t < a[c].mTags.size(); ++t) ExpectSameTag(a[c].mTags[t], b[c].mTags[t]);
  }
  ASSERT_EQ(a.mTags.size(), b.mTags.size());
  for (size_t t = 0; t < a.mTags.size(); ++t) {
    ExpectSameTag(a.mTags[t], b.mTags[t]);
    EXPECT_EQ(a.mTags[t].mSubjectHeld, b.mTags[t].mSubjectHeld);
  }
}

// A quality file for the reads of the assembly in `acePath`, with the faults a quality reader
// meets, its records in the reverse of the reads' order: every 7th read has
// none, every 5th two values fewer than its bases, every 11th an empty
// record before its own, every 13th a second record after its own; 50
// values to a line, lines ending in `lineEnd`.
inline std::string QualityFileFor(const std::string& acePath, const std::string& lineEnd = "\n") {
  AceFile ace;
  {
    CaptureStderr quiet;
    ace.Read(acePath);
  }
  std::vector<std::string> records;
  std::set<std::string> named;
  int n = 0;
  for (const Contig& contig : ace)
    for (const Sequence& read : contig.mReads) {
      if (!named.insert(read.mName).second || ++n % 7 == 0) continue;
      size_t length = static_cast<size_t>(std::count_if(read.mBases.begin(), read.mBases.end(),
                                                        [](char c) { return c != '*'; }));
      if (n % 5 == 0 && length >= 2) length -= 2;
      std::string record;
      if (n % 11 == 0) record += ">" + read.mName + " empty" + lineEnd;
      record += ">" + read.mName + " read " + std::to_string(n) + lineEnd;
      for (size_t i = 0; i < length; ++i)
        record += std::to_string((n * 7 + i * 3) % 60) + (i % 50 == 49 || i + 1 == length ? lineEnd : " ");
      if (n % 13 == 0) record += ">" + read.mName + lineEnd + "1 2 3" + lineEnd;
      records.push_back(record);
    }
  std::string text;
  for (auto it = records.rbegin(); it != records.rend(); ++it) text += *it;
  return text;
}

}  // namespace ostrel::test

#endif
