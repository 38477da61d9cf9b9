// Blocks of a plain or gzip-compressed file, read and decompressed by a
// background thread while the caller works through the block before.
#ifndef OSTREL_UTIL_BLOCKREADAHEAD_H
#define OSTREL_UTIL_BLOCKREADAHEAD_H

#include <zlib.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace ostrel {

// Double buffering over zlib's gzip file interface: one block is the
// caller's, the other is being filled by the worker thread. Each buffer
// holds `offset` bytes for the caller's own use, then a block of up to
// BlockSize() bytes: `blockSize`, or for a regular file smaller than that its
// own size (from kSmallestBlock up), and a small plain file, which comes
// whole in one block, is read without a worker: a small file costs no large
// buffers and no thread. A read error (a damaged or truncated gzip file) ends
// the blocks where the good data ends, and Damaged() tells it from the end
// of the file. Not copyable: it owns the open file and the thread.
class BlockReadAhead {
public:
  static constexpr int kSmallestBlock = 16 << 10;

  // Without `readAhead` (or when no thread can be started) there is no
  // worker: Take reads each block itself.
  BlockReadAhead(int offset, int blockSize, bool readAhead = true);
  ~BlockReadAhead();
  BlockReadAhead(const BlockReadAhead&) = delete;
  BlockReadAhead& operator=(const BlockReadAhead&) = delete;

  bool IsOpen() const { return mFile != nullptr; }
  // The block size for the file open (or last opened).
  int BlockSize() const { return mBlock; }
  // Opens the file and starts reading its first block; false when it cannot
  // be opened or a file is open already.
  bool Open(const char* name);
  // Stops the worker after the block it is reading, if any, and closes the
  // file; false when none was open.
  bool Close();
  // Waits for the next block and swaps it into `block`, a buffer of
  // offset + BlockSize() bytes whose block the caller has finished with; the
  // worker fills that one next. The block's size, or 0 at the end of the
  // data, from then on, and when no file is open; `block` is then unchanged.
  int Take(std::vector<char>& block);
  // True once Take has met a read error rather than the end of the data:
  // a zlib error, or a gzip member cut short.
  bool Damaged() const { return mDamaged; }

private:
  void ReadBlocks();                      // the worker's loop
  int ReadNow(std::vector<char>& block);  // Take without a worker thread
  // One gzread into `data`; a read error gives -1.
  int ReadBlock(char* data);

  const int mOffset;
  const int mBlockSize;
  const bool mReadAhead;
  int mBlock;  // the open file's block size
  gzFile mFile;  // used by the worker alone while it runs
  bool mDamaged = false;  // the caller's: set by Take
  std::thread mWorker;

  // Guarded by mMutex. While !mFilled and !mStop the worker owns mSpare.
  std::mutex mMutex;
  std::condition_variable mChanged;
  std::vector<char> mSpare;  // the block being read, or read and not taken
  int mSpareSize;            // bytes read into mSpare; 0: the end, -1: a read error
  bool mFilled;              // mSpare holds a block (or the end) to take;
                             // without a worker: the end was reached
  bool mStop;                // Close asks the worker to stop
};

}  // namespace ostrel

#endif
