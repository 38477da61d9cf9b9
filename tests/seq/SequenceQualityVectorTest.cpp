#include "seq/SequenceQualityVector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace ostrel {
namespace {

TEST(SequenceQualityVector, Phred20TotalsAndStats) {
  SequenceQualityVector v;
  SequenceQuality q;
  q.mQualities = {20, 30};
  v.AddQuality(q);
  q.mQualities = {20, 30, 40, 50, 10};
  v.AddQuality(q);
  q.mQualities = {};
  v.AddQuality(q);
  EXPECT_EQ(6, v.Phred20Total());
  float mean = 0, variance = 0;
  v.Phred20Stats(mean, variance);  // counts 2, 4, 0
  EXPECT_FLOAT_EQ(2.0f, mean);
  EXPECT_FLOAT_EQ(4.0f, variance);
  SequenceQualityVector().Phred20Stats(mean, variance);
  EXPECT_TRUE(std::isnan(mean));
}

TEST(SequenceQualityVector, AddCopiesAndPrintFollowsOrder) {
  SequenceQualityVector v;
  v.GrowVec();
  SequenceQuality q;
  q.mQualities = {9};
  q.mName = "r";
  q.mDescription = "d";
  v.AddQuality(q);
  for (int i = 0; i < 10; ++i) v.AddQuality(v[1]);  // from the collection itself
  EXPECT_EQ(12u, v.size());
  EXPECT_EQ("r", v[11].mName);
  std::ostringstream out;
  v.Print(out);
  EXPECT_EQ(0u, out.str().find("> \n\n>r d\n9 \n>r d\n"));
}

}  // namespace
}  // namespace ostrel
