// The ostrel-extractbins driver: input list, then every bin against every
// input file, input files outermost.
#include "extractbins/Driver.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

#include "extractbins/BinExtract.h"
#include "extractbins/QualityFile.h"
#include "extractbins/ReadIndex.h"
#include "extractbins/RunOutputs.h"
#include "extractbins/RunSettings.h"
#include "seq/RecordFormat.h"
#include "util/LineScan.h"
#include "util/StringUtil.h"

namespace ostrel {

bool ReadInputList(const std::string& listName, std::vector<std::string>& inputs) {
  std::ifstream in(listName);
  if (!in) {
    std::cout << ShownFileName(listName) << " didn't open" << std::endl;
    return false;
  }
  std::string line;
  std::string qualName;
  while (in.good()) {
    GetListLine(in, line);
    if (line.empty()) continue;
    inputs.push_back(line);
    // A FASTQ file holds its qualities.
    if (!IsFastqFile(line) && QualityFileFound(line, qualName)) {
      std::cout << "Found qual file " << ShownFileName(qualName) << std::endl;
      inputs.push_back(qualName);
    }
  }
  return true;
}

namespace {

// An input that cannot be read is reported as such, before its index is
// looked for: "<input>: <reason>; input skipped.".
bool InputReadable(const std::string& input) {
  const int fd = ::open(input.c_str(), O_RDONLY);
  if (fd >= 0) {
    ::close(fd);
    return true;
  }
  std::cout << ShownFileName(input) << ": " << std::strerror(errno) << "; input skipped." << std::endl;
  return false;
}

}  // namespace

int RunExtractBins(int argc, char** argv) {
  bool ok = SetupOptions(argc, argv);
  std::cout << "ostrel-extractbins" << std::endl;
  std::vector<std::string> inputs;
  if (!OptSingleFASTAName.empty()) {
    std::cout << "Single name" << std::endl;
    inputs.push_back(OptSingleFASTAName);
  } else if (!ReadInputList(OptFASTAFileList, inputs)) {
    return 1;
  }
  std::cout << "FASTA List size=" << inputs.size() << std::endl;
  std::vector<std::vector<size_t>> found;
  ok = ExtractBins(inputs, OptBinFileVec, found) && ok;
  return ok ? 0 : 2;
}

bool ExtractBins(const std::vector<std::string>& inputs, const std::vector<std::string>& bins,
                 std::vector<std::vector<size_t>>& found) {
  bool ok = true;
  ReadIndex index;
  RunOutputs outputs(OptFreshOutputs);
  std::vector<UnheldNames> unheld(bins.size());
  found.assign(inputs.size(), std::vector<size_t>(bins.size(), 0));
  for (size_t i = 0; i < inputs.size(); ++i) {
    if (!InputReadable(inputs[i])) {
      ok = false;
      continue;
    }
    ok = index.Load(inputs[i]) && ok;
    ok = ExtractFromInput(bins, inputs[i], index, unheld, outputs, found[i]) && ok;
    index.Clear();
  }
  ok = outputs.Finish(std::cerr) && ok;
  std::cout.flush();
  for (size_t b = 0; b < bins.size(); ++b) unheld[b].Report(bins[b], std::cerr);
  return ok;
}

}  // namespace ostrel
