// Compressed inputs: telling plain, gzip and bgzip (BGZF) files apart, and
// reading a BGZF file through htslib, from start to end or by position in
// its uncompressed text.
//
// A BGZF file is a series of gzip members of at most 64 KiB of text each;
// its ".gzi" block index (bgzip -i writes it, and so does ostrel-fastaindex)
// gives the compressed and uncompressed offset of every block, so that any
// uncompressed position can be reached by decompressing one block. A plain
// gzip file has no such index and can only be read from its start.
#ifndef OSTREL_UTIL_BGZFFILE_H
#define OSTREL_UTIL_BGZFFILE_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct BGZF;

namespace ostrel {

enum class Compression { kNone, kGzip, kBgzf };

// What the file's first bytes say it is; kNone also for a file that cannot
// be read or is shorter than a gzip header.
Compression CompressionOf(const std::string& fileName);

// Threads worth decompressing a BGZF file beside the thread that uses its
// text: one for each core (the text's user, a scanner or a copy, takes a
// small part of the time decompression takes), at most 4.
int DecompressionThreads();

// One BGZF file open for reading.
class BgzfFile {
public:
  BgzfFile() = default;
  BgzfFile(const BgzfFile&) = delete;
  BgzfFile& operator=(const BgzfFile&) = delete;
  ~BgzfFile() { Close(); }

  // Opens the file to be read from its start with Read, decompressing with
  // `threads` threads beside the caller's (0: none). With `buildIndex` the
  // block index is collected as it is read (a block at a time), for
  // WriteIndex at the end.
  bool OpenToRead(const std::string& fileName, int threads, bool buildIndex);
  // Reads up to `n` bytes of text: the number read, 0 at the end, -1 when
  // the data is damaged or cannot be read (mError says which).
  int64_t Read(char* data, size_t n);
  // After the whole file was read with the index built: writes it to
  // `indexName` (under a temporary name, renamed into place when whole),
  // listing as htslib and bgzip do the compressed and text offsets of every
  // block that holds text, the first aside.
  bool WriteIndex(const std::string& indexName);

  // Opens the file to be read by position through fileName + ".gzi", which
  // must not be older than the file and must list its every block. False, with mError saying why, when
  // either cannot be read. With `threads` (0: none), threads beside the
  // caller's decompress the blocks that follow the one read, for reads
  // that mostly go forward.
  bool OpenByPosition(const std::string& fileName, int threads = 0);
  // Reads `n` bytes of text from uncompressed `offset`: the number read,
  // fewer at the end of the text, -1 on failure. An offset in the block in
  // hand or in the next one is reached without a seek.
  int64_t ReadAt(int64_t offset, char* data, int64_t n);
  // The text's length (after OpenByPosition).
  int64_t Size() const { return mSize; }

  void Close();

  std::string mError;

  // The ".gzi" name of a BGZF file.
  static std::string IndexName(const std::string& fileName) { return fileName + ".gzi"; }

private:
  bool Open(const std::string& fileName);
  // False, with mError saying why, when a part of the file read so far was
  // not in BGZF blocks.
  bool InBlocksThroughout();
  // Reads and drops `n` bytes of text.
  bool Skip(int64_t n);
  // Moves the next byte Read gives by `delta` within the block in hand;
  // false, unmoved, when that leaves the block.
  bool MoveInBlock(int64_t delta);

  // Reading failed: -1, with mError saying why.
  int64_t ReadFailed();

  BGZF* mFile = nullptr;
  std::string mFileName;
  bool mListBlocks = false;                             // building the block index
  std::vector<std::pair<int64_t, int64_t>> mBlockStarts;  // compressed and text offsets
  int64_t mSize = -1;
  int64_t mPosition = 0;  // uncompressed offset of the next byte Read gives
};

}  // namespace ostrel

#endif
