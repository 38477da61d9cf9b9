// What an assembly report plots, each plot held in a bounded number of
// points: the Nx and cumulative-length curves, the histogram of contig
// lengths, and the depth profiles of the largest contigs.
#ifndef OSTREL_ACE_REPORTPLOTS_H
#define OSTREL_ACE_REPORTPLOTS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ace/AssemblyFigures.h"

namespace ostrel {

class Contig;

constexpr size_t kMaxPlotPoints = 2000;  // points per curve at most

struct PlotPoint {
  double mX = 0;
  double mY = 0;
};

// The points (index, value) of `profile`, all of them when they are at most
// `maxPoints`; otherwise the profile is cut into maxPoints / 2 stretches of
// consecutive indexes and each stretch keeps its lowest and its highest
// point (the first of equals), in index order, so that no peak or dip is
// lost (a `maxPoints` below 2 is taken as 2).
std::vector<PlotPoint> ThinProfile(const std::vector<int>& profile, size_t maxPoints = kMaxPlotPoints);
// The same over points already made, by their y.
std::vector<PlotPoint> ThinPoints(const std::vector<PlotPoint>& points, size_t maxPoints = kMaxPlotPoints);

// Nx for x = 0, 1, .. 100 (ace/AssemblyFigures.h) of the contig `lengths`.
std::vector<PlotPoint> NxPoints(const std::vector<int>& lengths);
// (0, 0), then for the contigs largest first: (contigs so far, their total
// length), thinned.
std::vector<PlotPoint> CumulativeLengthPoints(const std::vector<int>& lengths);

// Contig lengths counted in bins of equal width on a logarithmic scale,
// kBinsPerDecade to each factor of ten: bin k holds lengths in
// [10^(k / kBinsPerDecade), 10^((k + 1) / kBinsPerDecade)), bounds rounded
// up to whole bases. From the smallest length's bin to the largest's; the
// lengths below 1 (no base) fall in a bin [0, 1) of their own, listed first.
constexpr int kBinsPerDecade = 5;
struct HistogramBin {
  int64_t mFrom = 0;  // smallest length in the bin
  int64_t mTo = 0;    // past the largest
  int64_t mContigs = 0;
};
std::vector<HistogramBin> LengthHistogram(const std::vector<int>& lengths);

// One contig along its padded columns: read depth and template depth
// (thinned), the consensus trims, and the stretches the problem detection
// finds low (contig/WindowTests.h): the low-coverage tails of the read depth
// and its crashes, as 0-based inclusive column ranges.
struct DepthProfile {
  ContigFigures mFigures;
  int mTrimStart = -1, mTrimEnd = -1;
  std::vector<PlotPoint> mReadDepth, mTemplateDepth;
  std::vector<std::pair<int, int>> mLowStretches;
};
DepthProfile DepthProfileOf(const Contig& contig);

// The depth profiles of the `count` largest contigs (by padded length, the
// earlier of equals first), kept as contigs come in file order: a contig's
// profile is made only when it enters the list.
class LargestProfiles {
public:
  explicit LargestProfiles(size_t count) : mCount(count) {}
  void Add(const Contig& contig);
  const std::vector<DepthProfile>& Profiles() const { return mProfiles; }  // largest first

private:
  size_t mCount;
  std::vector<DepthProfile> mProfiles;
};

}  // namespace ostrel

#endif
