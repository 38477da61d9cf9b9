// The two edge-list readers: TI-keyed lines into a TIOverlapGraph and
// name-keyed lines into a MixedOverlapGraph with inverse edges.
//
// After a line's source, a group is five integers (target TI, length,
// score, two hangs) and an orientation character one position after the
// fifth integer, the groups separated by single characters. Every field is
// taken through the line scanners, which stay inside the line; a position
// past the line's end finds nothing and ends the line.
#include <climits>
#include <string>
#include <vector>

#include "search/MixedOverlapGraph.h"
#include "search/TIOverlapGraph.h"
#include "util/LineScan.h"

namespace ostrel {

namespace {

struct EdgeGroup {
  int mTarget = 0;
  int mLength = 0;
  int mScore = 0;
  int mFirstHang = 0;
  int mSecondHang = 0;
  int mOrientation = 0;  // 1 for 'f'
};

// Scans a group's five integers and its orientation character from `pos`.
// On success `pos` is the position just after the fifth integer; false when
// a value or the orientation character is missing.
bool ScanGroup(const std::string& line, int& pos, EdgeGroup& group) {
  int* const fields[] = {&group.mTarget, &group.mLength, &group.mScore, &group.mFirstHang, &group.mSecondHang};
  for (int* field : fields) {
    *field = GetNextInteger(line, pos, pos);
    if (pos < 0) return false;
  }
  // pos is the length plus 1 when the fifth integer ended the line.
  if (static_cast<size_t>(pos) + 1 >= line.size()) return false;
  group.mOrientation = line[pos + 1] == 'f' ? 1 : 0;
  return true;
}

int Negated(int value) { return value == INT_MIN ? INT_MAX : -value; }

}  // namespace

void TIOverlapGraph::Read(std::istream& in) {
  std::string line;
  std::vector<Edge> edges;
  while (GetLine(in, line)) {
    int pos = 0;
    const int source = GetNextInteger(line, 0, pos);
    if (pos < 0) continue;
    edges.clear();
    EdgeGroup g;
    while (ScanGroup(line, pos, g)) {
      Edge e;
      if (e.SetValues(g.mTarget, g.mLength, g.mScore, g.mFirstHang, g.mSecondHang, g.mOrientation))
        edges.push_back(e);
      pos += 3;  // past the separator, the orientation character and the next separator
    }
    if (!edges.empty()) AddEdges(source, edges);
  }
}

void MixedOverlapGraph::ReadName2TIPlusInverse(std::istream& in) {
  std::string line;
  std::vector<Edge> edges;
  while (GetLine(in, line)) {
    int pos = 0;
    std::string name = GetNextWSDelimitedString(line, 0, pos);
    StripWhiteSpace(name);
    if (name.empty()) continue;
    edges.clear();
    EdgeGroup g;
    while (ScanGroup(line, pos, g)) {
      // The hangs as seen from the target read.
      const bool forward = g.mOrientation == 1;
      const int left = Negated(forward ? g.mFirstHang : g.mSecondHang);
      const int right = Negated(forward ? g.mSecondHang : g.mFirstHang);
      Edge e;
      if (e.SetValues(g.mTarget, g.mLength, g.mScore, left, right, g.mOrientation)) edges.push_back(e);
      // The integer after the orientation character is not used; it is
      // scanned from past that character, so the character is never taken
      // for it, and the next group starts past the separator after it.
      GetNextInteger(line, pos + 2, pos);
      if (pos < 0) break;
      pos += 1;
    }
    AddEdgesAndInverse(name, edges);
  }
}

}  // namespace ostrel
