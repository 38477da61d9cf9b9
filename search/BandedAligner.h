// The score of a global alignment of two spans confined to a band of
// diagonals around the main one.
//
// Rows of the table are diagonals d = 0 .. 2B, column j = 1 .. n the j-th
// base of the query span; cell (d, j) pairs that base with source base
// k = j - B + d (1-based from the source span's start), so diagonal B is the
// main diagonal. Diagonal 0 keeps its starting values, and a cell whose
// source base lies outside the source keeps its value, so the band's lower
// edge and the source's ends bound the alignment.
#ifndef OSTREL_SEARCH_BANDEDALIGNER_H
#define OSTREL_SEARCH_BANDEDALIGNER_H

#include <vector>

#include "seq/Sequence.h"

namespace ostrel {

class BandedAligner {
public:
  explicit BandedAligner(int band) : mBand(band) {}

  int mBand;                   // B: diagonals either side of the main one
  int mGap = -2;               // a base against nothing
  int mMatch = 1;              // equal characters (case counts)
  int mMismatch = -1;          // different characters
  int mMinusInfinity = -999999;
  std::vector<std::vector<int>> mTable;  // 2B + 1 diagonals by columns 0 .. max(n, B)

  // Starts the table for a query span of n bases: every cell 0, then the
  // costs of a leading gap on the edges, (d - B) x mGap down column 0 from
  // the main diagonal and i x mGap on cell (B - i, i). A band wider than the
  // span is taken as wide as the span (the score is the same: cells past
  // it pair no bases); n below 0 is taken as 0.
  void InitTable(int n);

  // The score of query bases qStart .. qEnd (inclusive, cut to the query)
  // against the source from sStart: cell (B, n), the alignment that ends on
  // the main diagonal at the span's last base. sEnd is not used: the band
  // and the source's length bound the source side. A band of 0 or below, or
  // an empty span, scores 0.
  int ComputeScore(const Sequence& query, int qStart, int qEnd, const Sequence& source, int sStart, int sEnd);
  // The same score when it reaches `needed`; otherwise a bound of it below
  // `needed`, the table left part-filled: the alignment stops as soon as no
  // path can reach `needed` any more, which spares most of the work on
  // regions that do not overlap.
  int ComputeScore(const Sequence& query, int qStart, int qEnd, const Sequence& source, int sStart, int sEnd,
                   int needed);

private:
  static constexpr int kStopCheckColumns = 16;  // columns between two looks at `needed`
  int mWidth = 0;  // the band used for the table: mBand, at most the span
};

}  // namespace ostrel

#endif
