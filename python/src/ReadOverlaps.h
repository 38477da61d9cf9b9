// ostrel._ostrel.find_overlaps: the all-against-all overlaps of reads,
// found by the library and handed to Python as PAF records.
#ifndef OSTREL_PYTHON_READOVERLAPS_H
#define OSTREL_PYTHON_READOVERLAPS_H

#include <pybind11/pybind11.h>

namespace ostrel {

void BindReadOverlaps(pybind11::module_& module);

}  // namespace ostrel

#endif
