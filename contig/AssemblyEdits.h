// The whole-assembly edits as the ostrel-ace editing subcommands (and the
// Python module) make them: a merge that empties the contig merged in,
// every contig's tails trimmed, a contig cut at its regions, and the
// contigs an edit left without reads dropped before the assembly is
// written.
#ifndef OSTREL_CONTIG_ASSEMBLYEDITS_H
#define OSTREL_CONTIG_ASSEMBLYEDITS_H

#include <string>
#include <vector>

#include "ace/AceFile.h"

namespace ostrel {

// Drops the contigs without reads (other readers refuse them) with their
// mContigQuality entries, counting their tags as left out; returns their
// names in assembly order.
std::vector<std::string> DropEmptyContigs(AceFile& ace);

// Merges contig `right` into contig `left` at column `offset`
// (Contig::MergeContigRight) and empties `right`, whose reads are now in
// `left`; returns how many reads moved. The indexes must differ.
size_t MergeContigs(AceFile& ace, int left, int right, int offset);

// Trims every contig's tails on its read depth (TrimTails, with the
// process-wide trimWindow and trimHeight), each contig's mates looked up
// first. The reads removed are appended to `removed`; the contigs without
// sound ends to `marked`, in assembly order, and they are removed too when
// `removeMarked`.
void TrimAllTails(AceFile& ace, std::vector<std::string>& removed, std::vector<std::string>& marked,
                  bool removeMarked);

// Cuts contig `contigIdx` at the regions starts[p] .. ends[p] (0-based
// padded indexes) with AceFile::MultiSplitContig, its mates looked up first.
void CutContig(AceFile& ace, int contigIdx, int minSize, std::vector<int>& starts, std::vector<int>& ends);

}  // namespace ostrel

#endif
