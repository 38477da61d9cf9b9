// Filling the banded table column by column.
#include "search/BandedAligner.h"

#include <algorithm>

namespace ostrel {

void BandedAligner::InitTable(int n) {
  n = std::max(n, 0);
  mWidth = std::max(0, std::min(mBand, n));
  const int b = mWidth;
  mTable.assign(2 * static_cast<size_t>(b) + 1, std::vector<int>(static_cast<size_t>(std::max(n, b)) + 1, 0));
  for (int d = b; d <= 2 * b; ++d) mTable[d][0] = (d - b) * mGap;
  for (int i = 0; i <= b; ++i) mTable[b - i][i] = i * mGap;
}

int BandedAligner::ComputeScore(const Sequence& query, int qStart, int qEnd, const Sequence& source, int sStart,
                                int /*sEnd*/) {
  const long queryLength = static_cast<long>(query.mBases.size());
  const long first = std::max(0, qStart);
  const long last = std::min(static_cast<long>(qEnd), queryLength - 1);
  if (mBand <= 0 || last < first) return 0;
  const int n = static_cast<int>(last - first + 1);
  InitTable(n);
  const int b = mWidth;
  const char* q = query.mBases.data() + first;
  const char* s = source.mBases.data();
  const long sourceLength = static_cast<long>(source.mBases.size());
  for (int j = 1; j <= n; ++j) {
    const char queryBase = q[j - 1];
    for (int d = std::max(b - j + 1, 1); d <= 2 * b; ++d) {
      const long k = static_cast<long>(j) - b + d;  // 1-based from sStart
      const long at = sStart + k - 1;
      if (at < 0 || at >= sourceLength) continue;
      const int diagonal = mTable[d][j - 1] + (queryBase == s[at] ? mMatch : mMismatch);
      const int queryGap = d == 2 * b ? mMinusInfinity : mTable[d + 1][j - 1] + mGap;
      const int sourceGap = k < 1 ? mMinusInfinity : mTable[d - 1][j] + mGap;
      mTable[d][j] = std::max({diagonal, queryGap, sourceGap});
    }
  }
  return mTable[b][n];
}

}  // namespace ostrel
