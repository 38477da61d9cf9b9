#include "search/MixedOverlapGraph.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ostrel {
namespace {

Edge To(int ti, int len, int left, int right, int orientation, int aux = 0) {
  Edge e;
  e.SetValues(ti, len, len - 4, left, right, orientation, aux);
  return e;
}

// An edge as the graph describes it: its target's name (or TI), length,
// score, left hang, right hang, orientation and auxiliary count.
std::string Describe(const MixedOverlapGraph& g, const Edge* e) {
  int v[7];
  e->GetValues(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
  std::string text;
  int ti = 0;
  if (!g.GetEdgeName(e, text) && g.GetEdgeTI(e, ti)) text = std::to_string(ti);
  for (int i = 1; i < 7; ++i) text += ' ' + std::to_string(v[i]);
  return text;
}

std::vector<std::string> Describe(const MixedOverlapGraph& g, const std::vector<Edge*>& edges) {
  std::vector<std::string> seen;
  for (const Edge* e : edges) seen.push_back(Describe(g, e));
  return seen;
}

TEST(MixedOverlapGraph, NamesAndTIsShareIdentifiersInTheOrderMet) {
  MixedOverlapGraph g;
  std::vector<Edge> edges{To(900, 400, 0, 0, 1), To(901, 400, 0, 0, 1)};
  g.AddEdges("readA", edges);
  EXPECT_EQ(0, g.mTI2Id.at(900));
  EXPECT_EQ(1, g.mTI2Id.at(901));
  EXPECT_EQ(2, g.mName2Id.at("readA"));
  EXPECT_EQ(0, edges[0].GetTargetId());  // the caller's edges now hold identifiers
  EXPECT_EQ(1, edges[1].GetTargetId());
  std::vector<Edge> more{To(901, 40, 0, 0, 0), To(902, 40, 0, 0, 0)};
  g.AddEdges("readB", more);
  std::vector<Edge> again{To(902, 40, 0, 0, 0)};
  g.AddEdges("readA", again);  // known target and name: no new identifier
  EXPECT_EQ(5, g.mNextId);
  EXPECT_EQ(3, g.mTI2Id.at(902));
  EXPECT_EQ(4, g.mName2Id.at("readB"));
  std::vector<std::string> names{"kept"};
  g.GetNames(names);
  EXPECT_EQ((std::vector<std::string>{"kept", "readA", "readB"}), names);
}

TEST(MixedOverlapGraph, InverseEdgesTakeTheTargetsPointOfView) {
  MixedOverlapGraph g;
  std::vector<Edge> edges{To(900, 400, -12, 32, 1, 3), To(901, 300, 8, -20, 0, 4)};
  g.AddEdgesAndInverse("readA", edges);
  std::vector<Edge*> found;
  g.GetNodeEdges(900, found);
  // Same strand: both hangs negated.
  EXPECT_EQ((std::vector<std::string>{"readA 400 396 12 -32 1 3"}), Describe(g, found));
  g.GetNodeEdges(901, found);
  // Opposite strands: swapped and negated.
  EXPECT_EQ((std::vector<std::string>{"readA 300 296 20 -8 0 4"}), Describe(g, found));
  std::vector<Edge> copies;
  g.GetNodeEdges(901, copies);
  ASSERT_EQ(1u, copies.size());
  EXPECT_EQ(found[0]->mWords[1], copies[0].mWords[1]);

  g.GetNodeEdges(12345, found);  // unknown: nothing, and no identifier given
  EXPECT_TRUE(found.empty());
  EXPECT_EQ(0u, g.mTI2Id.count(12345));
}

TEST(MixedOverlapGraph, GetTIEdgesConvertsTargetsOnce) {
  MixedOverlapGraph g;
  // Identifiers 0 and 1 go to the TIs, 2 to the read: the TIs 1 and 0 are
  // also identifiers, so a second conversion would swap the targets.
  std::vector<Edge> edges{To(1, 400, 0, 0, 1), To(0, 400, 0, 0, 1)};
  g.AddEdgesAndInverse("readA", edges);
  const std::vector<std::string> want{"1 400 396 0 0 1 0", "0 400 396 0 0 1 0"};
  for (int call = 0; call < 2; ++call) {
    std::vector<Edge*> found;
    g.GetTIEdges("readA", found);
    ASSERT_EQ(2u, found.size());
    EXPECT_EQ(1, found[0]->GetTargetId()) << call;
    EXPECT_EQ(0, found[1]->GetTargetId()) << call;
    EXPECT_EQ(want, Describe(g, found)) << call;
  }
  std::vector<Edge> copies;
  g.GetTIEdges("readA", copies);
  ASSERT_EQ(2u, copies.size());
  EXPECT_EQ(1, copies[0].GetTargetId());
  std::vector<Edge*> inverse;  // the inverse edges still point at the read
  g.GetNodeEdges(1, inverse);
  EXPECT_EQ("readA 400 396 0 0 1 0", Describe(g, inverse.at(0)));
  g.GetTIEdges("nobody", copies);
  EXPECT_TRUE(copies.empty());
  EXPECT_EQ(0u, g.mName2Id.count("nobody"));
}

TEST(MixedOverlapGraph, NameInTargetSetSkipsTheReadItself) {
  MixedOverlapGraph g;
  for (const char* name : {"readA", "readB", "readC"}) {
    std::vector<Edge> edges{To(900, 100, 0, 0, 1)};
    g.AddEdgesAndInverse(name, edges);
  }
  std::vector<Edge*> fromTI;  // to readA, readB, readC
  g.GetNodeEdges(900, fromTI);
  fromTI.insert(fromTI.begin(), nullptr);
  const StringSet targets{"readA", "readC"};
  int index = -1;
  EXPECT_TRUE(g.NameInTargetSet(fromTI, targets, " read\tA\n", index));
  EXPECT_EQ(3, index);
  EXPECT_TRUE(g.NameInTargetSet(fromTI, targets, "readB", index));
  EXPECT_EQ(1, index);
  std::vector<Edge*> toTI;  // a TI target has no name
  g.GetTIEdges("readA", toTI);
  EXPECT_FALSE(g.NameInTargetSet(toTI, StringSet{"900"}, "readB", index));
  EXPECT_FALSE(g.NameInTargetSet(fromTI, StringSet{"readD"}, "readB", index));
}

}  // namespace
}  // namespace ostrel
