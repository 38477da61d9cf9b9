#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "ace/AceFile.h"

namespace ostrel {
namespace {

// An assembly of contigs of the given padded lengths, trimmed to
// [trimStart, trimEnd] each, without reads.
AceFile MakeAssembly(const std::vector<int>& lengths, int trimStart = -1, int trimEnd = -1) {
  AceFile ace;
  for (int length : lengths) {
    Contig contig;
    contig.InitFromCString(std::string(static_cast<size_t>(length), 'A').c_str());
    contig.mTrimStart = trimStart;
    contig.mTrimEnd = trimEnd;
    ace.push_back(contig);
  }
  return ace;
}

TEST(AceStats, N50Walk) {
  AceFile ace = MakeAssembly({20, 50, 30});
  ace.ComputeAllContigStats();
  EXPECT_EQ(50, ace.mN50);
  ace = MakeAssembly({30, 40, 30});
  ace.ComputeAllContigStats();
  EXPECT_EQ(30, ace.mN50);
  EXPECT_EQ(100, ace.mTotalLength);
  EXPECT_EQ(40, ace.mMaxContigLength);
}

TEST(AceStats, N50IsZeroWhenLargeContigsNeverReachHalf) {
  AceFile ace = MakeAssembly({40, 30, 30, 30, 30});
  ace.mMinContigSize = 35;  // only the 40 is large: 40 < half of 160
  ace.ComputeAllContigStats();
  EXPECT_EQ(0, ace.mN50);
  EXPECT_EQ(1, ace.mNumLargeContigs);
  EXPECT_EQ(40, ace.mLargeContigsLength);
}

TEST(AceStats, TrimmedFiguresAndRepeatability) {
  AceFile ace = MakeAssembly({10, 20}, 2, 5);
  ace[0].mTrimStart = ace[0].mTrimEnd = -1;  // no column reaches the threshold: trimmed length 0
  Sequence read;
  read.mName = "gnl|ti|1";
  read.InitFromCString("AAAA");
  ace[1].mReads.push_back(read);
  ace[1].mAlignStart.push_back(3);
  ace[1].mComplemented.push_back('U');
  ace[1].mReadTrimStart.push_back(0);
  ace[1].mReadTrimEnd.push_back(3);
  ace.mMinContigSize = 2;
  for (int run = 0; run < 2; ++run) {
    ace.ComputeAllContigStats();
    EXPECT_EQ(30, ace.mTotalLength);
    EXPECT_EQ(4, ace.mTotalTrimmedLength);
    EXPECT_EQ(0, ace[0].TrimmedLength());
    EXPECT_EQ(1, ace.mNumLargeTrimmedContigs);
    EXPECT_EQ(4, ace.mN50Trimmed);
    EXPECT_EQ(1, ace.mNumTIReads);
    EXPECT_EQ(1, ace.mNumReadsInLargeContigs);
    EXPECT_FLOAT_EQ(4.0f / 30.0f, ace.mAverageCoverage);      // 4 covered columns over 30
    EXPECT_FLOAT_EQ(1.0f, ace.mAverageCoverageTrimmed);  // columns 2..5, all under the read
  }
}

// The averages against their column-by-column definition, on random
// contigs whose reads hang over either end and whose trims may be missing.
TEST(AceStats, AverageCoveragesMatchTheColumnByColumnSums) {
  std::srand(7);
  for (int round = 0; round < 50; ++round) {
    AceFile ace = MakeAssembly({1 + std::rand() % 60, 1 + std::rand() % 60, 1 + std::rand() % 60});
    ace.mMinContigSize = 1 + std::rand() % 20;
    for (Contig& contig : ace) {
      const int length = static_cast<int>(contig.mBases.size());
      if (std::rand() % 4 != 0) {
        contig.mTrimStart = std::rand() % length;
        contig.mTrimEnd = contig.mTrimStart + std::rand() % (length - contig.mTrimStart);
      }
      for (int r = std::rand() % 8; r > 0; --r) {
        Sequence read;
        read.InitFromCString(std::string(static_cast<size_t>(1 + std::rand() % 30), 'C').c_str());
        const int readLength = static_cast<int>(read.mBases.size());
        contig.mReads.push_back(read);
        contig.mAlignStart.push_back(std::rand() % (length + 40) - 20);
        contig.mComplemented.push_back('U');
        const bool trimmed = std::rand() % 5 != 0;
        const int start = std::rand() % readLength;
        contig.mReadTrimStart.push_back(trimmed ? start : -1);
        contig.mReadTrimEnd.push_back(trimmed ? start + std::rand() % (readLength - start) : -1);
      }
    }
    ace.ComputeAllContigStats();
    double columns = 0, depth = 0, trimmedColumns = 0, trimmedDepth = 0;
    for (const Contig& contig : ace) {
      const int length = static_cast<int>(contig.mBases.size());
      double contigDepth = 0;
      for (int p = 0; p < length; ++p) contigDepth += contig.CalcCoverageTrimmed(p);
      EXPECT_DOUBLE_EQ(contigDepth / length, contig.CalcAverageTrimmedCoverage());
      if (length >= ace.mMinContigSize) {
        columns += length;
        depth += contigDepth;
      }
      if (contig.TrimmedLength() >= ace.mMinContigSize) {
        trimmedColumns += contig.TrimmedLength();
        for (int p = contig.mTrimStart; p <= contig.mTrimEnd; ++p) trimmedDepth += contig.CalcCoverageTrimmed(p);
      }
    }
    if (columns > 0) {
      EXPECT_FLOAT_EQ(static_cast<float>(depth / columns), ace.mAverageCoverage) << round;
    }
    if (trimmedColumns > 0) {
      EXPECT_FLOAT_EQ(static_cast<float>(trimmedDepth / trimmedColumns), ace.mAverageCoverageTrimmed) << round;
    }
  }
}

TEST(AceStats, AverageCoverageOfNothingIsNotANumber) {
  AceFile ace;
  ace.ComputeAllContigStats();
  EXPECT_TRUE(std::isnan(ace.mAverageCoverage));
  EXPECT_EQ(0, ace.mN50);
}

TEST(AceStats, ContigCoverageFigures) {
  Contig contig;
  contig.InitFromCString("ACGTA");
  Sequence read;
  read.InitFromCString("ACG");
  contig.mReads = SequenceVector();
  contig.mReads.push_back(read);
  contig.mReads.push_back(read);
  contig.mAlignStart = {0, 4};  // covers -1..1 and 3..5
  contig.mComplemented = {'U', 'U'};
  SequenceQuality q;
  q.mQualities = {19, 20, 40};
  contig.mReadQuality.push_back(q);
  contig.mReadQuality.push_back(q);
  contig.mReadTrimStart = {0, 0};
  contig.mReadTrimEnd = {2, 2};
  EXPECT_EQ(0, contig.CalcCoverage(2));
  EXPECT_EQ(1, contig.CalcCoverage(0));
  EXPECT_EQ(0, contig.CalcCoverage(-5));
  EXPECT_EQ(3, contig.CountP20Bases());  // index 0 (q 20), 1 (q 40), 4 (q 20)
  EXPECT_DOUBLE_EQ(3.0 / 5.0, contig.CalcAverageP20Coverage());
  EXPECT_DOUBLE_EQ(4.0 / 5.0, contig.CalcAverageTrimmedCoverage());
}

}  // namespace
}  // namespace ostrel
