#include "fastaindex/FastaIndex.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"

namespace ostrel {
namespace {

using test::CaptureStderr;
using test::CaptureStdout;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

size_t FilesIn(const TempDir& dir) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Dir())) ++count;
  return count;
}

TEST(FastaIndex, WritesTheIndexBesideTheFile) {
  TempDir dir;
  const std::string fasta = dir.Path("reads.fa");
  WriteFile(fasta, ">r1 first\nACGT\n>r2\nGG");
  CaptureStdout out;
  CaptureStderr err;
  EXPECT_TRUE(IndexFastaFile(fasta));
  EXPECT_EQ("r1\t1\t15\nr2\t16\t21\n", ReadFile(fasta + "_idx"));
  EXPECT_EQ(fasta + "_idx: 2 records\n", out.Text());
  EXPECT_EQ("", err.Text());
  EXPECT_EQ(2u, FilesIn(dir));  // no temporary file left
}

TEST(FastaIndex, NewIndexTakesTheFileCreationMask) {
  TempDir dir;
  WriteFile(dir.Path("a.fa"), ">a\nA\n");
  const mode_t saved = ::umask(027);
  CaptureStdout out;
  EXPECT_TRUE(IndexFastaFile(dir.Path("a.fa")));
  ::umask(saved);
  struct stat status;
  ASSERT_EQ(0, ::stat(dir.Path("a.fa_idx").c_str(), &status));
  EXPECT_EQ(0640u, status.st_mode & 0777u);
}

TEST(FastaIndex, BadTextLeavesTheOldIndex) {
  TempDir dir;
  const std::string fasta = dir.Path("bad.fa");
  WriteFile(fasta, ">r1\nAC\n>\nGG\n");
  WriteFile(fasta + "_idx", "old\t1\t2\n");
  CaptureStdout out;
  CaptureStderr err;
  EXPECT_FALSE(IndexFastaFile(fasta));
  EXPECT_EQ("old\t1\t2\n", ReadFile(fasta + "_idx"));
  EXPECT_EQ("ERROR: " + fasta + " byte 8: the header has no name; no index written\n", err.Text());
  EXPECT_EQ("", out.Text());
  EXPECT_EQ(2u, FilesIn(dir));
}

TEST(FastaIndex, TextBeforeTheFirstHeaderIsBad) {
  TempDir dir;
  const std::string qual = dir.Path("reads.qual");
  WriteFile(qual, "\n40 40\n>r1\n40\n");
  CaptureStderr err;
  EXPECT_FALSE(IndexFastaFile(qual));
  EXPECT_EQ("ERROR: " + qual + " byte 2: the first non-empty line does not start with '>' or '@'; no index written\n",
            err.Text());
  EXPECT_FALSE(std::filesystem::exists(qual + "_idx"));
}

TEST(FastaIndex, UnreadableFileIsReported) {
  TempDir dir;
  CaptureStderr err;
  EXPECT_FALSE(IndexFastaFile(dir.Path("missing.fa")));
  EXPECT_FALSE(IndexFastaFile(dir.Dir()));  // a directory opens but cannot be read
  EXPECT_EQ("ERROR: Could not read " + dir.Path("missing.fa") + ": No such file or directory\n" +
                "ERROR: Could not read " + dir.Dir() + ": Is a directory\n",
            err.Text());
  EXPECT_EQ(0u, FilesIn(dir));
}

TEST(FastaIndex, DuplicatesAreReportedOnce) {
  TempDir dir;
  const std::string fasta = dir.Path("dup.fa");
  WriteFile(fasta, ">a\nA\n>a\nC\n>b\nG\n>a\nT\n");
  CaptureStdout out;
  CaptureStderr err;
  EXPECT_TRUE(IndexFastaFile(fasta));
  EXPECT_EQ("a\t1\t5\na\t6\t10\nb\t11\t15\na\t16\t20\n", ReadFile(fasta + "_idx"));
  EXPECT_EQ("WARNING: " + fasta + ": 2 duplicate names; a lookup gets the last record of each\n", err.Text());
}

TEST(FastaIndex, EmptyFileGivesEmptyIndex) {
  TempDir dir;
  WriteFile(dir.Path("empty.fa"), "");
  CaptureStdout out;
  EXPECT_TRUE(IndexFastaFile(dir.Path("empty.fa")));
  EXPECT_EQ("", ReadFile(dir.Path("empty.fa_idx")));
  EXPECT_TRUE(std::filesystem::exists(dir.Path("empty.fa_idx")));
}

// A file of several read blocks: records cross every kind of block edge.
TEST(FastaIndex, LargeFileMatchesRecordPositions) {
  TempDir dir;
  std::string text;
  std::string expected;
  for (int k = 0; k < 20000; ++k) {
    const size_t start = text.size() + 1;
    text += ">read" + std::to_string(k) + (k % 3 == 0 ? " some description\r\n" : "\n");
    for (int line = 0; line < k % 5; ++line) text += std::string(60 + k % 7, "ACGT"[k % 4]) + "\n";
    if (k % 11 == 0) text += "\n";  // a blank line, outside the record
    const size_t end = text.size() - (k % 11 == 0 ? 1 : 0);
    expected += "read" + std::to_string(k) + "\t" + std::to_string(start) + "\t" + std::to_string(end) + "\n";
  }
  ASSERT_GT(text.size(), 2u << 20);
  WriteFile(dir.Path("big.fa"), text);
  CaptureStdout out;
  EXPECT_TRUE(IndexFastaFile(dir.Path("big.fa")));
  EXPECT_EQ(expected, ReadFile(dir.Path("big.fa_idx")));
}

// A FASTQ file gives the same index plain and bgzip-compressed: positions in
// its text. The block index bgzip wrote is kept; without one, the one
// written is bgzip's. A plain gzip file is refused, naming bgzip.
TEST(FastaIndex, FastqPlainAndBgzipAndGzipRefused) {
  TempDir dir;
  std::string text;
  for (int r = 0; r < 3000; ++r)
    text += "@read" + std::to_string(r) + " x\n" + std::string(40 + r % 50, 'A') + "\n+\n" +
            std::string(40 + r % 50, r % 2 ? '@' : 'I') + "\n";
  WriteFile(dir.Path("reads.fq"), text);
  ASSERT_TRUE(test::WriteBgzipFile(dir.Path("own.fq.gz"), text, true));
  ASSERT_TRUE(test::WriteBgzipFile(dir.Path("bare.fq.gz"), text, false));
  test::WriteGzipFile(dir.Path("plain.fq.gz"), text);
  const std::string bgzipIndex = ReadFile(dir.Path("own.fq.gz.gzi"));
  CaptureStdout out;
  CaptureStderr err;
  EXPECT_TRUE(IndexFastaFile(dir.Path("reads.fq")));
  EXPECT_TRUE(IndexFastaFile(dir.Path("own.fq.gz")));
  EXPECT_TRUE(IndexFastaFile(dir.Path("bare.fq.gz")));
  const std::string index = ReadFile(dir.Path("reads.fq_idx"));
  EXPECT_EQ("read0\t1\t93\nread1\t94\t188\n", index.substr(0, 24));
  EXPECT_EQ(index, ReadFile(dir.Path("own.fq.gz_idx")));
  EXPECT_EQ(index, ReadFile(dir.Path("bare.fq.gz_idx")));
  EXPECT_EQ(bgzipIndex, ReadFile(dir.Path("own.fq.gz.gzi")));
  EXPECT_EQ(bgzipIndex, ReadFile(dir.Path("bare.fq.gz.gzi")));
  EXPECT_EQ("", err.Text());
  EXPECT_FALSE(IndexFastaFile(dir.Path("plain.fq.gz")));
  EXPECT_NE(std::string::npos, err.Text().find("plain.fq.gz is gzip-compressed")) << err.Text();
  EXPECT_NE(std::string::npos, err.Text().find("bgzip")) << err.Text();
  EXPECT_FALSE(std::filesystem::exists(dir.Path("plain.fq.gz_idx")));
}

}  // namespace
}  // namespace ostrel
