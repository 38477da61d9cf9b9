// Turning an overlap's hangs into PAF coordinates.
#include "search/PafLine.h"

#include <algorithm>

namespace ostrel {

namespace {

// [start, end) of a read of `length` bases whose overlap begins `head`
// bases in and stops `tail` bases before its end, both cut to the read.
void Span(long length, long head, long tail, long& start, long& end) {
  length = std::max(length, 0L);
  start = std::clamp(head, 0L, length);
  end = std::clamp(length - tail, start, length);
}

}  // namespace

void WritePafLine(std::ostream& out, const std::string& queryName, int queryLength, const std::string& targetName,
                  int targetLength, int length, int score, int leftHang, int rightHang, int orientation) {
  const bool forward = orientation == 1;
  long queryStart, queryEnd, targetStart, targetEnd;
  // On the opposite strand the hangs describe the reverse-complemented
  // query, whose head is the forward query's tail.
  const long queryHead = std::max(leftHang, 0), queryTail = std::max(rightHang, 0);
  Span(queryLength, forward ? queryHead : queryTail, forward ? queryTail : queryHead, queryStart, queryEnd);
  Span(targetLength, std::max(-static_cast<long>(leftHang), 0L), std::max(-static_cast<long>(rightHang), 0L),
       targetStart, targetEnd);
  const long aligned = std::max(length, 0);
  const long matches = std::clamp((aligned + score) / 2, 0L, aligned);
  out << queryName << '\t' << queryLength << '\t' << queryStart << '\t' << queryEnd << '\t'
      << (forward ? '+' : '-') << '\t' << targetName << '\t' << targetLength << '\t' << targetStart << '\t'
      << targetEnd << '\t' << matches << '\t' << aligned << "\t255\tAS:i:" << score << "\tol:i:" << length
      << '\n';
}

}  // namespace ostrel
