// What the benchmarks share: best-of timing, a report line of the library's
// time against the plain form's, output kept off the screen, segment
// comparison, and a large synthetic contig whose reads are copies of its
// consensus.
#ifndef OSTREL_BENCH_BENCHSUPPORT_H
#define OSTREL_BENCH_BENCHSUPPORT_H

#include <algorithm>
#include <cctype>
#include <chrono>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ace/Contig.h"

namespace ostrel::bench {

// Seconds per run of `work`, the best of `runs` runs.
inline double Seconds(int runs, const std::function<void()>& work) {
  double best = 1e30;
  for (int r = 0; r < runs; ++r) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

// "<what> library <s> plain <s><note> <ratio>x identical"; returns `identical`.
inline bool Report(const std::string& what, double library, double plain, const std::string& note,
                   bool identical) {
  std::cout << what << "\tlibrary " << library << " s\tplain " << plain << " s" << note << "\t" << plain / library
            << "x\t" << (identical ? "identical" : "DIFFERENT") << std::endl;
  return identical;
}

// Sends both standard streams into one string while it lives, so that the
// benchmark's own output stays readable.
class Silence {
public:
  Silence() : mOut(std::cout.rdbuf(mText.rdbuf())), mErr(std::cerr.rdbuf(mText.rdbuf())) {}
  ~Silence() {
    std::cout.rdbuf(mOut);
    std::cerr.rdbuf(mErr);
  }
  Silence(const Silence&) = delete;
  Silence& operator=(const Silence&) = delete;
  std::string Text() const { return mText.str(); }

private:
  std::ostringstream mText;
  std::streambuf* mOut;
  std::streambuf* mErr;
};

inline bool SameSegments(const std::vector<BaseSegment>& a, const std::vector<BaseSegment>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const BaseSegment& x, const BaseSegment& y) {
    return x.mStart == y.mStart && x.mEnd == y.mEnd && x.mReadName == y.mReadName;
  });
}

// A consensus of `columns` bases with some pads (1 in 30), a quarter in lower
// case as files often have it; its qualities all 0.
inline Contig SyntheticConsensus(int columns, std::mt19937& rng) {
  auto draw = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  Contig contig;
  contig.mName = "Synthetic";
  contig.mBases.resize(columns);
  for (char& c : contig.mBases) {
    c = draw(0, 29) == 0 ? '*' : "ACGT"[draw(0, 3)];
    if (draw(0, 3) == 0) c = static_cast<char>(std::tolower(c));
  }
  contig.mQuality.mQualities.assign(columns, 0);
  return contig;
}

// Appends a read of `length` characters at 1-based `start`, copied from the
// consensus with 1 in 100 characters changed, 1 in 200 turned into a pad
// and 1 in 10 in lower case (random throughout when `random`, and where it
// hangs off the consensus), with qualities 5 to 40.
inline void AddCopiedRead(Contig& contig, int start, int length, bool random, std::mt19937& rng) {
  auto draw = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const int columns = static_cast<int>(contig.mBases.size());
  Sequence read;
  read.mName = "read" + std::to_string(contig.mReads.size());
  read.mBases.resize(length);
  for (int k = 0; k < length; ++k) {
    const int p = start - 1 + k;
    char c = "ACGT"[draw(0, 3)];
    if (!random && p >= 0 && p < columns) {
      const int change = draw(0, 199);
      c = change < 2 ? "ACGT"[draw(0, 3)] : change == 2 ? '*' : static_cast<char>(std::toupper(contig.mBases[p]));
    }
    read.mBases[k] = draw(0, 9) == 0 ? static_cast<char>(std::tolower(c)) : c;
  }
  contig.mReads.push_back(read);
  contig.mReadQuality.emplace_back();
  std::vector<int>& quality = contig.mReadQuality.back().mQualities;
  quality.resize(length);
  for (int& q : quality) q = draw(5, 40);
  contig.mAlignStart.push_back(start);
  contig.mComplemented.push_back('U');
}

}  // namespace ostrel::bench

#endif
