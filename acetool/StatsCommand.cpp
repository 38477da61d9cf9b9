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
  out << "Usage: ostrel-ace stats [-q reads.qual] [-m minContigSize] [-t trimQuality] in.ace[.gz]\n"
      << "\n"
      << "Reads an ACE assembly, plain or gzip-compressed, and prints its figures.\n"
      << "\n"
      << "  -q FILE  read qualities (plain or gzip-compressed); without them the reads\n"
      << "           have no good-quality parts and coverage is plain read depth\n"
      << "  -m INT   padded length from which a contig counts as large [" << kDefaultMinContigSize << "]\n"
      << "  -t INT   quality a column needs to lie inside the contig and read trims ["
      << kDefaultTrimQuality << "]\n"
      << "  -h       this text\n";
}

// An average as printed: two decimals, and 0.00 for an average over
// nothing (no contig qualified).
std::string Average(double value) { return ftoa(std::isnan(value) ? 0.0f : static_cast<float>(value), "%.2f"); }

// Read depth over the large contigs: every read character under the consensus.
double AverageReadDepth(const AceFile& ace) {
  double columns = 0;
  double depth = 0;
  for (const Contig& contig : ace) {
    // An empty consensus adds no columns (and has no average of its own).
    if (contig.mBases.empty() || static_cast<int>(contig.mBases.size()) < ace.mMinContigSize) continue;
    columns += static_cast<double>(contig.mBases.size());
    depth += contig.CalcAverageCoverage() * static_cast<double>(contig.mBases.size());
  }
  return columns > 0 ? depth / columns : 0;
}

void PrintLargestContigs(const AceFile& ace, std::ostream& out) {
  std::vector<const Contig*> contigs;
  for (const Contig& contig : ace)
    if (!contig.mBases.empty()) contigs.push_back(&contig);
  std::stable_sort(contigs.begin(), contigs.end(),
                   [](const Contig* a, const Contig* b) { return a->mBases.size() > b->mBases.size(); });
  if (contigs.size() > static_cast<size_t>(kLargestContigsShown)) contigs.resize(kLargestContigsShown);
  size_t nameWidth = 4;
  for (const Contig* contig : contigs) nameWidth = std::max(nameWidth, contig->mName.size());
  out << "Largest contigs:\n  ";
  PrintSpacePaddedString(out, static_cast<int>(nameWidth) + 2, "name");
  out << "  padded  trimmed  reads\n";
  for (const Contig* contig : contigs) {
    out << "  ";
    PrintSpacePaddedString(out, static_cast<int>(nameWidth) + 2, contig->mName);
    PrintSpacePaddedNum(out, 8, static_cast<int>(contig->mBases.size()));
    PrintSpacePaddedNum(out, 9, contig->TrimmedLength());
    PrintSpacePaddedNum(out, 7, static_cast<int>(contig->mReads.size()));
    out << "\n";
  }
}

}  // namespace

void PrintAssemblyFigures(const AceFile& ace, const std::string& aceName, bool withQualities, std::ostream& out) {
  int contigsSeen = 0;
  int64_t readsSeen = 0;
  for (const Contig& contig : ace) {
    if (!contig.mBases.empty()) ++contigsSeen;
    readsSeen += static_cast<int64_t>(contig.mReads.size());
  }
  out << "Assembly: " << aceName << "\n"
      << "Contigs: " << ace.mNumContigs << " announced, " << contigsSeen << " seen\n"
      << "Reads: " << ace.mNumReads << " announced, " << readsSeen << " seen\n"
      << "Consistent: " << (ace.mValid ? "yes" : "no") << "\n"
      << "Total length: " << ace.mTotalLength << " padded, " << ace.mTotalTrimmedLength << " trimmed\n"
      << "Large contigs (>= " << ace.mMinContigSize << "): " << ace.mNumLargeContigs << " of "
      << ace.mLargeContigsLength << " padded bases; " << ace.mNumLargeTrimmedContigs << " of "
      << ace.mLargeTrimmedContigsLength << " trimmed bases\n"
      << "N50: " << ace.mN50 << " padded, " << ace.mN50Trimmed << " trimmed\n"
      << "Reads in large contigs: " << ace.mNumReadsInLargeContigs << "\n"
      << "Average read depth: " << Average(AverageReadDepth(ace)) << "\n";
  if (withQualities)
    out << "Average coverage (good-quality read parts): " << Average(ace.mAverageCoverage) << " padded, "
        << Average(ace.mAverageCoverageTrimmed) << " trimmed\n";
  PrintLargestContigs(ace, out);
}

int RunStats(int argc, char** argv) {
  std::string qualName;
  int minContigSize = kDefaultMinContigSize;
  int trimQuality = kDefaultTrimQuality;
  std::vector<std::string> files;
  const int status = ScanOptions(
      argc, argv, "q:m:t:", PrintUsage,
      [&](char letter, const std::string& value) {
        if (letter == 'q') qualName = value;
        return letter == 'q' || ParseCount(value, letter == 'm' ? minContigSize : trimQuality);
      },
      1, 1, files);
  if (status >= 0) return status;
  AceFile ace;
  ace.mMinContigSize = minContigSize;
  ace.mReadTrimQuality = ace.mContigTrimQuality = trimQuality;
  if (!ReadAssembly(ace, files[0], qualName)) return 1;
  PrintAssemblyFigures(ace, files[0], !qualName.empty(), std::cout);
  return AssemblyStatus(ace);
}

}  // namespace ostrel
