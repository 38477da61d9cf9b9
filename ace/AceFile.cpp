// Whole-assembly operations on the contig list: the read indexes, removing
// and renaming contigs.
#include "ace/AceFile.h"

#include "ace/AceTokens.h"

namespace ostrel {

void AceFile::BuildReadHash() {
  mReadContigMap.clear();
  size_t reads = 0;
  for (const Contig& contig : *this) reads += contig.mReads.size();
  mReadContigMap.reserve(reads);  // no rehashing as the entries come
  for (size_t c = 0; c < size(); ++c) AddContigToReadHash(c);
}

void AceFile::AddContigToReadHash(size_t c) {
  Contig& contig = (*this)[c];
  IndexContigReads(contig);
  for (const Sequence& read : contig.mReads) mReadContigMap.emplace(read.mName, static_cast<int>(c));
}

void AceFile::IndexContigReads(Contig& contig) {
  contig.mReadIdxMap.reserve(contig.mReadIdxMap.size() + contig.mReads.size());
  for (int i = 0; i < static_cast<int>(contig.mReads.size()); ++i) contig.mReadIdxMap[contig.mReads[i].mName] = i;
}

void AceFile::CleanInitFromContigs() {
  BuildReadHash();
  ComputeAllContigStats();
}

void AceFile::RemoveContig(int index) {
  if (index < 0 || index >= static_cast<int>(size()) ||
      index >= static_cast<int>(mContigQuality.size()))
    return;
  const int removedReads = static_cast<int>((*this)[index].mReads.size());
  erase(begin() + index);
  mContigQuality.erase(mContigQuality.begin() + index);
  mNumReads -= removedReads;
  mNumContigs -= 1;
}

void AceFile::HeldTagSubjects(StringSet& held) const {
  held.clear();
  StringSet subjects;
  for (const AceTag& tag : mTags)
    if (!IsAssemblyTag(tag.mText)) subjects.insert(TagSubject(tag.mText));
  if (subjects.empty()) return;
  for (const Contig& contig : *this) {
    if (subjects.count(contig.mName) > 0) held.insert(contig.mName);
    for (const Sequence& read : contig.mReads)
      if (subjects.count(read.mName) > 0) held.insert(read.mName);
  }
}

void AceFile::MarkHeldTagSubjects() {
  StringSet held;
  HeldTagSubjects(held);
  for (AceTag& tag : mTags) tag.mSubjectHeld = held.count(TagSubject(tag.mText)) > 0 && !IsAssemblyTag(tag.mText);
}

void AceFile::PrefixContigs(const std::string& prefix) {
  for (Contig& contig : *this) contig.mName = prefix + contig.mName;
}

}  // namespace ostrel
