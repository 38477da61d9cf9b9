// Stretches of a contig's consensus and its qualities copied from another
// contig, and the pad columns trailing the consensus trimmed away.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "ace/Contig.h"

namespace ostrel {

void Contig::CopyConsensus(int pos, const Contig& source, int from, int to) {
  // Taken first, since the source may be this contig.
  std::vector<char> bases;
  std::vector<int> values;
  const int64_t count = std::max<int64_t>(int64_t{to} - from + 1, 0);
  const int64_t sourceLength = static_cast<int64_t>(source.mBases.size());
  const std::vector<int>& sourceValues = source.mQuality.mQualities;
  const int64_t lo = std::max<int64_t>(from, 0);
  const int64_t hi = std::min<int64_t>(to, sourceLength - 1);
  for (int64_t k = lo; k <= hi; ++k) {
    bases.push_back(source.mBases[k]);
    values.push_back(k < static_cast<int64_t>(sourceValues.size()) ? sourceValues[k] : 0);
  }

  // A pos past the end is taken as the end: the copy never leaves a run of
  // columns that nothing set (nor asks for a consensus of any size).
  pos = std::min(pos, static_cast<int>(mBases.size()));
  const int64_t length = std::clamp<int64_t>(int64_t{pos} + count, 0, INT32_MAX);
  mBases.resize(static_cast<size_t>(length), '*');
  mQuality.mQualities.resize(static_cast<size_t>(length), 0);
  // Source index k lands on pos + (k - from).
  for (int64_t k = lo; k <= hi; ++k) {
    const int64_t target = int64_t{pos} + (k - from);
    if (target < 0 || target >= length) continue;
    mBases[target] = bases[k - lo];
    mQuality.mQualities[target] = values[k - lo];
  }
}

void Contig::TrimPadTail() {
  if (mBases.empty() || mBases.back() != '*') return;
  size_t length = mBases.size();
  while (length > 0 && mBases[length - 1] == '*') --length;
  mBases.resize(length);
  if (mQuality.mQualities.size() > length) mQuality.mQualities.resize(length);
  mPaddedBases = static_cast<int>(length);
}

}  // namespace ostrel
