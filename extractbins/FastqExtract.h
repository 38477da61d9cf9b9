// Extraction with -Q: each bin's reads written as FASTQ, every FASTA record
// joined with its quality record of the same name (seq/FastqFromQuality.h).
#ifndef OSTREL_EXTRACTBINS_FASTQEXTRACT_H
#define OSTREL_EXTRACTBINS_FASTQEXTRACT_H

#include <string>
#include <vector>

#include "seq/FastqFromQuality.h"

namespace ostrel {

// Extracts every bin against every input as ExtractBins does, inputs
// outermost, but writes FASTQ to each bin's "_out.fq": a FASTA input and the
// quality file after it in `inputs` (the one found for it) are read
// together, both indexes loaded, the bin's reads taken in the FASTA file's
// order; a FASTQ input's records are copied as they are. A read whose
// quality record is missing or holds another number of values than the
// read has bases is not written, and is reported (name and counts) on
// standard output; so, in one line a bin, are the reads of a FASTA input
// without a quality file (or one without its index). Values above 93 are
// written as 93 (below 0 as 0), and how many were is said once on standard
// error after the last input, with the bins' names that no input held.
// With -S, and for a plain gzip input or quality file, the two files are
// read whole, side by side (StreamExtraction::ExtractAsFastq), with no index.
// False when some of the work could not be done, a read not written
// included.
bool ExtractBinsAsFastq(const std::vector<std::string>& inputs, const std::vector<std::string>& bins);

// The line that says why read `name` was not written, from the `result` of
// `convert` with the read's record in quality file `qualityName`.
std::string UnwrittenReadReport(const std::string& name, FastqFromQuality::Result result,
                                const FastqFromQuality& convert, const std::string& qualityName);

}  // namespace ostrel

#endif
