// Window means over coverage profiles and the tail, crash and low-run tests
// built on them.
#include "contig/WindowTests.h"

#include <algorithm>
#include <cstdint>

namespace ostrel {

int trimWindow = 20;
float trimHeight = 1.5f;

namespace {

// Window sums from prefix sums, so each test is linear in the profile
// length whatever the window. Sums are 64-bit: a window of large values
// overflows int.
class WindowMeans {
public:
  explicit WindowMeans(const std::vector<int>& profile)
      : mSize(static_cast<int64_t>(profile.size())),
        // A window below 1 would divide by zero or count backwards; it is
        // taken as 1, a window of the one index itself.
        mWindow(std::max(trimWindow, 1)),
        mHeight(trimHeight),
        mPrefix(profile.size() + 1, 0) {
    for (size_t i = 0; i < profile.size(); ++i) mPrefix[i + 1] = mPrefix[i] + profile[i];
  }

  int64_t Size() const { return mSize; }
  // Forward mean at i (0 <= i < size) over i .. i + window - 1.
  float Forward(int64_t i) const { return Mean(mPrefix[std::min(i + mWindow, mSize)] - mPrefix[i]); }
  // Backward mean at k (0 <= k < size) over k - window + 1 .. k.
  float Backward(int64_t k) const { return Mean(mPrefix[k + 1] - mPrefix[std::max<int64_t>(k - mWindow + 1, 0)]); }
  float Height() const { return mHeight; }

private:
  // The quotient rounded once to float, so a mean of 22 / 20 equals a
  // threshold written as 1.1.
  float Mean(int64_t sum) const { return static_cast<float>(static_cast<double>(sum) / mWindow); }

  int64_t mSize;
  int64_t mWindow;
  float mHeight;
  std::vector<int64_t> mPrefix;
};

// The first index at or after `from` whose forward mean reaches the
// threshold; -1 when none does.
int64_t FirstReachingFrom(const WindowMeans& means, int64_t from) {
  for (int64_t i = std::max<int64_t>(from, 0); i < means.Size(); ++i)
    if (means.Forward(i) >= means.Height()) return i;
  return -1;
}

int64_t LastReaching(const WindowMeans& means) {
  for (int64_t k = means.Size() - 1; k >= 0; --k)
    if (means.Backward(k) >= means.Height()) return k;
  return -1;
}

}  // namespace

void FindTail(std::vector<int>& profile, int& left, int& right) {
  const WindowMeans means(profile);
  left = static_cast<int>(FirstReachingFrom(means, 0));
  right = static_cast<int>(LastReaching(means));
}

void FindLeftTail(std::vector<int>& profile, int& left) {
  const int64_t found = FirstReachingFrom(WindowMeans(profile), 0);
  if (found >= 0) left = static_cast<int>(found);
}

void FindRightTail(std::vector<int>& profile, int& right) {
  const int64_t found = LastReaching(WindowMeans(profile));
  if (found >= 0) right = static_cast<int>(found);
}

void FindCrash(std::vector<int>& profile, int& start, int& end) {
  start = end = -1;
  const WindowMeans means(profile);
  int64_t drop = -1;
  for (int64_t i = 0; i < means.Size() && drop < 0; ++i)
    if (means.Forward(i) < means.Height()) drop = i;
  if (drop < 20) return;  // none, or a drop so near the start that it is a tail
  start = static_cast<int>(drop);
  for (int64_t i = drop; i < means.Size(); ++i) {
    if (means.Forward(i) > means.Height()) {  // strictly above: a mean at the threshold has not recovered
      if (i < means.Size() - 20) end = static_cast<int>(i);
      return;
    }
  }
}

void FindCrash2(int from, int limit, std::vector<int>& profile, int& start, int& end) {
  start = end = -1;
  const WindowMeans means(profile);
  const int64_t first = std::max<int64_t>(int64_t{from} + 20, 0);
  const int64_t stop = std::min<int64_t>(int64_t{limit} - 20, means.Size());
  int64_t drop = -1;
  for (int64_t i = first; i < stop && drop < 0; ++i)
    if (means.Forward(i) < means.Height()) drop = i;
  if (drop <= 19) return;  // none, or within the first 20 indexes
  start = static_cast<int>(drop);
  const int64_t last = std::min<int64_t>(int64_t{limit} - 1, means.Size() - 1);
  for (int64_t i = drop; i <= last; ++i) {
    if (means.Forward(i) >= means.Height()) {
      if (i < means.Size() - 20) end = static_cast<int>(i);
      return;
    }
  }
}

void ExpandFeature(std::vector<int> profile, int threshold, int& left, int& right) {
  const int64_t size = static_cast<int64_t>(profile.size());
  if (left < size)
    while (left >= 0 && profile[left] <= threshold) --left;
  if (right >= 0)
    while (right < size && profile[right] <= threshold) ++right;
}

bool FeatureBetween(std::vector<int>& profile, int threshold, int from, int to, int& pos) {
  pos = -1;
  const int64_t size = static_cast<int64_t>(profile.size());
  const int64_t last = to < 0 ? size - 1 : std::min<int64_t>(to, size - 1);
  for (int64_t i = std::max(from, 0); i <= last; ++i) {
    if (profile[i] <= threshold) {
      pos = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

}  // namespace ostrel
