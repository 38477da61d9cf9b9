// ostrel-ace revcomp, remove and merge: whole-contig edits of an assembly.
#include <iostream>

#include "acetool/AceTool.h"
#include "contig/AssemblyEdits.h"
#include "contig/Cleanup.h"
#include "util/NumberUtil.h"

namespace ostrel {

namespace {

void PrintRevcompUsage(std::ostream& out) {
  out << "Usage: ostrel-ace revcomp in.ace[.gz] out.ace[.gz] CONTIG...\n"
      << "\n"
      << "Reverse-complements the named contigs: consensus, reads, qualities, trims,\n"
      << "read placements and tags, and writes the assembly to out.ace.\n"
      << "\n"
      << "  -h       this text\n";
}

void PrintRemoveUsage(std::ostream& out) {
  out << "Usage: ostrel-ace remove in.ace[.gz] out.ace[.gz] CONTIG...\n"
      << "\n"
      << "Removes the named contigs with their reads and writes the assembly to\n"
      << "out.ace.\n"
      << "\n"
      << "  -h       this text\n";
}

void PrintMergeUsage(std::ostream& out) {
  out << "Usage: ostrel-ace merge [-q reads.qual] in.ace[.gz] out.ace[.gz] LEFT RIGHT OFFSET\n"
      << "\n"
      << "Puts the reads of contig RIGHT into contig LEFT, OFFSET columns to the right\n"
      << "of where they lie in RIGHT (0-based padded columns of LEFT), votes LEFT's\n"
      << "consensus from OFFSET on anew, and writes the assembly, RIGHT gone, to\n"
      << "out.ace. OFFSET may not pass the end of LEFT.\n"
      << "\n"
      << "  -q FILE  read qualities, which the consensus vote weighs the reads by (without\n"
      << "           them, columns whose reads are unchanged keep their base and the\n"
      << "           others go by a majority of the reads' bases)\n"
      << "  -h       this text\n";
}

// The contig names that follow the two file names must all be in the
// assembly.
bool AllNamed(const AceFile& ace, const std::vector<std::string>& words, const std::string& aceName) {
  bool found = true;
  for (size_t w = 2; w < words.size(); ++w) found = FindContig(ace, words[w], aceName) >= 0 && found;
  return found;
}

}  // namespace

int RunRevcomp(int argc, char** argv) {
  std::vector<std::string> words;
  const int status =
      ScanOptions(argc, argv, "", PrintRevcompUsage, [](char, const std::string&) { return false; }, 3, kAnyNumber,
                  words);
  if (status >= 0) return status;
  return RunEdit(words[0], "", words[1], [&](AceFile& ace, std::ostream& summary) {
    if (!AllNamed(ace, words, words[0])) return false;
    summary << "Reversed:";
    for (size_t w = 2; w < words.size(); ++w) {
      ace[FindContig(ace, words[w], words[0])].ReverseComplementContig();
      summary << ' ' << words[w];
    }
    summary << '\n';
    return true;
  });
}

int RunRemove(int argc, char** argv) {
  std::vector<std::string> words;
  const int status =
      ScanOptions(argc, argv, "", PrintRemoveUsage, [](char, const std::string&) { return false; }, 3, kAnyNumber,
                  words);
  if (status >= 0) return status;
  return RunEdit(words[0], "", words[1], [&](AceFile& ace, std::ostream& summary) {
    if (!AllNamed(ace, words, words[0])) return false;
    std::vector<std::string> names(words.begin() + 2, words.end());
    RemoveContigs(ace, names);
    summary << "Removed:";
    for (const std::string& name : names) summary << ' ' << name;
    summary << '\n';
    return true;
  });
}

int RunMerge(int argc, char** argv) {
  std::string qualName;
  std::vector<std::string> words;
  const int status = ScanOptions(
      argc, argv, "q:", PrintMergeUsage,
      [&](char, const std::string& value) {
        qualName = value;
        return true;
      },
      5, 5, words);
  if (status >= 0) return status;
  int offset = 0;
  if (!ParseCount(words[4], offset)) {
    PrintMergeUsage(std::cerr);
    return 1;
  }
  return RunEdit(words[0], qualName, words[1], [&](AceFile& ace, std::ostream& summary) {
    const int left = FindContig(ace, words[2], words[0]);
    const int right = FindContig(ace, words[3], words[0]);
    if (left < 0 || right < 0) return false;
    if (left == right) {
      std::cerr << "ostrel-ace merge: a contig cannot be merged with itself" << std::endl;
      return false;
    }
    // Past LEFT's end the columns between the two would hold no read.
    if (static_cast<size_t>(offset) > ace[left].mBases.size()) {
      std::cerr << "ostrel-ace merge: offset " << offset << " lies past the end of " << words[2] << " ("
                << ace[left].mBases.size() << " columns)" << std::endl;
      return false;
    }
    const size_t moved = MergeContigs(ace, left, right, offset);  // RIGHT, left without reads, is dropped
    summary << "Merged " << words[3] << " into " << words[2] << " at column " << offset << ": " << moved
            << (moved == 1 ? " read" : " reads") << " moved\n";
    return true;
  });
}

}  // namespace ostrel
