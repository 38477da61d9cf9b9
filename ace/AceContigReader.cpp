// Reading an ACE file contig by contig, through the reader's own record
// parsers and per-contig steps.
#include "ace/AceContigReader.h"

#include <algorithm>
#include <iostream>

namespace ostrel {

bool AceContigReader::Open(const std::string& fileName) {
  mFileName = fileName;
  if (!AceFile::OpenAceFile(mIn, fileName)) return false;
  mAce.clear();
  mAce.mContigQuality.clear();
  mAce.mReadContigMap.clear();
  mAce.ReadHeader(mIn, mLine);
  return true;
}

bool AceContigReader::Next() {
  if (mEnded || !mIn.is_open()) return false;
  if (!mAce.ReadContig(mIn, mLine, mContigIndex + 1, 0)) {
    End();
    return false;
  }
  ++mContigIndex;
  mAce.resize(1);
  mAce.mContigQuality.resize(1);
  Contig& contig = mAce[0];
  mContigsConsistent = AceFile::CheckContigReads(contig, mConsistencyLines) && mContigsConsistent;
  AceFile::IndexContigReads(contig);
  mAce.PrepareReadContig(0, mFakeMessages, mTrimMessages);
  mTally.Add(contig);
  return true;
}

void AceContigReader::End() {
  mEnded = true;
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
  std::cerr << mFakeMessages.str() << mTrimMessages.str() << std::flush;
  mAce.clear();
  mAce.mContigQuality.clear();
  mTally.Store(mAce);
  mIn.close();
}

}  // namespace ostrel
