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
//
// With -Q, a FASTA input and its quality file are read side by side and
// each bin's reads written as FASTQ.
#ifndef OSTREL_EXTRACTBINS_STREAMEXTRACTION_H
#define OSTREL_EXTRACTBINS_STREAMEXTRACTION_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "extractbins/Name2IdxMap.h"
#include "extractbins/RunOutputs.h"
#include "extractbins/UnheldNames.h"
#include "seq/FastqFromQuality.h"

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

  // Writes the bins' reads in FASTA input `fastaName` as FASTQ to their
  // "_out.fq" outputs, in the FASTA file's order, each joined by `convert`
  // with the quality record of its name in `qualityName`, the input's
  // quality file (empty when it has none: the reads are counted, none
  // written). The quality file is read twice: first for its names, then
  // beside the FASTA file, from where the last record taken was on; the
  // quality records read ahead of their reads are held in memory, none when
  // the two files list the reads in the same order. Prints as Extract does,
  // and as the indexed -Q extraction does about reads not written (a read
  // without a quality record, or with another number of values than it has
  // bases). found[b] becomes the number of bin b's reads the FASTA file
  // holds, written or not. False when some of the work could not be done.
  bool ExtractAsFastq(const std::string& fastaName, const std::string& qualityName, RunOutputs& outputs,
                      std::vector<size_t>& found, FastqFromQuality& convert);

  // Gives each bin's tracker the names the inputs read here held; nothing
  // when no input was read here.
  void UpdateUnheld(std::vector<UnheldNames>& unheld) const;

private:
  class Pass;
  class PairedPass;

  // A read that some bin names: the bins, each as many times as it names
  // the read, in bin order; one place, so that a record costs one fetch.
  struct Entry {
    uint32_t mFirstBin = 0;
    uint32_t mMoreTargets = 0;  // the other bins: mTargets[mMoreTargets .. mTargetsEnd)
    uint32_t mTargetsEnd = 0;
    uint32_t mSeen = 0;  // records of the read in the input being read
  };

  bool LoadBins();
  // Makes the table and says "Stream <input>...<TAB>"; false when a bin
  // file could not be read.
  bool Begin(const std::string& inputName);
  // entries[k] becomes the entry of names[k], 0 when no bin names it.
  void Look(const std::vector<std::string>& names, std::vector<uint32_t>& entries);
  // Whether a record of `entry` goes out in this pass: with `lastOnly` its
  // last alone (mSeen counts down); without, every one (mSeen counts up),
  // `repeated` set from the second on. Marks the read held.
  bool Takes(uint32_t entry, bool lastOnly, bool& repeated);
  template <typename Visit>
  void ForEachTarget(uint32_t entry, Visit visit) const {
    const Entry& e = mEntries[entry];
    visit(e.mFirstBin);
    for (uint32_t t = e.mMoreTargets; t < e.mTargetsEnd; ++t) visit(mTargets[t]);
  }
  void PrintFound(const std::vector<size_t>& found) const;
  // counts[entry] becomes the number of the quality file's records of the
  // entry's read; false when the file could not be read whole.
  bool CountQualityRecords(const std::string& qualityName, std::vector<uint32_t>& counts);

  const std::vector<std::string>& mBins;
  bool mLoaded = false;
  bool mBinsRead = true;  // every bin file could be opened
  std::vector<std::vector<std::string>> mBinNames;
  std::vector<std::vector<uint32_t>> mBinNameIds;  // mBinNames' names as table entries
  // The table: a name to its entry, 1 up.
  Name2IdxMap mIds;
  std::vector<Entry> mEntries;
  std::vector<uint32_t> mTargets;
  std::vector<bool> mHeld;  // an entry's read was in some input read here
  std::vector<const int*> mLookups;
};

}  // namespace ostrel

#endif
