// The consensus vote and the base-segment search as they are defined: every
// read looked at for every column. The library's forms must give the same
// results; the tests and the consensus benchmark compare them with these.
#ifndef OSTREL_TESTS_CONSENSUSREFERENCE_H
#define OSTREL_TESTS_CONSENSUSREFERENCE_H

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <vector>

#include "ace/Contig.h"

namespace ostrel::test {

// The vote as stated: gather the column, sum per letter, count pads.
inline void PlainVote(const Contig& contig, int p, char& base, int& quality) {
  int64_t sums[4] = {0, 0, 0, 0};
  int pads = 0, depth = 0;
  for (size_t i = 0; i < contig.mReads.size(); ++i) {
    const int64_t q = int64_t{p} - contig.mAlignStart[i] + 1;
    if (q < 0 || q >= static_cast<int64_t>(contig.mReads[i].mBases.size())) continue;
    const std::vector<int>* values = i < contig.mReadQuality.size() ? &contig.mReadQuality[i].mQualities : nullptr;
    const int value = values != nullptr && q < static_cast<int64_t>(values->size()) ? (*values)[q] : 0;
    const char c = static_cast<char>(std::toupper(contig.mReads[i].mBases[q]));
    ++depth;
    if (c == '*') ++pads;
    for (int k = 0; k < 4; ++k)
      if (c == "ACGT"[k]) sums[k] += value;
  }
  base = '*';
  quality = 0;
  if (depth == 0 || pads * 2 > depth) return;
  const int64_t best = *std::max_element(sums, sums + 4);
  if (std::count(sums, sums + 4, best) > 1) {
    base = 'N';
    return;
  }
  base = "ACGT"[std::find(sums, sums + 4, best) - sums];
  quality = static_cast<int>(std::clamp<int64_t>(best, 0, 90));
}

struct Search {
  std::vector<BaseSegment> mSegments;
  int mUncovered = 0;
  std::vector<int> mExamples;
  int mPasses = 0;
};

// The search as stated: every pass tries every read in order at the column
// it has got to; a read can only agree at a column of the consensus.
inline Search PlainSearch(const Contig& contig) {
  Search search;
  const int length = static_cast<int>(contig.mBases.size());
  auto upper = [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); };
  for (int p = 0; p < length; ++p) {
    ++search.mPasses;
    bool covered = false;
    for (size_t r = 0; r < contig.mReads.size(); ++r) {
      const std::vector<char>& read = contig.mReads[r].mBases;
      int64_t q = int64_t{p} - contig.mAlignStart[r] + 1;
      if (q < 0 || q >= static_cast<int64_t>(read.size())) continue;
      covered = true;
      auto agrees = [&] {
        if (p >= length || q >= static_cast<int64_t>(read.size())) return false;
        const char c = upper(contig.mBases[p]);
        return c == '*' || c == 'N' || c == 'X' || upper(read[q]) == c;
      };
      if (!agrees()) continue;
      BaseSegment segment;
      segment.mStart = p + 1;
      segment.mReadName = contig.mReads[r].mName;
      for (; agrees(); ++p, ++q) segment.mEnd = p + 1;
      search.mSegments.push_back(segment);
    }
    if (!covered && ++search.mUncovered <= 9) search.mExamples.push_back(p);
  }
  return search;
}

}  // namespace ostrel::test

#endif
