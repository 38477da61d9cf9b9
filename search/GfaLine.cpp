// Turning an overlap's hangs into GFA links and containments.
#include "search/GfaLine.h"

#include <algorithm>

namespace ostrel {

void WriteGfaHeader(std::ostream& out) { out << "H\tVN:Z:1.0\n"; }

void WriteGfaSegment(std::ostream& out, const std::string& name, int length) {
  out << "S\t" << name << "\t*\tLN:i:" << length << '\n';
}

void WriteGfaOverlap(std::ostream& out, const std::string& queryName, int queryLength,
                     const std::string& targetName, int length, int leftHang, int rightHang, int orientation) {
  const char query = orientation == 1 ? '+' : '-';
  const int matches = std::max(length, 0);
  if (leftHang < 0 && rightHang > 0) {  // the target, then the query
    out << "L\t" << targetName << "\t+\t" << queryName << '\t' << query << '\t' << matches << "M\n";
  } else if (leftHang > 0 && rightHang < 0) {  // the query, then the target
    out << "L\t" << queryName << '\t' << query << '\t' << targetName << "\t+\t" << matches << "M\n";
  } else if (leftHang <= 0 && rightHang <= 0) {  // the target holds the query
    out << "C\t" << targetName << "\t+\t" << queryName << '\t' << query << '\t' << -leftHang << '\t' << matches
        << "M\n";
  } else {  // the query holds the target; on its forward strand the opposite one starts at its tail
    const int start = orientation == 1 ? leftHang : rightHang;
    out << "C\t" << queryName << "\t+\t" << targetName << '\t' << query << '\t'
        << std::clamp(start, 0, std::max(queryLength, 0)) << '\t' << matches << "M\n";
  }
}

}  // namespace ostrel
