#include "search/TIOverlapGraph.h"

#include <gtest/gtest.h>

#include <vector>

namespace ostrel {
namespace {

Edge To(int ti, int len) {
  Edge e;
  e.SetValues(ti, len, len, 0, 0, 1);
  return e;
}

std::vector<int> Targets(const std::vector<Edge>& edges) {
  std::vector<int> t;
  for (const Edge& e : edges) t.push_back(e.GetTargetId());
  return t;
}

TEST(TIOverlapGraph, EdgesOfATIComeBackInInsertionOrder) {
  TIOverlapGraph g;
  std::vector<Edge*> stored;
  g.AddEdges(7, {To(1, 40), To(2, 80)}, stored);
  ASSERT_EQ(2u, stored.size());
  EXPECT_EQ(&g.mEdges[0], stored[0]);
  EXPECT_EQ(&g.mEdges[1], stored[1]);
  g.AddEdge(3, To(7, 40));
  g.AddEdge(7, To(1, 40));  // a duplicate is kept
  g.AddEdges(7, {To(9, 12)});

  std::vector<Edge> copies;
  g.GetEdges(7, copies);
  EXPECT_EQ((std::vector<int>{1, 2, 1, 9}), Targets(copies));
  std::vector<Edge*> pointers;
  g.GetEdges(7, pointers);
  ASSERT_EQ(4u, pointers.size());
  EXPECT_EQ(&g.mEdges[4], pointers[3]);
  int ti = -1;
  EXPECT_TRUE(g.GetEdgeTI(pointers[1], ti));
  EXPECT_EQ(2, ti);
  EXPECT_FALSE(g.GetEdgeTI(nullptr, ti));

  EXPECT_TRUE(g.Contains(3));
  EXPECT_FALSE(g.Contains(1));  // a target only
  g.GetEdges(1, copies);
  EXPECT_TRUE(copies.empty());
}

}  // namespace
}  // namespace ostrel
