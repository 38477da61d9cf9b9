// Tests of a contig turned to the other strand: every per-position value
// stays with its base, and turning twice gives the contig back.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "ContigBuilder.h"
#include "TestSupport.h"
#include "ace/Contig.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::CaptureStderr;
using test::MakeContig;
using test::RandomContig;

std::string Text(const std::vector<char>& bases) { return std::string(bases.begin(), bases.end()); }

TEST(Reverse, MirrorsEachValueOntoItsBase) {
  Contig contig = MakeContig("C", "ACG*T");
  contig.mQuality.mQualities = {10, 20, 30};  // the last two columns have no value yet
  AddRead(contig, "a", "CG*", 2, 'U');
  AddRead(contig, "b", "ACG*T", INT_MIN, 'C');
  AddRead(contig, "c", "T", 5, 'C');
  contig.mReadQuality.resize(2);  // c has no quality entry, b an empty one
  contig.mReadQuality[0].mQualities = {1, 2, 3};
  contig.mReadTrimStart = {0, -1, 0};
  contig.mReadTrimEnd = {1, -1, 0};
  contig.mQALines = {"QA 1 2 1 3", "QA -1 -1 2 5"};  // c's line is not kept
  contig.mTrimStart = 1;
  contig.mTrimEnd = 4;
  contig.mBACTrimStart = -1;
  contig.mBACTrimEnd = -1;
  contig.mBACReadStart = 0;
  contig.mBACReadEnd = 2;

  test::CaptureStdout quietOut;  // column 0 is uncovered
  CaptureStderr err;
  contig.ReverseComplementContig();
  EXPECT_EQ(err.Text(),
            "WARNING: b has no quality in RCContig().\n"
            "WARNING: There are 2 read qualities and 3 reads.\n");
  EXPECT_EQ(Text(contig.mBases), "A*CGT");
  EXPECT_EQ(contig.mQuality.mQualities, (std::vector<int>{0, 0, 30, 20, 10}));
  EXPECT_EQ(Text(contig.mReads[0].mBases), "*CG");
  EXPECT_EQ(contig.mReadQuality[0].mQualities, (std::vector<int>{3, 2, 1}));
  // a covered columns 1..3, now 5-1-3 .. 5-1-1.
  EXPECT_EQ(contig.mAlignStart, (std::vector<int>{2, INT_MAX, 1}));
  EXPECT_EQ(contig.mComplemented, (std::vector<char>{'C', 'U', 'U'}));
  EXPECT_EQ(contig.mReadTrimStart, (std::vector<int>{1, -1, 0}));
  EXPECT_EQ(contig.mReadTrimEnd, (std::vector<int>{2, -1, 0}));
  EXPECT_EQ(contig.mQALines, (std::vector<std::string>{"QA 2 3 1 3", "QA -1 -1 1 4"}));
  EXPECT_EQ(contig.mStrand, 'C');  // the contig's own strand flips too
  EXPECT_EQ(contig.mTrimStart, 0);
  EXPECT_EQ(contig.mTrimEnd, 3);
  EXPECT_EQ(contig.mBACTrimStart, -1);
  EXPECT_EQ(contig.mBACTrimEnd, -1);
  EXPECT_EQ(contig.mBACReadStart, 2);
  EXPECT_EQ(contig.mBACReadEnd, 4);
}

TEST(Reverse, TwiceGivesTheContigBack) {
  std::mt19937 rng(3);
  for (int round = 0; round < 500; ++round) {
    const Contig original = RandomContig(rng);
    const size_t length = original.mBases.size();
    Contig contig = original;
    test::CaptureStdout quietOut;  // uncovered columns are reported
    CaptureStderr quiet;
    contig.ReverseComplementContig();

    // Once: every read character sits on the mirrored column, complemented,
    // and each consensus quality moved with its column.
    std::vector<int> completed = original.mQuality.mQualities;
    completed.resize(length, 0);
    ASSERT_EQ(contig.mQuality.mQualities.size(), length);
    for (size_t p = 0; p < length; ++p) {
      EXPECT_EQ(contig.mQuality.mQualities[length - 1 - p], completed[p]);
      EXPECT_EQ(contig.mBases[length - 1 - p], Sequence::ComplementBase(original.mBases[p]));
    }
    for (size_t i = 0; i < original.mReads.size(); ++i) {
      const long readLength = static_cast<long>(original.mReads[i].mBases.size());
      for (long k = 0; k < readLength; ++k) {
        const long column = original.mAlignStart[i] - 1 + k;
        const long mirrored = contig.mAlignStart[i] - 1 + (readLength - 1 - k);
        EXPECT_EQ(mirrored, static_cast<long>(length) - 1 - column);
        EXPECT_EQ(contig.mReads[i].mBases[readLength - 1 - k], Sequence::ComplementBase(original.mReads[i].mBases[k]));
      }
    }

    contig.ReverseComplementContig();
    EXPECT_EQ(contig.mBases, original.mBases);
    EXPECT_EQ(contig.mQuality.mQualities, completed);
    ASSERT_EQ(contig.mReads.size(), original.mReads.size());
    for (size_t i = 0; i < original.mReads.size(); ++i) {
      EXPECT_EQ(contig.mReads[i].mName, original.mReads[i].mName);
      EXPECT_EQ(contig.mReads[i].mBases, original.mReads[i].mBases);
      EXPECT_EQ(contig.mReadQuality[i].mQualities, original.mReadQuality[i].mQualities);
    }
    EXPECT_EQ(contig.mAlignStart, original.mAlignStart);
    EXPECT_EQ(contig.mComplemented, original.mComplemented);
    EXPECT_EQ(contig.mReadTrimStart, original.mReadTrimStart);
    EXPECT_EQ(contig.mReadTrimEnd, original.mReadTrimEnd);
    EXPECT_EQ(contig.mQALines, original.mQALines);
    EXPECT_EQ(contig.mTrimStart, original.mTrimStart);
    EXPECT_EQ(contig.mTrimEnd, original.mTrimEnd);
    EXPECT_EQ(contig.mBACTrimStart, original.mBACTrimStart);
    EXPECT_EQ(contig.mBACTrimEnd, original.mBACTrimEnd);
    EXPECT_EQ(contig.mBACReadStart, original.mBACReadStart);
    EXPECT_EQ(contig.mBACReadEnd, original.mBACReadEnd);
    test::ExpectReadEntriesInStep(contig, true);
  }
}

}  // namespace
}  // namespace ostrel
