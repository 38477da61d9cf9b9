#include "search/Edge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <random>

#include "TestSupport.h"

namespace ostrel {
namespace {

// id, length, score, left hang, right hang, orientation.
using Values = std::array<int, 6>;

Values Read(const Edge& e) {
  Values v{};
  e.GetValues(v[0], v[1], v[2], v[3], v[4], v[5]);
  return v;
}

// What a field of `unit` reads back as, written plainly.
int Stored(long long value, int unit) { return static_cast<int>(std::min(std::llabs(value) / unit, 255LL) * unit); }

// The values an edge packed with `unit` reads back, for in-range input.
Values Expected(const Values& in, int unit) {
  const int len = in[1] < 0 ? 0 : Stored(in[1], unit);
  const long long difference = std::clamp(static_cast<long long>(in[1]) - in[2], 0LL, 127LL);
  auto hang = [unit](int h) { return h < 0 ? -Stored(h, unit) : Stored(h, unit); };
  return Values{in[0], len, static_cast<int>(len - difference), hang(in[3]), hang(in[4]), in[5] > 0 ? 1 : 0};
}

class EdgeTest : public ::testing::Test {
protected:
  void SetUp() override { Edge::mMatePairScaleFactor = 1; }
  void TearDown() override { Edge::mMatePairScaleFactor = 1; }
};

TEST_F(EdgeTest, PacksTheWordsBitForBit) {
  Edge e;
  e.mWords[2] = 9;  // the six-value form leaves the auxiliary word alone
  ASSERT_TRUE(e.SetValues(5, 600, 590, -8, 1030, 1));
  EXPECT_EQ(5u | 1u << 27 | 1u << 28, e.mWords[0]);
  EXPECT_EQ(255u | 150u << 8 | 2u << 16 | 10u << 24, e.mWords[1]);
  EXPECT_EQ(9u, e.mWords[2]);
  EXPECT_EQ((Values{5, 600, 590, -8, 1020, 1}), Read(e));
  EXPECT_EQ(12u, sizeof(Edge));
}

TEST_F(EdgeTest, FieldsAreCutToTheirRange) {
  const struct {
    Values mIn;
    Values mOut;
  } cases[] = {
      {{1, 1023, 1000, 0, 0, 1}, {1, 1020, 997, 0, 0, 1}},        // below the cap: rounded down to the unit
      {{1, 1024, 1024, 0, 0, 1}, {1, 1020, 1020, 0, 0, 1}},       // 1024 stores 255
      {{1, INT_MAX, INT_MIN, 0, 0, 0}, {1, 1020, 893, 0, 0, 0}},  // difference past 127 stores 127
      {{1, 600, 400, 0, 0, 0}, {1, 600, 473, 0, 0, 0}},           // a difference of 200 stores 127
      {{1, 600, 700, 0, 0, 0}, {1, 600, 600, 0, 0, 0}},           // score above length: difference 0
      {{1, -40, -50, 0, 0, 0}, {1, 0, -10, 0, 0, 0}},             // a length below 0 stores 0
      {{1, 100, 90, INT_MIN, INT_MAX, 0}, {1, 100, 90, -1020, 1020, 0}},
      {{Edge::kMaxId, 8, 8, -3, 3, 7}, {Edge::kMaxId, 8, 8, 0, 0, 1}},  // orientation above 1 is forward
      {{0, 8, 8, 4, -4, -2}, {0, 8, 8, 4, -4, 0}},
  };
  for (const auto& c : cases) {
    Edge e;
    ASSERT_TRUE(e.SetValues(c.mIn[0], c.mIn[1], c.mIn[2], c.mIn[3], c.mIn[4], c.mIn[5]));
    EXPECT_EQ(c.mOut, Read(e)) << ::testing::PrintToString(c.mIn);
    EXPECT_EQ(0u, e.mWords[0] >> 31 | e.mWords[1] >> 31 | (e.mWords[0] >> 30 & 1));
  }
  int v[6];
  int aux = 0;
  Edge e;
  const int auxIn[] = {-3, 0, 200, 255, 256, INT_MAX};
  const int auxOut[] = {0, 0, 200, 255, 255, 255};
  for (int i = 0; i < 6; ++i) {
    ASSERT_TRUE(e.SetValues(3, 40, 30, 1, 2, 1, auxIn[i]));
    e.GetValues(v[0], v[1], v[2], v[3], v[4], v[5], aux);
    EXPECT_EQ(auxOut[i], aux) << auxIn[i];
    EXPECT_EQ(auxOut[i], static_cast<int>(e.mWords[2])) << auxIn[i];
  }
}

TEST_F(EdgeTest, IdentifierOutsideTwentySevenBitsIsRefused) {
  Edge e;
  ASSERT_TRUE(e.SetValues(77, 400, 380, -12, 20, 1, 6));
  const Edge before = e;
  for (int id : {-1, Edge::kMaxId + 1, INT_MAX, INT_MIN}) {
    test::CaptureStderr err;
    EXPECT_FALSE(e.SetValues(id, 8, 8, 0, 0, 0, 1));
    EXPECT_FALSE(e.SetMateValues(id, 8, 8, 0, 0, 0));
    EXPECT_FALSE(e.SetTargetId(id));
    const std::string line =
        "Edge ERROR: identifier " + std::to_string(id) + " outside 0 .. 134217727, edge left unchanged\n";
    EXPECT_EQ(line + line + line, err.Text());
    EXPECT_TRUE(std::equal(before.mWords, before.mWords + 3, e.mWords)) << id;
  }
  ASSERT_TRUE(e.SetTargetId(Edge::kMaxId));
  EXPECT_EQ((Values{Edge::kMaxId, 400, 380, -12, 20, 1}), Read(e));
}

TEST_F(EdgeTest, RandomValuesReadBackAsThePlainRuleSays) {
  std::mt19937 rng(17);
  std::uniform_int_distribution<int> id(0, Edge::kMaxId), any(-3000, 3000), bit(0, 1);
  for (int i = 0; i < 2000; ++i) {
    const Values in{id(rng), any(rng), any(rng), any(rng), any(rng), bit(rng)};
    Edge e;
    ASSERT_TRUE(e.SetValues(in[0], in[1], in[2], in[3], in[4], in[5]));
    ASSERT_EQ(Expected(in, 4), Read(e));
  }
}

TEST_F(EdgeTest, MateValuesUseTheScaleFactorAndNeverDivideByZero) {
  Edge e;
  Edge::mMatePairScaleFactor = 10;
  ASSERT_TRUE(e.SetMateValues(8, 2000, 1990, -35, 2600, 0));
  EXPECT_EQ(1u, e.mWords[0] >> 30 & 1);
  EXPECT_EQ((Values{8, 2000, 1990, -30, 2550, 0}), Read(e));
  Edge::mMatePairScaleFactor = 4;  // the factor is read when the edge is read
  EXPECT_EQ((Values{8, 800, 790, -12, 1020, 0}), Read(e));
  for (int factor : {0, -7}) {
    Edge::mMatePairScaleFactor = factor;  // taken as 1
    ASSERT_TRUE(e.SetMateValues(8, 200, 150, -3, 300, 1));
    EXPECT_EQ((Values{8, 200, 150, -3, 255, 1}), Read(e)) << factor;
  }
  Edge::mMatePairScaleFactor = INT_MAX;
  ASSERT_TRUE(e.SetMateValues(8, INT_MAX, INT_MAX, INT_MIN, 0, 1));
  EXPECT_EQ((Values{8, INT_MAX, INT_MAX, -INT_MAX, 0, 1}), Read(e));
}

TEST_F(EdgeTest, InvertHangsTakesTheTargetsPointOfView) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> any(-1100, 1100), bit(0, 1);
  for (int i = 0; i < 500; ++i) {
    Edge e;
    ASSERT_TRUE(e.SetValues(i, any(rng), any(rng), any(rng), any(rng), bit(rng), i % 256));
    const Edge before = e;
    const Values v = Read(e);
    e.InvertHangs();
    const Values w = Read(e);
    // Same strand: both negated; opposite strands: swapped and negated.
    const Values want = v[5] == 1 ? Values{v[0], v[1], v[2], -v[3], -v[4], 1} : Values{v[0], v[1], v[2], -v[4], -v[3], 0};
    ASSERT_EQ(want, w);
    ASSERT_EQ(before.mWords[2], e.mWords[2]);
    e.InvertHangs();
    ASSERT_TRUE(std::equal(before.mWords, before.mWords + 3, e.mWords));
  }
}

}  // namespace
}  // namespace ostrel
