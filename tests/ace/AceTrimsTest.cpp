#include <gtest/gtest.h>

#include "TestSupport.h"
#include "ace/AceFile.h"

namespace ostrel {
namespace {

// A contig of `consensus` with consensus qualities `quality`.
Contig MakeContig(const std::string& consensus, std::vector<int> quality) {
  Contig contig;
  contig.mName = "c";
  contig.InitFromCString(consensus.c_str());
  contig.mQuality.mQualities = std::move(quality);
  return contig;
}

void AddRead(Contig& contig, const std::string& name, const std::string& bases, int start,
             std::vector<int> quality) {
  Sequence read;
  read.mName = name;
  read.InitFromCString(bases.c_str());
  contig.mReads.push_back(read);
  contig.mAlignStart.push_back(start);
  contig.mComplemented.push_back('U');
  SequenceQuality q;
  q.mQualities = std::move(quality);
  contig.mReadQuality.push_back(q);
}

TEST(AceTrims, BACNames) {
  AceFile ace;
  EXPECT_TRUE(ace.IsBACName("ABCDE1F2345"));
  EXPECT_TRUE(ace.IsBACName("abcde1f2345.x1"));
  EXPECT_FALSE(ace.IsBACName("ABCDE1F234"));   // ten characters never qualify
  EXPECT_FALSE(ace.IsBACName("ABCDE112345"));  // a digit at position 6
  EXPECT_FALSE(ace.IsBACName("ABCD11F2345"));
  EXPECT_FALSE(ace.IsBACName(""));
}

TEST(AceTrims, ConsensusTrims) {
  Contig contig = MakeContig("ACGT", {5, 30, 30, 5});
  contig.CalculateTrim(20);
  EXPECT_EQ(1, contig.mTrimStart);
  EXPECT_EQ(2, contig.mTrimEnd);
  contig.CalculateTrim(31);
  EXPECT_EQ(-1, contig.mTrimStart);
  EXPECT_EQ(-1, contig.mTrimEnd);
  // Columns without a value (trailing pads) are below every threshold.
  Contig padded = MakeContig("ACGT**", {30, 30, 30, 30});
  padded.CalculateTrim(0);
  EXPECT_EQ(0, padded.mTrimStart);
  EXPECT_EQ(3, padded.mTrimEnd);
}

// Long value lists are scanned in blocks: every position of a lone passing
// value, in lists of every length around the block size, is found.
TEST(AceTrims, LonePassingValueIsFoundAnywhere) {
  for (int length = 0; length <= 40; ++length) {
    Contig none = MakeContig(std::string(static_cast<size_t>(length), 'A'), std::vector<int>(length, 19));
    none.CalculateTrim(20);
    EXPECT_EQ(-1, none.mTrimStart) << length;
    EXPECT_EQ(-1, none.mTrimEnd) << length;
    for (int at = 0; at < length; ++at) {
      std::vector<int> values(static_cast<size_t>(length), 19);
      values[at] = 20;
      Contig contig = MakeContig(std::string(static_cast<size_t>(length), 'A'), values);
      contig.CalculateTrim(20);
      EXPECT_EQ(at, contig.mTrimStart) << length << " " << at;
      EXPECT_EQ(at, contig.mTrimEnd) << length << " " << at;
    }
  }
}

TEST(AceTrims, ReadTrimsWithXMasking) {
  AceFile ace;
  ace.push_back(MakeContig(std::string(70, 'A'), std::vector<int>(70, 30)));
  const std::string bases = "XXX" + std::string(55, 'a') + "xX";
  AddRead(ace[0], "masked", bases, 1, std::vector<int>(60, 30));
  AddRead(ace[0], "short", "XXACGT", 1, std::vector<int>(6, 30));  // 50 characters or fewer: no masking
  AddRead(ace[0], "low", std::string(60, 'A'), 1, std::vector<int>(60, 10));
  test::CaptureStderr err;
  ace.CalculateReadTrims(20);
  EXPECT_EQ("", err.Text());
  EXPECT_EQ((std::vector<int>{3, 0, -1}), ace[0].mReadTrimStart);
  EXPECT_EQ((std::vector<int>{57, 5, -1}), ace[0].mReadTrimEnd);
}

TEST(AceTrims, ReadTrimsOnMissingOrMisfittingQualities) {
  AceFile ace;
  ace.push_back(MakeContig("ACGT", {30, 30, 30, 30}));
  AddRead(ace[0], "empty", "ACGT", 1, {});
  AddRead(ace[0], "short", "ACGT", 1, {30, 30});
  test::CaptureStderr err;
  ace.CalculateReadTrims(20);
  EXPECT_EQ("ERROR: read empty reads.size=4 qualsize=0\nERROR: read short reads.size=4 qualsize=2\n", err.Text());
  EXPECT_EQ((std::vector<int>{20, 20, 20, 20}), ace[0].mReadQuality[0].mQualities);
  EXPECT_EQ((std::vector<int>{0, -1}), ace[0].mReadTrimStart);
  EXPECT_EQ((std::vector<int>{3, -1}), ace[0].mReadTrimEnd);

  ace[0].mReadQuality.pop_back();  // quality entries no longer match the reads
  ace[0].mReadTrimStart = {7, 7};
  test::CaptureStderr err2;
  ace.CalculateReadTrims(20);
  EXPECT_EQ("c\tERROR: reads.size=2 qualsize=1\n", err2.Text());
  EXPECT_EQ((std::vector<int>{7, 7}), ace[0].mReadTrimStart);  // not touched
}

TEST(AceTrims, BACTrimsFromBACEndReads) {
  AceFile ace;
  ace.push_back(MakeContig("ACGTACGTAC", {}));
  AddRead(ace[0], "ABCDE1F2345", "ACGTAC", 2, std::vector<int>(6, 30));
  AddRead(ace[0], "plainread", "ACGT", 0, std::vector<int>(4, 30));
  ace.mContigQuality.push_back(SequenceQuality());
  ace.mContigQuality[0].mQualities = {0, 30, 30, 30, 30, 30, 30, 30, 30, 0};
  ace.CalculateReadTrims(20);
  ace.CalculateBACContigTrims(20);
  const Contig& c = ace[0];
  EXPECT_EQ(1, c.mTrimStart);
  EXPECT_EQ(8, c.mTrimEnd);
  EXPECT_EQ(2, c.mBACReadStart);  // start 2 + trim 0
  EXPECT_EQ(7, c.mBACReadEnd);    // start 2 + trim 5
  EXPECT_EQ(2, c.mBACTrimStart);
  EXPECT_EQ(7, c.mBACTrimEnd);

  ace.mContigQuality[0].mQualities.assign(10, 0);  // no consensus trims: no BAC range
  ace.CalculateBACContigTrims(20);
  EXPECT_EQ(-1, ace[0].mBACReadStart);
  EXPECT_EQ(-1, ace[0].mBACTrimStart);
  ace.mContigQuality.clear();  // a missing copy counts as no values
  ace.CalculateBACContigTrims(20);
  EXPECT_EQ(-1, ace[0].mTrimStart);
}

}  // namespace
}  // namespace ostrel
