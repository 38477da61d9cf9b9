// Runs of the built ostrel-overlap on ten simulated reads of a 2.4 kb stretch
// (both strands, about 1% errors, one read in lower case, one too short),
// whose overlaps are committed beside them.
#include "overlap/OverlapCommand.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "seq/FastaRecord.h"

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

std::vector<std::vector<std::string>> TabLines(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.emplace_back();
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) lines.back().push_back(field);
  }
  return lines;
}

// The GFA line a PAF line stands for, from the PAF's coordinates alone: a
// read covered whole is contained (the target when both are), otherwise the
// read whose end is covered comes first.
std::string GfaLineOf(const std::vector<std::string>& paf) {
  const std::string& q = paf[0];
  const std::string& t = paf[5];
  const std::string strand = paf[4];
  const int qLength = std::stoi(paf[1]), qStart = std::stoi(paf[2]), qEnd = std::stoi(paf[3]);
  const int tLength = std::stoi(paf[6]), tStart = std::stoi(paf[7]), tEnd = std::stoi(paf[8]);
  const std::string cigar = paf[13].substr(5) + "M";  // ol:i:
  if (qStart == 0 && qEnd == qLength) return "C\t" + t + "\t+\t" + q + "\t" + strand + "\t" + paf[7] + "\t" + cigar;
  if (tStart == 0 && tEnd == tLength) return "C\t" + q + "\t+\t" + t + "\t" + strand + "\t" + paf[2] + "\t" + cigar;
  const bool targetFirst = strand == "+" ? qStart == 0 : tEnd == tLength;
  return targetFirst ? "L\t" + t + "\t+\t" + q + "\t" + strand + "\t" + cigar
                     : "L\t" + q + "\t" + strand + "\t" + t + "\t+\t" + cigar;
}

TEST(OverlapCommand, GfaAgreesWithThePafOfTheSameRun) {
  // The reads, and a stretch of one of them on each strand, contained.
  test::TempDir dir;
  std::string reads = test::ReadFile(kData + "reads.fa");
  const size_t second = reads.find('\n', reads.find(">read05")) + 1;
  std::string inner;
  for (size_t i = second; inner.size() < 400; ++i)
    if (reads[i] != '\n') inner += reads[i];
  inner = inner.substr(60);
  Sequence reversed = test::MakeSequence(inner);
  reversed.ReverseComplement();
  reads += ">inner\n" + inner + "\n>innerRC\n" + test::BasesOf(reversed) + "\n";
  test::WriteFile(dir.Path("reads.fa"), reads);
  const auto paf = TabLines(Overlap(kOptions + "-s 100 " + dir.Path("reads.fa")).mStdout);
  const auto gfa = TabLines(Overlap(kOptions + "-s 100 -f gfa " + dir.Path("reads.fa")).mStdout);
  std::map<std::string, std::string> lengths;  // from the PAF, of the reads with an overlap
  for (const auto& line : paf) lengths[line[0]] = line[1], lengths[line[5]] = line[6];
  ASSERT_EQ(gfa.size(), 1 + 12 + paf.size());  // H, S for all but the short read, a line per overlap
  EXPECT_EQ((std::vector<std::string>{"H", "VN:Z:1.0"}), gfa[0]);
  long containments = 0;
  for (size_t i = 1; i < gfa.size(); ++i) {
    const auto& line = gfa[i];
    if (i <= 12) {
      ASSERT_EQ(4u, line.size());
      EXPECT_EQ("S", line[0]);
      EXPECT_EQ("*", line[2]);
      if (lengths.count(line[1])) {
        EXPECT_EQ("LN:i:" + lengths[line[1]], line[3]) << line[1];
      }
      continue;
    }
    std::string joined = line[0];
    for (size_t f = 1; f < line.size(); ++f) joined += "\t" + line[f];
    EXPECT_EQ(GfaLineOf(paf[i - 13]), joined);
    containments += line[0] == "C";
  }
  EXPECT_GE(containments, 4);  // inner and innerRC in read05 and its neighbours, and in each other
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

// The same reads as FASTQ, plain, gzip and bgzip, give the same overlaps.
TEST(OverlapCommand, FastqPlainGzipAndBgzipReadAlike) {
  std::ifstream fasta(kData + "reads.fa");
  std::string text;
  for (Sequence read; ReadFastaRecord(fasta, read);) {
    const std::string bases = test::BasesOf(read);
    text += "@" + read.mName + "\n" + bases + "\n+\n" + std::string(bases.size(), '@') + "\n";
  }
  test::TempDir dir;
  test::WriteFile(dir.Path("reads.fq"), text);
  test::WriteGzipFile(dir.Path("reads.gzip.fq.gz"), text);
  ASSERT_TRUE(test::WriteBgzipFile(dir.Path("reads.bgzip.fq.gz"), text, false));
  const std::string expected = test::ReadFile(kData + "reads.paf");
  for (const char* file : {"reads.fq", "reads.gzip.fq.gz", "reads.bgzip.fq.gz"}) {
    const test::CommandResult result = Overlap(kOptions + dir.Path(file));
    EXPECT_EQ(0, result.mStatus) << file;
    EXPECT_EQ(expected, result.mStdout) << file;
  }
}

}  // namespace
}  // namespace ostrel
