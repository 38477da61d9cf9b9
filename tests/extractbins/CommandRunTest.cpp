// End-to-end runs of the built ostrel-extractbins in a temporary directory:
// standard output line by line, exit status, output files byte by byte.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "extractbins/CommandRunFixture.h"
#include "extractbins/RunSettings.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string UsageText() {
  test::CaptureStdout out;
  PrintHelp();
  return out.Text();
}

TEST_F(CommandRun, WholeRunMatchesTranscriptAndOutputs) {
  const std::string args = test::ReadFile(std::string(OSTREL_TEST_DATA) + "/extractbins/run/args");
  const test::CommandResult result = Run(args);
  EXPECT_EQ(0, result.mStatus);
  const std::vector<std::string> expected = Lines(Expected("stdout"));
  const std::vector<std::string> got = Lines(result.mStdout);
  ASSERT_EQ(expected.size(), got.size()) << result.mStdout;
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(expected[i], got[i]) << "line " << i + 1;
  for (const char* name : {"binA_out.fa", "binA_out.fa.qual", "binB_out.fa", "binB_out.fa.qual"})
    EXPECT_EQ(Expected(name), Output(name)) << name;
  // A bin with nothing found opens no output file.
  EXPECT_FALSE(Exists("binC_out.fa"));
  EXPECT_FALSE(Exists("binC_out.fa.qual"));
}

TEST_F(CommandRun, OutputsAreAppendedTo) {
  EXPECT_EQ(0, Run("-i list binA").mStatus);
  EXPECT_EQ(0, Run("-i list binA").mStatus);
  EXPECT_EQ(Expected("binA_out.fa") + Expected("binA_out.fa"), Output("binA_out.fa"));
  EXPECT_EQ(Expected("binA_out.fa.qual") + Expected("binA_out.fa.qual"), Output("binA_out.fa.qual"));
}

TEST_F(CommandRun, HelpPrintsUsageAndSucceeds) {
  const test::CommandResult result = Run("-h");
  EXPECT_EQ(0, result.mStatus);
  EXPECT_EQ(UsageText(), result.mStdout);
}

TEST_F(CommandRun, BadOptionsPrintErrorAndUsage) {
  // Each of these fails the scan, so '?' is reported even beside -h.
  for (const char* args : {"-s x binA", "-i", "-i -o x", "-ilist", "-h -s x", "- binA"}) {
    const test::CommandResult result = Run(args);
    EXPECT_EQ(1, result.mStatus) << args;
    EXPECT_EQ("Error with option '?'\n" + UsageText(), result.mStdout) << args;
  }
  EXPECT_FALSE(Exists("binA_out.fa"));
}

TEST_F(CommandRun, UnreadableListEndsWithStatusOne) {
  test::CommandResult result = Run("-i missing.list binA");
  EXPECT_EQ(1, result.mStatus);
  EXPECT_EQ("ostrel-extractbins\nmissing.list didn't open\n", result.mStdout);
  result = Run("binA");  // no -i: the empty list name
  EXPECT_EQ(1, result.mStatus);
  EXPECT_EQ("ostrel-extractbins\n'' didn't open\n", result.mStdout);
}

TEST_F(CommandRun, SingleNameTakesNoQualityFile) {
  const test::CommandResult result = Run("-I reads.fa -i list binA");
  EXPECT_EQ(0, result.mStatus);
  EXPECT_EQ(
      "ostrel-extractbins\nSingle name\nFASTA List size=1\n"
      "Hash reads.fa_idx...\t2 reads found ...written.\n",
      result.mStdout);
  EXPECT_FALSE(Exists("binA_out.fa.qual"));
}

TEST_F(CommandRun, EmptyListDoesNothing) {
  test::WriteFile(mDir.Path("empty.list"), "");
  test::CommandResult result = Run("-i empty.list binA");
  EXPECT_EQ(0, result.mStatus);
  EXPECT_EQ("ostrel-extractbins\nFASTA List size=0\n", result.mStdout);
}

// A command line that leaves nothing to do shows the usage and fails,
// before any index is read.
TEST_F(CommandRun, NothingToDoIsNotASuccess) {
  test::WriteFile(mDir.Path("blank.fof"), "\n\n");
  const std::string none = "No bin names: none on the command line.\n";
  const std::string noneInFile = "No bin names: none on the command line and none in the -b file.\n";
  const std::pair<const char*, std::string> cases[] = {
      {"", ""},
      {"-i list", none},
      {"-I reads.fa -o out/", none},
      {"-i list -b blank.fof", noneInFile},
      {"-i list -b missing.fof", "ERROR: Could not open missing.fof\n" + noneInFile},
  };
  for (const auto& [args, message] : cases) {
    const test::CommandResult result = Run(args);
    EXPECT_EQ(1, result.mStatus) << args;
    EXPECT_EQ(message + UsageText(), result.mStdout) << args;
  }
}

TEST_F(CommandRun, BinFileOptionIsReadOnlyWhenGiven) {
  test::CommandResult result = Run("-I reads.fa -b missing.fof binA");
  EXPECT_EQ(2, result.mStatus);
  EXPECT_EQ(0u, result.mStdout.find("ERROR: Could not open missing.fof\nostrel-extractbins\n")) << result.mStdout;
  result = Run("-I reads.fa -b '' binA");
  EXPECT_EQ(2, result.mStatus);
  EXPECT_EQ(0u, result.mStdout.find("ERROR: Could not open ''\nostrel-extractbins\n")) << result.mStdout;
  // Given twice, only the last file is read.
  test::WriteFile(mDir.Path("other.fof"), "binB\n");
  result = Run("-I reads.fa -b missing.fof -b other.fof");
  EXPECT_EQ(0, result.mStatus);
  EXPECT_EQ(
      "ostrel-extractbins\nSingle name\nFASTA List size=1\n"
      "Hash reads.fa_idx...\t2 reads found ...written.\n",
      result.mStdout);
}

TEST_F(CommandRun, UnopenableFilesGoOnButEndWithStatusTwo) {
  fs::remove(mDir.Path("reads.qual_idx"));
  test::CommandResult result = Run("-i list binA nobin");
  EXPECT_EQ(2, result.mStatus);
  EXPECT_EQ(
      "ostrel-extractbins\nFound qual file reads.qual\nFASTA List size=2\n"
      "Hash reads.fa_idx...\t2 reads found ...written.\n"
      "ERROR: Could not open nobin\n0 reads found ...written.\n"
      "Hash reads.qual_idx...\treads.qual_idx failed to open (index of reads.qual; "
      "ostrel-fastaindex reads.qual makes it)\n"
      "0 reads found ...written.\n"
      "ERROR: Could not open nobin\n0 reads found ...written.\n",
      result.mStdout);
  EXPECT_EQ(Expected("binA_out.fa"), Output("binA_out.fa"));

  fs::rename(mDir.Path("reads.fa"), mDir.Path("moved.fa"));
  result = Run("-I reads.fa binA");
  EXPECT_EQ(2, result.mStatus);
  EXPECT_EQ("ostrel-extractbins\nSingle name\nFASTA List size=1\nreads.fa: No such file or directory; input skipped.\n",
            result.mStdout);

  result = Run("-I moved.fa -o missing-dir/ binA");
  EXPECT_EQ(2, result.mStatus);
}

TEST_F(CommandRun, UnusableRangesAreSkippedAndReported) {
  test::WriteFile(mDir.Path("reads.fa_idx"),
                  "readA\t1\t31\nreadB\t0\t43\nreadC\t44\t63\nreadD\t50\t49\nreadE\t1\t99999999999999999999999\n");
  test::WriteFile(mDir.Path("bad"), "readC\nreadA\nreadB\nreadD\nreadE\n");
  const test::CommandResult result = Run("-I reads.fa bad");
  EXPECT_EQ(2, result.mStatus);
  EXPECT_EQ(
      "ostrel-extractbins\nSingle name\nFASTA List size=1\n"
      "Hash reads.fa_idx...\t5 reads found ...reads.fa range 0..43 unusable, record skipped.\n"
      "reads.fa range 1..9223372036854775807 unusable, record skipped.\n"
      "reads.fa range 44..63 unusable, record skipped.\n"
      "reads.fa range 50..49 unusable, record skipped.\n"
      "written.\n",
      result.mStdout);
  EXPECT_EQ(test::ReadFile(mDir.Path("reads.fa")).substr(0, 31), Output("bad_out.fa"));
}

// An input that is not there is reported as missing, not as a missing
// index; names that begin or end with a blank are shown in quotes.
TEST_F(CommandRun, MissingInputsAreReportedAsMissing) {
  test::WriteFile(mDir.Path("gaps.list"), "missing.fa\nreads.fa \n reads.fa\nreads.fa\n");
  const test::CommandResult result = Run("-i gaps.list binA 'nobin ' 2>err");
  EXPECT_EQ(2, result.mStatus);
  EXPECT_EQ(
      "ostrel-extractbins\nFound qual file reads.qual\nFASTA List size=5\n"
      "missing.fa: No such file or directory; input skipped.\n"
      "'reads.fa ': No such file or directory; input skipped.\n"
      "' reads.fa': No such file or directory; input skipped.\n"
      "Hash reads.fa_idx...\t2 reads found ...written.\n"
      "ERROR: Could not open 'nobin '\n0 reads found ...written.\n"
      "Hash reads.qual_idx...\t2 reads found ...written.\n"
      "ERROR: Could not open 'nobin '\n0 reads found ...written.\n",
      result.mStdout);
  EXPECT_EQ(Expected("binA_out.fa"), Output("binA_out.fa"));
}

// Bins kept in folders: the folders missing on the way to an output are
// made, with mode 0777 less the file-creation mask.
TEST_F(CommandRun, OutputsInMissingFoldersAreMade) {
  fs::create_directory(mDir.Path("bins"));
  fs::copy(mDir.Path("binA"), mDir.Path("bins/binA"));
  EXPECT_EQ(0, Run("-i list -o out/deep/ bins/binA", "umask 027 && ").mStatus);
  EXPECT_EQ(Expected("binA_out.fa"), Output("out/deep/bins/binA_out.fa"));
  EXPECT_EQ(Expected("binA_out.fa.qual"), Output("out/deep/bins/binA_out.fa.qual"));
  for (const char* folder : {"out", "out/deep", "out/deep/bins"}) {
    struct stat status;
    ASSERT_EQ(0, ::stat(mDir.Path(folder).c_str(), &status)) << folder;
    EXPECT_EQ(0750u, status.st_mode & 0777u) << folder;
  }
}

// With -r every output the run writes holds what appending to an empty file
// would give, however often the run is repeated, and keeps the permissions
// of the file it replaced; an output it writes nothing to keeps what it
// held, and no temporary file is left. Without -r
// a run that appends to outputs holding bytes says how many.
TEST_F(CommandRun, FreshOutputsHoldWhatAppendingToEmptyFilesGives) {
  const char* const outputs[] = {"binA_out.fa", "binA_out.fa.qual", "binB_out.fa", "binB_out.fa.qual",
                                 "binC_out.fa", "binC_out.fa.qual"};
  // bins.fof names binA and binB: binA is extracted twice; binA and ./binA
  // name the same outputs.
  for (const char* bins : {"binA binB binC", "-b bins.fof binA binC", "binA ./binA binC"}) {
    SCOPED_TRACE(bins);
    fs::remove_all(mDir.Path("append"));
    fs::remove_all(mDir.Path("fresh"));
    test::CommandResult result = Run("-i list -o append/ " + std::string(bins) + " 2>err");
    EXPECT_EQ(0, result.mStatus);
    EXPECT_EQ(std::string::npos, Output("err").find("already held")) << Output("err");
    fs::create_directory(mDir.Path("fresh"));
    for (const char* name : outputs) {
      test::WriteFile(mDir.Path("fresh/") + name, "old\n");
      fs::permissions(mDir.Path("fresh/") + name, fs::perms::owner_read | fs::perms::owner_write);
    }
    for (int run = 0; run < 2; ++run) {
      result = Run("-r -i list -o fresh/ " + std::string(bins) + " 2>err");
      EXPECT_EQ(0, result.mStatus);
      EXPECT_EQ(std::string::npos, Output("err").find("already held")) << Output("err");
    }
    size_t files = 0;
    for (const char* name : outputs) {
      const std::string appended = "append/" + std::string(name);
      EXPECT_EQ(Exists(appended) ? Output(appended) : "old\n", Output("fresh/" + std::string(name))) << name;
      EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write,
                fs::status(mDir.Path("fresh/") + name).permissions() & fs::perms::all)
          << name;
      files += Exists(appended) ? 1 : 0;
    }
    EXPECT_EQ(6, std::distance(fs::directory_iterator(mDir.Path("fresh")), fs::directory_iterator()));

    result = Run("-i list -o append/ " + std::string(bins) + " 2>err");
    EXPECT_EQ(0, result.mStatus);
    EXPECT_EQ(0u, Output("err").find(std::to_string(files) +
                                      " outputs already held bytes: this run's records were appended after them "
                                      "(-r replaces outputs instead).\n"))
        << Output("err");
  }
}

// Lists written on Windows: every line of the FASTA list, the bin-name file
// and the bins ends in CR LF, and the run is that of the plain files.
TEST_F(CommandRun, ListsWithCarriageReturnsReadAsPlainLists) {
  const test::CommandResult plain = Run("-i list -b bins.fof binC");
  for (const char* name : {"list", "bins.fof", "binA", "binB", "binC"}) {
    std::string text = test::ReadFile(mDir.Path(name));
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    test::WriteFile(mDir.Path(name), crlf);
  }
  for (const char* name : {"binA_out.fa", "binA_out.fa.qual", "binB_out.fa", "binB_out.fa.qual"})
    fs::remove(mDir.Path(name));
  const test::CommandResult crlf = Run("-i list -b bins.fof binC");
  EXPECT_EQ(0, crlf.mStatus);
  EXPECT_EQ(plain.mStdout, crlf.mStdout);
  for (const char* name : {"binA_out.fa", "binA_out.fa.qual", "binB_out.fa", "binB_out.fa.qual"})
    EXPECT_EQ(Expected(name), Output(name)) << name;
}

// After the last input, each bin's names that no input held are listed on
// standard error; standard output and the status stay as they were.
TEST_F(CommandRun, NamesInNoInputAreReported) {
  test::WriteFile(mDir.Path("many"), "m1\nreadA\nm2\nm3\nm1\nm4\nm5\nm6\n");
  test::WriteFile(mDir.Path("qualonly"), "readA\nonlyq\n");
  test::WriteFile(mDir.Path("reads.qual"), test::ReadFile(mDir.Path("reads.qual")) + ">onlyq\n1 2\n");
  test::WriteFile(mDir.Path("reads.qual_idx"), test::ReadFile(mDir.Path("reads.qual_idx")) + "onlyq\t85\t95\n");
  const test::CommandResult result = Run("-i list binA many qualonly binB 2>err");
  EXPECT_EQ(0, result.mStatus);
  EXPECT_EQ(
      "binA: 1 name in no input: readX\n"
      "many: 6 names in no input: m1 m2 m3 m4 m5 ...\n",
      Output("err"));
  EXPECT_EQ(std::string::npos, result.mStdout.find("no input"));
}

// An index older than its file is reported once per input, and used.
TEST_F(CommandRun, IndexOlderThanItsFileIsReported) {
  fs::last_write_time(mDir.Path("reads.fa_idx"),
                      fs::last_write_time(mDir.Path("reads.fa")) - std::chrono::seconds(5));
  const test::CommandResult result = Run("-i list binA binB 2>err");
  EXPECT_EQ(0, result.mStatus);
  EXPECT_EQ("reads.fa_idx: index older than its file reads.fa (ostrel-fastaindex remakes it)\n"
            "binA: 1 name in no input: readX\n",
            Output("err"));
  EXPECT_EQ(Expected("binA_out.fa"), Output("binA_out.fa"));
}

TEST_F(CommandRun, FailedWriteEndsWithStatusTwo) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  fs::create_symlink("/dev/full", mDir.Path("binA_out.fa"));
  const test::CommandResult result = Run("-i list binA");
  EXPECT_EQ(2, result.mStatus);
  EXPECT_NE(std::string::npos, result.mStdout.find("2 reads found ...binA_out.fa write failed.\nwritten.\n"));
  EXPECT_EQ(Expected("binA_out.fa.qual"), Output("binA_out.fa.qual"));  // the run went on
}

TEST_F(CommandRun, NewOutputsHonourFileCreationMask) {
  EXPECT_EQ(0, Run("-i list binA", "umask 027 && ").mStatus);
  struct stat status;
  ASSERT_EQ(0, ::stat(mDir.Path("binA_out.fa").c_str(), &status));
  EXPECT_EQ(0640u, status.st_mode & 0777u);
  EXPECT_EQ(0, Run("-i list binB", "umask 0 && ").mStatus);
  ASSERT_EQ(0, ::stat(mDir.Path("binB_out.fa").c_str(), &status));
  EXPECT_EQ(0664u, status.st_mode & 0777u);
}

TEST_F(CommandRun, DirectoryNamedQualDoesNotRouteToQualityOutput) {
  fs::create_directory(mDir.Path("qualdir"));
  fs::copy(mDir.Path("reads.fa"), mDir.Path("qualdir/reads.fa"));
  fs::copy(mDir.Path("reads.fa_idx"), mDir.Path("qualdir/reads.fa_idx"));
  EXPECT_EQ(0, Run("-I qualdir/reads.fa binA").mStatus);
  EXPECT_EQ(Expected("binA_out.fa"), Output("binA_out.fa"));
  EXPECT_FALSE(Exists("binA_out.fa.qual"));
}

// Byte positions beyond 2 GiB: a sparse input with a record past 3 GB.
TEST_F(CommandRun, PositionsBeyondTwoGibibytes) {
  const std::string record = ">far away\nACGT\n";
  const off_t offset = 3000000000;
  {
    FILE* file = std::fopen(mDir.Path("big.fa").c_str(), "wb");
    ASSERT_NE(nullptr, file);
    ASSERT_EQ(0, ::ftruncate(fileno(file), offset));
    ASSERT_EQ(0, fseeko(file, offset, SEEK_SET));
    std::fwrite(record.data(), 1, record.size(), file);
    std::fclose(file);
  }
  test::WriteFile(mDir.Path("big.fa_idx"), "far\t3000000001\t3000000015\n");
  test::WriteFile(mDir.Path("binF"), "far\n");
  EXPECT_EQ(0, Run("-I big.fa binF").mStatus);
  EXPECT_EQ(record, Output("binF_out.fa"));
}

}  // namespace
}  // namespace ostrel
