// Where the records of a FASTA or quality file lie, by read name.
//
// This is the index the toolkit's commands share: "_idx" files beside the
// data (written by ostrel-fastaindex), one line "name start end" per record,
// start and end the 1-based positions of the record's '>' and of its last
// byte. It is taken from the file beside the data when that is not older
// than the data, and otherwise made in memory by scanning the data, so that
// a record can be read by its position without holding the data file.
#ifndef OSTREL_SEQ_RECORDINDEX_H
#define OSTREL_SEQ_RECORDINDEX_H

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "util/Hash.h"

namespace ostrel {

class RecordIndex {
public:
  struct Range {
    int64_t mStart = 0;  // 1-based position of the record's '>'
    int64_t mEnd = 0;    // 1-based position of its last byte
  };

  // Indexes the plain file `dataName`. False, with mError saying why, when
  // neither a current index file nor the data can be read, or the data's
  // text is not '>' records. A name on several records keeps its first.
  bool Load(const std::string& dataName);
  // The record of a read; nullptr when the read has none.
  const Range* Find(const std::string& name) const;
  size_t Size() const { return mRanges.size(); }

  // Reads the bytes of `range` from `in` (the data, opened in binary mode)
  // into `record`; false when the range lies outside the data.
  static bool ReadRecord(std::istream& in, const Range& range, std::string& record);

  bool mFromIndexFile = false;  // taken from dataName + "_idx"
  std::string mError;

private:
  bool ScanData(const std::string& dataName);
  void AddLines(const std::string& text);  // index lines, names first met kept

  std::vector<Range> mRanges;
  String2IntMap mNameIndex;  // name -> entry in mRanges
};

}  // namespace ostrel

#endif
