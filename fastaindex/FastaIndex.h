// Writing the "_idx" index of one FASTA, quality or FASTQ file, plain or
// bgzip-compressed (the line format is described in seq/IndexLine.h).
#ifndef OSTREL_FASTAINDEX_FASTAINDEX_H
#define OSTREL_FASTAINDEX_FASTAINDEX_H

#include <string>

namespace ostrel {

// Writes fileName + "_idx" beside the file and prints
// "<index name>: <n> records" on standard output. The index is written under
// a temporary name and renamed into place only when the whole file was
// scanned, so a bad or unreadable file leaves an existing index as it was.
// Problems go to standard error, naming the file and, for bad text, the
// 1-based byte position; repeated names are indexed as they stand and
// reported once as a warning. A bgzip file gets its ".gzi" block index too
// when it has none as new as itself; a plain gzip file is refused. False
// when no index was written.
bool IndexFastaFile(const std::string& fileName);

}  // namespace ostrel

#endif
