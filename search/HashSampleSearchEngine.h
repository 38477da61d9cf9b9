// An exact-word index of source sequences and the search of query samples
// in it.
//
// Every window of mSampleSize bases of the sources is entered once; each
// distinct window text keeps the list of places (source index, 0-based
// offset of the window) where it occurs, at most mMaxHitsPerSample of them.
// A query is cut into samples every 1000 / mSampleDensity bases; each
// stored occurrence of a sample becomes one hit. Sources and queries are
// up to 2^31 - 1 bases long.
#ifndef OSTREL_SEARCH_HASHSAMPLESEARCHENGINE_H
#define OSTREL_SEARCH_HASHSAMPLESEARCHENGINE_H

#include <cstdint>
#include <vector>

#include "search/SampleHash.h"
#include "search/SampleSearchResult.h"
#include "seq/Sequence.h"
#include "seq/SequenceVector.h"
#include "util/SmallIntVector.h"

namespace ostrel {

// The occurrences of one sample text, in the order they were entered:
// occurrence t is at offset mPositions[t] of source mSources[t].
struct SampleInfo {
  SmallIntVector mPositions;
  SmallIntVector mSources;
};

class HashSampleSearchEngine {
public:
  HashSampleSearchEngine(int sampleSize, int sampleDensity, uint32_t maxHitsPerSample, int hashSize)
      : mSampleSize(sampleSize),
        mSampleDensity(sampleDensity),
        mMaxHitsPerSample(maxHitsPerSample),
        mHashSize(hashSize) {}

  int mSampleSize;                       // k: bases per sample, sources and queries alike
  int mSampleDensity;                    // query samples per 1000 bases
  SampleHash mHash;                      // sample text -> index in mSampleInfo
  std::vector<SampleInfo> mSampleInfo;   // one entry per distinct sample text
  uint32_t mMaxHitsPerSample;            // most occurrences kept per sample text
  int mDroppedHits = 0;                  // occurrences beyond that; never reset here
  int mQuerySamples = 0;                 // query samples looked up since Create or Add
  int mHashSize;                         // sample texts the index makes room for at once

  // Building. A sample size of 0 or below enters nothing.
  // Every window of the source, as source 0; a window holding N or X
  // (either case) is entered as the empty sample.
  void Create(const Sequence& source);
  // The same for sources first .. last (clamped to the collection), each
  // under its index in the collection. Meant for an empty engine.
  void Create(const SequenceVector& sources, int first, int last);
  // Every window of the source as it is (N, X, case and pads included),
  // under the given source index; a source shorter than the sample size
  // gives one sample of the whole source, an empty source none. Writes
  // "<n> bp in hash." on standard output whenever a window ends at a
  // multiple n of 100000 bases.
  void Add(const Sequence& source, int sourceIdx);

  // The spacing of query samples: 1000 / mSampleDensity truncated; 0 (no
  // samples) for a density of 0 or below or above 1000.
  int SampleStep() const;
  // Appends the query's samples: length / spacing of them, sample j holding
  // bases j x spacing .. j x spacing + k - 1, cut at the end of the query.
  void SampleQuery(const Sequence& query, SequenceVector& samples) const;

  // Searching; hits are appended. Each returns the number of query samples
  // taken. SearchRev samples a reverse-complemented copy of each query, so
  // its hits' query offsets are on that copy.
  int Search(const SequenceVector& queries, SampleSearchResultVec& hits);
  int Search(const Sequence& query, SampleSearchResultVec& hits);
  int SearchRev(const SequenceVector& queries, SampleSearchResultVec& hits);
  int SearchRev(const Sequence& query, SampleSearchResultVec& hits);
  // Looks up ready-made samples as the samples of one query (query 0).
  int SearchWithSamples(const SequenceVector& samples, SampleSearchResultVec& hits);
  // Looks up one ready-made sample; its hits have query, sample and query
  // offset 0.
  void SearchSingle(const Sequence& sample, SampleSearchResultVec& hits);

protected:
  // Samples one query and appends its hits; returns the number of samples.
  // Reads the index only.
  int SearchQuery(const Sequence& query, int queryIdx, SampleSearchResultVec& hits) const;
  // A copy of the query's bases, reverse-complemented, as SearchRev samples
  // it; the query is unchanged.
  static Sequence ReverseComplementOf(const Sequence& query);

private:
  // Enters one occurrence of the stored text [offset, offset + length). A
  // new text takes entry `next` of mSampleInfo (appended when it is one past
  // the end); the result says whether it did.
  bool Enter(size_t offset, size_t length, int position, int sourceIdx, int next);
  // Enters every window of one source, as Create does; new texts take
  // entries from `next` upward.
  void EnterWindows(const Sequence& source, int sourceIdx, int& next);
  // How many samples a query of `length` bases gives.
  long SampleCount(long length) const;
  void AppendHits(const char* sample, size_t length, int queryIdx, int sampleIdx, int queryLoc,
                  SampleSearchResultVec& hits) const;
};

}  // namespace ostrel

#endif
