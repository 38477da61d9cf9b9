// Tests of the split decision: each rule of the table on small contigs whose
// profiles are known by construction, and a contig with a tail, a crash and
// a mate-pair break taken through tail and crash search, pairing and splits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ContigBuilder.h"
#include "TestSupport.h"
#include "contig/SplitRules.h"
#include "contig/WindowTests.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::CaptureStdout;
using test::Describe;
using test::MakeContig;

ContigCheck Check(const std::string& contig, int start, int end, bool merged = false, int length = 0) {
  ContigCheck check;
  check.mContig = contig;
  check.mSide = merged ? "merged" : "left";
  check.mStart = start;
  check.mEnd = end;
  check.mMerged = merged;
  check.mLength = length;
  return check;
}

struct Splits {
  std::string mText;  // standard output
  std::vector<int> mStarts, mEnds;
};

Splits Identify(Contig& contig, ContigChecks& checks) {
  Splits splits;
  CaptureStdout out;
  IdentifySplits(contig, checks, splits.mStarts, splits.mEnds);
  splits.mText = out.Text();
  return splits;
}

// 100 columns. One good pair (WGS reads, 0..9 and 90..99): template
// coverage 0 at index 0 and 1 after it; template span 1 on 11..90.
// BAC reads cover 0..39 and 60..99, leaving a 20-column BAC gap.
Contig Small() {
  Contig contig = MakeContig("Small", std::string(100, 'A'));
  AddRead(contig, "gnl|L", std::string(10, 'A'), 1, 'U', Describe("P", "fwd"));
  AddRead(contig, "gnl|R", std::string(10, 'A'), 91, 'C', Describe("P", "rev"));
  AddRead(contig, "bac1", std::string(40, 'A'), 1);
  AddRead(contig, "bac2", std::string(40, 'A'), 61);
  contig.RebuildTemplateInfo();
  return contig;
}

// 2200 columns under one good pair; BAC reads cover 0..49 and
// gapEnd..2199, so the BAC zero run is bounded by 49 and gapEnd.
Contig WideBACGap(const std::string& name, int gapEnd) {
  Contig contig = MakeContig(name, std::string(2200, 'A'));
  AddRead(contig, "gnl|L", std::string(10, 'A'), 0, 'U', Describe("P", "fwd"));
  AddRead(contig, "gnl|R", std::string(10, 'A'), 2191, 'C', Describe("P", "rev"));
  AddRead(contig, "bac1", std::string(50, 'A'), 1);
  AddRead(contig, "bac2", std::string(2200 - gapEnd, 'A'), gapEnd + 1);
  contig.RebuildTemplateInfo();
  return contig;
}

TEST(SplitRules, RulesFireInTableOrder) {
  Contig small = Small();
  ContigChecks checks;
  checks.mChecks = {
      Check("Small", 0, 5),                // template coverage 0 at index 0
      Check("Small", 45, 50),              // narrow BAC gap, not merged
      Check("Small", 45, 50, true, 6),     // the same, merged
      Check("Small", 92, 95),              // template span 0 right of the gap
      Check("Small", 20, 30, true, 11),    // nothing low, merged, short
      Check("Small", 20, 30, true, 2001),  // too long for rule 5
      Check("Small", 95, 500),             // reaches past the end: judged on 95..99
      Check("Small", 92, -1),              // a negative end reaches the last index
      Check("Small", 150, 160),            // wholly past the end: nothing is low
      Check("Other", 0, 5),
  };
  const Splits splits = Identify(small, checks);
  EXPECT_EQ(splits.mText,
            "Small\tCheckpoint 0:5  -->\t\tRULE 1 TEMPLATE0    -1:1\n"
            "Small\tCheckpoint 45:50  -->\t\tRULE NONE\n"
            "Small\tMergedCheckpoint 45:50  -->\t\tRULE 4 BAC CRASH+MG 45:45\n"
            "Small\tCheckpoint 92:95  -->\t\tRULE 3 TSPAN0       90:100\n"
            "Small\tMergedCheckpoint 20:30  -->\t\tRULE 5 MERGEDPAIR  20:30\n"
            "Small\tMergedCheckpoint 20:30  -->\t\tRULE NONE\n"
            "Small\tCheckpoint 95:500  -->\t\tRULE 3 TSPAN0       90:100\n"
            "Small\tCheckpoint 92:-1  -->\t\tRULE 3 TSPAN0       90:100\n"
            "Small\tCheckpoint 150:160  -->\t\tRULE NONE\n");
  EXPECT_EQ(splits.mStarts, (std::vector<int>{-1, 45, 90, 20, 90, 90}));
  EXPECT_EQ(splits.mEnds, (std::vector<int>{1, 45, 100, 30, 100, 100}));

  // A BAC zero run wider than 1999 is rule 2; at 1999 the checkpoint falls
  // through to the later rules.
  Contig wide = WideBACGap("Wide", 2049);
  Contig narrow = WideBACGap("Narrow", 2048);
  checks.mChecks = {Check("Wide", 100, 110), Check("Narrow", 100, 110)};
  EXPECT_EQ(Identify(wide, checks).mText, "Wide\tCheckpoint 100:110  -->\t\tRULE 2 BIG BAC CRASH 49:2049\n");
  EXPECT_EQ(Identify(narrow, checks).mText, "Narrow\tCheckpoint 100:110  -->\t\tRULE NONE\n");

  Contig empty = MakeContig("Empty", "");
  checks.mChecks = {Check("Empty", 0, 5, true, 6)};
  EXPECT_EQ(Identify(empty, checks).mText, "Empty\tMergedCheckpoint 0:5  -->\t\tRULE 5 MERGEDPAIR  0:5\n");
}

// 400 columns. Read depth: 0 on 0..29, 1 on 30..39 (the left tail), 2 on
// 40..179, 0 on 180..219 (the crash), 2 on 220..399. Pair A (41..181 by the
// template keys) lies left of the break and pair B (221..399) right of it,
// so no mate pair spans 182..220.
Contig Broken() {
  Contig contig = MakeContig("Break", std::string(400, 'A'));
  AddRead(contig, "x1", std::string(150, 'A'), 31);
  AddRead(contig, "x2", std::string(70, 'A'), 71);
  AddRead(contig, "gnl|a1", std::string(30, 'A'), 41, 'U', Describe("A", "fwd"));
  AddRead(contig, "gnl|a2", std::string(40, 'A'), 141, 'C', Describe("A", "rev"));
  AddRead(contig, "y1", std::string(180, 'A'), 221);
  AddRead(contig, "y2", std::string(110, 'A'), 251);
  AddRead(contig, "gnl|b1", std::string(30, 'A'), 221, 'U', Describe("B", "fwd"));
  AddRead(contig, "gnl|b2", std::string(40, 'A'), 361, 'C', Describe("B", "rev"));
  contig.RebuildTemplateInfo();
  return contig;
}

TEST(SplitRules, SyntheticContigSplitsAtTheMatePairBreak) {
  trimWindow = 20;
  trimHeight = 1.5f;
  Contig contig = Broken();
  std::vector<int> depth;
  contig.GetCoverage(depth);
  int left, right, start, end;
  FindTail(depth, left, right);
  EXPECT_EQ(std::make_pair(left, right), std::make_pair(30, 399));  // window 30..49 sums to 30
  FindCrash(depth, start, end);
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(-1, -1));  // the tail is no crash
  FindCrash2(left, static_cast<int>(depth.size()), depth, start, end);
  // 166..185 holds 14 columns of 2; 215..234 holds 15.
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(166, 215));

  ContigChecks checks;
  checks.mChecks = {Check("Break", 170, 190), Check("Break", 210, 230), Check("Break", 100, 110),
                    Check("Other", 5, 10)};
  checks.mChecks[1].mSide = "right";
  checks.mChecks[3].mSide = "right";
  CaptureStdout merging;
  checks.MergePairs(1000);
  EXPECT_EQ(merging.Text(), "Merging Checkpoints: Break left 170-190\tBreak right 210-230\n");

  const Splits splits = Identify(contig, checks);
  EXPECT_EQ(splits.mText,
            "Break\tMergedCheckpoint 170:230  -->\t\tRULE 1 TEMPLATE0    181:221\n"
            "Break\tCheckpoint 100:110  -->\t\tRULE NONE\n");
  // The region is bounded by the last column of pair A and the first of
  // pair B's template coverage: the break lies between them.
  EXPECT_EQ(splits.mStarts, std::vector<int>{181});
  EXPECT_EQ(splits.mEnds, std::vector<int>{221});
}

}  // namespace
}  // namespace ostrel
