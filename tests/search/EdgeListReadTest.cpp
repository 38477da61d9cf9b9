#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "search/MixedOverlapGraph.h"
#include "search/TIOverlapGraph.h"

namespace ostrel {
namespace {

// target len score left right orientation, each edge of `ti` in order.
std::string EdgesOf(TIOverlapGraph& g, int ti) {
  std::vector<Edge*> edges;
  g.GetEdges(ti, edges);
  std::string text;
  for (const Edge* e : edges) {
    int v[6];
    e->GetValues(v[0], v[1], v[2], v[3], v[4], v[5]);
    for (int x : v) text += std::to_string(x) + ' ';
    text += '|';
  }
  return text;
}

TEST(EdgeListRead, TIListReadsGroupsUpToTheLinesEnd) {
  TIOverlapGraph g;
  std::istringstream in(
      "17 42 500 480 -12 30 f 43 300 300 0 0 r\n"
      "\n"
      "no number here\n"
      "5 6 7\n"                            // a group without all its values
      "9 42 500 480 -12 32\n"              // no orientation character
      "9 44 100 100 8 8 \n"                // one blank but no character after it
      "8 1 40 40 4 4 f 2 80 80 8\n"        // the second group is short
      "3 99999999999 8 8 0 0 f 4 8 8 0 0 F\n"  // an identifier out of range is left out
      "12 13 16 12 4 -4 f");               // no newline at the end
  test::CaptureStderr err;
  g.Read(in);
  EXPECT_EQ("Edge ERROR: identifier 2147483647 outside 0 .. 134217727, edge left unchanged\n", err.Text());
  EXPECT_EQ("42 500 480 -12 28 1 |43 300 300 0 0 0 |", EdgesOf(g, 17));
  EXPECT_EQ("1 40 40 4 4 1 |", EdgesOf(g, 8));
  EXPECT_EQ("4 8 8 0 0 0 |", EdgesOf(g, 3));
  EXPECT_EQ("13 16 12 4 -4 1 |", EdgesOf(g, 12));
  EXPECT_FALSE(g.Contains(5));
  EXPECT_FALSE(g.Contains(9));
  EXPECT_EQ(5u, g.mEdges.size());
}

TEST(EdgeListRead, NamedListStoresHangsFromTheTargetAndAddsInverses) {
  MixedOverlapGraph g;
  std::istringstream in(
      "readA 900 500 480 12 32 f 7 901 300 296 8 -20 r 3\n"
      "  \t\n"
      "readB 900 200 200 4 4 f\n"          // no unused integer: the group is kept
      "readC 902 200 200 4\n"              // a short group: the name still gets an identifier
      "readD 903 200 200 4 4");            // no orientation character
  g.ReadName2TIPlusInverse(in);
  std::vector<std::string> names;
  g.GetNames(names);
  EXPECT_EQ((std::vector<std::string>{"readA", "readB", "readC", "readD"}), names);

  auto values = [&](const Edge* e) {
    int v[6];
    e->GetValues(v[0], v[1], v[2], v[3], v[4], v[5]);
    std::string target;
    int ti = 0;
    if (!g.GetEdgeName(e, target) && g.GetEdgeTI(e, ti)) target = std::to_string(ti);
    std::string text = target;
    for (int i = 1; i < 6; ++i) text += ' ' + std::to_string(v[i]);
    return text;
  };
  std::vector<Edge*> edges;
  g.GetTIEdges("readA", edges);
  ASSERT_EQ(2u, edges.size());
  EXPECT_EQ("900 500 480 -12 -32 1", values(edges[0]));  // same strand: both negated
  EXPECT_EQ("901 300 296 20 -8 0", values(edges[1]));    // opposite: swapped and negated
  // The inverses give back the hangs as the list wrote them.
  g.GetNodeEdges(900, edges);
  ASSERT_EQ(2u, edges.size());
  EXPECT_EQ("readA 500 480 12 32 1", values(edges[0]));
  EXPECT_EQ("readB 200 200 4 4 1", values(edges[1]));
  g.GetNodeEdges(901, edges);
  ASSERT_EQ(1u, edges.size());
  EXPECT_EQ("readA 300 296 8 -20 0", values(edges[0]));
  EXPECT_EQ(0u, g.mTI2Id.count(902));
  EXPECT_EQ(0u, g.mTI2Id.count(903));
}

}  // namespace
}  // namespace ostrel
