// ostrel-ace: the subcommand dispatch and what the subcommands share.
#include "acetool/AceTool.h"

#include <cstring>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "ace/AceContigReader.h"
#include "contig/AssemblyEdits.h"
#include "seq/QualityRecordFile.h"
#include "util/FileUtil.h"
#include "util/NumberUtil.h"

namespace ostrel {

namespace {

void PrintUsage(std::ostream& out) {
  out << "Usage: ostrel-ace SUBCOMMAND [options] in.ace[.gz] ...\n"
      << "\n"
      << "Subcommands over an ACE assembly, plain or gzip-compressed:\n"
      << "  stats   the figures by which it is judged\n"
      << "  report  an HTML page of its figures, length curves and contig depths\n"
      << "  write   reads it and writes it back, its consensus recomputed with -c\n"
      << "  fasta   every contig's trimmed consensus as FASTA\n"
      << "  view    the alignment of a contig or a stretch of it\n"
      << "  split   cuts contigs at given regions\n"
      << "  revcomp reverse-complements contigs\n"
      << "  remove  removes contigs\n"
      << "  merge   puts one contig to the right of another\n"
      << "  trim-tails  drops unmated reads from low-coverage contig ends\n"
      << "  problems    judges checkpoints and proposes (or makes) the splits\n"
      << "\n"
      << "ostrel-ace SUBCOMMAND -h describes each.\n"
      << "\n"
      << "Exit status: 0; 1 for bad options, a file that cannot be read or written, or\n"
      << "one that holds no ACE records; 2 when the assembly read is not sound (damaged\n"
      << "or truncated input, counts that disagree with the records).\n";
}

struct Subcommand {
  const char* mName;
  int (*mRun)(int, char**);
};

const Subcommand kSubcommands[] = {{"stats", RunStats},     {"report", RunReport},
                                   {"write", RunWrite},       {"fasta", RunFasta},
                                   {"view", RunView},       {"split", RunSplit},       {"revcomp", RunRevcomp},
                                   {"remove", RunRemove},   {"merge", RunMerge},       {"trim-tails", RunTrimTails},
                                   {"problems", RunProblems}};

// Sends what is written to standard output to standard error while it lives.
class ProgressToStderr {
public:
  ProgressToStderr() : mSaved(std::cout.rdbuf(std::cerr.rdbuf())) {}
  ~ProgressToStderr() { std::cout.rdbuf(mSaved); }
  ProgressToStderr(const ProgressToStderr&) = delete;
  ProgressToStderr& operator=(const ProgressToStderr&) = delete;

private:
  std::streambuf* mSaved;
};

long CountReads(const AceFile& ace) {
  long reads = 0;
  for (const Contig& contig : ace) reads += static_cast<long>(contig.mReads.size());
  return reads;
}

}  // namespace

int RunAceTool(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    PrintUsage(std::cout);
    return 0;
  }
  for (const Subcommand& subcommand : kSubcommands)
    if (argc >= 2 && std::strcmp(argv[1], subcommand.mName) == 0) return subcommand.mRun(argc - 1, argv + 1);
  if (argc >= 2) std::cerr << "ostrel-ace: unknown subcommand " << argv[1] << "\n";
  PrintUsage(std::cerr);
  return 1;
}

namespace {

bool FilesExist(const std::string& aceName, const std::string& qualName) {
  for (const std::string& name : {aceName, qualName}) {
    if (!name.empty() && !FileExists(name)) {
      std::cerr << "Unable to open " << name << std::endl;
      return false;
    }
  }
  return true;
}

bool RecordsFound(const AceFile& ace, const std::string& aceName) {
  if (!ace.mRecordsFound) std::cerr << aceName << " holds no ACE records (no \"AS\" or \"CO\" line)" << std::endl;
  return ace.mRecordsFound;
}

}  // namespace

bool ReadAssembly(AceFile& ace, const std::string& aceName, const std::string& qualName) {
  if (!FilesExist(aceName, qualName)) return false;
  if (qualName.empty()) {
    ace.Read(aceName);
  } else {
    ace.ReadAll(aceName, qualName);
    ace.ComputeAllContigStats();
  }
  return RecordsFound(ace, aceName);
}

bool StreamAssembly(AceFile& ace, const std::string& aceName, const std::string& qualName,
                    const std::function<void(Contig&)>& each, AssemblyTally& tally) {
  if (!FilesExist(aceName, qualName)) return false;
  QualityRecordFile qualities;
  if (!qualName.empty() && !qualities.Open(qualName)) {
    if (!ReadAssembly(ace, aceName, qualName)) return false;
    ace.GatherTags();  // where the contig-by-contig reading keeps them
    for (Contig& contig : ace) each(contig);
    tally = ace.Tally();
    return true;
  }
  AceContigReader reader(ace);
  if (!reader.Open(aceName, qualName.empty() ? nullptr : &qualities)) return false;
  while (reader.Next()) each(ace[0]);
  tally = reader.Tally();
  return RecordsFound(ace, aceName);
}

void ParseRegion(const std::string& region, std::string& contig, int& from, int& to) {
  contig = region;
  from = to = -1;
  const size_t colon = region.rfind(':');
  if (colon == std::string::npos) return;
  const size_t dash = region.find('-', colon);
  if (dash == std::string::npos) return;
  int first = 0;
  int last = 0;
  if (!ParseCount(region.substr(colon + 1, dash - colon - 1), first) || !ParseCount(region.substr(dash + 1), last))
    return;
  contig = region.substr(0, colon);
  from = first;
  to = last;
}

int FindContig(const AceFile& ace, const std::string& name, const std::string& aceName) {
  for (size_t c = 0; c < ace.size(); ++c)
    if (ace[c].mName == name) return static_cast<int>(c);
  std::cerr << "ostrel-ace: no contig " << name << " in " << aceName << std::endl;
  return -1;
}

int RunEdit(const std::string& inName, const std::string& qualName, const std::string& outName,
            const std::function<bool(AceFile&, std::ostream&)>& edit) {
  std::error_code error;
  if (outName == inName || std::filesystem::equivalent(inName, outName, error)) {
    std::cerr << "ostrel-ace: " << outName << " is the input; the edit is written to another file" << std::endl;
    return 1;
  }
  AceFile ace;
  std::ostringstream summary;
  size_t contigsBefore = 0;
  long readsBefore = 0;
  std::vector<std::string> dropped;
  {
    ProgressToStderr progress;
    if (!ReadAssembly(ace, inName, qualName)) return 1;
    contigsBefore = ace.size();
    readsBefore = CountReads(ace);
    // Without read qualities every read character weighs 0 and every
    // weighed vote would tie.
    if (qualName.empty()) {
      for (Contig& contig : ace) contig.mVoteByCount = true;
      std::cerr << "Without read qualities (-q), consensus columns whose reads the edit leaves as they were keep\n"
                   "their base and quality; the others are voted by a plain majority of the reads' bases."
                << std::endl;
    }
    if (!edit(ace, summary)) return 1;
    dropped = DropEmptyContigs(ace);
    int64_t revoted = 0;  // in the contigs written
    for (const Contig& contig : ace) revoted += contig.mColumnsRevoted;
    if (qualName.empty()) summary << "Columns voted by majority: " << revoted << '\n';
    if (!ace.WriteAce(outName)) return 1;
  }
  std::cout << "Contigs: " << contigsBefore << " before, " << ace.size() << " after\n"
            << "Reads: " << readsBefore << " before, " << CountReads(ace) << " after\n"
            << summary.str();
  if (!dropped.empty()) {
    std::cout << "Dropped, left without reads:";
    for (const std::string& name : dropped) std::cout << ' ' << name;
    std::cout << '\n';
  }
  std::cout << std::flush;
  return AssemblyStatus(ace);
}

}  // namespace ostrel
