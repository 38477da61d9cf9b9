// Whole-or-nothing output files, plain or gzip-compressed.
#include "util/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "util/FileDescriptor.h"

namespace ostrel {

namespace {

// The permission bits of a new file: 0666 less the file-creation mask.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool OutputFileBuf::Open(int fd, bool compressed) {
  Close();
  mFailed = false;
  mError.clear();
  if (compressed) {
    mGz = ::gzdopen(fd, "wb");
    if (mGz == nullptr) return false;
  }
  mFd = fd;
  mBuffer.resize(kBufferSize);
  setp(mBuffer.data(), mBuffer.data() + mBuffer.size());
  return true;
}

bool OutputFileBuf::WriteOut(const char* data, size_t n) {
  if (mFailed || mFd < 0) return false;
  if (mGz == nullptr) {
    if (!WriteAll(mFd, data, n)) Fail(std::strerror(errno));
    return !mFailed;
  }
  while (n > 0 && !mFailed) {
    const unsigned piece = static_cast<unsigned>(std::min<size_t>(n, INT_MAX));
    if (::gzwrite(mGz, data, piece) != static_cast<int>(piece)) {
      int code = Z_OK;
      const char* message = ::gzerror(mGz, &code);
      Fail(code == Z_ERRNO || message == nullptr ? std::strerror(errno) : message);
    }
    data += piece;
    n -= piece;
  }
  return !mFailed;
}

void OutputFileBuf::Fail(const std::string& why) {
  if (!mFailed) mError = why;
  mFailed = true;
}

bool OutputFileBuf::FlushBuffer() {
  const size_t n = static_cast<size_t>(pptr() - pbase());
  setp(mBuffer.data(), mBuffer.data() + mBuffer.size());
  return n == 0 || WriteOut(mBuffer.data(), n);
}

OutputFileBuf::int_type OutputFileBuf::overflow(int_type c) {
  if (mFd < 0 || !FlushBuffer()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

// Large pieces go straight to the file rather than through the buffer.
std::streamsize OutputFileBuf::xsputn(const char* s, std::streamsize n) {
  if (n <= epptr() - pptr()) {
    std::memcpy(pptr(), s, static_cast<size_t>(n));
    pbump(static_cast<int>(n));
    return n;
  }
  if (mFd < 0 || !FlushBuffer()) return 0;
  if (static_cast<size_t>(n) >= mBuffer.size()) return WriteOut(s, static_cast<size_t>(n)) ? n : 0;
  std::memcpy(pptr(), s, static_cast<size_t>(n));
  pbump(static_cast<int>(n));
  return n;
}

int OutputFileBuf::sync() { return mFd < 0 || FlushBuffer() ? 0 : -1; }

bool OutputFileBuf::Close() {
  if (mFd < 0) return !mFailed;
  FlushBuffer();
  if (mGz != nullptr) {
    if (::gzclose(mGz) != Z_OK) Fail(errno != 0 ? std::strerror(errno) : "compression failed");  // closes mFd too
    mGz = nullptr;
  } else if (::close(mFd) != 0) {
    Fail(std::strerror(errno));
  }
  mFd = -1;
  setp(nullptr, nullptr);
  return !mFailed;
}

bool OutputFile::Open(const std::string& name, bool compressed) {
  Discard();
  mName = name;
  mError.clear();
  std::string temp = name + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    mError = std::strerror(errno);
    setstate(std::ios::badbit);
    return false;
  }
  mTempName = temp;
  if (!mBuf.Open(fd, compressed)) {
    ::close(fd);
    mError = "cannot compress";
    Discard();
    setstate(std::ios::badbit);
    return false;
  }
  clear();
  return true;
}

bool OutputFile::Commit() {
  if (mTempName.empty()) {
    if (mError.empty()) mError = "no file open";
    return false;
  }
  flush();
  bool ok = mBuf.Close();
  if (!ok) mError = mBuf.Error();
  if (ok && (::chmod(mTempName.c_str(), NewFileMode()) != 0 || ::rename(mTempName.c_str(), mName.c_str()) != 0)) {
    mError = std::strerror(errno);
    ok = false;
  }
  if (ok) mTempName.clear();
  Discard();
  if (!ok) setstate(std::ios::badbit);
  return ok;
}

void OutputFile::Discard() {
  mBuf.Close();
  if (!mTempName.empty()) ::unlink(mTempName.c_str());
  mTempName.clear();
}

}  // namespace ostrel
