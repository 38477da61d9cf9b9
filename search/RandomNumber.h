// Uniform and Gaussian random numbers drawn from the C library's random(),
// which the whole process shares.
#ifndef OSTREL_SEARCH_RANDOMNUMBER_H
#define OSTREL_SEARCH_RANDOMNUMBER_H

#include <ctime>

namespace ostrel {

class RandomNumberGenerator {
public:
  static constexpr long kRandomMax = 2147483647;  // largest value of random()

  // A number drawn evenly from [start, end]; -1 when start < 0, start > end
  // or either is not a number. A result that rounding puts outside the range
  // is reported on standard output and returned all the same.
  double Uniform(double start, double end);

  // A normally distributed number (Box-Muller, two draws).
  double Gaussian(double mean, double sd);

  // Seeds random() with the clock's seconds modulo 10000.
  void SeedWithClock();
  void Seed(unsigned int seed);
  static unsigned int ClockSeed(std::time_t seconds);  // seconds modulo 10000
};

// Process-wide state (one thread).
// RNG: the generator the sampler's random fragments draw from. Nothing seeds
//   it unless the caller does; without a seed random() gives its default
//   sequence. Every generator draws from the same random() state.
extern RandomNumberGenerator RNG;

}  // namespace ostrel

#endif
