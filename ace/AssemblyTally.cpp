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
  if (padded > 0 && padded >= mMinContigSize) {
    const ContigFigures figures = FiguresOf(contig);
    mFigureSums.Add(figures);
    if (figures.mReads == 1) ++mSingleReadContigs;
    mFigureLengths.push_back(static_cast<int>(figures.mLength));
  }
  KeepIfLarge(contig);
}

AssemblyFigures AssemblyTally::Figures(int64_t genomeSize) const {
  AssemblyFigures f;
  const ContigFigures& sums = mFigureSums;
  f.mMinContigSize = mMinContigSize;
  f.mGenomeSize = std::max<int64_t>(genomeSize, 0);
  f.mContigs = static_cast<int64_t>(mFigureLengths.size());
  f.mReads = sums.mReads;
  f.mSingleReadContigs = mSingleReadContigs;
  f.mTotalPadded = sums.mPadded;
  f.mTotalLength = sums.mLength;
  std::vector<int> lengths = mFigureLengths;
  std::sort(lengths.begin(), lengths.end(), std::greater<int>());
  double squares = 0;
  for (int length : lengths) {
    squares += static_cast<double>(length) * length;
    for (size_t s = 0; s < kLengthSteps.size(); ++s)
      if (length >= kLengthSteps[s]) {
        ++f.mContigsAtLeast[s];
        f.mLengthAtLeast[s] += length;
      }
  }
  f.mLargestContig = lengths.empty() ? 0 : lengths[0];
  f.mN50 = NxLength(lengths, f.mTotalLength, 50, f.mL50);
  f.mN90 = NxLength(lengths, f.mTotalLength, 90, f.mL90);
  if (f.mGenomeSize > 0) f.mNG50 = NxLength(lengths, f.mGenomeSize, 50, f.mLG50);
  const auto ratio = [](double part, int64_t whole) { return whole > 0 ? part / static_cast<double>(whole) : 0; };
  f.mAuN = ratio(squares, f.mTotalLength);
  f.mGCPercent = 100 * ratio(static_cast<double>(sums.mGC), sums.mACGT);
  f.mNPer100Kbp = 100000 * ratio(static_cast<double>(sums.mOther), sums.mLength);
  f.mMeanReadDepth = ratio(static_cast<double>(sums.mReadChars), sums.mPadded);
  f.mQ20Percent = 100 * ratio(static_cast<double>(sums.mQ20), sums.mLength);
  f.mQ40Percent = 100 * ratio(static_cast<double>(sums.mQ40), sums.mLength);
  return f;
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
