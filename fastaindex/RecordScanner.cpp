// The record scanner: a small state machine over the bytes of a FASTA or
// quality file. Sequence and quality lines are skipped with memchr, so the
// work per line is one call and a look at its first byte.
#include "fastaindex/RecordScanner.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>

namespace ostrel {

namespace {

// Bytes that leave a line blank. A carriage return counts, so that the empty
// lines of a CR-LF file are blank.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

void AppendNumber(std::string& out, int64_t value) {
  char digits[24];
  const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, end.ptr);
}

}  // namespace

bool RecordScanner::Feed(const char* data, size_t size) {
  size_t i = 0;
  while (i < size && mError.empty()) {
    switch (mState) {
      case State::kLineStart: i = ScanLineStart(data, size, i); break;
      case State::kBlankSoFar: i = ScanBlank(data, size, i); break;
      case State::kName: i = ScanName(data, size, i); break;
      case State::kLineRest: i = ScanLineRest(data, size, i); break;
    }
  }
  mOffset += static_cast<int64_t>(size);
  return mError.empty();
}

bool RecordScanner::Finish() {
  if (!mError.empty()) return false;
  if (mState == State::kName) {
    mCarriageReturnPending = false;  // a CR before the end of the file ends the line
    if (!EndName()) return false;
    mState = State::kLineRest;
  }
  // A last line without newline ends at the file's last byte.
  if (mState == State::kLineRest) mRecordEnd = mOffset;
  EndRecord();
  mInRecord = false;
  mState = State::kLineStart;

  std::sort(mNameHashes.begin(), mNameHashes.end());
  for (size_t k = 1; k < mNameHashes.size(); ++k)
    if (mNameHashes[k] == mNameHashes[k - 1]) ++mDuplicateCount;
  mNameHashes = std::vector<uint64_t>();
  return true;
}

size_t RecordScanner::ScanLineStart(const char* data, size_t, size_t i) {
  mLineStart = mOffset + static_cast<int64_t>(i);
  const char c = data[i];
  if (c == '\n') return i + 1;
  if (c == '>') {
    EndRecord();
    mInRecord = true;
    mRecordStart = mLineStart + 1;
    mName.clear();
    mState = State::kName;
    return i + 1;
  }
  if (IsBlank(c)) {
    mState = State::kBlankSoFar;
    return i + 1;
  }
  return BeginContentLine(i);
}

size_t RecordScanner::ScanBlank(const char* data, size_t size, size_t i) {
  while (i < size && IsBlank(data[i])) ++i;
  if (i == size) return i;
  if (data[i] == '\n') {
    mState = State::kLineStart;
    return i + 1;
  }
  return BeginContentLine(i);
}

size_t RecordScanner::BeginContentLine(size_t i) {
  if (!mInRecord) {
    Fail("the first non-empty line does not start with '>'", mLineStart + 1);
    return i;
  }
  mState = State::kLineRest;
  return i;
}

size_t RecordScanner::ScanName(const char* data, size_t size, size_t i) {
  if (mCarriageReturnPending) {
    // The previous block ended on a CR: it is a line end only before '\n'.
    mCarriageReturnPending = false;
    if (data[i] != '\n') {
      if (mName.size() == kMaxNameLength) {
        Fail("the header's name is longer than 65536 bytes", mRecordStart);
        return i;
      }
      mName += '\r';
    }
  }
  for (; i < size; ++i) {
    const char c = data[i];
    if (c == ' ' || c == '\t') {
      if (mName.empty()) continue;  // blanks between '>' and the name
      break;
    }
    if (c == '\n') break;
    if (c == '\r') {
      if (i + 1 == size) {
        mCarriageReturnPending = true;
        return size;
      }
      if (data[i + 1] == '\n') break;
    }
    if (mName.size() == kMaxNameLength) {
      Fail("the header's name is longer than 65536 bytes", mRecordStart);
      return i;
    }
    mName += c;
  }
  if (i == size) return size;
  if (!EndName()) return i;
  mState = State::kLineRest;  // finds the header line's newline
  return i;
}

size_t RecordScanner::ScanLineRest(const char* data, size_t size, size_t i) {
  const void* newline = std::memchr(data + i, '\n', size - i);
  if (newline == nullptr) return size;
  const size_t at = static_cast<size_t>(static_cast<const char*>(newline) - data);
  mRecordEnd = mOffset + static_cast<int64_t>(at) + 1;
  mState = State::kLineStart;
  return at + 1;
}

bool RecordScanner::EndName() {
  if (mName.empty()) {
    Fail("the header has no name", mRecordStart);
    return false;
  }
  mNameHashes.push_back(std::hash<std::string>{}(mName));
  return true;
}

void RecordScanner::EndRecord() {
  if (!mInRecord) return;
  mIndexText += mName;
  mIndexText += '\t';
  AppendNumber(mIndexText, mRecordStart);
  mIndexText += '\t';
  AppendNumber(mIndexText, mRecordEnd);
  mIndexText += '\n';
  ++mRecordCount;
}

void RecordScanner::Fail(const char* what, int64_t position) {
  mError = what;
  mErrorPosition = position;
}

}  // namespace ostrel
