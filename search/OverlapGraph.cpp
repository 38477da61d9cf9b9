// The name-keyed overlap graph: adding, looking up and printing edges.
#include "search/OverlapGraph.h"

namespace ostrel {

void OverlapEdge::SetValues(const std::string& name, int len, int score, int leftHang, int rightHang,
                            int orientation) {
  mName = name;
  mLength = len;
  mScore = score;
  mLeftHang = leftHang;
  mRightHang = rightHang;
  mOrientation = orientation;
}

void OverlapGraph::AddEdge(const std::string& from, const std::string& to, int len, int score, int leftHang,
                           int rightHang, int orientation) {
  auto [node, newNode] = mNodeIndex.try_emplace(from, static_cast<int>(mNodes.size()));
  if (newNode) {
    mNodes.emplace_back();
    mNodes.back().mName = from;
  }
  OverlapNode& source = mNodes[node->second];
  auto [edge, newEdge] = source.mEdgeIndex.try_emplace(to, static_cast<int>(source.mEdges.size()));
  if (newEdge) source.mEdges.emplace_back();
  source.mEdges[edge->second].SetValues(to, len, score, leftHang, rightHang, orientation);
}

bool OverlapGraph::KeepBetterEdge(const std::string& from, const std::string& to, int len, int score,
                                  int leftHang, int rightHang, int orientation) {
  const OverlapEdge* edge = FindEdge(from, to);
  if (edge == nullptr || edge->mScore < score) AddEdge(from, to, len, score, leftHang, rightHang, orientation);
  return edge == nullptr;
}

const OverlapEdge* OverlapGraph::FindEdge(const std::string& from, const std::string& to) const {
  const auto node = mNodeIndex.find(from);
  if (node == mNodeIndex.end()) return nullptr;
  const OverlapNode& source = mNodes[node->second];
  const auto edge = source.mEdgeIndex.find(to);
  return edge == source.mEdgeIndex.end() ? nullptr : &source.mEdges[edge->second];
}

bool OverlapGraph::EdgeExists(const std::string& from, const std::string& to) const {
  return FindEdge(from, to) != nullptr;
}

int OverlapGraph::GetScore(const std::string& from, const std::string& to) const {
  const OverlapEdge* edge = FindEdge(from, to);
  return edge == nullptr ? -1 : edge->mScore;
}

void OverlapGraph::Print(std::ostream& out) const {
  for (const OverlapNode& node : mNodes) {
    out << node.mName;
    for (const OverlapEdge& e : node.mEdges) {
      out << '\t' << e.mName << " {" << e.mLength << ',' << e.mScore << ',' << e.mLeftHang << ','
          << e.mRightHang << ',' << e.mOrientation << '}';
    }
    out << '\n';
  }
}

}  // namespace ostrel
