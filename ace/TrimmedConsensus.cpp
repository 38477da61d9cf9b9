// The good-quality part of a contig consensus without its pads: as a
// sequence (the contig trims) and as FASTA text (the BAC trims).
#include "ace/Contig.h"

#include <algorithm>
#include <cstdint>
#include <ostream>

namespace ostrel {

namespace {

bool IsPad(char c) { return c == '*' || c == '-'; }

// The 0-based indexes from .. to (inclusive) cut to a sequence of `length`
// characters; false when nothing is left.
bool ClipRange(int64_t from, int64_t to, int64_t length, int64_t& first, int64_t& last) {
  first = std::max<int64_t>(from, 0);
  last = std::min<int64_t>(to, length - 1);
  return first <= last;
}

}  // namespace

void Contig::GetTrimmedDepadded(Sequence& out) const {
  out.mName = mName;
  out.mDescription = mDescription;
  int64_t first, last;
  if (!ClipRange(mTrimStart, mTrimEnd, static_cast<int64_t>(mBases.size()), first, last)) return;
  for (int64_t i = first; i <= last; ++i)
    if (!IsPad(mBases[i])) out.mBases.push_back(mBases[i]);
}

int Contig::PrintBACTrimmedContig(std::ostream& out, int minLength) const {
  const int64_t start = mBACTrimStart, end = mBACTrimEnd;  // 64 bits: end - start may leave int
  if (end - start < minLength || start < 0) return 0;
  out << ">" << mName << " " << mDescription << "\n";
  int64_t first, last;
  int written = 0;
  if (ClipRange(start, end, static_cast<int64_t>(mBases.size()), first, last)) {
    for (int64_t i = first; i <= last; ++i) {
      if (IsPad(mBases[i])) continue;
      out.put(mBases[i]);
      if (++written % 50 == 0) out.put('\n');
    }
  }
  if (written % 50 != 0) out.put('\n');
  return written;
}

}  // namespace ostrel
