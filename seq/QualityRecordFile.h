// A quality file's records fetched by read name, without holding the file:
// for readers that need the qualities of a few reads at a time.
#ifndef OSTREL_SEQ_QUALITYRECORDFILE_H
#define OSTREL_SEQ_QUALITYRECORDFILE_H

#include <cstdint>
#include <functional>
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
  // A read's record as fetched.
  struct Fetched {
    SequenceQuality mQuality;
    bool mFound = false;
    int64_t mStart = 0;  // 1-based position of the record taken
  };

  QualityRecordFile() = default;
  QualityRecordFile(const QualityRecordFile&) = delete;
  QualityRecordFile& operator=(const QualityRecordFile&) = delete;
  ~QualityRecordFile();

  // Indexes a plain quality file (see RecordIndex) and opens it. False, with
  // mError saying why, when it cannot be read or its text is not '>'
  // records; gzip-compressed data is not.
  bool Open(const std::string& fileName);

  // Reads the first record of `name` that holds values: its name and
  // description (SetQualityHeader) and the values of its other lines, each
  // line ending at a carriage return. mFound is false when there is none. A
  // range that holds no record (the data changed after it was indexed) is
  // said on `messages`, skipped, and sets mStale.
  void Fetch(const std::string& name, Fetched& fetched, std::ostream& messages);
  // The same for many reads, fetched[i] for names[i]: records that lie
  // close together in the file are read at once.
  void Fetch(const std::vector<std::string>& names, std::vector<Fetched>& fetched, std::ostream& messages);

  // The records of many reads, read from the file in a few pieces by
  // ReadRecords and parsed by ParseRecords: Fetch of many names in two
  // steps, so that one thread can read the next batch while another parses
  // this one.
  class RecordBatch {
    friend class QualityRecordFile;
    struct Wanted {
      RecordIndex::Range mRange;  // the first record the index gives for the name
      size_t mName;               // index in the names
    };
    struct Piece {
      size_t mFrom, mTo;  // its records, mWanted[mFrom, mTo)
      size_t mOffset;     // where its bytes start in mText, or one of:
    };
    static constexpr size_t kUnread = SIZE_MAX;     // the file gave no bytes for it
    static constexpr size_t kLater = SIZE_MAX - 1;  // left to ParseRecords
    std::vector<Wanted> mWanted;  // in file order
    std::vector<Piece> mPieces;
    std::string mText;
    std::vector<RecordIndex::Range> mFirst;  // of each name
  };
  // Reads the records of `names` into `batch`. It changes nothing of this
  // object, so it may run beside ParseRecords or Fetch on another thread.
  void ReadRecords(const std::vector<std::string>& names, RecordBatch& batch) const;
  // Parses a batch that ReadRecords read for `names`, as Fetch does, and
  // hands each record found to take(i, record) for names[i] as it comes, in
  // file order; `take` may move the values out.
  void ParseRecords(const std::vector<std::string>& names, const RecordBatch& batch, std::ostream& messages,
                    const std::function<void(size_t, Fetched&)>& take);

  std::string mFileName;
  std::string mError;
  bool mStale = false;
  // A batch holds at most this many bytes read ahead (or its first piece);
  // the rest is read as it is parsed, so a huge contig's records are not
  // held whole.
  size_t mMaxBatchText = size_t{8} << 20;

private:
  // Parses the record text [begin, end) when its header names `name`: true,
  // with the values in q.
  static bool ParseRecord(const char* begin, const char* end, const std::string& name, SequenceQuality& q);

  RecordIndex mIndex;
  int mFd = -1;
  int64_t mDataSize = 0;
  std::vector<RecordIndex::Range> mCandidates;
  std::string mRecord;  // a record read alone
  std::string mPiece;   // records read together as they are parsed
  Fetched mParsed;
  RecordBatch mBatch;
};

}  // namespace ostrel

#endif
