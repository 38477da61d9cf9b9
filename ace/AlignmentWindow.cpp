// Questions about a window of consensus columns: which reads reach into it
// and what they hold in one of its columns.
#include "ace/Contig.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace ostrel {

namespace {

// The offsets a read counts with in these queries start at 1: its first
// character is left out.
constexpr int64_t kFirstCountedOffset = 1;

// True when placed read `readIdx` has a counted character in one of the
// columns start .. end - 1. Works on offset ranges, so a wide window costs
// no more than a narrow one.
bool HasCharacterInWindow(const Contig& contig, int readIdx, int start, int end) {
  const int64_t length = static_cast<int64_t>(contig.mReads[readIdx].mBases.size());
  const int64_t from = std::max(contig.ReadOffset(readIdx, start), kFirstCountedOffset);
  const int64_t to = std::min(contig.ReadOffset(readIdx, end), length);  // exclusive
  return from < to;
}

}  // namespace

int Contig::GetNumReadsInWindow(int start, int end) const {
  int count = 0;
  for (int r = 0; r < static_cast<int>(mReads.size()); ++r)
    if (IsPlacedRead(r) && HasCharacterInWindow(*this, r, start, end)) ++count;
  return count;
}

std::string Contig::GetWindowReadName(int start, int end, int n) const {
  int seen = 0;
  for (int r = 0; r < static_cast<int>(mReads.size()); ++r) {
    if (!IsPlacedRead(r) || !HasCharacterInWindow(*this, r, start, end)) continue;
    if (seen++ == n) return mReads[r].mName;
  }
  return "NOT FOUND";
}

std::string Contig::GetAlignedCharacters(int start, int end, int column) const {
  std::string characters;
  for (int r = 0; r < static_cast<int>(mReads.size()); ++r) {
    if (!IsPlacedRead(r) || !HasCharacterInWindow(*this, r, start, end)) continue;
    const std::vector<char>& bases = mReads[r].mBases;
    const int64_t q = ReadOffset(r, column);
    characters.push_back(q >= kFirstCountedOffset && q < static_cast<int64_t>(bases.size()) ? bases[q] : ' ');
  }
  return characters;
}

}  // namespace ostrel
