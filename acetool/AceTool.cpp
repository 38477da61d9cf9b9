// ostrel-ace: the subcommand dispatch and what the subcommands share.
#include "acetool/AceTool.h"

#include <cstring>
#include <iostream>

#include "util/FileUtil.h"
#include "util/GetOption.h"

namespace ostrel {

namespace {

void PrintUsage(std::ostream& out) {
  out << "Usage: ostrel-ace SUBCOMMAND [options] in.ace[.gz] ...\n"
      << "\n"
      << "Subcommands over an ACE assembly, plain or gzip-compressed:\n"
      << "  stats   the figures by which it is judged\n"
      << "  write   reads it and writes it back, its consensus recomputed with -c\n"
      << "  fasta   every contig's trimmed consensus as FASTA\n"
      << "  view    the alignment of a contig or a stretch of it\n"
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

const Subcommand kSubcommands[] = {
    {"stats", RunStats}, {"write", RunWrite}, {"fasta", RunFasta}, {"view", RunView}};

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

int ScanOptions(int argc, char** argv, const char* optionString, void (*usage)(std::ostream&),
                const std::function<bool(char, const std::string&)>& take, size_t fileCount,
                std::vector<std::string>& files) {
  GetOption options(argc, argv, optionString);
  for (char letter = options.NextOption(); letter != '0'; letter = options.NextOption()) {
    if (letter == 'h') {
      usage(std::cout);
      return 0;
    }
    const char* known = letter == '?' ? nullptr : std::strchr(optionString, letter);
    const bool takesArgument = known != nullptr && known[1] == ':';
    if (known == nullptr || !take(letter, takesArgument ? options.NextArg() : std::string())) {
      usage(std::cerr);
      return 1;
    }
  }
  for (std::string word = options.GetFreeArg(); !word.empty(); word = options.GetFreeArg()) files.push_back(word);
  if (files.size() != fileCount) {
    usage(std::cerr);
    return 1;
  }
  return -1;
}

bool ReadAssembly(AceFile& ace, const std::string& aceName, const std::string& qualName) {
  for (const std::string& name : {aceName, qualName}) {
    if (!name.empty() && !FileExists(name)) {
      std::cerr << "Unable to open " << name << std::endl;
      return false;
    }
  }
  if (qualName.empty()) {
    ace.Read(aceName);
  } else {
    ace.ReadAll(aceName, qualName);
    ace.ComputeAllContigStats();
  }
  if (!ace.mRecordsFound) {
    std::cerr << aceName << " holds no ACE records (no \"AS\" or \"CO\" line)" << std::endl;
    return false;
  }
  return true;
}

}  // namespace ostrel
