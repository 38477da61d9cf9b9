// The report's plot points: thinning, the length curves and histogram, and
// the largest contigs' depth profiles.
#include "ace/ReportPlots.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "ace/Contig.h"
#include "contig/WindowTests.h"

namespace ostrel {

namespace {

// Thins `size` points given by point(i), keeping each stretch's extremes.
template <typename PointAt>
std::vector<PlotPoint> Thin(size_t size, size_t maxPoints, PointAt point) {
  std::vector<PlotPoint> thinned;
  if (size <= maxPoints) {
    for (size_t i = 0; i < size; ++i) thinned.push_back(point(i));
    return thinned;
  }
  const size_t stretches = std::max<size_t>(maxPoints / 2, 1);
  for (size_t s = 0; s < stretches; ++s) {
    // Stretch s covers [size * s / stretches, size * (s + 1) / stretches).
    const size_t from = size * s / stretches, to = size * (s + 1) / stretches;
    size_t low = from, high = from;
    for (size_t i = from + 1; i < to; ++i) {
      const double y = point(i).mY;
      if (y < point(low).mY) low = i;
      if (y > point(high).mY) high = i;
    }
    thinned.push_back(point(std::min(low, high)));
    if (low != high) thinned.push_back(point(std::max(low, high)));
  }
  return thinned;
}

std::vector<int> Descending(std::vector<int> lengths) {
  std::sort(lengths.begin(), lengths.end(), std::greater<int>());
  return lengths;
}

int64_t Total(const std::vector<int>& lengths) {
  int64_t total = 0;
  for (int length : lengths) total += length;
  return total;
}

// The first length of bin k: 10^(k / kBinsPerDecade), rounded up.
int64_t BinStart(int k) { return static_cast<int64_t>(std::ceil(std::pow(10.0, double(k) / kBinsPerDecade) - 1e-9)); }

int BinOf(int length) {
  int k = static_cast<int>(std::floor(std::log10(static_cast<double>(length)) * kBinsPerDecade));
  // The logarithm may land a hair off a bound: the whole-base bounds decide.
  while (k > 0 && BinStart(k) > length) --k;
  while (BinStart(k + 1) <= length) ++k;
  return k;
}

}  // namespace

std::vector<PlotPoint> ThinProfile(const std::vector<int>& profile, size_t maxPoints) {
  return Thin(profile.size(), maxPoints,
              [&](size_t i) { return PlotPoint{static_cast<double>(i), static_cast<double>(profile[i])}; });
}

std::vector<PlotPoint> ThinPoints(const std::vector<PlotPoint>& points, size_t maxPoints) {
  return Thin(points.size(), maxPoints, [&](size_t i) { return points[i]; });
}

std::vector<PlotPoint> NxPoints(const std::vector<int>& lengths) {
  const std::vector<int> descending = Descending(lengths);
  const int64_t total = Total(lengths);
  std::vector<PlotPoint> points;
  int64_t count = 0;
  for (int x = 0; x <= 100; ++x)
    points.push_back({static_cast<double>(x), static_cast<double>(NxLength(descending, total, x, count))});
  return points;
}

std::vector<PlotPoint> CumulativeLengthPoints(const std::vector<int>& lengths) {
  std::vector<PlotPoint> points{{0, 0}};
  double running = 0;
  for (int length : Descending(lengths)) {
    running += length;
    points.push_back({static_cast<double>(points.size()), running});
  }
  return ThinPoints(points);
}

std::vector<HistogramBin> LengthHistogram(const std::vector<int>& lengths) {
  std::vector<HistogramBin> bins;
  int64_t empty = 0;
  int lowest = -1, highest = -1;
  for (int length : lengths) {
    if (length < 1) {
      ++empty;
      continue;
    }
    const int k = BinOf(length);
    lowest = lowest < 0 ? k : std::min(lowest, k);
    highest = std::max(highest, k);
  }
  if (empty > 0) bins.push_back({0, 1, empty});
  if (highest < 0) return bins;
  const size_t first = bins.size();
  for (int k = lowest; k <= highest; ++k) bins.push_back({BinStart(k), BinStart(k + 1), 0});
  for (int length : lengths)
    if (length >= 1) ++bins[first + static_cast<size_t>(BinOf(length) - lowest)].mContigs;
  return bins;
}

DepthProfile DepthProfileOf(const Contig& contig) {
  DepthProfile profile;
  profile.mFigures = FiguresOf(contig);
  profile.mTrimStart = contig.mTrimStart;
  profile.mTrimEnd = contig.mTrimEnd;
  std::vector<int> depth;
  contig.GetTemplateCoverage(depth);
  profile.mTemplateDepth = ThinProfile(depth);
  contig.GetCoverage(depth);
  profile.mReadDepth = ThinProfile(depth);
  const int size = static_cast<int>(depth.size());
  int left = -1, right = -1;
  FindTail(depth, left, right);
  if (left < 0) {
    // No window reaches the height: the whole contig is one low stretch.
    if (size > 0) profile.mLowStretches.push_back({0, size - 1});
    return profile;
  }
  if (left > 0) profile.mLowStretches.push_back({0, left - 1});
  // Crashes after the left tail, one after the other.
  int start = -1, end = -1;
  FindCrash2(left, size, depth, start, end);
  while (start >= 0) {
    profile.mLowStretches.push_back({start, end < 0 ? size - 1 : end - 1});
    if (end < 0) break;
    FindCrash2(end, size, depth, start, end);
  }
  if (right < size - 1) profile.mLowStretches.push_back({right + 1, size - 1});
  // A crash that runs into the right tail is one stretch with it.
  std::vector<std::pair<int, int>>& stretches = profile.mLowStretches;
  std::sort(stretches.begin(), stretches.end());
  size_t kept = 0;
  for (size_t s = 1; s < stretches.size(); ++s) {
    if (stretches[s].first <= stretches[kept].second + 1)
      stretches[kept].second = std::max(stretches[kept].second, stretches[s].second);
    else
      stretches[++kept] = stretches[s];
  }
  if (!stretches.empty()) stretches.resize(kept + 1);
  return profile;
}

void LargestProfiles::Add(const Contig& contig) {
  const int64_t padded = static_cast<int64_t>(contig.mBases.size());
  if (padded == 0 || mCount == 0) return;
  // After the last profile of the same size or more: equals keep file order.
  auto at = std::find_if(mProfiles.begin(), mProfiles.end(),
                         [padded](const DepthProfile& p) { return p.mFigures.mPadded < padded; });
  if (at == mProfiles.end() && mProfiles.size() >= mCount) return;
  mProfiles.insert(at, DepthProfileOf(contig));
  if (mProfiles.size() > mCount) mProfiles.pop_back();
}

}  // namespace ostrel
