// The banded dynamic programme, row by row of the query.
#include "search/OverlapAligner.h"

#include <algorithm>

namespace ostrel {

namespace {

constexpr int kNone = INT_MIN / 2;  // no path; adding a gap cannot wrap

}  // namespace

OverlapAlignment OverlapAligner::Align(const std::vector<char>& query, const std::vector<char>& source, long diagonal,
                                       int band, int needed, int xDrop) {
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
  // Keeps the cell as the best end when it beats the one so far. Starts are
  // kept as diagonals: a path begins at query 0 or at source 0.
  auto end = [&](long i, long j, int value, int from) {
    if (value <= best.mScore) return;
    best.mScore = value;
    best.mQueryStart = from >= 0 ? 0 : -from;
    best.mSourceStart = from >= 0 ? from : 0;
    best.mQueryEnd = static_cast<int>(i);
    best.mSourceEnd = static_cast<int>(j);
  };
  // The cells of the previous row still in play: all of them, or with
  // xDrop those within xDrop of the row's best.
  long activeLow = 0, activeHigh = width - 1;
  for (long i = firstRow; i <= lastRow; ++i) {
    std::swap(score, prevScore);
    std::swap(start, prevStart);
    std::fill(score, score + width, kNone);
    // The cells whose source prefix lies within the source.
    const long tFrom = std::max(0L, -(i + low)), tTo = std::min<long>(width - 1, S - i - low);
    int rowBest = kNone;
    long t = tFrom;
    if (i == 0 || i + low + t == 0) {
      // An alignment may begin on either read's first edge.
      for (const long last = i == 0 ? tTo : t; t <= last; ++t) {
        score[t] = 0;
        start[t] = static_cast<int>(low + t);
      }
      rowBest = 0;
    } else {
      // A cell is reached from the cell above it and the one to its right
      // at the most: from one left of the active cells on.
      t = std::max(t, activeLow - 1);
    }
    const char queryBase = i > 0 ? query[i - 1] : 0;
    const long sourceBefore = i + low - 1;  // source base sourceBefore + t pairs with cell t
    for (; t <= tTo; ++t) {
      int value = prevScore[t] + (queryBase == source[sourceBefore + t] ? kMatch : kMismatch);
      int from = prevStart[t];
      const int down = prevScore[t + 1] + kGap, across = score[t - 1] + kGap;
      if (down > value) value = down, from = prevStart[t + 1];
      if (across > value) value = across, from = start[t - 1];
      score[t] = value;
      start[t] = from;
      rowBest = std::max(rowBest, value);
      // Past the active cells only gaps along the row lead on.
      if (xDrop > 0 && t > activeHigh && value < rowBest - xDrop) break;
    }
    const long computedHigh = std::min(t, tTo);
    if (i == Q) {
      for (long c = tFrom; c <= tTo; ++c) end(i, i + low + c, score[c], start[c]);
    } else if (tTo >= tFrom && i + low + tTo == S) {
      end(i, S, score[tTo], start[tTo]);
    }
    activeLow = tFrom;
    activeHigh = computedHigh;
    if (xDrop > 0) {
      while (activeLow < activeHigh && score[activeLow] < rowBest - xDrop) ++activeLow;
      while (activeHigh > activeLow && score[activeHigh] < rowBest - xDrop) --activeHigh;
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
