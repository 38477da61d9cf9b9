#include "search/OverlapAligner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace ostrel {
namespace {

std::vector<char> Bases(const std::string& text) { return std::vector<char>(text.begin(), text.end()); }

std::string RandomBases(std::mt19937& random, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "ACGT"[random() % 4];
  return s;
}

// The unbanded definition: the best score of an alignment from the start of
// either sequence to the end of either one.
int PlainOverlapScore(const std::string& q, const std::string& s) {
  const size_t Q = q.size(), S = s.size();
  std::vector<std::vector<int>> h(Q + 1, std::vector<int>(S + 1, 0));
  int best = INT_MIN;
  for (size_t i = 0; i <= Q; ++i)
    for (size_t j = 0; j <= S; ++j) {
      if (i > 0 && j > 0)
        h[i][j] = std::max({h[i - 1][j - 1] + (q[i - 1] == s[j - 1] ? OverlapAligner::kMatch : OverlapAligner::kMismatch),
                            h[i - 1][j] + OverlapAligner::kGap, h[i][j - 1] + OverlapAligner::kGap});
      if (i == Q || j == S) best = std::max(best, h[i][j]);
    }
  return best;
}

TEST(OverlapAligner, PlacesDovetailsAndContainments) {
  std::mt19937 random(11);
  const std::string g = RandomBases(random, 400);
  struct Case {
    int mQueryFrom, mQueryTo, mSourceFrom, mSourceTo;  // stretches of g
  } cases[] = {
      {100, 400, 0, 250},   // the source leads: 150 bases
      {0, 250, 100, 400},   // the query leads
      {50, 150, 0, 400},    // the query inside the source
      {0, 400, 120, 300},   // the source inside the query
      {0, 300, 0, 300},     // the same
  };
  OverlapAligner aligner;
  for (const Case& c : cases) {
    const std::string q = g.substr(c.mQueryFrom, c.mQueryTo - c.mQueryFrom);
    const std::string s = g.substr(c.mSourceFrom, c.mSourceTo - c.mSourceFrom);
    // Placed a few diagonals off: the free ends still find the right one.
    const OverlapAlignment a = aligner.Align(Bases(q), Bases(s), c.mQueryFrom - c.mSourceFrom + 3, 5);
    const int shared = std::min(c.mQueryTo, c.mSourceTo) - std::max(c.mQueryFrom, c.mSourceFrom);
    EXPECT_EQ(shared, a.mScore) << c.mQueryFrom;
    EXPECT_EQ(std::max(0, c.mSourceFrom - c.mQueryFrom), a.mQueryStart) << c.mQueryFrom;
    EXPECT_EQ(std::max(0, c.mQueryFrom - c.mSourceFrom), a.mSourceStart) << c.mQueryFrom;
    EXPECT_EQ(a.mQueryStart + shared, a.mQueryEnd) << c.mQueryFrom;
    EXPECT_EQ(a.mSourceStart + shared, a.mSourceEnd) << c.mQueryFrom;
    EXPECT_FALSE(a.mStopped);
    // Asked for more than it can reach, it stops early with a bound below.
    const OverlapAlignment short_ = aligner.Align(Bases(q), Bases(s), c.mQueryFrom - c.mSourceFrom, 5, shared + 1);
    EXPECT_TRUE(short_.mStopped);
    EXPECT_LE(short_.mScore, shared);
  }
  // A band that misses every pair of bases, and empty reads, give nothing.
  EXPECT_EQ(INT_MIN, aligner.Align(Bases("ACGT"), Bases("ACGT"), 10, 2).mScore);
  EXPECT_EQ(INT_MIN, aligner.Align(Bases(""), Bases("ACGT"), 0, 2).mScore);
}

TEST(OverlapAligner, WideBandScoresAsThePlainDefinition) {
  std::mt19937 random(5);
  OverlapAligner aligner;
  for (int trial = 0; trial < 300; ++trial) {
    // Related pairs (a shared stretch with substitutions and indels) and
    // unrelated ones.
    std::string q = RandomBases(random, 1 + static_cast<int>(random() % 60));
    std::string s = RandomBases(random, 1 + static_cast<int>(random() % 60));
    if (trial % 2) {
      s = q.substr(random() % q.size()) + s;
      for (int e = 0; e < 3; ++e) {
        const size_t at = random() % s.size();
        if (random() % 2) s.erase(at, 1); else s.insert(at, 1, "ACGT"[random() % 4]);
        if (s.empty()) s = "A";
      }
    }
    const long band = static_cast<long>(q.size() + s.size());
    EXPECT_EQ(PlainOverlapScore(q, s), aligner.Align(Bases(q), Bases(s), 0, static_cast<int>(band)).mScore)
        << q << " " << s;
  }
}

}  // namespace
}  // namespace ostrel
