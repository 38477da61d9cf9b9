// Building the sample index from sources and looking query samples up in it.
#include "search/HashSampleSearchEngine.h"

#include <algorithm>
#include <climits>
#include <iostream>
#include <iterator>

#include "search/SeqSampler.h"

namespace ostrel {

namespace {

// Counts saturate at INT_MAX instead of overflowing.
int Saturated(long count) { return count > INT_MAX ? INT_MAX : static_cast<int>(count); }

}  // namespace

Sequence HashSampleSearchEngine::ReverseComplementOf(const Sequence& query) {
  Sequence copy;
  copy.mBases = query.mBases;
  copy.ReverseComplement();
  return copy;
}

bool HashSampleSearchEngine::Enter(size_t offset, size_t length, int position, int sourceIdx, int next) {
  int entry = next;
  const bool isNew = mHash.Insert(offset, length, entry);
  if (isNew && static_cast<size_t>(next) == mSampleInfo.size()) mSampleInfo.emplace_back();
  SampleInfo& info = mSampleInfo[entry];
  if (!isNew && info.mPositions.size() >= mMaxHitsPerSample) {
    mDroppedHits = Saturated(mDroppedHits + 1L);
    return false;
  }
  info.mPositions.push_back(position);
  info.mSources.push_back(sourceIdx);
  return isNew;
}

void HashSampleSearchEngine::EnterWindows(const Sequence& source, int sourceIdx, int& next) {
  const std::vector<char> clean = SeqSampler::WindowsWithoutNX(mSampleSize, source);
  if (clean.empty()) return;
  const size_t text = mHash.StoreText(source.mBases.data(), source.mBases.size());
  for (size_t w = 0; w < clean.size(); ++w) {
    const size_t length = clean[w] ? static_cast<size_t>(mSampleSize) : 0;  // N or X: the empty sample
    if (Enter(text + w, length, static_cast<int>(w), sourceIdx, next)) ++next;
  }
}

void HashSampleSearchEngine::Create(const Sequence& source) {
  mQuerySamples = 0;
  if (mHashSize > 0) mHash.Reserve(static_cast<size_t>(mHashSize));
  // At most one new entry per window: reserving them spares the copies of
  // a growing array.
  const long windows = mSampleSize > 0 ? std::max(0L, Length(source) - mSampleSize + 1) : 0;
  mSampleInfo.reserve(mSampleInfo.size() + static_cast<size_t>(windows));
  int next = static_cast<int>(mSampleInfo.size());
  EnterWindows(source, 0, next);
}

void HashSampleSearchEngine::Create(const SequenceVector& sources, int first, int last) {
  if (mHashSize > 0) mHash.Reserve(static_cast<size_t>(mHashSize));
  mQuerySamples = 0;
  // New entries are numbered after any already there, so that a misused
  // second call cannot overwrite entries that older texts point to.
  int next = static_cast<int>(mSampleInfo.size());
  mSampleInfo.resize(mSampleInfo.size() + static_cast<size_t>(sources.TotalBases()));
  first = std::max(first, 0);
  last = std::min(last, static_cast<int>(sources.size()) - 1);
  for (int s = first; s <= last; ++s) EnterWindows(sources[s], s, next);
}

void HashSampleSearchEngine::Add(const Sequence& source, int sourceIdx) {
  mQuerySamples = 0;
  const long length = Length(source);
  if (mSampleSize <= 0 || length == 0) return;
  int next = static_cast<int>(mSampleInfo.size());
  mSampleInfo.resize(mSampleInfo.size() + static_cast<size_t>(length));
  const size_t text = mHash.StoreText(source.mBases.data(), source.mBases.size());
  for (long i = 0;; ++i) {
    const long sampleLength = std::min<long>(mSampleSize, length - i);
    if (Enter(text + i, static_cast<size_t>(sampleLength), static_cast<int>(i), sourceIdx, next)) ++next;
    if ((i + mSampleSize) % 100000 == 0) std::cout << i + mSampleSize << " bp in hash." << std::endl;
    if (i + mSampleSize >= length) break;
  }
}

int HashSampleSearchEngine::SampleStep() const {
  if (mSampleDensity <= 0 || mSampleDensity > 1000) return 0;
  return static_cast<int>(1000.0 / mSampleDensity);
}

long HashSampleSearchEngine::SampleCount(long length) const {
  const int step = SampleStep();
  return step > 0 && mSampleSize > 0 ? length / step : 0;
}

void HashSampleSearchEngine::SampleQuery(const Sequence& query, SequenceVector& samples) const {
  const long length = Length(query);
  const long step = SampleStep();
  const long count = SampleCount(length);
  // Cut into a collection of their own first: the query may be an element
  // of `samples`, which appending can move.
  SequenceVector cut;
  for (long j = 0; j < count; ++j) {
    const long start = j * step;
    cut.AddSubSequence(query, start, std::min(start + mSampleSize, length) - 1);
  }
  samples.insert(samples.end(), std::make_move_iterator(cut.begin()), std::make_move_iterator(cut.end()));
}

int HashSampleSearchEngine::SearchQuery(const Sequence& query, int queryIdx, SampleSearchResultVec& hits) const {
  const long length = Length(query);
  const long step = SampleStep();
  const long count = SampleCount(length);
  for (long j = 0; j < count; ++j) {
    const long start = j * step;
    const long sampleLength = std::min<long>(mSampleSize, length - start);
    AppendHits(query.mBases.data() + start, static_cast<size_t>(sampleLength), queryIdx, static_cast<int>(j),
               static_cast<int>(start), hits);
  }
  return static_cast<int>(count);
}

void HashSampleSearchEngine::AppendHits(const char* sample, size_t length, int queryIdx, int sampleIdx,
                                        int queryLoc, SampleSearchResultVec& hits) const {
  const int entry = mHash.Find(sample, length);
  if (entry < 0) return;
  const SampleInfo& info = mSampleInfo[entry];
  for (size_t t = 0; t < info.mPositions.size(); ++t)
    hits.push_back(SampleSearchResult{info.mSources[t], queryIdx, sampleIdx, queryLoc, info.mPositions[t]});
}

int HashSampleSearchEngine::Search(const SequenceVector& queries, SampleSearchResultVec& hits) {
  long samples = 0;
  for (size_t q = 0; q < queries.size(); ++q) samples += SearchQuery(queries[q], static_cast<int>(q), hits);
  mQuerySamples = Saturated(mQuerySamples + samples);
  return Saturated(samples);
}

int HashSampleSearchEngine::Search(const Sequence& query, SampleSearchResultVec& hits) {
  const int samples = SearchQuery(query, 0, hits);
  mQuerySamples = Saturated(static_cast<long>(mQuerySamples) + samples);
  return samples;
}

int HashSampleSearchEngine::SearchRev(const SequenceVector& queries, SampleSearchResultVec& hits) {
  long samples = 0;
  for (size_t q = 0; q < queries.size(); ++q)
    samples += SearchQuery(ReverseComplementOf(queries[q]), static_cast<int>(q), hits);
  mQuerySamples = Saturated(mQuerySamples + samples);
  return Saturated(samples);
}

int HashSampleSearchEngine::SearchRev(const Sequence& query, SampleSearchResultVec& hits) {
  const int samples = SearchQuery(ReverseComplementOf(query), 0, hits);
  mQuerySamples = Saturated(static_cast<long>(mQuerySamples) + samples);
  return samples;
}

int HashSampleSearchEngine::SearchWithSamples(const SequenceVector& samples, SampleSearchResultVec& hits) {
  const long step = SampleStep();
  mQuerySamples = Saturated(static_cast<long>(samples.size()));
  for (size_t j = 0; j < samples.size(); ++j) {
    const long sampleIdx = static_cast<long>(j);
    AppendHits(samples[j].mBases.data(), samples[j].mBases.size(), 0, Saturated(sampleIdx),
               Saturated(sampleIdx * step), hits);
  }
  return mQuerySamples;
}

void HashSampleSearchEngine::SearchSingle(const Sequence& sample, SampleSearchResultVec& hits) {
  AppendHits(sample.mBases.data(), sample.mBases.size(), 0, 0, 0, hits);
}

}  // namespace ostrel
