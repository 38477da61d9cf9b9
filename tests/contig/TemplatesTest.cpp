// Tests of the template maps read from descriptions, the template summary
// and the choice of the best mate pair.
#include <gtest/gtest.h>

#include "ContigBuilder.h"
#include "TestSupport.h"
#include "ace/Contig.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::Describe;
using test::MakeContig;

Contig Recorded(Contig contig) {
  contig.RebuildTemplateInfo();
  return contig;
}

const TemplateInfo* Find(const std::vector<TemplateInfo>& templates, const std::string& name) {
  for (const TemplateInfo& t : templates)
    if (t.mName == name) return &t;
  return nullptr;
}

TEST(Templates, RecordTakesTemplateAndDirectionWords) {
  Contig contig = MakeContig("C", std::string(50, 'A'));
  AddRead(contig, "a", "ACGT", 1, 'U', "TEMPLATE: t1 DIRECTION: fwd");
  AddRead(contig, "b", "ACGT", 1, 'U', "TEMPLATE: t1 DIRECTION: rev");
  AddRead(contig, "c", "ACGT", 1, 'U', "x TEMPLATE: t2");                   // no direction: forward
  AddRead(contig, "d", "ACGT", 1, 'U', "TEMPLATE: t3 DIRECTION: xfwdy");  // holds "fwd"
  AddRead(contig, "e", "ACGT", 1, 'U', "TEMPLATE:    ");                  // only blanks: no template
  AddRead(contig, "f", "ACGT", 1, 'U', "CHROMAT_FILE: f.ab1");
  AddRead(contig, "g", "ACGT", 1, 'U', "TEMPLATE:");
  EXPECT_EQ(contig.RebuildTemplateInfo(), 7);
  EXPECT_EQ(contig.mTemplateReads.size(), 4u);
  EXPECT_EQ(contig.mTemplateReads.count("t1"), 2u);
  EXPECT_EQ(contig.mReadTemplate.at("c"), "t2");
  EXPECT_EQ(contig.mReadDirection.at(0), 0);
  EXPECT_EQ(contig.mReadDirection.at(1), 1);
  EXPECT_EQ(contig.mReadDirection.at(2), 0);
  EXPECT_EQ(contig.mReadDirection.at(3), 0);
  for (const char* none : {"e", "f", "g"}) EXPECT_EQ(contig.mReadTemplate.count(none), 0u) << none;
  EXPECT_EQ(contig.mReadIdxMap.at("g"), 6);
}

TEST(Templates, RebuildStartsTheMapsAfresh) {
  Contig contig = MakeContig("C", "ACGT");
  AddRead(contig, "a", "AC", 1, 'U', Describe("t1", "fwd"));
  contig.RecordTemplateInfo(0);
  contig.RecordTemplateInfo(0);
  contig.mReadIdxMap["gone"] = 4;
  EXPECT_EQ(contig.mTemplateReads.size(), 2u);  // recording only appends
  contig.RebuildTemplateInfo();
  EXPECT_EQ(contig.mTemplateReads.size(), 1u);
  EXPECT_EQ(contig.mReadIdxMap.count("gone"), 0u);
  contig.RecordTemplateInfo(5);  // not a read: nothing happens
  EXPECT_EQ(contig.mTemplateReads.size(), 1u);
}

TEST(Templates, GoodPairIsSummarised) {
  Contig contig = Recorded([] {
    Contig c = MakeContig("C", std::string(60, 'A'));
    AddRead(c, "right", std::string(10, 'A'), 40, 'C', Describe("t1", "rev") + " INSERT_SIZE: 900");
    AddRead(c, "left", std::string(8, 'A'), -3, 'U', Describe("t1", "fwd") + " INSERT_SIZE: 2000");
    return c;
  }());
  std::vector<TemplateInfo> templates(3);
  contig.GetTemplateInfo(templates);
  ASSERT_EQ(templates.size(), 1u);
  const TemplateInfo& t = templates[0];
  EXPECT_EQ(t.mName, "t1");
  EXPECT_TRUE(t.mPaired);
  EXPECT_TRUE(t.mGoodOrientation);
  EXPECT_EQ(t.mSpan, 40 - (-3) + 10);
  EXPECT_EQ(t.mLeftName, "left");
  EXPECT_EQ(t.mLeftDirection, "fwd");
  EXPECT_EQ(t.mLeftComplement, 'U');
  EXPECT_EQ(t.mLeftStart, -3);
  EXPECT_EQ(t.mLeftLength, 8);
  EXPECT_EQ(t.mRightName, "right");
  EXPECT_EQ(t.mRightDirection, "rev");
  EXPECT_EQ(t.mRightComplement, 'C');
  EXPECT_EQ(t.mRightStart, 40);
  EXPECT_EQ(t.mRightLength, 10);
  // The insert size comes from the first read of the list, whichever side it is.
  const int first = contig.mTemplateReads.equal_range("t1").first->second;
  EXPECT_EQ(t.mInsertSize, first == 0 ? 900 : 2000);
}

TEST(Templates, InsertSizeIsReadThirteenCharactersAfterItsKeyword) {
  Contig contig = MakeContig("C", "ACGT");
  AddRead(contig, "a", "AC", 1, 'U', "TEMPLATE: t1 INSERT_SIZE: 2000");
  AddRead(contig, "b", "AC", 1, 'U', "TEMPLATE: t2 INSERT_SIZE:2500");
  AddRead(contig, "c", "AC", 1, 'U', "TEMPLATE: t3");
  contig.RebuildTemplateInfo();
  std::vector<TemplateInfo> templates;
  contig.GetTemplateInfo(templates);
  ASSERT_EQ(templates.size(), 3u);
  EXPECT_EQ(Find(templates, "t1")->mInsertSize, 2000);
  EXPECT_EQ(Find(templates, "t2")->mInsertSize, 500);  // the first digit is skipped
  EXPECT_EQ(Find(templates, "t3")->mInsertSize, 0);
}

TEST(Templates, UnpairedTemplateSpansItsRead) {
  Contig contig = MakeContig("C", "ACGTACGT");
  AddRead(contig, "a", "ACGTA", 2, 'C', Describe("t1", "rev"));
  contig.RebuildTemplateInfo();
  std::vector<TemplateInfo> templates;
  contig.GetTemplateInfo(templates);
  ASSERT_EQ(templates.size(), 1u);
  EXPECT_FALSE(templates[0].mPaired);
  EXPECT_FALSE(templates[0].mGoodOrientation);
  EXPECT_EQ(templates[0].mSpan, 5);
  EXPECT_EQ(templates[0].mLeftDirection, "rev");
  EXPECT_EQ(templates[0].mLeftComplement, 'C');
  EXPECT_TRUE(templates[0].mRightName.empty());
}

TEST(Templates, OrientationDecidesGoodness) {
  struct Case {
    char leftStrand, rightStrand;
    bool good;
  };
  for (const Case& c : {Case{'U', 'C', true}, Case{'U', 'U', false}, Case{'C', 'U', false},
                        Case{'C', 'C', false}}) {
    Contig contig = MakeContig("C", std::string(30, 'A'));
    AddRead(contig, "l", "ACGT", 1, c.leftStrand, "TEMPLATE: t");
    AddRead(contig, "r", "ACGT", 20, c.rightStrand, "TEMPLATE: t");
    contig.RebuildTemplateInfo();
    std::vector<TemplateInfo> templates;
    contig.GetTemplateInfo(templates);
    ASSERT_EQ(templates.size(), 1u);
    EXPECT_TRUE(templates[0].mPaired);
    EXPECT_EQ(templates[0].mGoodOrientation, c.good) << c.leftStrand << c.rightStrand;
    EXPECT_EQ(templates[0].mLeftName, "l");
  }
}

TEST(Templates, EqualStartsPutTheFirstListedReadLeft) {
  Contig contig = MakeContig("C", std::string(30, 'A'));
  AddRead(contig, "a", "ACGT", 5, 'U', "TEMPLATE: t");
  AddRead(contig, "b", "ACGT", 5, 'C', "TEMPLATE: t");
  contig.RebuildTemplateInfo();
  std::vector<TemplateInfo> templates;
  contig.GetTemplateInfo(templates);
  ASSERT_EQ(templates.size(), 1u);
  const int first = contig.mTemplateReads.equal_range("t").first->second;
  EXPECT_EQ(templates[0].mLeftName, contig.mReads[first].mName);
}

TEST(Templates, ThreeReadsAreCutToTheFarthestForwardReversePair) {
  Contig contig = MakeContig("C", std::string(600, 'A'));
  AddRead(contig, "near", std::string(10, 'A'), 100, 'U', "TEMPLATE: t INSERT_SIZE: 7");
  AddRead(contig, "far", std::string(10, 'A'), 1, 'U', "TEMPLATE: t INSERT_SIZE: 8");
  AddRead(contig, "mate", std::string(10, 'A'), 500, 'C', "TEMPLATE: t");
  contig.RebuildTemplateInfo();
  std::vector<TemplateInfo> templates;
  contig.GetTemplateInfo(templates);
  ASSERT_EQ(templates.size(), 1u);
  EXPECT_EQ(templates[0].mLeftName, "far");
  EXPECT_EQ(templates[0].mRightName, "mate");
  EXPECT_TRUE(templates[0].mGoodOrientation);
  EXPECT_EQ(templates[0].mInsertSize, 8);  // from the chosen forward read
}

TEST(Templates, TemplateWithoutPairIsDroppedWithMessage) {
  Contig contig = MakeContig("C", std::string(30, 'A'));
  for (const char* name : {"a", "b", "c"}) AddRead(contig, name, "ACGT", 1, 'U', "TEMPLATE: t");
  AddRead(contig, "solo", "ACGT", 1, 'U', "TEMPLATE: s");
  contig.RebuildTemplateInfo();
  std::vector<TemplateInfo> templates;
  test::CaptureStdout out;
  contig.GetTemplateInfo(templates);
  EXPECT_EQ(out.Text(), "ERROR: After ChooseBestTemplatePair, there are not 2 reads.\n");
  ASSERT_EQ(templates.size(), 1u);
  EXPECT_EQ(templates[0].mName, "s");
}

TEST(Templates, StaleReadIndexesLeaveTemplateWithoutReads) {
  Contig contig = MakeContig("C", "ACGT");
  AddRead(contig, "a", "AC", 1, 'U', "TEMPLATE: t");
  contig.RebuildTemplateInfo();
  contig.mReads.clear();  // removed without rebuilding the maps
  contig.mAlignStart.clear();
  contig.mComplemented.clear();
  std::vector<TemplateInfo> templates;
  test::CaptureStderr err;
  contig.GetTemplateInfo(templates);
  EXPECT_EQ(err.Text(), " ERROR: No reads for template.\n");
  EXPECT_TRUE(templates.empty());
}

TEST(Templates, BestPairPrefersLargestGapAndFirstOnTies) {
  Contig contig = MakeContig("C", std::string(100, 'A'));
  AddRead(contig, "u0", std::string(10, 'A'), 1, 'U');   // ends at column 10
  AddRead(contig, "c1", std::string(5, 'A'), 40, 'C');
  AddRead(contig, "c2", std::string(5, 'A'), 40, 'C');   // ties with c1
  AddRead(contig, "u3", std::string(10, 'A'), 1, 'U');   // ties with u0
  AddRead(contig, "c4", std::string(5, 'A'), 30, 'X');   // anything but 'U' counts as C
  std::vector<int> reads = {0, 1, 2, 3, 4};
  int gap = -1;
  contig.ChooseBestTemplatePair(reads, gap);
  EXPECT_EQ(reads, std::vector<int>({0, 1}));
  EXPECT_EQ(gap, 40 - 1 - (1 + 10));

  reads = {0, 3};  // forward reads only
  contig.ChooseBestTemplatePair(reads, gap);
  EXPECT_TRUE(reads.empty());
  EXPECT_EQ(gap, 0);
}

TEST(Templates, BestPairNeverTakesAGapAtTheFloor) {
  Contig contig = MakeContig("C", "A");
  AddRead(contig, "u", std::string(9990, 'A'), 1, 'U');
  AddRead(contig, "c", "A", 1, 'C');  // gap 1 - 1 - 9991 = -9991
  AddRead(contig, "u2", std::string(9998, 'A'), 1, 'U');  // gap exactly -9999
  std::vector<int> reads = {2, 1, 0};
  int gap;
  contig.ChooseBestTemplatePair(reads, gap);
  EXPECT_EQ(reads, std::vector<int>({0, 1}));
  EXPECT_EQ(gap, -9991);
  reads = {2, 1};  // only the gap at the floor
  contig.ChooseBestTemplatePair(reads, gap);
  EXPECT_TRUE(reads.empty());
}

}  // namespace
}  // namespace ostrel
