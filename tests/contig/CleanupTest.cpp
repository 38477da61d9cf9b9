// Contigs removed by name, and contig tails trimmed or marked.
#include "contig/Cleanup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ContigBuilder.h"
#include "TestSupport.h"

namespace ostrel {
namespace {

// Removal goes by exact name, once per name and scan: of two adjacent
// contigs of one name only the first goes; the one that moves into its
// place is not looked at again.
TEST(Cleanup, RemoveContigsByName) {
  AceFile ace;
  for (const char* name : {"c1", "dup", "dup", "c10", "c1"}) ace.push_back(test::MakeContig(name, "ACGT"));
  ace.mContigQuality.resize(ace.size());
  ace.mNumContigs = 5;
  std::vector<std::string> names = {"c1", "dup", "none"};
  test::CaptureStdout out;
  RemoveContigs(ace, names);
  EXPECT_EQ("Remove contigs Beforesize=5\t\n"
            "size=5\tRemove c1\tsize=4\n"
            "size=4\tRemove c1\tsize=3\n"
            "size=3\tRemove dup\tsize=2\n"
            "Remove contigs Aftersize=2\t\n",
            out.Text());
  ASSERT_EQ(2u, ace.size());
  EXPECT_EQ("dup", ace[0].mName);
  EXPECT_EQ("c10", ace[1].mName);
  EXPECT_EQ(2, ace.mNumContigs);
}

// Without sound tail boundaries the contig is marked and left alone: a
// profile that never reaches the threshold, or one whose right boundary is 0.
TEST(Cleanup, ContigsWithoutSoundTailsAreMarked) {
  for (const std::vector<int>& profile : {std::vector<int>(40, 1), std::vector<int>{40}, std::vector<int>()}) {
    Contig contig = test::MakeContig("c", std::string(40, 'A'));
    test::AddRead(contig, "r", std::string(40, 'A'), 1);
    std::vector<std::string> removed = {"earlier"};
    StringSet marked;
    std::vector<int> values = profile;
    test::CaptureStdout out;
    TrimTails(contig, removed, marked, values);
    EXPECT_EQ("Mark for removal: c\n", out.Text());
    EXPECT_EQ(1u, marked.count("c"));
    EXPECT_EQ(1u, removed.size());
    EXPECT_EQ(1u, contig.mReads.size());
  }
}

// Sound boundaries: the unmated read hanging into the low left tail goes,
// after the names already removed; the read inside the boundaries stays.
TEST(Cleanup, TailsAreTrimmedOfUnmatedReads) {
  Contig contig = test::MakeContig("c", std::string(100, 'A'));
  test::AddRead(contig, "tail", std::string(10, 'A'), 1);
  test::AddRead(contig, "core", std::string(80, 'A'), 20);
  contig.RebuildTemplateInfo();
  std::vector<int> profile(100, 3);
  std::fill(profile.begin(), profile.begin() + 30, 1);  // the left tail ends where a window's mean reaches 1.5
  std::vector<std::string> removed = {"earlier"};
  StringSet marked;
  test::CaptureStdout out;
  TrimTails(contig, removed, marked, profile);
  EXPECT_EQ("Total removed reads: 2\n", out.Text());
  EXPECT_EQ((std::vector<std::string>{"earlier", "tail"}), removed);
  ASSERT_EQ(1u, contig.mReads.size());
  EXPECT_EQ("core", contig.mReads[0].mName);
  EXPECT_EQ('*', contig.mBases[0]);  // the left tail is voted again: no read is left there
  EXPECT_TRUE(marked.empty());
}

}  // namespace
}  // namespace ostrel
