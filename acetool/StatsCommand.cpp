// ostrel-acestats: options, reading, and the figures report.
#include "acetool/AceTool.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>

#include "util/FileUtil.h"
#include "util/GetOption.h"
#include "util/NumberUtil.h"

namespace ostrel {

namespace {

void PrintUsage(std::ostream& out) {
  out << "Usage: ostrel-acestats [-q reads.qual] [-m minContigSize] [-t trimQuality] assembly.ace[.gz]\n"
      << "\n"
      << "Reads an ACE assembly, plain or gzip-compressed, and prints its figures.\n"
      << "\n"
      << "  -q FILE  read qualities (plain or gzip-compressed); without them the reads\n"
      << "           have no good-quality parts and coverage is plain read depth\n"
      << "  -m INT   padded length from which a contig counts as large [" << kDefaultMinContigSize << "]\n"
      << "  -t INT   quality a column needs to lie inside the contig and read trims ["
      << kDefaultTrimQuality << "]\n"
      << "  -h       this text\n"
      << "\n"
      << "Exit status: 0; 1 for bad options or a file that cannot be read or holds no\n"
      << "ACE records; 2 when the assembly read is not sound (damaged or truncated\n"
      << "input, counts that disagree with the records).\n";
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

int RunAceStats(int argc, char** argv) {
  GetOption options(argc, argv, "q:m:t:");
  std::string qualName;
  int minContigSize = kDefaultMinContigSize;
  int trimQuality = kDefaultTrimQuality;
  for (char letter = options.NextOption(); letter != '0'; letter = options.NextOption()) {
    bool valid = true;
    switch (letter) {
      case 'q': qualName = options.NextArg(); break;
      case 'm': valid = ParseCount(options.NextArg(), minContigSize); break;
      case 't': valid = ParseCount(options.NextArg(), trimQuality); break;
      case 'h': PrintUsage(std::cout); return 0;
      default: valid = false;
    }
    if (!valid) {
      PrintUsage(std::cerr);
      return 1;
    }
  }
  const std::string aceName = options.GetFreeArg();
  if (aceName.empty() || !options.GetFreeArg().empty()) {
    PrintUsage(std::cerr);
    return 1;
  }
  for (const std::string& name : {aceName, qualName}) {
    if (!name.empty() && !FileExists(name)) {
      std::cerr << "Unable to open " << name << std::endl;
      return 1;
    }
  }

  AceFile ace;
  ace.mMinContigSize = minContigSize;
  ace.mReadTrimQuality = ace.mContigTrimQuality = trimQuality;
  if (qualName.empty()) {
    ace.Read(aceName);
  } else {
    ace.ReadAll(aceName, qualName);
    ace.ComputeAllContigStats();
  }
  if (!ace.mRecordsFound) {
    std::cerr << aceName << " holds no ACE records (no \"AS\" or \"CO\" line)" << std::endl;
    return 1;
  }
  PrintAssemblyFigures(ace, aceName, !qualName.empty(), std::cout);
  return ace.mValid ? 0 : 2;
}

}  // namespace ostrel
