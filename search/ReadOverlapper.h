// All-against-all overlaps of a read set through a lean minimizer index.
//
// The reads are indexed once by their minimizers, leaving out words so
// frequent that they come from repeats. A read is compared with the reads
// before it on both strands: the places of its minimizers give hits on
// diagonals (source offset - query offset), the hits of each source are
// gathered in the window of `mBandWidth` diagonals that holds most of them,
// and a source with at least kLeastHits there, from words that do not all
// hold one same base, is aligned along that
// diagonal by an overlap alignment (see OverlapAligner) whose ends lie on
// the reads' ends. An overlap is accepted when its score reaches both
// mMinScore and its length x (1 - 2 x mErrorPct / 100).
//
// Hangs are seen from the query as compared (the reverse-complemented
// query for the opposite strand), as SeqOverlapper gives them.
#ifndef OSTREL_SEARCH_READOVERLAPPER_H
#define OSTREL_SEARCH_READOVERLAPPER_H

#include <ostream>
#include <vector>

#include "search/MinimizerIndex.h"
#include "seq/PackedReads.h"

namespace ostrel {

// An accepted overlap of a query with an earlier read.
struct ReadOverlap {
  int mSourceIdx;
  int mOrientation;  // 1: same strand; 0: opposite strands
  int mLength;       // bases of the query's part
  int mScore;
  int mLeftHang, mRightHang;
};

class ReadOverlapper {
public:
  // Hits a source needs within one window of diagonals to be aligned.
  static constexpr int kLeastHits = 3;
  // A source placed with an overlap long enough that its length sets the
  // score it needs, whose alignment falls short, is aligned again in a band
  // this many times as wide when it has at least one hit per kWordsPerHit of the
  // words the placed overlap would share when error-free (a true overlap
  // keeps about half of them): indels can carry a long overlap's ends off
  // the band, chance hits do not earn the wider search.
  static constexpr int kWideBandFactor = 3;
  static constexpr int kWordsPerHit = 4;
  // Cells this far below the best of their row are left out of the
  // alignment (see OverlapAligner::Align).
  static constexpr int kXDrop = 12;

  ReadOverlapper(int wordSize, int window, int repeatLimit, int bandWidth, float errorPct, int minScore)
      : mWordSize(wordSize),
        mWindow(window),
        mRepeatLimit(repeatLimit),
        mBandWidth(bandWidth),
        mErrorPct(errorPct),
        mMinScore(minScore) {}

  int mWordSize;     // bases per word, 1 .. MinimizerIndex::kMaxWordSize
  int mWindow;       // one minimizer per this many consecutive words
  int mRepeatLimit;  // words in more places are repeats; 0: set from the reads
  int mBandWidth;    // diagonals either side of the placed one
  float mErrorPct;   // expected error percentage
  int mMinScore;     // least score of an overlap
  PackedReads mReads;
  MinimizerIndex mIndex;

  // Takes the reads (in the case they are to be compared) and indexes them
  // with `threads` threads.
  void Index(PackedReads&& reads, int threads = 1);

  // The accepted overlaps of read `query` with reads 0 .. query - 1, the
  // same strand first, then the opposite one, each by ascending source.
  // With `lines`, one line per alignment made. Reads the index and the
  // reads only, so threads may call it at once.
  void OverlapsBefore(int query, std::vector<ReadOverlap>& overlaps, std::ostream* lines) const;

  // The score an overlap of `length` bases needs.
  int Needed(long length) const;
  // The hits that earn an overlap of `length` bases the wider band.
  long HitsForWideBand(long length) const;

private:
  void Strand(int query, const std::vector<char>& bases, int orientation, std::vector<ReadOverlap>& overlaps,
              std::ostream* lines) const;
};

}  // namespace ostrel

#endif
