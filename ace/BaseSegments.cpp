// Base segments of a contig made up from its reads: which read supplies the
// consensus over each stretch of columns.
//
// The search is greedy and in read order. A pass starts at a column, tries
// the reads in order at the column where the pass has got to, lets each read
// that agrees there run as far as it agrees, and ends after the last read;
// the column where it ended is skipped. Only the reads covering the current
// column matter, so they are kept in a list ordered by read index, reads
// joining as the column reaches their first and leaving once it has passed
// their last: a pass visits covering reads only, and the whole search costs
// about the columns plus the read characters.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <iostream>
#include <vector>

#include "ace/Contig.h"

namespace ostrel {

namespace {

const int kExamples = 9;  // uncovered columns listed in the warning

using UpperTable = std::array<unsigned char, 256>;
const UpperTable& Uppercase() {
  static const UpperTable table = [] {
    UpperTable t;
    for (int c = 0; c < 256; ++c) t[c] = static_cast<unsigned char>(std::toupper(c));
    return t;
  }();
  return table;
}

// A read with characters in the consensus: it shows bases[p + mOffset] at
// every column p in mFirst .. mLast.
struct CoveringRead {
  int mIndex;
  int mFirst;
  int mLast;
  int64_t mOffset;
  const char* mBases;
};

bool ByIndex(const CoveringRead& a, int index) { return a.mIndex < index; }

}  // namespace

void Contig::ComputeSyntheticBS() {
  mBaseSegments.clear();
  const UpperTable& upper = Uppercase();
  const int length = static_cast<int>(mBases.size());

  // The reads that reach into the consensus, by their first column.
  std::vector<CoveringRead> waiting;
  int first, last;
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i)
    if (ReadExtentInConsensus(i, first, last))
      waiting.push_back({i, first, last, 1 - int64_t{mAlignStart[i]}, mReads[i].mBases.data()});
  std::stable_sort(waiting.begin(), waiting.end(),
                   [](const CoveringRead& a, const CoveringRead& b) { return a.mFirst < b.mFirst; });
  size_t nextWaiting = 0;

  // Reads whose first column has been reached, by read index; a read whose
  // last column has been passed leaves when a pass comes to it.
  std::vector<CoveringRead> active;
  auto admit = [&](int p) {
    for (; nextWaiting < waiting.size() && waiting[nextWaiting].mFirst <= p; ++nextWaiting) {
      const CoveringRead& read = waiting[nextWaiting];
      active.insert(std::lower_bound(active.begin(), active.end(), read.mIndex, ByIndex), read);
    }
  };
  // Pad, N and X consensus columns agree with any read character.
  auto agrees = [&](const CoveringRead& read, int p) {
    const unsigned char consensus = upper[static_cast<unsigned char>(mBases[p])];
    return consensus == '*' || consensus == 'N' || consensus == 'X' ||
           upper[static_cast<unsigned char>(read.mBases[p + read.mOffset])] == consensus;
  };

  int uncovered = 0;
  std::vector<int> examples;
  for (int p = 0; p < length;) {
    admit(p);
    bool covered = false;
    // Reads at or after position k of `active` are still to be tried in
    // this pass; the pass ends when the consensus does.
    for (size_t k = 0; k < active.size() && p < length;) {
      const CoveringRead read = active[k];
      if (read.mLast < p) {
        active.erase(active.begin() + static_cast<std::ptrdiff_t>(k));
        continue;
      }
      covered = true;
      if (!agrees(read, p)) {
        ++k;
        continue;
      }
      BaseSegment segment;
      segment.mStart = p + 1;
      segment.mReadName = mReads[read.mIndex].mName;
      for (; p < length && p <= read.mLast && agrees(read, p); ++p) segment.mEnd = p + 1;
      mBaseSegments.push_back(segment);
      // On at the new column with the reads after this one, including any
      // that begin by it.
      admit(p);
      k = static_cast<size_t>(std::upper_bound(active.begin(), active.end(), read.mIndex,
                                               [](int index, const CoveringRead& a) { return index < a.mIndex; }) -
                              active.begin());
    }
    if (!covered && ++uncovered <= kExamples) examples.push_back(p);
    if (p < length) ++p;  // the column where the pass stopped gets no segment
  }

  if (uncovered > 0) {
    std::cerr << '\n'
              << mName << "\tSyntheticBS WARNING: Unable to find read for " << uncovered << " consensus positions.\n"
              << "For example: " << std::endl;
    for (int p : examples) std::cout << "\tconsensus " << p << '\n';
    std::cout << std::flush;
    std::cerr << "mReads.size=" << mReads.size() << '\n' << "mAlignStart.size=" << mAlignStart.size() << std::endl;
  }
  mNumBaseSeqs = static_cast<int>(mBaseSegments.size());
}

}  // namespace ostrel
