// The best overlap alignment of two reads near a given diagonal: it begins
// at the start of either read and ends at the end of either read, so that
// it is a dovetail or a containment, and it stays within `band` diagonals
// either side of the given one (diagonal = source offset - query offset).
// Scores as the banded aligner does: +1 a match, -1 a mismatch, -2 a base
// against a gap; the start and the end are free along the reads' edges, so
// that indels before the diagonal was measured cost nothing extra.
#ifndef OSTREL_SEARCH_OVERLAPALIGNER_H
#define OSTREL_SEARCH_OVERLAPALIGNER_H

#include <climits>
#include <cstdint>
#include <vector>

namespace ostrel {

// An overlap alignment: [start, end) on each read, and its score.
struct OverlapAlignment {
  int mScore = INT_MIN;
  int mQueryStart = 0, mQueryEnd = 0;
  int mSourceStart = 0, mSourceEnd = 0;
  bool mStopped = false;  // the search stopped early: mScore is only a bound, below what was needed
};

class OverlapAligner {
public:
  static constexpr int kMatch = 1;
  static constexpr int kMismatch = -1;
  static constexpr int kGap = -2;

  // The best alignment, or, when no alignment can score `needed` or more,
  // one whose score is below `needed` (the search stops once that is
  // certain). Characters are compared exactly. With an xDrop above 0, the
  // cells of a row more than xDrop below its best are left out of the rows
  // after it: far faster on a good alignment, which keeps to a few
  // diagonals, and the same score unless a path came back from that far
  // below.
  OverlapAlignment Align(const std::vector<char>& query, const std::vector<char>& source, long diagonal, int band,
                         int needed = INT_MIN, int xDrop = 0);

private:
  std::vector<int64_t> mRow, mPrevRow;  // the band's cells of a row and of the row before
};

}  // namespace ostrel

#endif
