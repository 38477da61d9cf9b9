// An assembly in memory: its contigs in file order, the read-to-contig
// index, a copy of every contig's consensus qualities, and the assembly
// statistics with the thresholds that govern them.
#ifndef OSTREL_ACE_ACEFILE_H
#define OSTREL_ACE_ACEFILE_H

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "ace/AssemblyTally.h"
#include "ace/Contig.h"
#include "ace/ContigWork.h"
#include "contig/TemplateInfo.h"
#include "seq/SequenceQuality.h"
#include "seq/SequenceQualityVector.h"
#include "util/Hash.h"

namespace ostrel {

class igzstream;

// Indexed by contig number (0-based, file order). An AceFile is made empty,
// given its three thresholds, then filled by the reader or built from
// contigs in memory followed by CleanInitFromContigs.
// One piece of a split, ranked by its read count: the contig index and the
// number of reads it holds. Sorting puts the largest first.
struct ReadSize {
  int mContigIdx = -1;
  int mSize = 0;
  bool operator<(const ReadSize& other) const { return mSize > other.mSize; }
};

class AceFile : public std::vector<Contig> {
public:
  std::vector<SequenceQuality> mContigQuality;  // per contig, a copy of its consensus qualities
  // The tags the last read met, in file order, less those a whole read
  // handed to their contigs (ace/AceTag.h says where tags live).
  std::vector<AceTag> mTags;
  int mTagsLeftOut = 0;  // tags dropped with their contigs (RemoveContig, a piece not kept)
  String2IntMultiMap mReadContigMap;            // read name -> index of each contig holding it
  bool mValid = true;    // false when the last read found the file inconsistent, damaged or truncated
  bool mRecordsFound = false;  // the last read met an "AS" header or a "CO" record
  int mNumReads = 0;     // announced by the "AS" line; reduced by RemoveContig
  int mNumContigs = 0;   // announced by the "AS" line; reduced by RemoveContig
  int mNumReadsInLargeContigs = 0;
  int mNumTIReads = 0;   // reads of large contigs whose name holds "gnl|ti|"
  int mNumLargeContigs = 0;
  int mNumLargeTrimmedContigs = 0;
  int mLargeContigsLength = 0;
  int mLargeTrimmedContigsLength = 0;
  int mN50 = 0;
  int mN50Trimmed = 0;
  float mAverageCoverage = 0;
  float mAverageCoverageTrimmed = 0;
  int mTotalLength = 0;
  int mTotalTrimmedLength = 0;
  int mMaxContigLength = 0;
  int mMaxTrimmedContigLength = 0;
  int mReadTrimQuality = 20;    // quality a read character needs to be inside the read trims
  int mContigTrimQuality = 20;  // quality a consensus column needs to be inside the contig trims
  int mMinContigSize = 0;       // padded length below which a contig is left out of the statistics

  // Indexes and whole-assembly edits (ace/AceFile.cpp).
  void MarkHeldTagSubjects();  // each tag's mSubjectHeld, from what is held now
  // Moves each tag of mTags on a contig held, or on a read of one, to that
  // contig's mTags (a read's to the first contig holding it); assembly tags
  // and tags on names not held stay. Read(fileName) does this.
  void HandTagsToContigs();
  // Every tag held, the contigs' and the assembly's, in file order, each
  // contig tag naming its contig as it is named now; left out, and counted
  // in `leftOut` when given, are the tags of a contig without reads (which
  // is not written), a contig's tags on reads it no longer holds
  // and mTags entries whose subject was held and is no longer.
  std::vector<AceTag> TagsInFileOrder(int* leftOut = nullptr) const;
  // Moves every contig's tags back to mTags, all in file order, as the
  // contig-by-contig reading leaves them.
  void GatherTags();
  // Rebuilds mReadContigMap and adds every read to its contig's mReadIdxMap
  // (entries already there are not cleared; a repeated name keeps its last
  // index within a contig and gets one mReadContigMap entry per read).
  void BuildReadHash();
  void CleanInitFromContigs();  // BuildReadHash, then ComputeAllContigStats
  // Removes contig `index` and its mContigQuality entry, lowering mNumReads
  // and mNumContigs; mReadContigMap keeps the old indexes until
  // BuildReadHash. An index missing from either list changes nothing. Its
  // tags go with it, counted in mTagsLeftOut.
  void RemoveContig(int index);
  void PrefixContigs(const std::string& prefix);  // every name becomes prefix + name
  // The subjects of the contig and read tags that name a contig or read the
  // assembly holds.
  void HeldTagSubjects(StringSet& held) const;

  // Contig splitting (contig/MultiSplit.cpp).
  // Cuts contig `contigIdx` at every region starts[p] .. ends[p] (0-based
  // padded indexes of that contig as it is now), in list order: each cut is
  // Contig::SplitContig, its middle and right pieces (names + "M", + "R")
  // are appended with an mContigQuality entry of their own when their
  // consensus is not empty and they hold template coverage or reach
  // `minSize` columns, and later points are moved into the piece that holds
  // them (AdjustSplitPoints). A cut contig (named + "L") that fails the same
  // test is removed at the end with RemoveContig, the first contig whose
  // name contains its name. The names of the reads that leave the assembly
  // with a piece not kept or a contig removed are appended to `removed`
  // when given. Points beyond the shorter list, and
  // those that fall outside every piece, are skipped; a contig index the
  // assembly does not have skips them all. Progress on standard output.
  void MultiSplitContig(int minSize, int contigIdx, std::vector<int>& starts, std::vector<int>& ends,
                        std::vector<std::string>* removed = nullptr);
  // After cut p: ranks contig k and the pieces piece1, piece2 (-1 when not
  // kept) by read count, largest first (ties in that order), and gives every
  // later point q the first of them whose consensus holds starts[q] less its
  // mOriginalMinStart (its offset in the coordinates the point was in);
  // starts[q] and ends[q] are moved into that contig's coordinates and
  // contigOf[q] names it, or is -1 when none holds the point.
  void AdjustSplitPoints(int p, int k, int piece1, int piece2, std::vector<int>& starts, std::vector<int>& ends,
                         std::vector<int>& contigOf);

  // Read qualities (ace/QualityAttach.cpp).
  // Attaches one record of values in the read's uncomplemented, unpadded
  // orientation to every placement of its read that has no values yet: a 0
  // at each pad, the values turned round for a 'C' placement. Every
  // placement is filled from the record's values as given; the record ends
  // turned round when a complemented placement took it.
  void AddReadQuality(SequenceQuality& q);
  // The same for read r of one contig: true when the read is complemented
  // and took the values. Notes on characters left without a value go to
  // `messages`.
  static bool AttachReadQuality(Contig& contig, int r, const SequenceQuality& q, std::ostream& messages);
  // Sizes every contig's mReadQuality to its reads, then attaches each
  // record in order.
  void AddReadsQuality(SequenceQualityVector& qualities);
  void CopyBQToQuality();  // mContigQuality entry c = the values of contig c's mQuality
  // Completes missing or misfitting qualities: 20 for each consensus column
  // of mContigQuality, 0 for each read character.
  void AddFakeQualityValues();

  // Templates across contigs (contig/TemplatesBetween.cpp). Both recompute
  // the mTemplates of the contigs they look at.
  // Appends to `out` (not cleared) every other contig sharing a template
  // with contig `contigIdx`.
  void GetContigsSharingTemplates(int contigIdx, std::vector<int>& out);
  // Appends to `out` (not cleared) the records of `a` whose name holds a
  // template name found in both contigs.
  void FindTemplatesBetween(Contig& a, Contig& b, std::vector<TemplateInfo>& out);
  void FindTemplatesBetween(int a, int b, std::vector<TemplateInfo>& out);  // ignores bad indexes

  // Reading ACE files (ace/AceRead.cpp). Records are recognised by their
  // keyword at the start of a line: the header, then per contig "CO", "BQ",
  // "AF", "BS" (optional) and "RD" with its "QA" and "DS" lines, and the
  // tags wherever they stand (ace/AceTag.h); every other line is skipped.
  // Reads the stream into the assembly, without post-processing. More
  // contigs than the header announces are read too, after a "ContigNum="
  // line; the assembly is then invalid, as it is when the stream ends bad.
  void Read(std::istream& in);
  // Opens a plain or gzip-compressed file, reads it, then builds the read
  // indexes, completes the qualities and computes trims and statistics. A
  // file damaged or cut short keeps what was read before, with a line on
  // standard error, and leaves the assembly invalid.
  void Read(const std::string& fileName);
  // The same with read qualities supplied by the caller.
  void Read(const std::string& fileName, SequenceQualityVector& qualities);
  // Reading one contig at a time (what Read does, and AceContigReader).
  // Starts a file: takes the "AS" header's counts, clears the tags and
  // makes the assembly valid; `line` is left for ReadContig.
  void ReadHeader(std::istream& in, std::string& line);
  // Reads the file's next contig, its contigIndex-th (0-based), into contig
  // `slot`, made afresh (the list grows to hold it), keeping the tags it
  // passes. False, reading nothing more, when no contig is left. The
  // storage of what the slot held is kept for the new contig's records.
  bool ReadContig(std::istream& in, std::string& line, int contigIndex, int slot);
  // "INCONSISTENT CONTIG READS" on `out` and false when the contig holds
  // other than the reads it announced.
  static bool CheckContigReads(const Contig& contig, std::ostream& out);
  // "INCONSISTENT ACE FILE" on `out` and false when `seen` contigs with a
  // consensus differ from those announced.
  bool CheckContigCount(int seen, std::ostream& out) const;
  // The record parsers: `line` starts the record on entry; each returns the
  // line at which it stopped. `contigIndex` is the contig being read.
  std::string ParseCO(std::istream& in, std::string& line, int& contigIndex);
  std::string ParseBQ(std::istream& in, std::string& line, int& contigIndex);
  std::string ParseAF(std::istream& in, std::string& line, int& contigIndex);
  std::string ParseBS(std::istream& in, std::string& line, int& contigIndex);
  std::string ParseRD(std::istream& in, std::string& line, int& contigIndex);
  // Adds the tag `line` opens to mTags, standing after read `afterRead` of
  // the contig being read (AceTag::mInContig and the like), and returns its
  // closing line. A tag still open at a "CO" record or the input's end was
  // cut short: it is dropped, and the "CO" line (or "") is returned.
  std::string ParseTag(std::istream& in, std::string& line, int afterRead = -1);

  // Read quality files (ace/QualityRead.cpp). A record is a '>' header line
  // (read name, then an optional description) and lines of integers, one
  // per unpadded base in the read's uncomplemented orientation.
  // Reads the next record; its header line waits in readbuf between calls
  // (a new stream starts with readbuf[0] = '^'). True when it has values.
  bool GetNextQuality(std::istream& in, SequenceQuality& q);
  // Attaches every record of the stream to its read; a stream that ends bad
  // makes the assembly invalid.
  void GetReadsQuality(std::istream& in);
  bool gzExists(const std::string& name);  // name + ".gz" can be read
  // Reads base + ".ace" and base + ".qual" (each, or its ".gz" form), then
  // completes qualities and computes the trims; no statistics.
  void ReadAll(const std::string& base);
  // The same from two names, announcing each file on standard error.
  void ReadAll(const std::string& aceName, const std::string& qualName);
  // Replaces `name` by the greatest (in byte order) file name that starts
  // with it, directory part honoured; true when that name holds ".ace".
  // With no match the name is unchanged and the result false.
  bool FindNewestAce(std::string& name);

  // Writing ACE files (ace/AceWrite.cpp).
  // Writes the "AS" header with the numbers of contigs and reads written,
  // every contig that holds reads (Contig::WriteAce; one without is left
  // out, as other readers refuse it, with a line on standard error), and
  // every tag (TagsInFileOrder), less those on a contig or read it no
  // longer holds, each where it stood when that place is written
  // (TagPlacer), else after the last contig; how many tags were left
  // out, here or by the edits, is said on standard error. True when every
  // write went through.
  bool WriteAce(std::ostream& out);
  // The same to a file, gzip-compressed when its name ends in ".gz",
  // written under a temporary name and renamed into place once whole. A file
  // that cannot be written is reported on standard error, and nothing is
  // left under its name.
  bool WriteAce(const std::string& fileName);

  // Trims (ace/AceTrims.cpp). Trim values are 0-based padded indexes,
  // inclusive, -1 when no position qualifies.
  // Five letters, a digit, a letter and four digits at the start of a name
  // longer than 9 characters.
  bool IsBACName(const std::string& name) const;
  void CalculateContigTrims(int threshold);
  void CalculateReadTrims(int threshold);
  void CalculateBACContigTrims(int threshold);

  // Assembly statistics (ace/AceStats.cpp): the statistics members above,
  // from the contig trims.
  void ComputeAllContigStats();
  // Appends the padded (trimmed) lengths of the large (large when trimmed)
  // contigs to `sizes`, then sorts all of `sizes` in descending order.
  void GetSortedSizes(std::vector<int>& sizes) const;
  void GetSortedSizesTrimmed(std::vector<int>& sizes) const;
  // The first size, largest first, at which the running sum reaches half of
  // mTotalLength (mTotalTrimmedLength); 0 when it never does.
  int N50() const;
  int N50Trimmed() const;
  void CalcAverageCoverage();         // sets mAverageCoverage
  void CalcAverageCoverageTrimmed();  // sets mAverageCoverageTrimmed
  // The statistics of the contigs held, gathered in order.
  AssemblyTally Tally() const;

  // The contig list is sized to the header's count up front only up to this
  // many (a contig the file lacks stays in it, empty, and is written so); a
  // larger count is not trusted, and contigs are added as the file's "CO"
  // records come, so that a damaged header makes neither memory nor a
  // written file grow.
  static constexpr int kPresizedContigs = 1 << 10;

private:
  friend class AceContigReader;  // reads contig by contig, with the same steps per contig

  // Opens a plain or gzip-compressed ACE file, saying so on standard error
  // when it cannot.
  static bool OpenAceFile(igzstream& in, const std::string& fileName);
  // What Read(fileName) does for each contig c once it is read, after its
  // reads are indexed (mContigQuality holding entry c): its template maps
  // (from the reads' descriptions), the copy of its consensus qualities,
  // fake values where they are missing, the contig and read trims.
  void PrepareReadContig(size_t c, std::ostream& fakeMessages, std::ostream& trimMessages);

  // Opens a plain or gzip-compressed ACE file and reads it; false, after
  // "Unable to open <name> as an ace file." on standard error, when it
  // cannot be opened.
  bool ReadFile(const std::string& fileName);
  // Read(istream&), handing each contig k the reader has moved past and
  // will not touch again to `finished` (when given): before the list grows
  // past its room and moves, the contigs handed over are finished.
  void ReadContigs(std::istream& in, ContigQueue* finished);
  // Moves to the next "CO" record as FindRecord does, keeping the tags it
  // passes.
  bool FindContig(std::istream& in, std::string& line);
  // Moves to the next `keyword` record of the contig being read, keeping
  // the tags it passes; false at the next "CO" record or `stopKeyword`
  // record (when given), left in `line`, or the end of the stream.
  bool FindContigRecord(std::istream& in, const char* keyword, std::string& line,
                        const char* stopKeyword = nullptr);
  // After reading a file through `in`: a stream that ended at damaged data
  // makes the assembly invalid, with a line on standard error naming it.
  void CheckReadWhole(const std::istream& in, const std::string& fileName);

  // The steps of the whole-assembly operations for one contig c. The read
  // hash takes the contigs in order, after it was cleared; the copy and the
  // fake values need mContigQuality to hold entry c. Messages go to
  // `messages`.
  void AddContigToReadHash(size_t c);
  static void IndexContigReads(Contig& contig);  // its reads into its mReadIdxMap
  void CopyContigBQToQuality(size_t c);
  void AddFakeContigQualityValues(size_t c, std::ostream& messages);
  void CalculateContigReadTrims(size_t c, int threshold, std::ostream& messages);

  // Empties contig `slot` for the next contig's records, as a new contig,
  // keeping the storage of its consensus, qualities, placements and reads
  // (these as mSpareReads): a reader that parses contig after contig into
  // one slot then allocates little.
  void ClearForRecords(Contig& contig);
  // An empty read, made from a spare one when there is one.
  Sequence TakeSpareRead();
  SequenceVector mSpareReads;
  // The contig being read, for the tags met: its number in the file and
  // its slot (-1 before the first).
  int mReadingNumber = -1;
  int mReadingSlot = -1;
  int64_t mTagsRead = 0;  // the tags met since the header, for their mOrder
};

}  // namespace ostrel

#endif
