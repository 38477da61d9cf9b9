// Whole-assembly operations on the contig list: the read indexes, removing
// and renaming contigs.
#include "ace/AceFile.h"

#include <algorithm>

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
  mTagsLeftOut += static_cast<int>((*this)[index].mTags.size()) + (*this)[index].mTagsLeftOut;
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

void AceFile::HandTagsToContigs() {
  // The name indexes are made only for the kinds of tag there are: an
  // assembly without tags on its reads needs no index of every read name.
  bool contigTags = false, readTags = false;
  for (const AceTag& tag : mTags) {
    contigTags = contigTags || (tag.OnContig());
    readTags = readTags || (!tag.OnContig() && !tag.OnAssembly());
  }
  if (!contigTags && !readTags) return;
  String2IntMap contigOf, readContigOf;  // the first contig of each name
  for (size_t c = 0; c < size(); ++c) {
    if (contigTags) contigOf.emplace((*this)[c].mName, static_cast<int>(c));
    if (readTags)
      for (const Sequence& read : (*this)[c].mReads) readContigOf.emplace(read.mName, static_cast<int>(c));
  }
  std::vector<AceTag> kept;
  for (AceTag& tag : mTags) {
    if (tag.OnAssembly()) {
      kept.push_back(std::move(tag));
      continue;
    }
    const String2IntMap& owners = tag.OnContig() ? contigOf : readContigOf;
    const auto found = owners.find(tag.Subject());
    if (found == owners.end())
      kept.push_back(std::move(tag));
    else
      (*this)[found->second].mTags.push_back(std::move(tag));
  }
  mTags.swap(kept);
}

std::vector<AceTag> AceFile::TagsInFileOrder(int* leftOut) const {
  StringSet held;
  HeldTagSubjects(held);
  std::vector<AceTag> tags;
  int dropped = 0;
  for (const AceTag& tag : mTags) {
    const bool stays = !tag.mSubjectHeld || held.count(tag.Subject()) > 0;
    if (stays) tags.push_back(tag);
    dropped += !stays;
  }
  for (const Contig& contig : *this)
    for (const AceTag& tag : contig.mTags) {
      const bool stays = !contig.mReads.empty() && (tag.OnContig() || contig.HoldsRead(tag.Subject()));
      dropped += !stays;
      if (!stays) continue;
      tags.push_back(tag);
      if (tag.OnContig() && tag.Subject() != contig.mName) tags.back().Rename(contig.mName);
    }
  std::stable_sort(tags.begin(), tags.end(),
                   [](const AceTag& a, const AceTag& b) { return a.mOrder < b.mOrder; });
  if (leftOut != nullptr) *leftOut = dropped;
  return tags;
}

void AceFile::GatherTags() {
  for (Contig& contig : *this) {
    for (AceTag& tag : contig.mTags) mTags.push_back(std::move(tag));
    contig.mTags.clear();
  }
  std::stable_sort(mTags.begin(), mTags.end(), [](const AceTag& a, const AceTag& b) { return a.mOrder < b.mOrder; });
}

void AceFile::PrefixContigs(const std::string& prefix) {
  for (Contig& contig : *this) contig.mName = prefix + contig.mName;
}

}  // namespace ostrel
