#include "search/AllOverlaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "TestSupport.h"

namespace ostrel {
namespace {

const std::string kReads = std::string(OSTREL_TEST_DATA) + "/overlap/reads.fa";

using Row = std::tuple<int, int, int, int, int, int, int>;

// The overlaps of `files` as rows, and the reads compared after each round.
std::vector<Row> Overlaps(const std::vector<std::string>& files, int threads, std::vector<int>& rounds) {
  AllOverlapsSettings settings;
  settings.mThreads = threads;
  settings.mMinScore = 100;
  AllOverlaps run(settings);
  std::vector<std::string> problems;
  EXPECT_EQ(0, run.Load(files, problems));
  EXPECT_TRUE(problems.empty());
  run.Index();
  std::vector<Row> rows;
  std::vector<std::string> targetNames;  // of the query in hand
  run.Compare(
      [&](const FoundOverlap& o) {
        if (!rows.empty() && std::get<0>(rows.back()) != o.mQuery) targetNames.clear();
        rows.emplace_back(o.mQuery, o.mTarget, o.mLength, o.mScore, o.mLeftHang, o.mRightHang, o.mOrientation);
        EXPECT_LT(o.mTarget, o.mQuery);
        const std::string& name = run.Reads().Name(static_cast<size_t>(o.mTarget));
        EXPECT_EQ(targetNames.end(), std::find(targetNames.begin(), targetNames.end(), name)) << name;
        targetNames.push_back(name);
      },
      nullptr, [&](int compared) { rounds.push_back(compared); });
  return rows;
}

// The reads twice, the second time under the same names: a query has one
// overlap a name, and none is lost to the threads or the order.
TEST(AllOverlaps, ReadOrderAndTargetsWhateverTheThreads) {
  std::vector<int> rounds;
  const std::vector<Row> once = Overlaps({kReads}, 1, rounds);
  EXPECT_EQ(std::vector<int>{10}, rounds);  // one read of the 11 is too short
  const std::vector<Row> twice = Overlaps({kReads, kReads}, 1, rounds);
  EXPECT_EQ(twice, Overlaps({kReads, kReads}, 3, rounds));
  ASSERT_GT(once.size(), 0u);
  ASSERT_GT(twice.size(), 2 * once.size());  // the copies also overlap their originals
  for (size_t i = 1; i < twice.size(); ++i) EXPECT_LE(std::get<0>(twice[i - 1]), std::get<0>(twice[i]));
  // The first copy's overlaps are those of the reads alone.
  EXPECT_EQ(once, std::vector<Row>(twice.begin(), twice.begin() + static_cast<long>(once.size())));
}

// An overlap names the read it was found with: of two reads named x, the
// query overlaps only the second, shorter one, whose length its PAF line
// must give.
TEST(AllOverlaps, TargetIsTheReadCompared) {
  std::mt19937 rng(3);
  const auto bases = [&](size_t n) {
    std::string text;
    while (text.size() < n) text += "ACGT"[rng() % 4];
    return text;
  };
  const std::string second = bases(800);
  test::TempDir dir;
  test::WriteFile(dir.Path("reads.fa"),
                  ">x\n" + bases(1000) + "\n>x\n" + second + "\n>q\n" + second.substr(400) + bases(400) + "\n");
  std::vector<int> rounds;
  const std::vector<Row> rows = Overlaps({dir.Path("reads.fa")}, 1, rounds);
  ASSERT_EQ(1u, rows.size());
  EXPECT_EQ(2, std::get<0>(rows[0]));
  EXPECT_EQ(1, std::get<1>(rows[0]));
}

TEST(AllOverlaps, LoadReportsUnreadableAndDamagedFiles) {
  test::TempDir dir;
  test::WriteGzipFile(dir.Path("cut.fa.gz"), test::ReadFile(kReads), 0.6);
  AllOverlaps run{AllOverlapsSettings()};
  std::vector<std::string> problems;
  EXPECT_EQ(2, run.Load({dir.Path("cut.fa.gz")}, problems));
  EXPECT_GT(run.mCounts.mRecords, 0);
  EXPECT_EQ(1, run.Load({dir.Path("absent.fa"), kReads}, problems));
  const std::vector<std::string> expected{
      dir.Path("cut.fa.gz") + " is damaged or truncated; its records up to there are used",
      "cannot read " + dir.Path("absent.fa")};
  EXPECT_EQ(expected, problems);
  // Loaded again, each read shares its name once.
  AllOverlaps twice{AllOverlapsSettings()};
  EXPECT_EQ(0, twice.Load({kReads}, problems));
  EXPECT_EQ(0, twice.mCounts.mSharedNames);
  EXPECT_EQ(0, twice.Load({kReads}, problems));
  EXPECT_EQ(twice.mCounts.mRecords / 2 - twice.mCounts.mSkipped / 2, twice.mCounts.mSharedNames);
}

TEST(AllOverlaps, SettingsOutOfRangeAreNamed) {
  EXPECT_EQ("", AllOverlapsSettings().Problem());
  struct Case {
    void (*mSet)(AllOverlapsSettings&);
    const char* mProblem;
  } cases[] = {
      {[](AllOverlapsSettings& s) { s.mWordSize = 32; }, "word size 32 is not in 1 .. 31"},
      {[](AllOverlapsSettings& s) { s.mWordDensity = 0; }, "word density 0 is not in 1 .. 1000"},
      {[](AllOverlapsSettings& s) { s.mRepeatLimit = -1; }, "repeat limit -1 is below 0"},
      {[](AllOverlapsSettings& s) { s.mBandWidth = 1001; }, "band width 1001 is not in 1 .. 1000"},
      {[](AllOverlapsSettings& s) { s.mErrorPct = 50.5f; }, "error percentage 50.5 is not in 0 .. 50"},
      {[](AllOverlapsSettings& s) { s.mMinScore = 0; }, "least score 0 is below 1"},
      {[](AllOverlapsSettings& s) { s.mMinReadSize = 0; }, "shortest read 0 is below 1"},
      {[](AllOverlapsSettings& s) { s.mThreads = -2; }, "threads -2 is below 0"},
  };
  for (const Case& c : cases) {
    AllOverlapsSettings settings;
    c.mSet(settings);
    EXPECT_EQ(c.mProblem, settings.Problem());
  }
}

}  // namespace
}  // namespace ostrel
