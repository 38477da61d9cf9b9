// The per-read entries of a contig (read, start, strand, quality, trims, QA
// line, record fields, index and template entries) appended, copied and erased together,
// so that the parallel vectors stay in step through every read edit.
#include <string>
#include <utility>
#include <vector>

#include "ace/Contig.h"

namespace ostrel {

namespace {

// Makes an optional per-read vector end at `index` (cut when it ran past,
// grown with `missing` when it lagged) and sets that entry.
// `value` is taken by copy: it may be an entry of the vector being resized.
template <typename T>
void SetLastEntry(std::vector<T>& entries, int index, T value, const T& missing) {
  entries.resize(static_cast<size_t>(index), missing);
  entries.push_back(std::move(value));
}

// Keeps the entries whose read is not marked gone; a vector shorter than the
// reads loses only the entries it has.
template <typename T>
void KeepUnmarked(std::vector<T>& entries, const std::vector<char>& gone) {
  size_t kept = 0;
  for (size_t i = 0; i < entries.size(); ++i)
    if (i >= gone.size() || !gone[i]) {
      if (kept != i) entries[kept] = std::move(entries[i]);
      ++kept;
    }
  entries.resize(kept);
}

}  // namespace

int Contig::AppendReadEntry(const Sequence& read, int start, char strand) {
  // A vector that ran ahead of mReads would put the new read's start on
  // another read's slot, so all three end where mReads ends first.
  const size_t index = mReads.size();
  mAlignStart.resize(index, 0);
  mComplemented.resize(index, 'U');
  mReads.push_back(read);
  mAlignStart.push_back(start);
  mComplemented.push_back(strand);
  return static_cast<int>(index);
}

void Contig::SetReadQualityEntry(int readIdx, const SequenceQuality& quality) {
  if (readIdx < 0) return;
  SetLastEntry(static_cast<std::vector<SequenceQuality>&>(mReadQuality), readIdx, quality, SequenceQuality());
}

int Contig::CopyReadEntries(int readIdx, Contig& dest) const {
  if (!IsPlacedRead(readIdx)) return -1;
  // `dest` may be this contig, whose vectors the appends below may move.
  const std::string name = mReads[readIdx].mName;
  const int n = dest.AppendReadEntry(mReads[readIdx], mAlignStart[readIdx], mComplemented[readIdx]);
  dest.mReadIdxMap[name] = n;

  const size_t i = static_cast<size_t>(readIdx);
  dest.SetReadQualityEntry(n, i < mReadQuality.size() ? mReadQuality[i] : SequenceQuality());
  SetLastEntry(dest.mReadTrimStart, n, i < mReadTrimStart.size() ? mReadTrimStart[i] : 0, 0);
  SetLastEntry(dest.mReadTrimEnd, n, i < mReadTrimEnd.size() ? mReadTrimEnd[i] : 0, 0);
  SetLastEntry(dest.mQALines, n, i < mQALines.size() ? mQALines[i] : std::string(), std::string());
  SetLastEntry(dest.mReadRecords, n, i < mReadRecords.size() ? mReadRecords[i] : ReadRecordFields(),
               ReadRecordFields());

  // The copy keeps its template (the empty name when it has none) but not
  // its direction, which then reads as forward.
  const auto templ = mReadTemplate.find(name);
  const std::string templateName = templ == mReadTemplate.end() ? std::string() : templ->second;
  dest.mReadTemplate[name] = templateName;
  dest.mTemplateReads.emplace(templateName, n);
  return n;
}

void Contig::EraseReadEntries(int readIdx) {
  if (readIdx < 0 || readIdx >= static_cast<int>(mReads.size())) return;
  std::vector<char> gone(mReads.size(), 0);
  gone[static_cast<size_t>(readIdx)] = 1;
  EraseReadEntries(gone);
}

void Contig::EraseReadEntries(const std::vector<char>& gone) {
  KeepUnmarked(static_cast<std::vector<Sequence>&>(mReads), gone);
  KeepUnmarked(mAlignStart, gone);
  KeepUnmarked(mComplemented, gone);
  KeepUnmarked(static_cast<std::vector<SequenceQuality>&>(mReadQuality), gone);
  KeepUnmarked(mReadTrimStart, gone);
  KeepUnmarked(mReadTrimEnd, gone);
  KeepUnmarked(mQALines, gone);
  KeepUnmarked(mReadRecords, gone);
  // Every later read's index moved, so the maps are made anew.
  RebuildTemplateInfo();
}

}  // namespace ostrel
