// ostrel-overlap: all-against-all end-to-end overlaps of a read set.
#ifndef OSTREL_OVERLAP_OVERLAPCOMMAND_H
#define OSTREL_OVERLAP_OVERLAPCOMMAND_H

#include "search/AllOverlaps.h"

namespace ostrel {

constexpr int kProgressSeconds = 5;  // between progress lines

// Runs the command; returns the exit status: 0; 1 for bad options, a file
// that cannot be read or written, or input without a FASTA record; 2 when a
// gzip file was damaged or cut short (its records up to there are used).
int RunOverlap(int argc, char** argv);

}  // namespace ostrel

#endif
