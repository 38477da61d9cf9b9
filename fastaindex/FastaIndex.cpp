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
#include "util/BgzfFile.h"
#include "util/FileUtil.h"
#include "util/OutputFile.h"
#include "util/TextBlockReader.h"

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

// Reads the whole text through the scanner, `read(block, size)` giving
// each next block (0 at the end, -1 with `readError` set on failure),
// writing index lines to `out`. False, after a message, when the file could
// not be read or its text is bad; a failed write shows when `out` is
// committed. `fileSize` is 0 when the progress cannot be told.
template <typename Reader>
bool ScanFile(const std::string& fileName, Reader read, const std::string& readError, int64_t fileSize,
              std::ostream& out, RecordScanner& scanner) {
  std::vector<char> block(kBlockSize);
  ProgressLine progress(fileName, fileSize);
  int64_t done = 0;
  for (;;) {
    const int64_t got = read(block.data(), block.size());
    if (got < 0) {
      progress.End(done);
      std::cerr << "ERROR: Could not read " << fileName << ": " << readError << std::endl;
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
    std::cerr << "ERROR: " << fileName << " byte " << scanner.mErrorPosition;
    if (scanner.mErrorLine > 0) std::cerr << " (line " << scanner.mErrorLine << ")";
    std::cerr << ": " << scanner.mError << "; no index written" << std::endl;
    return false;
  }
  out.write(scanner.mIndexText.data(), static_cast<std::streamsize>(scanner.mIndexText.size()));
  return true;
}

// Scans a plain file.
bool ScanPlainFile(const std::string& fileName, std::ostream& out, RecordScanner& scanner) {
  const int in = ::open(fileName.c_str(), O_RDONLY);
  struct stat status;
  if (in < 0 || ::fstat(in, &status) != 0) {
    std::cerr << "ERROR: Could not read " << fileName << ": " << std::strerror(errno) << std::endl;
    if (in >= 0) ::close(in);
    return false;
  }
  std::string readError;
  auto read = [&](char* data, size_t n) -> int64_t {
    for (;;) {
      const ssize_t got = ::read(in, data, n);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) readError = std::strerror(errno);
      return got;
    }
  };
  const bool scanned = ScanFile(fileName, read, readError, status.st_size, out, scanner);
  ::close(in);
  return scanned;
}

// Scans the text of a bgzip file, and writes its block index beside it
// when there is none not older than the file.
bool ScanBgzfFile(const std::string& fileName, std::ostream& out, RecordScanner& scanner) {
  const std::string blockIndexName = BgzfFile::IndexName(fileName);
  const bool buildIndex = !FileExists(blockIndexName) || FileModifiedBefore(blockIndexName, fileName);
  BgzfFile in;
  if (!in.OpenToRead(fileName, DecompressionThreads(), buildIndex)) {
    std::cerr << "ERROR: " << in.mError << std::endl;
    return false;
  }
  auto read = [&](char* data, size_t n) { return in.Read(data, n); };
  if (!ScanFile(fileName, read, in.mError, 0, out, scanner)) return false;
  if (buildIndex && !in.WriteIndex(blockIndexName)) {
    std::cerr << "ERROR: " << in.mError << std::endl;
    return false;
  }
  return true;
}

}  // namespace

bool IndexFastaFile(const std::string& fileName) {
  const Compression compression = CompressionOf(fileName);
  if (compression == Compression::kGzip) {
    std::cerr << "ERROR: " << fileName << " is gzip-compressed, and a gzip file cannot be read by position;"
              << " recompress it with bgzip (gzip -dc FILE | bgzip > FILE.gz) to index it" << std::endl;
    return false;
  }
  const std::string indexName = fileName + "_idx";
  OutputFile out;
  if (!out.Open(indexName, false)) {
    std::cerr << "ERROR: Could not write " << indexName << ": " << out.Error() << std::endl;
    return false;
  }
  RecordScanner scanner;
  const bool scanned = compression == Compression::kBgzf ? ScanBgzfFile(fileName, out, scanner)
                                                         : ScanPlainFile(fileName, out, scanner);
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
