// What the fuzz targets share: a check that crashes, files under a scratch
// folder of the process, and quiet standard streams.
#ifndef OSTREL_FUZZ_FUZZSUPPORT_H
#define OSTREL_FUZZ_FUZZSUPPORT_H

#include <unistd.h>
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace ostrel::fuzz {

// A property that must hold on every input: a crash, so libFuzzer keeps the
// input, when it does not.
#define FUZZ_CHECK(cond)                                                          \
  do {                                                                            \
    if (!(cond)) {                                                                \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                               \
    }                                                                             \
  } while (0)

// A folder of this process for the files an input is written to, removed
// when the process ends normally.
inline const std::string& ScratchDir() {
  struct Dir {
    std::string mPath;
    Dir() {
      const char* tmp = std::getenv("TMPDIR");
      mPath = std::string(tmp && *tmp ? tmp : "/tmp") + "/ostrel-fuzz-XXXXXX";
      if (!mkdtemp(mPath.data())) std::abort();
    }
    ~Dir() {
      std::error_code ignored;
      std::filesystem::remove_all(mPath, ignored);
    }
  };
  static const Dir dir;
  return dir.mPath;
}

inline std::string ScratchPath(const std::string& name) { return ScratchDir() + "/" + name; }

inline void WriteBytes(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  FUZZ_CHECK(out.good());
}

inline void WriteBytes(const std::string& path, const std::string& text) { WriteBytes(path, text.data(), text.size()); }

// `text` as one gzip member, in memory.
inline std::string Gzip(const std::string& text) {
  z_stream z{};
  FUZZ_CHECK(deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) == Z_OK);
  std::string out(deflateBound(&z, text.size()) + 32, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  z.avail_in = static_cast<uInt>(text.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  FUZZ_CHECK(deflate(&z, Z_FINISH) == Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// Standard output and error sent nowhere while it lives: the readers report
// on them, and a fuzzer's log must stay readable.
class Quiet {
public:
  Quiet() : mOut(std::cout.rdbuf(&mSink)), mErr(std::cerr.rdbuf(&mSink)) {}
  ~Quiet() {
    std::cout.rdbuf(mOut);
    std::cerr.rdbuf(mErr);
  }
  Quiet(const Quiet&) = delete;
  Quiet& operator=(const Quiet&) = delete;

private:
  struct Sink : std::streambuf {
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
  } mSink;
  std::streambuf* mOut;
  std::streambuf* mErr;
};

}  // namespace ostrel::fuzz

#endif
