// The banded dynamic programme, row by row of the query.
#include "search/OverlapAligner.h"

#include <algorithm>

namespace ostrel {

namespace {

constexpr int kNone = INT_MIN / 2;  // no path; adding a gap cannot wrap

}  // namespace

OverlapAlignment OverlapAligner::Align(const std::vector<char>& query, const std::vector<char>& source, long diagonal,
                                       int band, int needed) {
  OverlapAlignment best;
  const long Q = static_cast<long>(query.size()), S = static_cast<long>(source.size());
  band = std::max(band, 0);
  // Cell t of row i pairs query prefix i with source prefix j = i + low + t.
  const long low = diagonal - band;
  const int width = 2 * band + 1;
  const long firstRow = std::max(0L, -(diagonal + band));
  const long lastRow = std::min(Q, S - low);
  if (Q == 0 || S == 0 || firstRow > lastRow) return best;
  // One cell of room each side spares the edge tests.
  mScores.assign(static_cast<size_t>(width) + 2, kNone);
  mPrevScores.assign(static_cast<size_t>(width) + 2, kNone);
  mStarts.assign(static_cast<size_t>(width) + 2, 0);
  mPrevStarts.assign(static_cast<size_t>(width) + 2, 0);
  int* score = mScores.data() + 1;
  int* start = mStarts.data() + 1;
  int* prevScore = mPrevScores.data() + 1;
  int* prevStart = mPrevStarts.data() + 1;
  for (long i = firstRow; i <= lastRow; ++i) {
    std::swap(score, prevScore);
    std::swap(start, prevStart);
    int rowBest = kNone;
    for (int t = 0; t < width; ++t) {
      const long j = i + low + t;
      if (j < 0 || j > S) {
        score[t] = kNone;
        continue;
      }
      if (i == 0 || j == 0) {  // an alignment may begin on either read's first edge
        score[t] = 0;
        start[t] = static_cast<int>(j - i);
      } else {
        int value = prevScore[t] == kNone ? kNone
                                          : prevScore[t] + (query[i - 1] == source[j - 1] ? kMatch : kMismatch);
        int from = prevStart[t];
        if (prevScore[t + 1] + kGap > value) value = prevScore[t + 1] + kGap, from = prevStart[t + 1];
        if (t > 0 && score[t - 1] + kGap > value) value = score[t - 1] + kGap, from = start[t - 1];
        score[t] = value;
        start[t] = from;
      }
      rowBest = std::max(rowBest, score[t]);
      if ((i == Q || j == S) && score[t] > best.mScore) {
        // Starts are kept as diagonals: a path begins at query 0 or source 0.
        best.mScore = score[t];
        best.mQueryStart = start[t] >= 0 ? 0 : -start[t];
        best.mSourceStart = start[t] >= 0 ? start[t] : 0;
        best.mQueryEnd = static_cast<int>(i);
        best.mSourceEnd = static_cast<int>(j);
      }
    }
    // Each later row adds at most one match to any path.
    if (needed != INT_MIN && std::max<long>(best.mScore, rowBest + (lastRow - i) * kMatch) < needed) {
      best.mScore = static_cast<int>(std::max<long>(best.mScore, rowBest + (lastRow - i) * kMatch));
      best.mStopped = true;
      return best;
    }
  }
  return best;
}

}  // namespace ostrel
