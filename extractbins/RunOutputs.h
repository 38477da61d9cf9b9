// The output files of one run of ostrel-extractbins. Each output is opened
// once for every input that holds some of its bin's records, and is either
// appended to (the default: what it held stays in front) or written fresh:
// then its records go to a temporary file beside it, which replaces it only
// when the run has written all of it, so that an interrupted or failed run
// leaves the output as it was (an interrupt, hangup or termination removes
// the temporary files as it ends the process). Folders missing on the way to
// an output are made (mode 0777 less the file-creation mask); new files get
// 0664 less it.
#ifndef OSTREL_EXTRACTBINS_RUNOUTPUTS_H
#define OSTREL_EXTRACTBINS_RUNOUTPUTS_H

#include <cstddef>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

namespace ostrel {

class RunOutputs {
public:
  explicit RunOutputs(bool fresh) : mFresh(fresh) {}
  ~RunOutputs();  // removes the temporary files of a run that did not finish
  RunOutputs(const RunOutputs&) = delete;
  RunOutputs& operator=(const RunOutputs&) = delete;

  // Opens output `name` for appending the records of one input; `output`
  // identifies it for Close. Names of one file (binA and ./binA) are one
  // output. -1 when it cannot be opened, after printing "<name> open
  // failed: <reason>." on standard output; also, silently, for a fresh
  // output that failed before (it will not replace the file).
  int Open(const std::string& name, size_t& output);
  // The place among the run's outputs of output `name`, as Open gives it.
  size_t Identify(const std::string& name) { return Find(name); }
  // The file output `output` is being written to: its temporary file when
  // fresh.
  const std::string& FileOf(size_t output) const;
  // Closes what Open gave; `written` is false when a write to it failed,
  // which keeps a fresh output from replacing the file. False when the
  // close failed.
  bool Close(size_t output, int fd, bool written);
  // Ends the run. Fresh outputs replace their files; one with a failed
  // open or write is left as it was, which is said on standard output.
  // Appended outputs that already held bytes before the run are counted in
  // one line on `notes`. False when some output could not be put in place.
  bool Finish(std::ostream& notes);

private:
  struct Output {
    std::string mName;
    std::string mTempName;  // fresh: "" until its temporary file is made
    size_t mSignalPlace = 0;  // the temporary file's place among those removed on a signal
    bool mOpened = false;   // opened once this run
    bool mFailed = false;   // an open or write failed
  };

  size_t Find(const std::string& name);  // the output's place in mOutputs, added when new
  int OpenFirst(Output& output);
  void RemoveTemporaryFile(Output& output);

  bool mFresh;
  std::vector<Output> mOutputs;
  std::unordered_map<std::string, size_t> mByName;  // as given
  std::unordered_map<std::string, size_t> mByPath;  // the file's path, folders resolved
  size_t mHeldBytes = 0;                            // appended outputs not empty before the run
};

}  // namespace ostrel

#endif
