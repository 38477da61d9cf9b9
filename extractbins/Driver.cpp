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
#include "extractbins/FastqExtract.h"
#include "extractbins/QualityFile.h"
#include "extractbins/ReadIndex.h"
#include "extractbins/RunOutputs.h"
#include "extractbins/RunSettings.h"
#include "extractbins/StreamExtraction.h"
#include "seq/RecordFormat.h"
#include "util/BgzfFile.h"
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
  while (in.good()) {
    GetListLine(in, line);
    if (!line.empty()) AddInput(line, inputs);
  }
  return true;
}

void AddInput(const std::string& fileName, std::vector<std::string>& inputs) {
  inputs.push_back(fileName);
  std::string qualName;
  // A FASTQ file holds its qualities.
  if (!IsFastqFile(fileName) && QualityFileFound(fileName, qualName)) {
    std::cout << "Found qual file " << ShownFileName(qualName) << std::endl;
    inputs.push_back(qualName);
  }
}

bool InputReadable(const std::string& input) {
  const int fd = ::open(input.c_str(), O_RDONLY);
  if (fd >= 0) {
    ::close(fd);
    return true;
  }
  std::cout << ShownFileName(input) << ": " << std::strerror(errno) << "; input skipped." << std::endl;
  return false;
}

int RunExtractBins(int argc, char** argv) {
  bool ok = SetupOptions(argc, argv);
  std::cout << "ostrel-extractbins" << std::endl;
  std::vector<std::string> inputs;
  if (!OptSingleFASTAName.empty()) {
    std::cout << "Single name" << std::endl;
    // FASTQ output needs the quality file.
    if (OptFastqOutput)
      AddInput(OptSingleFASTAName, inputs);
    else
      inputs.push_back(OptSingleFASTAName);
  } else if (!ReadInputList(OptFASTAFileList, inputs)) {
    return 1;
  }
  std::cout << "FASTA List size=" << inputs.size() << std::endl;
  std::vector<std::vector<size_t>> found;
  if (OptFastqOutput)
    ok = ExtractBinsAsFastq(inputs, OptBinFileVec) && ok;
  else
    ok = ExtractBins(inputs, OptBinFileVec, found) && ok;
  return ok ? 0 : 2;
}

bool ExtractBins(const std::vector<std::string>& inputs, const std::vector<std::string>& bins,
                 std::vector<std::vector<size_t>>& found) {
  bool ok = true;
  ReadIndex index;
  RunOutputs outputs(OptFreshOutputs);
  std::vector<UnheldNames> unheld(bins.size());
  StreamExtraction streamed(bins);
  found.assign(inputs.size(), std::vector<size_t>(bins.size(), 0));
  for (size_t i = 0; i < inputs.size(); ++i) {
    if (!InputReadable(inputs[i])) {
      ok = false;
      continue;
    }
    if (OptStreamInputs || CompressionOf(inputs[i]) == Compression::kGzip) {
      ok = streamed.Extract(inputs[i], outputs, found[i]) && ok;
      continue;
    }
    ok = index.Load(inputs[i]) && ok;
    ok = ExtractFromInput(bins, inputs[i], index, unheld, outputs, found[i]) && ok;
    index.Clear();
  }
  ok = outputs.Finish(std::cerr) && ok;
  std::cout.flush();
  streamed.UpdateUnheld(unheld);
  for (size_t b = 0; b < bins.size(); ++b) unheld[b].Report(bins[b], std::cerr);
  return ok;
}

}  // namespace ostrel
