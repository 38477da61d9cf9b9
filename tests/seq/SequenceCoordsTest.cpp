#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "seq/Sequence.h"

namespace ostrel {
namespace {

Sequence Make(const char* bases) {
  Sequence s;
  s.InitFromCString(bases);
  return s;
}

TEST(SequenceCoords, MapsOfPaddedSequence) {
  Sequence s = Make("A*C-G");
  s.ComputeDepadded2Padded();
  EXPECT_EQ((std::vector<int>{1, 1, 2, 2, 3}), s.mPadded2Depadded);
  EXPECT_EQ((std::vector<int>{0, 0, 2, 4}), s.mDepadded2Padded);
  EXPECT_EQ(0, s.Padded2Depadded(-1));
  EXPECT_EQ(-4, s.Padded2Depadded(-5));
  EXPECT_EQ(2, s.Padded2Depadded(3));
  EXPECT_EQ(6, s.Padded2Depadded(7));
  EXPECT_EQ(-1, s.Depadded2Padded(0));
  EXPECT_EQ(2, s.Depadded2Padded(2));
  EXPECT_EQ(4, s.Depadded2Padded(3));
  EXPECT_EQ(6, s.Depadded2Padded(5));
}

TEST(SequenceCoords, LeadingPadsMapToZero) {
  Sequence s = Make("**AC");
  EXPECT_EQ(0, s.Padded2Depadded(1));
  EXPECT_EQ((std::vector<int>{0, 0, 1, 2}), s.mPadded2Depadded);
  EXPECT_EQ(2, s.Depadded2Padded(1));
  EXPECT_EQ((std::vector<int>{0, 2, 3}), s.mDepadded2Padded);
}

TEST(SequenceCoords, ConversionsAreInverseAtEveryBase) {
  Sequence s = Make("*ac**GT-n*X");
  for (int k = 1; k <= 20; ++k) EXPECT_EQ(k, s.Padded2Depadded(s.Depadded2Padded(k))) << k;
}

TEST(SequenceCoords, PaddedMapFollowsLengthDepaddedMapDoesNot) {
  Sequence s = Make("AC");
  EXPECT_EQ(1, s.Depadded2Padded(2));
  s.InitFromCString("*A*C");
  EXPECT_EQ(4, s.Padded2Depadded(5));  // rebuilt: length changed
  EXPECT_EQ(1, s.Depadded2Padded(2));  // stale until rebuilt on request
  s.ComputeDepadded2Padded();
  EXPECT_EQ(3, s.Depadded2Padded(2));
}

TEST(SequenceCoords, EmptySequenceExtrapolates) {
  Sequence s;
  EXPECT_EQ(1, s.Padded2Depadded(0));
  EXPECT_EQ(5, s.Padded2Depadded(4));
  EXPECT_EQ(0, s.Padded2Depadded(-1));
  EXPECT_EQ(0, s.Depadded2Padded(1));
  EXPECT_EQ(-1, s.Depadded2Padded(0));
  s.ComputeDepadded2Padded();
  EXPECT_EQ((std::vector<int>{0}), s.mDepadded2Padded);
  EXPECT_TRUE(s.mPadded2Depadded.empty());
}

TEST(SequenceCoords, ExtremePositionsSaturate) {
  Sequence s = Make("ACG");
  EXPECT_EQ(INT_MAX, s.Padded2Depadded(INT_MAX));
  EXPECT_EQ(INT_MIN + 1, s.Padded2Depadded(INT_MIN));
  EXPECT_EQ(INT_MIN, s.Depadded2Padded(INT_MIN));
  EXPECT_EQ(INT_MAX - 1, s.Depadded2Padded(INT_MAX));
  Sequence empty;
  EXPECT_EQ(INT_MAX, empty.Padded2Depadded(INT_MAX));
}

}  // namespace
}  // namespace ostrel
