// Placing and scoring a query's hits against the sources, and recording the
// accepted overlaps.
#include "search/SeqOverlapper.h"

#include <algorithm>
#include <climits>
#include <iostream>
#include <iterator>
#include <utility>


namespace ostrel {

void SeqOverlapper::AddSource(const Sequence& s) {
  if (s.mBases.size() < mMinSize) return;
  Add(s, mNumSources);
  mSourceSeqs.AddSequence(s);
  ++mNumSources;
}

void SeqOverlapper::AddSource(const Sequence& s, int from, int to) {
  if (s.mBases.size() < mMinSize) {
    std::cout << s.mName << " size < " << mMinSize << " not added to hash." << std::endl;
    return;
  }
  const long length = static_cast<long>(s.mBases.size());
  const long first = std::clamp(static_cast<long>(from), 0L, length);
  const long end = std::clamp(static_cast<long>(to), first, length);
  Sequence part;
  part.mName = s.mName;
  part.mDescription = s.mDescription;
  std::copy_if(s.mBases.begin() + first, s.mBases.begin() + end, std::back_inserter(part.mBases),
               [](char c) { return c != '*'; });
  Add(part, mNumSources);
  mSourceSeqs.push_back(std::move(part));
  ++mNumSources;
}

SeqOverlap SeqOverlapper::Place(long queryLength, long sourceLength, long queryLoc, long sourceLoc) {
  const long Q = queryLength, S = sourceLength, q = queryLoc, s = sourceLoc;
  const long sourceRight = S - s, queryRight = Q - q;
  long qStart, qEnd, sStart, sEnd;
  if (sourceRight < queryRight && q < s) {  // the source leads
    qStart = 0, qEnd = (S - 1) - (s - q), sStart = s - q, sEnd = S - 1;
  } else if (queryRight < sourceRight && s < q) {  // the query leads
    qStart = q - s, qEnd = Q - 1, sStart = 0, sEnd = (Q - 1) - (q - s);
  } else if (sourceRight < queryRight || s < q) {  // the source lies inside the query
    qStart = q - s, qEnd = q + (S - 1 - s), sStart = 0, sEnd = S - 1;
  } else {  // the query lies inside the source
    qStart = 0, qEnd = Q - 1, sStart = s - q, sEnd = s + (Q - 1 - q);
  }
  SeqOverlap overlap{};
  overlap.mQueryStart = static_cast<int>(qStart);
  overlap.mQueryEnd = static_cast<int>(qEnd);
  overlap.mSourceStart = static_cast<int>(sStart);
  overlap.mSourceEnd = static_cast<int>(sEnd);
  overlap.mLength = static_cast<int>(qEnd - qStart + 1);
  overlap.mLeftHang = static_cast<int>(qStart - sStart);
  overlap.mRightHang = static_cast<int>((Q - 1 - qEnd) - (S - 1 - sEnd));
  return overlap;
}

SeqOverlap SeqOverlapper::PlaceAndScore(const Sequence& query, const SampleSearchResult& hit, int orientation,
                                        BandedAligner& aligner) const {
  const Sequence& source = mSourceSeqs[hit.mSourceIdx];
  SeqOverlap overlap =
      Place(static_cast<long>(query.mBases.size()), static_cast<long>(source.mBases.size()), hit.mQueryLoc,
            hit.mSourceLoc);
  overlap.mSourceIdx = hit.mSourceIdx;
  overlap.mOrientation = orientation;
  overlap.mCutoff = static_cast<int>(overlap.mLength * (1.0 - (2.0 * mErrorPct) / 100.0));
  const int needed = mJudgeStrandsAlike ? std::max(kMinForwardScore, overlap.mCutoff)
                     : orientation == 1 ? kMinForwardScore
                                        : overlap.mCutoff;
  // The same-strand scores are shown with the progress lines, so they are
  // then computed in full.
  const bool shown = mShowProgress && orientation == 1;
  overlap.mScore = aligner.ComputeScore(query, overlap.mQueryStart, overlap.mQueryEnd, source,
                                        overlap.mSourceStart, overlap.mSourceEnd, shown ? INT_MIN : needed);
  overlap.mAccepted = overlap.mScore >= needed;
  return overlap;
}

void SeqOverlapper::ScoreGroups(const Sequence& query, SampleSearchResultVec& hits, int sourceEnd,
                                int orientation, std::vector<SeqOverlap>& overlaps,
                                std::ostream* hitLines) const {
  const int limit = std::min(sourceEnd, mNumSources);
  hits.erase(std::remove_if(hits.begin(), hits.end(),
                            [limit](const SampleSearchResult& hit) { return hit.mSourceIdx >= limit; }),
             hits.end());
  // Grouped by source, each group in ascending source offset, and hits at
  // one offset in search order: what sorting by offset and then by source,
  // both stable, gives, in one pass.
  std::stable_sort(hits.begin(), hits.end(), [](const SampleSearchResult& a, const SampleSearchResult& b) {
    return a.mSourceIdx != b.mSourceIdx ? a.mSourceIdx < b.mSourceIdx : a.mSourceLoc < b.mSourceLoc;
  });
  if (hitLines != nullptr)
    for (const SampleSearchResult& hit : hits)
      *hitLines << query.mName << '\t' << mSourceSeqs[hit.mSourceIdx].mName << '\t' << hit.mSampleIdx << '\t'
                << hit.mQueryLoc << '\t' << hit.mSourceLoc << '\n';
  // One aligner for every group: each alignment starts its table afresh.
  BandedAligner aligner(mBandWidth);
  for (size_t first = 0, end; first < hits.size(); first = end) {
    for (end = first + 1; end < hits.size() && hits[end].mSourceIdx == hits[first].mSourceIdx;) ++end;
    overlaps.push_back(PlaceAndScore(query, hits[PlacingHit(hits, first, end)], orientation, aligner));
  }
}

size_t SeqOverlapper::PlacingHit(const SampleSearchResultVec& hits, size_t first, size_t end) const {
  if (!mPlaceByMostHits) return first;
  // (diagonal, hit) in diagonal order; a window slid over them counts the
  // hits within half a band of each.
  std::vector<std::pair<long, size_t>> diagonals;
  for (size_t i = first; i < end; ++i)
    diagonals.emplace_back(static_cast<long>(hits[i].mSourceLoc) - hits[i].mQueryLoc, i);
  std::sort(diagonals.begin(), diagonals.end());
  const long reach = std::max(mBandWidth / 2, 0);
  size_t best = first, bestCount = 0, low = 0, high = 0;
  for (const auto& [diagonal, hit] : diagonals) {
    while (diagonals[low].first < diagonal - reach) ++low;
    while (high < diagonals.size() && diagonals[high].first <= diagonal + reach) ++high;
    const size_t count = high - low;
    if (count > bestCount || (count == bestCount && hit < best)) best = hit, bestCount = count;
  }
  return best;
}

int SeqOverlapper::FindOverlaps(const Sequence& query, int sourceEnd, std::vector<SeqOverlap>& overlaps,
                                std::ostream& out) const {
  SampleSearchResultVec hits;
  int samples = SearchQuery(query, 0, hits);
  ScoreGroups(query, hits, sourceEnd, 1, overlaps, mShowProgress ? &out : nullptr);
  const Sequence reversed = ReverseComplementOf(query);
  hits.clear();
  samples += SearchQuery(reversed, 0, hits);
  ScoreGroups(reversed, hits, sourceEnd, 0, overlaps, nullptr);
  return samples;
}

int SeqOverlapper::CompareBefore(const Sequence& query, int sourceEnd, OverlapGraph& graph,
                                 std::ostream& out) const {
  if (query.mBases.size() < mMinSize) {
    out << query.mName << " size < " << mMinSize << " skipping." << std::endl;
    return 0;
  }
  std::vector<SeqOverlap> overlaps;
  const int samples = FindOverlaps(query, sourceEnd, overlaps, out);
  int newEdges = 0;
  for (const SeqOverlap& o : overlaps) {
    const std::string& sourceName = mSourceSeqs[o.mSourceIdx].mName;
    const bool reported = mShowProgress && o.mOrientation == 1;
    if (reported && o.mScore > 0) {
      out << query.mName << "<-->" << sourceName << "\t\t" << std::flush;
      out << o.mQueryStart << ',' << o.mQueryEnd << '/' << o.mSourceStart << ',' << o.mSourceEnd << '\t'
          << "\tscore = " << o.mScore << " cutoff = " << o.mCutoff << '\n';
    }
    if (o.mAccepted &&
        graph.KeepBetterEdge(sourceName, query.mName, o.mLength, o.mScore, o.mLeftHang, o.mRightHang,
                             o.mOrientation))
      ++newEdges;
    if (reported) out << "Num edges=" << newEdges << '\n';
  }
  return samples;
}

void SeqOverlapper::Compare(const Sequence& query, OverlapGraph& graph) {
  const int samples = CompareBefore(query, mNumSources, graph, std::cout);
  mQuerySamples = static_cast<int>(std::min<long>(static_cast<long>(mQuerySamples) + samples, INT_MAX));
}

}  // namespace ostrel
