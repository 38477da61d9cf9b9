// Helpers shared by the tests: temporary directories, whole-file reads and
// writes, capture of standard output and error, sequences from text, and
// running a built command.
#ifndef OSTREL_TESTS_TESTSUPPORT_H
#define OSTREL_TESTS_TESTSUPPORT_H

#include <sys/wait.h>
#include <zlib.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "seq/Sequence.h"

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

// Writes `text` gzip-compressed; with `keep` below 1, only that share of
// the compressed bytes, as a file cut short.
inline void WriteGzipFile(const std::string& path, const std::string& text, double keep = 1) {
  gzFile file = gzopen(path.c_str(), "wb");
  gzwrite(file, text.data(), static_cast<unsigned>(text.size()));
  gzclose(file);
  if (keep >= 1) return;
  const std::string packed = ReadFile(path);
  WriteFile(path, packed.substr(0, static_cast<size_t>(static_cast<double>(packed.size()) * keep)));
}

// Writes `text` bgzip-compressed by the bgzip program (blocks of 65280
// bytes of text), with the ".gzi" block index bgzip writes when
// `withBlockIndex`. False when bgzip failed.
inline bool WriteBgzipFile(const std::string& path, const std::string& text, bool withBlockIndex) {
  WriteFile(path + ".text", text);
  const std::string index = withBlockIndex ? " -i -I '" + path + ".gzi'" : "";
  const int status = std::system(("bgzip -c" + index + " '" + path + ".text' > '" + path + "'").c_str());
  std::filesystem::remove(path + ".text");
  // bgzip may write the index before its last data reaches the file.
  if (status == 0 && withBlockIndex)
    std::filesystem::last_write_time(path + ".gzi", std::filesystem::last_write_time(path));
  return status == 0;
}

// The ACE files other assemblers and editors wrote, under tests/data/ace.
inline std::vector<std::string> RealAceFiles() {
  std::vector<std::string> paths;
  for (const char* name : {"27-contig_Newbler.ace", "acefile.ace.1", "assembly_with_singlets.ace",
                           "consed_sample.ace", "contig1.ace", "seq.cap.ace", "singlet_w_CT.ace",
                           "test_project.fasta.screen.ace.2"})
    paths.push_back(std::string(OSTREL_TEST_DATA) + "/ace/" + name);
  return paths;
}

// The tag records of ACE text as a plain scan finds them: from a line
// starting with two capitals and "{" to the next line that is "}" alone.
inline std::multiset<std::string> TagRecords(const std::string& text) {
  std::multiset<std::string> tags;
  std::istringstream in(text);
  std::string line, tag;
  bool open = false;
  while (std::getline(in, line)) {
    if (!open && line.size() >= 3 && std::isupper(static_cast<unsigned char>(line[0])) &&
        std::isupper(static_cast<unsigned char>(line[1])) && line[2] == '{') {
      open = true;
      tag.clear();
    }
    if (!open) continue;
    tag += line + "\n";
    if (line == "}") {
      tags.insert(tag);
      open = false;
    }
  }
  return tags;
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

// A sequence holding `bases`, with the given name and description.
inline Sequence MakeSequence(const std::string& bases, const std::string& name = "",
                             const std::string& description = "") {
  Sequence s;
  s.mBases.assign(bases.begin(), bases.end());
  s.mName = name;
  s.mDescription = description;
  return s;
}

inline std::string BasesOf(const Sequence& s) { return std::string(s.mBases.begin(), s.mBases.end()); }

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
