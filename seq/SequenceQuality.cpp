// Counting, searching, trimming and printing a read's quality values.
#include "seq/SequenceQuality.h"

#include <algorithm>
#include <iostream>

namespace ostrel {

namespace {

bool PassesPhred20(int quality) { return quality > 19; }

}  // namespace

void SequenceQuality::Concatenate(const SequenceQuality& other) {
  // A copy first: `other` may be this record.
  const std::vector<int> added = other.mQualities;
  mQualities.insert(mQualities.end(), added.begin(), added.end());
}

void SequenceQuality::Reverse() { std::reverse(mQualities.begin(), mQualities.end()); }

long SequenceQuality::CountPhred20() const {
  return static_cast<long>(std::count_if(mQualities.begin(), mQualities.end(), PassesPhred20));
}

long SequenceQuality::FindPhred20(long from) const {
  const long size = static_cast<long>(mQualities.size());
  for (long i = std::max(from, 0L); i < size; ++i)
    if (PassesPhred20(mQualities[i])) return i;
  return size - 1;
}

long SequenceQuality::RFindPhred20(long from) const {
  const long size = static_cast<long>(mQualities.size());
  for (long i = std::min(from, size - 1); i >= 0; --i)
    if (PassesPhred20(mQualities[i])) return i;
  return 0;
}

long SequenceQuality::RFindPhred20() const { return RFindPhred20(static_cast<long>(mQualities.size()) - 1); }

void SequenceQuality::Trim(long left, long right) {
  const long size = static_cast<long>(mQualities.size());
  const long leftEnd = std::min(left, size - 1);
  for (long i = 0; i <= leftEnd; ++i) mQualities[i] = 0;
  for (long i = std::max(right, 0L); i < size; ++i) mQualities[i] = 0;
}

void SequenceQuality::Print(std::ostream& out) const {
  out << '>' << mName << ' ' << mDescription << '\n';
  const size_t size = mQualities.size();
  for (size_t i = 0; i < size; ++i) {
    out << mQualities[i] << ' ';
    if (i > 0 && i % 50 == 0) out << '\n';
  }
  const bool lastLineEnded = size > 1 && (size - 1) % 50 == 0;
  if (!lastLineEnded) out << '\n';
}

void SequenceQuality::Print() const { Print(std::cout); }

}  // namespace ostrel
