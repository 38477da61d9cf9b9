// Uniform and Gaussian random numbers.
#include "search/RandomNumber.h"

#include <cmath>
#include <cstdlib>
#include <iostream>

namespace ostrel {

RandomNumberGenerator RNG;

double RandomNumberGenerator::Uniform(double start, double end) {
  if (std::isnan(start) || std::isnan(end) || start < 0 || start > end) return -1;
  const long r = random();
  const double result = start + (static_cast<double>(r) / kRandomMax) * (end - start);
  if (result < start || result > end) {
    std::cout << "start=" << start << "\n"
              << "end = " << end << "\n"
              << "Range=" << (end - start) << "\n"
              << "rNum = " << r << "\n"
              << "LONG_MAX=" << kRandomMax << std::endl;
  }
  return result;
}

double RandomNumberGenerator::Gaussian(double mean, double sd) {
  const double u1 = static_cast<double>(random()) / kRandomMax;
  const double u2 = static_cast<double>(random()) / kRandomMax;
  const double pi = 4 * std::atan2(1.0, 1.0);
  return mean + std::sqrt(2 * sd * sd * std::log(1 / (1 - u2))) * std::cos(2 * pi * u1);
}

void RandomNumberGenerator::SeedWithClock() { Seed(ClockSeed(std::time(nullptr))); }

void RandomNumberGenerator::Seed(unsigned int seed) { srandom(seed); }

unsigned int RandomNumberGenerator::ClockSeed(std::time_t seconds) {
  // Integer arithmetic: the fraction of seconds / 10000 times 10000 is the
  // same number, without the rounding that could turn 5000 into 4999.
  const std::time_t rest = seconds % 10000;
  return static_cast<unsigned int>(rest < 0 ? rest + 10000 : rest);
}

}  // namespace ostrel
