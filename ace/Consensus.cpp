// The consensus of a contig voted from its reads: one column, a range of
// columns, a traced column, and a whole new consensus for copied reads.
//
// A column's vote needs only per-letter quality sums, the pad count and the
// depth, none of which depend on read order. So a range is tallied by
// walking each read once over the columns it covers, and then each column is
// decided from its tally: the cost is the columns plus the read characters,
// not the columns times the reads.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <iostream>
#include <limits>
#include <utility>
#include <vector>

#include "ace/Contig.h"

namespace ostrel {

namespace {

const int kMaxQuality = 90;     // a voted quality is clamped to 0 .. this
const int kTraceMinScore = 20;  // the traced vote's least sum for a letter to win

const char kLetters[] = "ACGT";
// Tally slots of a read character: 0 .. 3 for A C G T in either case, then
// the pad, then anything else (N, X, '-', ...), which adds to no sum.
const int kPadSlot = 4;
const int kOtherSlot = 5;

using SlotTable = std::array<unsigned char, 256>;
const SlotTable& Slots() {
  static const SlotTable table = [] {
    SlotTable t;
    t.fill(kOtherSlot);
    for (int k = 0; k < 4; ++k) {
      t[static_cast<unsigned char>(kLetters[k])] = static_cast<unsigned char>(k);
      t[std::tolower(kLetters[k])] = static_cast<unsigned char>(k);
    }
    t['*'] = kPadSlot;
    return t;
  }();
  return table;
}

// What the vote needs of one column. The pad and other slots get sums too,
// only so that adding a character takes no branch.
struct ColumnTally {
  int64_t mSum[6] = {0, 0, 0, 0, 0, 0};
  int mPads = 0;
  int mDepth = 0;

  void Add(unsigned char slot, int quality) {
    mSum[slot] += quality;
    mPads += slot == kPadSlot;
    ++mDepth;
  }
};

int ClampQuality(int64_t sum) { return static_cast<int>(std::clamp<int64_t>(sum, 0, kMaxQuality)); }

// More than half of the column pads (exactly half is not enough).
bool PadsWin(const ColumnTally& tally) { return 2 * int64_t{tally.mPads} > tally.mDepth; }

// How many letters share the largest sum (`best`); `base` becomes each in
// turn, A C G T in order, when that sum reaches `minScore`.
int CountWinners(const ColumnTally& tally, int64_t minScore, char& base, int64_t& best) {
  best = *std::max_element(tally.mSum, tally.mSum + 4);
  int winners = 0;
  for (int k = 0; k < 4; ++k)
    if (tally.mSum[k] == best) {
      ++winners;
      if (best >= minScore) base = kLetters[k];
    }
  return winners;
}

void Vote(const ColumnTally& tally, char& base, int& quality) {
  int64_t best = 0;
  if (tally.mDepth == 0 || PadsWin(tally)) {
    base = '*';
    quality = 0;
  } else if (CountWinners(tally, std::numeric_limits<int64_t>::min(), base, best) > 1) {
    base = 'N';  // a tie, or a column without any letter
    quality = 0;
  } else {
    quality = ClampQuality(best);
  }
}

// Read `readIdx`'s quality at offset q, 0 where its list has no value.
int QualityAt(const Contig& contig, int readIdx, int64_t q) {
  if (readIdx >= static_cast<int>(contig.mReadQuality.size())) return 0;
  const std::vector<int>& values = contig.mReadQuality[readIdx].mQualities;
  return q < static_cast<int64_t>(values.size()) ? values[q] : 0;
}

// Tallies of columns lo .. hi (0-based, lo <= hi), which need not lie in
// the consensus: tallies[p - lo] is column p. Each read is walked once.
// `byCount`: every character weighs 1, its quality aside.
void TallyColumns(const Contig& contig, int64_t lo, int64_t hi, std::vector<ColumnTally>& tallies,
                  bool byCount = false) {
  tallies.assign(static_cast<size_t>(hi - lo + 1), ColumnTally());
  const SlotTable& slots = Slots();
  for (int i = 0; i < static_cast<int>(contig.mReads.size()); ++i) {
    if (!contig.IsPlacedRead(i)) continue;
    const std::vector<char>& bases = contig.mReads[i].mBases;
    // Read offset q shows at column q + shift; all in 64 bits.
    const int64_t shift = int64_t{contig.mAlignStart[i]} - 1;
    const int64_t first = std::max(lo, shift);
    const int64_t last = std::min(hi, shift + static_cast<int64_t>(bases.size()) - 1);
    if (first > last) continue;
    const int64_t q0 = first - shift;
    const int64_t count = last - first + 1;
    ColumnTally* tally = &tallies[first - lo];
    // Offsets with a quality value first, then the rest at quality 0.
    int64_t rated = 0;
    if (byCount) {
      for (int64_t k = 0; k < count; ++k) tally[k].Add(slots[static_cast<unsigned char>(bases[q0 + k])], 1);
      continue;
    }
    if (i < static_cast<int>(contig.mReadQuality.size())) {
      const std::vector<int>& values = contig.mReadQuality[i].mQualities;
      rated = std::clamp<int64_t>(static_cast<int64_t>(values.size()) - q0, 0, count);
      for (int64_t k = 0; k < rated; ++k)
        tally[k].Add(slots[static_cast<unsigned char>(bases[q0 + k])], values[q0 + k]);
    }
    for (int64_t k = rated; k < count; ++k) tally[k].Add(slots[static_cast<unsigned char>(bases[q0 + k])], 0);
  }
}

// Column p as (character, quality) pairs in read order.
std::vector<std::pair<char, int>> GatherColumn(const Contig& contig, int p) {
  std::vector<std::pair<char, int>> column;
  for (int i = 0; i < static_cast<int>(contig.mReads.size()); ++i) {
    if (!contig.IsPlacedRead(i)) continue;
    const int64_t q = contig.ReadOffset(i, p);
    if (q >= 0 && q < static_cast<int64_t>(contig.mReads[i].mBases.size()))
      column.emplace_back(contig.mReads[i].mBases[q], QualityAt(contig, i, q));
  }
  return column;
}

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// The vote by count of a column whose reads changed: `former` is what the
// column showed before ('\0' when it is new).
char VoteByCount(const ColumnTally& tally, char former) {
  if (tally.mDepth == 0 || PadsWin(tally)) return '*';
  char base = 'N';
  int64_t best = 0;
  if (CountWinners(tally, std::numeric_limits<int64_t>::min(), base, best) == 1) return base;
  const int64_t* formerSum = nullptr;
  for (int k = 0; k < 4; ++k)
    if (Upper(former) == kLetters[k]) formerSum = &tally.mSum[k];
  return formerSum != nullptr && *formerSum == best ? former : 'N';
}

// The columns of from..to that the contig has, as lo..hi; false when it has
// none. The reader leaves trailing pad columns without a value: they get 0.
bool ColumnsToVote(Contig& contig, int from, int to, int64_t& lo, int64_t& hi) {
  lo = std::max<int64_t>(from, 0);
  hi = std::min<int64_t>(to, static_cast<int64_t>(contig.mBases.size()) - 1);
  if (lo > hi) return false;
  std::vector<int>& values = contig.mQuality.mQualities;
  if (static_cast<int64_t>(values.size()) <= hi) values.resize(static_cast<size_t>(hi + 1), 0);
  return true;
}

}  // namespace

void Contig::ComputeConsensus(int p, char& base, int& quality) const {
  ColumnTally tally;
  for (const auto& [character, value] : GatherColumn(*this, p))
    tally.Add(Slots()[static_cast<unsigned char>(character)], value);
  Vote(tally, base, quality);
}

void Contig::ComputeConsensus(int from, int to) {
  int64_t lo = 0, hi = 0;
  if (ColumnsToVote(*this, from, to, lo, hi)) {
    std::vector<int>& values = mQuality.mQualities;
    std::vector<ColumnTally> tallies;
    TallyColumns(*this, lo, hi, tallies);
    for (int64_t p = lo; p <= hi; ++p) Vote(tallies[p - lo], mBases[p], values[p]);
  }
  mBaseSegments.clear();
}

void Contig::ComputeConsensus2(int p, char& base, int& quality) const {
  const std::vector<std::pair<char, int>> column = GatherColumn(*this, p);
  std::cout << "bases.size()=" << column.size() << std::endl;
  if (column.empty()) {
    base = '*';
    quality = 0;
    return;
  }
  int64_t total = 0;
  ColumnTally tally;
  for (const auto& [character, value] : column) {
    if (character != '*') total += value;
    tally.Add(Slots()[static_cast<unsigned char>(character)], value);
  }
  std::cout << "totalQualit = " << total << std::endl;
  if (PadsWin(tally)) {
    base = '*';
    quality = 0;
    return;
  }
  int64_t best = 0;
  const int winners = CountWinners(tally, kTraceMinScore, base, best);
  std::cout << "maxScore=" << best << '\n' << "matchCount = " << winners << '\t' << base << std::endl;
  if (winners > 1) {
    base = 'N';
    quality = 0;
    return;
  }
  // The base may still be the caller's, so sum the entries that show it.
  int64_t sum = 0;
  for (const auto& [character, value] : column)
    if (Upper(character) == base) sum += value;
  std::cout << "quality=" << sum << std::endl;
  quality = ClampQuality(sum);
}

void Contig::CreateConsensusForCopy() {
  mBases.clear();
  mQuality.mQualities.clear();
  const int reads = static_cast<int>(mReads.size());

  int64_t smallest = INT64_MAX;
  for (int i = 0; i < reads; ++i)
    if (IsPlacedRead(i)) smallest = std::min<int64_t>(smallest, mAlignStart[i]);
  if (smallest == INT64_MAX) smallest = 99999999;  // the shift when there are no reads
  for (int& start : mAlignStart) start = ClampToInt(start - smallest);

  int64_t length = 0;
  for (int i = 0; i < reads; ++i)
    if (IsPlacedRead(i))
      length = std::max(length, int64_t{mAlignStart[i]} + static_cast<int64_t>(mReads[i].mBases.size()) - 1);
  length = std::min<int64_t>(length, INT32_MAX);  // a consensus length is an int

  if (length > 0) {
    std::vector<ColumnTally> tallies;
    TallyColumns(*this, 0, length - 1, tallies);
    mBases.resize(static_cast<size_t>(length));
    mQuality.mQualities.resize(static_cast<size_t>(length));
    for (int64_t p = 0; p < length; ++p) Vote(tallies[p], mBases[p], mQuality.mQualities[p]);
  }
  mPaddedBases = static_cast<int>(length);
  mNumReads = reads;
  mNumBaseSeqs = static_cast<int>(mBaseSegments.size());
}

ColumnsBefore Contig::ColumnsNow(int64_t shift) const {
  ColumnsBefore now;
  now.mBases = mBases;
  now.mQuality = mQuality.mQualities;
  now.mQuality.resize(mBases.size(), 0);
  now.mShift = shift;
  if (!mBases.empty()) {
    std::vector<ColumnTally> tallies;
    TallyColumns(*this, 0, static_cast<int64_t>(mBases.size()) - 1, tallies, true);
    now.mDepth.reserve(tallies.size());
    for (const ColumnTally& tally : tallies) now.mDepth.push_back(tally.mDepth);
  }
  return now;
}

void Contig::ComputeConsensus(int from, int to, const std::vector<ColumnsBefore>& before) {
  if (!mVoteByCount) {
    ComputeConsensus(from, to);
    return;
  }
  int64_t lo = 0, hi = 0;
  if (ColumnsToVote(*this, from, to, lo, hi)) {
    std::vector<int>& values = mQuality.mQualities;
    std::vector<ColumnTally> tallies;
    TallyColumns(*this, lo, hi, tallies, true);
    for (int64_t p = lo; p <= hi; ++p) {
      const ColumnTally& tally = tallies[p - lo];
      const ColumnsBefore* source = nullptr;  // the first earlier contig that had the column
      bool same = false;
      for (const ColumnsBefore& earlier : before) {
        const int64_t q = p + earlier.mShift;
        if (q < 0 || q >= static_cast<int64_t>(earlier.mDepth.size())) continue;
        if (source == nullptr) source = &earlier;
        if (tally.mDepth > 0 && earlier.mDepth[q] == tally.mDepth) {
          source = &earlier;
          same = true;
          break;
        }
      }
      const int64_t q = source != nullptr ? p + source->mShift : -1;
      if (same) {
        mBases[p] = source->mBases[q];
        values[p] = source->mQuality[q];
        continue;
      }
      const char former = source != nullptr ? source->mBases[q] : '\0';
      mBases[p] = VoteByCount(tally, former);
      values[p] = source != nullptr && mBases[p] == former ? source->mQuality[q] : 0;
      mColumnsRevoted += tally.mDepth > 0;  // a column left without reads is no vote
    }
  }
  mBaseSegments.clear();
}

int Contig::RecomputeConsensus() {
  const std::vector<char> before = mBases;
  ComputeConsensus(0, ClampToInt(static_cast<int64_t>(mBases.size()) - 1));
  ComputeSyntheticBS();
  int kept = 0;
  for (size_t p = 0; p < before.size(); ++p) kept += Upper(before[p]) == Upper(mBases[p]);
  return kept;
}

}  // namespace ostrel
