#include "search/OverlapGraph.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ostrel {
namespace {

TEST(OverlapGraph, EdgesAreDirectedAndOverwritten) {
  OverlapGraph g;
  EXPECT_EQ(-1, g.GetScore("a", "b"));
  g.AddEdge("a", "b", 300, 290, -5, 7, 1);
  EXPECT_TRUE(g.EdgeExists("a", "b"));
  EXPECT_FALSE(g.EdgeExists("b", "a"));
  EXPECT_FALSE(g.EdgeExists("a", "c"));
  EXPECT_EQ(290, g.GetScore("a", "b"));
  EXPECT_EQ(-1, g.GetScore("b", "a"));
  g.AddEdge("a", "b", 310, 305, 1, 2, 0);  // the same pair again: values replaced, no second edge
  EXPECT_EQ(305, g.GetScore("a", "b"));
  ASSERT_EQ(1u, g.mNodes.size());
  ASSERT_EQ(1u, g.mNodes[0].mEdges.size());
  EXPECT_EQ(310, g.mNodes[0].mEdges[0].mLength);
  EXPECT_EQ(0, g.mNodes[0].mEdges[0].mOrientation);
}

TEST(OverlapGraph, PrintListsNodesAndEdgesInInsertionOrder) {
  OverlapGraph g;
  g.AddEdge("r1", "r2", 300, 290, -5, 7, 1);
  g.AddEdge("r9", "r1", 100, 90, 0, 0, 0);
  g.AddEdge("r1", "r3", 250, 250, 12, -3, 0);
  g.AddEdge("r0", "r1", 50, 40, 1, 1, 1);
  std::ostringstream out;
  g.Print(out);
  EXPECT_EQ("r1\tr2 {300,290,-5,7,1}\tr3 {250,250,12,-3,0}\n"
            "r9\tr1 {100,90,0,0,0}\n"
            "r0\tr1 {50,40,1,1,1}\n",
            out.str());
}

}  // namespace
}  // namespace ostrel
