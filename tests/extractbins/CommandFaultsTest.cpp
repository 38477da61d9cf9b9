// ostrel-extractbins under faults: outputs that cannot be written, inputs cut
// short after they were indexed, and file names that a careless program
// would interpret. The run goes on past each fault, reports it and ends
// with status 2, and never takes bytes away from an output.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "extractbins/CommandRunFixture.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

class CommandFaults : public CommandRun {
protected:
  // A folder of its own for one case, holding a copy of the run data.
  std::string CaseFolder(const std::string& name) {
    fs::create_directory(mDir.Path(name));
    for (const char* file : {"list", "binA", "binB", "reads.fa", "reads.fa_idx", "reads.qual", "reads.qual_idx"})
      fs::copy_file(mDir.Path(file), mDir.Path(name + "/" + file));
    return name + "/";
  }
};

const char* const kOutputs[] = {"binA_out.fa", "binA_out.fa.qual", "binB_out.fa", "binB_out.fa.qual"};

// One shell word holding `text` as it stands.
std::string Quoted(const std::string& text) {
  std::string word = "'";
  for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Every output already holds bytes. Those that can be written get their
// records after them; the others are named in a message and keep what they
// held, and the other bins and inputs are still done.
TEST_F(CommandFaults, UnwritableOutputsAreReportedAndTheRunGoesOn) {
  struct Case {
    const char* what;
    const char* setUp;   // shell commands run in the case's folder first
    const char* limits;  // shell commands put before the command
    const char* prefix;  // the -o text
    std::vector<std::string> messages;
    std::set<std::string> written;  // the outputs that get their records
  };
  const Case cases[] = {
      {"full disk", "ln -sf /dev/full binA_out.fa", "", "", {"binA_out.fa write failed."},
       {"binA_out.fa.qual", "binB_out.fa", "binB_out.fa.qual"}},
      {"folder in the output's place", "rm binB_out.fa.qual && mkdir binB_out.fa.qual", "", "",
       {"binB_out.fa.qual open failed: Is a directory."}, {"binA_out.fa", "binA_out.fa.qual", "binB_out.fa"}},
      {"prefix through a regular file", "echo kept > plain", "", "plain/",
       {"plain/binA_out.fa open failed: Not a directory.", "plain/binA_out.fa.qual open failed: Not a directory.",
        "plain/binB_out.fa open failed: Not a directory.", "plain/binB_out.fa.qual open failed: Not a directory."},
       {}},
      // binA_out.fa holds 500 of the 512 bytes allowed: the append fails
      // part way through its first write.
      {"file size limit", "head -c 500 /dev/zero | tr '\\0' k > binA_out.fa", "trap '' XFSZ; ulimit -f 1; ", "",
       {"binA_out.fa write failed."}, {"binA_out.fa.qual", "binB_out.fa", "binB_out.fa.qual"}},
  };
  int number = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string folder = CaseFolder("case" + std::to_string(++number));
    for (const char* name : kOutputs) test::WriteFile(mDir.Path(folder + name), "kept\n");
    ASSERT_EQ(0, test::RunCommand("cd " + Quoted(mDir.Path(folder)) + " && " + c.setUp).mStatus);
    std::string seeds[4];
    for (int k = 0; k < 4; ++k)
      if (fs::is_regular_file(fs::symlink_status(mDir.Path(folder + kOutputs[k]))))
        seeds[k] = Output(folder + kOutputs[k]);

    const std::string prefix = *c.prefix ? "-o " + Quoted(c.prefix) + " " : "";
    const test::CommandResult result = Run("-i list " + prefix + "binA binB", "cd " + folder + " && " + c.limits);
    EXPECT_EQ(2, result.mStatus);
    for (const std::string& message : c.messages) EXPECT_TRUE(Contains(result.mStdout, message)) << result.mStdout;
    for (int k = 0; k < 4; ++k) {
      const std::string name = kOutputs[k];
      if (c.written.count(name) != 0) {
        EXPECT_EQ(seeds[k] + Expected(name), Output(folder + name)) << name;
      } else if (!seeds[k].empty()) {
        EXPECT_EQ(seeds[k], Output(folder + name).substr(0, seeds[k].size())) << name;
      }
    }
    if (*c.prefix) {
      EXPECT_EQ("kept\n", Output(folder + "plain"));
    }
  }
}

// Fresh outputs are written beside the old ones and put in place only when
// whole: when no byte can be written, every output keeps what it held and
// no temporary file is left behind.
TEST_F(CommandFaults, FreshOutputsNotWrittenWholeLeaveTheOldOnes) {
  for (const char* name : kOutputs) test::WriteFile(mDir.Path(name), "kept\n");
  const test::CommandResult result = Run("-r -i list binA binB", "trap '' XFSZ; ulimit -f 0; ");
  EXPECT_EQ(2, result.mStatus);
  for (const char* name : kOutputs) {
    EXPECT_EQ("kept\n", Output(name)) << name;
    EXPECT_TRUE(Contains(result.mStdout, std::string(name) + " write failed.\n")) << result.mStdout;
    EXPECT_TRUE(Contains(result.mStdout, std::string(name) + " left as it was: not all of its records could be written.\n"))
        << result.mStdout;
  }
  for (const auto& entry : fs::directory_iterator(mDir.Dir()))
    EXPECT_EQ(std::string::npos, entry.path().filename().string().find(".tmp")) << entry.path();
}

// A fresh run ended by a signal half way (here while it waits to read a bin
// that is a FIFO no one writes to, binA's new output begun) leaves the old
// outputs as they were and no temporary file behind.
TEST_F(CommandFaults, InterruptedFreshRunLeavesTheOldOutputs) {
  for (const char* name : kOutputs) test::WriteFile(mDir.Path(name), "kept\n");
  const test::CommandResult result = test::RunCommand(
      "cd " + Quoted(mDir.Dir()) + " && mkfifo stalled && timeout 20 sh -c '" + OSTREL_EXTRACTBINS +
      " -r -i list binA stalled binB >/dev/null & run=$!; "
      "until ls binA_out.fa.tmp* >/dev/null 2>&1; do sleep 0.01; done; kill -TERM $run; wait $run; echo $?'");
  EXPECT_EQ("143\n", result.mStdout);  // ended by the signal
  for (const char* name : kOutputs) EXPECT_EQ("kept\n", Output(name)) << name;
  for (const auto& entry : fs::directory_iterator(mDir.Dir()))
    EXPECT_EQ(std::string::npos, entry.path().filename().string().find(".tmp")) << entry.path();
}

// The input is cut after it was indexed: each record now past its end is
// reported and skipped, those before the cut are still copied after what
// the output held.
TEST_F(CommandFaults, InputCutShortAfterIndexing) {
  // reads.fa holds readA at 1..31, readB at 32..43 and readC at 44..62.
  const std::string reads = Output("reads.fa");
  test::WriteFile(mDir.Path("all"), "readC\nreadA\nreadB\n");
  const std::string skippedB = "reads.fa range 32..43 unusable, record skipped.\n";
  const std::string skippedC = "reads.fa range 44..62 unusable, record skipped.\n";
  const struct {
    size_t cut;
    std::string messages;
    size_t copied;  // bytes of reads.fa copied
  } cases[] = {
      {50, skippedC, 43},  // inside readC
      {43, skippedC, 43},  // right after readB, which ends the file now
      {40, skippedB + skippedC, 31},
      {0, "reads.fa range 1..31 unusable, record skipped.\n" + skippedB + skippedC, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cut);
    test::WriteFile(mDir.Path("reads.fa"), reads.substr(0, c.cut));
    test::WriteFile(mDir.Path("all_out.fa"), "kept\n");
    const test::CommandResult result = Run("-I reads.fa all 2>/dev/null");
    EXPECT_EQ(2, result.mStatus);
    EXPECT_EQ("ostrel-extractbins\nSingle name\nFASTA List size=1\nHash reads.fa_idx...\t3 reads found ..." +
                  c.messages + "written.\n",
              result.mStdout);
    EXPECT_EQ("kept\n" + reads.substr(0, c.copied), Output("all_out.fa"));
  }
}

// Inputs, bins and the -o text whose names hold blanks, quotes, a leading
// dash, bytes outside ASCII or a path of some 1800 bytes are plain names:
// listed in the FASTA list and the -b file, and given on the command line
// (a name that begins with '-' as ./-name).
TEST_F(CommandFaults, NamesAreTakenAsTheyStand) {
  std::string longPath;
  for (int k = 0; k < 9; ++k) longPath += std::string(199, static_cast<char>('a' + k)) + "/";
  const std::string names[] = {"with blank ", "it's \"quoted\" $HOME `x` *", "-dash -o",
                               "caf\xc3\xa9 \xff\xfe", "tab\there;|&", longPath + "deep"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name.substr(0, 40));
    const std::string folder = CaseFolder("case");
    const std::string in = folder + name;
    fs::create_directories(fs::path(mDir.Path(in)).parent_path());
    fs::create_directories(fs::path(mDir.Path(in + "out/" + name)).parent_path());
    for (const char* file : {"reads.fa", "reads.fa_idx", "reads.qual", "reads.qual_idx", "binA", "binB"})
      fs::rename(mDir.Path(folder + file), mDir.Path(in + file));
    test::WriteFile(mDir.Path(in + "list"), name + "reads.fa\n");
    test::WriteFile(mDir.Path(in + "bins"), name + "binA\n");

    const test::CommandResult result =
        Run("-i " + Quoted("./" + name + "list") + " -b " + Quoted("./" + name + "bins") + " -o " +
                Quoted("./" + name + "out/") + " " + Quoted("./" + name + "binB"),
            "cd " + Quoted(folder) + " && ");
    EXPECT_EQ(0, result.mStatus) << result.mStdout;
    for (const char* output : kOutputs)
      EXPECT_EQ(Expected(output), Output(in + "out/" + name + output)) << output;
    fs::remove_all(mDir.Path(folder));
  }
}

}  // namespace
}  // namespace ostrel
