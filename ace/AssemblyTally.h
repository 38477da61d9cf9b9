// The assembly statistics gathered one contig at a time, so that they can be
// had for an assembly read contig by contig as well as for one held whole.
#ifndef OSTREL_ACE_ASSEMBLYTALLY_H
#define OSTREL_ACE_ASSEMBLYTALLY_H

#include <cstdint>
#include <string>
#include <vector>

#include "ace/AssemblyFigures.h"
#include "ace/Contig.h"

namespace ostrel {

class AceFile;

class AssemblyTally {
public:
  // One of the largest contigs, as listed.
  struct ContigSize {
    std::string mName;
    int mPadded = 0;
    int mTrimmed = 0;
    int mReads = 0;
  };
  static constexpr size_t kLargestKept = 10;

  // Contigs of at least `minContigSize` padded (or trimmed) columns count as
  // large.
  explicit AssemblyTally(int minContigSize) : mMinContigSize(minContigSize) {}

  // Adds a contig whose trims are computed; contigs are added in file order.
  void Add(const Contig& contig);
  // Sets the statistics members of `ace` (mTotalLength .. mAverageCoverage-
  // Trimmed) from the contigs added.
  void Store(AceFile& ace) const;

  int mContigs = 0;      // contigs added
  int mContigsSeen = 0;  // contigs with a consensus
  int64_t mReadsSeen = 0;
  // The kLargestKept largest contigs with a consensus, largest first, in
  // file order among equals.
  std::vector<ContigSize> mLargest;

  // Mean depth of the good-quality read parts over the large contigs (and
  // over the large trimmed contigs' trimmed columns).
  float AverageCoverage() const { return static_cast<float>(mDepth / mColumns); }
  float AverageCoverageTrimmed() const { return static_cast<float>(mDepthTrimmed / mColumnsTrimmed); }

  // The assembly's figures (ace/AssemblyFigures.h) over the large contigs,
  // with NG50 and LG50 against `genomeSize` when it is above 0.
  AssemblyFigures Figures(int64_t genomeSize = 0) const;
  // The lengths (unpadded) of the contigs the figures count, in file order.
  const std::vector<int>& FigureLengths() const { return mFigureLengths; }

private:
  void KeepIfLarge(const Contig& contig);

  int mMinContigSize;
  int mMaxPadded = 0, mMaxTrimmed = 0;
  int64_t mTotal = 0, mTotalTrimmed = 0, mLarge = 0, mLargeTrimmed = 0;
  int mLargeContigs = 0, mLargeTrimmedContigs = 0, mReadsInLarge = 0, mTIReads = 0;
  std::vector<int> mLargeSizes, mLargeTrimmedSizes;
  double mColumns = 0, mDepth = 0, mColumnsTrimmed = 0, mDepthTrimmed = 0;
  // The sums of the figures' contigs.
  ContigFigures mFigureSums;
  int64_t mSingleReadContigs = 0;
  std::vector<int> mFigureLengths;
};

}  // namespace ostrel

#endif
