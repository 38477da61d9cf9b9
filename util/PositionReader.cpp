// Reading a plain or bgzip file by position.
#include "util/PositionReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace ostrel {

PositionReader::~PositionReader() {
  if (mFd >= 0) ::close(mFd);
}

bool PositionReader::Open(const std::string& fileName, int threads) {
  mError.clear();
  const Compression compression = CompressionOf(fileName);
  if (compression == Compression::kGzip) {
    mError = fileName + " is gzip-compressed, and a gzip file cannot be read by position;"
                        " recompress it with bgzip and index it";
    return false;
  }
  if (compression == Compression::kBgzf) {
    mBgzf = std::make_unique<BgzfFile>();
    if (!mBgzf->OpenByPosition(fileName, threads)) {
      mError = mBgzf->mError;
      mBgzf.reset();
      return false;
    }
    mSize = mBgzf->Size();
    return true;
  }
  // Every record is one small read, and checking the access time costs a
  // good part of each; the file's owner may skip it, anyone else reads it
  // plainly.
  mFd = ::open(fileName.c_str(), O_RDONLY | O_NOATIME | O_CLOEXEC);
  if (mFd < 0 && errno == EPERM) mFd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat status;
  if (mFd < 0 || ::fstat(mFd, &status) != 0) return false;
  mSize = status.st_size;
  return true;
}

bool PositionReader::ReadAt(char* data, int64_t n, int64_t offset) {
  if (mBgzf) return mBgzf->ReadAt(offset, data, n) == n;
  while (n > 0) {
    const ssize_t got = ::pread(mFd, data, static_cast<size_t>(n), offset);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    data += got;
    offset += got;
    n -= got;
  }
  return true;
}

}  // namespace ostrel
