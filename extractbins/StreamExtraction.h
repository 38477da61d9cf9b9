// Extracting bins from inputs read whole, from start to end, with no index:
// for inputs that cannot be read by position (plain gzip), and for bins that
// take a large share of an input's reads, where one pass over the input
// costs less than a seek per record.
//
// All bins' names are looked up in one table. Each record of an input goes
// to the output of every bin that names it, as many times as the bin names
// it. The outputs are those the indexed extraction writes from the same
// inputs, byte for byte: each input's records in file order, each ended by
// a newline, and of a name that several records of one input carry, only
// the last record, as an index maps a name to its last line (such an input
// is read a second time, its outputs first cut back to where they were).
#ifndef OSTREL_EXTRACTBINS_STREAMEXTRACTION_H
#define OSTREL_EXTRACTBINS_STREAMEXTRACTION_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "extractbins/Name2IdxMap.h"
#include "extractbins/RunOutputs.h"
#include "extractbins/UnheldNames.h"

namespace ostrel {

class StreamExtraction {
public:
  // The bin files are read at the first Extract, once for the whole run.
  explicit StreamExtraction(const std::vector<std::string>& bins) : mBins(bins) {}

  // Reads `inputName` (plain, gzip or bgzip; FASTA, quality or FASTQ) and
  // appends its records to the bins' outputs, opened through `outputs`.
  // Prints "Stream <input>...<TAB>", any messages, and then, a line for each
  // bin, "<count> reads found ...written.". found[b] becomes the number of
  // records appended for bin b. False when some of the work could not be
  // done: a bin file unopened, the input unreadable, damaged or not records
  // (the records before the fault are written), an output not written.
  bool Extract(const std::string& inputName, RunOutputs& outputs, std::vector<size_t>& found);

  // Gives each bin's tracker the names the inputs read here held; nothing
  // when no input was read here.
  void UpdateUnheld(std::vector<UnheldNames>& unheld) const;

private:
  class Pass;

  bool LoadBins();

  const std::vector<std::string>& mBins;
  bool mLoaded = false;
  bool mBinsRead = true;  // every bin file could be opened
  std::vector<std::vector<std::string>> mBinNames;
  std::vector<std::vector<uint32_t>> mBinNameIds;  // mBinNames' names as table entries
  // The table: a name to its entry, 1 up; the bins that name an entry's
  // read are mTargets[mTargetStart[entry] .. mTargetStart[entry + 1]), in
  // bin order, a bin once for every time it names the read.
  Name2IdxMap mIds;
  std::vector<uint32_t> mTargetStart;
  std::vector<uint32_t> mTargets;
  std::vector<bool> mHeld;  // an entry's read was in some input read here
};

}  // namespace ostrel

#endif
