// Tests of the read depth profiles: small hand-checked contigs, and random
// contigs checked against a test of every read at every index.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "ContigBuilder.h"
#include "ace/Contig.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::MakeContig;
using Profile = std::vector<int>;

// Indexes 0 .. 9; reads over 0 .. 2, 1 .. 3, 7 .. 9 (running off the end) and none.
Contig FourReads() {
  Contig contig = MakeContig("C", "ACGTACGTAC");
  AddRead(contig, "gnl|ti|1", "ACGTA", -1);
  AddRead(contig, "bac1", "CGT", 2);
  AddRead(contig, "xgnl", "ACGTA", 8);
  AddRead(contig, "bac2", "AC", 20);
  return contig;
}

TEST(ReadCoverage, CountsReadsAtEachIndex) {
  Profile profile = {5, 5};
  FourReads().GetCoverage(profile);
  EXPECT_EQ(profile, Profile({1, 2, 2, 1, 0, 0, 0, 1, 1, 1}));
  MakeContig("C", "").GetCoverage(profile);
  EXPECT_TRUE(profile.empty());
}

TEST(ReadCoverage, SplitsShotgunAndCloneReads) {
  Profile wgs, bac;
  FourReads().GetWGSBACCoverage(wgs, bac);
  EXPECT_EQ(wgs, Profile({1, 1, 1, 0, 0, 0, 0, 1, 1, 1}));
  EXPECT_EQ(bac, Profile({0, 1, 1, 1, 0, 0, 0, 0, 0, 0}));
}

TEST(ReadCoverage, AverageIsTheMeanDepth) {
  EXPECT_DOUBLE_EQ(FourReads().CalcAverageCoverage(), 0.9);
  EXPECT_TRUE(std::isnan(MakeContig("C", "").CalcAverageCoverage()));
}

TEST(ReadCoverage, TrimmedDepthKeepsToTheReadTrims) {
  Contig contig = FourReads();
  EXPECT_EQ(contig.CalcCoverageTrimmed(1), 0);  // trims not computed
  contig.mReadTrimStart = {1, 0, 0, 0};
  contig.mReadTrimEnd = {3, -1, 4, 1};  // read 1 has no good range
  Profile profile;
  contig.GetCoverageTrimmed(profile);
  EXPECT_EQ(profile, Profile({1, 1, 0, 0, 0, 0, 0, 1, 1, 1}));
  EXPECT_EQ(contig.CalcCoverageTrimmed(-1), 1);  // read 0, offset 1, left of the consensus
  EXPECT_EQ(contig.CalcCoverageTrimmed(2), 0);
}

// A contig of random reads that start before, inside and after the
// consensus, with trims and quality lists that may not fit the reads.
Contig RandomContig(std::mt19937& rng) {
  auto draw = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  Contig contig = MakeContig("R", std::string(draw(0, 60), 'A'));
  const int reads = draw(0, 25);
  for (int i = 0; i < reads; ++i) {
    const int length = draw(0, 30);
    AddRead(contig, draw(0, 1) ? "gnl|ti|" + std::to_string(i) : "r" + std::to_string(i),
            std::string(length, "ACGT*"[draw(0, 4)]), draw(-35, 70));
    contig.mReadTrimStart.push_back(draw(-1, length));
    contig.mReadTrimEnd.push_back(draw(-1, length));
    SequenceQuality q;
    for (int k = draw(std::max(0, length - 3), length + 3); k > 0; --k) q.mQualities.push_back(draw(15, 25));
    contig.mReadQuality.push_back(q);
  }
  return contig;
}

// Whether read i has a character at consensus index p.
bool Covers(const Contig& contig, int i, int p) {
  const int k = p - contig.mAlignStart[i] + 1;
  return k >= 0 && k < static_cast<int>(contig.mReads[i].mBases.size());
}

TEST(ReadCoverage, SweepsMatchTestingEveryReadAtEveryIndex) {
  std::mt19937 rng(20261208);
  for (int round = 0; round < 300; ++round) {
    const Contig contig = RandomContig(rng);
    const int length = static_cast<int>(contig.mBases.size());
    Profile depth, wgs, bac, trimmed;
    contig.GetCoverage(depth);
    contig.GetWGSBACCoverage(wgs, bac);
    contig.GetCoverageTrimmed(trimmed);
    ASSERT_EQ(static_cast<int>(depth.size()), length);
    long total = 0;
    for (int p = 0; p < length; ++p) {
      int all = 0, shotgun = 0;
      for (int i = 0; i < static_cast<int>(contig.mReads.size()); ++i) {
        if (!Covers(contig, i, p)) continue;
        ++all;
        if (contig.mReads[i].mName.find("gnl") != std::string::npos) ++shotgun;
      }
      ASSERT_EQ(depth[p], all) << round << " " << p;
      ASSERT_EQ(wgs[p], shotgun) << round << " " << p;
      ASSERT_EQ(bac[p], all - shotgun) << round << " " << p;
      ASSERT_EQ(trimmed[p], contig.CalcCoverageTrimmed(p)) << round << " " << p;
      total += all;
    }
    if (length > 0) {
      ASSERT_DOUBLE_EQ(contig.CalcAverageCoverage(), static_cast<double>(total) / length);
    }
  }
}

}  // namespace
}  // namespace ostrel
