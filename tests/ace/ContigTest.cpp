// Tests of the contig copy, the read-name queries and the columns a read
// covers.
#include "ace/Contig.h"

#include <gtest/gtest.h>

#include <climits>

#include "ContigBuilder.h"
#include "TestSupport.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::MakeContig;

Contig FilledContig() {
  Contig contig = MakeContig("Contig1", "ACGTAC");
  contig.mDescription = "note";
  contig.mQuality.mQualities = {30, 30, 20, 20, 10, 10};
  contig.mPaddedBases = 6;
  contig.mNumReads = 2;
  contig.mNumBaseSeqs = 1;
  AddRead(contig, "r1", "ACG", 1, 'U', test::Describe("t1", "fwd"));
  AddRead(contig, "r2", "TAC", 4, 'C', test::Describe("t1", "rev"));
  contig.RebuildTemplateInfo();
  contig.mReadQuality.resize(2);
  contig.mReadQuality[0].mQualities = {40, 40, 40};
  contig.mBaseSegments.resize(1);
  contig.mBaseSegments[0].mReadName = "r1";
  contig.mQALines = {"QA 1 3 1 3"};
  contig.mTrimStart = 1;
  contig.mTrimEnd = 4;
  contig.mBACTrimEnd = 3;
  contig.mOriginalMinStart = 1;
  contig.mWindowWidth = 60;
  return contig;
}

TEST(Contig, CopyContigAnnouncesStagesAndCopiesTheModel) {
  const Contig source = FilledContig();
  Contig target = MakeContig("old", "NNNNNNNNNNNN");
  AddRead(target, "x1", "A", 1);
  AddRead(target, "x2", "A", 1);
  AddRead(target, "x3", "A", 1);
  target.mOriginalMinStart = -5;
  target.mOriginalMaxStart = 9;
  test::CaptureStdout out;
  source.CopyContig(target);
  EXPECT_EQ(out.Text(), "copy consensus...\tquality..\tdata struc...\treads...\t");
  EXPECT_EQ(target.mBases, source.mBases);
  EXPECT_EQ(target.mName, "Contig1");
  EXPECT_EQ(target.mDescription, "note");
  EXPECT_EQ(target.mQuality.mQualities, source.mQuality.mQualities);
  EXPECT_EQ(target.mNumBaseSeqs, 1);
  ASSERT_EQ(target.mReads.size(), 2u);
  EXPECT_EQ(target.mReads[1].mName, "r2");
  EXPECT_EQ(target.mReadQuality.size(), 2u);
  EXPECT_EQ(target.mAlignStart, source.mAlignStart);
  EXPECT_EQ(target.mTemplateReads.count("t1"), 2u);
  EXPECT_EQ(target.mReadIdxMap.at("r2"), 1);
  EXPECT_EQ(target.mBaseSegments[0].mReadName, "r1");
  EXPECT_EQ(target.mQALines, source.mQALines);
  EXPECT_EQ(target.mTrimEnd, 4);
  EXPECT_EQ(target.mBACTrimEnd, 3);
  // The last three members stay the target's own.
  EXPECT_EQ(target.mOriginalMinStart, -5);
  EXPECT_EQ(target.mOriginalMaxStart, 9);
  EXPECT_EQ(target.mWindowWidth, 100);
}

TEST(Contig, NewContigHasItsDefaults) {
  const Contig contig;
  EXPECT_TRUE(contig.mBases.empty());
  EXPECT_TRUE(contig.mReads.empty());
  EXPECT_EQ(contig.mWindowWidth, 100);
}

TEST(Contig, ReadNameQueriesCountSubstrings) {
  Contig contig = MakeContig("C", "ACGT");
  EXPECT_TRUE(contig.AllReadsMatch("gnl"));  // no reads: both hold
  EXPECT_TRUE(contig.NoReadsMatch("gnl"));
  AddRead(contig, "gnl|ti|12", "A", 1);
  AddRead(contig, "xgnly", "A", 1);
  AddRead(contig, "plain", "A", 1);
  EXPECT_EQ(contig.CountReadsMatching("gnl"), 2);
  EXPECT_EQ(contig.CountReadsMatching(""), 3);
  EXPECT_FALSE(contig.AllReadsMatch("gnl"));
  EXPECT_FALSE(contig.NoReadsMatch("gnl"));
  EXPECT_TRUE(contig.NoReadsMatch("zzz"));
  EXPECT_TRUE(contig.AllReadsMatch(""));
}

TEST(Contig, ReadExtentFollowsOneBasedStarts) {
  Contig contig = MakeContig("C", "ACGTACGTAC");  // indexes 0 .. 9
  AddRead(contig, "inside", "ACG", 2);            // indexes 1 .. 3
  AddRead(contig, "left", "ACGTA", -1);           // -2 .. 2
  AddRead(contig, "right", "ACGTA", 8);           // 7 .. 11
  AddRead(contig, "before", "AC", -1);            // -2 .. -1
  AddRead(contig, "after", "AC", 11);             // 10 .. 11
  AddRead(contig, "huge", "ACGT", INT_MAX);
  AddRead(contig, "tiny", "ACGT", INT_MIN);
  const int expected[][2] = {{1, 3}, {0, 2}, {7, 9}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}};
  for (int i = 0; i < 7; ++i) {
    int first = 99, last = 99;
    const bool covers = contig.ReadExtentInConsensus(i, first, last);
    EXPECT_EQ(covers, expected[i][0] >= 0) << i;
    EXPECT_EQ(first, expected[i][0]) << i;
    EXPECT_EQ(last, expected[i][1]) << i;
  }
  int first, last;
  EXPECT_FALSE(contig.ReadExtentInConsensus(7, first, last));
  EXPECT_FALSE(contig.ReadExtentInConsensus(-1, first, last));
  EXPECT_EQ(contig.ReadOffset(1, 0), 2);  // index 0 shows the third character
}

TEST(Contig, TrimmedExtentNeedsTheReadTrims) {
  Contig contig = MakeContig("C", "ACGTACGTAC");
  AddRead(contig, "r", "ACGTA", -1);  // -2 .. 2
  int first, last;
  EXPECT_FALSE(contig.TrimmedExtentInConsensus(0, first, last));
  contig.mReadTrimStart = {1};
  contig.mReadTrimEnd = {3};  // read offsets 1 .. 3 are indexes -1 .. 1
  ASSERT_TRUE(contig.TrimmedExtentInConsensus(0, first, last));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 1);
  contig.mReadTrimStart = {-1};
  contig.mReadTrimEnd = {-1};
  EXPECT_FALSE(contig.TrimmedExtentInConsensus(0, first, last));
}

}  // namespace
}  // namespace ostrel
