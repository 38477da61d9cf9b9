// Where the records of a FASTA or quality file lie, by read name.
//
// This is the index the toolkit's commands share: "_idx" files beside the
// data (written by ostrel-fastaindex, described in seq/IndexLine.h), one
// line per record. It is taken from the file beside the data when that is not older
// than the data, and otherwise made in memory by scanning the data, so that
// a record can be read by its position without holding the data file.
//
// An index of millions of reads must stay small beside one contig's model:
// a record takes 16 bytes, its name's hash and its range, and no name is
// kept. A lookup gives every record whose name has the name's hash; the
// caller tells a record of another name by its header line.
#ifndef OSTREL_SEQ_RECORDINDEX_H
#define OSTREL_SEQ_RECORDINDEX_H

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace ostrel {

class RecordIndex {
public:
  struct Range {
    int64_t mStart = 0;  // 1-based position of the record's '>'
    int64_t mEnd = 0;    // 1-based position of its last byte
  };

  // Indexes the plain file `dataName`. False, with mError saying why, when
  // neither a current index file nor the data can be read, or the data's
  // text is not '>' records.
  bool Load(const std::string& dataName);
  // Sets `ranges` to the records that may be `name`'s, in file order: every
  // record of that name and, rarely, one of another name of the same hash.
  void Find(const std::string& name, std::vector<Range>& ranges) const;
  // Sets first[i] to the first of the records Find gives for names[i], or
  // to a range with mStart 0 when there is none. The lookups of a batch of
  // names wait for memory together: an index of millions of reads lies
  // far outside the caches.
  void FindFirst(const std::vector<std::string>& names, std::vector<Range>& first) const;
  size_t Size() const;  // records indexed

  // Reads the bytes of `range` from the open file `fd`, of `dataSize`
  // bytes, into `record`; false when the range lies outside the data or the
  // read comes short.
  static bool ReadRecord(int fd, int64_t dataSize, const Range& range, std::string& record);
  // The same, the bytes appended to `text`; false, with `text` as it was,
  // where ReadRecord fails.
  static bool AppendRecord(int fd, int64_t dataSize, const Range& range, std::string& text);

  bool mFromIndexFile = false;  // taken from dataName + "_idx"
  std::string mError;
  // Data of at least this many bytes is scanned in two parts at once.
  int64_t mSplitScanFrom = int64_t{64} << 20;

private:
  struct Entry {
    int64_t mStart;
    uint32_t mHash;
    uint32_t mLength;  // mEnd - mStart + 1
  };
  // mEnd computed so that it cannot overflow at the 64-bit end.
  static Range RangeOf(const Entry& entry) { return {entry.mStart, entry.mStart + (int64_t{entry.mLength} - 1)}; }
  // The records of a stretch of the data, sorted by hash and then
  // position. They stay in the blocks they were collected in: a copy into
  // one array would double the memory of an index of millions of reads.
  struct Part {
    std::deque<Entry> mEntries;
    // Entries of hashes with top mBucketBits bits b start at
    // mBucketStart[b]: a lookup searches one bucket. There are about as
    // many buckets as entries, up to 2^kBucketBits.
    std::vector<uint32_t> mBucketStart;
    int mBucketBits = 0;
    size_t Bucket(uint32_t hash) const { return mBucketBits == 0 ? 0 : hash >> (32 - mBucketBits); }
    // The index of the first entry of `hash`, or mEntries.size() when
    // there is none.
    size_t FirstOf(uint32_t hash) const;
  };
  static constexpr int kBucketBits = 16;
  static uint32_t NameHash(const char* name, size_t n);

  bool ReadIndexFile(const std::string& indexName);
  bool ScanData(const std::string& dataName);
  // Scans the data's bytes [from, to) into `into`: "" or what is wrong.
  static std::string ScanPart(const std::string& dataName, int64_t from, int64_t to, std::deque<Entry>& into);
  // Takes the whole index lines at the front of `text` into `into` and
  // erases them: "" or what is wrong.
  static std::string AddLines(std::string& text, std::deque<Entry>& into);
  static void Sort(Part& part);

  std::vector<Part> mParts;  // in file order
};

}  // namespace ostrel

#endif
