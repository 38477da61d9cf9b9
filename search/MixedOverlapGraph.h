// Overlaps between reads known by name and reads known by trace identifier
// (TI), in packed edges. Names and TIs share one space of internal
// identifiers, given out from mNextId in the order they are first met; a
// stored edge's source and target are such identifiers, until GetTIEdges
// turns a target into its TI.
#ifndef OSTREL_SEARCH_MIXEDOVERLAPGRAPH_H
#define OSTREL_SEARCH_MIXEDOVERLAPGRAPH_H

#include <istream>
#include <map>
#include <string>
#include <vector>

#include "search/Edge.h"
#include "util/Hash.h"

namespace ostrel {

class MixedOverlapGraph {
public:
  int mNextId = 0;  // next free identifier
  // Source identifier -> index in mEdges; one source's edges keep their
  // insertion order.
  std::multimap<int, int> mIdEdgeIndex;
  std::vector<Edge> mEdges;  // in insertion order
  // mTargetIsTI[i]: GetTIEdges has already turned mEdges[i]'s target from an
  // identifier into its TI.
  std::vector<bool> mTargetIsTI;
  String2IntMap mName2Id;
  std::map<int, std::string> mId2Name;  // ordered, so names list in the order they were added
  Int2IntMap mTI2Id;
  Int2IntMap mId2TI;

  // Adds the edges of the read `name`, whose targets are TIs: targets not
  // yet known get identifiers first, in edge order, then a new name. Each
  // edge's target in the caller's vector becomes its target's identifier, so
  // the vector is not to be added a second time. An edge whose identifier
  // needs more than 27 bits is reported by Edge and left out.
  void AddEdges(const std::string& name, std::vector<Edge>& edges);
  // As AddEdges, and for each edge the inverse from the target to the read:
  // same length, score, orientation and auxiliary count, hangs as seen from
  // the target (same strand, both negated; opposite strands, swapped and
  // negated).
  void AddEdgesAndInverse(const std::string& name, std::vector<Edge>& edges);

  // Reads a named edge list (search/EdgeListRead.cpp): per line a read name,
  // then groups of target TI, length, score, first hang, second hang, one
  // orientation character ('f' same strand) and one unused integer, each
  // separated by one character. Hangs are stored as seen from the target
  // and every line goes to AddEdgesAndInverse. A line without a name is
  // skipped; a group that lacks a value or its orientation character ends
  // its line.
  void ReadName2TIPlusInverse(std::istream& in);

  // The TI or name of the edge's target identifier; false when it has none.
  // A stored edge that GetTIEdges has converted is recognised by its address
  // and read as a TI; any other edge's target is read as an identifier.
  bool GetEdgeTI(const Edge* edge, int& ti) const;
  bool GetEdgeName(const Edge* edge, std::string& name) const;
  bool GetEdgeName(const Edge& edge, std::string& name) const;

  // `edges` becomes the edges whose source is the identifier of ti (empty
  // when ti has none). Pointers stay valid until the next edge is added.
  void GetNodeEdges(int ti, std::vector<Edge*>& edges);
  void GetNodeEdges(int ti, std::vector<Edge>& edges) const;
  // `edges` becomes the edges whose source is the identifier of name, their
  // stored targets first turned from identifiers into TIs. Each stored edge
  // is converted once, so later calls hand out the same targets.
  void GetTIEdges(const std::string& name, std::vector<Edge*>& edges);
  void GetTIEdges(const std::string& name, std::vector<Edge>& edges);

  // Walks `edges` in order for the first whose target has a name that,
  // stripped of white space, is in `targets` and differs from the stripped
  // `name`: `index` becomes its position and the result is true.
  bool NameInTargetSet(const std::vector<Edge*>& edges, const StringSet& targets, const std::string& name,
                       int& index) const;

  // Appends every known read name in the order the names were added.
  void GetNames(std::vector<std::string>& names) const;

private:
  int IdOfTI(int ti);
  int IdOfName(const std::string& name);
  // Stores an edge whose source is `id` and whose target is an identifier.
  void Append(int id, const Edge& edge);
  // Index of a pointer into mEdges, or -1 when it points elsewhere.
  long StoredIndex(const Edge* edge) const;
  void CollectEdges(int id, std::vector<Edge*>& edges);
  // The identifier the edge's target stands for; false when unknown.
  bool TargetId(const Edge* edge, int& id) const;
};

}  // namespace ostrel

#endif
