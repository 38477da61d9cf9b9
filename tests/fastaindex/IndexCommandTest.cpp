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

// -Q writes a bin's reads as FASTQ from FASTA and quality records written
// in several shapes (wrapped, CR LF, values past 93), exactly as Biopython
// converts the same records; reads without their values are reported and
// left out, FASTQ inputs copied as they are.
TEST(IndexCommand, FastqFromFastaAndQualityAsBiopythonWritesIt) {
  TempDir dir;
  std::string fasta, quality, bin;
  for (int r = 0; r < 500; ++r) {
    const std::string name = "r" + std::to_string(r);
    const int length = 1 + r * 37 % 400;
    const char* lineEnd = r % 3 == 2 ? "\r\n" : "\n";
    fasta += ">" + name + (r % 4 == 0 ? " plate=" + std::to_string(r % 7) + " well" : "") + lineEnd;
    quality += ">" + name + lineEnd;
    const int basesALine = r % 3 == 1 ? length : 60;
    const int valuesALine = r % 2 == 0 ? 50 : 17;
    for (int i = 0; i < length; ++i) {
      fasta += "ACGTN"[(r * 7 + i) % 5];
      if ((i + 1) % basesALine == 0 || i + 1 == length) fasta += lineEnd;
      quality += std::to_string((r + i * 13) % 101);
      quality += (i + 1) % valuesALine == 0 || i + 1 == length ? lineEnd : " ";
    }
    if (r % 9 == 4) bin = name + "\n" + bin;
  }
  WriteFile(dir.Path("reads.fa"), fasta);
  WriteFile(dir.Path("reads.qual"), quality);
  WriteFile(dir.Path("bin"), bin + "absent\n");
  WriteFile(dir.Path("bad.fa"), ">b1\nACG\n>b2\nACG\n>b3 kept\nAC\nG\n");
  WriteFile(dir.Path("bad.qual"), ">b3\n10\n20 95\n>b2\n10 20\n");
  WriteFile(dir.Path("lone.fa"), ">l1\nA\n>l2\nC\n");
  WriteFile(dir.Path("q.fq"), "@q1 as is\r\nAC\r\n+q1\r\n@I\r\n");
  WriteFile(dir.Path("list"), "bad.fa\nlone.fa\nq.fq\n");
  WriteFile(dir.Path("badbin"), "q1\nl2\nb3\nb2\nl1\nb1\n");
  const std::string in = "cd " + dir.Dir() + " && ";
  ASSERT_EQ(0, RunCommand(in + kFastaIndex + " reads.fa reads.qual bad.fa bad.qual lone.fa q.fq").mStatus);

  const test::CommandResult bad = RunCommand(in + kExtractBins + " -Q -i list badbin 2>&1");
  EXPECT_EQ(2, bad.mStatus);
  for (const char* report : {"b1: no quality record in bad.qual; read not written.\n",
                             "b2: 3 bases, 2 quality values in bad.qual; read not written.\n",
                             "lone.fa has no quality file: 2 reads not written.\n",
                             "1 quality value above 93 written as 93, the highest FASTQ holds.\n"})
    EXPECT_NE(std::string::npos, bad.mStdout.find(report)) << report << bad.mStdout;
  EXPECT_EQ("@b3 kept\nACG\n+\n+5~\n@q1 as is\r\nAC\r\n+q1\r\n@I\r\n", ReadFile(dir.Path("badbin_out.fq")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("badbin_out.fa")));

  const test::CommandResult good = RunCommand(in + kExtractBins + " -Q -I reads.fa bin 2>/dev/null");
  EXPECT_EQ(0, good.mStatus) << good.mStdout;
  EXPECT_NE(std::string::npos, good.mStdout.find("Found qual file reads.qual\n")) << good.mStdout;
  EXPECT_FALSE(std::filesystem::exists(dir.Path("bin_out.fa.qual")));
  if (RunCommand("/usr/bin/python3 -c 'import Bio' 2>/dev/null").mStatus != 0)
    GTEST_SKIP() << "Biopython (Debian's python3-biopython) not installed";
  WriteFile(dir.Path("convert.py"),
            "import warnings\n"
            "from Bio import SeqIO\n"
            "from Bio.SeqIO.QualityIO import PairedFastaQualIterator\n"
            "names = set(open('bin').read().split())\n"
            "warnings.simplefilter('ignore')\n"
            "with open('reads.fa') as f, open('reads.qual') as q, open('expected.fq', 'w') as out:\n"
            "    SeqIO.write((r for r in PairedFastaQualIterator(f, q) if r.id in names), out, 'fastq')\n");
  ASSERT_EQ(0, RunCommand(in + "/usr/bin/python3 convert.py").mStatus);
  const std::string expected = ReadFile(dir.Path("expected.fq"));
  EXPECT_NE(std::string::npos, expected.find("@r4 plate=4 well\n"));
  EXPECT_EQ(expected, ReadFile(dir.Path("bin_out.fq")));
  const test::CommandResult streamed = RunCommand(in + kExtractBins + " -Q -S -I reads.fa -o streamed/ bin 2>/dev/null");
  EXPECT_EQ(0, streamed.mStatus) << streamed.mStdout;
  EXPECT_EQ(expected, ReadFile(dir.Path("streamed/bin_out.fq")));
}

}  // namespace
}  // namespace ostrel
