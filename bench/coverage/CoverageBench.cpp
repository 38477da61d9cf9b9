// Read depth, average depth and high-quality disagreement counts on a large
// synthetic contig: the library's sweeps and per-read passes against the
// test of every read at every consensus index, which they replace.
//
//   coverage-bench [COLUMNS READS READLENGTH]   default 200000 20000 800
//
// Prints the seconds each form takes and their ratio, and checks that both
// forms give identical profiles; exits 1 when they differ.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ostrel.h"

namespace {

using ostrel::Contig;
using ostrel::bench::Seconds;
using Profile = std::vector<int>;

// Reads start anywhere from a read length left of the consensus to its end,
// so some hang off either end; a few carry quality lists shorter than the read.
Contig SyntheticContig(int columns, int reads, int readLength) {
  std::mt19937 rng(42);
  auto draw = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const char alphabet[] = "ACGTacgt*";
  Contig contig;
  contig.mName = "Synthetic";
  contig.mBases.resize(columns);
  for (char& c : contig.mBases) c = alphabet[draw(0, 8)];
  contig.mReads.resize(reads);
  contig.mReadQuality.resize(reads);
  for (int i = 0; i < reads; ++i) {
    ostrel::Sequence& read = contig.mReads[i];
    read.mName = "read" + std::to_string(i);
    read.mBases.resize(readLength);
    for (char& c : read.mBases) c = alphabet[draw(0, 8)];
    std::vector<int>& quality = contig.mReadQuality[i].mQualities;
    quality.resize(i % 50 == 0 ? readLength / 2 : readLength);
    for (int& q : quality) q = draw(0, 40);
    contig.mAlignStart.push_back(draw(-readLength, columns));
    contig.mComplemented.push_back(draw(0, 1) ? 'U' : 'C');
  }
  return contig;
}

// The baselines: every read tested at every consensus index. `counts`
// says whether read i adds 1 at index p, where it shows offset k.
template <class Counts>
void EveryReadAtEveryIndex(const Contig& contig, Profile& profile, Counts counts) {
  const int columns = static_cast<int>(contig.mBases.size());
  const int reads = static_cast<int>(contig.mReads.size());
  profile.assign(columns, 0);
  for (int p = 0; p < columns; ++p)
    for (int i = 0; i < reads; ++i) {
      const int k = p - contig.mAlignStart[i] + 1;
      if (k >= 0 && k < static_cast<int>(contig.mReads[i].mBases.size()) && counts(p, i, k)) ++profile[p];
    }
}

void EveryReadCoverage(const Contig& contig, Profile& profile) {
  EveryReadAtEveryIndex(contig, profile, [](int, int, int) { return true; });
}

double EveryReadAverage(const Contig& contig) {
  Profile profile;
  EveryReadCoverage(contig, profile);
  long total = 0;
  for (int depth : profile) total += depth;
  return static_cast<double>(total) / static_cast<double>(contig.mBases.size());
}

void EveryReadDisagreement(const Contig& contig, Profile& profile) {
  EveryReadAtEveryIndex(contig, profile, [&contig](int p, int i, int k) {
    const std::vector<int>& quality = contig.mReadQuality[i].mQualities;
    return k < static_cast<int>(quality.size()) && quality[k] > 19 &&
           std::toupper(contig.mReads[i].mBases[k]) != std::toupper(contig.mBases[p]);
  });
}

bool Report(const char* what, double fast, double baseline, bool identical) {
  std::cout << what << "\tsweep " << fast << " s\tevery read at every index " << baseline << " s\t"
            << baseline / fast << "x\t" << (identical ? "identical" : "DIFFERENT") << std::endl;
  return identical;
}

}  // namespace

int main(int argc, char** argv) {
  const int columns = argc > 3 ? std::atoi(argv[1]) : 200000;
  const int reads = argc > 3 ? std::atoi(argv[2]) : 20000;
  const int readLength = argc > 3 ? std::atoi(argv[3]) : 800;
  const Contig contig = SyntheticContig(columns, reads, readLength);
  std::cout << "contig of " << columns << " columns, " << reads << " reads of " << readLength
            << " characters" << std::endl;

  bool identical = true;
  Profile fast, baseline;
  const double coverageFast = Seconds(5, [&] { contig.GetCoverage(fast); });
  const double coverageBaseline = Seconds(1, [&] { EveryReadCoverage(contig, baseline); });
  identical &= Report("GetCoverage", coverageFast, coverageBaseline, fast == baseline);

  double averageFast = 0, averageBaseline = 0;
  const double meanFast = Seconds(5, [&] { averageFast = contig.CalcAverageCoverage(); });
  const double meanBaseline = Seconds(1, [&] { averageBaseline = EveryReadAverage(contig); });
  identical &= Report("CalcAverageCoverage", meanFast, meanBaseline, averageFast == averageBaseline);

  const double hqFast = Seconds(5, [&] { contig.GetHQDescrepency(fast); });
  const double hqBaseline = Seconds(1, [&] { EveryReadDisagreement(contig, baseline); });
  identical &= Report("GetHQDescrepency", hqFast, hqBaseline, fast == baseline);
  return identical ? 0 : 1;
}
