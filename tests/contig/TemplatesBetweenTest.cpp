// Tests of the contigs sharing templates and the templates between two
// contigs.
#include <gtest/gtest.h>

#include <algorithm>

#include "ContigBuilder.h"
#include "ace/AceFile.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::MakeContig;

// Contig 0 holds t1 and t10; contig 1 holds t1; contig 2 holds t10;
// contig 3 holds t5 only.
AceFile Joined() {
  AceFile ace;
  const char* templates[][2] = {{"t1", "t10"}, {"t1", nullptr}, {"t10", nullptr}, {"t5", nullptr}};
  for (int c = 0; c < 4; ++c) {
    Contig contig = MakeContig("Contig" + std::to_string(c), "ACGTACGT");
    for (const char* t : templates[c])
      if (t != nullptr)
        AddRead(contig, std::string(t) + "_" + std::to_string(c), "ACG", 1, 'U', std::string("TEMPLATE: ") + t);
    contig.RebuildTemplateInfo();
    ace.push_back(contig);
  }
  return ace;
}

TEST(TemplatesBetween, ContigsSharingTemplatesAreAppended) {
  AceFile ace = Joined();
  std::vector<int> sharing = {99};
  ace.GetContigsSharingTemplates(0, sharing);
  std::sort(sharing.begin() + 1, sharing.end());
  EXPECT_EQ(sharing, std::vector<int>({99, 1, 2}));
  EXPECT_EQ(ace[3].mTemplates.size(), 1u);  // every contig's summary is refreshed

  std::vector<int> none;
  ace.GetContigsSharingTemplates(3, none);
  EXPECT_TRUE(none.empty());
  ace.GetContigsSharingTemplates(4, none);
  EXPECT_TRUE(none.empty());
}

TEST(TemplatesBetween, RecordsOfTheFirstContigHoldingASharedName) {
  AceFile ace = Joined();
  std::vector<TemplateInfo> between;
  ace.FindTemplatesBetween(0, 1, between);
  // t1 is shared; t10 of contig 0 holds "t1" as well, so both come.
  std::vector<std::string> names;
  for (const TemplateInfo& t : between) names.push_back(t.mName);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, std::vector<std::string>({"t1", "t10"}));

  between.clear();
  ace.FindTemplatesBetween(1, 0, between);
  ASSERT_EQ(between.size(), 1u);
  EXPECT_EQ(between[0].mLeftName, "t1_1");  // records come from the first contig

  ace.FindTemplatesBetween(0, 3, between);
  EXPECT_EQ(between.size(), 1u);  // nothing shared, nothing appended
}

TEST(TemplatesBetween, BadIndexesAreIgnored) {
  AceFile ace = Joined();
  std::vector<TemplateInfo> between;
  ace.FindTemplatesBetween(-1, 1, between);
  ace.FindTemplatesBetween(0, 4, between);
  EXPECT_TRUE(between.empty());
  EXPECT_TRUE(ace[0].mTemplates.empty());
}

}  // namespace
}  // namespace ostrel
