// Searching a Sequence's bases for other text and tags, and counting its
// GC content.
#include <algorithm>

#include "seq/Sequence.h"

namespace ostrel {

namespace {

// 0-based index of the first occurrence of [first, last) in `bases`, or -1.
// An empty pattern is found at 0.
long FindIn(const std::vector<char>& bases, const char* first, const char* last) {
  const auto at = std::search(bases.begin(), bases.end(), first, last);
  if (at == bases.end() && first != last) return -1;
  return static_cast<long>(at - bases.begin());
}

}  // namespace

long Sequence::Find(const char* first, const char* last) const { return FindIn(mBases, first, last); }

long Sequence::Find(const Sequence& other) const {
  return FindIn(mBases, other.mBases.data(), other.mBases.data() + other.mBases.size());
}

long Sequence::FindEndOf(Sequence tag, bool& reversed) {
  tag.ToLowerCase();
  ToLowerCase();
  const long tagLength = static_cast<long>(tag.mBases.size());
  long at = Find(tag);
  if (at >= 0) {
    reversed = false;
    // An empty tag gives -1 here and goes on to the reverse search.
    if (at + tagLength - 1 >= 0) return at + tagLength - 1;
  }
  tag.ReverseComplement();
  at = Find(tag);
  if (at < 0) return -1;
  reversed = true;
  return at + tagLength - 1;
}

void Sequence::FindEndOfTag(Sequence& tag, int tagStart, int tagEnd, long& pos, bool& reversed) {
  reversed = false;
  const long tagLength = static_cast<long>(tag.mBases.size());
  if (tagLength < tagStart || tagLength < tagEnd || tagStart < 0 || tagStart > tagEnd) return;
  tag.ToLowerCase();
  ToLowerCase();
  const char* bases = tag.mBases.data();
  pos = Find(bases + tagStart, bases + tagEnd);
  if (pos >= 0) {
    pos += tagEnd - tagStart;
    return;
  }
  // The same stretch of the reverse-complemented tag lies mirrored.
  tag.ReverseComplement();
  bases = tag.mBases.data();
  pos = Find(bases + (tagLength - tagEnd), bases + (tagLength - tagStart));
  reversed = true;
  tag.ReverseComplement();
}

void Sequence::ComputeGCStats(int& length, int& gcCount, int& cpgCount) {
  length = static_cast<int>(mBases.size());
  gcCount = 0;
  cpgCount = 0;
  ToLowerCase();
  for (size_t i = 0; i < mBases.size(); ++i) {
    if (mBases[i] == 'c' || mBases[i] == 'g') ++gcCount;
    if (i + 1 < mBases.size() && mBases[i] == 'c' && mBases[i + 1] == 'g') ++cpgCount;
  }
}

}  // namespace ostrel
