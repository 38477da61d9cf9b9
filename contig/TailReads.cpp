// Reads hanging into either end of a contig without a good mate to hold
// them there, removed, with the consensus of both ends voted again.
#include <cstdint>
#include <string>
#include <vector>

#include "ace/Contig.h"

namespace ostrel {

void Contig::RemoveTails(int leftEnd, int rightStart, std::vector<std::string>& removed) {
  std::vector<std::string> listed;
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i) {
    if (!IsPlacedRead(i)) continue;
    const int64_t start = mAlignStart[i];
    const int64_t length = static_cast<int64_t>(mReads[i].mBases.size());
    const bool inLeftTail = start <= leftEnd;
    const bool pastRightStart = int64_t{rightStart} - start + 1 < length;
    // A read reaching into both tails is listed once.
    if ((inLeftTail || pastRightStart) && !HasGoodMateInContig(mReads[i].mName)) listed.push_back(mReads[i].mName);
  }
  const std::vector<ColumnsBefore> before = {mVoteByCount ? ColumnsNow(0) : ColumnsBefore()};
  RemoveReads(listed);
  removed.insert(removed.end(), listed.begin(), listed.end());
  // Both tails lost reads; a column left without any votes '*'.
  ComputeConsensus(0, leftEnd, before);
  ComputeConsensus(rightStart, ClampToInt(static_cast<int64_t>(mBases.size()) - 1), before);
  TrimPadTail();
  if (listed.empty()) return;
  // The tags of the reads removed, and of columns cut off the end, go.
  std::vector<AceTag> tags;
  tags.swap(mTags);
  mTagsLeftOut += HandOutTags(tags, {{this, 0}});
}

}  // namespace ostrel
