// Overlaps as a GFA 1 graph, the text format of assembly graphs: an H line,
// an S line per read (no sequence, "*", its length as LN:i:), an L line
// per dovetail overlap (each read's name and orientation, the overlap as a
// CIGAR of matches, e.g. "300M"), a C line per containment (the container,
// the contained read, where it starts on the container's forward strand,
// and the CIGAR).
#ifndef OSTREL_SEARCH_GFALINE_H
#define OSTREL_SEARCH_GFALINE_H

#include <ostream>
#include <string>

namespace ostrel {

void WriteGfaHeader(std::ostream& out);
void WriteGfaSegment(std::ostream& out, const std::string& name, int length);

// Writes the L or C line of an overlap of `length` bases between the query
// and the target, its hangs seen from the query as compared (for the
// opposite strand, the reverse-complemented query), as WritePafLine takes
// them: the target begins first (negative left hang) and the query runs on
// (positive right hang), or the other way round, for a dovetail; the one
// that begins no later and ends no earlier contains the other, the target
// when both hangs are 0.
void WriteGfaOverlap(std::ostream& out, const std::string& queryName, int queryLength,
                     const std::string& targetName, int length, int leftHang, int rightHang, int orientation);

}  // namespace ostrel

#endif
