// The FASTQ scanner: whole lines taken with memchr, a line that a block
// boundary cuts kept only as far as a header needs.
#include "seq/FastqScanner.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "seq/IndexLine.h"

namespace ostrel {

namespace {

// Enough of a line for '@', blanks and the longest name.
constexpr size_t kKept = FastqScanner::kMaxNameLength + 64;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

bool FastqScanner::Feed(const char* data, size_t size) {
  size_t i = 0;
  while (i < size && mError.empty()) {
    const void* found = std::memchr(data + i, '\n', size - i);
    const size_t end = found == nullptr ? size : static_cast<size_t>(static_cast<const char*>(found) - data);
    const int64_t length = static_cast<int64_t>(end - i);
    if (mPartialLength == 0 && found != nullptr) {
      TakeLine(data + i, std::min<size_t>(end - i, kKept), length, length > 0 ? data[end - 1] : '\0',
               mOffset + static_cast<int64_t>(i), true);
    } else {
      if (mPartialLength == 0) mPartialStart = mOffset + static_cast<int64_t>(i);
      mPartial.append(data + i, std::min(end - i, kKept - mPartial.size()));
      mPartialLength += length;
      if (length > 0) mPartialLast = data[end - 1];
      if (found != nullptr) {
        TakeLine(mPartial.data(), mPartial.size(), mPartialLength, mPartialLast, mPartialStart, true);
        mPartial.clear();
        mPartialLength = 0;
      }
    }
    i = found == nullptr ? size : end + 1;
  }
  mOffset += static_cast<int64_t>(size);
  return mError.empty();
}

bool FastqScanner::Finish() {
  if (mError.empty() && mPartialLength > 0) {
    TakeLine(mPartial.data(), mPartial.size(), mPartialLength, mPartialLast, mPartialStart, false);
    mPartial.clear();
    mPartialLength = 0;
  }
  if (mError.empty() && mState != State::kHeader) {
    mLineNumber = mRecordLine;
    Fail(mState == State::kSequence ? "the record is cut short before its '+' line"
                                    : "the record is cut short: fewer quality characters than bases",
         mRecordStart);
  }
  if (!mError.empty()) return false;
  mDuplicateCount = CountRepeatedHashes(mNameHashes);
  mNameHashes = std::vector<uint64_t>();
  return true;
}

void FastqScanner::TakeLine(const char* text, size_t kept, int64_t length, char last, int64_t start,
                            bool newline) {
  ++mLineNumber;
  const int64_t content = length > 0 && last == '\r' ? length - 1 : length;
  // The record's last byte, should this line end it.
  const int64_t end = start + length + (newline ? 1 : 0);
  switch (mState) {
    case State::kHeader:
      if (static_cast<int64_t>(kept) == length && std::all_of(text, text + kept, IsBlank)) return;
      TakeHeader(text, kept, content, start);
      return;
    case State::kSequence:
      if (length > 0 && text[0] == '+') {
        TakePlusLine(text, kept, content, start);
        if (mError.empty() && mBases == 0) EndRecord(end);
      } else if (length > 0 && text[0] == '@') {
        Fail("a header line comes before the record's '+' line", start + 1);
      } else {
        mBases += content;
      }
      return;
    case State::kQuality:
      mQualities += content;
      if (mQualities > mBases)
        Fail("more quality characters than bases", start + 1);
      else if (mQualities == mBases)
        EndRecord(end);
      return;
  }
}

void FastqScanner::TakeHeader(const char* text, size_t kept, int64_t content, int64_t start) {
  if (text[0] != '@') {
    Fail(mRecordCount == 0 ? "the first non-empty line does not start with '@'"
                           : "a record does not start with '@'",
         start + 1);
    return;
  }
  const size_t limit = static_cast<size_t>(std::min<int64_t>(content, static_cast<int64_t>(kept)));
  size_t from = 1;
  while (from < limit && (text[from] == ' ' || text[from] == '\t')) ++from;
  size_t to = from;
  while (to < limit && text[to] != ' ' && text[to] != '\t') ++to;
  if (to == from) {
    Fail("the header has no name", start + 1);
    return;
  }
  if (to - from > kMaxNameLength || (to == kept && static_cast<int64_t>(kept) < content)) {
    Fail("the header's name is longer than 65536 bytes", start + 1);
    return;
  }
  mName.assign(text + from, to - from);
  mRecordStart = start + 1;
  mRecordLine = mLineNumber;
  mBases = 0;
  mQualities = 0;
  mState = State::kSequence;
}

void FastqScanner::TakePlusLine(const char* text, size_t kept, int64_t content, int64_t start) {
  // A name after the '+' must be the header's.
  const size_t limit = static_cast<size_t>(std::min<int64_t>(content, static_cast<int64_t>(kept)));
  size_t from = 1;
  while (from < limit && (text[from] == ' ' || text[from] == '\t')) ++from;
  size_t to = from;
  while (to < limit && text[to] != ' ' && text[to] != '\t') ++to;
  if (to > from && mName.compare(0, std::string::npos, text + from, to - from) != 0) {
    Fail("the '+' line names another read", start + 1);
    return;
  }
  mState = State::kQuality;
}

void FastqScanner::EndRecord(int64_t end) {
  AppendIndexLine(mIndexText, mName.data(), mName.size(), mRecordStart, end);
  if (mCountDuplicates) mNameHashes.push_back(std::hash<std::string>{}(mName));
  ++mRecordCount;
  mState = State::kHeader;
}

void FastqScanner::Fail(const char* what, int64_t position) {
  mError = what;
  mErrorPosition = position;
  mErrorLine = mLineNumber;
}

}  // namespace ostrel
