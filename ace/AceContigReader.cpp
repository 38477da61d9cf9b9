// Reading an ACE file contig by contig, through the reader's own record
// parsers and per-contig steps: the next contig is parsed while the one
// just parsed is prepared.
#include "ace/AceContigReader.h"

#include <algorithm>
#include <iostream>

namespace ostrel {

namespace {

// Moves the parts of a contig that its preparation made (the read index,
// the template maps, the read qualities and trims) from `from` to `to`.
void MovePreparedParts(Contig& from, Contig& to) {
  to.mReadIdxMap = std::move(from.mReadIdxMap);
  to.mTemplateReads = std::move(from.mTemplateReads);
  to.mReadTemplate = std::move(from.mReadTemplate);
  to.mReadDirection = std::move(from.mReadDirection);
  to.mReadQuality = std::move(from.mReadQuality);
  to.mReadTrimStart = std::move(from.mReadTrimStart);
  to.mReadTrimEnd = std::move(from.mReadTrimEnd);
}

}  // namespace

AceContigReader::~AceContigReader() { mPreparing.reset(); }

bool AceContigReader::Open(const std::string& fileName, QualityRecordFile* qualities) {
  mFileName = fileName;
  mQualities = qualities;
  if (mQualities != nullptr) std::cerr << std::endl << "Reading " << fileName << "..." << std::flush;
  if (!AceFile::OpenAceFile(mIn, fileName)) return false;
  mAce.clear();
  mAce.mContigQuality.clear();
  mAce.mReadContigMap.clear();
  mAhead.ReadHeader(mIn, mLine);
  mAce.mNumContigs = mAhead.mNumContigs;
  mAce.mNumReads = mAhead.mNumReads;
  mAce.mRecordsFound = mAhead.mRecordsFound;
  mAce.mValid = true;
  mAce.mTags.clear();
  mAheadHolds = mAhead.ReadContig(mIn, mLine, 0, 0);
  TakeTagsMet();
  if (mAheadHolds && mQualities != nullptr) ReadAhead(mAhead[0], mAheadRecords);
  mPreparing = std::make_unique<ContigQueue>([this](size_t) { Prepare(); });
  return true;
}

bool AceContigReader::Next() {
  if (mEnded || !mIn.is_open()) return false;
  if (!mAheadHolds) {
    End();
    return false;
  }
  ++mContigIndex;
  mAce.resize(1);
  mAce.mContigQuality.resize(1);
  // What the preparing thread made of the contig let go is freed there
  // while the next one is prepared (a thread that frees into the memory the
  // other allocates from waits on it); what the parsers made is parsed over.
  Contig done = std::move(mAce[0]);
  MovePreparedParts(done, mRetired);
  mAce[0] = std::move(mAhead[0]);
  std::swap(mRecords, mAheadRecords);
  mPreparing->Add(0);
  mAhead[0] = std::move(done);  // its storage is kept for the next contig
  mAheadHolds = mAhead.ReadContig(mIn, mLine, mContigIndex + 1, 0);
  TakeTagsMet();
  if (mAheadHolds && mQualities != nullptr) ReadAhead(mAhead[0], mAheadRecords);
  mAce.mRecordsFound = mAhead.mRecordsFound;
  mPreparing->Wait();
  return true;
}

void AceContigReader::TakeTagsMet() {
  for (AceTag& tag : mAhead.mTags) mAce.mTags.push_back(std::move(tag));
  mAhead.mTags.clear();
}

void AceContigReader::Prepare() {
  mRetired = Contig();
  Contig& contig = mAce[0];
  mContigsConsistent = AceFile::CheckContigReads(contig, mConsistencyLines) && mContigsConsistent;
  // With qualities the reading thread has indexed the reads, to read
  // their records ahead.
  if (mQualities == nullptr)
    AceFile::IndexContigReads(contig);
  else
    AddReadQualities(contig);
  mAce.PrepareReadContig(0, mFakeMessages, mTrimMessages);
  mTally.Add(contig);
}

void AceContigReader::ReadAhead(Contig& contig, ContigRecords& records) {
  AceFile::IndexContigReads(contig);
  records.mNames.clear();
  records.mReadOfName.clear();
  for (const auto& [name, r] : contig.mReadIdxMap) {
    if (!contig.IsPlacedRead(r)) continue;  // it takes no values
    records.mNames.push_back(name);
    records.mReadOfName.push_back(r);
  }
  mQualities->ReadRecords(records.mNames, records.mBatch);
}

void AceContigReader::AddReadQualities(Contig& contig) {
  contig.mReadQuality.resize(contig.mReads.size());
  mQualities->ParseRecords(mRecords.mNames, mRecords.mBatch, mStaleNotes,
                           [&](size_t i, QualityRecordFile::Fetched& record) {
                             AceFile::AttachReadQuality(contig, mRecords.mReadOfName[i], record.mQuality, mRecordNote);
                             if (mRecordNote.tellp() == 0) return;
                             mRecordNotes.emplace_back(record.mStart, mRecordNote.str());
                             mRecordNote.str("");
                           });
}

void AceContigReader::End() {
  mEnded = true;
  mPreparing.reset();
  const int read = mContigIndex + 1;
  // The whole read sizes its list to the header's count up front: contigs
  // announced but missing are there, empty, and count as such.
  Contig missing;
  missing.CalculateTrim(mAce.mContigTrimQuality);
  for (int c = read; c < std::min(mAce.mNumContigs, AceFile::kPresizedContigs); ++c) mTally.Add(missing);
  std::cerr << mConsistencyLines.str() << std::flush;
  const bool countsAgree = mAce.CheckContigCount(mTally.mContigsSeen, std::cerr);
  mAce.mValid = mContigsConsistent && countsAgree && read <= std::max(mAce.mNumContigs, 0) && !mIn.bad();
  mAce.CheckReadWhole(mIn, mFileName);
  if (mQualities != nullptr) EndQualities();
  std::cerr << mFakeMessages.str() << mTrimMessages.str() << std::flush;
  mAce.clear();
  mAce.mContigQuality.clear();
  TakeTagsMet();
  mTally.Store(mAce);
  mIn.close();
}

void AceContigReader::EndQualities() {
  std::cerr << "done." << std::endl << "Reading " << mQualities->mFileName << "..." << std::flush;
  // A record placed in several contigs keeps its notes in contig order.
  std::stable_sort(mRecordNotes.begin(), mRecordNotes.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& note : mRecordNotes) std::cerr << note.second;
  std::cerr << mStaleNotes.str() << "done." << std::endl;
  if (mQualities->mStale) mAce.mValid = false;
}

}  // namespace ostrel
