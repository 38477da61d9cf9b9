// Reading FASTA records one at a time, from plain or gzip input alike.
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

}  // namespace ostrel

#endif
