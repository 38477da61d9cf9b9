#include "search/SampleSearchResult.h"

#include <gtest/gtest.h>

#include <vector>

namespace ostrel {
namespace {

// Hits told apart by mSampleIdx, which no sort looks at.
SampleSearchResultVec Hits(const std::vector<std::pair<int, int>>& sourceAndLoc) {
  SampleSearchResultVec hits;
  int order = 0;
  for (const auto& [source, loc] : sourceAndLoc) hits.push_back(SampleSearchResult{source, 0, order++, 0, loc});
  return hits;
}

std::vector<int> Order(const SampleSearchResultVec& hits) {
  std::vector<int> order;
  for (const SampleSearchResult& h : hits) order.push_back(h.mSampleIdx);
  return order;
}

TEST(SampleSearchResultVec, SortBySourceLocKeepsSearchOrderAmongEquals) {
  // Enough equal keys that an unstable sort would be likely to mix them.
  std::vector<std::pair<int, int>> places;
  for (int i = 0; i < 40; ++i) places.emplace_back(i % 3, (i * 7) % 4);
  SampleSearchResultVec hits = Hits(places);
  hits.SortBySourceLoc();
  for (size_t i = 1; i < hits.size(); ++i) {
    ASSERT_LE(hits[i - 1].mSourceLoc, hits[i].mSourceLoc);
    if (hits[i - 1].mSourceLoc == hits[i].mSourceLoc) {
      EXPECT_LT(hits[i - 1].mSampleIdx, hits[i].mSampleIdx);
    }
  }
  SampleSearchResultVec three = Hits({{2, 50}, {0, 10}, {1, 50}, {0, 10}});
  three.SortBySourceLoc();
  EXPECT_EQ((std::vector<int>{1, 3, 0, 2}), Order(three));
}

TEST(SampleSearchResultVec, SortBySourceIdxKeepsSearchOrderAmongEquals) {
  SampleSearchResultVec hits = Hits({{3, 9}, {1, 8}, {3, 1}, {1, 2}, {0, 5}, {3, 0}});
  hits.SortBySourceIdx();
  EXPECT_EQ((std::vector<int>{4, 1, 3, 0, 2, 5}), Order(hits));
  hits.SortBySourceLoc();  // a second sort keeps the first one among equal locations
  EXPECT_EQ((std::vector<int>{5, 2, 3, 4, 1, 0}), Order(hits));
}

}  // namespace
}  // namespace ostrel
