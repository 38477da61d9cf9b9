// ostrel-ace write: an assembly read and written back, its consensus
// recomputed from the reads on request.
#include <iostream>

#include "acetool/AceTool.h"

#include "ace/AceContigWriter.h"
#include "util/NumberUtil.h"

namespace ostrel {

namespace {

void PrintUsage(std::ostream& out) {
  out << "Usage: ostrel-ace write [-q reads.qual] [-c] in.ace[.gz] out.ace[.gz]\n"
      << "\n"
      << "Reads an assembly and writes it back as an ACE file (gzip-compressed when the\n"
      << "name ends in .gz), its tags kept. The file is written whole or not at all.\n"
      << "\n"
      << "  -q FILE  read qualities (plain or gzip-compressed)\n"
      << "  -c       recompute every contig's consensus, its qualities and base segments\n"
      << "           from the reads first (needs -q: without read qualities every\n"
      << "           column would be a tie); how many columns kept their base is said\n"
      << "           on standard error\n"
      << "  -h       this text\n";
}

}  // namespace

int RunWrite(int argc, char** argv) {
  std::string qualName;
  bool recompute = false;
  std::vector<std::string> files;
  const int status = ScanOptions(
      argc, argv, "q:c", PrintUsage,
      [&](char letter, const std::string& value) {
        if (letter == 'c') return recompute = true;
        qualName = value;
        return true;
      },
      2, 2, files);
  if (status >= 0) return status;
  if (recompute && qualName.empty()) {
    std::cerr << "ostrel-ace write: -c votes the consensus from the read qualities, and needs -q reads.qual"
              << std::endl;
    return 1;
  }
  // Each contig is written as it is read: memory holds two at a time.
  AceFile ace;
  AceContigWriter writer;
  AssemblyTally tally(ace.mMinContigSize);
  int64_t kept = 0;
  int64_t columns = 0;
  auto write = [&](Contig& contig) {
    if (recompute) {
      kept += contig.RecomputeConsensus();
      columns += static_cast<int64_t>(contig.mBases.size());
    }
    writer.Add(contig, ace.mTags);
  };
  if (!writer.Open(files[1]) || !StreamAssembly(ace, files[0], qualName, write, tally)) return 1;
  if (recompute)
    std::cerr << "Consensus recomputed: " << kept << " of " << columns << " columns kept their base ("
              << ftoa(columns > 0 ? 100.0f * static_cast<float>(kept) / static_cast<float>(columns) : 100.0f, "%.2f")
              << "%)" << std::endl;
  if (!writer.Finish(ace.TagsInFileOrder())) return 1;
  return AssemblyStatus(ace);
}

}  // namespace ostrel
