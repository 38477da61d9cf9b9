// Overlaps in PAF, the tab-separated pairwise format that overlap consumers
// read: query name, length, start, end, strand, target name, length, start,
// end, matching bases, alignment length, mapping quality, then tags.
#ifndef OSTREL_SEARCH_PAFLINE_H
#define OSTREL_SEARCH_PAFLINE_H

#include <ostream>
#include <string>

namespace ostrel {

// The columns of a PAF line that are worked out from the overlap.
struct PafSpans {
  long mQueryStart, mQueryEnd;
  char mStrand;  // '+' or '-'
  long mTargetStart, mTargetEnd;
  long mMatches, mAligned;
};

constexpr int kPafMappingQuality = 255;

// Writes one line for an overlap of `length` bases and alignment score
// `score` between the query and the target, its hangs seen from the query
// (for the opposite strand, from the reverse-complemented query), as the
// overlapper records them. Coordinates are 0-based and half-open on each
// read's forward strand: on the query as compared, the overlap starts
// max(leftHang, 0) from the start and ends max(rightHang, 0) before the
// end; on the target, max(-leftHang, 0) and max(-rightHang, 0). Matching
// bases are estimated from the score as if every difference were a
// mismatch, (length + score) / 2; the mapping quality is 255; the tags are
// AS:i: (the score) and ol:i: (the overlap length). Every coordinate is cut
// to its read.
void WritePafLine(std::ostream& out, const std::string& queryName, int queryLength, const std::string& targetName,
                  int targetLength, int length, int score, int leftHang, int rightHang, int orientation);

// The columns WritePafLine works out, for the same overlap.
PafSpans PafSpansOf(int queryLength, int targetLength, int length, int score, int leftHang, int rightHang,
                    int orientation);

}  // namespace ostrel

#endif
