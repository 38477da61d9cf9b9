// igzstream on arbitrary bytes taken as a file (mostly not gzip, or corrupt
// gzip), and on the bytes gzip-wrapped and then cut short or flipped at a
// place the input picks.
//
// Properties: a read never hangs or overruns; the bytes of a plain file and
// of a whole gzip member come back as they were; a damaged member ends in
// badbit after at most its own text's bytes, all of them right.
#include <string>

#include "FuzzSupport.h"
#include "util/GzStream.h"

using namespace ostrel;

namespace {

// The file's bytes through igzstream; `bad` says whether the stream ended
// bad.
std::string ReadThrough(const std::string& path, bool& bad) {
  igzstream in(path);
  FUZZ_CHECK(in.is_open());
  std::string text;
  char buffer[4096];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) text.append(buffer, static_cast<size_t>(in.gcount()));
  bad = in.bad();
  FUZZ_CHECK(bad == in.rdbuf()->damaged());
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  const std::string path = fuzz::ScratchPath("data.gz");
  bool bad = false;

  // As they are: plain bytes come back unchanged; gzip-looking ones may be
  // damaged.
  fuzz::WriteBytes(path, text);
  const std::string asIs = ReadThrough(path, bad);
  if (size < 2 || bytes[0] != 0x1f || bytes[1] != 0x8b) {
    FUZZ_CHECK(!bad);
    FUZZ_CHECK(asIs == text);
  }

  // Wrapped whole, then cut short, then with one byte flipped.
  const std::string gz = fuzz::Gzip(text);
  fuzz::WriteBytes(path, gz);
  FUZZ_CHECK(ReadThrough(path, bad) == text);
  FUZZ_CHECK(!bad);
  const size_t cut = size == 0 ? 0 : bytes[0] % gz.size();
  fuzz::WriteBytes(path, gz.substr(0, cut));
  const std::string shortened = ReadThrough(path, bad);
  if (cut >= 2) {  // past the magic bytes: a member cut short
    FUZZ_CHECK(bad);
    FUZZ_CHECK(text.compare(0, shortened.size(), shortened) == 0);
  }
  std::string flipped = gz;
  const size_t at = size < 2 ? 0 : (bytes[0] * 256u + bytes[1]) % gz.size();
  flipped[at] = static_cast<char>(flipped[at] ^ (size < 3 ? 1 : bytes[2] | 1));
  fuzz::WriteBytes(path, flipped);
  ReadThrough(path, bad);
  return 0;
}
