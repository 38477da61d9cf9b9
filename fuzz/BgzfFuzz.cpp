// The bgzip reader on arbitrary bytes taken as a file (mostly not BGZF, or
// damaged BGZF), with the block index built while reading it or, when the
// input's first byte is odd, a block index made of the input's next bytes.
//
// Properties: nothing hangs, overruns or aborts inside htslib, whatever the
// index; a file that opens by position with its built index has the length
// of the text read whole and gives every range as those bytes. A foreign
// index of the right form is trusted as bgzip's own is (the records read
// through it are checked against their names), so it need only be safe.
#include <string>

#include "FuzzSupport.h"
#include "util/BgzfFile.h"

using namespace ostrel;

namespace {

// The whole text; false when the file is damaged or cannot be read.
bool ReadWhole(const std::string& path, std::string& text, bool buildIndex) {
  BgzfFile in;
  if (!in.OpenToRead(path, 0, buildIndex)) return false;
  char block[4096];
  for (int64_t got; (got = in.Read(block, sizeof block)) != 0;) {
    if (got < 0) return false;
    text.append(block, static_cast<size_t>(got));
  }
  return !buildIndex || in.WriteIndex(BgzfFile::IndexName(path));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size == 0) return 0;
  const bool foreignIndex = bytes[0] % 2 == 1;
  size_t indexSize = foreignIndex && size > 1 ? std::min<size_t>(bytes[1], size - 2) : 0;
  const size_t dataStart = foreignIndex ? std::min<size_t>(size, 2 + indexSize) : 1;
  const std::string path = fuzz::ScratchPath("data.gz");
  fuzz::WriteBytes(path, std::string(reinterpret_cast<const char*>(bytes) + dataStart, size - dataStart));
  std::filesystem::remove(BgzfFile::IndexName(path));
  if (CompressionOf(path) != Compression::kBgzf) return 0;
  std::string text;
  if (!ReadWhole(path, text, !foreignIndex)) return 0;
  if (foreignIndex)
    fuzz::WriteBytes(BgzfFile::IndexName(path), std::string(reinterpret_cast<const char*>(bytes) + 2, indexSize));
  BgzfFile in;
  if (!in.OpenByPosition(path)) return 0;  // a damaged block may end the text read whole early
  const int64_t length = in.Size();
  FUZZ_CHECK(foreignIndex || length == static_cast<int64_t>(text.size()));
  for (int64_t from : {length / 2, int64_t{0}, length - 1, length / 3}) {
    if (from < 0) continue;
    std::string got(100, '\0');
    const int64_t n = in.ReadAt(from, got.data(), 100);
    FUZZ_CHECK(n <= 100);
    if (foreignIndex) continue;
    FUZZ_CHECK(n == std::min<int64_t>(100, length - from));
    got.resize(static_cast<size_t>(n));
    FUZZ_CHECK(got == text.substr(static_cast<size_t>(from), 100));
  }
  return 0;
}
