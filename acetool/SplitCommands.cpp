// ostrel-ace split and problems: contigs cut at regions given by hand, or at
// the regions the checkpoint rules propose.
#include <iostream>

#include "acetool/AceTool.h"
#include "contig/AssemblyEdits.h"
#include "contig/Checkpoints.h"
#include "contig/SplitRules.h"
#include "util/GzStream.h"
#include "util/NumberUtil.h"

namespace ostrel {

namespace {

constexpr int kDefaultMaxDistance = 10000;  // columns between a left and a right checkpoint that pair

void PrintSplitUsage(std::ostream& out) {
  out << "Usage: ostrel-ace split [-q reads.qual] [-m minSize] in.ace[.gz] out.ace[.gz] CONTIG:FROM-TO...\n"
      << "\n"
      << "Cuts each named contig at the suspect regions FROM-TO (1-based padded\n"
      << "positions, pads counted): reads left of a region stay in the contig (named\n"
      << "with L appended), reads right of it go to a new contig (R), reads inside it\n"
      << "or covering its ends without a mate in the contig to another (M); the\n"
      << "consensus of each piece is voted anew. A piece without template coverage\n"
      << "shorter than minSize columns is dropped. The assembly goes to out.ace.\n"
      << "\n"
      << "  -q FILE  read qualities, which the consensus vote weighs the reads by (without\n"
      << "           them, columns whose reads are unchanged keep their base and the\n"
      << "           others go by a majority of the reads' bases)\n"
      << "  -m INT   padded length from which a piece without templates is kept ["
      << kDefaultMinContigSize << "]\n"
      << "  -h       this text\n";
}

void PrintProblemsUsage(std::ostream& out) {
  out << "Usage: ostrel-ace problems [-q reads.qual] [-d maxDistance] [-m minSize]\n"
      << "                           in.ace[.gz] checkpoints.tsv [out.ace[.gz]]\n"
      << "\n"
      << "Reads checkpoints, suspect regions of contigs, one per line: contig, side\n"
      << "(left or right), first and last 0-based padded column, tab-separated; lines\n"
      << "starting with # are comments. A left and a right checkpoint of one contig\n"
      << "closer than maxDistance are paired into one. Each checkpoint is judged on\n"
      << "the contig's template, span and BAC coverage, and its rule and the region\n"
      << "to cut are printed. With out.ace the contigs are cut there (as by split)\n"
      << "and the assembly is written to out.ace.\n"
      << "\n"
      << "  -q FILE  read qualities, which the consensus vote weighs the reads by (without\n"
      << "           them, columns whose reads are unchanged keep their base and the\n"
      << "           others go by a majority of the reads' bases)\n"
      << "  -d INT   columns within which a left and a right checkpoint pair ["
      << kDefaultMaxDistance << "]\n"
      << "  -m INT   padded length from which a piece without templates is kept ["
      << kDefaultMinContigSize << "]\n"
      << "  -h       this text\n";
}

// The regions to cut one contig at, 0-based padded consensus indexes.
struct ContigCuts {
  std::string mContig;
  std::vector<int> mStarts;
  std::vector<int> mEnds;
};

ContigCuts& CutsOf(std::vector<ContigCuts>& cuts, const std::string& contig) {
  for (ContigCuts& entry : cuts)
    if (entry.mContig == contig) return entry;
  cuts.push_back({contig, {}, {}});
  return cuts.back();
}

// True when every contig named is in the assembly and each of its regions
// lies inside it; else false, with a message naming the first that is not.
bool RegionsInside(const AceFile& ace, const std::vector<ContigCuts>& cuts, const std::string& aceName) {
  for (const ContigCuts& entry : cuts) {
    const int k = FindContig(ace, entry.mContig, aceName);
    if (k < 0) return false;
    const size_t columns = ace[k].mBases.size();
    for (size_t r = 0; r < entry.mStarts.size(); ++r) {
      if (entry.mStarts[r] >= 0 && entry.mEnds[r] >= entry.mStarts[r] && static_cast<size_t>(entry.mEnds[r]) < columns)
        continue;
      std::cerr << "ostrel-ace split: " << entry.mContig << ':' << entry.mStarts[r] + 1 << '-' << entry.mEnds[r] + 1
                << " lies outside " << entry.mContig << " (1-" << columns << ")" << std::endl;
      return false;
    }
  }
  return true;
}

// Cuts each contig at its regions, one contig after the other: the pieces
// are appended to the assembly, so each contig is found by name when its
// turn comes.
bool ApplyCuts(AceFile& ace, std::vector<ContigCuts>& cuts, int minSize, const std::string& aceName,
               std::ostream& summary) {
  for (ContigCuts& entry : cuts) {
    const int k = FindContig(ace, entry.mContig, aceName);
    if (k < 0) return false;
    CutContig(ace, k, minSize, entry.mStarts, entry.mEnds);
    summary << "Cut " << entry.mContig << " at " << entry.mStarts.size()
            << (entry.mStarts.size() == 1 ? " region\n" : " regions\n");
  }
  return true;
}

}  // namespace

int RunSplit(int argc, char** argv) {
  std::string qualName;
  int minSize = kDefaultMinContigSize;
  std::vector<std::string> words;
  const int status = ScanOptions(
      argc, argv, "q:m:", PrintSplitUsage,
      [&](char letter, const std::string& value) {
        if (letter == 'q') qualName = value;
        return letter == 'q' || ParseCount(value, minSize);
      },
      3, kAnyNumber, words);
  if (status >= 0) return status;
  std::vector<ContigCuts> cuts;
  for (size_t w = 2; w < words.size(); ++w) {
    std::string contig;
    int from = 0, to = 0;
    ParseRegion(words[w], contig, from, to);
    if (from < 1 || to < from) {
      std::cerr << "ostrel-ace split: " << words[w] << " is not CONTIG:FROM-TO with 1 <= FROM <= TO" << std::endl;
      return 1;
    }
    ContigCuts& entry = CutsOf(cuts, contig);
    entry.mStarts.push_back(from - 1);
    entry.mEnds.push_back(to - 1);
  }
  return RunEdit(words[0], qualName, words[1], [&](AceFile& ace, std::ostream& summary) {
    // Every region is checked before the first cut, so that a bad one
    // changes nothing.
    return RegionsInside(ace, cuts, words[0]) && ApplyCuts(ace, cuts, minSize, words[0], summary);
  });
}

int RunProblems(int argc, char** argv) {
  std::string qualName;
  int maxDistance = kDefaultMaxDistance;
  int minSize = kDefaultMinContigSize;
  std::vector<std::string> words;
  const int status = ScanOptions(
      argc, argv, "q:d:m:", PrintProblemsUsage,
      [&](char letter, const std::string& value) {
        if (letter == 'q') qualName = value;
        return letter == 'q' || ParseCount(value, letter == 'd' ? maxDistance : minSize);
      },
      2, 3, words);
  if (status >= 0) return status;
  igzstream in(words[1]);
  if (!in.is_open()) {
    std::cerr << "Unable to open " << words[1] << std::endl;
    return 1;
  }
  ContigChecks checks;
  ReadCheckpoints(in, words[1], checks);

  // The pairing and the rules are the report: they go to `report`.
  auto judge = [&](AceFile& ace, std::ostream& report, std::vector<ContigCuts>& cuts) {
    std::streambuf* saved = std::cout.rdbuf(report.rdbuf());
    checks.MergePairs(maxDistance);
    for (Contig& contig : ace) {
      contig.GetTemplateInfo(contig.mTemplates);
      ContigCuts entry{contig.mName, {}, {}};
      IdentifySplits(contig, checks, entry.mStarts, entry.mEnds);
      if (!entry.mStarts.empty()) cuts.push_back(entry);
    }
    std::cout.rdbuf(saved);
  };
  std::vector<ContigCuts> cuts;
  if (words.size() == 2) {
    AceFile ace;
    {
      std::streambuf* saved = std::cout.rdbuf(std::cerr.rdbuf());  // reading notes are not the report
      const bool read = ReadAssembly(ace, words[0], qualName);
      std::cout.rdbuf(saved);
      if (!read) return 1;
    }
    judge(ace, std::cout, cuts);
    return AssemblyStatus(ace);
  }
  return RunEdit(words[0], qualName, words[2], [&](AceFile& ace, std::ostream& summary) {
    judge(ace, summary, cuts);
    return ApplyCuts(ace, cuts, minSize, words[0], summary);
  });
}

}  // namespace ostrel
