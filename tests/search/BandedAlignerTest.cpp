#include "search/BandedAligner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <utility>

#include "TestSupport.h"

namespace ostrel {
namespace {

// The band's recurrence written over (query base j, source base k) with
// every cell kept in a map that starts at 0: the leading-gap edges, cells
// off the source keeping their value, nothing entering from below the band
// (past its corner) or from above it. It takes the band as it is, however
// wide.
int PlainBandedScore(const std::string& query, int qStart, int qEnd, const std::string& source, int sStart,
                     int band) {
  const int n = qEnd - qStart + 1;
  if (band <= 0 || n <= 0) return 0;
  const int gap = -2, minusInfinity = -999999;
  std::map<std::pair<long, long>, int> cell;  // (j, k) -> score; absent is 0
  auto at = [&](long j, long k) {
    auto found = cell.find({j, k});
    return found == cell.end() ? 0 : found->second;
  };
  for (long k = 0; k <= band; ++k) cell[{0, k}] = static_cast<int>(k) * gap;
  for (long i = 0; i <= band; ++i) cell[{i, 0}] = static_cast<int>(i) * gap;
  for (long j = 1; j <= n; ++j)
    for (long k = std::max(1L, j - band + 1); k <= j + band; ++k) {
      const long s = sStart + k - 1;
      if (s < 0 || s >= static_cast<long>(source.size())) continue;
      const int diagonal = at(j - 1, k - 1) + (query[qStart + j - 1] == source[s] ? 1 : -1);
      const int queryGap = k == j + band ? minusInfinity : at(j - 1, k) + gap;
      const int sourceGap = (k - 1 == j - band && j > band ? minusInfinity : at(j, k - 1)) + gap;
      cell[{j, k}] = std::max({diagonal, queryGap, sourceGap});
    }
  return at(n, n);
}

TEST(BandedAligner, MatchesThePlainRecurrence) {
  std::mt19937 random(11);
  const char* letters = "ACGT";
  for (int round = 0; round < 300; ++round) {
    std::string source;
    for (int i = 0, n = 5 + static_cast<int>(random() % 40); i < n; ++i) source += letters[random() % 4];
    std::string query = source;  // a mutated copy, so that the band matters
    for (int edits = static_cast<int>(random() % 6); edits > 0; --edits) {
      const size_t at = random() % query.size();
      switch (random() % 3) {
        case 0: query[at] = letters[random() % 4]; break;
        case 1: query.erase(at, 1 + random() % 3); break;
        default: query.insert(at, std::string(1 + random() % 3, letters[random() % 4]));
      }
      if (query.empty()) query = "A";
    }
    const int qStart = static_cast<int>(random() % query.size());
    const int qEnd = qStart + static_cast<int>(random() % (query.size() - qStart));
    const int sStart = static_cast<int>(random() % (source.size() + 6)) - 3;  // may start off the source
    const int band = static_cast<int>(random() % 50);  // often wider than the span
    BandedAligner aligner(band);
    const Sequence q = test::MakeSequence(query), s = test::MakeSequence(source);
    const int plain = PlainBandedScore(query, qStart, qEnd, source, sStart, band);
    EXPECT_EQ(plain, aligner.ComputeScore(q, qStart, qEnd, s, sStart, 0))
        << query << " " << qStart << ".." << qEnd << " vs " << source << " from " << sStart << " band " << band;
    // Asked to reach a score, it gives the score when it does, and a bound
    // of it below what was needed when it does not.
    const int needed = plain + static_cast<int>(random() % 21) - 10;
    const int bounded = aligner.ComputeScore(q, qStart, qEnd, s, sStart, 0, needed);
    if (plain >= needed)
      EXPECT_EQ(plain, bounded);
    else
      EXPECT_TRUE(bounded >= plain && bounded < needed) << bounded << " " << plain << " " << needed;
  }
}

TEST(BandedAligner, ScoresAndStaysInsideItsData) {
  std::mt19937 random(5);
  std::string span;
  for (int i = 0; i < 500; ++i) span += "ACGT"[random() % 4];
  std::string changed = span;
  changed[250] = changed[250] == 'A' ? 'C' : 'A';
  const Sequence a = test::MakeSequence(span), b = test::MakeSequence(changed);
  BandedAligner aligner(10);
  EXPECT_EQ(500, aligner.ComputeScore(a, 0, 499, a, 0, 499));
  EXPECT_EQ(498, aligner.ComputeScore(a, 0, 499, b, 0, 499));  // 499 matches, one mismatch
  EXPECT_EQ(21u, aligner.mTable.size());
  EXPECT_EQ(501u, aligner.mTable[0].size());
  // Spans reaching past either sequence, empty spans and bands of 0 or
  // below: a score, never a read outside the data.
  EXPECT_EQ(0, BandedAligner(0).ComputeScore(a, 0, 499, a, 0, 499));
  EXPECT_EQ(0, BandedAligner(-3).ComputeScore(a, 0, 499, a, 0, 499));
  EXPECT_EQ(0, aligner.ComputeScore(a, 10, 9, a, 0, 0));
  EXPECT_EQ(500, aligner.ComputeScore(a, -40, 900, a, 0, 0));  // cut to the query
  EXPECT_EQ(aligner.ComputeScore(a, 0, 499, a, 0, 0), BandedAligner(1 << 30).ComputeScore(a, 0, 499, a, 0, 0));
  aligner.ComputeScore(a, 0, 499, a, 1 << 30, 0);
  aligner.ComputeScore(a, 0, 499, a, -(1 << 30), 0);
  aligner.ComputeScore(a, 0, 499, Sequence(), 0, 0);
}

}  // namespace
}  // namespace ostrel
