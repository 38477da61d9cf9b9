// Runs of the built ostrel-overlap on ten simulated reads of a 2.4 kb stretch
// (both strands, about 1% errors, one read in lower case, one too short),
// whose overlaps are committed beside them.
#include "overlap/OverlapCommand.h"

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace ostrel {
namespace {

const std::string kData = std::string(OSTREL_TEST_DATA) + "/overlap/";
const std::string kOptions = " -q ";

// Standard output, or with `errors` standard error alone.
test::CommandResult Overlap(const std::string& args, bool errors = false) {
  return test::RunCommand(std::string("'") + OSTREL_OVERLAP + "' " + args +
                          (errors ? " 2>&1 >/dev/null" : " 2>/dev/null"));
}

TEST(OverlapCommand, WritesEachPairOnceWhateverTheThreads) {
  const std::string reads = kData + "reads.fa";
  const std::string expected = test::ReadFile(kData + "reads.paf");
  for (const char* threads : {"-t 1", "-t 3"}) {
    const test::CommandResult result = Overlap(kOptions + threads + " " + reads);
    EXPECT_EQ(0, result.mStatus) << threads;
    EXPECT_EQ(expected, result.mStdout) << threads;
  }
  EXPECT_EQ(test::ReadFile(kData + "reads.graph"), Overlap(kOptions + "-f graph " + reads).mStdout);
  EXPECT_EQ("ostrel-overlap: 11 reads, 1 shorter than 100 skipped, 12 overlaps written\n",
            Overlap(kOptions + reads, true).mStdout);
  // Written to a file, whole; the data leave standard output.
  test::TempDir dir;
  const test::CommandResult toFile = Overlap(kOptions + "-o " + dir.Path("out.paf") + " " + reads);
  EXPECT_EQ(0, toFile.mStatus);
  EXPECT_EQ("", toFile.mStdout);
  EXPECT_EQ(expected, test::ReadFile(dir.Path("out.paf")));
}

TEST(OverlapCommand, UsageAndRefusals) {
  const test::CommandResult help = Overlap("-h");
  EXPECT_EQ(0, help.mStatus);
  EXPECT_EQ(0u, help.mStdout.find("Usage: ostrel-overlap [options] reads.fa[.gz]"));
  for (const std::string& shown :
       {"-k INT   word size of the index, at most 31 [" + std::to_string(kDefaultWordSize) + "]",
        "[" + std::to_string(kDefaultWordDensity) + "]", "[" + std::to_string(kDefaultMinScore) + "]",
        "[" + std::to_string(kDefaultBandWidth) + "]", "[" + std::to_string(kDefaultMinReadSize) + "]"})
    EXPECT_NE(std::string::npos, help.mStdout.find(shown)) << shown;
  EXPECT_EQ(0u, Overlap("-k 0 x.fa", true).mStdout.find("Bad value for -k: 0\nUsage: ostrel-overlap"));
  EXPECT_EQ(0u, Overlap("-q", true).mStdout.find("Too few arguments: 0\nUsage: ostrel-overlap"));
  test::TempDir dir;
  test::WriteFile(dir.Path("empty.fa"), "no record here\n");
  EXPECT_EQ("ostrel-overlap: cannot read /nonexistent.fa\n", Overlap("/nonexistent.fa", true).mStdout);
  EXPECT_EQ("ostrel-overlap: no FASTA record in the input\n", Overlap(dir.Path("empty.fa"), true).mStdout);
  for (const std::string& args : {std::string(""), std::string("-k 0 x.fa"), std::string("-f sam x.fa"),
                                  std::string("-e 60 x.fa"), std::string("-k 32 x.fa"),
                                  std::string("-s 0 x.fa"), std::string("-t x x.fa"), std::string("-z x.fa"),
                                  std::string("/nonexistent.fa"), dir.Path("empty.fa")})
    EXPECT_EQ(1, Overlap(args).mStatus) << args;
}

}  // namespace
}  // namespace ostrel
