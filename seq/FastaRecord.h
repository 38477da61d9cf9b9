// Reading FASTA and FASTQ records one at a time, from plain, gzip or bgzip
// input alike (through igzstream).
#ifndef OSTREL_SEQ_FASTARECORD_H
#define OSTREL_SEQ_FASTARECORD_H

#include <istream>

#include "seq/Sequence.h"

namespace ostrel {

// Reads the next record into `record` (replacing what it held): the name is
// the first word after '>', the description the rest of the header line
// without its surrounding white space, the bases every following line up to
// the next '>' line with blanks, tabs and carriage returns left out. Lines
// before the first header are skipped. False when no record is left.
bool ReadFastaRecord(std::istream& in, Sequence& record);

// Reads the next FASTA or FASTQ record, whichever comes: lines up to one
// starting with '>' or '@' are skipped, and the record is read as its
// first byte says. A FASTQ record (seq/FastqScanner.h) gives its name,
// description and bases; its qualities are read past. False when no record
// is left, and for a FASTQ record cut short, which also sets in's badbit.
bool ReadSequenceRecord(std::istream& in, Sequence& record);

}  // namespace ostrel

#endif
