// The read-file commands' library calls for Python: the FASTA index and
// the bin extraction.
#ifndef OSTREL_PYTHON_READFILES_H
#define OSTREL_PYTHON_READFILES_H

#include <pybind11/pybind11.h>

namespace ostrel {

void BindReadFiles(pybind11::module_& module);

}  // namespace ostrel

#endif
