// Runs of the built ostrel-ace editing subcommands on a real assembly: each
// edit's summary, and an output that reads back sound.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"

namespace ostrel {
namespace {

const std::string kContig1 = std::string(OSTREL_TEST_DATA) + "/ace/contig1.ace";

test::CommandResult AceTool(const std::string& args, bool errors = false) {
  return test::RunCommand(std::string("'") + OSTREL_ACE + "' " + args + (errors ? " 2>&1 >/dev/null" : " 2>/dev/null"));
}

// What `stats` says of a file, its first line (the file name) left out.
std::string Figures(const std::string& path) {
  const std::string text = AceTool("stats -m 100 " + path).mStdout;
  return text.substr(std::min(text.size(), text.find('\n')));
}

TEST(EditCommands, ReversingTwiceGivesTheContigBack) {
  test::TempDir dir;
  const std::string once = dir.Path("once.ace"), twice = dir.Path("twice.ace");
  EXPECT_EQ("Contigs: 2 before, 2 after\nReads: 16 before, 16 after\nReversed: Contig1\nColumns voted by majority: 0\n",
            AceTool("revcomp " + kContig1 + " " + once + " Contig1").mStdout);
  EXPECT_EQ(0, AceTool("revcomp " + once + " " + twice + " Contig1").mStatus);
  const std::string original = AceTool("fasta -t 0 " + kContig1).mStdout;
  EXPECT_NE(original, AceTool("fasta -t 0 " + once).mStdout);
  EXPECT_EQ(original, AceTool("fasta -t 0 " + twice).mStdout);
  EXPECT_EQ(Figures(kContig1), Figures(twice));
}

// A contig left without reads is dropped and said so; every output reads
// back consistent.
TEST(EditCommands, EditsSayWhatTheyChanged) {
  test::TempDir dir;
  const std::string out = dir.Path("out.ace");
  struct Case {
    std::string args;
    std::string summary;
  };
  const Case cases[] = {
      {"remove " + kContig1 + " " + out + " Contig2",
       "Contigs: 2 before, 1 after\nReads: 16 before, 2 after\nRemoved: Contig2\nColumns voted by majority: 0\n"},
      {"merge " + kContig1 + " " + out + " Contig1 Contig2 856",
       "Contigs: 2 before, 1 after\nReads: 16 before, 16 after\nMerged Contig2 into Contig1 at column 856: 14 reads "
       "moved\nColumns voted by majority: 0\nDropped, left without reads: Contig2\n"},
      {"split -m 0 " + kContig1 + " " + out + " Contig2:1500-1600 Contig2:2500-2600 Contig1:10-20",
       "Contigs: 2 before, 5 after\nReads: 16 before, 16 after\nCut Contig2 at 2 regions\nCut Contig1 at 1 region\n"
       "Columns voted by majority: 3764\n"},
      {"trim-tails -w 10 -H 1 " + kContig1 + " " + out,
       "Contigs: 2 before, 1 after\nReads: 16 before, 13 after\nReads removed from contig ends: 3\n"
       "Columns voted by majority: 0\nDropped, left without reads: Contig1\n"},
  };
  for (const Case& c : cases) {
    const test::CommandResult result = AceTool(c.args);
    EXPECT_EQ(0, result.mStatus) << c.args;
    EXPECT_EQ(c.summary, result.mStdout) << c.args;
    EXPECT_NE(std::string::npos, Figures(out).find("Consistent: yes\n")) << c.args;
  }
}

// Checkpoints paired and judged; a malformed line is reported by number.
// Without templates in the file, template coverage is nil: rule 1 proposes
// cutting all of the contig.
TEST(EditCommands, ProblemsJudgesCheckpoints) {
  test::TempDir dir;
  test::WriteFile(dir.Path("checks.tsv"),
                  "# contig\tside\tstart\tend\nContig2\tleft\t1000\t1100\nContig2\tright\t1300\t1400\n"
                  "Contig1\tmiddle\t5\t6\nContig1\tleft\t800\t900\n\nbroken line\n");
  const std::string args = "problems " + kContig1 + " " + dir.Path("checks.tsv");
  EXPECT_EQ("Merging Checkpoints: Contig2 left 1000-1100\tContig2 right 1300-1400\n"
            "Contig1\tCheckpoint 800:900  -->\t\tRULE 1 TEMPLATE0    -1:856\n"
            "Contig2\tMergedCheckpoint 1000:1400  -->\t\tRULE 1 TEMPLATE0    -1:3296\n",
            AceTool(args).mStdout);
  // With an output the contigs are cut where the rules say.
  const test::CommandResult cut = AceTool(args + " " + dir.Path("cut.ace"));
  EXPECT_EQ(0, cut.mStatus);
  EXPECT_EQ(0u, cut.mStdout.find("Contigs: 2 before, 2 after\nReads: 16 before, 16 after\nMerging Checkpoints: "));
  EXPECT_NE(std::string::npos, cut.mStdout.find("\nCut Contig1 at 1 region\nCut Contig2 at 1 region\n"));
  EXPECT_NE(std::string::npos, Figures(dir.Path("cut.ace")).find("Consistent: yes\n"));
  EXPECT_EQ(dir.Path("checks.tsv") + " line 4: the side is neither left nor right, skipped\n" +
                dir.Path("checks.tsv") + " line 7: not four tab-separated fields (contig, side, start, end), skipped\n",
            AceTool(args, true).mStdout);
}

TEST(EditCommands, RequestsThatCannotBeCarriedOut) {
  test::TempDir dir;
  const std::string out = dir.Path("out.ace");
  for (const std::string& args :
       {"revcomp " + kContig1 + " " + kContig1 + " Contig1", "remove " + kContig1 + " " + out + " Nope",
        "merge " + kContig1 + " " + out + " Contig1 Contig1 0", "merge " + kContig1 + " " + out + " Contig1 Contig2 x",
        "trim-tails -H x " + kContig1 + " " + out, "trim-tails -w 0 " + kContig1 + " " + out,
        "split " + kContig1 + " " + out + " Contig2:0-5", "split " + kContig1 + " " + out + " Nope:1-5",
        "split " + kContig1 + " " + out + " Contig2:5000-6000",
        "split " + kContig1 + " " + out + " Contig1:10-20 Contig2:3000-3297",
        "merge " + kContig1 + " " + out + " Contig1 Contig2 857",
        "problems " + kContig1 + " /nonexistent/checks.tsv",
        "revcomp " + kContig1 + " " + out})
    EXPECT_EQ(1, AceTool(args).mStatus) << args;
  EXPECT_FALSE(std::filesystem::exists(out));
}

// Without read qualities an edit keeps the consensus (the pieces of a cut
// once came out nearly all N) and every tag, renamed with its piece, or
// mirrored by a reversal and back.
TEST(EditCommands, EditsWithoutQualitiesKeepConsensusAndTags) {
  test::TempDir dir;
  const std::string out = dir.Path("out.ace"), back = dir.Path("back.ace");
  auto unknown = [](const std::string& fasta) { return std::count(fasta.begin(), fasta.end(), 'N'); };
  const auto tags = test::TagRecords(test::ReadFile(kContig1));
  ASSERT_EQ(12u, tags.size());
  ASSERT_EQ(0, AceTool("split " + kContig1 + " " + out + " Contig2:1000-1200").mStatus);
  EXPECT_EQ(unknown(AceTool("fasta -t 0 " + kContig1).mStdout), unknown(AceTool("fasta -t 0 " + out).mStdout));
  for (const std::string& args : {"split " + kContig1 + " " + out + " Contig2:1000-1200",
                                  "split -m 0 " + kContig1 + " " + out + " Contig2:1500-1600 Contig1:10-20",
                                  "merge " + kContig1 + " " + out + " Contig1 Contig2 856"}) {
    ASSERT_EQ(0, AceTool(args).mStatus);
    EXPECT_EQ(tags.size(), test::TagRecords(test::ReadFile(out)).size()) << args;
  }
  ASSERT_EQ(0, AceTool("revcomp " + kContig1 + " " + out + " Contig2").mStatus);
  EXPECT_NE(tags, test::TagRecords(test::ReadFile(out)));
  ASSERT_EQ(0, AceTool("revcomp " + out + " " + back + " Contig2").mStatus);
  EXPECT_EQ(tags, test::TagRecords(test::ReadFile(back)));
}

// A file cut short: the contig left without reads is not written, and the
// header counts what is.
TEST(EditCommands, ContigsWithoutReadsAreLeftOut) {
  test::TempDir dir;
  const std::string given = test::ReadFile(kContig1);
  // Cut short in Contig2's consensus, a tag on Contig2 after it.
  test::WriteFile(dir.Path("cut.ace"), given.substr(0, given.find("\nCO Contig2") + 400) +
                                           "\n\nCT{\nContig2 comment consed 1 5 040217:110357\n}\n");
  const test::CommandResult result = AceTool("write " + dir.Path("cut.ace") + " " + dir.Path("out.ace"), true);
  EXPECT_EQ(2, result.mStatus);
  EXPECT_NE(std::string::npos, result.mStdout.find("Left out Contig2: it holds no reads.\n"));
  EXPECT_NE(std::string::npos, result.mStdout.find("1 tag left out: "));
  const std::string written = test::ReadFile(dir.Path("out.ace"));
  EXPECT_EQ(0u, written.find("AS 1 2\n"));
  EXPECT_EQ(std::string::npos, written.find("Contig2"));
}

}  // namespace
}  // namespace ostrel
