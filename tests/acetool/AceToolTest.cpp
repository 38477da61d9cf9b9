// Runs of the built ostrel-ace: the subcommand dispatch, and the write,
// fasta and view subcommands on hand-made and real assemblies.
#include <gtest/gtest.h>

#include "AceModelCheck.h"
#include "TestSupport.h"
#include "util/NumberUtil.h"
#include "ace/AceFile.h"

namespace ostrel {
namespace {

const std::string kContig1 = std::string(OSTREL_TEST_DATA) + "/ace/contig1.ace";

// Standard output, or with `errors` standard error alone.
test::CommandResult AceTool(const std::string& args, bool errors = false) {
  return test::RunCommand(std::string("'") + OSTREL_ACE + "' " + args + (errors ? " 2>&1 >/dev/null" : " 2>/dev/null"));
}

// One contig whose last consensus column disagrees with both reads, with the
// reads' qualities; and one whose columns are all of low quality.
const char* const kTwoContigs =
    "AS 2 3\n\nCO c 7 2 1 U\nAC*GTAA\n\nBQ\n5 30 30 30 30 5\n\n"
    "AF r1 U 1\nAF r2 C 1\nBS 1 7 r1\n\n"
    "RD r1 7 0 0\nAC*GTAT\n\nQA 1 7 1 7\nDS TEMPLATE: t DIRECTION: fwd\n\n"
    "RD r2 7 0 0\nAC*GTAT\n\nQA 1 7 1 7\nDS TEMPLATE: t DIRECTION: rev\n\n"
    "CO low 4 1 1 U\nACGT\n\nBQ\n1 1 1 1\n\nAF r3 U 1\nBS 1 4 r3\n\nRD r3 4 0 0\nACGT\n\nQA 1 4 1 4\nDS x\n\n";
const char* const kQualities = ">r1\n30 30 30 30 30 30\n>r2\n20 20 20 20 20 20\n>r3\n40 40 40 40\n";

TEST(AceTool, SubcommandsAndUsage) {
  test::CommandResult result = AceTool("-h");
  EXPECT_EQ(0, result.mStatus);
  EXPECT_EQ(0u, result.mStdout.find("Usage: ostrel-ace SUBCOMMAND"));
  for (const char* sub :
       {"stats", "write", "fasta", "view", "split", "revcomp", "remove", "merge", "trim-tails", "problems"}) {
    result = AceTool(std::string(sub) + " -h");
    EXPECT_EQ(0, result.mStatus) << sub;
    EXPECT_EQ(0u, result.mStdout.find(std::string("Usage: ostrel-ace ") + sub)) << sub;
  }
  EXPECT_NE(std::string::npos, AceTool("view -h").mStdout.find("[100]"));
  EXPECT_NE(std::string::npos, AceTool("fasta -h").mStdout.find("[20]"));
  EXPECT_NE(std::string::npos, AceTool("trim-tails -h").mStdout.find("[1.5]"));
  for (const std::string& args :
       {std::string(""), std::string("nosuch ") + kContig1, "write " + kContig1, "write -c " + kContig1 + " out.ace",
        "fasta -t x " + kContig1, "view " + kContig1, "view -w 0 " + kContig1 + " Contig1",
        "view " + kContig1 + " NoSuchContig", "view " + kContig1 + " Contig1:900-901",
        "view " + kContig1 + " Contig1:5-2", std::string("fasta /nonexistent/a.ace")})
    EXPECT_EQ(1, AceTool(args).mStatus) << args;
  EXPECT_EQ("ostrel-ace write: -c votes the consensus from the read qualities, and needs -q reads.qual\n",
            AceTool("write -c " + kContig1 + " out.ace", true).mStdout);
}

// Written back, the assembly gives the figures it was read with; -c votes
// the consensus anew and says how much of it stayed.
TEST(AceTool, WriteKeepsTheAssemblyOrRecomputesItsConsensus) {
  test::TempDir dir;
  for (const char* name : {"out.ace", "out.ace.gz"}) {
    EXPECT_EQ(0, AceTool("write " + kContig1 + " " + dir.Path(name)).mStatus);
    const std::string before = AceTool("stats " + kContig1).mStdout;
    const std::string after = AceTool("stats " + dir.Path(name)).mStdout;
    EXPECT_EQ(before.substr(before.find('\n')), after.substr(after.find('\n'))) << name;
  }
  test::WriteFile(dir.Path("a.ace"), kTwoContigs);
  test::WriteFile(dir.Path("a.qual"), kQualities);
  const test::CommandResult said =
      AceTool("write -c -q " + dir.Path("a.qual") + " " + dir.Path("a.ace") + " " + dir.Path("c.ace"), true);
  EXPECT_EQ(0, said.mStatus);
  EXPECT_NE(std::string::npos, said.mStdout.find("Consensus recomputed: 10 of 11 columns kept their base (90.91%)\n"))
      << said.mStdout;
  const std::string written = test::ReadFile(dir.Path("c.ace"));
  EXPECT_NE(std::string::npos, written.find("\nCO c 7 2 1 U\nAC*GTAT\n\nBQ\n50 50 50 50 50 50 \n\n")) << written;
  EXPECT_EQ(1, AceTool("write " + kContig1 + " " + dir.Path("no/such/out.ace")).mStatus);
}

// Written contig by contig, an assembly comes out byte for byte as the
// assembly read and written whole, with the same lines on standard error:
// the real files, and files whose header disagrees with them or whose
// contigs lack base segments (which the writer makes anew, and says so).
// Written contig by contig, with and without read qualities and a
// recomputed consensus, an assembly is what the whole read writes, with the
// same notes.
TEST(AceTool, WriteContigByContigIsTheWholeWrite) {
  test::TempDir dir;
  const std::string contig = "CO c1 5 2 0 U\nAC*GT\n\nBQ\n10 20 30 40\n\nAF r1 U 1\nAF r2 C 2\n\n"
                             "RD r1 5 0 0\nAC*GT\n\nQA 1 5 1 5\nDS TEMPLATE: t DIRECTION: fwd\n\n"
                             "RD r2 4 0 0\nC*GT\n\nQA 1 4 1 4\nDS TEMPLATE: t DIRECTION: rev\n\n";
  test::WriteFile(dir.Path("fewer.ace"), "AS 3 6\n\n" + contig + "WA{\nnote 1 2\n}\n\n" + contig);
  test::WriteFile(dir.Path("more.ace"), "AS 1 2\n\n" + contig + contig);
  std::vector<std::string> inputs = {dir.Path("fewer.ace"), dir.Path("more.ace")};
  for (const std::string& path : test::RealAceFiles()) inputs.push_back(path);
  const std::string qualPath = dir.Path("reads.qual");
  for (const std::string& input : inputs) {
    test::WriteFile(qualPath, test::QualityFileFor(input));
    test::WriteGzipFile(qualPath + ".gz", test::QualityFileFor(input));
    for (const std::string& qualities : {std::string(), qualPath, qualPath + ".gz"})
      for (bool recompute : {false, true}) {
        if (recompute && qualities.empty()) continue;
        AceFile whole;
        std::string wholeErrors;
        {
          test::CaptureStdout out;
          test::CaptureStderr err;
          if (qualities.empty()) {
            whole.Read(input);
          } else {
            whole.ReadAll(input, qualities);
          }
          if (recompute) {
            int64_t kept = 0, columns = 0;
            for (Contig& c : whole) {
              kept += c.RecomputeConsensus();
              columns += static_cast<int64_t>(c.mBases.size());
            }
            std::cerr << "Consensus recomputed: " << kept << " of " << columns << " columns kept their base ("
                      << ftoa(columns > 0 ? 100.0f * static_cast<float>(kept) / static_cast<float>(columns) : 100.0f,
                              "%.2f")
                      << "%)" << std::endl;
          }
          whole.WriteAce(dir.Path("whole.ace"));
          wholeErrors = err.Text();
        }
        const std::string options = (qualities.empty() ? "" : "-q '" + qualities + "' ") + (recompute ? "-c " : "");
        const test::CommandResult streamed = AceTool(
            "write " + options + "'" + input + "' '" + dir.Path("streamed.ace") + "'", true);
        SCOPED_TRACE(input + " " + options);
        EXPECT_EQ(whole.mValid ? 0 : 2, streamed.mStatus);
        EXPECT_EQ(wholeErrors, streamed.mStdout);
        EXPECT_EQ(test::ReadFile(dir.Path("whole.ace")), test::ReadFile(dir.Path("streamed.ace")));
      }
  }
}

TEST(AceTool, FastaWritesTrimmedContigsAndSaysWhatItLeftOut) {
  test::TempDir dir;
  test::WriteFile(dir.Path("a.ace"), kTwoContigs);
  EXPECT_EQ(">c\nCGTA\n", AceTool("fasta " + dir.Path("a.ace")).mStdout);
  EXPECT_EQ("1 contig without trimmed bases left out\n", AceTool("fasta " + dir.Path("a.ace"), true).mStdout);
  EXPECT_EQ(">c\nACGTAA\n>low\nACGT\n", AceTool("fasta -t 0 " + dir.Path("a.ace")).mStdout);
  const std::string fasta = AceTool("fasta " + kContig1).mStdout;
  EXPECT_EQ(0u, fasta.find(">Contig1\n"));
  EXPECT_NE(std::string::npos, fasta.find("\n>Contig2\n"));
  for (size_t start = 0, end; (end = fasta.find('\n', start)) != std::string::npos; start = end + 1)
    EXPECT_LE(end - start, 60u);
}

// Windows of a stretch given in 1-based padded positions; the consensus
// shows '-' outside its trims and '.' past its end.
TEST(AceTool, ViewPrintsTheAlignmentOfAContigOrAStretch) {
  test::TempDir dir;
  test::WriteFile(dir.Path("v.ace"),
                  "AS 1 2\n\nCO c 7 2 1 U\nAC*GTAA\n\nBQ\n5 30 30 30 30 5\n\nAF r1 U 1\nAF r2 C 3\nBS 1 7 r1\n\n"
                  "RD r1 7 0 0\nAC*GTAT\n\nQA 1 7 1 7\nDS x\n\nRD r2 4 0 0\nXGTA\n\nQA 1 4 1 4\nDS y\n\n");
  EXPECT_EQ("c                     1 C*G\n"
            "r1                    1 C*G\n"
            "r2                   -1 .XG\n"
            "\n",
            AceTool("view -w 3 " + dir.Path("v.ace") + " c:2-4").mStdout);
  EXPECT_EQ("c                     0 -C*G\n"
            "r1                    0 AC*G\n"
            "r2                   -2 ..XG\n"
            "\n"
            "c                     4 TA-.\n"
            "r1                    4 TAT.\n"
            "r2                    2 TA..\n"
            "\n",
            AceTool("view -w 4 " + dir.Path("v.ace") + " c").mStdout);
  EXPECT_EQ(0u, AceTool("view -q -w 4 " + dir.Path("v.ace") + " c:5-7").mStdout.find(
                    "c                     4  T  A  -  . \n                      4 30 30 -  .  \n\n"));
}

}  // namespace
}  // namespace ostrel
