#include "seq/SequenceVector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace ostrel {
namespace {

SequenceVector OfSizes(const std::vector<int>& sizes) {
  SequenceVector v;
  for (int size : sizes) {
    Sequence s;
    s.mBases.assign(size, 'A');
    v.AddSequence(s);
  }
  return v;
}

std::string Text(const Sequence& s) { return std::string(s.mBases.begin(), s.mBases.end()); }

TEST(SequenceVector, N50WalksFromTheLargest) {
  EXPECT_EQ(8, OfSizes({3, 10, 2, 8, 5}).N50());
  EXPECT_EQ(7, OfSizes({7, 7}).N50());
  EXPECT_EQ(3, OfSizes({1, 3}).N50());
  EXPECT_EQ(1, OfSizes({1}).N50());
  EXPECT_EQ(0, OfSizes({0, 0}).N50());
  EXPECT_EQ(0, SequenceVector().N50());
}

TEST(SequenceVector, SortedSizesMergeWithCallersVector) {
  std::vector<int> sizes{100};
  OfSizes({3, 200, 50}).GetSortedSizes(sizes);
  EXPECT_EQ((std::vector<int>{200, 100, 50, 3}), sizes);
}

TEST(SequenceVector, TotalsAndMaximum) {
  SequenceVector v = OfSizes({4, 9, 2});
  EXPECT_EQ(15, v.TotalBases());
  EXPECT_EQ(9, v.MaxSize());
  EXPECT_EQ(0, SequenceVector().MaxSize());
}

TEST(SequenceVector, SizeStatsUseSampleVariance) {
  float mean = 0, variance = 0;
  OfSizes({2, 4, 6}).SizeStats(mean, variance);
  EXPECT_FLOAT_EQ(4.0f, mean);
  EXPECT_FLOAT_EQ(4.0f, variance);
  OfSizes({5}).SizeStats(mean, variance);
  EXPECT_FLOAT_EQ(5.0f, mean);
  EXPECT_TRUE(std::isnan(variance));
  SequenceVector().SizeStats(mean, variance);
  EXPECT_TRUE(std::isnan(mean));
}

TEST(SequenceVector, AddedElementsCopyTextNotMaps) {
  Sequence src;
  src.InitFromCString("A*C");
  src.mName = "r1";
  src.mDescription = "d";
  src.ComputeDepadded2Padded();
  SequenceVector v;
  v.AddSequence(src);
  EXPECT_EQ("A*C", Text(v[0]));
  EXPECT_EQ("r1", v[0].mName);
  EXPECT_EQ("d", v[0].mDescription);
  EXPECT_TRUE(v[0].mPadded2Depadded.empty());
  // Adding an element of the collection itself, which may move it.
  for (int i = 0; i < 20; ++i) v.AddSequence(v[0]);
  EXPECT_EQ("A*C", Text(v[20]));
}

TEST(SequenceVector, SubSequenceDescriptionKeepsBoundsAsGiven) {
  Sequence src;
  src.mBases.assign(100, 'G');
  src.mName = "src";
  src.mDescription = "d";
  SequenceVector v;
  v.AddSubSequence(src, -3, 500);
  EXPECT_EQ(100u, v[0].mBases.size());
  EXPECT_EQ("d[-3,500]", v[0].mDescription);
  EXPECT_EQ("src", v[0].mName);
  v.AddSubSequence(src, 10, -1);
  EXPECT_TRUE(v[1].mBases.empty());
  EXPECT_EQ("d[10,-1]", v[1].mDescription);
}

TEST(SequenceVector, PrintOfGrownElement) {
  SequenceVector v;
  v.GrowVec();
  std::ostringstream out;
  v.Print(out);
  EXPECT_EQ(" Empty\n\n", out.str());
}

TEST(SequenceVector, FindEndOfStopsAtFirstHolder) {
  SequenceVector v;
  for (const char* bases : {"AAAA", "TTCGTT", "ACGAAA"}) {
    Sequence s;
    s.InitFromCString(bases);
    v.AddSequence(s);
  }
  Sequence tag;
  tag.InitFromCString("ACG");
  int index = 0;
  long pos = 0;
  bool reversed = false;
  v.FindEndOf(tag, index, pos, reversed);
  EXPECT_EQ(1, index);
  EXPECT_EQ(4, pos);
  EXPECT_TRUE(reversed);
  EXPECT_EQ("aaaa", Text(v[0]));
  EXPECT_EQ("ACGAAA", Text(v[2]));  // never searched

  tag.InitFromCString("GGGG");
  v.FindEndOf(tag, index, pos, reversed);
  EXPECT_EQ(2, index);
  EXPECT_EQ(-1, pos);

  SequenceVector().FindEndOf(tag, index, pos, reversed);
  EXPECT_EQ(-1, index);
  EXPECT_EQ(-1, pos);
}

}  // namespace
}  // namespace ostrel
