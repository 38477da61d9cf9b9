// A quality file's records fetched by read name, without holding the file:
// for readers that need the qualities of a few reads at a time.
#ifndef OSTREL_SEQ_QUALITYRECORDFILE_H
#define OSTREL_SEQ_QUALITYRECORDFILE_H

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "seq/RecordIndex.h"
#include "seq/SequenceQuality.h"

namespace ostrel {

// Sets q's name and description from a record's header line, as quality
// files are read everywhere: the name is the first word after the '>', the
// description the rest after its delimiter, and a carriage return ending
// the line belongs to neither.
void SetQualityHeader(std::string header, SequenceQuality& q);

class QualityRecordFile {
public:
  QualityRecordFile() = default;
  QualityRecordFile(const QualityRecordFile&) = delete;
  QualityRecordFile& operator=(const QualityRecordFile&) = delete;
  ~QualityRecordFile();

  // Indexes a plain quality file (see RecordIndex) and opens it. False, with
  // mError saying why, when it cannot be read or its text is not '>'
  // records; gzip-compressed data is not.
  bool Open(const std::string& fileName);

  // Reads into `q` the first record of `name` that holds values: its name
  // and description (SetQualityHeader) and the values of its other lines,
  // each line ending at a carriage return. False when there is none. A
  // range that holds no record (the data changed after it was indexed) is
  // said on `messages`, skipped, and sets mStale.
  bool Fetch(const std::string& name, SequenceQuality& q, std::ostream& messages);

  std::string mFileName;
  std::string mError;
  int64_t mFetchedStart = 0;  // 1-based position of the record last looked at
  bool mStale = false;

private:
  RecordIndex mIndex;
  int mFd = -1;
  std::vector<RecordIndex::Range> mCandidates;
  std::string mRecord;
};

}  // namespace ostrel

#endif
