// The bins' outputs for one input read whole: each bin's records gathered
// in memory and appended to its output a megabyte at a time, and every
// bin's once all of them hold kGatheredLimit. The output is opened for each
// write, so that thousands of bins keep no more files open than one.
#ifndef OSTREL_EXTRACTBINS_GATHEREDOUTPUTS_H
#define OSTREL_EXTRACTBINS_GATHEREDOUTPUTS_H

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "extractbins/RunOutputs.h"

namespace ostrel {

class GatheredOutputs {
public:
  static constexpr size_t kBinWriteBytes = 1 << 20;
  static constexpr size_t kGatheredLimit = size_t{64} << 20;

  GatheredOutputs(RunOutputs& outputs, size_t bins);

  // Names each bin's output for this input, before the first Append.
  bool Named() const { return !mNames.empty(); }
  void Name(std::vector<std::string> names);

  // Appends a record, in one or two pieces (not both empty), and a newline
  // when it does not end with one.
  void Append(size_t bin, std::string_view kept, std::string_view block);

  // Writes what every bin has gathered; false when some output failed.
  bool WriteGathered();
  // Once the input is read and every bin's records written: each bin whose
  // output an earlier bin writes (one bin file named twice, binA and
  // ./binA) holds the same records, and gets them after all of the earlier
  // bin's, as the indexed extraction writes them: copied from the output.
  bool WriteSecondNames();
  // Drops what was gathered and cuts every output written back to its
  // length before; false when one cannot be.
  bool CutBack();

private:
  struct Bin {
    std::string mBytes;
    bool mFailed = false;  // its output failed for this input: nothing more is gathered
    size_t mFirst = 0;     // the first bin with the same output
  };

  // Appends bytes [from, to) of the file of `output` to `fd`.
  bool CopyRange(size_t output, off_t from, off_t to, int fd);
  void Write(size_t bin);

  RunOutputs& mOutputs;
  std::vector<Bin> mBins;
  std::vector<std::string> mNames;  // each bin's output for this input
  size_t mGathered = 0;
  size_t mKeptCapacity;
  // Each output written: its name and its length before this input.
  std::unordered_map<size_t, std::pair<std::string, off_t>> mLengthsBefore;
};

}  // namespace ostrel

#endif
