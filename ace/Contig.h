// One contig of an assembly: the padded consensus with its qualities, base
// segments and trims, and the reads aligned to it with their placements,
// qualities, trims and template indexes.
//
// Coordinates. Pads ('*') take a column like bases. An alignment start
// (mAlignStart) and a base-segment bound are 1-based padded consensus
// positions; every other per-position value (trims, qualities, profiles) is
// a 0-based padded index into the consensus or the read. A read whose
// alignment start is s has its character k (0-based) at consensus index
// s - 1 + k, so consensus index p shows read offset p - s + 1. Starts may be
// 0 or negative (the read begins left of the consensus), and a read may run
// past the consensus end. -1 stands for "no such position" in trims.
#ifndef OSTREL_ACE_CONTIG_H
#define OSTREL_ACE_CONTIG_H

#include <cstdint>
#include <iostream>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ace/AceTag.h"
#include "ace/BaseSegment.h"
#include "ace/ReadRecordFields.h"
#include "contig/TemplateInfo.h"
#include "seq/Sequence.h"
#include "seq/SequenceQuality.h"
#include "seq/SequenceQualityVector.h"
#include "seq/SequenceVector.h"
#include "util/Hash.h"

namespace ostrel {

// Positions and spans are worked out in 64 bits, since a start near either
// int limit plus a length overflows int, and brought back with this clamp.
inline int ClampToInt(int64_t v) {
  return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int>(v);
}

// A contig's consensus as it stood before an edit, with how many reads
// covered each column: column p after the edit was column p + mShift then.
// A column that the edit leaves with the same reads keeps its character and
// quality (see Contig::mVoteByCount).
struct ColumnsBefore {
  std::vector<char> mBases;
  std::vector<int> mQuality;
  std::vector<int> mDepth;
  int64_t mShift = 0;
};

// The column width of a read or contig name in the alignment prints.
constexpr int kAlignmentNameWidth = 16;

// The inherited Sequence is the padded consensus (called mConsensus in the
// messages): its name is the contig name.
//
// Parallel vectors, for read index i: mReads, mAlignStart and mComplemented
// always have entry i; mReadQuality has it once qualities are loaded or
// faked, then with one value per padded read character; mReadTrimStart and
// mReadTrimEnd have it once the read trims are computed; mQALines and
// mReadRecords have it for the reads a file gave, and the read edits carry
// them with their reads.
class Contig : public Sequence {
public:
  int mPaddedBases = 0;  // consensus length announced on the "CO" line
  int mNumReads = 0;     // read count announced on the "CO" line
  int mNumBaseSeqs = 0;  // base-segment count announced or last computed
  char mStrand = 'U';    // the "CO" line's last field: 'C' for a complemented contig, else 'U'
  String2IntMultiMap mTemplateReads;  // template name -> index of each of its reads
  String2StringMap mReadTemplate;     // read name -> template name
  Int2IntMap mReadDirection;          // read index -> 1 reverse ("DIRECTION:" without "fwd"), 0 forward
  String2IntMap mReadIdxMap;          // read name -> index in mReads
  SequenceQuality mQuality;           // consensus qualities, one per padded column (0 at pads)
  SequenceVector mReads;              // padded reads as aligned (complemented when 'C')
  SequenceQualityVector mReadQuality; // per read, one value per padded read character
  std::vector<TemplateInfo> mTemplates;  // template summary as last computed
  std::vector<int> mAlignStart;          // per read, 1-based consensus position of its first character
  std::vector<char> mComplemented;       // per read, 'U' or 'C'
  std::vector<int> mReadTrimStart;       // per read, 0-based first good-quality index, or -1
  std::vector<int> mReadTrimEnd;         // per read, 0-based last good-quality index, or -1
  std::vector<BaseSegment> mBaseSegments;  // in file order
  std::vector<std::string> mQALines;       // the reads' "QA" lines, verbatim
  // The reads' "RD" counts and whether each had a "DS" line. The counts
  // are of the read's tags, which go wherever the read goes: they move
  // with it and stay true.
  std::vector<ReadRecordFields> mReadRecords;
  int mTrimStart = -1;     // 0-based first consensus index reaching the trim threshold, or -1
  int mTrimEnd = -1;       // 0-based last such index, or -1
  int mBACReadStart = -1;  // smallest good-quality start of the BAC-end reads
  int mBACReadEnd = -1;    // largest good-quality end of the BAC-end reads
  int mBACTrimStart = -1;  // BAC trim range, or -1
  int mBACTrimEnd = -1;
  int mOriginalMinStart = 0;  // smallest alignment start seen by the last start fix-up
  int mOriginalMaxStart = 0;  // largest alignment start seen by the last start fix-up
  int mWindowWidth = 100;     // columns per alignment print window
  // The tags on this contig and on its reads (ace/AceTag.h), and how many
  // the edits dropped because their columns or reads left the assembly.
  std::vector<AceTag> mTags;
  int mTagsLeftOut = 0;
  // For reads without qualities (all faked as 0, so that every weighted
  // vote would tie): the edits keep the character and quality of every
  // column whose covering reads they leave as they were, and vote the
  // others by a plain majority of the reads' characters (more than half
  // pads: '*'; letters tied: the column's former character when it is among
  // them, else 'N'), a column keeping its former quality when it keeps its
  // character and 0 otherwise. Off: the quality-weighted vote throughout.
  // Pieces split off take it from their contig.
  bool mVoteByCount = false;
  int64_t mColumnsRevoted = 0;  // columns with reads voted anew by count, by the edits of this contig

  // Copying and read names (ace/Contig.cpp).
  // Copies this contig into `target` stage by stage, announcing each stage
  // on standard output. `target` keeps its mOriginalMinStart,
  // mOriginalMaxStart and mWindowWidth; plain assignment copies everything.
  void CopyContig(Contig& target) const;
  int CountReadsMatching(const std::string& pattern) const;  // names holding `pattern`
  bool AllReadsMatch(const std::string& pattern) const;      // true without reads
  bool NoReadsMatch(const std::string& pattern) const;
  // True when `readIdx` has its entry in mReads, mAlignStart and mComplemented.
  bool IsPlacedRead(int readIdx) const;
  // The 0-based consensus indexes read `readIdx` covers, cut to the
  // consensus: `first` .. `last` inclusive. False, with both -1, when it
  // covers none or is not a placed read.
  bool ReadExtentInConsensus(int readIdx, int& first, int& last) const;
  // The same for the read's trimmed range (mReadTrimStart .. mReadTrimEnd);
  // false when the read trims are not computed for it.
  bool TrimmedExtentInConsensus(int readIdx, int& first, int& last) const;
  // The offset in placed read `readIdx` of the character under 0-based
  // consensus index `pos` (pos - start + 1); it may lie outside the read.
  int64_t ReadOffset(int readIdx, int pos) const;

  // Consensus and base segments (ace/Consensus.cpp, ace/BaseSegments.cpp).
  // The column at 0-based consensus index p is every placed read with a
  // character there, in read order, each with its quality value; a
  // character without a value (quality list missing or short) counts 0.
  //
  // The vote of column p: the letter among A C G T (either case) with the
  // largest quality sum, and that sum clamped to 0 .. 90; '*' with 0 for an
  // empty column or one of more than half pads; 'N' with 0 when letters tie.
  void ComputeConsensus(int p, char& base, int& quality) const;
  // Votes columns max(from, 0) .. min(to, length - 1) into the consensus and
  // mQuality (extended with 0s to the last of them when short), then empties
  // mBaseSegments; mNumBaseSeqs waits for ComputeSyntheticBS.
  void ComputeConsensus(int from, int to);
  // The vote traced on standard output, in which a letter must sum to 20 or
  // more to replace the `base` passed in; a single winner below 20 leaves
  // `base` as passed and `quality` the sum of the entries showing it.
  void ComputeConsensus2(int p, char& base, int& quality) const;
  // Rebuilds mBaseSegments and mNumBaseSeqs: greedy, in read order, each
  // segment the longest run from its first column where its read agrees
  // with the consensus ('*', N and X consensus columns agree with any
  // character). Columns no read covers are reported on standard error, with
  // examples on standard output. Segments are 1-based and may leave gaps.
  void ComputeSyntheticBS();
  // Shifts the alignment starts so the smallest is 0 and votes a whole new
  // consensus and mQuality over the columns the reads reach; sets
  // mPaddedBases, mNumReads and mNumBaseSeqs. A read starting at 0 thus
  // keeps its first character left of the consensus.
  void CreateConsensusForCopy();
  // Votes the whole consensus and its qualities anew, then the base
  // segments; returns how many columns kept their character, ignoring case.
  int RecomputeConsensus();
  // The consensus now, with each column's read depth, to be kept by an
  // edit that moves column p to p - shift.
  ColumnsBefore ColumnsNow(int64_t shift) const;
  // ComputeConsensus(from, to) as the edits run it: with mVoteByCount,
  // each column covered by as many reads as it was in one of `before` (its
  // reads then are those now: an edit only adds or only takes away reads of
  // a column's source) keeps that column's character and quality, and the
  // others are voted by count, counted in mColumnsRevoted.
  void ComputeConsensus(int from, int to, const std::vector<ColumnsBefore>& before);

  // Tags through edits (contig/ContigTags.cpp).
  // True when a read named `name` is here.
  bool HoldsRead(const std::string& name) const;
  // Takes a copy of `tag` if it belongs here: a contig tag moved to this
  // contig's columns (column p of its contig is p - shift here), cut to the
  // consensus, renamed, when some of it remains (one without positions only
  // when shift is 0); a read tag when its read is here.
  bool TakeTag(const AceTag& tag, int64_t shift);
  // Hands each of `tags` to every home (a contig and its shift) that takes
  // it; returns how many no home took.
  static int HandOutTags(const std::vector<AceTag>& tags, const std::vector<std::pair<Contig*, int64_t>>& homes);
  // The tags mirrored onto the same bases after the contig and its reads
  // were reversed: a contig tag over the consensus, a read tag over its read.
  void MirrorTags();

  // Read edits, merging and reversing (contig/ReadEntries.cpp,
  // contig/ReadMoves.cpp, contig/ConsensusEdits.cpp, contig/Reverse.cpp,
  // contig/TailReads.cpp, contig/Merge.cpp, contig/Split.cpp).
  //
  // Every edit goes through the per-read entry helpers below, so that
  // mReads, mAlignStart, mComplemented and, where they are kept,
  // mReadQuality, mReadTrimStart, mReadTrimEnd, mQALines and mReadRecords move
  // together.
  // Appends a read at 1-based start `start` with strand `strand` ('U' or
  // 'C') to mReads, mAlignStart and mComplemented; returns its index.
  int AppendReadEntry(const Sequence& read, int start, char strand);
  // Makes mReadQuality end at read `readIdx` (cut or grown with empty
  // lists) and sets that entry to `quality`.
  void SetReadQualityEntry(int readIdx, const SequenceQuality& quality);
  // Appends read `readIdx` with every entry it has here to `dest`: the read,
  // start and strand; the quality, trims, QA line and record fields (empty,
  // 0, "" and a new read's where this contig has none for it, each of those vectors cut or grown to end
  // at the new read); dest's mReadIdxMap entry; and its template ("" when it
  // has none) in dest's mReadTemplate and mTemplateReads, leaving its
  // direction unset (forward). Returns the index in `dest`, -1 when
  // `readIdx` is not a placed read here.
  int CopyReadEntries(int readIdx, Contig& dest) const;
  // Erases read `readIdx` from every per-read vector that has it, later
  // reads moving down, then rebuilds mReadIdxMap and the template maps.
  void EraseReadEntries(int readIdx);
  // The same for every read i with gone[i] set, in one pass.
  void EraseReadEntries(const std::vector<char>& gone);

  // Appends read `name` (looked up in mReadIdxMap) to `dest` with its
  // entries; `dest` gets one placeholder base segment naming it and trims
  // 0 .. 0. This contig keeps the read. "Can't move ..." on standard output
  // when the name is not here.
  void CopyRead(Contig& dest, const std::string& name) const;
  // Removes read `name` and empties mBaseSegments (the caller rebuilds them).
  void RemoveRead(const std::string& name);
  // RemoveRead of each name in order, with its messages and result, in one
  // pass over the reads once the first is gone (removing one at a time
  // rebuilds the indexes each time).
  void RemoveReads(const std::vector<std::string>& names);
  // Append reads at the given 1-based starts; the lists must hold one entry
  // per read and at least one read, else "AddReads ERROR: ..." on standard
  // error and nothing changes. mReadIdxMap and the template maps are left to
  // the caller. AddReads rebuilds the base segments; AddReadsNoBS only
  // counts the ones there are. Without a quality list the new reads get no
  // quality entry; without a strand list they are 'U'.
  void AddReads(const SequenceVector& reads, const SequenceQualityVector& qualities,
                const std::vector<int>& starts);
  void AddReads(const SequenceVector& reads, const std::vector<int>& starts);
  void AddReadsNoBS(const SequenceVector& reads, const std::vector<int>& starts,
                    const std::vector<char>& strands);
  void AddReadsNoBS(const SequenceVector& reads, const std::vector<int>& starts);
  // Shifts every alignment start so the smallest becomes `base`; `min` and
  // `max` (also kept in mOriginalMinStart and mOriginalMaxStart) are the
  // smallest and largest starts before the shift, 99999999 and 0 without
  // reads.
  void FixupAlignStarts(int base, int& min, int& max);
  // Makes the consensus and mQuality pos + (to - from) + 1 long (cut, or
  // grown with '*' and 0) and copies source's consensus characters and
  // qualities of 0-based indexes from .. to to indexes pos onward. A pos
  // past the consensus end counts as the end; indexes outside either
  // consensus are skipped; a source column without a value gives 0.
  void CopyConsensus(int pos, const Contig& source, int from, int to);
  // Drops trailing '*' columns from the consensus and mQuality and sets
  // mPaddedBases.
  void TrimPadTail();
  // Appends every read of `other`, shifted right by `offset` columns (other's
  // starts are shifted too), votes the consensus over offset .. the last
  // column a read reaches and rebuilds the base segments; returns their count.
  int MergeContigRight(Contig& other, int offset);
  // Reverse-complements the consensus and the reads and mirrors every
  // per-position value onto the same bases: qualities, alignment starts,
  // read and contig trims, BAC figures and QA positions. Strands flip, the
  // contig's own among them.
  // Doing it twice gives the contig back, base segments aside.
  void ReverseComplementContig();
  // Removes the reads without a good mate (as mTemplates last said) that
  // start at or before 1-based `leftEnd` or run past 1-based `rightStart`,
  // appending their names to `removed`, and votes the consensus over the
  // two tails (0-based 0 .. leftEnd and rightStart .. end); the tags of the
  // reads removed, and of the columns cut off the end, are left out.
  void RemoveTails(int leftEnd, int rightStart, std::vector<std::string>& removed);

  // The stretch the named reads cover: `start` the smallest 1-based
  // alignment start, `end` the largest last 1-based position, both then
  // held to 0 .. length - 1 (-1 for an empty consensus). Names not here
  // are reported on standard error and skipped.
  void FindConsensusChangePoints(const std::vector<std::string>& names, int& start, int& end) const;
  // Sorts the reads around the suspect region of 0-based indexes a .. b:
  // a read covering a or b without a good mate (as mTemplates last said),
  // or lying strictly inside, goes to `middle`; one right of b or covering
  // b with a good mate to `right`; one left of a or covering a with a good
  // mate to `left`. The lists are cleared first.
  void FindReadSets(int a, int b, std::vector<std::string>& left, std::vector<std::string>& middle,
                    std::vector<std::string>& right) const;
  // Cuts the contig at the region a .. b: the right reads go to
  // `rightContig` (named + "R"), the middle reads to `middleContig` (+ "M"),
  // and this contig, renamed + "L", keeps the left reads.
  void SplitContig(int a, int b, Contig& middleContig, Contig& rightContig);
  // Moves the named reads to `newContig` with its smallest start made 0 and
  // its consensus voted whole, writes it to "wextest/<name>" when that
  // directory exists, and votes this contig again from the first column the
  // moved reads covered.
  void SplitContigRight(const std::vector<std::string>& names, Contig& newContig);
  // The same with `newContig` named + "A" and nothing written; the reads of
  // `dropNames` are removed too, and this contig is voted again from
  // 0-based `from`. The fourth argument has no effect.
  void SplitContigRight(const std::vector<std::string>& dropNames, const std::vector<std::string>& moveNames,
                        int from, int unused, Contig& newContig);

  // Templates and mate pairs (contig/Templates.cpp, contig/MateQueries.cpp).
  // Enters read `readIdx` into the template maps from the "TEMPLATE:" and
  // "DIRECTION:" words of its description; nothing without a template.
  void RecordTemplateInfo(int readIdx);
  // Fills the template maps anew from every read, in read order.
  void RecordTemplates();
  // Rebuilds mReadIdxMap and the template maps from mReads; returns the
  // number of reads. mTemplates is left as it is.
  int RebuildTemplateInfo();
  // One record per template, pairs cut to their best pair; `out` is cleared.
  void GetTemplateInfo(std::vector<TemplateInfo>& out) const;
  // Cuts a template's read list to [forward read, reverse read] lying
  // farthest apart with the forward read on the left, and sets `gap` to the
  // columns between them; the list ends empty (gap 0) when there is no pair.
  void ChooseBestTemplatePair(std::vector<int>& reads, int& gap) const;
  bool HasMateInContig(const std::string& readName) const;
  // Answers from mTemplates as last computed; it does not refresh it.
  bool HasGoodMateInContig(const std::string& readName) const;
  void PrintTemplateInfo(std::ostream& out) const;

  // Template profiles, one entry per 0-based consensus index
  // (contig/TemplateCoverage.cpp). The tables map a profile index to the
  // number of selected templates starting or ending there.
  void BuildTemplateStartEnd(std::vector<TemplateInfo>& templates, Int2IntMap& starts,
                             Int2IntMap& ends) const;
  void BuildBadTemplateStartEnd(std::vector<TemplateInfo>& templates, Int2IntMap& starts,
                                Int2IntMap& ends) const;
  void BuildTemplateSpanStartEnd(std::vector<TemplateInfo>& templates, Int2IntMap& starts,
                                 Int2IntMap& ends) const;
  void GetTemplateCoverage(std::vector<int>& profile) const;  // untouched for an empty consensus
  void GetBadTemplateCoverage(std::vector<int>& profile) const;
  void GetTemplateSpan(std::vector<int>& profile) const;
  bool TemplateCoverIsZero() const;

  // Read profiles and counts (contig/ReadCoverage.cpp, contig/ReadBaseCounts.cpp).
  // A read's quality is looked at only where its quality list has a value;
  // a missing value is below every threshold.
  void GetCoverage(std::vector<int>& profile) const;  // reads covering each index
  // Coverage by reads whose name holds "gnl" (first) and by the others (second).
  void GetWGSBACCoverage(std::vector<int>& first, std::vector<int>& second) const;
  // Read characters of quality > 19 that differ (ignoring case) from the
  // consensus at each index. Unchanged, with a message, when the quality
  // list count differs from the read count.
  void GetHQDescrepency(std::vector<int>& profile) const;
  int CalcP20Coverage(int pos) const;      // reads with quality > 19 at 0-based index pos
  int CalcCoverageTrimmed(int pos) const;  // reads whose trimmed range covers pos
  // Whole-consensus forms of the two counts: profile[p] is
  // CalcP20Coverage(p) (or CalcCoverageTrimmed(p)) for every index p.
  void GetP20Coverage(std::vector<int>& profile) const;
  void GetCoverageTrimmed(std::vector<int>& profile) const;
  double CalcAverageCoverage() const;  // mean of GetCoverage over the consensus
  int GetMatchingBases(int readIdx) const;
  int GetMatchingBasesTrimmed(int readIdx) const;  // within both trim ranges

  // Trims and figures (ace/AceTrims.cpp, ace/AceStats.cpp).
  // mTrimStart and mTrimEnd from mQuality: the first and last consensus
  // index whose quality reaches `threshold`; a column without a value is
  // below every threshold.
  void CalculateTrim(int threshold);
  // mTrimEnd - mTrimStart + 1; 0 for a contig without a trim range (no
  // column reached the threshold), which holds no trimmed column.
  int TrimmedLength() const {
    return mTrimStart < 0 || mTrimEnd < mTrimStart ? 0 : ClampToInt(int64_t{mTrimEnd} - mTrimStart + 1);
  }
  int CalcCoverage(int pos) const;             // reads with a character at 0-based index pos
  double CalcAverageTrimmedCoverage() const;  // mean of CalcCoverageTrimmed over the consensus
  // CalcCoverageTrimmed summed over the consensus indexes lo .. hi.
  int64_t TrimmedDepthSum(int lo, int hi) const;
  long CountP20Bases() const;                 // read characters of quality >= 20 under the consensus
  double CalcAverageP20Coverage() const;      // CountP20Bases over the consensus length

  // Trimmed consensus (ace/TrimmedConsensus.cpp). Pads are '*' and '-', as
  // for depadded positions.
  // Gives `out` this contig's name and description and appends the non-pad
  // consensus characters of 0-based indexes mTrimStart .. mTrimEnd, cut to
  // the consensus (so nothing for -1 .. -1). `out`'s bases are not cleared
  // first.
  void GetTrimmedDepadded(Sequence& out) const;
  // The non-pad consensus characters of mBACTrimStart .. mBACTrimEnd (cut to
  // the consensus) as a FASTA record in lines of 50; returns how many were
  // written. Writes nothing and returns 0 when mBACTrimStart is below 0 or
  // mBACTrimEnd - mBACTrimStart is below `minLength`.
  int PrintBACTrimmedContig(std::ostream& out, int minLength) const;

  // Alignment prints (ace/AlignmentPrint.cpp), in windows of mWindowWidth
  // 0-based consensus columns (1 when it is below 1) from `start`. After
  // each window the next starts mWindowWidth columns on, while that is below
  // the consensus length and not past `end`; an `end` below 0 means the last
  // consensus index. The first window is always printed. A row shows the
  // character inside its trim range, '-' outside it, '%' for a read's X or x
  // outside it and '.' outside the sequence (either side). Reads that are
  // not placed (IsPlacedRead) get no row; reads whose trims were never
  // computed have an empty trim range.
  // Names are padded to `nameWidth` characters; a longer name pushes its
  // row to the right, so a caller wanting the rows lined up passes the
  // longest (NameWidth).
  void PrintAlignment(std::ostream& out, int start, int end, int nameWidth = kAlignmentNameWidth) const;
  // The longest of the contig's and its reads' names, at least
  // kAlignmentNameWidth.
  int NameWidth() const;
  // The same windows with three characters per column, and a row of quality
  // values under the consensus and under each read (blank where a read has
  // no value).
  void PrintAlignmentWithQuality(std::ostream& out, int start, int end,
                                 int nameWidth = kAlignmentNameWidth) const;
  // The print's mark for read `read` at 0-based consensus index `column`:
  // '#' when `read` is not a placed read, '@' when `column` is at or past
  // the consensus end.
  char GetAlignedCharacter(int read, int column) const;

  // Window queries over the 0-based consensus columns start (inclusive) to
  // end (exclusive) (ace/AlignmentWindow.cpp). Here a read has a character
  // in column k when its offset k - mAlignStart + 1 is at least 1 and below
  // its length: its first character never counts.
  int GetNumReadsInWindow(int start, int end) const;
  // The n-th (0-based, read order) read with a character in the window;
  // "NOT FOUND" when there are not that many.
  std::string GetWindowReadName(int start, int end, int n) const;
  // One character per read with a character in the window, in read order:
  // its character at `column`, or a blank when it has none there.
  std::string GetAlignedCharacters(int start, int end, int column) const;

  // Read `read`'s "RD" counts and "DS" flag: from mReadRecords, or those
  // of a read without an entry (0, 0 and a "DS" line).
  ReadRecordFields RecordFieldsOf(size_t read) const {
    return read < mReadRecords.size() ? mReadRecords[read] : ReadRecordFields();
  }
  // Whether read `read` is written with a "DS" line: when it had one, or
  // when it has a description.
  bool HasDSLine(size_t read) const {
    return RecordFieldsOf(read).mDescribed || (read < mReads.size() && !mReads[read].mDescription.empty());
  }

  // Writing (ace/AceWrite.cpp). Writes the contig as ACE records: "CO" with
  // the counts of what follows, the consensus, "BQ" with one value per base
  // column, "AF" and "BS" lines, and each read's "RD", "QA" and "DS"
  // records. Base segments out of step with mNumBaseSeqs are synthesized
  // anew first, with a line on `messages`. A read beyond the kept "QA"
  // lines gets "QA 1 L-1 1 L-1", L being its padded length; its "RD" counts
  // and whether it has a "DS" line come from mReadRecords (a read without
  // an entry: 0, 0 and a "DS" line; a read with a description has one).
  // `tags` (in file order) are written where they stood among the reads
  // (AceTag::mAfterRead): before the first read, after one, or after the
  // contig when they followed its last read.
  void WriteAce(std::ostream& out, std::ostream& messages = std::cerr, const std::vector<AceTag>& tags = {});

private:
  // Copies the named reads into `newContig`, moves its smallest start to 0
  // and votes its whole consensus; returns its last 0-based index.
  int MoveReadsInto(const std::vector<int>& reads, Contig& newContig) const;
  // Sorts the reads around a .. b as FindReadSets does, by index.
  void SortReads(int a, int b, std::vector<int>& left, std::vector<int>& middle, std::vector<int>& right) const;
  // Moves reads `reads` (indexes) to `newContig` as SplitContigRight does.
  void SplitOffReads(const std::vector<int>& reads, Contig& newContig);
  // The indexes of the named reads here (mReadIdxMap), skipping names not
  // here.
  std::vector<int> ReadIndexes(const std::vector<std::string>& names) const;
  void AppendBQ(std::string& text) const;
  void AppendQA(std::string& text, size_t read) const;  // the read's line, ended
  // Consensus indexes under read offsets fromOffset .. toOffset of a placed
  // read, cut to the consensus; false when none remain.
  bool ClipToConsensus(int readIdx, int64_t fromOffset, int64_t toOffset, int& first, int& last) const;
};

}  // namespace ostrel

#endif
