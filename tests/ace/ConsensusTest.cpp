// Tests of the consensus vote: hand-checked columns, the traced vote's
// transcripts, the new consensus of copied reads, and random contigs voted
// against a plain column-by-column vote.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "ConsensusReference.h"
#include "ContigBuilder.h"
#include "TestSupport.h"
#include "ace/Contig.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::MakeContig;

const int kEmpty = -1000;    // the read's quality list is empty
const int kMissing = -1001;  // the read has no quality list (only for the last reads)

// One column of one-character reads at consensus index 0.
Contig ColumnOf(const std::string& characters, const std::vector<int>& qualities) {
  Contig contig = MakeContig("C", "A");
  for (size_t i = 0; i < characters.size(); ++i) {
    AddRead(contig, "r" + std::to_string(i), characters.substr(i, 1), 1);
    if (qualities[i] == kEmpty) contig.mReadQuality.emplace_back();
    if (qualities[i] >= 0) contig.mReadQuality.push_back({{qualities[i]}, "", ""});
  }
  return contig;
}

// A read whose every character has quality 10.
void AddRatedRead(Contig& contig, const std::string& name, const std::string& bases, int start) {
  AddRead(contig, name, bases, start);
  contig.mReadQuality.push_back({std::vector<int>(bases.size(), 10), "", ""});
}

TEST(Consensus, ColumnVote) {
  struct Case {
    std::string characters;
    std::vector<int> qualities;
    char base;
    int quality;
  };
  const Case cases[] = {
      {"AAC", {30, 10, 25}, 'A', 40},
      {"AC", {20, 20}, 'N', 0},               // tie
      {"**A", {0, 0, 40}, '*', 0},            // more than half pads
      {"*A", {0, 40}, 'A', 40},               // exactly half is not enough
      {"NN", {30, 30}, 'N', 0},               // all sums 0: a four-way tie
      {"AAAA", {30, 30, 30, 30}, 'A', 90},    // clamped
      {"acX-", {30, 10, 50, 50}, 'A', 30},    // lower case counts; X and '-' add nothing
      {"", {}, '*', 0},                       // empty column
      {"AC", {kEmpty, 5}, 'C', 5},            // a character without a value counts 0
      {"GT", {5, kMissing}, 'G', 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.characters);
    Contig contig = ColumnOf(c.characters, c.qualities);
    char base = '?';
    int quality = -1;
    contig.ComputeConsensus(0, base, quality);
    EXPECT_EQ(base, c.base);
    EXPECT_EQ(quality, c.quality);
    contig.ComputeConsensus(0, 0);
    EXPECT_EQ(contig.mBases, std::vector<char>({c.base}));
    EXPECT_EQ(contig.mQuality.mQualities, std::vector<int>({c.quality}));
  }
}

// The traced vote's standard output and result, column by column.
TEST(Consensus, TracedVoteTranscripts) {
  struct Case {
    std::string characters;
    std::vector<int> qualities;
    char base;
    int quality;
    std::string transcript;
  };
  const Case cases[] = {
      {"AAC", {30, 10, 25}, 'A', 40,
       "bases.size()=3\ntotalQualit = 65\nmaxScore=40\nmatchCount = 1\tA\nquality=40\n"},
      // A single winner under 20 leaves the caller's 'N': the sum of the N entries.
      {"AnN", {10, 5, 2}, 'N', 7, "bases.size()=3\ntotalQualit = 17\nmaxScore=10\nmatchCount = 1\tN\nquality=7\n"},
      {"AC", {20, 20}, 'N', 0, "bases.size()=2\ntotalQualit = 40\nmaxScore=20\nmatchCount = 2\tC\n"},
      {"**A", {7, 7, 40}, '*', 0, "bases.size()=3\ntotalQualit = 40\n"},
      {"AAAA", {30, 30, 30, 30}, 'A', 90,
       "bases.size()=4\ntotalQualit = 120\nmaxScore=120\nmatchCount = 1\tA\nquality=120\n"},
      {"", {}, '*', 0, "bases.size()=0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.characters);
    const Contig contig = ColumnOf(c.characters, c.qualities);
    char base = 'N';
    int quality = -1;
    test::CaptureStdout out;
    contig.ComputeConsensus2(0, base, quality);
    EXPECT_EQ(base, c.base);
    EXPECT_EQ(quality, c.quality);
    EXPECT_EQ(out.Text(), c.transcript);
  }
}

// Random reads with starts left of, inside and right of the consensus,
// characters of every class, and quality lists missing, short or long.
Contig RandomContig(std::mt19937& rng, int maxLength) {
  auto draw = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const std::string alphabet = "ACGTacgt**NX-";
  std::string consensus(draw(0, maxLength), 'x');
  Contig contig = MakeContig("R", consensus);
  contig.mQuality.mQualities.assign(draw(0, maxLength), 77);
  const int reads = draw(0, 12);
  for (int i = 0; i < reads; ++i) {
    std::string bases(draw(0, 15), ' ');
    for (char& c : bases) c = alphabet[draw(0, static_cast<int>(alphabet.size()) - 1)];
    AddRead(contig, "r" + std::to_string(i), bases, draw(-16, maxLength + 2));
    if (draw(0, 5) == 0 && i == reads - 1) break;  // the last read without qualities
    SequenceQuality q;
    for (int k = draw(0, 18); k > 0; --k) q.mQualities.push_back(draw(0, 45));
    contig.mReadQuality.push_back(q);
  }
  return contig;
}

TEST(Consensus, RangeAndCopyMatchThePlainVote) {
  std::mt19937 rng(7);
  for (int round = 0; round < 400; ++round) {
    Contig contig = RandomContig(rng, 30);
    const int length = static_cast<int>(contig.mBases.size());
    const int from = std::uniform_int_distribution<int>(-3, length + 1)(rng);
    const int to = std::uniform_int_distribution<int>(-3, length + 1)(rng);
    Contig voted = contig;
    voted.mBaseSegments.resize(2);
    voted.ComputeConsensus(from, to);
    EXPECT_TRUE(voted.mBaseSegments.empty());
    std::vector<char> bases = contig.mBases;
    std::vector<int> values = contig.mQuality.mQualities;
    const int lo = std::max(from, 0), hi = std::min(to, length - 1);
    if (lo <= hi && static_cast<int>(values.size()) <= hi) values.resize(hi + 1, 0);
    for (int p = lo; p <= hi; ++p) test::PlainVote(contig, p, bases[p], values[p]);
    ASSERT_EQ(voted.mBases, bases) << "round " << round;
    ASSERT_EQ(voted.mQuality.mQualities, values) << "round " << round;

    // The copy's consensus: starts shifted to a smallest of 0, then every
    // column up to the last read character voted.
    Contig copied = contig;
    copied.CreateConsensusForCopy();
    Contig shifted = contig;
    int smallest = contig.mAlignStart.empty() ? 99999999 : INT_MAX, end = 0;
    for (int start : contig.mAlignStart) smallest = std::min(smallest, start);
    for (size_t i = 0; i < contig.mReads.size(); ++i) {
      shifted.mAlignStart[i] -= smallest;
      end = std::max(end, shifted.mAlignStart[i] + static_cast<int>(contig.mReads[i].mBases.size()) - 1);
    }
    bases.assign(end, ' ');
    values.assign(end, 0);
    for (int p = 0; p < end; ++p) test::PlainVote(shifted, p, bases[p], values[p]);
    ASSERT_EQ(copied.mAlignStart, shifted.mAlignStart) << "round " << round;
    ASSERT_EQ(copied.mBases, bases) << "round " << round;
    ASSERT_EQ(copied.mQuality.mQualities, values) << "round " << round;
    EXPECT_EQ(copied.mPaddedBases, end);
    EXPECT_EQ(copied.mNumReads, static_cast<int>(contig.mReads.size()));
  }
}

TEST(Consensus, RangeStaysInsideTheData) {
  Contig contig = MakeContig("C", std::string(100, 'a'));
  AddRead(contig, "far left", "CCCC", INT_MIN);
  AddRead(contig, "far right", "GGGG", INT_MAX - 1);
  AddRead(contig, "middle", std::string(10, 'T'), 50);  // columns 49 .. 58
  contig.mReadQuality.resize(2);
  contig.mReadQuality.push_back({std::vector<int>(6, 30), "", ""});  // values for 49 .. 54 only
  contig.mQuality.mQualities.assign(60, 5);  // trailing pad columns had no value
  contig.ComputeConsensus(-5, 1000000);
  EXPECT_EQ(std::string(contig.mBases.begin(), contig.mBases.end()),
            std::string(49, '*') + "TTTTTTNNNN" + std::string(41, '*'));
  std::vector<int> expected(100, 0);
  std::fill(expected.begin() + 49, expected.begin() + 55, 30);
  EXPECT_EQ(contig.mQuality.mQualities, expected);

  const Contig before = contig;
  contig.mBaseSegments.resize(1);
  contig.ComputeConsensus(9, 3);  // nothing to vote
  EXPECT_EQ(contig.mBases, before.mBases);
  EXPECT_EQ(contig.mQuality.mQualities, before.mQuality.mQualities);
  EXPECT_TRUE(contig.mBaseSegments.empty());

  Contig empty = MakeContig("E", "");
  AddRead(empty, "r", "ACGT", 1);
  empty.ComputeConsensus(INT_MIN, INT_MAX);
  EXPECT_TRUE(empty.mBases.empty());
  EXPECT_TRUE(empty.mQuality.mQualities.empty());
}

TEST(Consensus, CopyLeavesTheFirstCharacterAtStartZeroOutside) {
  Contig contig = MakeContig("C", "old");
  AddRatedRead(contig, "r0", "ACGT", 5);
  AddRatedRead(contig, "r1", "gtta", 7);
  contig.mBaseSegments.resize(3);
  contig.CreateConsensusForCopy();
  // r0 now starts at 0: its A lies left of index 0.
  EXPECT_EQ(contig.mAlignStart, std::vector<int>({0, 2}));
  EXPECT_EQ(std::string(contig.mBases.begin(), contig.mBases.end()), "CGTTA");
  EXPECT_EQ(contig.mQuality.mQualities, std::vector<int>({10, 20, 20, 10, 10}));
  EXPECT_EQ(contig.mPaddedBases, 5);
  EXPECT_EQ(contig.mNumReads, 2);
  EXPECT_EQ(contig.mNumBaseSeqs, 3);

  // Starts at the int limits are shifted and measured without overflow.
  Contig high = MakeContig("H", "");
  AddRatedRead(high, "r0", "AAAAA", INT_MAX - 3);
  AddRatedRead(high, "r1", "CCCCC", INT_MAX);
  high.CreateConsensusForCopy();
  EXPECT_EQ(high.mAlignStart, std::vector<int>({0, 3}));
  EXPECT_EQ(std::string(high.mBases.begin(), high.mBases.end()), "AANNCCC");
  Contig low = MakeContig("L", "");
  AddRatedRead(low, "r0", "GG", INT_MIN);
  low.CreateConsensusForCopy();
  EXPECT_EQ(std::string(low.mBases.begin(), low.mBases.end()), "G");

  Contig none = MakeContig("N", "ACGT");
  none.mQuality.mQualities = {1, 2, 3, 4};
  none.CreateConsensusForCopy();
  EXPECT_TRUE(none.mBases.empty());
  EXPECT_TRUE(none.mQuality.mQualities.empty());
  EXPECT_EQ(none.mPaddedBases, 0);
  EXPECT_EQ(none.mNumReads, 0);
}

TEST(Consensus, RecomputeCountsTheColumnsKept) {
  Contig contig = MakeContig("C", "acgtNa");
  AddRatedRead(contig, "r0", "ACGTAA", 1);
  AddRatedRead(contig, "r1", "ACGTA", 1);
  contig.mPaddedBases = 6;
  contig.mNumBaseSeqs = 0;
  EXPECT_EQ(contig.RecomputeConsensus(), 5);
  EXPECT_EQ(std::string(contig.mBases.begin(), contig.mBases.end()), "ACGTAA");
  EXPECT_EQ(contig.mQuality.mQualities, std::vector<int>({20, 20, 20, 20, 20, 10}));
  ASSERT_EQ(contig.mBaseSegments.size(), 1u);
  EXPECT_EQ(contig.mBaseSegments[0].mEnd, 6);
  EXPECT_EQ(contig.mNumBaseSeqs, 1);
  EXPECT_EQ(contig.mPaddedBases, 6);
}

// Without read qualities: a column whose depth an earlier consensus shows
// keeps that column's character and quality; the others go by count, ties
// to the former character when it is among them.
TEST(Consensus, VoteByCountKeepsUnchangedColumnsAndCountsTheRest) {
  struct Case {
    std::string characters;
    char former;
    int formerDepth;
    char base;
    int quality;
  };
  const Case cases[] = {
      {"AAC", 'g', 3, 'g', 33},  // the same reads as before: kept as it was
      {"AAC", 'G', 4, 'A', 0},   // a read left: the majority
      {"AC", 'C', 3, 'C', 33},   // a tie the former character is in
      {"AC", 'G', 3, 'N', 0},    // a tie it is not in
      {"A**", 'A', 4, '*', 0},   // more than half pads
      {"A*", 'A', 4, 'A', 33},   // half pads: the letter, as before
      {"NN", 'T', 3, 'T', 33},   // no letter: all four tie, the former among them
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.characters);
    Contig contig = MakeContig("C", "A");
    for (char character : c.characters) AddRead(contig, "r", std::string(1, character), 1);
    contig.mVoteByCount = true;
    ColumnsBefore before;
    before.mBases = {c.former};
    before.mQuality = {33};
    before.mDepth = {c.formerDepth};
    contig.ComputeConsensus(0, 0, {before});
    EXPECT_EQ(c.base, contig.mBases[0]);
    EXPECT_EQ(c.quality, contig.mQuality.mQualities[0]);
    EXPECT_EQ(c.formerDepth == static_cast<int>(c.characters.size()) ? 0 : 1, contig.mColumnsRevoted);
  }
}

}  // namespace
}  // namespace ostrel
