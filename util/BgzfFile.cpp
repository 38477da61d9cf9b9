// BGZF reading through htslib's bgzf interface.
#include "util/BgzfFile.h"

#include <htslib/bgzf.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

#include "util/FileUtil.h"

namespace ostrel {

namespace {

// A block holds at most this much text.
constexpr int64_t kMaxBlockText = 65536;

// A position at most a block's text ahead of the last one read is reached
// by reading on: in the same block or the next, it costs at most the one
// block a seek would decompress.
constexpr int64_t kReadOnUpTo = kMaxBlockText;

// The uncompressed offset of the last block a ".gzi" file lists (0 when it
// lists none), or -1 when the file is not such a list: a little-endian
// count, then that many pairs of compressed and uncompressed offsets, both
// rising, every block starting inside the data file of `dataSize` bytes,
// and no block holding more text than a block can. htslib trusts the list,
// so a list that skips a block must not reach it, nor one that sends it
// past the file's end (its failed seek then leaks the whole reader).
int64_t LastBlockStart(const std::string& indexName, long dataSize) {
  std::ifstream in(indexName, std::ios::binary);
  auto readWord = [&](uint64_t& value) {
    unsigned char word[8];
    if (!in.read(reinterpret_cast<char*>(word), 8)) return false;
    value = 0;
    for (int b = 7; b >= 0; --b) value = value << 8 | word[b];
    return true;
  };
  uint64_t count = 0;
  const long size = FileSize(indexName);
  if (!readWord(count) || size < 8 || (size - 8) % 16 != 0 || count != static_cast<uint64_t>(size - 8) / 16)
    return -1;
  uint64_t lastCompressed = 0, lastText = 0;
  for (uint64_t k = 0; k < count; ++k) {
    uint64_t compressed = 0, text = 0;
    if (!readWord(compressed) || !readWord(text) || compressed <= lastCompressed || text <= lastText ||
        text - lastText > kMaxBlockText || text > static_cast<uint64_t>(INT64_MAX) || dataSize < 0 ||
        compressed >= static_cast<uint64_t>(dataSize))
      return -1;
    lastCompressed = compressed;
    lastText = text;
  }
  return static_cast<int64_t>(lastText);
}

}  // namespace

Compression CompressionOf(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  unsigned char header[16];
  if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return Compression::kNone;
  if (header[0] != 0x1f || header[1] != 0x8b) return Compression::kNone;
  // BGZF: deflate, an extra field (flag 4) whose first subfield is "BC" of
  // length 2.
  const bool bgzf = header[2] == 8 && (header[3] & 4) != 0 && header[12] == 'B' && header[13] == 'C' &&
                    header[14] == 2 && header[15] == 0;
  return bgzf ? Compression::kBgzf : Compression::kGzip;
}

int DecompressionThreads() {
  return static_cast<int>(std::min(std::max(std::thread::hardware_concurrency(), 1u), 4u));
}

bool BgzfFile::Open(const std::string& fileName) {
  Close();
  mError.clear();
  mFileName = fileName;
  mPosition = 0;
  mFile = bgzf_open(fileName.c_str(), "r");
  if (mFile == nullptr) mError = "cannot read " + fileName;
  return mFile != nullptr;
}

bool BgzfFile::OpenToRead(const std::string& fileName, int threads, bool buildIndex) {
  if (!Open(fileName)) return false;
  mListBlocks = buildIndex;
  mBlockStarts.clear();
  if (threads > 0) bgzf_mt(mFile, threads, 64);
  return true;
}

int64_t BgzfFile::ReadFailed() {
  if (InBlocksThroughout()) mError = mFileName + " is damaged or cannot be read";
  return -1;
}

int64_t BgzfFile::Read(char* data, size_t n) {
  if (mListBlocks && n > 0) {
    // One block at a time, so that each block's place is seen (htslib's
    // own list misses blocks that its threads decompress). htslib passes
    // over empty blocks: one read at the end.
    if (mFile->block_offset >= mFile->block_length) {
      if (bgzf_read_block(mFile) != 0) return ReadFailed();
      if (mFile->block_length == 0) return 0;
      if (mPosition > 0) mBlockStarts.emplace_back(mFile->block_address, mPosition);
    }
    n = std::min<size_t>(n, static_cast<size_t>(mFile->block_length - mFile->block_offset));
  }
  const ssize_t got = bgzf_read(mFile, data, n);
  if (got < 0) return ReadFailed();
  mPosition += got;
  return got;
}

bool BgzfFile::WriteIndex(const std::string& indexName) {
  if (!InBlocksThroughout()) return false;
  const std::string temporary = indexName + "." + std::to_string(::getpid()) + ".tmp";
  std::string list;
  auto addWord = [&](uint64_t value) {
    for (int b = 0; b < 8; ++b) list += static_cast<char>(value >> (8 * b) & 0xff);
  };
  addWord(mBlockStarts.size());
  for (const auto& [compressed, text] : mBlockStarts) {
    addWord(static_cast<uint64_t>(compressed));
    addWord(static_cast<uint64_t>(text));
  }
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  out.write(list.data(), static_cast<std::streamsize>(list.size()));
  out.close();
  if (!out || std::rename(temporary.c_str(), indexName.c_str()) != 0) {
    std::remove(temporary.c_str());
    mError = "cannot write " + indexName;
    return false;
  }
  return true;
}

bool BgzfFile::OpenByPosition(const std::string& fileName, int threads) {
  mError.clear();
  const std::string indexName = IndexName(fileName);
  if (!FileExists(indexName)) {
    mError = "no block index " + indexName + " (ostrel-fastaindex or bgzip -r makes it)";
    return false;
  }
  if (FileModifiedBefore(indexName, fileName)) {
    mError = indexName + " is older than " + fileName + " (ostrel-fastaindex remakes it)";
    return false;
  }
  const int64_t lastBlock = LastBlockStart(indexName, FileSize(fileName));
  if (lastBlock < 0 || !Open(fileName) || (threads > 0 && bgzf_mt(mFile, threads, 64) != 0) ||
      bgzf_index_load(mFile, indexName.c_str(), nullptr) != 0) {
    if (mError.empty()) mError = indexName + " is not a block index";
    Close();
    return false;
  }
  // The text ends in the last block listed or after it.
  mSize = lastBlock;
  if (bgzf_useek(mFile, lastBlock, SEEK_SET) != 0) {
    mError = fileName + " does not match its block index " + indexName;
    Close();
    return false;
  }
  mPosition = lastBlock;
  std::vector<char> rest(kMaxBlockText);
  for (int64_t got; (got = Read(rest.data(), rest.size())) != 0;) {
    if (got < 0) {
      Close();
      return false;
    }
    mSize += got;
  }
  if (!InBlocksThroughout()) {
    Close();
    return false;
  }
  if (mSize - lastBlock > kMaxBlockText) {  // the list ends before the file's last block
    mError = fileName + " does not match its block index " + indexName;
    Close();
    return false;
  }
  return true;
}

bool BgzfFile::InBlocksThroughout() {
  // htslib reads a gzip member that is not a BGZF block (a plain gzip file
  // appended to a bgzip one) as gzip, which no block index can reach.
  if (mFile->is_gzip == 0) return true;
  mError = mFileName + " is bgzip-compressed only in part: plain gzip follows its blocks;"
                       " recompress it with bgzip (gzip -dc FILE | bgzip > FILE.new)";
  return false;
}

bool BgzfFile::Skip(int64_t n) {
  char scratch[1 << 14];
  while (n > 0) {
    const int64_t got = Read(scratch, static_cast<size_t>(std::min<int64_t>(n, sizeof scratch)));
    if (got <= 0) return false;
    n -= got;
  }
  return true;
}

// The block in hand is htslib's public state (bgzf_tell reads it too): its
// text, how much of it there is and how much was read.
bool BgzfFile::MoveInBlock(int64_t delta) {
  const int64_t at = mFile->block_offset + delta;
  if (at < 0 || at > mFile->block_length) return false;
  mFile->block_offset = static_cast<int>(at);
  mFile->uncompressed_address += delta;
  mPosition += delta;
  return true;
}

int64_t BgzfFile::ReadAt(int64_t offset, char* data, int64_t n) {
  if (offset < 0 || n < 0) return -1;
  // Back within the block in hand (a record that several bins name, read
  // again) or on: no seek, which would decompress the block again.
  const bool readOn = offset >= mPosition && offset - mPosition <= kReadOnUpTo;
  if (!MoveInBlock(offset - mPosition) && !(readOn && Skip(offset - mPosition))) {
    if (bgzf_useek(mFile, offset, SEEK_SET) != 0) {
      mError = mFileName + ": cannot reach position " + std::to_string(offset);
      return -1;
    }
    mPosition = offset;
  }
  int64_t done = 0;
  while (done < n) {
    const int64_t got = Read(data + done, static_cast<size_t>(n - done));
    if (got < 0) return -1;
    if (got == 0) break;
    done += got;
  }
  return done;
}

void BgzfFile::Close() {
  if (mFile != nullptr) bgzf_close(mFile);
  mFile = nullptr;
  mSize = -1;
}

}  // namespace ostrel
