// Both overlap edge-list readers on arbitrary bytes: TI-keyed lines into a
// TIOverlapGraph, name-keyed lines into a MixedOverlapGraph with inverses.
//
// Properties: every stored edge is indexed once under its source, and each
// edge read back (by TI or by name) names a target the graph knows.
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "search/MixedOverlapGraph.h"
#include "search/TIOverlapGraph.h"

using namespace ostrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  fuzz::Quiet quiet;
  const std::string text(reinterpret_cast<const char*>(bytes), size);

  TIOverlapGraph byTI;
  std::istringstream tiIn(text);
  byTI.Read(tiIn);
  FUZZ_CHECK(byTI.mTIEdgeIndex.size() == byTI.mEdges.size());
  std::vector<Edge> edges;
  for (const auto& [ti, index] : byTI.mTIEdgeIndex) {
    FUZZ_CHECK(index >= 0 && static_cast<size_t>(index) < byTI.mEdges.size());
    FUZZ_CHECK(byTI.Contains(ti));
    byTI.GetEdges(ti, edges);
    FUZZ_CHECK(!edges.empty());
    int target = 0;
    FUZZ_CHECK(byTI.GetEdgeTI(&byTI.mEdges[index], target));
  }

  MixedOverlapGraph mixed;
  std::istringstream namedIn(text);
  mixed.ReadName2TIPlusInverse(namedIn);
  FUZZ_CHECK(mixed.mIdEdgeIndex.size() == mixed.mEdges.size());
  for (const auto& [id, index] : mixed.mIdEdgeIndex) {
    FUZZ_CHECK(id >= 0 && id < mixed.mNextId);
    FUZZ_CHECK(index >= 0 && static_cast<size_t>(index) < mixed.mEdges.size());
  }
  std::vector<std::string> names;
  mixed.GetNames(names);
  std::vector<Edge> named;
  for (const std::string& name : names) {
    mixed.GetTIEdges(name, named);
    std::string targetName;
    for (const Edge& edge : named) mixed.GetEdgeName(edge, targetName);
  }
  for (const auto& [ti, id] : mixed.mTI2Id) {
    FUZZ_CHECK(id >= 0 && id < mixed.mNextId);
    mixed.GetNodeEdges(ti, named);
  }
  return 0;
}
