// Blocks of a plain or gzip-compressed file read ahead by a worker thread.
#include "util/BlockReadAhead.h"

#include <sys/stat.h>

#include <algorithm>
#include <system_error>

namespace ostrel {

BlockReadAhead::BlockReadAhead(int offset, int blockSize, bool readAhead)
    : mOffset(offset),
      mBlockSize(blockSize),
      mReadAhead(readAhead),
      mBlock(blockSize),
      mFile(nullptr),
      mSpareSize(0),
      mFilled(false),
      mStop(false) {}

BlockReadAhead::~BlockReadAhead() { Close(); }

bool BlockReadAhead::Open(const char* name) {
  if (IsOpen() || name == nullptr) return false;
  mFile = gzopen(name, "rb");
  if (mFile == nullptr) return false;
  // A pipe or a device has no size to go by; a small compressed file may
  // hold more than one block, read in blocks of its own size.
  struct stat status;
  const bool small = ::stat(name, &status) == 0 && S_ISREG(status.st_mode) && status.st_size < mBlockSize;
  mBlock = small ? std::min(mBlockSize, std::max(kSmallestBlock, static_cast<int>(status.st_size))) : mBlockSize;
  // zlib reads a plain file straight into a request well above its own
  // buffer's size; a smaller one would be copied through that buffer.
  gzbuffer(mFile, static_cast<unsigned>(std::max(mBlock / 4, 8192)));
  mSpare.resize(static_cast<size_t>(mOffset + mBlock));
  mFilled = false;
  mStop = false;
  mDamaged = false;
  // A small plain file comes whole in the first block: nothing to read ahead.
  if (!mReadAhead || (small && gzdirect(mFile) == 1)) return true;
  try {
    mWorker = std::thread(&BlockReadAhead::ReadBlocks, this);
  } catch (const std::system_error&) {
    // No thread to be had: Take reads each block itself.
  }
  return true;
}

bool BlockReadAhead::Close() {
  if (!IsOpen()) return false;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mStop = true;
  }
  mChanged.notify_all();
  if (mWorker.joinable()) mWorker.join();
  gzclose(mFile);
  mFile = nullptr;
  return true;
}

int BlockReadAhead::Take(std::vector<char>& block) {
  if (!IsOpen()) return 0;
  if (!mWorker.joinable()) return ReadNow(block);
  std::unique_lock<std::mutex> lock(mMutex);
  mChanged.wait(lock, [this] { return mFilled; });
  if (mSpareSize <= 0) {  // the end stays filled: nothing more is read
    mDamaged = mSpareSize < 0;
    return 0;
  }
  block.swap(mSpare);
  mSpare.resize(static_cast<size_t>(mOffset + mBlock));  // whatever the caller handed in
  const int size = mSpareSize;
  mFilled = false;
  lock.unlock();
  mChanged.notify_all();
  return size;
}

int BlockReadAhead::ReadNow(std::vector<char>& block) {
  if (mFilled) return 0;  // the end stays the end
  block.resize(static_cast<size_t>(mOffset + mBlock));
  const int size = ReadBlock(block.data() + mOffset);
  mFilled = size <= 0;
  mDamaged = size < 0;
  return size > 0 ? size : 0;
}

// zlib reports a gzip member cut short not by gzread's count but through
// gzerror, so the error state is looked at after every read; a block read
// before the error is kept, and the next read ends the data as damaged.
int BlockReadAhead::ReadBlock(char* data) {
  const int size = gzread(mFile, data, static_cast<unsigned>(mBlock));
  int error = Z_OK;
  gzerror(mFile, &error);
  if (error == Z_OK || size > 0) return size;
  return -1;
}

void BlockReadAhead::ReadBlocks() {
  std::unique_lock<std::mutex> lock(mMutex);
  for (;;) {
    mChanged.wait(lock, [this] { return mStop || !mFilled; });
    if (mStop) return;
    lock.unlock();
    const int size = ReadBlock(mSpare.data() + mOffset);
    lock.lock();
    mSpareSize = size;
    mFilled = true;
    mChanged.notify_all();
  }
}

}  // namespace ostrel
