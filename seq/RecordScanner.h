// Scanning the records of a FASTA, quality or FASTQ file into "_idx" lines
// (seq/IndexLine.h). A file whose first non-blank line starts with '@' is
// FASTQ and is scanned as FastqScanner says; the rest of this note is about
// '>' records.
//
// Each record gives one index line "name\tstart\tend\n", in file order:
//   name   the first word after the '>' of the header line, delimited by
//          blank, tab or the line end (leading blanks and tabs skipped); a
//          carriage return right before a line end is never part of it;
//   start  the 1-based byte position of the '>';
//   end    the 1-based byte position of the record's last byte: the newline
//          that ends its last non-blank line, or the file's last byte when
//          that line has no newline.
// A blank line holds only blanks, tabs and carriage returns; blank lines
// after a record's last line belong to no record. Before the first header
// only blank lines may stand.
#ifndef OSTREL_SEQ_RECORDSCANNER_H
#define OSTREL_SEQ_RECORDSCANNER_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "seq/FastqScanner.h"

namespace ostrel {

// Takes a file's bytes in blocks split anywhere, so memory stays bounded
// whatever the file size: the pending index lines, which the caller takes
// after each block, the current name, and 8 bytes per record for the
// duplicate count.
class RecordScanner {
public:
  // Longest name accepted; a longer one makes the text bad.
  static constexpr size_t kMaxNameLength = 65536;

  // Scans the bytes of a file from `offset` (0-based): its start, or the
  // '>' of a header that opens a line. Without `countDuplicates` no name
  // is kept for mDuplicateCount, which stays 0.
  explicit RecordScanner(int64_t offset = 0, bool countDuplicates = true)
      : mOffset(offset), mCountDuplicates(countDuplicates) {}

  // Scans the next block. False once the text is found bad (mError says
  // why); later calls then do nothing.
  bool Feed(const char* data, size_t size);
  // Ends the text: adds the last record's line and counts duplicate names.
  // False when the text is bad.
  bool Finish();

  std::string mIndexText;       // index lines not yet taken by the caller
  int64_t mRecordCount = 0;     // records indexed so far
  int64_t mDuplicateCount = 0;  // records whose name an earlier record has (after Finish)
  std::string mError;           // what is wrong with the text; empty while it is good
  int64_t mErrorPosition = 0;   // 1-based byte position that mError refers to
  int64_t mErrorLine = 0;       // and its 1-based line, where known (FASTQ)

  bool IsFastq() const { return mFastq != nullptr; }

private:
  enum class State {
    kLineStart,   // before the first header, at the first byte of a line
    kBlankSoFar,  // before the first header, in a line of blanks so far
    kName,        // in a header line, before or in its name
    kBody,        // in a record after its name: the rest of the header
                  // line, then sequence or quality lines
  };

  size_t ScanLineStart(const char* data, size_t i);
  size_t ScanBlank(const char* data, size_t size, size_t i);
  size_t ScanName(const char* data, size_t size, size_t i);
  size_t ScanBody(const char* data, size_t size, size_t i);
  void TrackRecordEnd(const char* data, size_t from, size_t to);
  void BeginRecord(int64_t position);
  bool AppendToName(const char* bytes, size_t n);
  bool EndName();
  void EndRecord();
  void Fail(const char* what, int64_t position);
  // Takes the FASTQ scanner's lines, counts and error; returns `good`.
  bool TakeFastq(bool good);

  State mState = State::kLineStart;
  int64_t mOffset;                      // 0-based file offset of the current block
  int64_t mLineStart = 0;               // 0-based offset of the current line
  char mLastByte = '\n';                // the previous block's last byte
  bool mInRecord = false;               // a header has been seen
  int64_t mRecordStart = 0;             // 1-based position of the record's '>'
  int64_t mRecordEnd = 0;               // 1-based end of its last non-blank line so far
  bool mLineOpen = false;               // the record's last non-blank line has no newline yet
  bool mCarriageReturnPending = false;  // the name ended a block with a CR
  std::string mName;
  bool mCountDuplicates;
  std::vector<uint64_t> mNameHashes;    // one per record, for the duplicate count
  std::unique_ptr<FastqScanner> mFastq;  // set when the file is FASTQ
};

}  // namespace ostrel

#endif
