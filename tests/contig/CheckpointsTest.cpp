// Tests of checkpoint pairing and of the problem-contig list read from a
// repeat report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "contig/Checkpoints.h"

namespace ostrel {
namespace {

using test::CaptureStdout;

ContigCheck Check(const std::string& contig, const std::string& side, int start, int end) {
  ContigCheck check;
  check.mContig = contig;
  check.mSide = side;
  check.mStart = start;
  check.mEnd = end;
  return check;
}

// One line per checkpoint: contig side start-end length merged used.
std::string Describe(const ContigChecks& checks) {
  std::string text;
  for (const ContigCheck& c : checks.mChecks)
    text += c.mContig + " " + c.mSide + " " + std::to_string(c.mStart) + "-" + std::to_string(c.mEnd) + " " +
            std::to_string(c.mLength) + (c.mMerged ? " M" : "") + (c.mUsed ? " U" : "") + "\n";
  return text;
}

TEST(Checkpoints, MergePairsJoinsClosestLeftAndRight) {
  ContigChecks checks;
  checks.mChecks = {
      Check("C1", "left", 100, 120),
      Check("C1", "left", 50, 60),     // two lefts never pair
      Check("C1", "right", 150, 160),  // 60 from the first left, 110 from the second
      Check("C2", "right", 10, 20),
      Check("C2", "left", 1000030, 1000040),  // 999999 or more away: never a mate
      Check("C1", "right", 30, 35),           // 65 from the first left, 15 from the second
      Check("C3", "right", 300, 310),         // a right checkpoint that comes first
      Check("C3", "left", 200, 210),
      Check("C4", "left", 0, 5),
      Check("C4", "right", 495, 500),  // exactly maxDistance away: too far
  };
  checks.mChecks[3].mCarriedText1 = "kept";
  EXPECT_EQ(checks.FindClosestMate(0, 1000), 2);
  EXPECT_EQ(checks.FindClosestMate(4, 2000000), -1);
  EXPECT_EQ(checks.FindClosestMate(-1, 1000), -1);
  EXPECT_EQ(checks.FindClosestMate(10, 1000), -1);

  CaptureStdout out;
  checks.MergePairs(500);
  EXPECT_EQ(out.Text(),
            "Merging Checkpoints: C1 left 100-120\tC1 right 150-160\n"
            "Merging Checkpoints: C1 left 50-60\tC1 right 30-35\n"
            "Merging Checkpoints: C3 right 300-310\tC3 left 200-210\n");
  EXPECT_EQ(Describe(checks),
            "C1 merged 100-160 61 M\n"
            "C1 merged 35-50 16 M\n"
            "C3 merged 200-310 111 M\n"
            "C2 right 10-20 0\n"
            "C2 left 1000030-1000040 0\n"
            "C4 left 0-5 0\n"
            "C4 right 495-500 0\n");
  EXPECT_EQ(checks.mChecks[3].mCarriedText1, "kept");  // unmerged records travel whole

  CaptureStdout again;  // merged checkpoints never pair again
  checks.MergePairs(500);
  EXPECT_EQ(again.Text(), "");
  EXPECT_EQ(checks.mChecks.size(), 7u);
}

TEST(Checkpoints, ProblemContigsComeFromRepNodeLines) {
  test::TempDir dir;
  const std::string file = dir.Path("repeats.txt");
  test::WriteFile(file,
                  "Rep_node: Contig12_3\n"
                  "Rep_node:\tContig7 \n"
                  "Rep_node: Contig_1_2\n"  // two underscores: no name
                  "other: Contig9_1\n"
                  "Rep_node: Contig12_8");  // a name seen twice, last line unended
  StringSet names = {"Before"};
  CaptureStdout out;
  GetProblemContigs(file, names);
  EXPECT_EQ(out.Text(), "Reading problem contigs from " + file + "...\n" +
                            "Adding Contig12 to problem contigs list.\n"
                            "Adding Contig7 to problem contigs list.\n"
                            "Adding Contig12 to problem contigs list.\n");
  EXPECT_EQ(names, (StringSet{"Before", "Contig12", "Contig7"}));

  StringSet none;
  GetProblemContigs(dir.Path("missing.txt"), none);
  EXPECT_TRUE(none.empty());
}

}  // namespace
}  // namespace ostrel
