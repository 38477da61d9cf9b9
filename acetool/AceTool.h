// ostrel-acestats: reads an assembly (and its read qualities) and prints the
// figures by which it is judged.
#ifndef OSTREL_ACESTATS_ACESTATSCOMMAND_H
#define OSTREL_ACESTATS_ACESTATSCOMMAND_H

#include <ostream>

#include "ace/AceFile.h"

namespace ostrel {

constexpr int kDefaultMinContigSize = 500;  // padded length of a large contig
constexpr int kDefaultTrimQuality = 20;     // quality inside the contig and read trims
constexpr int kLargestContigsShown = 10;

// Prints the assembly's figures; `withQualities` says whether read
// qualities were loaded (without them the reads have no good-quality parts
// and the coverage is given as plain read depth only).
void PrintAssemblyFigures(const AceFile& ace, const std::string& aceName, bool withQualities, std::ostream& out);

// Runs the command; returns its exit status: 0; 1 for bad options, an
// unreadable file or one without ACE records; 2 after the figures of an
// assembly the reader found damaged, truncated or inconsistent.
int RunAceStats(int argc, char** argv);

}  // namespace ostrel

#endif
