// Indexing one file: blocks read into the scanner, index lines written to a
// temporary file that replaces FILE_idx once whole.
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

#include "seq/RecordScanner.h"
#include "util/OutputFile.h"

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
// False, after a message, when the file could not be read or its text is
// bad; a failed write shows when `out` is committed.
bool ScanFile(const std::string& fileName, int in, int64_t fileSize, std::ostream& out, RecordScanner& scanner) {
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
    out.write(scanner.mIndexText.data(), static_cast<std::streamsize>(scanner.mIndexText.size()));
    scanner.mIndexText.clear();
  }
  progress.End(done);
  if (!scanner.Finish()) {
    std::cerr << "ERROR: " << fileName << " byte " << scanner.mErrorPosition << ": " << scanner.mError
              << "; no index written" << std::endl;
    return false;
  }
  out.write(scanner.mIndexText.data(), static_cast<std::streamsize>(scanner.mIndexText.size()));
  return true;
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
  OutputFile out;
  if (!out.Open(indexName, false)) {
    std::cerr << "ERROR: Could not write " << indexName << ": " << out.Error() << std::endl;
    ::close(in);
    return false;
  }
  RecordScanner scanner;
  const bool scanned = ScanFile(fileName, in, status.st_size, out, scanner);
  ::close(in);
  if (!scanned) return false;  // the temporary file goes with `out`
  if (!out.Commit()) {
    std::cerr << "ERROR: Could not write " << indexName << ": " << out.Error() << std::endl;
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
