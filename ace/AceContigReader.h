// An ACE file read one contig at a time, for assemblies larger than memory.
//
// Each contig is read by the same record parsers as AceFile::Read and given
// the same steps (its read index, template maps, consensus qualities, fake
// read qualities, contig and read trims), then held as the only contig of
// the AceFile given, with its consensus qualities in mContigQuality[0],
// until the next one is read. Memory holds that contig and the next one,
// the tags met, the messages a damaged file calls for, and a few numbers
// per contig for the statistics; nothing else of earlier contigs is kept.
// Read qualities, when given, are fetched for each contig from a quality
// file that is indexed, not held: the next contig's records (up to
// QualityRecordFile::mMaxBatchText bytes of them) are read while the
// contig before it is prepared.
#ifndef OSTREL_ACE_ACECONTIGREADER_H
#define OSTREL_ACE_ACECONTIGREADER_H

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ace/AceFile.h"
#include "ace/AssemblyTally.h"
#include "ace/ContigWork.h"
#include "seq/QualityRecordFile.h"
#include "util/GzStream.h"

namespace ostrel {

class AceContigReader {
public:
  // `ace` gives the trim qualities and the large-contig size, and takes the
  // header's counts, the validity, the tags met as they come (in file
  // order, their subjects not marked; those among the records of the contig
  // held are all there) and, at the end, the statistics.
  explicit AceContigReader(AceFile& ace) : mAce(ace), mTally(ace.mMinContigSize) {}
  ~AceContigReader();  // stops the worker thread first: it touches the members

  // Opens a plain or gzip-compressed file and reads its header; false, after
  // "Unable to open <name> as an ace file." on standard error, when it
  // cannot be opened. A reader reads one file. With `qualities` (opened,
  // and kept open while the reader reads), the reads take their values from
  // it, and the run says what AceFile::ReadAll(fileName, qualities'
  // file) says.
  bool Open(const std::string& fileName, QualityRecordFile* qualities = nullptr);
  // Reads the next contig into mAce[0]. False when none is left: the read
  // is then ended as AceFile::Read(fileName) (or ReadAll) ends it, with the
  // same lines in the same order (the consistency lines, a damaged file,
  // the quality notes, the fake-quality and trim notes), the statistics
  // stored in the AceFile, and no contig held.
  bool Next();

  int mContigIndex = -1;  // the file's number (0-based) of the contig held
  const AssemblyTally& Tally() const { return mTally; }  // the contigs read so far

private:
  // The placed reads of a contig, by name, and their records: the reading
  // thread reads those of the next contig while the one before it is
  // prepared.
  struct ContigRecords {
    std::vector<std::string> mNames;
    std::vector<int> mReadOfName;
    QualityRecordFile::RecordBatch mBatch;
  };

  // The steps a contig takes once it is read, on mAce[0].
  void Prepare();
  // Indexes the reads of the contig just parsed and reads their records.
  void ReadAhead(Contig& contig, ContigRecords& records);
  void AddReadQualities(Contig& contig);
  void End();
  void TakeTagsMet();  // moves the tags the parsers met to mAce.mTags
  void EndQualities();

  AceFile& mAce;
  // The parsers fill mAhead[0] with the next contig while the contig just
  // read is prepared on a second thread.
  AceFile mAhead;
  bool mAheadHolds = false;
  Contig mRetired;  // what the preparing thread made of the contig let go
  std::unique_ptr<ContigQueue> mPreparing;
  AssemblyTally mTally;
  igzstream mIn;
  std::string mFileName;
  std::string mLine;  // where the parsers stopped
  bool mEnded = false;
  bool mContigsConsistent = true;
  // Said at the end, as the whole read says them.
  std::ostringstream mConsistencyLines, mFakeMessages, mTrimMessages;

  QualityRecordFile* mQualities = nullptr;
  ContigRecords mRecords, mAheadRecords;  // of mAce[0] and mAhead[0]
  std::ostringstream mRecordNote;
  // The notes on each record's values, said in the records' file order as
  // the whole read says them: the record's position and the note.
  std::vector<std::pair<int64_t, std::string>> mRecordNotes;
  std::ostringstream mStaleNotes;  // records the index placed wrongly
};

}  // namespace ostrel

#endif
