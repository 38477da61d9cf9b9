// Base segments of a contig made up from its reads: which read supplies the
// consensus over each stretch of columns.
//
// The search is greedy and in read order. A pass starts at a column, tries
// the reads in order at the column where the pass has got to, lets each read
// that agrees there run as far as it agrees, and ends after the last read;
// the column where it ended is skipped. Only the reads covering the current
// column matter, so they are kept in a list ordered by read index, reads
// joining as the column reaches their first and leaving after their last: a
// pass visits covering reads only, and the whole search costs about the
// columns plus the read characters.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <iostream>
#include <utility>
#include <vector>

#include "ace/Contig.h"

namespace ostrel {

namespace {

const int kExamples = 9;  // uncovered columns listed in the warning

// Upper case of the ASCII letters; every other byte is itself. So a read
// character c shows upper-case letter u exactly when c is u or u + 32.
using UpperTable = std::array<unsigned char, 256>;
const UpperTable& Uppercase() {
  static const UpperTable table = [] {
    UpperTable t;
    for (int c = 0; c < 256; ++c) t[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    return t;
  }();
  return table;
}

// Pad, N and X consensus columns agree with any read character.
bool AgreesWithAny(unsigned char upperConsensus) {
  return upperConsensus == '*' || upperConsensus == 'N' || upperConsensus == 'X';
}

// A read with characters in the consensus: it shows mBases[p + mOffset] at
// every column p from its first (kept apart) to mLast.
struct CoveringRead {
  int mIndex;
  int mLast;
  int64_t mOffset;
  const char* mBases;
};

}  // namespace

void Contig::ComputeSyntheticBS() {
  mBaseSegments.clear();
  const UpperTable& upper = Uppercase();
  const int length = static_cast<int>(mBases.size());

  // The reads that reach into the consensus, in read order, and how many
  // of them begin and end at each column.
  std::vector<CoveringRead> reads;
  std::vector<int> firsts;
  std::vector<int> startsAt(static_cast<size_t>(length) + 1, 0), endsAt(static_cast<size_t>(length), 0);
  int first, last;
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i)
    if (ReadExtentInConsensus(i, first, last)) {
      reads.push_back({i, last, 1 - int64_t{mAlignStart[i]}, mReads[i].mBases.data()});
      firsts.push_back(first);
      ++startsAt[first + 1];
      ++endsAt[last];
    }
  // The same reads by first column (a counting sort; read order within a column).
  for (int p = 0; p < length; ++p) startsAt[p + 1] += startsAt[p];
  std::vector<int> byFirst(reads.size());
  for (size_t j = 0; j < reads.size(); ++j) byFirst[startsAt[firsts[j]]++] = static_cast<int>(j);

  // The reads covering the current column, by read index: reads join when
  // the column reaches their first, and whenever it has passed the last of
  // some read those are swept out, so the list is as long as the depth.
  std::vector<CoveringRead> active;
  size_t admitted = 0, ended = 0;
  int endedBelow = 0;  // the reads ending left of this column are counted in `ended`
  // Returns whether the list changed.
  auto moveTo = [&](int p) {
    const size_t admittedBefore = admitted;
    for (; admitted < byFirst.size() && firsts[byFirst[admitted]] <= p; ++admitted) {
      const CoveringRead& read = reads[byFirst[admitted]];
      active.insert(std::lower_bound(active.begin(), active.end(), read.mIndex,
                                     [](const CoveringRead& a, int index) { return a.mIndex < index; }),
                    read);
    }
    const size_t endedBefore = ended;
    for (; endedBelow < p; ++endedBelow) ended += endsAt[endedBelow];
    if (ended != endedBefore)
      active.erase(std::remove_if(active.begin(), active.end(), [p](const CoveringRead& a) { return a.mLast < p; }),
                   active.end());
    return admitted != admittedBefore || ended != endedBefore;
  };

  int uncovered = 0;
  std::vector<int> examples;
  for (int p = 0; p < length;) {
    moveTo(p);
    bool covered = false;
    size_t k = 0;  // active[k ..] are still to be tried in this pass
    while (p < length) {
      // The next read that agrees with the consensus at p: the one at k
      // when any character does, else the next showing the consensus
      // letter in either case.
      const unsigned char want = upper[static_cast<unsigned char>(mBases[p])];
      const CoveringRead* list = active.data();
      const size_t count = active.size();
      covered = covered || k < count;
      if (!AgreesWithAny(want)) {
        const char shown = static_cast<char>(want);
        const char lower = static_cast<char>(want >= 'A' && want <= 'Z' ? want + 32 : want);
        for (; k < count; ++k) {
          const char c = list[k].mBases[p + list[k].mOffset];
          if (c == shown || c == lower) break;
        }
      }
      if (k == count) break;
      const CoveringRead read = list[k];
      BaseSegment segment;
      segment.mStart = p + 1;
      segment.mReadName = mReads[read.mIndex].mName;
      for (; p < length && p <= read.mLast; ++p) {
        const unsigned char c = upper[static_cast<unsigned char>(mBases[p])];
        if (!AgreesWithAny(c) && upper[static_cast<unsigned char>(read.mBases[p + read.mOffset])] != c) break;
        segment.mEnd = p + 1;
      }
      mBaseSegments.push_back(std::move(segment));
      // On at the new column with the reads after this one: the next entry,
      // unless reads joined or left the list on the way.
      if (moveTo(p))
        k = static_cast<size_t>(std::upper_bound(active.begin(), active.end(), read.mIndex,
                                                 [](int index, const CoveringRead& a) { return index < a.mIndex; }) -
                                active.begin());
      else
        ++k;
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
