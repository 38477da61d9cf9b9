// Runs of the built `ostrel-ace stats` on real and hand-made assemblies.
#include <gtest/gtest.h>

#include <sstream>
#include <utility>

#include "AceModelCheck.h"
#include "TestSupport.h"
#include "acetool/AceTool.h"

namespace ostrel {
namespace {

test::CommandResult AceStats(const std::string& args) {
  return test::RunCommand(std::string("'") + OSTREL_ACE + "' stats " + args + " 2>/dev/null");
}

const std::string kContig1 = std::string(OSTREL_TEST_DATA) + "/ace/contig1.ace";

TEST(AceStatsCommand, FiguresOfARealAssembly) {
  const test::CommandResult result = AceStats("-m 100 " + kContig1);
  EXPECT_EQ(0, result.mStatus);
  EXPECT_EQ("Assembly: " + kContig1 +
                "\n"
                "Contigs: 2 announced, 2 seen\n"
                "Reads: 16 announced, 16 seen\n"
                "Consistent: yes\n"
                "Total length: 4152 padded, 4054 trimmed\n"
                "Large contigs (>= 100): 2 of 4152 padded bases; 2 of 4054 trimmed bases\n"
                "N50: 3296 padded, 3207 trimmed\n"
                "Reads in large contigs: 16\n"
                "Average read depth: 3.33\n"
                "Largest contigs:\n"
                "  name       padded  trimmed  reads\n"
                "  Contig2      3296     3207     14\n"
                "  Contig1       856      847      2\n",
            result.mStdout);
}

// Read contig by contig, every real assembly gives the figures of the
// assembly read whole (with every contig counting as large, so that each
// one's figures count).
TEST(AceStatsCommand, ContigByContigFiguresAreThoseOfTheWholeRead) {
  test::TempDir dir;
  const std::string qualPath = dir.Path("reads.qual");
  for (const std::string& path : test::RealAceFiles()) {
    test::WriteFile(qualPath, test::QualityFileFor(path));
    test::WriteGzipFile(qualPath + ".gz", test::QualityFileFor(path));
    for (const std::string& qualities : {std::string(), qualPath, qualPath + ".gz"}) {
      AceFile ace;
      ace.mMinContigSize = 0;
      {
        test::CaptureStderr quiet;
        if (qualities.empty()) {
          ace.Read(path);
        } else {
          ace.ReadAll(path, qualities);
          ace.ComputeAllContigStats();
        }
      }
      double columns = 0, depth = 0;
      for (const Contig& contig : ace)
        if (!contig.mBases.empty()) {
          columns += static_cast<double>(contig.mBases.size());
          depth += contig.CalcAverageCoverage() * static_cast<double>(contig.mBases.size());
        }
      std::ostringstream whole;
      PrintAssemblyFigures(ace, ace.Tally(), columns > 0 ? depth / columns : 0, path, !qualities.empty(), whole);
      EXPECT_EQ(whole.str(), AceStats("-m 0 " + (qualities.empty() ? "" : "-q " + qualities + " ") + path).mStdout)
          << path << " " << qualities;
    }
  }
}

TEST(AceStatsCommand, ReadQualitiesGiveGoodQualityCoverage) {
  test::TempDir dir;
  test::WriteFile(dir.Path("a.ace"),
                  "AS 1 2\nCO c 4 2 0 U\nACGT\n\nBQ\n30 30 30 30\n\nAF r1 U 1\nAF r2 C 2\n"
                  "RD r1 4 0 0\nACGT\n\nRD r2 3 0 0\nCGT\n\n");
  test::WriteFile(dir.Path("a.qual"), ">r1\n30 30 30 30\n>r2\n5 30 30\n");
  const test::CommandResult result = AceStats("-m 1 -q " + dir.Path("a.qual") + " " + dir.Path("a.ace"));
  EXPECT_EQ(0, result.mStatus);
  // r2 is complemented: its values turn round, so its last column is of low quality.
  EXPECT_NE(std::string::npos, result.mStdout.find("Average read depth: 1.75\n"));
  EXPECT_NE(std::string::npos,
            result.mStdout.find("Average coverage (good-quality read parts): 1.50 padded, 1.50 trimmed\n"));
}

TEST(AceStatsCommand, ContigsThatNeverCameCountNoColumns) {
  test::TempDir dir;
  // Two contigs announced, one in the file: the other stays empty.
  test::WriteFile(dir.Path("a.ace"), "AS 2 1\nCO c 4 1 0 U\nACGT\n\nBQ\n30 30 30 30\n\nAF r1 U 2\n"
                                     "RD r1 2 0 0\nCG\n\n");
  const test::CommandResult result = AceStats("-m 0 " + dir.Path("a.ace"));
  EXPECT_EQ(2, result.mStatus);  // the counts disagree with the records
  EXPECT_NE(std::string::npos, result.mStdout.find("Consistent: no\n")) << result.mStdout;
  EXPECT_NE(std::string::npos, result.mStdout.find("Average read depth: 0.50\n")) << result.mStdout;
}

// Input that is not a sound assembly never passes for one.
TEST(AceStatsCommand, DamagedOrForeignInputIsNotASuccess) {
  test::TempDir dir;
  test::WriteFile(dir.Path("reads.fa"), ">read1 x\nACGT\n>read2\nGGCC\n");
  test::CommandResult result =
      test::RunCommand(std::string("'") + OSTREL_ACE + "' stats " + dir.Path("reads.fa") + " 2>&1 >/dev/null");
  EXPECT_EQ(1, result.mStatus);
  EXPECT_NE(std::string::npos,
            result.mStdout.find(dir.Path("reads.fa") + " holds no ACE records (no \"AS\" or \"CO\" line)\n"));
  EXPECT_EQ("", AceStats(dir.Path("reads.fa")).mStdout);

  const std::string text = test::ReadFile(kContig1);
  test::WriteGzipFile(dir.Path("cut.ace.gz"), text, 3.0 / 4);
  result = AceStats(dir.Path("cut.ace.gz"));
  EXPECT_EQ(2, result.mStatus);
  EXPECT_EQ(0u, result.mStdout.find("Assembly: ")) << result.mStdout;

  // No contig is large: the averages over them are 0, not "nan".
  result = AceStats("-m 100000 -q " + dir.Path("reads.fa") + " " + kContig1);
  EXPECT_EQ(0, result.mStatus);
  EXPECT_NE(std::string::npos,
            result.mStdout.find("Average coverage (good-quality read parts): 0.00 padded, 0.00 trimmed\n"))
      << result.mStdout;
}

// The TSV and JSON forms of every real assembly's figures hold the values
// the library computes over the assembly read whole, and parse back (JSON
// by Python's parser) to the same values.
TEST(AceStatsCommand, TsvAndJsonHoldTheLibrarysFigures) {
  for (const std::string& path : test::RealAceFiles()) {
    AceFile ace;
    ace.mMinContigSize = 100;
    {
      test::CaptureStderr quiet;
      ace.Read(path);
    }
    const std::vector<FigureRow> rows = FigureRows(ace.Tally().Figures(3000000));
    std::string tsv = "Assembly\t" + path + "\n";
    for (const FigureRow& row : rows) tsv += row.mLabel + "\t" + row.mValue + "\n";
    EXPECT_EQ(tsv, AceStats("-m 100 -g 3m -f tsv " + path).mStdout) << path;
    // The JSON, parsed and printed back as "key<TAB>value" lines, numbers as
    // the TSV prints them.
    const test::CommandResult json = test::RunCommand(
        std::string("'") + OSTREL_ACE + "' stats -m 100 -g 3000k -f json '" + path +
        "' 2>/dev/null | /usr/bin/python3 -c 'import json, sys\n"
        "d = json.load(sys.stdin)\n"
        "for k, v in d.items(): print(k, v if isinstance(v, (str, int)) else \"%.2f\" % v, sep=\"\\t\")'");
    std::string parsed = "assembly\t" + path + "\n";
    for (const FigureRow& row : rows) parsed += row.mKey + "\t" + row.mValue + "\n";
    EXPECT_EQ(parsed, json.mStdout) << path;
  }
}

// -a adds the figures to the text, which stays as it was; -g takes sizes
// with suffixes.
TEST(AceStatsCommand, AllFiguresAndGenomeSizes) {
  const std::string text = AceStats("-m 100 " + kContig1).mStdout;
  const std::string all = AceStats("-a -m 100 " + kContig1).mStdout;
  EXPECT_EQ(0u, all.find(text));
  EXPECT_NE(std::string::npos, all.find("Figures over the contigs of >= 100 padded bases:\n  Minimum contig size"));
  EXPECT_NE(std::string::npos, all.find("\n  N50: 3287\n"));
  EXPECT_EQ(std::string::npos, all.find("NG50"));
  for (const auto& [size, bases] : std::vector<std::pair<std::string, std::string>>{
           {"4600", "4600"}, {"4.6k", "4600"}, {"4.6M", "4600000"}, {"3g", "3000000000"}, {"0.5k", "500"}}) {
    const std::string tsv = AceStats("-f tsv -g " + size + " " + kContig1).mStdout;
    EXPECT_NE(std::string::npos, tsv.find("\nExpected genome size\t" + bases + "\n")) << size;
  }
  for (const char* size : {"0", "-5k", "5kb", "k", "1.2.3", "5e3", "2000g", " 5", "."})
    EXPECT_EQ(1, AceStats(std::string("-g '") + size + "' " + kContig1).mStatus) << size;
  EXPECT_EQ(1, AceStats("-f csv " + kContig1).mStatus);
}

TEST(AceStatsCommand, UsageAndFailures) {
  test::CommandResult result = AceStats("-h");
  EXPECT_EQ(0, result.mStatus);
  EXPECT_EQ(0u, result.mStdout.find("Usage: ostrel-ace stats"));
  EXPECT_NE(std::string::npos, result.mStdout.find("[500]"));
  for (const std::string& args :
       {"-x " + kContig1, std::string(""), kContig1 + " " + kContig1, std::string("/nonexistent/a.ace"),
        "-q /nonexistent/a.qual " + kContig1, "-m abc " + kContig1, "-m '' " + kContig1, "-m 5x " + kContig1,
        "-m -5 " + kContig1, "-m ' 5' " + kContig1, "-t x " + kContig1, "-t 99999999999 " + kContig1})
    EXPECT_EQ(1, AceStats(args).mStatus) << args;
}

}  // namespace
}  // namespace ostrel
