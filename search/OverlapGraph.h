// Overlaps between reads keyed by read name, with full-width values: the
// graph the overlapper fills. Nodes are source reads, edges directed
// overlaps to a target read.
#ifndef OSTREL_SEARCH_OVERLAPGRAPH_H
#define OSTREL_SEARCH_OVERLAPGRAPH_H

#include <ostream>
#include <string>
#include <vector>

#include "util/Hash.h"

namespace ostrel {

// One overlap from a node's read to the target read mName.
struct OverlapEdge {
  std::string mName;  // target read
  int mLength = 0;    // overlap length in bases
  int mScore = 0;     // alignment score, at most mLength
  int mLeftHang = 0;
  int mRightHang = 0;
  int mOrientation = 0;  // 1: same strand, 0: opposite strands

  void SetValues(const std::string& name, int len, int score, int leftHang, int rightHang, int orientation);
};

// A source read with its edges in insertion order.
struct OverlapNode {
  std::string mName;            // the source read
  std::vector<OverlapEdge> mEdges;
  String2IntMap mEdgeIndex;     // target name -> index in mEdges
};

class OverlapGraph {
public:
  std::vector<OverlapNode> mNodes;  // in the order sources were first added
  String2IntMap mNodeIndex;         // source name -> index in mNodes

  // Adds the directed edge from -> to, or overwrites every value of an
  // existing one (the caller decides which overlap of a pair is kept). No
  // inverse edge is added.
  void AddEdge(const std::string& from, const std::string& to, int len, int score, int leftHang, int rightHang,
               int orientation);
  // The overlapper's rule for a pair met more than once: adds the edge when
  // the pair has none, overwrites it when its score is below `score`, and
  // otherwise leaves it. True when the edge is new.
  bool KeepBetterEdge(const std::string& from, const std::string& to, int len, int score, int leftHang,
                      int rightHang, int orientation);
  bool EdgeExists(const std::string& from, const std::string& to) const;
  // The score of the from -> to edge; -1 when there is none.
  int GetScore(const std::string& from, const std::string& to) const;
  // One line per node in mNodes order: the name, then per edge in insertion
  // order a tab and "target {len,score,leftHang,rightHang,orientation}".
  void Print(std::ostream& out) const;

private:
  const OverlapEdge* FindEdge(const std::string& from, const std::string& to) const;
};

}  // namespace ostrel

#endif
