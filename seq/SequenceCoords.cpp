// The maps between a Sequence's padded indexes and depadded positions.
//
// Both maps are caches over the bases, rebuilt wholesale: Padded2Depadded
// notices a change of length, Depadded2Padded only an empty map.
#include "seq/Sequence.h"

#include <algorithm>
#include <climits>

namespace ostrel {

namespace {

bool IsPad(char c) { return c == '*' || c == '-'; }

// Extrapolated positions saturate at the ends of the int range.
int Saturate(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

}  // namespace

void Sequence::ComputePadded2Depadded() {
  mPadded2Depadded.resize(mBases.size());
  int depadded = 0;
  for (size_t i = 0; i < mBases.size(); ++i) {
    if (!IsPad(mBases[i])) ++depadded;
    mPadded2Depadded[i] = depadded;
  }
}

void Sequence::ComputeDepadded2Padded() {
  if (mPadded2Depadded.size() != mBases.size()) ComputePadded2Depadded();
  const int nonPads = mPadded2Depadded.empty() ? 0 : mPadded2Depadded.back();
  mDepadded2Padded.assign(static_cast<size_t>(nonPads) + 1, 0);
  // Each depadded position takes the padded index where the count first
  // reaches it; a leading pad claims entry 0, which is 0 all the same.
  int previous = -1;
  for (size_t i = 0; i < mPadded2Depadded.size(); ++i) {
    const int depadded = mPadded2Depadded[i];
    if (depadded != previous) mDepadded2Padded[depadded] = static_cast<int>(i);
    previous = depadded;
  }
}

int Sequence::Padded2Depadded(int i) {
  if (mPadded2Depadded.size() != mBases.size()) ComputePadded2Depadded();
  // An empty sequence continues the rule for negative indexes.
  if (i < 0 || mPadded2Depadded.empty()) return Saturate(i + 1LL);
  const long long entries = static_cast<long long>(mPadded2Depadded.size());
  if (i < entries) return mPadded2Depadded[i];
  return Saturate(i - (entries - 1) + mPadded2Depadded.back());
}

int Sequence::Depadded2Padded(int k) {
  if (mDepadded2Padded.empty()) ComputeDepadded2Padded();
  // An empty sequence continues the rule for positions below 1.
  if (k < 1 || mBases.empty()) return Saturate(k - 1LL);
  const long long last = static_cast<long long>(mDepadded2Padded.size()) - 1;
  if (k < last) return mDepadded2Padded[k];
  return Saturate(k - last + mDepadded2Padded[last]);
}

}  // namespace ostrel
