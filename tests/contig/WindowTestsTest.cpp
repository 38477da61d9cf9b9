// Tests of the window tests over coverage profiles: hand-made profiles at
// the thresholds, and random profiles against a plain windowed reference.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "contig/WindowTests.h"

namespace ostrel {
namespace {

using Profile = std::vector<int>;

// Runs of (value, count), left to right.
Profile Runs(std::initializer_list<std::pair<int, int>> runs) {
  Profile profile;
  for (const auto& [value, count] : runs) profile.insert(profile.end(), count, value);
  return profile;
}

// 3s, then 0s, then 3 and 0 alternating: every window over the alternation
// has a mean of exactly 1.5.
Profile EqualRecovery() {
  Profile profile = Runs({{3, 40}, {0, 20}});
  for (int i = 0; i < 60; ++i) profile.push_back(i % 2 == 0 ? 3 : 0);
  return profile;
}

class WindowTests : public ::testing::Test {
protected:
  void SetUp() override {
    trimWindow = 20;
    trimHeight = 1.5f;
  }
  void TearDown() override { SetUp(); }
};

struct CrashCase {
  const char* mName;
  Profile mProfile;
  int mStart, mEnd;    // FindCrash
  int mStart2, mEnd2;  // FindCrash2(0, size)
};

TEST_F(WindowTests, CrashesAtTheirThresholds) {
  const CrashCase cases[] = {
      // A mean of exactly 1.5 ends a FindCrash2 crash but not a FindCrash one.
      {"equal recovery", EqualRecovery(), 31, -1, 31, 59},
      // A drop within the first 20 indexes is a tail; FindCrash2 starts
      // looking at from + 20.
      {"early drop", Runs({{3, 10}, {0, 30}, {3, 60}}), -1, -1, 20, 30},
      // Recovery whose first window starts in the last 20 indexes.
      {"late recovery", Runs({{3, 40}, {0, 59}, {40, 1}}), 31, -1, 31, -1},
      {"recovery just before", Runs({{3, 40}, {0, 58}, {40, 2}}), 31, 79, 31, 79},
      // Windows cut off by the end keep the full divisor, so the last ones
      // read as a crash; FindCrash2 stops looking 20 before its limit.
      {"cut-off end", Runs({{2, 100}}), 86, -1, -1, -1},
      {"empty", {}, -1, -1, -1, -1},
  };
  for (const CrashCase& c : cases) {
    Profile profile = c.mProfile;
    int start = 7, end = 7;
    FindCrash(profile, start, end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(c.mStart, c.mEnd)) << c.mName;
    FindCrash2(0, static_cast<int>(profile.size()), profile, start, end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(c.mStart2, c.mEnd2)) << c.mName;
  }
}

TEST_F(WindowTests, TailsKeepTheFullDivisor) {
  Profile profile = EqualRecovery();
  int left = 7, right = 7;
  FindTail(profile, left, right);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(right, 119);  // a backward mean of exactly 1.5 ends the tail

  Profile shortHigh = Runs({{3, 10}});  // 30 / 20 = 1.5
  FindTail(shortHigh, left, right);
  EXPECT_EQ(std::make_pair(left, right), std::make_pair(0, 9));
  Profile shortLow = Runs({{2, 10}});  // 20 / 20 = 1.0
  FindTail(shortLow, left, right);
  EXPECT_EQ(std::make_pair(left, right), std::make_pair(-1, -1));
  left = right = 7;  // the halves leave their argument when nothing passes
  FindLeftTail(shortLow, left);
  FindRightTail(shortLow, right);
  EXPECT_EQ(std::make_pair(left, right), std::make_pair(7, 7));

  trimWindow = 0;  // taken as 1: each index is judged alone
  Profile single = {0, 2, 1, 2, 0};
  FindTail(single, left, right);
  EXPECT_EQ(std::make_pair(left, right), std::make_pair(1, 3));
}

TEST_F(WindowTests, FeatureBetweenScansTheRangeCutToTheProfile) {
  struct Case {
    int mFrom, mTo, mPos;
  } cases[] = {
      {0, 4, 1},  {2, 3, -1}, {-5, 1, 1},
      {2, -1, 4},  // a negative end reaches the last index
      {2, 99, 4},  // an end past the profile is cut to it, not to index 0
      {7, 9, -1},  // a start past the profile finds nothing
      {3, 2, -1},  // an empty range finds nothing
  };
  Profile profile = {5, 0, 5, 5, 0};
  for (const Case& c : cases) {
    int pos = 7;
    EXPECT_EQ(FeatureBetween(profile, 0, c.mFrom, c.mTo, pos), c.mPos >= 0) << c.mFrom << ".." << c.mTo;
    EXPECT_EQ(pos, c.mPos) << c.mFrom << ".." << c.mTo;
  }
  int pos = 7;
  EXPECT_TRUE(FeatureBetween(profile, 5, 0, 4, pos));  // at the threshold counts
  EXPECT_EQ(pos, 0);
  Profile empty;
  EXPECT_FALSE(FeatureBetween(empty, 0, 0, -1, pos));
  EXPECT_EQ(pos, -1);
}

TEST_F(WindowTests, ExpandFeatureStopsOnHighValuesAndEnds) {
  struct Case {
    int mLeft, mRight, mWantLeft, mWantRight;
  } cases[] = {
      {1, 1, 0, 3}, {4, 4, 3, 5}, {0, 0, 0, 0},
      {-1, -1, -1, -1}, {9, 9, 9, 9},  // starting outside the profile: no move
  };
  const Profile profile = {3, 0, 0, 3, 0};
  for (const Case& c : cases) {
    int left = c.mLeft, right = c.mRight;
    ExpandFeature(profile, 0, left, right);
    EXPECT_EQ(std::make_pair(left, right), std::make_pair(c.mWantLeft, c.mWantRight)) << c.mLeft;
  }
  int left = 0, right = 1;
  ExpandFeature({0, 0}, 0, left, right);
  EXPECT_EQ(std::make_pair(left, right), std::make_pair(-1, 2));
}

// The window rules written plainly, each mean summed afresh.
float RefMean(const Profile& profile, int i, bool forward) {
  const int window = trimWindow < 1 ? 1 : trimWindow;
  long sum = 0;
  for (int k = 0; k < window; ++k) {
    const int at = forward ? i + k : i - k;
    if (at >= 0 && at < static_cast<int>(profile.size())) sum += profile[at];
  }
  return static_cast<float>(static_cast<double>(sum) / window);
}

void RefTail(const Profile& p, int& left, int& right) {
  const int n = static_cast<int>(p.size());
  left = right = -1;
  for (int i = 0; i < n && left < 0; ++i)
    if (RefMean(p, i, true) >= trimHeight) left = i;
  for (int k = n - 1; k >= 0 && right < 0; --k)
    if (RefMean(p, k, false) >= trimHeight) right = k;
}

void RefCrash(const Profile& p, int& start, int& end) {
  const int n = static_cast<int>(p.size());
  start = end = -1;
  for (int i = 0; i < n && start < 0; ++i)
    if (RefMean(p, i, true) < trimHeight) start = i;
  if (start < 20) {
    start = -1;
    return;
  }
  for (int i = start; i < n && end < 0; ++i)
    if (RefMean(p, i, true) > trimHeight) end = i;
  if (end >= n - 20) end = -1;
}

void RefCrash2(int from, int limit, const Profile& p, int& start, int& end) {
  const int n = static_cast<int>(p.size());
  start = end = -1;
  for (int i = from + 20; i < limit - 20 && start < 0; ++i)
    if (i >= 0 && i < n && RefMean(p, i, true) < trimHeight) start = i;
  if (start <= 19) {
    start = -1;
    return;
  }
  for (int i = start; i < limit && i < n && end < 0; ++i)
    if (RefMean(p, i, true) >= trimHeight) end = i;
  if (end >= n - 20) end = -1;
}

TEST_F(WindowTests, MatchPlainReferenceOnRandomProfiles) {
  std::mt19937 random(20261209);
  const int windows[] = {-3, 0, 1, 5, 20, 100};
  const float heights[] = {1.5f, 1.0f, 2.25f};
  for (int round = 0; round < 400; ++round) {
    trimWindow = windows[round % 6];
    trimHeight = heights[(round / 6) % 3];
    Profile profile(random() % 90);
    // Runs of one value, so that tails and crashes occur.
    int value = 0;
    for (int& v : profile) {
      if (random() % 8 == 0) value = static_cast<int>(random() % 5);
      v = value;
    }
    const int n = static_cast<int>(profile.size());
    int left, right, wantLeft, wantRight;
    FindTail(profile, left, right);
    RefTail(profile, wantLeft, wantRight);
    ASSERT_EQ(std::make_pair(left, right), std::make_pair(wantLeft, wantRight)) << round;
    int start, end, wantStart, wantEnd;
    FindCrash(profile, start, end);
    RefCrash(profile, wantStart, wantEnd);
    ASSERT_EQ(std::make_pair(start, end), std::make_pair(wantStart, wantEnd)) << round;
    const int from = static_cast<int>(random() % (n + 10)) - 5;
    const int limit = static_cast<int>(random() % (n + 40)) - 5;
    FindCrash2(from, limit, profile, start, end);
    RefCrash2(from, limit, profile, wantStart, wantEnd);
    ASSERT_EQ(std::make_pair(start, end), std::make_pair(wantStart, wantEnd)) << round << " " << from << " " << limit;
  }
}

}  // namespace
}  // namespace ostrel
