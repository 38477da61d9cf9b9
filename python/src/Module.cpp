// ostrel._ostrel: the compiled part of the Python package ostrel.
#include <pybind11/pybind11.h>

#include "AceRecords.h"
#include "Assembly.h"
#include "ReadFiles.h"
#include "ReadOverlaps.h"
#include "ostrel/Version.h"

PYBIND11_MODULE(_ostrel, module) {
  module.doc() = "ostrel's library for Python: ACE assemblies, FASTA indexes, bin extraction, overlaps";
  module.attr("__version__") = OSTREL_VERSION;
  ostrel::BindAceRecords(module);
  ostrel::BindAssembly(module);
  ostrel::BindReadFiles(module);
  ostrel::BindReadOverlaps(module);
}
