// Assembly statistics: contig counts and lengths, N50 and average coverage,
// each over the whole consensus and over its trimmed part, and the per-contig
// coverage figures they rest on.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <numeric>

#include "ace/AceFile.h"
#include "ace/AssemblyTally.h"

namespace ostrel {

namespace {

long Sum(const std::vector<int>& values) { return std::accumulate(values.begin(), values.end(), 0L); }

}  // namespace

int Contig::CalcCoverage(int pos) const {
  int count = 0;
  const size_t placed = std::min(mReads.size(), mAlignStart.size());
  for (size_t i = 0; i < placed; ++i) {
    const long offset = static_cast<long>(pos) - mAlignStart[i] + 1;
    if (offset >= 0 && offset < static_cast<long>(mReads[i].mBases.size())) ++count;
  }
  return count;
}

// Each read adds the columns its good-quality range shares with lo..hi, so
// the sum takes time in the number of reads, not columns.
int64_t Contig::TrimmedDepthSum(int lo, int hi) const {
  int64_t sum = 0;
  int first, last;
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i)
    if (TrimmedExtentInConsensus(i, first, last)) {
      const int from = std::max(first, lo);
      const int to = std::min(last, hi);
      if (from <= to) sum += to - from + 1;
    }
  return sum;
}

double Contig::CalcAverageTrimmedCoverage() const {
  return static_cast<double>(TrimmedDepthSum(0, static_cast<int>(mBases.size()) - 1)) /
         static_cast<double>(mBases.size());
}

long Contig::CountP20Bases() const {
  std::vector<int> profile;
  GetP20Coverage(profile);
  return Sum(profile);
}

double Contig::CalcAverageP20Coverage() const {
  return static_cast<double>(CountP20Bases()) / static_cast<double>(mBases.size());
}

void AceFile::ComputeAllContigStats() { Tally().Store(*this); }

AssemblyTally AceFile::Tally() const {
  AssemblyTally tally(mMinContigSize);
  for (const Contig& contig : *this) tally.Add(contig);
  return tally;
}

void AceFile::GetSortedSizes(std::vector<int>& sizes) const {
  for (const Contig& contig : *this) {
    const int padded = static_cast<int>(contig.mBases.size());
    if (padded >= mMinContigSize) sizes.push_back(padded);
  }
  std::sort(sizes.begin(), sizes.end(), std::greater<int>());
}

void AceFile::GetSortedSizesTrimmed(std::vector<int>& sizes) const {
  for (const Contig& contig : *this) {
    const int trimmed = contig.TrimmedLength();
    if (trimmed >= mMinContigSize) sizes.push_back(trimmed);
  }
  std::sort(sizes.begin(), sizes.end(), std::greater<int>());
}

int AceFile::N50() const {
  std::vector<int> sizes;
  GetSortedSizes(sizes);
  return HalfWaySize(sizes, mTotalLength);
}

int AceFile::N50Trimmed() const {
  std::vector<int> sizes;
  GetSortedSizesTrimmed(sizes);
  return HalfWaySize(sizes, mTotalTrimmedLength);
}

void AceFile::CalcAverageCoverage() { mAverageCoverage = Tally().AverageCoverage(); }

void AceFile::CalcAverageCoverageTrimmed() { mAverageCoverageTrimmed = Tally().AverageCoverageTrimmed(); }

}  // namespace ostrel
