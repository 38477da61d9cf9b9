// Gathering the assembly statistics contig by contig, in file order, with
// the same sums in the same order whether the contigs are held or streamed.
#include "ace/AssemblyTally.h"

#include <algorithm>
#include <climits>
#include <functional>

#include "ace/AceFile.h"
#include "seq/SequenceVector.h"

namespace ostrel {

namespace {

int SaturatedInt(int64_t value) { return static_cast<int>(std::min<int64_t>(value, INT_MAX)); }

}  // namespace

void AssemblyTally::Add(const Contig& contig) {
  const int padded = static_cast<int>(contig.mBases.size());
  const int trimmed = contig.TrimmedLength();
  ++mContigs;
  if (padded > 0) ++mContigsSeen;
  mReadsSeen += static_cast<int64_t>(contig.mReads.size());
  mMaxPadded = std::max(mMaxPadded, padded);
  mMaxTrimmed = std::max(mMaxTrimmed, trimmed);
  // Lengths are summed wide and stored saturated: a large genome's total can
  // pass the int range.
  mTotal += padded;
  mTotalTrimmed += trimmed;
  if (padded >= mMinContigSize) {
    ++mLargeContigs;
    mLarge += padded;
    mLargeSizes.push_back(padded);
    mReadsInLarge += static_cast<int>(contig.mReads.size());
    mTIReads += contig.CountReadsMatching("gnl|ti|");
    // Depth counts only the reads whose good-quality range covers a column.
    mColumns += padded;
    mDepth += static_cast<double>(contig.TrimmedDepthSum(0, padded - 1));
  }
  if (trimmed >= mMinContigSize) {
    ++mLargeTrimmedContigs;
    mLargeTrimmed += trimmed;
    mLargeTrimmedSizes.push_back(trimmed);
    mColumnsTrimmed += trimmed;
    mDepthTrimmed += static_cast<double>(
        contig.TrimmedDepthSum(std::max(contig.mTrimStart, 0), std::min(contig.mTrimEnd, padded - 1)));
    // A contig without trims counts its one column at index -1, off the consensus.
    for (int p = contig.mTrimStart; p <= contig.mTrimEnd && p < 0; ++p)
      mDepthTrimmed += contig.CalcCoverageTrimmed(p);
    for (int p = std::max(contig.mTrimStart, padded); p <= contig.mTrimEnd; ++p)
      mDepthTrimmed += contig.CalcCoverageTrimmed(p);
  }
  KeepIfLarge(contig);
}

void AssemblyTally::KeepIfLarge(const Contig& contig) {
  const int padded = static_cast<int>(contig.mBases.size());
  if (padded == 0) return;
  // After the last contig of the same size or more: equals keep file order.
  auto at = std::find_if(mLargest.begin(), mLargest.end(), [padded](const ContigSize& c) { return c.mPadded < padded; });
  if (at == mLargest.end() && mLargest.size() >= kLargestKept) return;
  mLargest.insert(at, ContigSize{contig.mName, padded, contig.TrimmedLength(), static_cast<int>(contig.mReads.size())});
  if (mLargest.size() > kLargestKept) mLargest.pop_back();
}

void AssemblyTally::Store(AceFile& ace) const {
  ace.mNumReadsInLargeContigs = mReadsInLarge;
  ace.mNumTIReads = mTIReads;
  ace.mNumLargeContigs = mLargeContigs;
  ace.mNumLargeTrimmedContigs = mLargeTrimmedContigs;
  ace.mMaxContigLength = mMaxPadded;
  ace.mMaxTrimmedContigLength = mMaxTrimmed;
  ace.mTotalLength = SaturatedInt(mTotal);
  ace.mTotalTrimmedLength = SaturatedInt(mTotalTrimmed);
  ace.mLargeContigsLength = SaturatedInt(mLarge);
  ace.mLargeTrimmedContigsLength = SaturatedInt(mLargeTrimmed);
  std::vector<int> sizes = mLargeSizes;
  std::sort(sizes.begin(), sizes.end(), std::greater<int>());
  ace.mN50 = HalfWaySize(sizes, ace.mTotalLength);
  sizes = mLargeTrimmedSizes;
  std::sort(sizes.begin(), sizes.end(), std::greater<int>());
  ace.mN50Trimmed = HalfWaySize(sizes, ace.mTotalTrimmedLength);
  ace.mAverageCoverage = AverageCoverage();
  ace.mAverageCoverageTrimmed = AverageCoverageTrimmed();
}

}  // namespace ostrel
