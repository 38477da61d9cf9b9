// Loading a record index from its "_idx" file or from the data itself, and
// reading a record by its position.
#include "seq/RecordIndex.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <string_view>

#include "seq/RecordScanner.h"
#include "util/FileUtil.h"
#include "util/LineScan.h"

namespace ostrel {

namespace {

constexpr size_t kReadBlock = 1 << 20;

}  // namespace

uint32_t RecordIndex::NameHash(const char* name, size_t n) {
  const uint64_t h = std::hash<std::string_view>{}(std::string_view(name, n));
  return static_cast<uint32_t>(h ^ (h >> 32));
}

bool RecordIndex::Load(const std::string& dataName) {
  mCollected.clear();
  mEntries.clear();
  mError.clear();
  mFromIndexFile = false;
  const std::string indexName = dataName + "_idx";
  bool loaded = false;
  if (FileExists(indexName) && FileExists(dataName) && !FileModifiedBefore(indexName, dataName)) {
    loaded = mFromIndexFile = ReadIndexFile(indexName);
    if (!loaded && mError.empty()) mCollected.clear();  // unreadable: the data is scanned instead
  }
  if (!loaded && mError.empty()) loaded = ScanData(dataName);
  if (!loaded) {
    mFromIndexFile = false;
    mCollected.clear();
    return false;
  }
  Seal();
  return true;
}

bool RecordIndex::ReadIndexFile(const std::string& indexName) {
  std::ifstream in(indexName, std::ios::binary);
  if (!in) return false;
  std::string text;
  std::vector<char> block(kReadBlock);
  while (in && mError.empty()) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    text.append(block.data(), static_cast<size_t>(in.gcount()));
    AddLines(text);
  }
  if (in.bad()) return false;
  text.push_back('\n');  // a last line without its newline
  AddLines(text);
  return mError.empty();
}

bool RecordIndex::ScanData(const std::string& dataName) {
  std::ifstream in(dataName, std::ios::binary);
  if (!in) {
    mError = "cannot read " + dataName;
    return false;
  }
  RecordScanner scanner;
  std::vector<char> block(kReadBlock);
  bool good = true;
  while (good && in && mError.empty()) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    good = scanner.Feed(block.data(), static_cast<size_t>(in.gcount()));
    AddLines(scanner.mIndexText);
  }
  good = good && mError.empty() && !in.bad() && scanner.Finish();
  AddLines(scanner.mIndexText);
  if (!good && mError.empty())
    mError = dataName + ": " + (in.bad() ? std::string("read error") : scanner.mError) + " at byte " +
             std::to_string(scanner.mErrorPosition);
  return good && mError.empty();
}

void RecordIndex::AddLines(std::string& text) {
  size_t lineStart = 0;
  std::string line;
  for (size_t end; (end = text.find('\n', lineStart)) != std::string::npos; lineStart = end + 1) {
    line.assign(text, lineStart, end - lineStart);
    int pos = 0;
    const std::string name = GetNextWSDelimitedString(line, 0, pos);
    if (name.empty()) continue;
    const int64_t start = GetNextInteger64(line, pos, pos);
    const int64_t last = GetNextInteger64(line, pos, pos);
    if (start < 1 || last < start) continue;  // no range a record could have
    if (last - start >= std::numeric_limits<uint32_t>::max()) {
      mError = "the record of " + name + " is longer than 4 GiB";
      break;
    }
    mCollected.push_back({start, NameHash(name.data(), name.size()), static_cast<uint32_t>(last - start + 1)});
  }
  text.erase(0, lineStart);
}

void RecordIndex::Seal() {
  mEntries.reserve(mCollected.size());
  while (!mCollected.empty()) {  // each block is freed once it is copied
    mEntries.push_back(mCollected.front());
    mCollected.pop_front();
  }
  std::sort(mEntries.begin(), mEntries.end(), [](const Entry& a, const Entry& b) {
    return a.mHash != b.mHash ? a.mHash < b.mHash : a.mStart < b.mStart;
  });
  mBucketStart.assign((size_t{1} << kBucketBits) + 1, 0);
  for (const Entry& entry : mEntries) ++mBucketStart[(entry.mHash >> (32 - kBucketBits)) + 1];
  for (size_t b = 1; b < mBucketStart.size(); ++b) mBucketStart[b] += mBucketStart[b - 1];
}

void RecordIndex::Find(const std::string& name, std::vector<Range>& ranges) const {
  ranges.clear();
  if (mEntries.empty()) return;
  const uint32_t hash = NameHash(name.data(), name.size());
  const size_t bucket = hash >> (32 - kBucketBits);
  const auto end = mEntries.begin() + mBucketStart[bucket + 1];
  auto at = std::lower_bound(mEntries.begin() + mBucketStart[bucket], end, hash,
                             [](const Entry& entry, uint32_t h) { return entry.mHash < h; });
  for (; at != end && at->mHash == hash; ++at) ranges.push_back({at->mStart, at->mStart + at->mLength - 1});
}

bool RecordIndex::ReadRecord(int fd, int64_t dataSize, const Range& range, std::string& record) {
  record.clear();
  // A range from a damaged or foreign index is checked against the data's
  // size before any room is made for it.
  if (range.mStart < 1 || range.mEnd < range.mStart || range.mEnd > dataSize) return false;
  record.resize(static_cast<size_t>(range.mEnd - range.mStart + 1));
  size_t done = 0;
  while (done < record.size()) {
    const ssize_t got = ::pread(fd, &record[done], record.size() - done, range.mStart - 1 + static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      record.clear();
      return false;
    }
    done += static_cast<size_t>(got);
  }
  return true;
}

}  // namespace ostrel
