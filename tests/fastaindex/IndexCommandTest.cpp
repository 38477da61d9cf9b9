#include "fastaindex/IndexCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace ostrel {
namespace {

using test::ReadFile;
using test::RunCommand;
using test::TempDir;
using test::WriteFile;

const std::string kFastaIndex = OSTREL_FASTAINDEX;
const std::string kExtractBins = OSTREL_EXTRACTBINS;

TEST(IndexCommand, ExitStatusSaysWhetherEveryFileWasIndexed) {
  TempDir dir;
  WriteFile(dir.Path("good.fa"), ">a\nA\n");
  WriteFile(dir.Path("bad.fa"), "A\n");
  const std::string in = "cd " + dir.Dir() + " && " + kFastaIndex;
  EXPECT_EQ(0, RunCommand(in + " good.fa").mStatus);
  const test::CommandResult mixed = RunCommand(in + " bad.fa good.fa missing.fa 2>&1");
  EXPECT_EQ(1, mixed.mStatus);
  EXPECT_EQ("ERROR: bad.fa byte 1: the first non-empty line does not start with '>' or '@'; no index written\n"
            "good.fa_idx: 1 record\n"
            "ERROR: Could not read missing.fa: No such file or directory\n",
            mixed.mStdout);
  EXPECT_TRUE(std::filesystem::exists(dir.Path("good.fa_idx")));
}

TEST(IndexCommand, OptionsAndUsage) {
  const test::CommandResult help = RunCommand(kFastaIndex + " -h");
  EXPECT_EQ(0, help.mStatus);
  EXPECT_EQ(0u, help.mStdout.find("Usage: ostrel-fastaindex FILE...\n"));
  EXPECT_EQ(1, RunCommand(kFastaIndex + " 2>/dev/null").mStatus);
  const test::CommandResult bad = RunCommand(kFastaIndex + " -x a.fa 2>&1");
  EXPECT_EQ(1, bad.mStatus);
  EXPECT_EQ(0u, bad.mStdout.find("Error with option '?'\nUsage:"));
}

// Records laid out in every way the index builder meets, and the same
// records as ostrel-extractbins gives them back: whole, each ended by a
// newline, blank lines between records left out.
struct RoundTripFile {
  std::string mText;
  std::string mExtracted;
};

RoundTripFile MakeFasta() {
  const std::vector<std::string> records = {
      ">r1 wrapped sequence\nACGTACGT\nACG\n", ">r2\nGGGGGGGGGGGGGGGGGGGGGGGG\n", ">r3 cr-lf\r\nAC\r\nGT\r\n",
      ">r4 header only\n", "> r5\tafter a blank\nTTTT\n", ">r6 last, no newline\nCA"};
  RoundTripFile file;
  for (size_t k = 0; k < records.size(); ++k) {
    file.mText += records[k] + (k % 2 == 0 && k + 1 < records.size() ? "\n \r\n" : "");
    file.mExtracted += records[k];
  }
  file.mExtracted += "\n";  // the last record gets the newline it lacked
  return file;
}

TEST(IndexCommand, IndexThenExtractGivesBackEachRecordWhole) {
  TempDir dir;
  const RoundTripFile fasta = MakeFasta();
  const std::string qualText = ">r1\n40 40 40\n30\n\n>r6\n 9 12\n>r3\n20\n";
  WriteFile(dir.Path("reads.fa"), fasta.mText);
  WriteFile(dir.Path("reads.qual"), qualText);
  WriteFile(dir.Path("list"), "reads.fa\n");
  WriteFile(dir.Path("all"), "r6\nr1\nr2\nr3\nr4\nr5\nabsent\n");
  WriteFile(dir.Path("one"), "r6\n");
  const std::string in = "cd " + dir.Dir() + " && ";
  ASSERT_EQ(0, RunCommand(in + kFastaIndex + " reads.fa reads.qual").mStatus);
  ASSERT_EQ(0, RunCommand(in + kExtractBins + " -i list -o out_ all one").mStatus);
  EXPECT_EQ(fasta.mExtracted, ReadFile(dir.Path("out_all_out.fa")));
  EXPECT_EQ(">r6 last, no newline\nCA\n", ReadFile(dir.Path("out_one_out.fa")));
  EXPECT_EQ(">r1\n40 40 40\n30\n>r6\n 9 12\n>r3\n20\n", ReadFile(dir.Path("out_all_out.fa.qual")));
  EXPECT_EQ(">r6\n 9 12\n", ReadFile(dir.Path("out_one_out.fa.qual")));
}

}  // namespace
}  // namespace ostrel
