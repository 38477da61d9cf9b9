// Scanning the records of a FASTQ file into "_idx" lines (seq/IndexLine.h).
//
// A record is an '@' header line, sequence lines, a '+' line (bare, or
// naming the header's read again) and quality lines that together hold as
// many characters as the sequence lines hold bases; a carriage return
// ending a line is not counted. The quality lines are counted, not looked
// at, so one may start with '@' or '+'. The record's last byte is the
// newline of its last quality line, or the file's last byte when that line
// has none. Blank lines (blanks, tabs, carriage returns) may stand between
// records.
#ifndef OSTREL_SEQ_FASTQSCANNER_H
#define OSTREL_SEQ_FASTQSCANNER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ostrel {

// Takes a file's bytes in blocks split anywhere; memory stays bounded by
// the pending index lines, the start of the line in progress and 8 bytes
// per record for the duplicate count.
class FastqScanner {
public:
  static constexpr size_t kMaxNameLength = 65536;

  // Scans the bytes of a file from `offset` (0-based): its start, or the
  // '@' of a header that opens a line.
  explicit FastqScanner(int64_t offset = 0, bool countDuplicates = true)
      : mOffset(offset), mCountDuplicates(countDuplicates) {}

  // Scans the next block. False once the text is found bad.
  bool Feed(const char* data, size_t size);
  // Ends the text: its last line, a record cut short, the duplicate count.
  bool Finish();

  std::string mIndexText;       // index lines not yet taken by the caller
  int64_t mRecordCount = 0;
  int64_t mDuplicateCount = 0;  // after Finish
  std::string mError;           // empty while the text is good
  int64_t mErrorPosition = 0;   // 1-based byte position mError refers to
  int64_t mErrorLine = 0;       // and its 1-based line

private:
  enum class State { kHeader, kSequence, kQuality };
  // One line: its first `kept` bytes at `text`, its `length` without the
  // newline, its last byte, its 0-based start, whether a newline ends it.
  void TakeLine(const char* text, size_t kept, int64_t length, char last, int64_t start, bool newline);
  void TakeHeader(const char* text, size_t kept, int64_t content, int64_t start);
  void TakePlusLine(const char* text, size_t kept, int64_t content, int64_t start);
  void EndRecord(int64_t end);
  void Fail(const char* what, int64_t position);

  State mState = State::kHeader;
  int64_t mOffset;                 // 0-based file offset of the current block
  int64_t mLineNumber = 0;         // lines taken so far
  std::string mPartial;            // the start of a line a block boundary cut
  int64_t mPartialLength = 0;      // its whole length so far; 0: none
  int64_t mPartialStart = 0;
  char mPartialLast = '\0';
  std::string mName;
  int64_t mRecordStart = 0;        // 1-based position of the record's '@'
  int64_t mRecordLine = 0;
  int64_t mBases = 0;
  int64_t mQualities = 0;
  bool mCountDuplicates;
  std::vector<uint64_t> mNameHashes;
};

}  // namespace ostrel

#endif
