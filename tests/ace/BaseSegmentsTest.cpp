// Tests of the base segments made up from a contig's reads: the greedy
// search in read order on hand-checked contigs, the warning about columns no
// read covers, and random contigs against a plain read-by-read search.
#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <random>
#include <sstream>
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

// Segments as "start-end:read" words, for comparing at a glance.
std::string Describe(const std::vector<BaseSegment>& segments) {
  std::string text;
  for (const BaseSegment& s : segments)
    text += (text.empty() ? "" : " ") + std::to_string(s.mStart) + "-" + std::to_string(s.mEnd) + ":" + s.mReadName;
  return text;
}

// The warning's two parts: standard error, then the examples on standard output.
std::string WarningText(const Contig& contig, int uncovered) {
  std::ostringstream text;
  text << "\n" << contig.mName << "\tSyntheticBS WARNING: Unable to find read for " << uncovered
       << " consensus positions.\nFor example: \nmReads.size=" << contig.mReads.size()
       << "\nmAlignStart.size=" << contig.mAlignStart.size() << "\n";
  return text.str();
}

std::string ExampleText(const std::vector<int>& examples) {
  std::string text;
  for (int p : examples) text += "\tconsensus " + std::to_string(p) + "\n";
  return text;
}

TEST(BaseSegments, GreedyInReadOrder) {
  struct Case {
    std::string consensus;
    std::vector<std::string> reads;  // r0, r1, ... in list order
    std::vector<int> starts;
    std::string segments;
  };
  const Case cases[] = {
      {"ACGTACGT", {"ACGTACGT"}, {1}, "1-8:r0"},
      // r0 disagrees at column 4; r1, later in the list, goes on from there.
      {"ACGTACGT", {"ACGA", "TACGT"}, {1, 4}, "1-3:r0 4-8:r1"},
      // The other way round r0 is not tried again after r1, so the pass
      // ends at column 4, which is skipped although r0 covers it.
      {"ACGTACGT", {"TACGT", "ACGA"}, {4, 1}, "1-3:r1 5-8:r0"},
      // Case is ignored; pad, N and X consensus columns agree with anything.
      {"acgt*NXA", {"ACGTTTTT"}, {1}, "1-7:r0"},
      // r0 disagrees at column 1 and r1 ends at column 2, so the pass ends
      // and column 3 is skipped; the next pass finds r0 agreeing at 4.
      {"ACGT", {"TCGT", "AC"}, {1, 1}, "1-2:r1 4-4:r0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.consensus + " " + c.segments);
    Contig contig = MakeContig("C", c.consensus);
    for (size_t i = 0; i < c.reads.size(); ++i) AddRead(contig, "r" + std::to_string(i), c.reads[i], c.starts[i]);
    contig.mBaseSegments.resize(5);
    test::CaptureStderr err;
    contig.ComputeSyntheticBS();
    EXPECT_EQ(Describe(contig.mBaseSegments), c.segments);
    EXPECT_EQ(contig.mNumBaseSeqs, static_cast<int>(contig.mBaseSegments.size()));
    EXPECT_EQ(err.Text(), "");
  }
}

TEST(BaseSegments, ColumnsWithoutReadsAreReported) {
  Contig contig = MakeContig("Contig9", std::string(12, 'A'));
  AddRead(contig, "far left", "AAAA", INT_MIN);
  AddRead(contig, "far right", "AAAA", INT_MAX);
  contig.mAlignStart.push_back(1);  // a start without a read
  {
    test::CaptureStderr err;
    test::CaptureStdout out;
    contig.ComputeSyntheticBS();
    EXPECT_EQ(err.Text(), WarningText(contig, 12));
    EXPECT_EQ(out.Text(), ExampleText({0, 1, 2, 3, 4, 5, 6, 7, 8}));
  }
  EXPECT_TRUE(contig.mBaseSegments.empty());
  EXPECT_EQ(contig.mNumBaseSeqs, 0);

  Contig none = MakeContig("N", "ACG");
  test::CaptureStderr err;
  test::CaptureStdout out;
  none.ComputeSyntheticBS();
  EXPECT_EQ(err.Text(), "\nN\tSyntheticBS WARNING: Unable to find read for 3 consensus positions.\n"
                        "For example: \nmReads.size=0\nmAlignStart.size=0\n");
  EXPECT_EQ(out.Text(), "\tconsensus 0\n\tconsensus 1\n\tconsensus 2\n");
}

// Random contigs whose reads are copies of consensus stretches with some
// characters changed, so that segments of every length, gaps and
// uncovered columns all occur; a few reads sit at the int limits.
TEST(BaseSegments, MatchesThePlainSearch) {
  std::mt19937 rng(11);
  auto draw = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const std::string alphabet = "ACGTACGTacgt*NX";
  for (int round = 0; round < 600; ++round) {
    std::string consensus(draw(0, 40), ' ');
    for (char& c : consensus) c = alphabet[draw(0, static_cast<int>(alphabet.size()) - 1)];
    Contig contig = MakeContig("R", consensus);
    const int reads = draw(0, 10);
    for (int i = 0; i < reads; ++i) {
      int start = draw(-8, static_cast<int>(consensus.size()) + 2);
      std::string bases(draw(0, 20), ' ');
      for (size_t k = 0; k < bases.size(); ++k) {
        const int64_t p = start - 1 + static_cast<int64_t>(k);
        const bool copy = p >= 0 && p < static_cast<int64_t>(consensus.size()) && draw(0, 9) > 0;
        bases[k] = copy ? consensus[p] : alphabet[draw(0, 3)];
      }
      if (draw(0, 30) == 0) start = draw(0, 1) ? INT_MIN + draw(0, 3) : INT_MAX - draw(0, 3);
      AddRead(contig, "r" + std::to_string(i), bases, start);
    }
    const test::Search expected = test::PlainSearch(contig);
    test::CaptureStderr err;
    test::CaptureStdout out;
    contig.ComputeSyntheticBS();
    ASSERT_EQ(Describe(contig.mBaseSegments), Describe(expected.mSegments)) << "round " << round;
    EXPECT_EQ(contig.mNumBaseSeqs, static_cast<int>(expected.mSegments.size()));
    EXPECT_EQ(err.Text(), expected.mUncovered > 0 ? WarningText(contig, expected.mUncovered) : "");
    EXPECT_EQ(out.Text(), ExampleText(expected.mExamples));
  }
}

}  // namespace
}  // namespace ostrel
