// ostrel-ace trim-tails: unmated reads dropped from the low-coverage ends of
// every contig; contigs without sound ends listed, and removed on request.
#include <iostream>

#include "acetool/AceTool.h"
#include "contig/AssemblyEdits.h"
#include "contig/WindowTests.h"
#include "util/NumberUtil.h"

namespace ostrel {

namespace {

constexpr const char* kRemoveMarked = "--remove-marked";

void PrintUsage(std::ostream& out) {
  out << "Usage: ostrel-ace trim-tails [-q reads.qual] [-w trimWindow] [-H trimHeight] [--remove-marked]\n"
      << "                            in.ace[.gz] out.ace[.gz]\n"
      << "\n"
      << "Finds each contig's low-coverage ends on its read depth: an end runs up to the\n"
      << "first window of trimWindow columns whose mean depth reaches trimHeight. The\n"
      << "reads reaching into an end without a mate in the contig are removed, and the\n"
      << "ends are voted anew. A contig without such a window is not changed but\n"
      << "marked, and listed; --remove-marked removes the marked contigs.\n"
      << "\n"
      << "  -q FILE  read qualities, which the consensus vote weighs the reads by (without\n"
      << "           them, columns whose reads are unchanged keep their base and the\n"
      << "           others go by a majority of the reads' bases)\n"
      << "  -w INT   window length in columns [" << trimWindow << "]\n"
      << "  -H FLOAT mean read depth an end's window must reach [" << trimHeight << "]\n"
      << "  --remove-marked  remove the contigs marked\n"
      << "  -h       this text\n";
}

}  // namespace

int RunTrimTails(int argc, char** argv) {
  // The long option is taken out before the letters are scanned.
  bool removeMarked = false;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && std::string(argv[i]) == kRemoveMarked)
      removeMarked = true;
    else
      args.push_back(argv[i]);
  }
  std::string qualName;
  int window = trimWindow;
  float height = trimHeight;
  std::vector<std::string> files;
  const int status = ScanOptions(
      static_cast<int>(args.size()), args.data(), "q:w:H:", PrintUsage,
      [&](char letter, const std::string& value) {
        if (letter == 'q') qualName = value;
        if (letter == 'w') return ParseCount(value, window) && window > 0;
        if (letter == 'H') return ParseAmount(value, height);
        return true;
      },
      2, 2, files);
  if (status >= 0) return status;
  trimWindow = window;
  trimHeight = height;
  return RunEdit(files[0], qualName, files[1], [&](AceFile& ace, std::ostream& summary) {
    std::vector<std::string> removed, markedNames;
    TrimAllTails(ace, removed, markedNames, removeMarked);
    summary << "Reads removed from contig ends: " << removed.size() << '\n';
    if (!markedNames.empty()) {
      summary << (removeMarked ? "Marked and removed:" : "Marked for removal:");
      for (const std::string& name : markedNames) summary << ' ' << name;
      summary << '\n';
    }
    return true;
  });
}

}  // namespace ostrel
