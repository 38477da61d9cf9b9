// One contig's reads appended to the right of another's at a column offset,
// and the consensus voted again over the stretch they cover.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "ace/Contig.h"

namespace ostrel {

int Contig::MergeContigRight(Contig& other, int offset) {
  std::vector<ColumnsBefore> before;
  if (mVoteByCount) {
    before.push_back(ColumnsNow(0));
    before.push_back(other.ColumnsNow(-int64_t{offset}));  // its column p lands on p + offset
  }
  // By index rather than by name: other's reads all come across even when
  // its index map is stale or two reads share a name.
  // Counted first: merging a contig with itself must not chase its own copies.
  const int count = static_cast<int>(other.mReads.size());
  for (int i = 0; i < count; ++i) {
    if (!other.IsPlacedRead(i)) continue;
    other.mAlignStart[i] = ClampToInt(int64_t{other.mAlignStart[i]} + offset);
    other.CopyReadEntries(i, *this);
    // As for any copied read, the contig trims wait for the next trim pass.
    mTrimStart = mTrimEnd = 0;
  }

  // The last 0-based column any read reaches; -1 without reads.
  int64_t last = -1;
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i)
    if (IsPlacedRead(i))
      last = std::max(last, int64_t{mAlignStart[i]} + static_cast<int64_t>(mReads[i].mBases.size()) - 2);
  const int64_t length = std::clamp<int64_t>(last + 1, 0, INT32_MAX);
  mBases.resize(static_cast<size_t>(length), '*');
  mQuality.mQualities.resize(static_cast<size_t>(length), 0);
  ComputeConsensus(offset, ClampToInt(length - 1), before);
  mPaddedBases = static_cast<int>(mBases.size());
  // Other's tags come along: its contig tags onto its columns here.
  if (&other != this) {
    std::vector<AceTag> tags;
    tags.swap(other.mTags);
    mTagsLeftOut += HandOutTags(tags, {{this, -int64_t{offset}}}) + other.mTagsLeftOut;
    other.mTagsLeftOut = 0;
  }
  mNumReads = static_cast<int>(mReads.size());
  ComputeSyntheticBS();
  return mNumBaseSeqs;
}

}  // namespace ostrel
