// Assembly statistics: contig counts and lengths, N50 and average coverage,
// each over the whole consensus and over its trimmed part, and the per-contig
// coverage figures they rest on.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <numeric>

#include "ace/AceFile.h"

namespace ostrel {

namespace {

int SaturatedInt(int64_t value) { return static_cast<int>(std::min<int64_t>(value, INT_MAX)); }

long Sum(const std::vector<int>& values) { return std::accumulate(values.begin(), values.end(), 0L); }

// The trimmed-coverage depths summed over the consensus columns lo..hi: each
// read adds the columns its good-quality range shares with them, so the sum
// takes time in the number of reads, not columns.
int64_t TrimmedDepthSum(const Contig& contig, int lo, int hi) {
  int64_t sum = 0;
  int first, last;
  for (int i = 0; i < static_cast<int>(contig.mReads.size()); ++i)
    if (contig.TrimmedExtentInConsensus(i, first, last)) {
      const int from = std::max(first, lo);
      const int to = std::min(last, hi);
      if (from <= to) sum += to - from + 1;
    }
  return sum;
}

int ConsensusLength(const Contig& contig) { return static_cast<int>(contig.mBases.size()); }

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

double Contig::CalcAverageTrimmedCoverage() const {
  return static_cast<double>(TrimmedDepthSum(*this, 0, ConsensusLength(*this) - 1)) /
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

void AceFile::ComputeAllContigStats() {
  mNumReadsInLargeContigs = mNumTIReads = 0;
  mNumLargeContigs = mNumLargeTrimmedContigs = 0;
  mN50 = mN50Trimmed = 0;
  mAverageCoverage = mAverageCoverageTrimmed = 0;
  mMaxContigLength = mMaxTrimmedContigLength = 0;
  // Lengths are summed wide and stored saturated: a large genome's total can
  // pass the int range.
  int64_t total = 0, totalTrimmed = 0, large = 0, largeTrimmed = 0;
  for (const Contig& contig : *this) {
    const int padded = static_cast<int>(contig.mBases.size());
    const int trimmed = contig.TrimmedLength();
    mMaxContigLength = std::max(mMaxContigLength, padded);
    mMaxTrimmedContigLength = std::max(mMaxTrimmedContigLength, trimmed);
    total += padded;
    totalTrimmed += trimmed;
    if (padded >= mMinContigSize) {
      ++mNumLargeContigs;
      large += padded;
      mNumReadsInLargeContigs += static_cast<int>(contig.mReads.size());
      mNumTIReads += contig.CountReadsMatching("gnl|ti|");
    }
    if (trimmed >= mMinContigSize) {
      ++mNumLargeTrimmedContigs;
      largeTrimmed += trimmed;
    }
  }
  mTotalLength = SaturatedInt(total);
  mTotalTrimmedLength = SaturatedInt(totalTrimmed);
  mLargeContigsLength = SaturatedInt(large);
  mLargeTrimmedContigsLength = SaturatedInt(largeTrimmed);
  mN50 = N50();
  mN50Trimmed = N50Trimmed();
  CalcAverageCoverage();
  CalcAverageCoverageTrimmed();
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

// Depth counts only the reads whose good-quality range covers a column.
void AceFile::CalcAverageCoverage() {
  double columns = 0;
  double depth = 0;
  for (const Contig& contig : *this) {
    if (ConsensusLength(contig) < mMinContigSize) continue;
    columns += ConsensusLength(contig);
    depth += static_cast<double>(TrimmedDepthSum(contig, 0, ConsensusLength(contig) - 1));
  }
  mAverageCoverage = static_cast<float>(depth / columns);
}

void AceFile::CalcAverageCoverageTrimmed() {
  double columns = 0;
  double depth = 0;
  for (const Contig& contig : *this) {
    if (contig.TrimmedLength() < mMinContigSize) continue;
    columns += contig.TrimmedLength();
    const int length = ConsensusLength(contig);
    depth += static_cast<double>(
        TrimmedDepthSum(contig, std::max(contig.mTrimStart, 0), std::min(contig.mTrimEnd, length - 1)));
    // A contig without trims counts its one column at index -1, off the consensus.
    for (int p = contig.mTrimStart; p <= contig.mTrimEnd && p < 0; ++p) depth += contig.CalcCoverageTrimmed(p);
    for (int p = std::max(contig.mTrimStart, length); p <= contig.mTrimEnd; ++p)
      depth += contig.CalcCoverageTrimmed(p);
  }
  mAverageCoverageTrimmed = static_cast<float>(depth / columns);
}

}  // namespace ostrel
