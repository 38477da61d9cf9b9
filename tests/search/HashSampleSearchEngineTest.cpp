#include "search/HashSampleSearchEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace ostrel {
namespace {

using test::BasesOf;
using test::CaptureStdout;
using test::MakeSequence;

// (source, position) of every hit, in order.
std::vector<std::pair<int, int>> Places(const SampleSearchResultVec& hits) {
  std::vector<std::pair<int, int>> places;
  for (const SampleSearchResult& h : hits) places.emplace_back(h.mSourceIdx, h.mSourceLoc);
  return places;
}

std::vector<std::pair<int, int>> Lookup(HashSampleSearchEngine& engine, const std::string& sample) {
  SampleSearchResultVec hits;
  engine.SearchSingle(MakeSequence(sample), hits);
  return Places(hits);
}

using PlaceList = std::vector<std::pair<int, int>>;

TEST(HashSampleSearchEngine, AddEntersEveryWindowInOrder) {
  HashSampleSearchEngine engine(3, 1000, 10, 100);
  engine.Add(MakeSequence("ACGTACG"), 0);
  EXPECT_EQ((PlaceList{{0, 0}, {0, 4}}), Lookup(engine, "ACG"));
  EXPECT_EQ((PlaceList{{0, 1}}), Lookup(engine, "CGT"));
  EXPECT_EQ((PlaceList{{0, 3}}), Lookup(engine, "TAC"));
  EXPECT_EQ(PlaceList{}, Lookup(engine, "acg"));  // case counts
  EXPECT_EQ(7u, engine.mSampleInfo.size());       // room for one new text per base
  EXPECT_EQ(4u, engine.mHash.Size());
  EXPECT_EQ(0, engine.mDroppedHits);

  engine.Add(MakeSequence("TTACGNA"), 5);  // windows are taken as they are
  EXPECT_EQ((PlaceList{{0, 0}, {0, 4}, {5, 2}}), Lookup(engine, "ACG"));
  EXPECT_EQ((PlaceList{{5, 4}}), Lookup(engine, "GNA"));
  EXPECT_EQ(14u, engine.mSampleInfo.size());
}

TEST(HashSampleSearchEngine, OccurrenceCapCountsDroppedHits) {
  HashSampleSearchEngine engine(3, 1000, 1, 100);
  engine.Add(MakeSequence("ACGTACG"), 0);
  EXPECT_EQ((PlaceList{{0, 0}}), Lookup(engine, "ACG"));
  EXPECT_EQ(1, engine.mDroppedHits);
  engine.Add(MakeSequence("ACGACG"), 1);
  EXPECT_EQ((PlaceList{{0, 0}}), Lookup(engine, "ACG"));
  EXPECT_EQ((PlaceList{{1, 1}}), Lookup(engine, "CGA"));
  EXPECT_EQ(3, engine.mDroppedHits);  // never reset
}

TEST(HashSampleSearchEngine, AddShortOrEmptySourcesAndNoSampleSize) {
  HashSampleSearchEngine engine(5, 1000, 10, 0);
  engine.Add(MakeSequence("ACG"), 2);
  EXPECT_EQ((PlaceList{{2, 0}}), Lookup(engine, "ACG"));
  engine.Add(MakeSequence(""), 3);
  engine.Create(MakeSequence(""));
  engine.Create(MakeSequence("ACGT"));  // shorter than k: no window
  EXPECT_EQ(3u, engine.mSampleInfo.size());
  EXPECT_EQ(1u, engine.mHash.Size());
  EXPECT_EQ(PlaceList{}, Lookup(engine, ""));
  SampleSearchResultVec hits;
  EXPECT_EQ(0, engine.Search(MakeSequence(""), hits));
  EXPECT_EQ(0, engine.SearchRev(MakeSequence(""), hits));
  EXPECT_TRUE(hits.empty());
  for (int k : {0, -4}) {
    HashSampleSearchEngine none(k, 1000, 10, 0);
    none.Add(MakeSequence("ACGT"), 0);
    none.Create(MakeSequence("ACGT"));
    EXPECT_EQ(0u, none.mHash.Size()) << k;
    SampleSearchResultVec hits;
    EXPECT_EQ(0, none.Search(MakeSequence("ACGT"), hits));
    EXPECT_TRUE(hits.empty());
  }
}

TEST(HashSampleSearchEngine, AddReportsEveryHundredThousandBases) {
  HashSampleSearchEngine engine(16, 100, 10, 0);
  std::string bases;
  for (int i = 0; i < 200000; ++i) bases += "ACGGT"[i % 5];
  CaptureStdout captured;
  engine.Add(MakeSequence(bases.substr(0, 150000)), 0);
  EXPECT_EQ("100000 bp in hash.\n", captured.Text());
  engine.Add(MakeSequence(bases.substr(0, 99999)), 1);
  EXPECT_EQ("100000 bp in hash.\n", captured.Text());
  engine.Add(MakeSequence(bases), 2);
  EXPECT_EQ("100000 bp in hash.\n100000 bp in hash.\n200000 bp in hash.\n", captured.Text());
}

TEST(HashSampleSearchEngine, CreateEntersWindowsWithNOrXAsTheEmptySample) {
  HashSampleSearchEngine engine(3, 1000, 10, 50);
  engine.Create(MakeSequence("ACNTTACGx"));
  EXPECT_EQ((PlaceList{{0, 0}, {0, 1}, {0, 2}, {0, 6}}), Lookup(engine, ""));
  EXPECT_EQ((PlaceList{{0, 3}}), Lookup(engine, "TTA"));
  EXPECT_EQ((PlaceList{{0, 5}}), Lookup(engine, "ACG"));
  EXPECT_EQ(PlaceList{}, Lookup(engine, "ACN"));
  EXPECT_EQ(4u, engine.mSampleInfo.size());  // one entry per distinct text
  EXPECT_EQ(4u, engine.mSampleInfo[0].mPositions.size());
}

TEST(HashSampleSearchEngine, CreateFromCollectionNumbersSourcesByPosition) {
  SequenceVector sources;
  for (const char* s : {"ACGT", "GGGG", "TACGA"}) sources.push_back(MakeSequence(s));
  HashSampleSearchEngine engine(3, 1000, 10, 50);
  engine.Create(sources, 1, 2);
  EXPECT_EQ((PlaceList{{2, 1}}), Lookup(engine, "ACG"));
  EXPECT_EQ((PlaceList{{1, 0}, {1, 1}}), Lookup(engine, "GGG"));
  EXPECT_EQ(13u, engine.mSampleInfo.size());

  HashSampleSearchEngine all(3, 1000, 10, 50);
  all.Create(sources, -5, 99);  // clamped to the collection
  EXPECT_EQ((PlaceList{{0, 0}, {2, 1}}), Lookup(all, "ACG"));
  HashSampleSearchEngine none(3, 1000, 10, 50);
  none.Create(sources, 2, 1);
  EXPECT_EQ(0u, none.mHash.Size());
}

TEST(HashSampleSearchEngine, QuerySpacingAndCutSamples) {
  HashSampleSearchEngine engine(16, 100, 10, 0);
  std::string bases;
  for (int i = 0; i < 95; ++i) bases += "ACGT"[i % 4];
  const Sequence query = MakeSequence(bases, "q", "d");
  SequenceVector samples;
  engine.SampleQuery(query, samples);
  ASSERT_EQ(9u, samples.size());
  EXPECT_EQ(10, engine.SampleStep());
  EXPECT_EQ("d[0,15]", samples[0].mDescription);
  EXPECT_EQ("d[70,85]", samples[7].mDescription);
  EXPECT_EQ("d[80,94]", samples[8].mDescription);  // cut at the end of the query
  EXPECT_EQ(bases.substr(80), BasesOf(samples[8]));

  engine.mSampleDensity = 3;
  EXPECT_EQ(333, engine.SampleStep());
  for (int density : {0, -10, 1001}) {
    engine.mSampleDensity = density;
    samples.clear();
    engine.SampleQuery(query, samples);
    EXPECT_EQ(0, engine.SampleStep()) << density;
    EXPECT_TRUE(samples.empty()) << density;
  }
  engine.mSampleDensity = 1000;
  engine.SampleQuery(MakeSequence(""), samples);
  EXPECT_TRUE(samples.empty());
}

TEST(HashSampleSearchEngine, SampleQueryIntoTheQuerysOwnCollection) {
  HashSampleSearchEngine engine(4, 500, 10, 0);  // spacing 2
  SequenceVector samples;
  samples.push_back(MakeSequence("ACGTTGCAAC", "q"));
  engine.SampleQuery(samples[0], samples);  // appending may move the query
  EXPECT_EQ((std::vector<std::string>{"ACGTTGCAAC", "ACGT", "GTTG", "TGCA", "CAAC", "AC"}),
            [&] {
              std::vector<std::string> bases;
              for (const Sequence& s : samples) bases.push_back(BasesOf(s));
              return bases;
            }());
}

TEST(HashSampleSearchEngine, SearchFillsEveryFieldAndCountsSamples) {
  HashSampleSearchEngine engine(4, 500, 10, 100);  // spacing 2
  engine.Add(MakeSequence("TTGACCATGACC"), 7);
  SequenceVector queries;
  queries.push_back(MakeSequence("GACCAT"));
  queries.push_back(MakeSequence("CCCCC"));
  queries.push_back(MakeSequence("AAGACC"));
  SampleSearchResultVec hits;
  EXPECT_EQ(3 + 2 + 3, engine.Search(queries, hits));
  EXPECT_EQ(8, engine.mQuerySamples);
  ASSERT_EQ(5u, hits.size());
  const int expected[5][5] = {
      {7, 0, 0, 0, 2}, {7, 0, 0, 0, 8}, {7, 0, 1, 2, 4}, {7, 2, 1, 2, 2}, {7, 2, 1, 2, 8}};
  for (int i = 0; i < 5; ++i) {
    const SampleSearchResult& h = hits[i];
    EXPECT_EQ((std::vector<int>(expected[i], expected[i] + 5)),
              (std::vector<int>{h.mSourceIdx, h.mQueryIdx, h.mSampleIdx, h.mQueryLoc, h.mSourceLoc}))
        << i;
  }
  EXPECT_EQ(3, engine.Search(queries[0], hits));  // appends
  EXPECT_EQ(8u, hits.size());
  EXPECT_EQ(11, engine.mQuerySamples);
  engine.Add(MakeSequence("A"), 8);
  EXPECT_EQ(0, engine.mQuerySamples);
}

TEST(HashSampleSearchEngine, ReverseSearchUsesTheReverseComplementedQuery) {
  HashSampleSearchEngine engine(4, 250, 10, 100);  // spacing 4
  engine.Add(MakeSequence("AACCGGTTTGCA"), 0);
  const Sequence query = MakeSequence("TGCAAACCGGTT", "q");  // reverse complement of the source
  SampleSearchResultVec hits;
  EXPECT_EQ(3, engine.SearchRev(query, hits));
  EXPECT_EQ("TGCAAACCGGTT", BasesOf(query));
  ASSERT_EQ(3u, hits.size());
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(j, hits[j].mSampleIdx);
    EXPECT_EQ(4 * j, hits[j].mQueryLoc);
    EXPECT_EQ(4 * j, hits[j].mSourceLoc);
  }
  SequenceVector queries;
  queries.push_back(MakeSequence("CCCCCCCC"));
  queries.push_back(query);
  hits.clear();
  EXPECT_EQ(5, engine.SearchRev(queries, hits));
  EXPECT_EQ(3u, hits.size());
  EXPECT_EQ(1, hits[0].mQueryIdx);
  hits.clear();
  engine.Search(query, hits);  // forward, the same samples sit elsewhere
  EXPECT_EQ((PlaceList{{0, 8}, {0, 0}, {0, 4}}), Places(hits));
}

TEST(HashSampleSearchEngine, ReadyMadeSamples) {
  HashSampleSearchEngine engine(3, 250, 10, 100);
  engine.Add(MakeSequence("ACGACGTT"), 4);
  SequenceVector samples;
  for (const char* s : {"GTT", "TTT", "ACG"}) samples.push_back(MakeSequence(s));
  SampleSearchResultVec hits;
  engine.mQuerySamples = 50;
  EXPECT_EQ(3, engine.SearchWithSamples(samples, hits));
  EXPECT_EQ(3, engine.mQuerySamples);  // overwritten, not added to
  ASSERT_EQ(3u, hits.size());
  EXPECT_EQ((std::vector<int>{0, 0, 5}), (std::vector<int>{hits[0].mQueryIdx, hits[0].mSampleIdx, hits[0].mSourceLoc}));
  EXPECT_EQ((std::vector<int>{2, 8, 0}), (std::vector<int>{hits[1].mSampleIdx, hits[1].mQueryLoc, hits[1].mSourceLoc}));
  EXPECT_EQ(3, hits[2].mSourceLoc);
}

TEST(HashSampleSearchEngine, CutQuerySamplesOnlyMatchEqualText) {
  HashSampleSearchEngine engine(5, 1000, 10, 100);  // spacing 1
  engine.Add(MakeSequence("CG"), 1);                 // shorter than k: the sample "CG"
  engine.Add(MakeSequence("ACGTTACG"), 0);
  SampleSearchResultVec hits;
  // Samples TTACG, TACGC, ACGCG, then the cut CGCG, GCG, CG and G.
  EXPECT_EQ(7, engine.Search(MakeSequence("TTACGCG"), hits));
  ASSERT_EQ(2u, hits.size());
  EXPECT_EQ((PlaceList{{0, 3}, {1, 0}}), Places(hits));
  EXPECT_EQ(0, hits[0].mQueryLoc);
  EXPECT_EQ(5, hits[1].mQueryLoc);
}

}  // namespace
}  // namespace ostrel
