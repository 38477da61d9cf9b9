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

// FASTQ records in the shapes other programs write (wrapped, CR LF, '+'
// repeating the name, quality lines starting with '@'), plain and bgzip,
// indexed and extracted: each bin gets its records whole in file order, from
// each input in turn, in "_out.fq"; a plain gzip input is refused naming
// bgzip; a bgzip input rewritten after indexing is caught record by record.
TEST(IndexCommand, FastqPlainAndBgzipExtractedInFileOrder) {
  TempDir dir;
  std::vector<std::string> records;
  std::string text;
  for (int r = 0; r < 4000; ++r) {
    const std::string name = "read" + std::to_string(r);
    const std::string bases(60 + r % 700, "ACGT"[r % 4]);
    const std::string qualities(bases.size(), "@I+#"[r % 4]);
    std::string record;
    if (r % 3 == 0)
      record = "@" + name + " wrapped\n" + bases.substr(0, 50) + "\n" + bases.substr(50) + "\n+" + name + "\n" +
               qualities.substr(0, 50) + "\n" + qualities.substr(50) + "\n";
    else if (r % 3 == 1)
      record = "@" + name + "\r\n" + bases + "\r\n+\r\n" + qualities + "\r\n";
    else
      record = "@" + name + "\n" + bases + "\n+\n" + qualities + "\n";
    records.push_back(record);
    text += record;
  }
  WriteFile(dir.Path("reads.fq"), text);
  ASSERT_TRUE(test::WriteBgzipFile(dir.Path("reads.fq.gz"), text, false));
  test::WriteGzipFile(dir.Path("plain.fq.gz"), text);
  WriteFile(dir.Path("list"), "reads.fq\nreads.fq.gz\n");
  WriteFile(dir.Path("bin"), "read3999\nread17\nread2500\nread0\nread17\nabsent\n");
  std::string expected;
  for (int r : {0, 17, 17, 2500, 3999}) expected += records[static_cast<size_t>(r)];
  const std::string in = "cd " + dir.Dir() + " && ";
  ASSERT_EQ(0, RunCommand(in + kFastaIndex + " reads.fq reads.fq.gz").mStatus);
  EXPECT_EQ(ReadFile(dir.Path("reads.fq_idx")), ReadFile(dir.Path("reads.fq.gz_idx")));
  const test::CommandResult run = RunCommand(in + kExtractBins + " -i list bin 2>/dev/null");
  EXPECT_EQ(0, run.mStatus) << run.mStdout;
  EXPECT_EQ(std::string::npos, run.mStdout.find("Found qual file")) << run.mStdout;
  EXPECT_EQ(expected + expected, ReadFile(dir.Path("bin_out.fq")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("bin_out.fa")));

  // A plain gzip input cannot be read by position: it is read whole, with no
  // index, into the same records.
  const test::CommandResult gzip = RunCommand(in + kExtractBins + " -I plain.fq.gz -o gz_ bin 2>/dev/null");
  EXPECT_EQ(0, gzip.mStatus) << gzip.mStdout;
  EXPECT_EQ(expected, ReadFile(dir.Path("gz_bin_out.fq")));
  // Rewritten after it was indexed: the same text after another read.
  ASSERT_TRUE(test::WriteBgzipFile(dir.Path("reads.fq.gz"), "@x\nA\n+\nI\n" + text, true));
  ASSERT_EQ(0, RunCommand(in + "touch -r reads.fq.gz reads.fq.gz_idx").mStatus);
  const test::CommandResult stale = RunCommand(in + kExtractBins + " -I reads.fq.gz -o stale_ bin 2>/dev/null");
  EXPECT_EQ(2, stale.mStatus);
  EXPECT_NE(std::string::npos, stale.mStdout.find("does not hold read read17: the index looks stale")) << stale.mStdout;
  EXPECT_EQ("", ReadFile(dir.Path("stale_bin_out.fq")));
}

}  // namespace
}  // namespace ostrel
