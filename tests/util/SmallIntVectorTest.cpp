#include "util/SmallIntVector.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace ostrel {
namespace {

std::vector<int> Values(const SmallIntVector& v) { return std::vector<int>(v.begin(), v.end()); }

TEST(SmallIntVector, GrowsPastItsPlaceInOrder) {
  SmallIntVector v;
  EXPECT_TRUE(v.empty());
  std::vector<int> expected;
  for (int i = 0; i < 100; ++i) {
    v.push_back(i * 3 - 7);
    expected.push_back(i * 3 - 7);
    ASSERT_EQ(expected, Values(v));
  }
  v[50] = 1;
  EXPECT_EQ(1, v[50]);
  EXPECT_EQ(16u, sizeof(SmallIntVector));
}

TEST(SmallIntVector, CopiesAreDeepAndMovesLeaveEmpty) {
  for (int n : {1, 2, 3, 40}) {
    SmallIntVector a;
    for (int i = 0; i < n; ++i) a.push_back(i);
    SmallIntVector b = a;
    b.push_back(99);
    EXPECT_EQ(static_cast<size_t>(n), a.size());
    EXPECT_EQ(static_cast<size_t>(n + 1), b.size());
    SmallIntVector c = std::move(b);
    EXPECT_TRUE(b.empty());
    EXPECT_EQ(99, c[n]);
    a = c;
    EXPECT_EQ(Values(c), Values(a));
    a = a;
    EXPECT_EQ(Values(c), Values(a));
    std::vector<SmallIntVector> grown(3, a);
    grown.resize(1000);  // moves the elements
    EXPECT_EQ(Values(c), Values(grown[2]));
  }
}

}  // namespace
}  // namespace ostrel
