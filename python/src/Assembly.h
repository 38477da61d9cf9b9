// ostrel._ostrel.Assembly: a whole ACE assembly in memory, edited and
// written back through the library.
#ifndef OSTREL_PYTHON_ASSEMBLY_H
#define OSTREL_PYTHON_ASSEMBLY_H

#include <pybind11/pybind11.h>

namespace ostrel {

void BindAssembly(pybind11::module_& module);

}  // namespace ostrel

#endif
