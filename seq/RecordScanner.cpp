// The record scanner: a small state machine over the bytes of a FASTA or
// quality file (a FASTQ file goes to the FASTQ scanner). Inside a record it jumps from '>' to '>' with memchr and
// looks back from each header over the blank bytes before it, so sequence
// and quality lines are never visited one by one.
#include "seq/RecordScanner.h"

#include <cstring>
#include <functional>

#include "seq/IndexLine.h"

namespace ostrel {

namespace {

// Bytes that leave a line blank. A carriage return counts, so that the empty
// lines of a CR-LF file are blank.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

bool RecordScanner::Feed(const char* data, size_t size) {
  if (mFastq) return TakeFastq(mFastq->Feed(data, size));
  size_t i = 0;
  while (i < size && mError.empty()) {
    if (mFastq) return TakeFastq(mFastq->Feed(data + i, size - i));
    switch (mState) {
      case State::kLineStart: i = ScanLineStart(data, i); break;
      case State::kBlankSoFar: i = ScanBlank(data, size, i); break;
      case State::kName: i = ScanName(data, size, i); break;
      case State::kBody: i = ScanBody(data, size, i); break;
    }
  }
  if (size > 0) mLastByte = data[size - 1];
  mOffset += static_cast<int64_t>(size);
  return mError.empty();
}

bool RecordScanner::Finish() {
  if (mFastq) {
    const bool good = TakeFastq(mFastq->Finish());
    mDuplicateCount = mFastq->mDuplicateCount;
    return good;
  }
  if (!mError.empty()) return false;
  if (mState == State::kName) {
    mCarriageReturnPending = false;  // a CR before the end of the file ends the line
    if (!EndName()) return false;
    mState = State::kBody;
    mLineOpen = true;
  }
  // A last line without newline ends at the file's last byte.
  if (mState == State::kBody && mLineOpen) mRecordEnd = mOffset;
  EndRecord();
  mInRecord = false;
  mState = State::kLineStart;
  mDuplicateCount = CountRepeatedHashes(mNameHashes);
  mNameHashes = std::vector<uint64_t>();
  return true;
}

size_t RecordScanner::ScanLineStart(const char* data, size_t i) {
  mLineStart = mOffset + static_cast<int64_t>(i);
  const char c = data[i];
  if (c == '\n') return i + 1;
  if (c == '>') {
    BeginRecord(mLineStart);
    return i + 1;
  }
  if (c == '@') {  // the file is FASTQ: the rest goes to its scanner
    mFastq = std::make_unique<FastqScanner>(mLineStart, mCountDuplicates);
    return i;
  }
  if (IsBlank(c)) {
    mState = State::kBlankSoFar;
    return i + 1;
  }
  Fail("the first non-empty line does not start with '>' or '@'", mLineStart + 1);
  return i;
}

size_t RecordScanner::ScanBlank(const char* data, size_t size, size_t i) {
  while (i < size && IsBlank(data[i])) ++i;
  if (i == size) return i;
  if (data[i] == '\n') {
    mState = State::kLineStart;
    return i + 1;
  }
  Fail("the first non-empty line does not start with '>' or '@'", mLineStart + 1);
  return i;
}

size_t RecordScanner::ScanName(const char* data, size_t size, size_t i) {
  if (mCarriageReturnPending) {
    // The previous block ended on a CR: it is a line end only before '\n'.
    mCarriageReturnPending = false;
    if (data[i] != '\n' && !AppendToName("\r", 1)) return i;
  }
  if (mName.empty()) {
    while (i < size && (data[i] == ' ' || data[i] == '\t')) ++i;  // blanks before the name
    if (i == size) return size;
  }
  size_t end = i;
  while (end < size && data[end] != ' ' && data[end] != '\t' && data[end] != '\n' &&
         !(data[end] == '\r' && (end + 1 == size || data[end + 1] == '\n')))
    ++end;
  if (!AppendToName(data + i, end - i)) return end;
  if (end == size) return size;  // the name goes on in the next block
  if (end + 1 == size && data[end] == '\r') {
    mCarriageReturnPending = true;
    return size;
  }
  if (!EndName()) return end;
  mState = State::kBody;
  mLineOpen = true;  // the header line, up to its newline
  return end;
}

size_t RecordScanner::ScanBody(const char* data, size_t size, size_t i) {
  for (size_t at = i;;) {
    const void* found = std::memchr(data + at, '>', size - at);
    if (found == nullptr) {
      TrackRecordEnd(data, i, size);
      return size;
    }
    const size_t header = static_cast<size_t>(static_cast<const char*>(found) - data);
    const char before = header > 0 ? data[header - 1] : mLastByte;
    if (before != '\n') {  // a '>' inside a line starts nothing
      at = header + 1;
      continue;
    }
    TrackRecordEnd(data, i, header);
    BeginRecord(mOffset + static_cast<int64_t>(header));
    return header + 1;
  }
}

// Looks back over data[from, to), a part of the current record, from its
// end: past blank bytes to the last non-blank one, noting the first newline
// after it, which ends the record's last non-blank line so far.
void RecordScanner::TrackRecordEnd(const char* data, size_t from, size_t to) {
  size_t newline = to;  // none seen
  size_t at = to;
  while (at > from && (data[at - 1] == '\n' || IsBlank(data[at - 1]))) {
    --at;
    if (data[at] == '\n') newline = at;
  }
  const bool contentSeen = at > from;
  if (newline != to && (contentSeen || mLineOpen)) {
    mRecordEnd = mOffset + static_cast<int64_t>(newline) + 1;
    mLineOpen = false;
  } else if (contentSeen) {
    mLineOpen = true;  // the part ends inside a non-blank line
  }
}

void RecordScanner::BeginRecord(int64_t position) {
  EndRecord();
  mInRecord = true;
  mRecordStart = position + 1;
  mName.clear();
  mState = State::kName;
}

bool RecordScanner::AppendToName(const char* bytes, size_t n) {
  if (mName.size() + n > kMaxNameLength) {
    Fail("the header's name is longer than 65536 bytes", mRecordStart);
    return false;
  }
  mName.append(bytes, n);
  return true;
}

bool RecordScanner::EndName() {
  if (mName.empty()) {
    Fail("the header has no name", mRecordStart);
    return false;
  }
  if (mCountDuplicates) mNameHashes.push_back(std::hash<std::string>{}(mName));
  return true;
}

void RecordScanner::EndRecord() {
  if (!mInRecord) return;
  AppendIndexLine(mIndexText, mName.data(), mName.size(), mRecordStart, mRecordEnd);
  ++mRecordCount;
}

bool RecordScanner::TakeFastq(bool good) {
  if (mIndexText.empty())
    mIndexText.swap(mFastq->mIndexText);
  else
    mIndexText += mFastq->mIndexText;
  mFastq->mIndexText.clear();
  mRecordCount = mFastq->mRecordCount;
  mError = mFastq->mError;
  mErrorPosition = mFastq->mErrorPosition;
  mErrorLine = mFastq->mErrorLine;
  return good;
}

void RecordScanner::Fail(const char* what, int64_t position) {
  mError = what;
  mErrorPosition = position;
}

}  // namespace ostrel
