// Tests of the mate queries and the printed template report.
#include <gtest/gtest.h>

#include <sstream>

#include "ContigBuilder.h"
#include "TestSupport.h"
#include "ace/Contig.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::Describe;
using test::MakeContig;

// t1: a good pair; t2: two forward reads (bad); t3: one read; "none" has no template.
Contig MatedContig() {
  Contig contig = MakeContig("C", std::string(100, 'A'));
  AddRead(contig, "a1", std::string(10, 'A'), 1, 'U', Describe("t1", "fwd"));
  AddRead(contig, "a2", std::string(10, 'A'), 50, 'C', Describe("t1", "rev"));
  AddRead(contig, "b1", std::string(10, 'A'), 5, 'U', Describe("t2", "fwd"));
  AddRead(contig, "b2", std::string(10, 'A'), 60, 'U', Describe("t2", "fwd"));
  AddRead(contig, "c1", std::string(10, 'A'), 9, 'U', Describe("t3", "fwd"));
  AddRead(contig, "none", std::string(10, 'A'), 9, 'U', "no template here");
  contig.RebuildTemplateInfo();
  return contig;
}

TEST(MateQueries, HasMateCountsTemplateReads) {
  const Contig contig = MatedContig();
  EXPECT_TRUE(contig.HasMateInContig("a1"));
  EXPECT_TRUE(contig.HasMateInContig("b2"));
  EXPECT_FALSE(contig.HasMateInContig("c1"));
  test::CaptureStderr err;
  EXPECT_FALSE(contig.HasMateInContig("none"));
  EXPECT_EQ(err.Text(), "none does not have a template recorded in this contig.\n");
}

TEST(MateQueries, HasGoodMateAnswersFromTheLastSummary) {
  Contig contig = MatedContig();
  EXPECT_FALSE(contig.HasGoodMateInContig("a1"));  // nothing computed yet
  contig.GetTemplateInfo(contig.mTemplates);
  EXPECT_TRUE(contig.HasGoodMateInContig("a1"));
  EXPECT_TRUE(contig.HasGoodMateInContig("a2"));
  EXPECT_FALSE(contig.HasGoodMateInContig("b1"));
  EXPECT_FALSE(contig.HasGoodMateInContig("c1"));
  EXPECT_FALSE(contig.HasGoodMateInContig("none"));
}

TEST(MateQueries, ReportListsEveryTemplateAndTheMeanSpan) {
  Contig contig = MakeContig("C", std::string(100, 'A'));
  AddRead(contig, "a1", std::string(10, 'A'), 1, 'U', Describe("t1", "fwd"));
  AddRead(contig, "a2", std::string(8, 'A'), 50, 'C', Describe("t1", "rev"));
  contig.RebuildTemplateInfo();
  std::ostringstream out;
  contig.PrintTemplateInfo(out);
  EXPECT_EQ(out.str(),
            "t1 (57)\ta1(fwd,U)\t1\t10\ta2(rev,C)\t50\t8\t\n"
            "\n"
            "Total pairs: 1\tAverage insert size: 57\n"
            "\n");

  Contig single = MakeContig("C", "ACGT");
  AddRead(single, "s", "ACG", 2, 'C', "TEMPLATE: t9");
  single.RebuildTemplateInfo();
  std::ostringstream solo;
  single.PrintTemplateInfo(solo);
  EXPECT_EQ(solo.str(), "t9 (3)\ts(fwd,C)\t2\t3\t\n\nTotal pairs: 1\tAverage insert size: 3\n\n");
}

TEST(MateQueries, ReportWithoutTemplatesPrintsNotANumber) {
  const Contig contig = MakeContig("C", "ACGT");
  std::ostringstream out;
  contig.PrintTemplateInfo(out);
  EXPECT_EQ(out.str(), "\nTotal pairs: 0\tAverage insert size: nan\n\n");
}

}  // namespace
}  // namespace ostrel
