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
#include <thread>

#include "seq/IndexLine.h"
#include "seq/RecordScanner.h"
#include "util/FileUtil.h"

namespace ostrel {

namespace {

constexpr size_t kReadBlock = 1 << 20;

// A read buffer for the `bytes` left to read (when known): a small file
// costs no large buffer.
std::vector<char> ReadBlockFor(int64_t bytes) {
  constexpr int64_t kSmallest = 16 << 10;
  return std::vector<char>(static_cast<size_t>(std::clamp<int64_t>(bytes, kSmallest, kReadBlock)));
}

}  // namespace

uint32_t RecordIndex::NameHash(const char* name, size_t n) {
  const uint64_t h = std::hash<std::string_view>{}(std::string_view(name, n));
  return static_cast<uint32_t>(h ^ (h >> 32));
}

bool RecordIndex::Load(const std::string& dataName) {
  mParts.clear();
  mError.clear();
  mFromIndexFile = false;
  const std::string indexName = dataName + "_idx";
  if (FileExists(indexName) && FileExists(dataName) && !FileModifiedBefore(indexName, dataName)) {
    mFromIndexFile = ReadIndexFile(indexName);
    if (!mFromIndexFile) mParts.clear();  // the data is scanned instead, unless the index is bad
  }
  const bool loaded = mFromIndexFile || (mError.empty() && ScanData(dataName));
  if (!loaded) {
    mParts.clear();
    return false;
  }
  for (Part& part : mParts)
    if (part.mBucketStart.empty()) Sort(part);
  return true;
}

size_t RecordIndex::Size() const {
  size_t records = 0;
  for (const Part& part : mParts) records += part.mEntries.size();
  return records;
}

bool RecordIndex::ReadIndexFile(const std::string& indexName) {
  std::ifstream in(indexName, std::ios::binary);
  if (!in) return false;
  std::deque<Entry>& into = mParts.emplace_back().mEntries;
  std::string text;
  std::vector<char> block = ReadBlockFor(FileSize(indexName));
  while (in && mError.empty()) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    text.append(block.data(), static_cast<size_t>(in.gcount()));
    mError = AddLines(text, into);
  }
  if (in.bad()) return false;
  text.push_back('\n');  // a last line without its newline
  if (mError.empty()) mError = AddLines(text, into);
  return mError.empty();
}

namespace {

// How far past the middle a header may lie to split there.
constexpr int64_t kSplitSearch = int64_t{16} << 20;

// The 0-based offset of the first '>' opening a line in [from, to); -1 when
// there is none.
int64_t FindLineStartingRecord(std::ifstream& in, int64_t from, int64_t to) {
  std::vector<char> block = ReadBlockFor(to - from);
  char previous = '\0';
  in.seekg(from - 1);
  if (!in.get(previous)) return -1;
  for (int64_t at = from; at < to;) {
    in.read(block.data(), static_cast<std::streamsize>(std::min<int64_t>(block.size(), to - at)));
    const size_t got = static_cast<size_t>(in.gcount());
    if (got == 0) return -1;
    for (size_t i = 0; i < got; previous = block[i++])
      if (block[i] == '>' && previous == '\n') return at + static_cast<int64_t>(i);
    at += static_cast<int64_t>(got);
  }
  return -1;
}

}  // namespace

std::string RecordIndex::ScanPart(const std::string& dataName, int64_t from, int64_t to, std::deque<Entry>& into) {
  std::ifstream in(dataName, std::ios::binary);
  if (!in) return "cannot read " + dataName;
  in.seekg(from);
  RecordScanner scanner(from, false);
  std::vector<char> block = ReadBlockFor(std::min<int64_t>(to, FileSize(dataName)) - from);
  std::string error;
  bool good = true;
  for (int64_t at = from; good && error.empty() && at < to && in;) {
    in.read(block.data(), static_cast<std::streamsize>(std::min<int64_t>(block.size(), to - at)));
    const size_t got = static_cast<size_t>(in.gcount());
    good = scanner.Feed(block.data(), got);
    error = AddLines(scanner.mIndexText, into);
    at += static_cast<int64_t>(got);
  }
  good = good && error.empty() && !in.bad() && scanner.Finish();
  if (error.empty()) error = AddLines(scanner.mIndexText, into);
  if (!good && error.empty())
    error = dataName + ": " + (in.bad() ? std::string("read error") : scanner.mError) + " at byte " +
            std::to_string(scanner.mErrorPosition);
  return error;
}

bool RecordIndex::ScanData(const std::string& dataName) {
  const int64_t size = FileSize(dataName);
  int64_t middle = -1;
  if (size >= mSplitScanFrom) {
    // Only '>' records are split: a FASTQ quality line may start with '>'.
    std::ifstream in(dataName, std::ios::binary);
    if (in.peek() == '>') middle = FindLineStartingRecord(in, size / 2, std::min(size, size / 2 + kSplitSearch));
  }
  if (middle < 0) {
    mError = ScanPart(dataName, 0, std::numeric_limits<int64_t>::max(), mParts.emplace_back().mEntries);
    return mError.empty();
  }
  // The second half is scanned and sorted beside the first.
  mParts.resize(2);
  std::string laterError;
  std::thread helper([&] {
    laterError = ScanPart(dataName, middle, size, mParts[1].mEntries);
    Sort(mParts[1]);
  });
  mError = ScanPart(dataName, 0, middle, mParts[0].mEntries);
  Sort(mParts[0]);
  helper.join();
  if (mError.empty()) mError = laterError;
  return mError.empty();
}

std::string RecordIndex::AddLines(std::string& text, std::deque<Entry>& into) {
  size_t lineStart = 0;
  std::string line, name, error;
  int64_t start = 0, last = 0;
  for (size_t end; error.empty() && (end = text.find('\n', lineStart)) != std::string::npos; lineStart = end + 1) {
    line.assign(text, lineStart, end - lineStart);
    ParseIndexLine(line, name, start, last);
    if (name.empty()) continue;
    if (start < 1 || last < start) continue;  // no range a record could have
    if (last - start >= std::numeric_limits<uint32_t>::max())
      error = "the record of " + name + " is longer than 4 GiB";
    else
      into.push_back({start, NameHash(name.data(), name.size()), static_cast<uint32_t>(last - start + 1)});
  }
  text.erase(0, lineStart);
  return error;
}

void RecordIndex::Sort(Part& part) {
  std::sort(part.mEntries.begin(), part.mEntries.end(), [](const Entry& a, const Entry& b) {
    return a.mHash != b.mHash ? a.mHash < b.mHash : a.mStart < b.mStart;
  });
  part.mBucketBits = 0;
  while (part.mBucketBits < kBucketBits && (size_t{1} << part.mBucketBits) < part.mEntries.size()) ++part.mBucketBits;
  part.mBucketStart.assign((size_t{1} << part.mBucketBits) + 1, 0);
  for (const Entry& entry : part.mEntries) ++part.mBucketStart[part.Bucket(entry.mHash) + 1];
  for (size_t b = 1; b < part.mBucketStart.size(); ++b) part.mBucketStart[b] += part.mBucketStart[b - 1];
}

size_t RecordIndex::Part::FirstOf(uint32_t hash) const {
  const size_t bucket = Bucket(hash);
  const auto end = mEntries.begin() + mBucketStart[bucket + 1];
  const auto at = std::lower_bound(mEntries.begin() + mBucketStart[bucket], end, hash,
                                   [](const Entry& entry, uint32_t h) { return entry.mHash < h; });
  return at != end && at->mHash == hash ? static_cast<size_t>(at - mEntries.begin()) : mEntries.size();
}

void RecordIndex::Find(const std::string& name, std::vector<Range>& ranges) const {
  ranges.clear();
  const uint32_t hash = NameHash(name.data(), name.size());
  for (const Part& part : mParts)
    for (size_t at = part.FirstOf(hash); at < part.mEntries.size() && part.mEntries[at].mHash == hash; ++at)
      ranges.push_back(RangeOf(part.mEntries[at]));
}

void RecordIndex::FindFirst(const std::vector<std::string>& names, std::vector<Range>& first) const {
  first.assign(names.size(), Range{});
  constexpr size_t kGroup = 16;
  uint32_t hashes[kGroup];
  for (size_t from = 0; from < names.size(); from += kGroup) {
    const size_t n = std::min(kGroup, names.size() - from);
    // Each step asks for the memory the next one reads, for the whole group.
    for (size_t k = 0; k < n; ++k) {
      hashes[k] = NameHash(names[from + k].data(), names[from + k].size());
      for (const Part& part : mParts) __builtin_prefetch(&part.mBucketStart[part.Bucket(hashes[k])]);
    }
    for (size_t k = 0; k < n; ++k)
      for (const Part& part : mParts) {
        const size_t start = part.mBucketStart[part.Bucket(hashes[k])];
        if (start < part.mEntries.size()) __builtin_prefetch(&part.mEntries[start]);
      }
    for (size_t k = 0; k < n; ++k)
      for (const Part& part : mParts) {
        const size_t at = part.FirstOf(hashes[k]);
        if (at == part.mEntries.size()) continue;
        first[from + k] = RangeOf(part.mEntries[at]);
        break;
      }
  }
}

bool RecordIndex::ReadRecord(int fd, int64_t dataSize, const Range& range, std::string& record) {
  record.clear();
  return AppendRecord(fd, dataSize, range, record);
}

bool RecordIndex::AppendRecord(int fd, int64_t dataSize, const Range& range, std::string& text) {
  // A range from a damaged or foreign index is checked against the data's
  // size before any room is made for it.
  if (range.mStart < 1 || range.mEnd < range.mStart || range.mEnd > dataSize) return false;
  const size_t had = text.size();
  text.resize(had + static_cast<size_t>(range.mEnd - range.mStart + 1));
  for (size_t done = 0; had + done < text.size();) {
    const ssize_t got =
        ::pread(fd, &text[had + done], text.size() - had - done, range.mStart - 1 + static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      text.resize(had);
      return false;
    }
    done += static_cast<size_t>(got);
  }
  return true;
}

}  // namespace ostrel
