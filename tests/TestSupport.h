// Helpers shared by the tests: temporary directories, whole-file reads and
// writes, capture of standard output and error, and running a built command.
#ifndef OSTREL_TESTS_TESTSUPPORT_H
#define OSTREL_TESTS_TESTSUPPORT_H

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace ostrel::test {

// A fresh directory, removed with everything in it when the test ends.
class TempDir {
public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ostrel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    mDir = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(mDir, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Dir() const { return mDir; }
  std::string Path(const std::string& name) const { return mDir + "/" + name; }

private:
  std::string mDir;
};

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Collects what is written to a standard stream while it lives.
class CaptureStream {
public:
  explicit CaptureStream(std::ostream& stream) : mStream(stream), mSaved(stream.rdbuf(mText.rdbuf())) {}
  ~CaptureStream() { mStream.rdbuf(mSaved); }
  CaptureStream(const CaptureStream&) = delete;
  CaptureStream& operator=(const CaptureStream&) = delete;

  std::string Text() const { return mText.str(); }

private:
  std::ostringstream mText;  // declared first: it must exist before the swap
  std::ostream& mStream;
  std::streambuf* mSaved;
};

class CaptureStdout : public CaptureStream {
public:
  CaptureStdout() : CaptureStream(std::cout) {}
};

class CaptureStderr : public CaptureStream {
public:
  CaptureStderr() : CaptureStream(std::cerr) {}
};

struct CommandResult {
  int mStatus = -1;     // exit status, -1 when the command did not exit normally
  std::string mStdout;  // everything it wrote to standard output
};

// Runs a shell command line and collects its standard output.
inline CommandResult RunCommand(const std::string& commandLine) {
  CommandResult result;
  FILE* pipe = ::popen(commandLine.c_str(), "r");
  if (pipe == nullptr) return result;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) result.mStdout.append(chunk, got);
  const int status = ::pclose(pipe);
  if (status != -1 && WIFEXITED(status)) result.mStatus = WEXITSTATUS(status);
  return result;
}

}  // namespace ostrel::test

#endif
