// ostrel-overlap: all-against-all end-to-end overlaps of a read set.
#ifndef OSTREL_OVERLAP_OVERLAPCOMMAND_H
#define OSTREL_OVERLAP_OVERLAPCOMMAND_H

#include <cstdint>

namespace ostrel {

// Defaults, chosen on simulated Sanger-like reads (500 to 1,000 bases,
// about 1% substitutions and small indels) by make bench-overlap.
constexpr int kDefaultWordSize = 16;           // bases per word
constexpr int kDefaultWordDensity = 180;       // words indexed per 1000 bases of a read, about
constexpr int kDefaultRepeatLimit = 0;         // words in more places are repeats; 0: from the reads
constexpr int kDefaultBandWidth = 15;          // diagonals either side of the placed one
constexpr int kMaxBandWidth = 1000;            // the time grows with band x overlap length
constexpr float kDefaultErrorPct = 10.0f;      // overlaps need a score of length x (1 - 2 x e/100)
constexpr int kDefaultMinScore = 300;          // and of this at least
constexpr uint32_t kDefaultMinReadSize = 100;  // shorter reads are skipped
constexpr int kProgressSeconds = 5;            // between progress lines

// Runs the command; returns the exit status: 0; 1 for bad options, a file
// that cannot be read or written, or input without a FASTA record; 2 when a
// gzip file was damaged or cut short (its records up to there are used).
int RunOverlap(int argc, char** argv);

}  // namespace ostrel

#endif
