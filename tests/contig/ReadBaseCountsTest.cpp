// Tests of the counts over read characters: high-quality disagreements,
// Phred-20 depth and matching bases, with quality lists that do not fit.
#include <gtest/gtest.h>

#include <random>

#include "ContigBuilder.h"
#include "TestSupport.h"
#include "ace/Contig.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::MakeContig;
using Profile = std::vector<int>;

void SetQuality(Contig& contig, int read, const std::vector<int>& values) {
  if (static_cast<int>(contig.mReadQuality.size()) <= read) contig.mReadQuality.resize(read + 1);
  contig.mReadQuality[read].mQualities = values;
}

// Read 0 "AcTT*C" over indexes 0 .. 5 with a full quality list; read 1
// "GGA" over 1 .. 3 with only two values.
Contig TwoReads() {
  Contig contig = MakeContig("C", "ACGT*CGT");
  AddRead(contig, "r0", "AcTT*C", 1);
  AddRead(contig, "r1", "GGA", 2);
  SetQuality(contig, 0, {20, 19, 30, 30, 0, 40});
  SetQuality(contig, 1, {20, 19});
  return contig;
}

TEST(ReadBaseCounts, HighQualityDisagreementsIgnoreCase) {
  Profile profile;
  TwoReads().GetHQDescrepency(profile);
  // Index 1: r1's G (quality 20) against C. Index 2: r0's T (30) against G.
  // Index 3: r1's A against T has no quality value, so it does not count.
  EXPECT_EQ(profile, Profile({0, 1, 1, 0, 0, 0, 0, 0}));
}

TEST(ReadBaseCounts, HighQualityNeedsAQualityListPerRead) {
  Contig contig = TwoReads();
  contig.mReadQuality.resize(1);
  Profile profile = {3};
  test::CaptureStderr err;
  contig.GetHQDescrepency(profile);
  EXPECT_EQ(err.Text(), "ReadQuality doesn't match number of reads.\n");
  EXPECT_EQ(profile, Profile({3}));
}

TEST(ReadBaseCounts, Phred20DepthCountsValuesAbove19) {
  Contig contig = TwoReads();
  AddRead(contig, "long", "AC", 7);  // indexes 6 .. 7, quality list runs one further
  SetQuality(contig, 2, {30, 30, 30});
  const int expected[] = {1, 1, 1, 1, 0, 1, 1, 1};
  Profile profile;
  contig.GetP20Coverage(profile);
  EXPECT_EQ(profile, Profile(std::begin(expected), std::end(expected)));
  for (int p = 0; p < 8; ++p) EXPECT_EQ(contig.CalcP20Coverage(p), expected[p]) << p;
  EXPECT_EQ(contig.CalcP20Coverage(8), 1);  // the third value, past the read and the consensus
  EXPECT_EQ(contig.CalcP20Coverage(-1), 0);
}

TEST(ReadBaseCounts, MatchingBasesSkipPadColumns) {
  Contig contig = TwoReads();
  AddRead(contig, "left", "xxACG", -1);  // offsets 2 .. 4 over indexes 0 .. 2
  EXPECT_EQ(contig.GetMatchingBases(0), 4);  // A, c, T, C; the pad column never counts
  EXPECT_EQ(contig.GetMatchingBases(2), 3);
  EXPECT_EQ(contig.GetMatchingBases(3), 0);
  EXPECT_EQ(contig.GetMatchingBases(-1), 0);
}

TEST(ReadBaseCounts, TrimmedMatchesStayInBothTrimRanges) {
  Contig contig = TwoReads();
  contig.mTrimStart = 1;
  contig.mTrimEnd = 5;
  EXPECT_EQ(contig.GetMatchingBasesTrimmed(0), 0);  // read trims not computed
  contig.mReadTrimStart = {1, 0};
  contig.mReadTrimEnd = {3, 2};
  EXPECT_EQ(contig.GetMatchingBasesTrimmed(0), 2);  // indexes 1 .. 3: c and T
  EXPECT_EQ(contig.GetMatchingBasesTrimmed(1), 1);  // G at index 2
  contig.mTrimStart = 4;
  contig.mTrimEnd = 3;
  EXPECT_EQ(contig.GetMatchingBasesTrimmed(0), 0);
  contig.mTrimStart = contig.mTrimEnd = -1;
  EXPECT_EQ(contig.GetMatchingBasesTrimmed(0), 0);
}

TEST(ReadBaseCounts, PerReadPassesMatchTestingEveryReadAtEveryIndex) {
  std::mt19937 rng(8122026);
  auto draw = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 300; ++round) {
    std::string consensus(draw(0, 40), 'A');
    for (char& c : consensus) c = "ACGTacgt*"[draw(0, 8)];
    Contig contig = MakeContig("R", consensus);
    const int reads = draw(0, 15);
    for (int i = 0; i < reads; ++i) {
      std::string bases(draw(0, 20), 'A');
      for (char& c : bases) c = "ACGTacgt*"[draw(0, 8)];
      AddRead(contig, "r", bases, draw(-25, 50));
      std::vector<int> values(draw(0, static_cast<int>(bases.size()) + 3));
      for (int& v : values) v = draw(17, 22);
      SetQuality(contig, i, values);
    }
    Profile hq, p20;
    contig.GetHQDescrepency(hq);
    contig.GetP20Coverage(p20);
    for (int p = 0; p < static_cast<int>(consensus.size()); ++p) {
      int disagree = 0;
      for (int i = 0; i < reads; ++i) {
        const int k = p - contig.mAlignStart[i] + 1;
        const std::vector<char>& b = contig.mReads[i].mBases;
        const std::vector<int>& q = contig.mReadQuality[i].mQualities;
        if (k >= 0 && k < static_cast<int>(b.size()) && k < static_cast<int>(q.size()) && q[k] > 19 &&
            std::toupper(b[k]) != std::toupper(consensus[p]))
          ++disagree;
      }
      ASSERT_EQ(hq[p], disagree) << round << " " << p;
      ASSERT_EQ(p20[p], contig.CalcP20Coverage(p)) << round << " " << p;
    }
  }
}

}  // namespace
}  // namespace ostrel
