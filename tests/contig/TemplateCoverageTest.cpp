// Tests of the template start/end tables and the template profiles swept
// from them, against small hand-checked profiles.
#include <gtest/gtest.h>

#include "ContigBuilder.h"
#include "ace/Contig.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::MakeContig;
using Profile = std::vector<int>;

// Consensus of 20 columns (indexes 0 .. 19).
// A: good pair, left read from 1-based start -2 (5 long), right read at 10 (5 long).
// B: good pair starting at 15, where A ends; right read ends at 20.
// D: bad pair (both forward) from 5 to 11. E: one read, unpaired.
Contig Paired(bool withGood = true) {
  Contig contig = MakeContig("C", std::string(20, 'A'));
  if (withGood) {
    AddRead(contig, "a1", "AAAAA", -2, 'U', "TEMPLATE: A");
    AddRead(contig, "a2", "AAAAA", 10, 'C', "TEMPLATE: A");
    AddRead(contig, "b1", "AA", 15, 'U', "TEMPLATE: B");
    AddRead(contig, "b2", "AA", 18, 'C', "TEMPLATE: B");
  }
  AddRead(contig, "d1", "AAA", 5, 'U', "TEMPLATE: D");
  AddRead(contig, "d2", "AAA", 8, 'U', "TEMPLATE: D");
  AddRead(contig, "e1", "AAA", 3, 'U', "TEMPLATE: E");
  contig.RebuildTemplateInfo();
  return contig;
}

TEST(TemplateCoverage, TablesKeyGoodAndBadTemplates) {
  const Contig contig = Paired();
  std::vector<TemplateInfo> templates;
  contig.GetTemplateInfo(templates);
  Int2IntMap starts, ends;
  contig.BuildTemplateStartEnd(templates, starts, ends);
  EXPECT_EQ(starts, (Int2IntMap{{0, 1}, {15, 1}}));  // the negative start counts from 0
  EXPECT_EQ(ends, (Int2IntMap{{15, 1}, {20, 1}}));
  Int2IntMap badStarts, badEnds;
  contig.BuildBadTemplateStartEnd(templates, badStarts, badEnds);
  EXPECT_EQ(badStarts, (Int2IntMap{{5, 1}}));
  EXPECT_EQ(badEnds, (Int2IntMap{{11, 1}}));
  Int2IntMap gapStarts, gapEnds;
  contig.BuildTemplateSpanStartEnd(templates, gapStarts, gapEnds);
  EXPECT_EQ(gapStarts, (Int2IntMap{{3, 1}, {17, 1}}));
  EXPECT_EQ(gapEnds, (Int2IntMap{{9, 1}, {17, 1}}));
  contig.BuildTemplateStartEnd(templates, starts, ends);  // tables are added to
  EXPECT_EQ(starts.at(0), 2);
}

TEST(TemplateCoverage, GoodPairsCountFromStartThroughEnd) {
  Profile profile;
  Paired().GetTemplateCoverage(profile);
  //                  0  1  2  3  4  5  6  7  8  9 10 11 12 13 14 15 16 17 18 19
  EXPECT_EQ(profile, Profile({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 1, 1, 1}));
}

TEST(TemplateCoverage, BadPairsAndMateGaps) {
  Profile bad, gap;
  const Contig contig = Paired();
  contig.GetBadTemplateCoverage(bad);
  contig.GetTemplateSpan(gap);
  EXPECT_EQ(bad, Profile({0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(gap, Profile({0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}));
}

TEST(TemplateCoverage, ZeroCoverWithoutGoodPairs) {
  EXPECT_TRUE(Paired(false).TemplateCoverIsZero());
  EXPECT_FALSE(Paired().TemplateCoverIsZero());
  EXPECT_TRUE(MakeContig("C", "").TemplateCoverIsZero());
}

TEST(TemplateCoverage, EmptyConsensus) {
  Contig contig = Paired();
  contig.mBases.clear();
  Profile good = {7}, bad = {7}, gap = {7};
  contig.GetTemplateCoverage(good);
  contig.GetBadTemplateCoverage(bad);
  contig.GetTemplateSpan(gap);
  EXPECT_EQ(good, Profile({7}));  // left as the caller had it
  EXPECT_TRUE(bad.empty());
  EXPECT_TRUE(gap.empty());
}

}  // namespace
}  // namespace ostrel
