#include "ReadFiles.h"

#include <pybind11/stl.h>

#include <tuple>

#include "LibraryCall.h"
#include "extractbins/BinExtract.h"
#include "extractbins/Driver.h"
#include "extractbins/QualityFile.h"
#include "extractbins/RunSettings.h"
#include "fastaindex/FastaIndex.h"

namespace py = pybind11;

namespace ostrel {

namespace {

std::string IndexFasta(const std::string& fileName) {
  RequireReadable(fileName);
  bool indexed = false;
  const std::string said = CallLibrary([&]() { indexed = IndexFastaFile(fileName); });
  if (!indexed) throw py::value_error(LastLine(said, fileName + " could not be indexed"));
  ForwardToStderr(said);
  return fileName + "_idx";
}

// The input list as the command makes it: each FASTA file followed by the
// quality file found for it, unless `single` (the -I form, one file alone).
std::vector<std::string> InputList(const std::vector<std::string>& fastaNames, bool single) {
  std::vector<std::string> inputs;
  std::string qualName;
  for (const std::string& name : fastaNames) {
    inputs.push_back(name);
    if (!single && QualityFileFound(name, qualName)) inputs.push_back(qualName);
  }
  return inputs;
}

// (input, bin, records found, output file) for every input and bin, inputs
// outermost.
std::vector<std::tuple<std::string, std::string, size_t, std::string>> Extract(
    const std::vector<std::string>& fastaNames, const std::vector<std::string>& bins, const std::string& outRoot,
    bool single, bool fresh) {
  const std::vector<std::string> inputs = InputList(fastaNames, single);
  for (const std::string& name : inputs) {
    RequireReadable(name);
    RequireReadable(name + "_idx");
  }
  for (const std::string& name : bins) RequireReadable(name);
  std::vector<std::vector<size_t>> found;
  std::vector<std::tuple<std::string, std::string, size_t, std::string>> result;
  bool done = false;
  const std::string said = CallLibrary([&]() {
    const std::string savedRoot = OptOutRoot;
    const bool savedFresh = OptFreshOutputs;
    OptOutRoot = outRoot;
    OptFreshOutputs = fresh;
    done = ExtractBins(inputs, bins, found);
    for (size_t i = 0; i < inputs.size(); ++i)
      for (size_t b = 0; b < bins.size(); ++b)
        result.emplace_back(inputs[i], bins[b], found[i][b], OutputName(bins[b], inputs[i]));
    OptOutRoot = savedRoot;
    OptFreshOutputs = savedFresh;
  });
  ForwardToStderr(said);
  if (!done) throw py::value_error(LastLine(said, "the extraction could not be done whole"));
  return result;
}

}  // namespace

void BindReadFiles(py::module_& module) {
  module.def("fastaindex", &IndexFasta, py::arg("path"),
             "Writes path + \"_idx\", the index of a FASTA or quality file, and returns its name.");
  module.def("extract_bins", &Extract, py::arg("inputs"), py::arg("bins"), py::arg("outroot"), py::arg("single"),
             py::arg("fresh"));
}

}  // namespace ostrel
