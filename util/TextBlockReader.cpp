// Reading a plain, gzip or bgzip file's text from start to end.
#include "util/TextBlockReader.h"

#include <cerrno>
#include <cstring>

namespace ostrel {

bool TextBlockReader::Open(const std::string& fileName, int bgzfThreads) {
  mFileName = fileName;
  mError.clear();
  const Compression compression = CompressionOf(fileName);
  if (compression == Compression::kBgzf) {
    if (!mBgzfFile.OpenToRead(fileName, bgzfThreads, false)) {
      mError = mBgzfFile.mError;
      return false;
    }
    mBgzf = true;
    mBlock.resize(kBlockSize);
    return true;
  }
  mAhead = std::make_unique<BlockReadAhead>(0, kBlockSize, compression == Compression::kGzip);
  errno = 0;
  if (!mAhead->Open(fileName.c_str())) {
    mError = "cannot read " + fileName + (errno != 0 ? std::string(": ") + std::strerror(errno) : "");
    return false;
  }
  return true;
}

int64_t TextBlockReader::Next(const char*& data) {
  if (mBgzf) {
    const int64_t got = mBgzfFile.Read(mBlock.data(), mBlock.size());
    if (got < 0) mError = mBgzfFile.mError.empty() ? mFileName + " is damaged or cut short" : mBgzfFile.mError;
    data = mBlock.data();
    return got;
  }
  if (!mAhead) return 0;  // no file open
  const int got = mAhead->Take(mBlock);
  data = mBlock.data();
  if (got == 0 && mAhead->Damaged()) {
    mError = mFileName + " is damaged or cut short";
    return -1;
  }
  return got;
}

}  // namespace ostrel
