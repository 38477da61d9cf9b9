// A plain or bgzip-compressed file read by position in its text: the
// record copier's input. A plain file is read with pread, a bgzip file
// through its ".gzi" block index (util/BgzfFile.h); a plain gzip file
// cannot be read by position and is refused.
#ifndef OSTREL_UTIL_POSITIONREADER_H
#define OSTREL_UTIL_POSITIONREADER_H

#include <cstdint>
#include <memory>
#include <string>

#include "util/BgzfFile.h"

namespace ostrel {

class PositionReader {
public:
  PositionReader() = default;
  PositionReader(const PositionReader&) = delete;
  PositionReader& operator=(const PositionReader&) = delete;
  ~PositionReader();

  // False when the file cannot be opened; mError then says why when it is
  // not a plain open failure (compression, block index). A bgzip file is
  // decompressed with `threads` threads beside the caller's (0: none).
  bool Open(const std::string& fileName, int threads = 0);
  // The text's length in bytes.
  int64_t Size() const { return mSize; }
  bool Compressed() const { return mBgzf != nullptr; }
  // Reads `n` bytes of text from 0-based `offset`; false when fewer are
  // there or the read fails.
  bool ReadAt(char* data, int64_t n, int64_t offset);

  std::string mError;

private:
  int mFd = -1;
  int64_t mSize = 0;
  std::unique_ptr<BgzfFile> mBgzf;
};

}  // namespace ostrel

#endif
