// The banded dynamic programme, row by row of the query.
#include "search/OverlapAligner.h"

#include <algorithm>

namespace ostrel {

namespace {

// A cell packs its score (high 32 bits) and the diagonal its path began on
// (low 31 bits, offset to be positive), so that one comparison picks the
// better path: the higher score; on ties the diagonal move (bit 31 marks it
// while the moves are compared), then the later start.
using Cell = int64_t;
constexpr int64_t kScoreUnit = int64_t{1} << 32;
constexpr int64_t kStartOffset = int64_t{1} << 30;
constexpr int64_t kDiagonalMove = int64_t{1} << 31;
constexpr int kNoScore = INT_MIN / 2;  // no path; adding to it cannot wrap
constexpr Cell kNone = kNoScore * kScoreUnit;

Cell Pack(int score, long start) { return score * kScoreUnit + (start + kStartOffset); }
int ScoreOf(Cell c) { return static_cast<int>((c - (c & (kScoreUnit - 1))) / kScoreUnit); }
long StartOf(Cell c) { return (c & (kScoreUnit - 1)) - kStartOffset; }

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
  mRow.assign(static_cast<size_t>(width) + 2, kNone);
  mPrevRow.assign(static_cast<size_t>(width) + 2, kNone);
  Cell* row = mRow.data() + 1;
  Cell* prev = mPrevRow.data() + 1;
  const Cell match = kMatch * kScoreUnit, mismatch = kMismatch * kScoreUnit, gap = kGap * kScoreUnit;
  // Keeps the cell as the best end when it beats the one so far. Starts are
  // kept as diagonals: a path begins at query 0 or at source 0.
  auto end = [&](long i, long j, Cell cell) {
    const int value = ScoreOf(cell);
    if (value <= best.mScore) return;
    const long from = StartOf(cell);
    best.mScore = value;
    best.mQueryStart = static_cast<int>(from >= 0 ? 0 : -from);
    best.mSourceStart = static_cast<int>(from >= 0 ? from : 0);
    best.mQueryEnd = static_cast<int>(i);
    best.mSourceEnd = static_cast<int>(j);
  };
  // The cells of the previous row still in play: all of them, or with
  // xDrop those within xDrop of the row's best.
  long activeLow = 0, activeHigh = width - 1;
  for (long i = firstRow; i <= lastRow; ++i) {
    std::swap(row, prev);
    std::fill(row, row + width, kNone);
    // The cells whose source prefix lies within the source.
    const long tFrom = std::max(0L, -(i + low)), tTo = std::min<long>(width - 1, S - i - low);
    Cell rowBest = kNone;
    long t = tFrom;
    if (i == 0 || i + low + t == 0) {
      // An alignment may begin on either read's first edge.
      for (const long last = i == 0 ? tTo : t; t <= last; ++t) row[t] = Pack(0, low + t);
      rowBest = row[t - 1];
    } else {
      // A cell is reached from the cell above it and the one to its right
      // at the most: from one left of the active cells on.
      t = std::max(t, activeLow - 1);
    }
    const char queryBase = i > 0 ? query[i - 1] : 0;
    const long sourceBefore = i + low - 1;  // source base sourceBefore + t pairs with cell t
    for (; t <= tTo; ++t) {
      const Cell value = std::max({prev[t] + (queryBase == source[sourceBefore + t] ? match : mismatch) + kDiagonalMove,
                                   prev[t + 1] + gap, row[t - 1] + gap}) &
                         ~kDiagonalMove;
      row[t] = value;
      rowBest = std::max(rowBest, value);
      // Past the active cells only gaps along the row lead on.
      if (xDrop > 0 && t > activeHigh && ScoreOf(value) < ScoreOf(rowBest) - xDrop) break;
    }
    const long computedHigh = std::min(t, tTo);
    if (i == Q) {
      for (long c = tFrom; c <= tTo; ++c) end(i, i + low + c, row[c]);
    } else if (tTo >= tFrom && i + low + tTo == S) {
      end(i, S, row[tTo]);
    }
    const int rowBestScore = ScoreOf(rowBest);
    activeLow = tFrom;
    activeHigh = computedHigh;
    if (xDrop > 0) {
      while (activeLow < activeHigh && ScoreOf(row[activeLow]) < rowBestScore - xDrop) ++activeLow;
      while (activeHigh > activeLow && ScoreOf(row[activeHigh]) < rowBestScore - xDrop) --activeHigh;
    }
    // Each later row adds at most one match to any path.
    const long bound = std::max<long>(best.mScore, rowBestScore + (lastRow - i) * kMatch);
    if (needed != INT_MIN && bound < needed) {
      best.mScore = static_cast<int>(bound);
      best.mStopped = true;
      return best;
    }
  }
  return best;
}

}  // namespace ostrel
