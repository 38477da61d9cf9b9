// The assembly figures against plain computations over the same contigs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <random>

#include "ContigBuilder.h"
#include "ace/AssemblyTally.h"

namespace ostrel {
namespace {

// A contig of `length` columns drawn from `alphabet`, with a quality per
// column but the last (a missing value), and `reads` reads placed at random,
// some hanging off either end.
Contig RandomContig(std::mt19937& rng, int length, const std::string& alphabet, int reads) {
  std::string consensus;
  for (int p = 0; p < length; ++p) consensus += alphabet[rng() % alphabet.size()];
  Contig contig = test::MakeContig("c" + std::to_string(rng() % 1000), consensus);
  for (int p = 0; p + 1 < length; ++p) contig.mQuality.mQualities.push_back(static_cast<int>(rng() % 60));
  for (int r = 0; r < reads; ++r) {
    const int start = static_cast<int>(rng() % static_cast<unsigned>(length + 20)) - 10;
    test::AddRead(contig, "r" + std::to_string(r), std::string(1 + rng() % 40, 'a'), start);
  }
  return contig;
}

// The figures, computed the plain way over the contigs of at least
// `minSize` padded columns.
AssemblyFigures PlainFigures(const std::vector<Contig>& contigs, int minSize, int64_t genomeSize) {
  AssemblyFigures f;
  f.mMinContigSize = minSize;
  f.mGenomeSize = genomeSize;
  std::vector<int64_t> lengths;
  int64_t acgt = 0, gc = 0, other = 0, q20 = 0, q40 = 0, depth = 0;
  for (const Contig& contig : contigs) {
    const int padded = static_cast<int>(contig.mBases.size());
    if (padded == 0 || padded < minSize) continue;
    ++f.mContigs;
    f.mReads += static_cast<int64_t>(contig.mReads.size());
    if (contig.mReads.size() == 1) ++f.mSingleReadContigs;
    f.mTotalPadded += padded;
    int64_t length = 0;
    for (int p = 0; p < padded; ++p) {
      depth += contig.CalcCoverage(p);
      const char base = static_cast<char>(std::toupper(contig.mBases[p]));
      if (base == '*' || base == '-') continue;
      ++length;
      if (std::string("ACGT").find(base) != std::string::npos) ++acgt;
      if (base == 'G' || base == 'C') ++gc;
      if (std::string("ACGT").find(base) == std::string::npos) ++other;
      const int quality = p < static_cast<int>(contig.mQuality.mQualities.size()) ? contig.mQuality.mQualities[p] : 0;
      q20 += quality >= 20;
      q40 += quality >= 40;
    }
    lengths.push_back(length);
    f.mTotalLength += length;
  }
  std::sort(lengths.begin(), lengths.end(), std::greater<int64_t>());
  const auto nx = [&](int64_t total, int percent, int64_t& lx) {
    int64_t running = 0;
    for (size_t i = 0; i < lengths.size(); ++i) {
      running += lengths[i];
      if (running * 100 >= total * percent) {
        lx = static_cast<int64_t>(i) + 1;
        return lengths[i];
      }
    }
    lx = 0;
    return int64_t{0};
  };
  f.mN50 = nx(f.mTotalLength, 50, f.mL50);
  f.mN90 = nx(f.mTotalLength, 90, f.mL90);
  if (genomeSize > 0) f.mNG50 = nx(genomeSize, 50, f.mLG50);
  double squares = 0;
  for (int64_t length : lengths) {
    squares += static_cast<double>(length * length);
    for (size_t s = 0; s < kLengthSteps.size(); ++s)
      if (length >= kLengthSteps[s]) {
        ++f.mContigsAtLeast[s];
        f.mLengthAtLeast[s] += length;
      }
  }
  f.mLargestContig = lengths.empty() ? 0 : lengths[0];
  const auto share = [](double part, int64_t whole) { return whole == 0 ? 0 : part / static_cast<double>(whole); };
  f.mAuN = share(squares, f.mTotalLength);
  f.mGCPercent = 100 * share(static_cast<double>(gc), acgt);
  f.mNPer100Kbp = 100000 * share(static_cast<double>(other), f.mTotalLength);
  f.mMeanReadDepth = share(static_cast<double>(depth), f.mTotalPadded);
  f.mQ20Percent = 100 * share(static_cast<double>(q20), f.mTotalLength);
  f.mQ40Percent = 100 * share(static_cast<double>(q40), f.mTotalLength);
  return f;
}

void ExpectSameFigures(const AssemblyFigures& expected, const AssemblyFigures& got, const std::string& what) {
  const std::vector<FigureRow> want = FigureRows(expected), have = FigureRows(got);
  ASSERT_EQ(want.size(), have.size()) << what;
  for (size_t r = 0; r < want.size(); ++r)
    EXPECT_EQ(want[r].mValue, have[r].mValue) << what << ": " << want[r].mLabel;
  EXPECT_NEAR(expected.mAuN, got.mAuN, 1e-9 * (1 + expected.mAuN)) << what;
  EXPECT_NEAR(expected.mGCPercent, got.mGCPercent, 1e-9) << what;
  EXPECT_NEAR(expected.mMeanReadDepth, got.mMeanReadDepth, 1e-9) << what;
}

TEST(AssemblyFigures, AgreeWithPlainComputations) {
  std::mt19937 rng(29);
  struct Case {
    std::string mName;
    std::vector<Contig> mContigs;
  };
  std::vector<Case> cases;
  cases.push_back({"no contigs", {}});
  cases.push_back({"one contig", {RandomContig(rng, 1200, "ACGT*", 3)}});
  cases.push_back({"all-N consensus", {RandomContig(rng, 700, "N", 2), RandomContig(rng, 40, "n*", 0)}});
  cases.push_back({"an empty consensus", {Contig(), RandomContig(rng, 30, "ACGTNX*acgt", 1)}});
  for (int round = 0; round < 4; ++round) {
    Case random{"random " + std::to_string(round), {}};
    const int contigs = 1 + static_cast<int>(rng() % 40);
    for (int c = 0; c < contigs; ++c) {
      // Lengths spread over the steps the figures count at.
      const int length = 1 + static_cast<int>(rng() % (c % 6 == 0 ? 60000 : 3000));
      random.mContigs.push_back(RandomContig(rng, length, "ACGTACGTNX*gc-", static_cast<int>(rng() % 4)));
    }
    cases.push_back(random);
  }
  for (const Case& c : cases)
    for (int minSize : {0, 1, 500, 20000})
      for (int64_t genomeSize : {int64_t{0}, int64_t{1}, int64_t{50000}, int64_t{10000000}}) {
        AssemblyTally tally(minSize);
        for (const Contig& contig : c.mContigs) tally.Add(contig);
        ExpectSameFigures(PlainFigures(c.mContigs, minSize, genomeSize), tally.Figures(genomeSize),
                          c.mName + " -m " + std::to_string(minSize) + " -g " + std::to_string(genomeSize));
      }
}

TEST(AssemblyFigures, EdgesOfTheDefinitions) {
  AssemblyTally tally(0);
  // Lengths 50, 30 (one pad more in padded columns) and 10: N50 is reached
  // by the first, N90 by the third.
  tally.Add(test::MakeContig("a", std::string(50, 'A')));
  tally.Add(test::MakeContig("b", std::string(15, 'C') + "*" + std::string(15, 'G')));
  tally.Add(test::MakeContig("c", std::string(10, 'T')));
  const AssemblyFigures f = tally.Figures(200);
  EXPECT_EQ(50, f.mN50);
  EXPECT_EQ(1, f.mL50);
  EXPECT_EQ(10, f.mN90);
  EXPECT_EQ(3, f.mL90);
  EXPECT_EQ(0, f.mNG50);  // 90 bases never reach half of 200
  EXPECT_EQ(0, f.mLG50);
  EXPECT_DOUBLE_EQ((50.0 * 50 + 30 * 30 + 10 * 10) / 90, f.mAuN);
}

TEST(AssemblyFigures, JsonStringsEscapeWhatJsonForbids) {
  EXPECT_EQ("\"a\\\"b\\\\c\\u000a\\u0009d\"", JsonString("a\"b\\c\n\td"));
}

}  // namespace
}  // namespace ostrel
