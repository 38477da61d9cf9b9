#include "util/OutputFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "TestSupport.h"
#include "util/GzStream.h"

namespace ostrel {
namespace {

// Everything the file holds once decompressed (plain files pass unchanged).
std::string Inflated(const std::string& path) {
  igzstream in(path);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return text;
}

// Only the final name is left: no temporary file beside it.
std::vector<std::string> Listing(const test::TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Dir())) names.push_back(entry.path().filename());
  return names;
}

// Plain and compressed, small pieces through the buffer and pieces larger
// than it; the new file takes the permission bits the creation mask allows.
TEST(OutputFile, CommitPutsTheWholeFileInPlace) {
  test::TempDir dir;
  std::string big(3 << 20, 'x');
  for (size_t i = 0; i < big.size(); i += 97) big[i] = '\n';
  for (bool compressed : {false, true}) {
    SCOPED_TRACE(compressed);
    const std::string name = dir.Path(compressed ? "out.gz" : "out");
    test::WriteFile(name, "old");
    OutputFile out;
    ASSERT_TRUE(out.Open(name, compressed));
    out << "head " << 42 << '\n';
    out.write(big.data(), static_cast<std::streamsize>(big.size()));
    out << "tail\n";
    EXPECT_EQ("old", test::ReadFile(name));  // untouched until committed
    const mode_t mask = ::umask(027);
    EXPECT_TRUE(out.Commit());
    ::umask(mask);
    EXPECT_EQ("head 42\n" + big + "tail\n", Inflated(name));
    EXPECT_EQ(compressed, test::ReadFile(name).size() < big.size());
    struct stat status;
    ASSERT_EQ(0, ::stat(name.c_str(), &status));
    EXPECT_EQ(0640u, status.st_mode & 0777u);
  }
  EXPECT_EQ(2u, Listing(dir).size());
}

TEST(OutputFile, AFileNotCommittedLeavesNothing) {
  test::TempDir dir;
  test::WriteFile(dir.Path("keep"), "old");
  {
    OutputFile out;
    ASSERT_TRUE(out.Open(dir.Path("keep"), false));
    out << "new";
  }
  EXPECT_EQ("old", test::ReadFile(dir.Path("keep")));
  EXPECT_EQ(1u, Listing(dir).size());
  OutputFile nowhere;
  EXPECT_FALSE(nowhere.Open(dir.Path("no/such/folder"), false));
  EXPECT_FALSE(nowhere.Error().empty());
  EXPECT_FALSE(nowhere.Commit());
}

// A write that fails (here the file size limit) makes Commit fail, removes
// the temporary file and leaves the old file alone. Run in a child process,
// since the limit holds for the whole process.
TEST(OutputFile, AFailedWriteIsNotCommitted) {
  test::TempDir dir;
  test::WriteFile(dir.Path("keep"), "old");
  for (bool compressed : {false, true}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit = {1 << 16, 1 << 16};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      OutputFile out;
      if (!out.Open(dir.Path("keep"), compressed)) ::_exit(3);
      for (int i = 0; i < 1 << 16; ++i) out << i * 2654435761u << '\n';
      ::_exit(out.Commit() || out.Error().empty() ? 1 : 0);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << compressed;
    EXPECT_EQ("old", test::ReadFile(dir.Path("keep")));
    EXPECT_EQ(1u, Listing(dir).size());
  }
}

}  // namespace
}  // namespace ostrel
