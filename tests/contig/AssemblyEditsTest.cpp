// The whole-assembly edits as the editing subcommands make them.
#include "contig/AssemblyEdits.h"

#include <gtest/gtest.h>

#include "ContigBuilder.h"
#include "TestSupport.h"

namespace ostrel {
namespace {

// A merge leaves the contig merged in without reads, and the drop takes it
// (and any other empty contig) out with its quality entry, the others in
// order.
TEST(AssemblyEdits, MergeEmptiesTheRightContigWhichIsDropped) {
  AceFile ace;
  ace.push_back(test::MakeContig("left", "ACGTACGT"));
  test::AddRead(ace.back(), "l1", "ACGTACGT", 1);
  ace.push_back(test::MakeContig("empty", "AC"));
  ace.push_back(test::MakeContig("right", "ACGT"));
  test::AddRead(ace.back(), "r1", "ACGT", 1);
  test::AddRead(ace.back(), "r2", "CGT", 2);
  for (const Contig& contig : ace) ace.mContigQuality.push_back(contig.mQuality);
  ace.mContigQuality[2].mQualities = {7};
  test::CaptureStdout out;
  EXPECT_EQ(2u, MergeContigs(ace, 0, 2, 4));
  EXPECT_EQ(3u, ace[0].mReads.size());
  EXPECT_TRUE(ace[2].mReads.empty());
  EXPECT_EQ((std::vector<std::string>{"empty", "right"}), DropEmptyContigs(ace));
  ASSERT_EQ(1u, ace.size());
  EXPECT_EQ("left", ace[0].mName);
  EXPECT_EQ(1u, ace.mContigQuality.size());
}

// Contigs without sound ends are listed in assembly order, and removed
// only when asked.
TEST(AssemblyEdits, TrimAllTailsListsAndRemovesMarkedContigs) {
  for (bool removeMarked : {false, true}) {
    AceFile ace;
    for (const char* name : {"b", "a"}) {
      ace.push_back(test::MakeContig(name, std::string(40, 'A')));
      test::AddRead(ace.back(), std::string(name) + "1", std::string(40, 'A'), 1);
    }
    ace.mContigQuality.resize(2);
    std::vector<std::string> removed, marked;
    test::CaptureStdout out;
    TrimAllTails(ace, removed, marked, removeMarked);
    EXPECT_EQ((std::vector<std::string>{"b", "a"}), marked);
    EXPECT_TRUE(removed.empty());
    EXPECT_EQ(removeMarked ? 0u : 2u, ace.size());
  }
}

}  // namespace
}  // namespace ostrel
