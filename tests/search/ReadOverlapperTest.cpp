#include "search/ReadOverlapper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <utility>

#include "TestSupport.h"
#include "seq/SequenceVector.h"

namespace ostrel {
namespace {

struct Placement {
  long mStart, mEnd;  // on the genome, end exclusive
  bool mReverse;
};

std::string RandomBases(std::mt19937& random, long n) {
  std::string s;
  for (long i = 0; i < n; ++i) s += "ACGT"[random() % 4];
  return s;
}

// Reads of 500-900 bases from random places and strands until `coverage`,
// with 1% substitutions (no indels, so that the hangs are exact).
SequenceVector SampleReads(const std::string& genome, double coverage, std::mt19937& random,
                           std::vector<Placement>& truth) {
  SequenceVector reads;
  long bases = 0;
  while (bases < coverage * static_cast<double>(genome.size())) {
    const long length = 500 + static_cast<long>(random() % 401);
    const long start = static_cast<long>(random() % (genome.size() - length));
    std::string text = genome.substr(start, length);
    for (char& c : text)
      if (random() % 100 == 0) c = "ACGT"[(std::string("ACGT").find(c) + 1 + random() % 3) % 4];
    Sequence read = test::MakeSequence(text, "r" + std::to_string(reads.size()));
    const bool reverse = random() % 2;
    if (reverse) read.ReverseComplement();
    reads.push_back(read);
    truth.push_back(Placement{start, start + length, reverse});
    bases += length;
  }
  return reads;
}

PackedReads Packed(const SequenceVector& reads) {
  PackedReads packed;
  for (const Sequence& read : reads) packed.Add(read);
  return packed;
}

long Shared(const Placement& a, const Placement& b) { return std::min(a.mEnd, b.mEnd) - std::max(a.mStart, b.mStart); }

// Every accepted overlap, by (source, query).
std::map<std::pair<int, int>, ReadOverlap> AllOverlaps(const ReadOverlapper& overlapper) {
  std::map<std::pair<int, int>, ReadOverlap> all;
  std::vector<ReadOverlap> overlaps;
  for (int q = 0; q < static_cast<int>(overlapper.mReads.size()); ++q) {
    overlaps.clear();
    overlapper.OverlapsBefore(q, overlaps, nullptr);
    for (const ReadOverlap& o : overlaps) {
      EXPECT_LT(o.mSourceIdx, q);
      EXPECT_TRUE(all.emplace(std::make_pair(o.mSourceIdx, q), o).second) << "a pair twice";
    }
  }
  return all;
}

TEST(ReadOverlapper, FindsTheTruePairsWithTheirHangsAtEachLeastScore) {
  std::mt19937 random(17);
  const std::string genome = RandomBases(random, 15000);
  std::vector<Placement> truth;
  SequenceVector reads = SampleReads(genome, 8, random, truth);
  for (const int minScore : {300, 100}) {
    ReadOverlapper overlapper(16, 10, 0, 15, 10.0f, minScore);
    overlapper.Index(Packed(reads));
    const auto all = AllOverlaps(overlapper);
    for (const auto& [pair, o] : all) {
      const Placement& s = truth[pair.first];
      const Placement& q = truth[pair.second];
      ASSERT_GT(Shared(s, q), 0) << pair.first << " " << pair.second;
      EXPECT_EQ(s.mReverse == q.mReverse ? 1 : 0, o.mOrientation);
      // Seen from the query in the source's direction.
      const long left = s.mReverse ? q.mEnd - s.mEnd : s.mStart - q.mStart;
      const long right = s.mReverse ? s.mStart - q.mStart : q.mEnd - s.mEnd;
      EXPECT_EQ(left, o.mLeftHang) << pair.first << " " << pair.second;
      EXPECT_EQ(right, o.mRightHang) << pair.first << " " << pair.second;
      EXPECT_EQ(Shared(s, q), o.mLength);
      EXPECT_GE(o.mScore, minScore);
    }
    const long least = minScore == 300 ? 400 : 150;
    for (int a = 0; a < static_cast<int>(reads.size()); ++a)
      for (int b = a + 1; b < static_cast<int>(reads.size()); ++b) {
        if (Shared(truth[a], truth[b]) >= least) {
          EXPECT_EQ(1u, all.count({a, b})) << a << " " << b;
        }
        // Short overlaps are there only when asked for.
        if (minScore == 300 && Shared(truth[a], truth[b]) < 300) {
          EXPECT_EQ(0u, all.count({a, b})) << a << " " << b;
        }
      }
  }
}

TEST(ReadOverlapper, RepeatCopiesAtReadEndsAreNoOverlaps) {
  // 15 unique stretches, each followed by one copy of the same 350 bases;
  // reads that end in copies share words there, and now and then a rare
  // word where both differ from the copies alike.
  std::mt19937 random(23);
  const std::string repeat = RandomBases(random, 350);
  std::string genome;
  for (int i = 0; i < 15; ++i) genome += RandomBases(random, 600) + repeat;
  std::vector<Placement> truth;
  SequenceVector reads = SampleReads(genome, 5, random, truth);
  for (const int repeatLimit : {0, 1000000}) {
    ReadOverlapper overlapper(16, 10, repeatLimit, 15, 10.0f, 300);
    overlapper.Index(Packed(reads));
    long falsePairs = 0;
    for (const auto& [pair, o] : AllOverlaps(overlapper)) falsePairs += Shared(truth[pair.first], truth[pair.second]) <= 0;
    // Without leaving the repeat's words out, its copies pass for overlaps.
    if (repeatLimit == 0)
      EXPECT_EQ(0, falsePairs);
    else
      EXPECT_GT(falsePairs, 0);
  }
}

}  // namespace
}  // namespace ostrel
