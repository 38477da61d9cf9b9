// The read-file commands' library calls for Python: the FASTA index, the
// bin extraction, and the overlapper.
#ifndef OSTREL_PYTHON_READFILES_H
#define OSTREL_PYTHON_READFILES_H

#include <pybind11/pybind11.h>

namespace ostrel {

void BindReadFiles(pybind11::module_& module);

}  // namespace ostrel

#endif
