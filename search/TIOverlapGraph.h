// Overlaps between reads keyed by trace identifier (TI, a non-negative
// integer), each stored as a packed Edge whose target is a TI.
#ifndef OSTREL_SEARCH_TIOVERLAPGRAPH_H
#define OSTREL_SEARCH_TIOVERLAPGRAPH_H

#include <istream>
#include <map>
#include <vector>

#include "search/Edge.h"

namespace ostrel {

class TIOverlapGraph {
public:
  // Source TI -> index in mEdges; edges of one TI keep their insertion order.
  std::multimap<int, int> mTIEdgeIndex;
  std::vector<Edge> mEdges;  // in insertion order

  void AddEdge(int ti, const Edge& edge);
  void AddEdges(int ti, const std::vector<Edge>& edges);
  // The same, and `stored` becomes pointers to the stored copies. They stay
  // valid until the next edge is added to the graph.
  void AddEdges(int ti, const std::vector<Edge>& edges, std::vector<Edge*>& stored);

  // `edges` becomes the edges of ti in insertion order (empty for an unknown
  // TI). Pointers stay valid until the next edge is added.
  void GetEdges(int ti, std::vector<Edge>& edges) const;
  void GetEdges(int ti, std::vector<Edge*>& edges);

  bool Contains(int ti) const;  // ti has at least one edge
  // ti = the edge's target; false only for a null edge.
  bool GetEdgeTI(const Edge* edge, int& ti) const;

  // Reads an edge list (search/EdgeListRead.cpp): per line a source TI, then
  // groups of target TI, length, score, left hang, right hang and one
  // orientation character ('f' same strand, anything else opposite), each
  // separated by one character, e.g. "17 42 500 480 -12 30 f 43 300 300 0 0 r".
  // A line without a source TI is skipped; a group that lacks a value or its
  // orientation character ends its line.
  void Read(std::istream& in);
};

}  // namespace ostrel

#endif
