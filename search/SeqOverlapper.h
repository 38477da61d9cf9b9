// End-to-end overlaps between a query read and a set of source reads.
//
// Sources are entered into the sample index; a query is sampled and looked
// up on both strands, its hits are grouped by source, and each group's
// first hit (the smallest source offset) places the query against that
// source: the overlap runs from that diagonal to the first end of either
// read on each side. The placed region is scored by a banded global
// alignment, and an accepted overlap becomes the edge source -> query of an
// OverlapGraph, keeping the better score when the pair already has one.
//
// Hangs are seen from the query: the left hang is positive when the query
// begins before the source, negative when the source begins first; the
// right hang is positive when the query runs on past the source's end,
// negative when the source runs on. For the opposite strand they refer to
// the reverse-complemented query.
#ifndef OSTREL_SEARCH_SEQOVERLAPPER_H
#define OSTREL_SEARCH_SEQOVERLAPPER_H

#include <cstdint>
#include <ostream>
#include <vector>

#include "search/BandedAligner.h"
#include "search/HashSampleSearchEngine.h"
#include "search/OverlapGraph.h"
#include "seq/Sequence.h"
#include "seq/SequenceVector.h"

namespace ostrel {

// One source group of a query's hits, placed and scored. Regions are
// inclusive 0-based offsets; the query's are on the query as compared (the
// reverse-complemented query for the opposite strand).
struct SeqOverlap {
  int mSourceIdx;
  int mOrientation;  // 1: same strand; 0: opposite strands
  int mQueryStart, mQueryEnd;
  int mSourceStart, mSourceEnd;
  int mLength;       // bases of the query region
  int mLeftHang, mRightHang;
  int mScore;        // banded alignment score of the region; for one not accepted, maybe only a
                     // bound below what acceptance needs (exact where progress lines show it)
  int mCutoff;       // mLength x (1 - 2 x error% / 100), truncated
  bool mAccepted;    // see SeqOverlapper::mJudgeStrandsAlike
};

class SeqOverlapper : public HashSampleSearchEngine {
public:
  // The lowest score a same-strand overlap is accepted with.
  static constexpr int kMinForwardScore = 300;

  SeqOverlapper(int sampleSize, int sampleDensity, uint32_t maxHitsPerSample, int hashSize, uint32_t minSize,
                float errorPct, int bandWidth)
      : HashSampleSearchEngine(sampleSize, sampleDensity, maxHitsPerSample, hashSize),
        mMinSize(minSize),
        mErrorPct(errorPct),
        mBandWidth(bandWidth) {}

  int mNumSources = 0;         // sources entered; the index the next one gets
  uint32_t mMinSize;           // shortest sequence entered or compared (characters, pads included)
  float mErrorPct;             // expected error rate in percent; sets the cutoff (see mJudgeStrandsAlike)
  int mBandWidth;              // band half-width of each alignment
  SequenceVector mSourceSeqs;  // the sources, by source index
  // Compare's progress lines on standard output (one per same-strand hit,
  // one per scored same-strand source, one per group); false for quiet.
  bool mShowProgress = true;
  // How overlaps are accepted. False: a same-strand overlap by its score
  // reaching kMinForwardScore, an opposite-strand one by its score reaching
  // the cutoff, however short. True: either, only when its score reaches
  // both, so that short or poor matches (a repeat copy at the end of each
  // read) are not taken for overlaps on either strand.
  bool mJudgeStrandsAlike = false;
  // Which hit places a source group. False: its first hit, the one with
  // the smallest source offset. True: the first of the hits whose diagonal
  // (source offset - query offset) has the most hits of the group within
  // half a band of it, so that a hit in a repeat or a tandem array, which
  // lies on a diagonal of its own, does not misplace the overlap.
  bool mPlaceByMostHits = false;

  // Enters a source of at least mMinSize characters; a shorter one is left
  // out without a word.
  void AddSource(const Sequence& s);
  // Enters characters from .. to - 1 of `s` (cut to the sequence) without
  // their '*' pads, under the same name and description. When `s` is
  // shorter than mMinSize, says so on standard output and enters nothing.
  void AddSource(const Sequence& s, int from, int to);

  // Finds the overlaps of `query` with every source and records the
  // accepted ones in `graph`. A query shorter than mMinSize is reported on
  // standard output and skipped. The query is not changed.
  void Compare(const Sequence& query, OverlapGraph& graph);

  // The same against sources 0 .. sourceEnd - 1 only, writing its lines to
  // `out` instead; returns the number of query samples looked up (both
  // strands). It reads the index and the sources only, so threads may call
  // it on one overlapper at once, each with its own graph and stream.
  int CompareBefore(const Sequence& query, int sourceEnd, OverlapGraph& graph, std::ostream& out) const;

  // Places and scores every source group of the query's hits among sources
  // 0 .. sourceEnd - 1: same strand first, then opposite strands, each by
  // ascending source index. With mShowProgress, writes the same-strand hit
  // lines to `out`. Returns the number of query samples looked up.
  int FindOverlaps(const Sequence& query, int sourceEnd, std::vector<SeqOverlap>& overlaps,
                   std::ostream& out) const;

  // Where the query lies against a source when its sample at `queryLoc`
  // matches the source at `sourceLoc`: the region from that diagonal to the
  // first end of either sequence on each side, its length and hangs
  // (mSourceIdx, mOrientation and the score are left 0).
  static SeqOverlap Place(long queryLength, long sourceLength, long queryLoc, long sourceLoc);

private:
  // The hit that places the group hits[first .. end - 1].
  size_t PlacingHit(const SampleSearchResultVec& hits, size_t first, size_t end) const;
  // Places the query by the hit and scores the region.
  SeqOverlap PlaceAndScore(const Sequence& query, const SampleSearchResult& hit, int orientation,
                           BandedAligner& aligner) const;
  // The first hit of each source group below sourceEnd, placed and scored.
  void ScoreGroups(const Sequence& query, SampleSearchResultVec& hits, int sourceEnd, int orientation,
                   std::vector<SeqOverlap>& overlaps, std::ostream* hitLines) const;
};

}  // namespace ostrel

#endif
