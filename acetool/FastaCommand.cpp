// ostrel-ace fasta: every contig's trimmed, depadded consensus as FASTA.
#include <iostream>

#include "acetool/AceTool.h"
#include "util/NumberUtil.h"

namespace ostrel {

namespace {

void PrintUsage(std::ostream& out) {
  out << "Usage: ostrel-ace fasta [-t trimQuality] [-b minLength] in.ace[.gz]\n"
      << "\n"
      << "Writes every contig's consensus between its trims, pads removed, as FASTA on\n"
      << "standard output, " << kFastaLineWidth << " bases to a line. A contig without trimmed bases gets\n"
      << "no record; how many were left out is said on standard error.\n"
      << "\n"
      << "  -t INT   quality a consensus column needs to lie inside the trims [" << kDefaultTrimQuality << "]\n"
      << "  -b INT   the consensus cut to the reads of BAC ends instead, for contigs whose\n"
      << "           BAC-trimmed range spans at least INT columns (50 bases to a line);\n"
      << "           the reads count whole, as the ACE file carries no read qualities\n"
      << "  -h       this text\n";
}

}  // namespace

int RunFasta(int argc, char** argv) {
  int trimQuality = kDefaultTrimQuality;
  int minLength = -1;  // no BAC trimming
  std::vector<std::string> files;
  const int status = ScanOptions(
      argc, argv, "t:b:", PrintUsage,
      [&](char letter, const std::string& value) { return ParseCount(value, letter == 't' ? trimQuality : minLength); },
      1, 1, files);
  if (status >= 0) return status;
  AceFile ace;
  ace.mContigTrimQuality = trimQuality;
  if (minLength >= 0) ace.mReadTrimQuality = 0;
  int leftOut = 0;
  AssemblyTally tally(ace.mMinContigSize);
  // Each contig is written as it is read: memory holds one at a time.
  const bool read = StreamAssembly(
      ace, files[0], "",
      [&](Contig& contig) {
        if (minLength >= 0) {
          ace.CalculateBACContigTrims(trimQuality);  // the one contig held
          if (contig.PrintBACTrimmedContig(std::cout, minLength) == 0) ++leftOut;
          return;
        }
        Sequence trimmed;
        contig.GetTrimmedDepadded(trimmed);
        if (trimmed.mBases.empty())
          ++leftOut;
        else
          trimmed.PrintFASTA(std::cout, kFastaLineWidth);
      },
      tally);
  std::cout.flush();
  if (!read) return 1;
  if (leftOut > 0)
    std::cerr << leftOut << (leftOut == 1 ? " contig" : " contigs") << " without trimmed bases left out" << std::endl;
  return AssemblyStatus(ace);
}

}  // namespace ostrel
