// The TI-keyed overlap graph of packed edges; its edge-list reader is in
// search/EdgeListRead.cpp.
#include "search/TIOverlapGraph.h"

namespace ostrel {

void TIOverlapGraph::AddEdge(int ti, const Edge& edge) {
  mTIEdgeIndex.emplace(ti, static_cast<int>(mEdges.size()));
  mEdges.push_back(edge);
}

void TIOverlapGraph::AddEdges(int ti, const std::vector<Edge>& edges) {
  for (const Edge& e : edges) AddEdge(ti, e);
}

void TIOverlapGraph::AddEdges(int ti, const std::vector<Edge>& edges, std::vector<Edge*>& stored) {
  const size_t first = mEdges.size();
  AddEdges(ti, edges);
  stored.clear();
  for (size_t i = first; i < mEdges.size(); ++i) stored.push_back(&mEdges[i]);
}

void TIOverlapGraph::GetEdges(int ti, std::vector<Edge>& edges) const {
  edges.clear();
  const auto [begin, end] = mTIEdgeIndex.equal_range(ti);
  for (auto it = begin; it != end; ++it) edges.push_back(mEdges[it->second]);
}

void TIOverlapGraph::GetEdges(int ti, std::vector<Edge*>& edges) {
  edges.clear();
  const auto [begin, end] = mTIEdgeIndex.equal_range(ti);
  for (auto it = begin; it != end; ++it) edges.push_back(&mEdges[it->second]);
}

bool TIOverlapGraph::Contains(int ti) const { return mTIEdgeIndex.count(ti) != 0; }

bool TIOverlapGraph::GetEdgeTI(const Edge* edge, int& ti) const {
  if (edge == nullptr) return false;
  ti = edge->GetTargetId();
  return true;
}

}  // namespace ostrel
