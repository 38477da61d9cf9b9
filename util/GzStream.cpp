// Input streams over plain or gzip-compressed files.
#include "util/GzStream.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "util/FileUtil.h"

namespace ostrel {

gzstreambuf::gzstreambuf() : mFile(nullptr), mBuffer(kPutBack + kBufferSize) {}

gzstreambuf::~gzstreambuf() { close(); }

gzstreambuf* gzstreambuf::open(const char* name) {
  if (is_open() || name == nullptr) return nullptr;
  mFile = gzopen(name, "rb");
  if (mFile == nullptr) return nullptr;
  // zlib reads a plain file straight into a request well above its own
  // buffer's size; a smaller one would be copied through that buffer.
  gzbuffer(mFile, kBufferSize / 4);
  char* start = mBuffer.data() + kPutBack;
  setg(start, start, start);
  return this;
}

gzstreambuf* gzstreambuf::close() {
  if (!is_open()) return nullptr;
  gzclose(mFile);
  mFile = nullptr;
  setg(nullptr, nullptr, nullptr);
  return this;
}

gzstreambuf::int_type gzstreambuf::underflow() {
  if (gptr() != nullptr && gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (!is_open()) return traits_type::eof();
  // Keep the last few characters read so that they can be put back.
  const int keep = static_cast<int>(std::min<std::ptrdiff_t>(gptr() - eback(), kPutBack));
  char* start = mBuffer.data() + kPutBack;
  if (keep > 0) std::memmove(start - keep, gptr() - keep, static_cast<size_t>(keep));
  const int got = gzread(mFile, start, kBufferSize);
  if (got <= 0) return traits_type::eof();  // end of file, or damaged data
  setg(start - keep, start, start + got);
  return traits_type::to_int_type(*gptr());
}

gzstreambase::gzstreambase() { init(&mBuf); }

gzstreambase::~gzstreambase() { mBuf.close(); }

void gzstreambase::open(const char* name) {
  mBuf.close();
  if (mBuf.open(name) == nullptr)
    setstate(std::ios::failbit);
  else
    clear();
}

void gzstreambase::close() {
  if (mBuf.close() == nullptr) setstate(std::ios::failbit);
}

bool icbtstream::open(const std::string& name) {
  if (FileExists(name)) {
    gzstreambase::open(name.c_str());
    return is_open();
  }
  const size_t gz = name.rfind(".gz");
  if (gz != std::string::npos) {
    const std::string root = name.substr(0, gz);
    std::cout << "FileRoot=" << root << std::endl;
    if (!FileExists(root)) return false;
    gzstreambase::open(root.c_str());
    return is_open();
  }
  const std::string compressed = name + ".gz";
  if (!FileExists(compressed)) return false;
  gzstreambase::open(compressed.c_str());
  return is_open();
}

}  // namespace ostrel
