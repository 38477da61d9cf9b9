// Quality records read by position through the file's record index.
#include "seq/QualityRecordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "seq/RecordCheck.h"
#include "util/LineScan.h"
#include "util/TokenScan.h"

namespace ostrel {

namespace {

// Records at most this far apart are read in one piece, of at most
// kMaxPiece bytes: a contig's reads often lie together in the file.
constexpr int64_t kMaxGap = 4096;
constexpr int64_t kMaxPiece = 1 << 20;

// `range` with the byte after it, when the data has one: whether a record
// ends where its range does is told by that byte.
RecordIndex::Range WithNextByte(const RecordIndex::Range& range, int64_t dataSize) {
  return {range.mStart, range.mEnd < dataSize ? range.mEnd + 1 : range.mEnd};
}

// What the record at `begin`, read with WithNextByte, holds.
RangeHolds WhatRecordHolds(const char* begin, const RecordIndex::Range& range, int64_t dataSize,
                           const std::string& name) {
  const int64_t length = range.mEnd - range.mStart + 1;
  return WhatQualityRangeHolds(begin, length, range.mEnd < dataSize ? begin[length] : '\n', name);
}

}  // namespace

void SetQualityHeader(std::string header, SequenceQuality& q) {
  if (!header.empty() && header.back() == '\r') header.pop_back();
  int pos = 0;
  q.mName = GetNextWSDelimitedString(header, 1, pos);
  q.mDescription = pos >= 0 ? header.substr(static_cast<size_t>(pos)) : std::string();
}

QualityRecordFile::~QualityRecordFile() {
  if (mFd >= 0) ::close(mFd);
}

bool QualityRecordFile::Open(const std::string& fileName) {
  mFileName = fileName;
  mStale = false;
  if (!mIndex.Load(fileName)) {
    mError = mIndex.mError;
    return false;
  }
  if (mFd >= 0) ::close(mFd);
  mFd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat status;
  if (mFd < 0 || ::fstat(mFd, &status) != 0) {
    mError = "cannot read " + fileName;
    return false;
  }
  mDataSize = status.st_size;
  return true;
}

bool QualityRecordFile::ParseRecord(const char* begin, const char* end, const std::string& name,
                                    SequenceQuality& q) {
  q.mQualities.clear();
  const char* newline = static_cast<const char*>(std::memchr(begin, '\n', static_cast<size_t>(end - begin)));
  const char* headerEnd = newline == nullptr ? end : newline;
  // The header as a line buffer holds it: up to a NUL, at most
  // kReadBufSize - 1 characters.
  const size_t headerLength = std::min<size_t>(static_cast<size_t>(headerEnd - begin), kReadBufSize - 1);
  SetQualityHeader(std::string(begin, strnlen(begin, headerLength)), q);
  if (q.mName != name) return false;
  if (newline != nullptr) GetIntsFromLines(newline + 1, end, q.mQualities);
  return true;
}

void QualityRecordFile::Fetch(const std::string& name, Fetched& fetched, std::ostream& messages) {
  fetched.mFound = false;
  mIndex.Find(name, mCandidates);
  for (const RecordIndex::Range& range : mCandidates) {
    fetched.mStart = range.mStart;
    const RangeHolds holds = RecordIndex::ReadRecord(mFd, mDataSize, WithNextByte(range, mDataSize), mRecord)
                                 ? WhatRecordHolds(mRecord.data(), range, mDataSize, name)
                                 : RangeHolds::kNoRecord;
    if (holds == RangeHolds::kNoRecord) {
      messages << mFileName << " range " << range.mStart << ".." << range.mEnd << " does not hold read " << name
               << ": the index looks stale (ostrel-fastaindex remakes it), record skipped." << std::endl;
      mStale = true;
      continue;
    }
    if (holds == RangeHolds::kTheRead &&
        ParseRecord(mRecord.data(), mRecord.data() + (range.mEnd - range.mStart + 1), name, fetched.mQuality) &&
        !fetched.mQuality.mQualities.empty()) {
      fetched.mFound = true;
      return;
    }
  }
}

void QualityRecordFile::Fetch(const std::vector<std::string>& names, std::vector<Fetched>& fetched,
                              std::ostream& messages) {
  fetched.resize(names.size());
  for (Fetched& f : fetched) f.mFound = false;
  ReadRecords(names, mBatch);
  ParseRecords(names, mBatch, messages, [&fetched](size_t i, Fetched& record) { std::swap(fetched[i], record); });
}

void QualityRecordFile::ReadRecords(const std::vector<std::string>& names, RecordBatch& batch) const {
  batch.mWanted.clear();
  batch.mPieces.clear();
  batch.mText.clear();
  mIndex.FindFirst(names, batch.mFirst);
  for (size_t i = 0; i < names.size(); ++i)
    if (batch.mFirst[i].mStart != 0) batch.mWanted.push_back({batch.mFirst[i], i});
  std::vector<RecordBatch::Wanted>& wanted = batch.mWanted;
  std::sort(wanted.begin(), wanted.end(), [](const RecordBatch::Wanted& a, const RecordBatch::Wanted& b) {
    return a.mRange.mStart < b.mRange.mStart;
  });
  for (size_t from = 0, to; from < wanted.size(); from = to) {
    int64_t end = wanted[from].mRange.mEnd;
    for (to = from + 1; to < wanted.size(); ++to) {
      const RecordIndex::Range& next = wanted[to].mRange;
      if (next.mStart <= end || next.mStart - end > kMaxGap || next.mEnd - wanted[from].mRange.mStart >= kMaxPiece)
        break;
      end = next.mEnd;
    }
    size_t offset = batch.mText.size();
    if (!batch.mText.empty() && offset + static_cast<size_t>(end - wanted[from].mRange.mStart) >= mMaxBatchText)
      offset = RecordBatch::kLater;
    else if (!RecordIndex::AppendRecord(mFd, mDataSize, WithNextByte({wanted[from].mRange.mStart, end}, mDataSize),
                                        batch.mText))
      offset = RecordBatch::kUnread;
    batch.mPieces.push_back({from, to, offset});
  }
}

void QualityRecordFile::ParseRecords(const std::vector<std::string>& names, const RecordBatch& batch,
                                     std::ostream& messages, const std::function<void(size_t, Fetched&)>& take) {
  for (const RecordBatch::Piece& piece : batch.mPieces) {
    const RecordIndex::Range whole{batch.mWanted[piece.mFrom].mRange.mStart, batch.mWanted[piece.mTo - 1].mRange.mEnd};
    const char* text = nullptr;
    if (piece.mOffset == RecordBatch::kLater) {
      if (RecordIndex::ReadRecord(mFd, mDataSize, WithNextByte(whole, mDataSize), mPiece)) text = mPiece.data();
    } else if (piece.mOffset != RecordBatch::kUnread) {
      text = batch.mText.data() + piece.mOffset;
    }
    for (size_t w = piece.mFrom; w < piece.mTo; ++w) {
      const RecordIndex::Range& range = batch.mWanted[w].mRange;
      const size_t i = batch.mWanted[w].mName;
      if (i >= names.size()) continue;  // a batch read for other names
      const char* begin = text == nullptr ? nullptr : text + (range.mStart - whole.mStart);
      if (begin != nullptr && WhatRecordHolds(begin, range, mDataSize, names[i]) == RangeHolds::kTheRead &&
          ParseRecord(begin, begin + (range.mEnd - range.mStart + 1), names[i], mParsed.mQuality) &&
          !mParsed.mQuality.mQualities.empty()) {
        mParsed.mFound = true;
        mParsed.mStart = range.mStart;
      } else {
        Fetch(names[i], mParsed, messages);  // every record of the name in turn
      }
      if (mParsed.mFound) take(i, mParsed);
    }
  }
}

}  // namespace ostrel
