// Reading ACE assemblies: the record loop, one parser per record kind, the
// consistency check, and the post-processing of a whole file.
#include <algorithm>
#include <iostream>
#include <sstream>

#include "ace/AceFile.h"
#include "ace/AceTokens.h"
#include "ace/ContigWork.h"
#include "util/GzStream.h"
#include "util/LineScan.h"
#include "util/StringUtil.h"
#include "util/TokenScan.h"

namespace ostrel {

namespace {

// Sequence buffers are reserved at the length a record announces, up to
// this many characters; that saves the slack and copies of growing them.
constexpr int kMaxReserved = 1 << 28;

// The read lists are reserved at a contig's announced read count up to this
// many reads.
constexpr int kPresizedReads = 1 << 20;

void ReserveAnnounced(std::vector<char>& bases, int announced) {
  if (announced > 0) bases.reserve(static_cast<size_t>(std::min(announced, kMaxReserved)));
}

// Empties a read, keeping the storage of its characters and texts.
void ClearRead(Sequence& read) {
  read.mBases.clear();
  read.mDepadded2Padded.clear();
  read.mPadded2Depadded.clear();
  read.mDescription.clear();
  read.mName.clear();
}

// Ends a block of sequence or values: an empty or white-space-only line.
bool EndsBlock(const std::string& line) { return ContainsOnlyWS(line); }

// Prints the consistency lines and returns false when the contigs or their
// reads differ in number from what the file announced.
bool CheckConsistency(const AceFile& ace, std::ostream& out) {
  bool valid = true;
  int seen = 0;
  for (const Contig& contig : ace) {
    if (!contig.mBases.empty()) ++seen;
    valid = AceFile::CheckContigReads(contig, out) && valid;
  }
  return ace.CheckContigCount(seen, out) && valid;
}

}  // namespace

void AceFile::Read(std::istream& in) {
  ReadContigs(in, nullptr);
  for (Contig& contig : *this) contig.RecordTemplates();
  MarkHeldTagSubjects();
}

bool AceFile::OpenAceFile(igzstream& in, const std::string& fileName) {
  in.open(fileName);
  if (!in.is_open()) std::cerr << "Unable to open " << fileName << " as an ace file." << std::endl;
  return in.is_open();
}

bool AceFile::CheckContigReads(const Contig& contig, std::ostream& out) {
  if (static_cast<int>(contig.mReads.size()) == contig.mNumReads) return true;
  out << "INCONSISTENT CONTIG READS: " << contig.mName << " Reads seen=" << contig.mReads.size()
      << "  reads reported=" << contig.mNumReads << std::endl;
  return false;
}

bool AceFile::CheckContigCount(int seen, std::ostream& out) const {
  if (seen == mNumContigs) return true;
  out << "INCONSISTENT ACE FILE: Contigs seen = " << seen << " contigs reported=" << mNumContigs << std::endl;
  return false;
}

void AceFile::ReadHeader(std::istream& in, std::string& line) {
  mValid = true;
  mTags.clear();
  mReadingNumber = mReadingSlot = -1;
  mTagsRead = 0;
  ReadLine(in, line);
  mRecordsFound = StartsRecord(line, "AS");
  int pos = 0;
  mNumContigs = GetNextInteger(line, 0, pos);
  mNumReads = GetNextInteger(line, pos, pos);
  line.clear();
}

bool AceFile::ReadContig(std::istream& in, std::string& line, int contigIndex, int slot) {
  if (!FindContig(in, line)) return false;
  mRecordsFound = true;
  // More contigs than announced (concatenated files, say): said once, and
  // read on.
  if (contigIndex == std::max(mNumContigs, 0))
    std::cerr << "ContigNum=" << contigIndex << " (*this).size=" << std::max(mNumContigs, 0) << std::endl;
  if (slot >= static_cast<int>(size())) resize(slot + 1);
  ClearForRecords((*this)[slot]);
  line = ParseCO(in, line, slot);
  // A contig may hold no reads (a split can leave one so): the search for
  // its records stops at the next contig rather than taking that one's, and
  // keeps the tags it passes, such as those after the last contig.
  mReadingNumber = contigIndex;
  mReadingSlot = slot;
  if (FindContigRecord(in, "BQ", line)) {
    line = ParseBQ(in, line, slot);
    if (FindContigRecord(in, "AF", line)) {
      line = ParseAF(in, line, slot);
      // A contig may carry no base segments: the search stops at its reads.
      if (FindContigRecord(in, "BS", line, "RD")) line = ParseBS(in, line, slot);
      // A read is named by its "RD" record: placements without one are
      // dropped, as a name cannot be written back without it.
      if (FindContigRecord(in, "RD", line))
        line = ParseRD(in, line, slot);
      else
        (*this)[slot].mReads.clear();
    }
  }
  return true;
}

void AceFile::ReadContigs(std::istream& in, ContigQueue* finished) {
  std::string line;
  ReadHeader(in, line);
  resize(static_cast<size_t>(std::clamp(mNumContigs, 0, kPresizedContigs)));
  int contigIndex = 0;
  for (;; ++contigIndex) {
    // The list is about to move as it grows: the second thread first
    // finishes the contigs handed over.
    if (finished != nullptr && contigIndex >= static_cast<int>(capacity())) finished->Wait();
    if (!ReadContig(in, line, contigIndex, contigIndex)) break;
    if (finished != nullptr) finished->Add(static_cast<size_t>(contigIndex));
  }
  mValid = CheckConsistency(*this, std::cerr) && contigIndex <= std::max(mNumContigs, 0) && !in.bad();
}

void AceFile::ClearForRecords(Contig& contig) {
  for (Sequence& read : contig.mReads) mSpareReads.push_back(std::move(read));
  Contig fresh;
  const auto keep = [](auto& from, auto& to) {
    from.clear();
    to.swap(from);
  };
  keep(contig.mReads, fresh.mReads);
  keep(contig.mBases, fresh.mBases);
  keep(contig.mQuality.mQualities, fresh.mQuality.mQualities);
  keep(contig.mAlignStart, fresh.mAlignStart);
  keep(contig.mComplemented, fresh.mComplemented);
  keep(contig.mBaseSegments, fresh.mBaseSegments);
  keep(contig.mQALines, fresh.mQALines);
  keep(contig.mReadRecords, fresh.mReadRecords);
  contig = std::move(fresh);
}

Sequence AceFile::TakeSpareRead() {
  if (mSpareReads.empty()) return Sequence();
  Sequence read = std::move(mSpareReads.back());
  mSpareReads.pop_back();
  ClearRead(read);
  return read;
}

std::string AceFile::ParseCO(std::istream& in, std::string& line, int& contigIndex) {
  Contig& contig = (*this)[contigIndex];
  contig.mBases.clear();
  contig.mReads.clear();
  contig.mAlignStart.clear();
  contig.mComplemented.clear();

  int pos = 0;
  contig.mName = GetNextWSDelimitedString(line, RecordFieldsStart(line), pos);
  contig.mPaddedBases = GetNextInteger(line, pos, pos);
  contig.mNumReads = GetNextInteger(line, pos, pos);
  contig.mNumBaseSeqs = GetNextInteger(line, pos, pos);
  contig.mStrand = GetNextWSDelimitedString(line, pos, pos) == "C" ? 'C' : 'U';
  ReserveAnnounced(contig.mBases, contig.mPaddedBases);

  std::string next;
  while (ReadLine(in, next) && !StartsRecord(next, "BQ") && !EndsBlock(next)) contig.ConcatenateString(next);
  if (contig.mPaddedBases != static_cast<int>(contig.mBases.size()))
    std::cerr << "WARNING: PaddedBases = " << contig.mPaddedBases << " C.mConsensus.size=" << contig.mBases.size()
              << std::endl;
  return next;
}

// One value per consensus column: a 0 for every pad the values skip. Values
// beyond the last column are dropped.
std::string AceFile::ParseBQ(std::istream& in, std::string& /*the "BQ" line*/, int& contigIndex) {
  Contig& contig = (*this)[contigIndex];
  std::vector<int>& quality = contig.mQuality.mQualities;
  quality.clear();
  const std::vector<char>& bases = contig.mBases;
  quality.reserve(bases.size());
  std::string next;
  // The values are gathered as they stand, then moved out to their columns
  // from the last one down, the pads' zeros put between them.
  ScanBlockLines(
      in, next, [](std::string_view line) { return StartsRecord(line, "AF"); },
      [&quality](const char* begin, const char* end) { GetIntsFromLines(begin, end, quality); });
  size_t values = 0, columns = 0;  // the values placed, and the columns they fill
  for (; columns < bases.size() && values < quality.size(); ++columns)
    if (bases[columns] != '*') ++values;
  quality.resize(std::max(quality.size(), columns));
  for (size_t column = columns; column-- > 0;) quality[column] = bases[column] == '*' ? 0 : quality[--values];
  quality.resize(columns);
  return next;
}

// Placements match the reads by position: the i-th "AF" line belongs to the
// i-th "RD" record. The names on "AF" lines are not compared.
std::string AceFile::ParseAF(std::istream& in, std::string& line, int& contigIndex) {
  Contig& contig = (*this)[contigIndex];
  const size_t announced = static_cast<size_t>(std::clamp(contig.mNumReads, 0, kPresizedReads));
  contig.mReads.reserve(announced);
  contig.mAlignStart.reserve(announced);
  contig.mComplemented.reserve(announced);
  std::string next = line;
  size_t read = 0;
  do {
    if (contig.mReads.size() <= read) contig.mReads.push_back(TakeSpareRead());
    contig.mAlignStart.resize(read + 1, 0);
    contig.mComplemented.resize(read + 1, 0);
    int pos = 0;
    GetNextWSDelimitedString(next, RecordFieldsStart(next), pos);  // the read name
    const std::string strand = GetNextWSDelimitedString(next, pos, pos);
    contig.mComplemented[read] = strand.empty() ? 0 : strand[0];
    contig.mAlignStart[read] = GetNextInteger(next, pos, pos);
    ++read;
  } while (ReadLine(in, next) && StartsRecord(next, "AF"));
  return next;
}

std::string AceFile::ParseBS(std::istream& in, std::string& line, int& contigIndex) {
  Contig& contig = (*this)[contigIndex];
  contig.mBaseSegments.clear();
  std::string next = line;
  do {
    BaseSegment segment;
    int pos = 0;
    segment.mStart = GetNextInteger(next, RecordFieldsStart(next), pos);
    segment.mEnd = GetNextInteger(next, pos, pos);
    segment.mReadName = GetNextWSDelimitedString(next, pos, pos);
    contig.mBaseSegments.push_back(segment);
  } while (ReadLine(in, next) && StartsRecord(next, "BS"));
  return next;
}

// Every "RD" record starts a new read, with the counts of its line; its
// "DS" line, when there is one, gives the read its description (its
// template is taken from that once the contig is read). A tag among the
// reads keeps its place after the last read met.
std::string AceFile::ParseRD(std::istream& in, std::string& line, int& contigIndex) {
  Contig& contig = (*this)[contigIndex];
  std::string next = line;
  int read = -1;          // the read of the last "RD" record
  bool described = true;  // whether that read has had its "DS" line
  do {
    if (StartsRecord(next, "RD")) {
      int pos = 0;
      std::string name = GetNextWSDelimitedString(next, RecordFieldsStart(next), pos);
      if (name.empty()) {
        // A record without a name makes no read: its bases and "DS" line
        // are passed over.
        ScanBlockLines(
            in, next, [](std::string_view) { return false; }, [](const char*, const char*) {});
        described = true;
        continue;
      }
      ++read;
      described = false;
      if (read >= static_cast<int>(contig.mReads.size())) contig.mReads.push_back(TakeSpareRead());
      Sequence& bases = contig.mReads[read];
      ClearRead(bases);
      bases.mName = name;
      ReserveAnnounced(bases.mBases, GetNextInteger(next, pos, pos));
      ReadRecordFields fields;
      fields.mWholeReadItems = GetNextInteger(next, pos, pos);
      fields.mReadTags = GetNextInteger(next, pos, pos);
      fields.mDescribed = false;
      contig.mReadRecords.resize(static_cast<size_t>(read));
      contig.mReadRecords.push_back(fields);
      GetBlockLines(in, bases.mBases, next);
    } else if (StartsRecord(next, "DS")) {
      if (read >= 0 && !described) {
        const size_t blank = next.find(' ', static_cast<size_t>(RecordFieldsStart(next)));
        contig.mReads[read].mDescription = blank == std::string::npos ? next : next.substr(blank + 1);
        contig.mReadRecords[read].mDescribed = true;
        described = true;
      }
    } else if (StartsRecord(next, "QA")) {
      contig.mQALines.push_back(next);
    } else if (StartsTag(next)) {
      next = ParseTag(in, next, read);
      if (StartsRecord(next, "CO")) break;
    } else if (StartsRecord(next, "CO")) {
      break;
    }
  } while (ReadLine(in, next));
  // Reads placed by "AF" lines beyond the last named "RD" record are dropped.
  contig.mReads.resize(static_cast<size_t>(read + 1));
  contig.mReadRecords.resize(static_cast<size_t>(read + 1));
  return next;
}

std::string AceFile::ParseTag(std::istream& in, std::string& line, int afterRead) {
  std::string tag = line + '\n';
  std::string next;
  while (ReadLine(in, next)) {
    if (StartsRecord(next, "CO")) return next;
    tag.append(next).push_back('\n');
    if (ClosesTag(next)) {
      AceTag read;
      read.mText = std::move(tag);
      read.mOrder = mTagsRead++;
      if (mReadingSlot >= 0) {
        read.mInContig = (*this)[mReadingSlot].mName;
        read.mContigNumber = mReadingNumber;
        read.mAfterRead = afterRead;
      }
      mTags.push_back(std::move(read));
      return next;
    }
  }
  return std::string();
}

bool AceFile::FindContig(std::istream& in, std::string& line) { return FindContigRecord(in, "CO", line); }

bool AceFile::FindContigRecord(std::istream& in, const char* keyword, std::string& line, const char* stopKeyword) {
  for (;;) {
    if (StartsRecord(line, keyword)) return true;
    if (StartsRecord(line, "CO") || (stopKeyword != nullptr && StartsRecord(line, stopKeyword))) return false;
    if (StartsTag(line)) {
      line = ParseTag(in, line);
      continue;  // the tag's closing line, or a "CO" line that cut it short
    }
    if (!ReadLine(in, line)) return false;
  }
}

void AceFile::CheckReadWhole(const std::istream& in, const std::string& fileName) {
  if (!in.bad()) return;
  mValid = false;
  std::cerr << "ERROR: " << fileName << " is damaged or truncated; what was read before the damage is kept."
            << std::endl;
}

bool AceFile::ReadFile(const std::string& fileName) {
  igzstream in;
  if (!OpenAceFile(in, fileName)) return false;
  Read(in);
  CheckReadWhole(in, fileName);
  return true;
}

// The post-processing of each contig (its reads in the read hash, the copy
// of its consensus qualities, fake values, trims) runs on a second thread as
// soon as the reader has moved past the contig, in contig order. The
// messages are kept and printed in the order the whole-assembly steps would
// print them.
void AceFile::Read(const std::string& fileName) {
  igzstream in;
  if (!OpenAceFile(in, fileName)) return;
  mReadContigMap.clear();
  std::ostringstream fakeMessages, trimMessages;
  size_t finished = 0;  // contigs 0 .. finished - 1 are done
  auto finish = [&](size_t c) {
    AddContigToReadHash(c);
    if (mContigQuality.size() <= c) mContigQuality.resize(c + 1);  // the list itself may be growing
    PrepareReadContig(c, fakeMessages, trimMessages);
    finished = c + 1;
  };
  {
    ContigQueue queue(finish);
    ReadContigs(in, &queue);
    queue.Finish();
  }
  MarkHeldTagSubjects();
  HandTagsToContigs();
  CheckReadWhole(in, fileName);
  for (size_t c = finished; c < size(); ++c) finish(c);  // contigs the file never filled
  std::cerr << fakeMessages.str() << trimMessages.str() << std::flush;
  ComputeAllContigStats();
}

void AceFile::PrepareReadContig(size_t c, std::ostream& fakeMessages, std::ostream& trimMessages) {
  (*this)[c].RecordTemplates();
  CopyContigBQToQuality(c);
  AddFakeContigQualityValues(c, fakeMessages);
  (*this)[c].CalculateTrim(mContigTrimQuality);
  CalculateContigReadTrims(c, mReadTrimQuality, trimMessages);
}

void AceFile::Read(const std::string& fileName, SequenceQualityVector& qualities) {
  if (!ReadFile(fileName)) return;
  HandTagsToContigs();
  BuildReadHash();
  CopyBQToQuality();
  AddReadsQuality(qualities);
  std::cout << "CalculateContigTrims..." << std::flush;
  CalculateContigTrims(mContigTrimQuality);
  std::cout << "done." << std::endl;
  std::cout << "CalculateReadTrims..." << std::flush;
  CalculateReadTrims(mReadTrimQuality);
  std::cout << "done." << std::endl;
  ComputeAllContigStats();
}

}  // namespace ostrel
