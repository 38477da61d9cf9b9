#include "search/RandomNumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "TestSupport.h"

namespace ostrel {
namespace {

class RandomNumber : public ::testing::Test {
protected:
  void SetUp() override { RNG.Seed(12345); }
};

TEST_F(RandomNumber, UniformRefusesBadBounds) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(5, RNG.Uniform(5, 5));
  EXPECT_EQ(-1, RNG.Uniform(-1, 3));
  EXPECT_EQ(-1, RNG.Uniform(4, 3));
  EXPECT_EQ(-1, RNG.Uniform(nan, 3));
  EXPECT_EQ(-1, RNG.Uniform(0, nan));
}

TEST_F(RandomNumber, UniformScalesOneDrawIntoTheRange) {
  const long r = random();
  RNG.Seed(12345);
  EXPECT_DOUBLE_EQ(2 + (r / 2147483647.0) * 5, RNG.Uniform(2, 7));
  double low = 7, high = 2;
  for (int i = 0; i < 10000; ++i) {
    const double u = RNG.Uniform(2, 7);
    ASSERT_GE(u, 2);
    ASSERT_LE(u, 7);
    low = std::min(low, u);
    high = std::max(high, u);
  }
  EXPECT_LT(low, 2.01);
  EXPECT_GT(high, 6.99);
}

TEST_F(RandomNumber, SameSeedSameNumbers) {
  const double first = RNG.Uniform(0, 1000), second = RNG.Gaussian(10, 2);
  RNG.Seed(12345);
  EXPECT_EQ(first, RNG.Uniform(0, 1000));
  EXPECT_EQ(second, RNG.Gaussian(10, 2));
}

TEST_F(RandomNumber, GaussianIsBoxMullerOfTwoDraws) {
  const double u1 = random() / 2147483647.0;
  const double u2 = random() / 2147483647.0;
  RNG.Seed(12345);
  const double pi = 3.14159265358979323846;
  EXPECT_DOUBLE_EQ(100 + std::sqrt(2 * 30.0 * 30.0 * std::log(1 / (1 - u2))) * std::cos(2 * pi * u1),
                   RNG.Gaussian(100, 30));

  double sum = 0, squares = 0;
  const int n = 20000;
  for (int i = 0; i < n; ++i) {
    const double g = RNG.Gaussian(100, 30);
    sum += g;
    squares += g * g;
  }
  const double mean = sum / n;
  EXPECT_NEAR(100, mean, 1.5);
  EXPECT_NEAR(30, std::sqrt(squares / n - mean * mean), 1.5);
  EXPECT_EQ(7, RNG.Gaussian(7, 0));
}

TEST(RandomNumberClock, SeedIsSecondsModuloTenThousand) {
  EXPECT_EQ(5000u, RandomNumberGenerator::ClockSeed(1765435000));
  EXPECT_EQ(1u, RandomNumberGenerator::ClockSeed(1765430001));
  EXPECT_EQ(9999u, RandomNumberGenerator::ClockSeed(9999));
  EXPECT_EQ(0u, RandomNumberGenerator::ClockSeed(0));
}

}  // namespace
}  // namespace ostrel
