// Indexing one file: blocks read into the scanner, index lines written to a
// temporary file that replaces FILE_idx at the end.
#include "fastaindex/FastaIndex.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "fastaindex/RecordScanner.h"
#include "util/FileDescriptor.h"

namespace ostrel {

namespace {

constexpr size_t kBlockSize = 1 << 18;
constexpr int64_t kProgressMinimumSize = 100 * 1000 * 1000;

// "<file>: <bytes> bytes (<percent>%)" on a terminal's standard error,
// rewritten in place a few times a second, for files worth waiting for.
class ProgressLine {
public:
  ProgressLine(const std::string& fileName, int64_t fileSize)
      : mFileName(fileName),
        mFileSize(fileSize),
        mShown(fileSize > kProgressMinimumSize && ::isatty(STDERR_FILENO)) {}

  void Update(int64_t done) {
    if (!mShown) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - mLast < std::chrono::milliseconds(250)) return;
    mLast = now;
    Print(done);
  }

  void End(int64_t done) {
    if (!mShown) return;
    Print(done);
    std::cerr << std::endl;
  }

private:
  void Print(int64_t done) {
    std::cerr << '\r' << mFileName << ": " << done << " bytes (" << done * 100 / mFileSize << "%)"
              << std::flush;
  }

  std::string mFileName;
  int64_t mFileSize;
  bool mShown;
  std::chrono::steady_clock::time_point mLast{};
};

// Reads the whole file through the scanner, writing index lines to `out`.
// False, after a message, when the file could not be read or written or its
// text is bad.
bool ScanFile(const std::string& fileName, int in, int64_t fileSize, const std::string& tempName,
              int out, RecordScanner& scanner) {
  std::vector<char> block(kBlockSize);
  ProgressLine progress(fileName, fileSize);
  int64_t done = 0;
  for (;;) {
    const ssize_t got = ::read(in, block.data(), block.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      progress.End(done);
      std::cerr << "ERROR: Could not read " << fileName << ": " << std::strerror(errno) << std::endl;
      return false;
    }
    if (got == 0) break;
    scanner.Feed(block.data(), static_cast<size_t>(got));
    done += got;
    progress.Update(done);
    if (!scanner.mError.empty()) break;
    if (!WriteAll(out, scanner.mIndexText.data(), scanner.mIndexText.size())) {
      progress.End(done);
      std::cerr << "ERROR: Could not write " << tempName << ": " << std::strerror(errno) << std::endl;
      return false;
    }
    scanner.mIndexText.clear();
  }
  progress.End(done);
  if (!scanner.Finish()) {
    std::cerr << "ERROR: " << fileName << " byte " << scanner.mErrorPosition << ": " << scanner.mError
              << "; no index written" << std::endl;
    return false;
  }
  if (!WriteAll(out, scanner.mIndexText.data(), scanner.mIndexText.size())) {
    std::cerr << "ERROR: Could not write " << tempName << ": " << std::strerror(errno) << std::endl;
    return false;
  }
  return true;
}

// The permission bits of a new file: 0666 less the file-creation mask.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool IndexFastaFile(const std::string& fileName) {
  const int in = ::open(fileName.c_str(), O_RDONLY);
  struct stat status;
  if (in < 0 || ::fstat(in, &status) != 0) {
    std::cerr << "ERROR: Could not read " << fileName << ": " << std::strerror(errno) << std::endl;
    if (in >= 0) ::close(in);
    return false;
  }
  const std::string indexName = fileName + "_idx";
  std::string tempName = indexName + ".XXXXXX";
  const int out = ::mkstemp(tempName.data());
  if (out < 0) {
    std::cerr << "ERROR: Could not write " << tempName << ": " << std::strerror(errno) << std::endl;
    ::close(in);
    return false;
  }
  RecordScanner scanner;
  bool ok = ScanFile(fileName, in, status.st_size, tempName, out, scanner);
  ::close(in);
  if (ok && (::fchmod(out, NewFileMode()) != 0 || ::close(out) != 0)) {
    std::cerr << "ERROR: Could not write " << tempName << ": " << std::strerror(errno) << std::endl;
    ok = false;
  } else if (!ok) {
    ::close(out);
  }
  if (ok && ::rename(tempName.c_str(), indexName.c_str()) != 0) {
    std::cerr << "ERROR: Could not rename " << tempName << " to " << indexName << ": "
              << std::strerror(errno) << std::endl;
    ok = false;
  }
  if (!ok) {
    ::unlink(tempName.c_str());
    return false;
  }
  if (scanner.mDuplicateCount > 0)
    std::cerr << "WARNING: " << fileName << ": " << scanner.mDuplicateCount
              << " duplicate names; a lookup gets the last record of each" << std::endl;
  std::cout << indexName << ": " << scanner.mRecordCount << (scanner.mRecordCount == 1 ? " record" : " records")
            << std::endl;
  return true;
}

}  // namespace ostrel
