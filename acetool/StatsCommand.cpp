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

// Read depth over the large contigs, contig by contig: every read character
// under the consensus.
struct ReadDepth {
  int mMinContigSize;
  double mColumns = 0;
  double mDepth = 0;

  void Add(const Contig& contig) {
    // An empty consensus adds no columns (and has no average of its own).
    if (contig.mBases.empty() || static_cast<int>(contig.mBases.size()) < mMinContigSize) return;
    mColumns += static_cast<double>(contig.mBases.size());
    mDepth += contig.CalcAverageCoverage() * static_cast<double>(contig.mBases.size());
  }
  double Mean() const { return mColumns > 0 ? mDepth / mColumns : 0; }
};

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
  ReadDepth depth{minContigSize};
  AssemblyTally tally(minContigSize);
  if (!StreamAssembly(ace, files[0], qualName, [&](const Contig& contig) { depth.Add(contig); }, tally)) return 1;
  PrintAssemblyFigures(ace, tally, depth.Mean(), files[0], !qualName.empty(), std::cout);
  return AssemblyStatus(ace);
}

}  // namespace ostrel
