// Tests of the whole-assembly operations: read indexes, contig removal and
// renaming.
#include "ace/AceFile.h"

#include <gtest/gtest.h>

#include "ContigBuilder.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::MakeContig;

// Three contigs of 1, 2 and 3 reads with their consensus-quality copies.
AceFile ThreeContigs() {
  AceFile ace;
  for (int c = 0; c < 3; ++c) {
    Contig contig = MakeContig("Contig" + std::to_string(c + 1), "ACGT");
    for (int r = 0; r <= c; ++r) AddRead(contig, "c" + std::to_string(c) + "r" + std::to_string(r), "ACG", 1);
    ace.push_back(contig);
  }
  ace.mContigQuality.resize(3);
  ace.mNumContigs = 3;
  ace.mNumReads = 6;
  return ace;
}

int ContigOf(const AceFile& ace, const std::string& read) {
  const auto found = ace.mReadContigMap.find(read);
  return found == ace.mReadContigMap.end() ? -1 : found->second;
}

TEST(AceFile, BuildReadHashIndexesEveryRead) {
  AceFile ace = ThreeContigs();
  ace.BuildReadHash();
  EXPECT_EQ(ace.mReadContigMap.size(), 6u);
  EXPECT_EQ(ContigOf(ace, "c2r1"), 2);
  EXPECT_EQ(ace[2].mReadIdxMap.at("c2r1"), 1);
  EXPECT_EQ(ace[0].mReadIdxMap.count("c2r1"), 0u);
}

TEST(AceFile, BuildReadHashRepeatedNameKeepsLaterIndex) {
  AceFile ace;
  Contig contig = MakeContig("C", "ACGT");
  AddRead(contig, "dup", "AC", 1);
  AddRead(contig, "dup", "GT", 3);
  ace.push_back(contig);
  ace.BuildReadHash();
  EXPECT_EQ(ace[0].mReadIdxMap.size(), 1u);
  EXPECT_EQ(ace[0].mReadIdxMap.at("dup"), 1);
  EXPECT_EQ(ace.mReadContigMap.count("dup"), 2u);
}

TEST(AceFile, BuildReadHashKeepsOldReadIndexEntries) {
  AceFile ace = ThreeContigs();
  ace[0].mReadIdxMap["gone"] = 7;
  ace.BuildReadHash();
  EXPECT_EQ(ace[0].mReadIdxMap.at("gone"), 7);
  ace.BuildReadHash();  // rebuilding does not duplicate contig entries
  EXPECT_EQ(ace.mReadContigMap.size(), 6u);
}

TEST(AceFile, CleanInitFromContigsBuildsTheIndexes) {
  AceFile ace = ThreeContigs();
  ace.CleanInitFromContigs();
  EXPECT_EQ(ContigOf(ace, "c1r0"), 1);
}

TEST(AceFile, RemoveContigShiftsLaterContigsAndCounts) {
  AceFile ace = ThreeContigs();
  ace.mContigQuality[1].mQualities = {11};
  ace.BuildReadHash();
  ace.RemoveContig(0);
  ASSERT_EQ(ace.size(), 2u);
  EXPECT_EQ(ace[0].mName, "Contig2");
  EXPECT_EQ(ace[1].mName, "Contig3");
  ASSERT_EQ(ace.mContigQuality.size(), 2u);
  EXPECT_EQ(ace.mContigQuality[0].mQualities, std::vector<int>({11}));
  EXPECT_EQ(ace.mNumContigs, 2);
  EXPECT_EQ(ace.mNumReads, 5);
  EXPECT_EQ(ContigOf(ace, "c1r0"), 1);  // stale until the next BuildReadHash
  ace.BuildReadHash();
  EXPECT_EQ(ContigOf(ace, "c1r0"), 0);
}

TEST(AceFile, RemoveContigOutsideEitherListChangesNothing) {
  for (int index : {-1, 3, 2}) {
    AceFile ace = ThreeContigs();
    if (index == 2) ace.mContigQuality.resize(2);  // index exists among contigs only
    ace.RemoveContig(index);
    EXPECT_EQ(ace.size(), 3u) << index;
    EXPECT_EQ(ace.mNumContigs, 3) << index;
    EXPECT_EQ(ace.mNumReads, 6) << index;
  }
}

TEST(AceFile, PrefixContigsPutsThePrefixBeforeEveryName) {
  AceFile ace = ThreeContigs();
  ace[2].mName = "Contig7";
  ace.PrefixContigs("X");
  EXPECT_EQ(ace[0].mName, "XContig1");
  EXPECT_EQ(ace[2].mName, "XContig7");
}

}  // namespace
}  // namespace ostrel
