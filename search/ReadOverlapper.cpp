// Gathering the hits of a read, placing and aligning each source.
#include "search/ReadOverlapper.h"

#include <algorithm>

#include "search/OverlapAligner.h"

namespace ostrel {

namespace {

struct Hit {
  int mSource;
  int mDiagonal;  // source offset - query offset
  int mQueryOffset;
};

// Whether the hits reach across more than the words that hold one base:
// two reads can share a rare word by chance (two copies of a repeat with the
// same difference, or one read's error where the other copy differs), and
// then share every word over that base, on one diagonal.
bool Spread(const Hit* first, const Hit* end, int wordSize) {
  int low = first->mQueryOffset, high = low;
  for (const Hit* h = first; h != end; ++h) low = std::min(low, h->mQueryOffset), high = std::max(high, h->mQueryOffset);
  return high - low >= wordSize;
}

}  // namespace

void ReadOverlapper::Index(PackedReads&& reads, int threads) {
  mReads = std::move(reads);
  mIndex.Build(mReads, mWordSize, mWindow, mRepeatLimit, threads);
}

int ReadOverlapper::Needed(long length) const {
  const long cutoff = static_cast<long>(length * (1.0 - (2.0 * mErrorPct) / 100.0));
  return static_cast<int>(std::max<long>(mMinScore, cutoff));
}

long ReadOverlapper::HitsForWideBand(long length) const {
  // A window of w words gives about 2 / (w + 1) minimizers a base.
  const long words = 2 * length / (static_cast<long>(mIndex.mWindow) + 1);
  return std::max<long>(kLeastHits, words / kWordsPerHit);
}

void ReadOverlapper::OverlapsBefore(int query, std::vector<ReadOverlap>& overlaps, std::ostream* lines) const {
  if (query <= 0 || query >= static_cast<int>(mReads.size())) return;
  std::vector<char> bases;
  mReads.Unpack(static_cast<size_t>(query), bases);
  Strand(query, bases, 1, overlaps, lines);
  std::reverse(bases.begin(), bases.end());
  for (char& c : bases) c = Sequence::ComplementBase(c);
  Strand(query, bases, 0, overlaps, lines);
}

void ReadOverlapper::Strand(int query, const std::vector<char>& bases, int orientation,
                            std::vector<ReadOverlap>& overlaps, std::ostream* lines) const {
  std::vector<Minimizer> minimizers;
  MinimizerIndex::Minimizers(bases, mIndex.mWordSize, mIndex.mWindow, minimizers);
  std::vector<Hit> hits;
  for (const Minimizer& m : minimizers) {
    size_t count;
    const WordPlace* places = mIndex.Find(m.mKey, count);
    // Places are in read order: those of earlier reads come first.
    for (size_t p = 0; p < count && places[p].mRead < query; ++p)
      hits.push_back(Hit{places[p].mRead, places[p].mOffset - m.mOffset, m.mOffset});
  }
  std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
    return a.mSource != b.mSource ? a.mSource < b.mSource : a.mDiagonal < b.mDiagonal;
  });
  OverlapAligner aligner;
  std::vector<char> sourceBases;
  const long Q = static_cast<long>(bases.size());
  for (size_t first = 0, end; first < hits.size(); first = end) {
    for (end = first + 1; end < hits.size() && hits[end].mSource == hits[first].mSource;) ++end;
    // The window of diagonals [d, d + band] holding the most hits; its
    // middle hit places the alignment.
    size_t bestLow = first, bestCount = 0;
    for (size_t low = first, high = first; low < end; ++low) {
      while (high < end && hits[high].mDiagonal <= hits[low].mDiagonal + mBandWidth) ++high;
      if (high - low > bestCount) bestCount = high - low, bestLow = low;
    }
    if (bestCount < static_cast<size_t>(kLeastHits) ||
        !Spread(&hits[bestLow], &hits[bestLow] + bestCount, mIndex.mWordSize))
      continue;
    const int source = hits[first].mSource;
    const long diagonal = hits[bestLow + bestCount / 2].mDiagonal;
    const long S = mReads.Length(static_cast<size_t>(source));
    const long placedLength = std::min(Q, S - diagonal) - std::max(0L, -diagonal);
    // Each base scores at most one: too short an overlap cannot be taken.
    if (placedLength + kWideBandFactor * mBandWidth < mMinScore) continue;
    mReads.Unpack(static_cast<size_t>(source), sourceBases);
    OverlapAlignment a;
    int length = 0;
    bool accepted = false;
    for (int band = mBandWidth;; band *= kWideBandFactor) {
      a = aligner.Align(bases, sourceBases, diagonal, band, Needed(std::max(0L, placedLength - 2L * band)), kXDrop);
      length = a.mQueryEnd - a.mQueryStart;
      accepted = !a.mStopped && a.mScore >= Needed(length);
      if (lines != nullptr)
        *lines << mReads.Name(static_cast<size_t>(query)) << "<-->" << mReads.Name(static_cast<size_t>(source))
               << '\t' << (orientation == 1 ? '+' : '-') << '\t' << a.mQueryStart << ',' << a.mQueryEnd << '/'
               << a.mSourceStart << ',' << a.mSourceEnd
               << "\tband = " << band << " hits = " << bestCount << "\tscore = " << a.mScore
               << " needed = " << Needed(length) << (accepted ? "" : " (not accepted)") << '\n';
      // Overlaps placed so short that the least score rules them are not
      // long enough for their ends to drift far.
      if (accepted || band > mBandWidth || Needed(placedLength) <= mMinScore ||
          static_cast<long>(bestCount) < HitsForWideBand(placedLength))
        break;
    }
    if (!accepted) continue;
    overlaps.push_back(ReadOverlap{source, orientation, length, a.mScore, a.mQueryStart - a.mSourceStart,
                                   static_cast<int>((Q - a.mQueryEnd) - (S - a.mSourceEnd))});
  }
}

}  // namespace ostrel
