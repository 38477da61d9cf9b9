// A contig's tags moved with its columns and reads through the edits.
#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ace/Contig.h"

namespace ostrel {

bool Contig::HoldsRead(const std::string& name) const {
  const auto found = mReadIdxMap.find(name);
  if (found != mReadIdxMap.end() && IsPlacedRead(found->second) && mReads[found->second].mName == name) return true;
  // The index may be stale after an edit: the reads themselves decide.
  for (const Sequence& read : mReads)
    if (read.mName == name) return true;
  return false;
}

bool Contig::TakeTag(const AceTag& tag, int64_t shift) {
  if (!tag.OnContig()) {
    if (!HoldsRead(tag.Subject())) return false;
    mTags.push_back(tag);
    return true;
  }
  AceTag moved = tag;
  moved.Rename(mName);
  int64_t first = 0, last = 0;
  if (!tag.Span(first, last)) {
    if (shift != 0) return false;
    mTags.push_back(std::move(moved));
    return true;
  }
  first = std::max<int64_t>(first - shift, 1);
  last = std::min<int64_t>(last - shift, static_cast<int64_t>(mBases.size()));
  if (first > last) return false;
  moved.SetSpan(first, last);
  mTags.push_back(std::move(moved));
  return true;
}

int Contig::HandOutTags(const std::vector<AceTag>& tags, const std::vector<std::pair<Contig*, int64_t>>& homes) {
  int leftOut = 0;
  for (const AceTag& tag : tags) {
    bool taken = false;
    for (const auto& [home, shift] : homes) taken = home->TakeTag(tag, shift) || taken;
    leftOut += !taken;
  }
  return leftOut;
}

void Contig::MirrorTags() {
  std::unordered_map<std::string, size_t> readLength;
  for (const Sequence& read : mReads) readLength.emplace(read.mName, read.mBases.size());
  for (AceTag& tag : mTags) {
    int64_t first = 0, last = 0;
    if (!tag.Span(first, last)) continue;
    int64_t length = static_cast<int64_t>(mBases.size());
    if (!tag.OnContig()) {
      const auto found = readLength.find(tag.Subject());
      if (found == readLength.end()) continue;
      length = static_cast<int64_t>(found->second);
    }
    tag.SetSpan(length + 1 - last, length + 1 - first);
  }
}

}  // namespace ostrel
