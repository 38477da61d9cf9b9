// A file's text read from start to end in blocks, whatever its compression:
// a plain or gzip file through zlib (util/BlockReadAhead.h), a gzip file
// decompressed ahead by a worker thread, a bgzip file through htslib's BGZF
// with its decompression threads (util/BgzfFile.h). A plain file is read in
// the caller's thread: a read costs a copy, less than handing each block
// over between threads on a busy machine. The blocks are the same bytes,
// in the same order, however many threads decompress them.
#ifndef OSTREL_UTIL_TEXTBLOCKREADER_H
#define OSTREL_UTIL_TEXTBLOCKREADER_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "util/BgzfFile.h"
#include "util/BlockReadAhead.h"

namespace ostrel {

class TextBlockReader {
public:
  static constexpr int kBlockSize = 1 << 20;

  TextBlockReader() = default;
  TextBlockReader(const TextBlockReader&) = delete;
  TextBlockReader& operator=(const TextBlockReader&) = delete;

  // Opens the file, decompressing a bgzip file with `bgzfThreads` threads
  // beside the caller's. False, with mError saying why, when it cannot be
  // opened.
  bool Open(const std::string& fileName, int bgzfThreads = DecompressionThreads());
  // Sets `data` to the next block of text, valid until the next call: its
  // size, 0 at the end (and when no file is open), -1 when the file is damaged or cut short (mError
  // says so; the blocks before it were good).
  int64_t Next(const char*& data);

  std::string mError;

private:
  std::string mFileName;
  bool mBgzf = false;
  BgzfFile mBgzfFile;
  std::unique_ptr<BlockReadAhead> mAhead;
  std::vector<char> mBlock;
};

}  // namespace ostrel

#endif
