// Read and consensus qualities put onto an assembly in memory: attaching
// quality records to the padded reads, the per-contig copy of the consensus
// qualities, and fake values wherever qualities are missing or misfit.
#include <algorithm>
#include <cstring>
#include <iostream>

#include "ace/AceFile.h"
#include "ace/ContigWork.h"

namespace ostrel {

namespace {

// Lays `values` (one per non-pad character) along the padded read: a 0 at
// each pad. Characters left without a value get none and a message. Runs of
// bases between pads take their values in one copy.
void AlignToPaddedRead(const std::vector<int>& values, const Sequence& read, std::vector<int>& padded,
                       std::ostream& messages) {
  const char* bases = read.mBases.data();
  const size_t length = read.mBases.size();
  padded.reserve(length);
  size_t k = 0;
  for (size_t i = 0; i < length;) {
    const void* pad = std::memchr(bases + i, '*', length - i);
    const size_t runEnd = pad == nullptr ? length : static_cast<size_t>(static_cast<const char*>(pad) - bases);
    const size_t taken = std::min(runEnd - i, values.size() - k);
    padded.insert(padded.end(), values.begin() + static_cast<std::ptrdiff_t>(k),
                  values.begin() + static_cast<std::ptrdiff_t>(k + taken));
    k += taken;
    for (size_t missing = runEnd - i - taken; missing > 0; --missing)
      messages << read.mName << " Hey tempsize=" << values.size() << " idx=" << k << "\t readsize=" << length
               << '\n';
    i = runEnd;
    if (pad != nullptr) {
      padded.push_back(0);
      ++i;
    }
  }
}

}  // namespace

void AceFile::AddReadQuality(SequenceQuality& q) {
  bool complementedTookIt = false;
  const auto placements = mReadContigMap.equal_range(q.mName);
  for (auto it = placements.first; it != placements.second; ++it) {
    const int c = it->second;
    if (c < 0 || c >= static_cast<int>(size())) continue;
    Contig& contig = (*this)[c];
    const auto found = contig.mReadIdxMap.find(q.mName);
    if (found != contig.mReadIdxMap.end())
      complementedTookIt = AttachReadQuality(contig, found->second, q, std::cerr) || complementedTookIt;
  }
  if (complementedTookIt) q.Reverse();
}

bool AceFile::AttachReadQuality(Contig& contig, int r, const SequenceQuality& q, std::ostream& messages) {
  if (!contig.IsPlacedRead(r) || r >= static_cast<int>(contig.mReadQuality.size())) return false;
  SequenceQuality& target = contig.mReadQuality[r];
  if (!target.mQualities.empty()) return false;  // the first record for a read wins
  target.mName = q.mName;
  target.mDescription = q.mDescription;
  // Every placement starts from the record's own order, so a read placed
  // complemented in two contigs is turned round in both.
  if (contig.mComplemented[r] != 'C') {
    AlignToPaddedRead(q.mQualities, contig.mReads[r], target.mQualities, messages);
    return false;
  }
  const std::vector<int> turned(q.mQualities.rbegin(), q.mQualities.rend());
  AlignToPaddedRead(turned, contig.mReads[r], target.mQualities, messages);
  return true;
}

void AceFile::AddReadsQuality(SequenceQualityVector& qualities) {
  for (Contig& contig : *this) contig.mReadQuality.resize(contig.mReads.size());
  std::cout << "AceFile::Add " << qualities.size() << " read qualities." << std::endl;
  for (SequenceQuality& q : qualities) AddReadQuality(q);
}

void AceFile::CopyBQToQuality() {
  if (mContigQuality.size() < size()) mContigQuality.resize(size());
  ForEachContig(size(), [this](size_t c, std::ostream&) { CopyContigBQToQuality(c); }, std::cerr);
}

void AceFile::AddFakeQualityValues() {
  if (mContigQuality.size() < size()) mContigQuality.resize(size());
  ForEachContig(size(), [this](size_t c, std::ostream& messages) { AddFakeContigQualityValues(c, messages); },
                std::cerr);
}

void AceFile::CopyContigBQToQuality(size_t c) { mContigQuality[c].mQualities = (*this)[c].mQuality.mQualities; }

void AceFile::AddFakeContigQualityValues(size_t c, std::ostream& messages) {
  Contig& contig = (*this)[c];
  std::vector<int>& consensusQuality = mContigQuality[c].mQualities;
  if (consensusQuality.size() != contig.mBases.size()) {
    if (!consensusQuality.empty())
      messages << "Forcing quality size match:" << contig.mName << " size=" << contig.mBases.size()
               << " qual size=" << consensusQuality.size() << " BQ.size=" << contig.mQuality.mQualities.size()
               << '\n';
    consensusQuality.assign(contig.mBases.size(), 20);
  }

  if (contig.mReadQuality.size() != contig.mReads.size()) {
    if (!contig.mReadQuality.empty())
      messages << "Forcing size match: " << contig.mName << " read size=" << contig.mReads.size() << contig.mName
               << " quality size=" << contig.mReadQuality.size() << '\n';
    contig.mReadQuality.resize(contig.mReads.size());
  }

  for (size_t i = 0; i < contig.mReads.size(); ++i) {
    const Sequence& read = contig.mReads[i];
    std::vector<int>& readQuality = contig.mReadQuality[i].mQualities;
    if (readQuality.size() == read.mBases.size()) continue;
    if (!readQuality.empty())
      messages << "\t Forcing size to match: " << read.mName << " readsize=" << read.mBases.size()
               << " qual size=" << readQuality.size() << '\n';
    readQuality.assign(read.mBases.size(), 0);
  }
}

}  // namespace ostrel
