// Filling the banded table column by column.
#include "search/BandedAligner.h"

#include <algorithm>
#include <climits>

namespace ostrel {

void BandedAligner::InitTable(int n) {
  n = std::max(n, 0);
  mWidth = std::max(0, std::min(mBand, n));
  const int b = mWidth;
  mTable.assign(2 * static_cast<size_t>(b) + 1, std::vector<int>(static_cast<size_t>(std::max(n, b)) + 1, 0));
  for (int d = b; d <= 2 * b; ++d) mTable[d][0] = (d - b) * mGap;
  for (int i = 0; i <= b; ++i) mTable[b - i][i] = i * mGap;
  // Nothing enters the band from below its lowest diagonal, which is never
  // computed: left at 0, it would let an alignment start afresh anywhere
  // along that edge.
  std::fill(mTable[0].begin() + b + 1, mTable[0].end(), mMinusInfinity);
}

int BandedAligner::ComputeScore(const Sequence& query, int qStart, int qEnd, const Sequence& source, int sStart,
                                int sEnd) {
  return ComputeScore(query, qStart, qEnd, source, sStart, sEnd, INT_MIN);
}

int BandedAligner::ComputeScore(const Sequence& query, int qStart, int qEnd, const Sequence& source, int sStart,
                                int /*sEnd*/, int needed) {
  const long queryLength = static_cast<long>(query.mBases.size());
  const long first = std::max(0, qStart);
  const long last = std::min(static_cast<long>(qEnd), queryLength - 1);
  if (mBand <= 0 || last < first) return 0;
  const int n = static_cast<int>(last - first + 1);
  InitTable(n);
  const long b = mWidth;
  const char* q = query.mBases.data() + first;
  const char* s = source.mBases.data();
  const long sourceLength = static_cast<long>(source.mBases.size());
  std::vector<int*> rows(mTable.size());
  for (size_t d = 0; d < mTable.size(); ++d) rows[d] = mTable[d].data();
  // Every path to the last cell crosses each column, and each later query
  // base adds at most one match: a column whose best cell, with that gain,
  // stays below `needed` ends the hope. Only sound when gaps cost.
  const bool mayStop = needed != INT_MIN && mGap <= 0 && mMismatch <= mMatch;
  const long gain = std::max(mMatch, 0);
  for (long j = 1; j <= n; ++j) {
    const char queryBase = q[j - 1];
    // Cell (d, j) pairs the query base with source base sStart + j - b + d
    // - 1; cells off the source are skipped and keep their values. From
    // diagonal b - j + 1 up, the source base is at least the first of the
    // span, so a gap in the source can always be taken.
    const long lowest = std::max({b - j + 1, 1L, b - j + 1 - sStart});
    const long highest = std::min(2 * b, sourceLength + b - j - sStart);
    const long sourceBefore = sStart + j - b - 1;
    for (long d = lowest; d <= highest; ++d) {
      int best = rows[d][j - 1] + (queryBase == s[sourceBefore + d] ? mMatch : mMismatch);
      best = std::max(best, d == 2 * b ? mMinusInfinity : rows[d + 1][j - 1] + mGap);
      rows[d][j] = std::max(best, rows[d - 1][j] + mGap);
    }
    if (mayStop && j % kStopCheckColumns == 0) {
      long columnBest = LONG_MIN;
      for (long d = 0; d <= 2 * b; ++d) columnBest = std::max<long>(columnBest, rows[d][j]);
      const long bound = columnBest + (n - j) * gain;
      if (bound < needed) return static_cast<int>(bound);
    }
  }
  return mTable[b][n];
}

}  // namespace ostrel
