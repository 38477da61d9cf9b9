// Cleaning an assembly after problem detection: whole contigs removed by
// name, and low-coverage tails trimmed by dropping the unmated reads that
// hang into them.
#ifndef OSTREL_CONTIG_CLEANUP_H
#define OSTREL_CONTIG_CLEANUP_H

#include <string>
#include <vector>

#include "ace/AceFile.h"
#include "util/Hash.h"

namespace ostrel {

// Removes, for each name in order, every contig of exactly that name met in
// one scan from the first contig (a contig that moves into the place of a
// removed one is not looked at again for the same name), with progress
// lines on standard output.
void RemoveContigs(AceFile& ace, std::vector<std::string>& names);

// Finds the tails of `contig` on `profile` (a coverage profile of it, one
// value per 0-based consensus index) with FindTail. Sound boundaries
// (0 <= left < length - 1, 0 < right < length): the unmated reads hanging
// into the tails are removed (Contig::RemoveTails) and appended to
// `removed`. Otherwise the contig is left as it is and its name goes into
// `marked`, for removal.
void TrimTails(Contig& contig, std::vector<std::string>& removed, StringSet& marked, std::vector<int>& profile);

// Splitting contigs at coverage crashes is not settled: this does nothing.
void SplitCrashes(AceFile& ace, int contigIdx, std::vector<std::string>& removed, StringSet& marked);

}  // namespace ostrel

#endif
