// Extracting one bin of reads from one input file: the bin's names are looked
// up in the input's index, sorted by file position and appended byte for byte
// to the bin's output file.
#ifndef OSTREL_EXTRACTBINS_BINEXTRACT_H
#define OSTREL_EXTRACTBINS_BINEXTRACT_H

#include <cstdint>
#include <string>
#include <vector>

#include "extractbins/ReadIndex.h"
#include "extractbins/RunOutputs.h"
#include "extractbins/UnheldNames.h"

namespace ostrel {

// Process-wide state (one thread): every record of a bin is copied through
// this buffer (the other bins of a pass over a bgzip input have buffers of
// the same size of their own); records longer than it are copied in pieces.
constexpr int64_t kCopyBufferSize = 200000;
extern char buffer[kCopyBufferSize];

// One located record of a bin.
struct ReadInfo {
  int64_t mStart = 0;  // first byte, counted from 1
  int64_t mEnd = 0;    // last byte, counted from 1, inclusive
  const std::string* mReadName = nullptr;  // the bin's name for it, to check the record against
};

// Orders records by their place in the input file.
bool readInfoCmp(const ReadInfo& a, const ReadInfo& b);

// One bin file, read afresh for every input file.
struct Bin {
  std::vector<std::string> mReadNames;  // the bin file's names, in file order
  std::string mName;                    // the bin file name as given
  std::vector<ReadInfo> mReadInfos;     // records located in the current input
};

// True when the input's records go to the quality output: its base name
// (after the last '/') contains "qual".
bool IsQualityInput(const std::string& inputName);

// OptOutRoot + bin name + "_out.fa.qual" or "_out.fa"; "_out.fq" for a
// FASTQ input.
std::string OutputName(const std::string& binName, const std::string& inputName, bool fastq = false);

// Whether a record's index range [start, end] (1-based) lies in an input
// of `fileSize` bytes.
bool UsableRange(int64_t start, int64_t end, int64_t fileSize);
// The lines that report a record skipped: its range outside the input, or
// not holding the read's whole record (a stale index).
std::string UnusableRangeReport(const std::string& inputName, int64_t start, int64_t end);
std::string StaleRangeReport(const std::string& inputName, int64_t start, int64_t end, const std::string& readName);

// Reads bin file `binName` into `bin`, looks its names up in `index` (the
// names it lacks go to `unheld`) and sorts the records located by their
// place in the input, a bin's order kept among equal starts. False when the
// bin file cannot be opened.
bool LocateBinReads(const std::string& binName, const ReadIndex& index, UnheldNames& unheld, Bin& bin);

// Extracts every bin of `bins`, in order, from `inputName` with its loaded
// index. For each bin it prints "<count> reads found ..." and, after any
// messages, "written.". Each record is appended whole and ended by a
// newline to the bin's output, opened through `outputs`. A record whose
// range is unusable (start below 1, end before start, end past the end of
// the input), or whose bytes are not the named read's record (a stale
// index), is skipped with a message. The bin's names that the index lacks
// go to unheld[b]; the number of records located to found[b]. A plain input
// is copied from bin by bin; the bins of a bgzip input are taken together,
// up to kBinsPerPass at a time, in one pass in file order, so that a block
// holding records of several bins is decompressed once (their messages are
// held and printed after the pass, as one bin after the other prints them).
// False when some of the work could not be done (bin, input or output
// unopenable, a record skipped, a failed read or write).
bool ExtractFromInput(const std::vector<std::string>& bins, const std::string& inputName, const ReadIndex& index,
                      std::vector<UnheldNames>& unheld, RunOutputs& outputs, std::vector<size_t>& found);

// The most bins one pass over a bgzip input copies (each holds an open
// output and a copy buffer of its own while the pass runs).
constexpr size_t kBinsPerPass = 32;

}  // namespace ostrel

#endif
