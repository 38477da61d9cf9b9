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

PafSpans PafSpansOf(int queryLength, int targetLength, int length, int score, int leftHang, int rightHang,
                    int orientation) {
  PafSpans spans;
  const bool forward = orientation == 1;
  spans.mStrand = forward ? '+' : '-';
  // On the opposite strand the hangs describe the reverse-complemented
  // query, whose head is the forward query's tail.
  const long queryHead = std::max(leftHang, 0), queryTail = std::max(rightHang, 0);
  Span(queryLength, forward ? queryHead : queryTail, forward ? queryTail : queryHead, spans.mQueryStart,
       spans.mQueryEnd);
  Span(targetLength, std::max(-static_cast<long>(leftHang), 0L), std::max(-static_cast<long>(rightHang), 0L),
       spans.mTargetStart, spans.mTargetEnd);
  spans.mAligned = std::max(length, 0);
  spans.mMatches = std::clamp((spans.mAligned + score) / 2, 0L, spans.mAligned);
  return spans;
}

void WritePafLine(std::ostream& out, const std::string& queryName, int queryLength, const std::string& targetName,
                  int targetLength, int length, int score, int leftHang, int rightHang, int orientation) {
  const PafSpans s = PafSpansOf(queryLength, targetLength, length, score, leftHang, rightHang, orientation);
  out << queryName << '\t' << queryLength << '\t' << s.mQueryStart << '\t' << s.mQueryEnd << '\t' << s.mStrand
      << '\t' << targetName << '\t' << targetLength << '\t' << s.mTargetStart << '\t' << s.mTargetEnd << '\t'
      << s.mMatches << '\t' << s.mAligned << '\t' << kPafMappingQuality << "\tAS:i:" << score << "\tol:i:" << length
      << '\n';
}

}  // namespace ostrel
