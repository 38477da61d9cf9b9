// Contigs handed to Python as plain values, which the package's ace module
// shapes into its record classes.
#ifndef OSTREL_PYTHON_ACERECORDS_H
#define OSTREL_PYTHON_ACERECORDS_H

#include <vector>

#include <pybind11/pybind11.h>

#include "ace/AceFile.h"

namespace ostrel {

// A contig as a tuple: (name, announced length, announced reads, announced
// base segments, its strand 'U' or 'C', consensus, qualities of its base
// columns (the "BQ" values), alignment starts, strands as one string of 'U'
// and 'C', base segments as (start, end, read) tuples, read names, read
// sequences, the kept "QA" lines, read descriptions (None for a read
// without a "DS" line), the "RD" counts as a list of (whole-read items,
// read tags) per read or None when all are 0, and `tags` as (text, place)
// tuples: with `placed`, the index of the read it followed in the contig
// (-1 for none), else None).
pybind11::tuple ContigRecord(const Contig& contig, const std::vector<AceTag>& tags, bool placed);

void BindAceRecords(pybind11::module_& module);

}  // namespace ostrel

#endif
