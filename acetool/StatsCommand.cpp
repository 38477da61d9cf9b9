// ostrel-ace stats: the figures by which an assembly is judged.
#include "acetool/AceTool.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>

#include "util/NumberUtil.h"

namespace ostrel {

namespace {

void PrintUsage(std::ostream& out) {
  out << "Usage: ostrel-ace stats [-q reads.qual] [-m minContigSize] [-t trimQuality] [-a] [-f text|tsv|json]\n"
      << "                        [-g genomeSize] in.ace[.gz]\n"
      << "\n"
      << "Reads an ACE assembly, plain or gzip-compressed, and prints its figures.\n"
      << "\n"
      << "  -q FILE  read qualities (plain or gzip-compressed); without them the reads\n"
      << "           have no good-quality parts and coverage is plain read depth\n"
      << "  -m INT   padded length from which a contig counts as large [" << kDefaultMinContigSize << "]\n"
      << "  -t INT   quality a column needs to lie inside the contig and read trims ["
      << kDefaultTrimQuality << "]\n"
      << "  -a       adds the figures assemblies are compared by (N50, N90, L50, L90, auN,\n"
      << "           lengths at 1, 5, 10, 25 and 50 kbp, GC, N per 100 kbp, consensus\n"
      << "           quality) over the large contigs\n"
      << "  -f FMT   text, or those figures alone as tsv (\"figure<TAB>value\" lines) or\n"
      << "           json [" << kDefaultStatsFormat << "]\n"
      << "  -g SIZE  expected genome size, for NG50 and LG50 (k, m and g suffixes taken)\n"
      << "  -h       this text\n";
}

// An average as printed: two decimals, and 0.00 for an average over
// nothing (no contig qualified).
std::string Average(double value) { return ftoa(std::isnan(value) ? 0.0f : static_cast<float>(value), "%.2f"); }

void PrintLargestContigs(const AssemblyTally& tally, std::ostream& out) {
  size_t nameWidth = 4;
  for (const AssemblyTally::ContigSize& contig : tally.mLargest) nameWidth = std::max(nameWidth, contig.mName.size());
  out << "Largest contigs:\n  ";
  PrintSpacePaddedString(out, static_cast<int>(nameWidth) + 2, "name");
  out << "  padded  trimmed  reads\n";
  for (const AssemblyTally::ContigSize& contig : tally.mLargest) {
    out << "  ";
    PrintSpacePaddedString(out, static_cast<int>(nameWidth) + 2, contig.mName);
    PrintSpacePaddedNum(out, 8, contig.mPadded);
    PrintSpacePaddedNum(out, 9, contig.mTrimmed);
    PrintSpacePaddedNum(out, 7, contig.mReads);
    out << "\n";
  }
}

}  // namespace

void PrintAssemblyFigures(const AceFile& ace, const AssemblyTally& tally, double readDepth,
                          const std::string& aceName, bool withQualities, std::ostream& out) {
  out << "Assembly: " << aceName << "\n"
      << "Contigs: " << ace.mNumContigs << " announced, " << tally.mContigsSeen << " seen\n"
      << "Reads: " << ace.mNumReads << " announced, " << tally.mReadsSeen << " seen\n"
      << "Consistent: " << (ace.mValid ? "yes" : "no") << "\n"
      << "Total length: " << ace.mTotalLength << " padded, " << ace.mTotalTrimmedLength << " trimmed\n"
      << "Large contigs (>= " << ace.mMinContigSize << "): " << ace.mNumLargeContigs << " of "
      << ace.mLargeContigsLength << " padded bases; " << ace.mNumLargeTrimmedContigs << " of "
      << ace.mLargeTrimmedContigsLength << " trimmed bases\n"
      << "N50: " << ace.mN50 << " padded, " << ace.mN50Trimmed << " trimmed\n"
      << "Reads in large contigs: " << ace.mNumReadsInLargeContigs << "\n"
      << "Average read depth: " << Average(readDepth) << "\n";
  if (withQualities)
    out << "Average coverage (good-quality read parts): " << Average(ace.mAverageCoverage) << " padded, "
        << Average(ace.mAverageCoverageTrimmed) << " trimmed\n";
  PrintLargestContigs(tally, out);
}

int RunStats(int argc, char** argv) {
  std::string qualName;
  int minContigSize = kDefaultMinContigSize;
  int trimQuality = kDefaultTrimQuality;
  bool allFigures = false;
  std::string format = kDefaultStatsFormat;
  int64_t genomeSize = 0;
  std::vector<std::string> files;
  const int status = ScanOptions(
      argc, argv, "q:m:t:af:g:", PrintUsage,
      [&](char letter, const std::string& value) {
        switch (letter) {
          case 'q': qualName = value; return true;
          case 'a': allFigures = true; return true;
          case 'f': format = value; return format == "text" || format == "tsv" || format == "json";
          case 'g': return ParseSize(value, genomeSize);
          default: return ParseCount(value, letter == 'm' ? minContigSize : trimQuality);
        }
      },
      1, 1, files);
  if (status >= 0) return status;
  AceFile ace;
  ace.mMinContigSize = minContigSize;
  ace.mReadTrimQuality = ace.mContigTrimQuality = trimQuality;
  AssemblyTally tally(minContigSize);
  if (!StreamAssembly(ace, files[0], qualName, [](const Contig&) {}, tally)) return 1;
  const AssemblyFigures figures = tally.Figures(genomeSize);
  if (format == "tsv") {
    WriteFiguresTsv(figures, files[0], std::cout);
  } else if (format == "json") {
    WriteFiguresJson(figures, files[0], std::cout);
  } else {
    PrintAssemblyFigures(ace, tally, figures.mMeanReadDepth, files[0], !qualName.empty(), std::cout);
    if (allFigures) {
      std::cout << "Figures over the contigs of >= " << minContigSize << " padded bases:\n";
      for (const FigureRow& row : FigureRows(figures)) std::cout << "  " << row.mLabel << ": " << row.mValue << "\n";
    }
  }
  return AssemblyStatus(ace);
}

}  // namespace ostrel
