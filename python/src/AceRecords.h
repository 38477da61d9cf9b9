// Contigs handed to Python as plain values, which the package's ace module
// shapes into its record classes.
#ifndef OSTREL_PYTHON_ACERECORDS_H
#define OSTREL_PYTHON_ACERECORDS_H

#include <vector>

#include <pybind11/pybind11.h>

#include "ace/AceFile.h"

namespace ostrel {

// A contig as a tuple: (name, announced length, announced reads, announced
// base segments, consensus, qualities of its base columns (the "BQ"
// values), alignment starts, strands as one string of 'U' and 'C', base
// segments as (start, end, read) tuples, read names, read sequences, the
// kept "QA" lines, read descriptions, and the texts of `tags`).
pybind11::tuple ContigRecord(const Contig& contig, const std::vector<AceTag>& tags);

void BindAceRecords(pybind11::module_& module);

}  // namespace ostrel

#endif
