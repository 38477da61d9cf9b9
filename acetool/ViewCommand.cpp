// ostrel-ace view: the alignment of a contig or a stretch of it.
#include <iostream>

#include "acetool/AceTool.h"
#include "util/NumberUtil.h"

namespace ostrel {

namespace {

void PrintUsage(std::ostream& out) {
  out << "Usage: ostrel-ace view [-q] [-w width] in.ace[.gz] CONTIG[:FROM-TO]\n"
      << "\n"
      << "Prints the consensus and every read of a contig in windows, the whole contig\n"
      << "or the windows from padded position FROM to TO (1-based, pads counted). A\n"
      << "consensus column below quality " << kDefaultTrimQuality << " shows as '-', a column past the end as '.',\n"
      << "a read's masked X ends as '%'; the reads count whole, as the ACE file carries\n"
      << "no read qualities.\n"
      << "\n"
      << "  -q       with the quality values under each row\n"
      << "  -w INT   columns per window [" << kDefaultViewWidth << "]\n"
      << "  -h       this text\n";
}

}  // namespace

int RunView(int argc, char** argv) {
  bool withQualities = false;
  int width = kDefaultViewWidth;
  std::vector<std::string> files;
  const int status = ScanOptions(
      argc, argv, "qw:", PrintUsage,
      [&](char letter, const std::string& value) {
        if (letter == 'q') return withQualities = true;
        return ParseCount(value, width) && width > 0;
      },
      2, 2, files);
  if (status >= 0) return status;
  std::string name;
  int from = 0;
  int to = 0;
  ParseRegion(files[1], name, from, to);
  AceFile ace;
  ace.mReadTrimQuality = 0;
  // The contig is printed as it comes, and the file read on to its end, so
  // that a fault further on is said and sets the status as before.
  enum { kNotFound, kShown, kOutside } found = kNotFound;
  int columns = 0;
  AssemblyTally tally(ace.mMinContigSize);
  const bool read = StreamAssembly(
      ace, files[0], "",
      [&](Contig& contig) {
        if (found != kNotFound || contig.mName != name) return;
        columns = static_cast<int>(contig.mBases.size());
        if (from >= 0 && (from < 1 || from > to || from > columns)) {
          found = kOutside;
          return;
        }
        found = kShown;
        contig.mWindowWidth = width;
        const int start = from >= 0 ? from - 1 : 0;
        const int end = from >= 0 ? std::min(to, columns) - 1 : -1;
        // Every row's name as wide as the longest, so the columns line up.
        if (withQualities)
          contig.PrintAlignmentWithQuality(std::cout, start, end, contig.NameWidth());
        else
          contig.PrintAlignment(std::cout, start, end, contig.NameWidth());
      },
      tally);
  if (!read) return 1;
  if (found == kOutside) {
    std::cerr << "ostrel-ace view: " << files[1] << " lies outside " << name << " (1-" << columns << ")" << std::endl;
    return 1;
  }
  if (found == kShown) return AssemblyStatus(ace);
  std::cerr << "ostrel-ace view: no contig " << name << " in " << files[0] << std::endl;
  return 1;
}

}  // namespace ostrel
