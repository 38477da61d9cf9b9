// Reads moved between contigs, removed and added, and alignment starts
// shifted to a new origin.
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ace/Contig.h"

namespace ostrel {

namespace {

// The AddReads check: one start per read, and at least one read.
bool ReadListsFit(size_t reads, size_t starts) {
  if (reads > 0 && starts == reads) return true;
  std::cerr << "AddReads ERROR: offset.size=" << starts << " Reads.size=" << reads << std::endl;
  return false;
}

}  // namespace

void Contig::CopyRead(Contig& dest, const std::string& name) const {
  const auto found = mReadIdxMap.find(name);
  if (found == mReadIdxMap.end()) {
    std::cout << "Can't move " << name << " Doesn't exist." << std::endl;
    return;
  }
  // A placeholder until dest's segments are rebuilt; made first, since
  // `name` may be a read's own name, which the copy may move.
  BaseSegment segment;
  segment.mStart = 0;
  segment.mEnd = 0;
  segment.mReadName = name;
  if (CopyReadEntries(found->second, dest) < 0) return;  // index map out of step
  dest.mBaseSegments.assign(1, segment);
  dest.mTrimStart = 0;
  dest.mTrimEnd = 0;
}

void Contig::RemoveRead(const std::string& name) {
  const auto found = mReadIdxMap.find(name);
  if (found == mReadIdxMap.end()) {
    std::cerr << "Can't remove " << name << " Not in index." << std::endl;
    return;
  }
  const int index = found->second;
  if (index < 0 || index >= static_cast<int>(mReads.size())) {
    std::cerr << "ERROR: Remove rIdx =" << index << " mReads.size=" << mReads.size() << std::endl;
    return;
  }
  EraseReadEntries(index);
  mBaseSegments.clear();
}

void Contig::RemoveReads(const std::vector<std::string>& names) {
  // One at a time until a read goes: the index map may be out of step
  // before, and is rebuilt from the reads once one is removed.
  size_t next = 0;
  while (next < names.size()) {
    const size_t before = mReads.size();
    RemoveRead(names[next++]);
    if (mReads.size() != before) break;
  }
  if (next >= names.size()) return;

  // The rest in one pass. A name is found, as the rebuilt map finds it, at
  // the last read still held under it.
  std::unordered_map<std::string, std::vector<int>, BasicStringHashF> indexes;
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i) indexes[mReads[i].mName].push_back(i);
  std::vector<char> gone(mReads.size(), 0);
  bool any = false;
  for (; next < names.size(); ++next) {
    const auto found = indexes.find(names[next]);
    if (found == indexes.end() || found->second.empty()) {
      std::cerr << "Can't remove " << names[next] << " Not in index." << std::endl;
      continue;
    }
    gone[static_cast<size_t>(found->second.back())] = 1;
    found->second.pop_back();
    any = true;
  }
  if (!any) return;
  EraseReadEntries(gone);
  mBaseSegments.clear();
}

void Contig::AddReads(const SequenceVector& reads, const SequenceQualityVector& qualities,
                      const std::vector<int>& starts) {
  // The quality list is held to the same rule as the start list; the
  // message gives the size of the first list that does not fit.
  const size_t misfit = starts.size() != reads.size() ? starts.size() : qualities.size();
  if (!ReadListsFit(reads.size(), misfit)) return;
  // Counted first: `reads` may be this contig's own read list.
  const size_t count = reads.size();
  for (size_t j = 0; j < count; ++j) {
    const int index = AppendReadEntry(reads[j], starts[j], 'U');
    SetReadQualityEntry(index, qualities[j]);
  }
  mNumReads = static_cast<int>(mReads.size());
  ComputeSyntheticBS();
}

void Contig::AddReads(const SequenceVector& reads, const std::vector<int>& starts) {
  if (!ReadListsFit(reads.size(), starts.size())) return;
  const size_t count = reads.size();
  for (size_t j = 0; j < count; ++j) AppendReadEntry(reads[j], starts[j], 'U');
  mNumReads = static_cast<int>(mReads.size());
  ComputeSyntheticBS();
}

void Contig::AddReadsNoBS(const SequenceVector& reads, const std::vector<int>& starts,
                          const std::vector<char>& strands) {
  // A strand list shorter than the reads leaves the rest 'U'.
  if (!ReadListsFit(reads.size(), starts.size())) return;
  const size_t count = reads.size();
  for (size_t j = 0; j < count; ++j) AppendReadEntry(reads[j], starts[j], j < strands.size() ? strands[j] : 'U');
  mNumReads = static_cast<int>(mReads.size());
  mNumBaseSeqs = static_cast<int>(mBaseSegments.size());
}

void Contig::AddReadsNoBS(const SequenceVector& reads, const std::vector<int>& starts) {
  AddReadsNoBS(reads, starts, std::vector<char>(reads.size(), 'U'));
}

void Contig::FixupAlignStarts(int base, int& min, int& max) {
  if (mAlignStart.empty()) {
    min = 99999999;
    max = 0;
  } else {
    min = *std::min_element(mAlignStart.begin(), mAlignStart.end());
    max = *std::max_element(mAlignStart.begin(), mAlignStart.end());
  }
  mOriginalMinStart = min;
  mOriginalMaxStart = max;
  const int64_t shift = int64_t{base} - min;
  for (int& start : mAlignStart) start = ClampToInt(start + shift);
}

}  // namespace ostrel
