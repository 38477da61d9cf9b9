// Telling whether bytes read by an index's range are the named read's
// record: the test that finds an index gone stale, for FASTA, quality and
// FASTQ records alike.
#ifndef OSTREL_SEQ_RECORDCHECK_H
#define OSTREL_SEQ_RECORDCHECK_H

#include <cstdint>
#include <string>

namespace ostrel {

// True when `record` (its first `available` bytes of `length`) begins with
// the header of read `name`: '>' or '@', any blanks and tabs, the name, then
// a blank, a tab or a line end. When fewer bytes are at hand than the header
// needs, the part at hand is checked.
bool RecordStartsWithRead(const char* record, int64_t available, int64_t length, const std::string& name);

// True for a byte that may follow a whole record: the next record's '>' or
// '@', or a line end.
inline bool EndsRecord(char next) { return next == '>' || next == '@' || next == '\n' || next == '\r'; }

// True when `record` (`length` bytes) is the whole record of read `name`:
// it begins with the read's header and `next`, the byte after it ('\n' when
// it ends the file), ends a record.
inline bool RangeHoldsRead(const char* record, int64_t length, char next, const std::string& name) {
  return RecordStartsWithRead(record, length, length, name) && EndsRecord(next);
}

// What the bytes of an index range of a quality file hold, `next` being the
// byte after them ('\n' when they end the file). A quality record's header
// starts with '>'.
enum class RangeHolds {
  kTheRead,     // the whole record of the named read: `next` ends a record
  kAnotherRead, // a record of another name, as a lookup by a name's hash may give
  kNoRecord,    // no record header, or the named read's record cut short: a stale index
};
RangeHolds WhatQualityRangeHolds(const char* record, int64_t length, char next, const std::string& name);

}  // namespace ostrel

#endif
