// Input streams over plain or gzip-compressed files.
#include "util/GzStream.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "util/FileUtil.h"

namespace ostrel {

gzstreambuf::gzstreambuf() : mAhead(kPutBack, kBufferSize) {}

gzstreambuf::~gzstreambuf() { close(); }

gzstreambuf* gzstreambuf::open(const char* name) {
  if (!mAhead.Open(name)) return nullptr;
  mBuffer.resize(static_cast<size_t>(kPutBack + mAhead.BlockSize()));
  char* start = mBuffer.data() + kPutBack;
  setg(start, start, start);
  return this;
}

gzstreambuf* gzstreambuf::close() {
  if (!mAhead.Close()) return nullptr;
  setg(nullptr, nullptr, nullptr);
  return this;
}

gzstreambuf::int_type gzstreambuf::underflow() {
  if (gptr() != nullptr && gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (!is_open()) return traits_type::eof();
  // Keep the last few characters read so that they can be put back; the
  // buffer they are in goes back to be refilled.
  const int keep = static_cast<int>(std::min<std::ptrdiff_t>(gptr() - eback(), kPutBack));
  char kept[kPutBack];
  std::memcpy(kept, gptr() - keep, static_cast<size_t>(keep));
  const int got = mAhead.Take(mBuffer);
  if (got <= 0) {
    if (mAhead.Damaged() && mStream != nullptr) mStream->setstate(std::ios::badbit);
    return traits_type::eof();
  }
  char* start = mBuffer.data() + kPutBack;
  std::memcpy(start - keep, kept, static_cast<size_t>(keep));
  setg(start - keep, start, start + got);
  return traits_type::to_int_type(*gptr());
}

gzstreambase::gzstreambase() {
  init(&mBuf);
  mBuf.report_to(this);
}

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
