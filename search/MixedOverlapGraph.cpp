// The mixed graph of named and TI-keyed reads: identifiers, adding edges
// with their inverses, and the queries. Its reader is in
// search/EdgeListRead.cpp.
#include "search/MixedOverlapGraph.h"

#include <functional>

#include "util/LineScan.h"

namespace ostrel {

int MixedOverlapGraph::IdOfTI(int ti) {
  const auto [it, added] = mTI2Id.try_emplace(ti, mNextId);
  if (added) mId2TI[mNextId++] = ti;
  return it->second;
}

int MixedOverlapGraph::IdOfName(const std::string& name) {
  const auto [it, added] = mName2Id.try_emplace(name, mNextId);
  if (added) mId2Name[mNextId++] = name;
  return it->second;
}

void MixedOverlapGraph::Append(int id, const Edge& edge) {
  mIdEdgeIndex.emplace(id, static_cast<int>(mEdges.size()));
  mEdges.push_back(edge);
  mTargetIsTI.push_back(false);
}

void MixedOverlapGraph::AddEdges(const std::string& name, std::vector<Edge>& edges) {
  std::vector<int> targets;
  targets.reserve(edges.size());
  for (const Edge& e : edges) targets.push_back(IdOfTI(e.GetTargetId()));
  const int id = IdOfName(name);
  for (size_t i = 0; i < edges.size(); ++i) {
    // An identifier past the 27 bits of a packed target cannot be stored;
    // SetTargetId reports it and the edge is left out.
    if (edges[i].SetTargetId(targets[i])) Append(id, edges[i]);
  }
}

void MixedOverlapGraph::AddEdgesAndInverse(const std::string& name, std::vector<Edge>& edges) {
  const size_t first = mEdges.size();
  AddEdges(name, edges);
  const int id = mName2Id.at(name);
  const size_t last = mEdges.size();
  for (size_t i = first; i < last; ++i) {
    Edge inverse = mEdges[i];
    const int source = inverse.GetTargetId();
    if (!inverse.SetTargetId(id)) continue;
    inverse.InvertHangs();
    Append(source, inverse);
  }
}

long MixedOverlapGraph::StoredIndex(const Edge* edge) const {
  const std::less<const Edge*> before;
  if (edge == nullptr || mEdges.empty() || before(edge, mEdges.data()) || !before(edge, mEdges.data() + mEdges.size()))
    return -1;
  return static_cast<long>(edge - mEdges.data());
}

bool MixedOverlapGraph::TargetId(const Edge* edge, int& id) const {
  if (edge == nullptr) return false;
  const long stored = StoredIndex(edge);
  const size_t i = static_cast<size_t>(stored);
  if (stored >= 0 && i < mTargetIsTI.size() && mTargetIsTI[i]) {
    const auto it = mTI2Id.find(edge->GetTargetId());
    if (it == mTI2Id.end()) return false;
    id = it->second;
    return true;
  }
  id = edge->GetTargetId();
  return true;
}

bool MixedOverlapGraph::GetEdgeTI(const Edge* edge, int& ti) const {
  int id = 0;
  if (!TargetId(edge, id)) return false;
  const auto it = mId2TI.find(id);
  if (it == mId2TI.end()) return false;
  ti = it->second;
  return true;
}

bool MixedOverlapGraph::GetEdgeName(const Edge* edge, std::string& name) const {
  int id = 0;
  if (!TargetId(edge, id)) return false;
  const auto it = mId2Name.find(id);
  if (it == mId2Name.end()) return false;
  name = it->second;
  return true;
}

bool MixedOverlapGraph::GetEdgeName(const Edge& edge, std::string& name) const {
  return GetEdgeName(&edge, name);
}

void MixedOverlapGraph::CollectEdges(int id, std::vector<Edge*>& edges) {
  const auto [begin, end] = mIdEdgeIndex.equal_range(id);
  for (auto it = begin; it != end; ++it) edges.push_back(&mEdges[it->second]);
}

void MixedOverlapGraph::GetNodeEdges(int ti, std::vector<Edge*>& edges) {
  edges.clear();
  const auto it = mTI2Id.find(ti);
  if (it != mTI2Id.end()) CollectEdges(it->second, edges);
}

void MixedOverlapGraph::GetNodeEdges(int ti, std::vector<Edge>& edges) const {
  edges.clear();
  const auto it = mTI2Id.find(ti);
  if (it == mTI2Id.end()) return;
  const auto [begin, end] = mIdEdgeIndex.equal_range(it->second);
  for (auto e = begin; e != end; ++e) edges.push_back(mEdges[e->second]);
}

void MixedOverlapGraph::GetTIEdges(const std::string& name, std::vector<Edge*>& edges) {
  edges.clear();
  const auto it = mName2Id.find(name);
  if (it == mName2Id.end()) return;
  const auto [begin, end] = mIdEdgeIndex.equal_range(it->second);
  for (auto e = begin; e != end; ++e) {
    const size_t i = static_cast<size_t>(e->second);
    if (!mTargetIsTI[i]) {
      // A target without a TI (a named read) keeps its identifier.
      const auto ti = mId2TI.find(mEdges[i].GetTargetId());
      if (ti != mId2TI.end() && mEdges[i].SetTargetId(ti->second)) mTargetIsTI[i] = true;
    }
    edges.push_back(&mEdges[i]);
  }
}

void MixedOverlapGraph::GetTIEdges(const std::string& name, std::vector<Edge>& edges) {
  std::vector<Edge*> stored;
  GetTIEdges(name, stored);
  edges.clear();
  for (const Edge* e : stored) edges.push_back(*e);
}

bool MixedOverlapGraph::NameInTargetSet(const std::vector<Edge*>& edges, const StringSet& targets,
                                        const std::string& name, int& index) const {
  std::string self = name;
  StripWhiteSpace(self);
  std::string target;
  for (size_t i = 0; i < edges.size(); ++i) {
    if (!GetEdgeName(edges[i], target)) continue;
    StripWhiteSpace(target);
    if (target != self && targets.count(target) != 0) {
      index = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

void MixedOverlapGraph::GetNames(std::vector<std::string>& names) const {
  for (const auto& [id, name] : mId2Name) names.push_back(name);
}

}  // namespace ostrel
