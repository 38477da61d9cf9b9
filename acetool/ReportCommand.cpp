// ostrel-ace report: an assembly's figures, length curves, depth profiles
// and contig table as one self-contained HTML page.
#include <iostream>

#include "ace/AssemblyReport.h"
#include "acetool/AceTool.h"
#include "util/NumberUtil.h"
#include "util/OutputFile.h"

namespace ostrel {

namespace {

void PrintUsage(std::ostream& out) {
  out << "Usage: ostrel-ace report [-q reads.qual] [-m minContigSize] [-g genomeSize] [-n contigs]\n"
      << "                         in.ace[.gz] report.html\n"
      << "\n"
      << "Writes one HTML page, readable offline (inline SVG and CSS, nothing fetched):\n"
      << "the figures of stats -a, the Nx and cumulative-length curves, a histogram of\n"
      << "contig lengths, the read and template depth along the largest contigs (their\n"
      << "consensus-quality trims marked, low-coverage tails and crashes shaded) and a\n"
      << "table of every contig. The assembly is read contig by contig.\n"
      << "\n"
      << "  -q FILE  read qualities (plain or gzip-compressed)\n"
      << "  -m INT   padded length from which a contig counts in the figures and length\n"
      << "           plots [" << kDefaultMinContigSize << "]\n"
      << "  -g SIZE  expected genome size, for NG50 and LG50 (k, m and g suffixes taken)\n"
      << "  -n INT   depth profiles of this many of the largest contigs [" << kDefaultReportProfiles << "]\n"
      << "  -h       this text\n";
}

}  // namespace

int RunReport(int argc, char** argv) {
  std::string qualName;
  int minContigSize = kDefaultMinContigSize;
  int64_t genomeSize = 0;
  int profiles = kDefaultReportProfiles;
  std::vector<std::string> files;
  const int status = ScanOptions(
      argc, argv, "q:m:g:n:", PrintUsage,
      [&](char letter, const std::string& value) {
        switch (letter) {
          case 'q': qualName = value; return true;
          case 'g': return ParseSize(value, genomeSize);
          default: return ParseCount(value, letter == 'm' ? minContigSize : profiles);
        }
      },
      2, 2, files);
  if (status >= 0) return status;
  AceFile ace;
  ace.mMinContigSize = minContigSize;
  ace.mReadTrimQuality = ace.mContigTrimQuality = kDefaultTrimQuality;
  AssemblyReport report(static_cast<size_t>(profiles));
  if (!report.Open()) {
    std::cerr << "ostrel-ace: no temporary file for the contig table" << std::endl;
    return 1;
  }
  AssemblyTally tally(minContigSize);
  if (!StreamAssembly(ace, files[0], qualName, [&](const Contig& contig) { report.Add(contig); }, tally)) return 1;
  OutputFile out;
  bool written = out.Open(files[1], false);
  if (written) written = report.Write(out, files[0], tally.Figures(genomeSize), tally.FigureLengths()) && out.Commit();
  if (!written) {
    std::cerr << "Unable to write " << files[1] << ": " << out.Error() << std::endl;
    return 1;
  }
  return AssemblyStatus(ace);
}

}  // namespace ostrel
