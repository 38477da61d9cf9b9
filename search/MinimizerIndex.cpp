// Picking minimizers and indexing them.
#include "search/MinimizerIndex.h"

#include <algorithm>
#include <thread>

namespace ostrel {

namespace {

// A bijective mixing of the word's bits: the order of minimizers, random
// enough that runs like AAAA... are not favoured.
uint64_t Mix(uint64_t x) {
  x ^= x >> 31;
  x *= 0x7fb5d329728ea185ULL;
  x ^= x >> 27;
  x *= 0x81dadef4bc2dd44dULL;
  x ^= x >> 33;
  return x;
}

// Where the index files a key. A minimizer is the least key of its
// window, so minimizers' keys crowd towards 0: mixed once more, they fill
// the build's passes and the lookup's buckets evenly.
uint64_t Filed(uint64_t key) { return Mix(key); }

int BaseCode(char c) {
  switch (c) {
    case 'A': case 'a': return 0;
    case 'C': case 'c': return 1;
    case 'G': case 'g': return 2;
    case 'T': case 't': return 3;
  }
  return -1;
}

struct Occurrence {
  uint64_t mKey;
  WordPlace mPlace;
};

// The count of places that the typical place's word has: the median of the
// words' counts, each weighted by itself. `counts` is reordered.
long TypicalCount(std::vector<uint32_t>& counts) {
  std::sort(counts.begin(), counts.end());
  long total = 0;
  for (uint32_t c : counts) total += c;
  long seen = 0;
  for (uint32_t c : counts) {
    seen += c;
    if (2 * seen >= total) return c;
  }
  return 0;
}

// Runs work(first, end, share) over `threads` shares of reads 0 .. count - 1
// at once, share 0 on this thread.
template <typename Work>
void InShares(size_t count, int threads, Work work) {
  const size_t shares = static_cast<size_t>(std::max(1, threads));
  std::vector<std::thread> pool;
  for (size_t share = 1; share < shares; ++share)
    pool.emplace_back(work, count * share / shares, count * (share + 1) / shares, share);
  work(0, count / shares, 0);
  for (std::thread& thread : pool) thread.join();
}

// Appends the occurrences, given in shares of ascending reads and each
// share sorted by key, read and offset, to the keys, their first places and
// the places: a merge, the shares' places of a key following one another.
// Empties the shares.
void AppendInOrder(std::vector<std::vector<Occurrence>>& shares, std::vector<uint64_t>& keys,
                   std::vector<uint32_t>& firstPlace, std::vector<WordPlace>& places) {
  std::vector<size_t> next(shares.size(), 0);
  for (;;) {
    const Occurrence* least = nullptr;
    for (size_t s = 0; s < shares.size(); ++s)
      if (next[s] < shares[s].size() && (least == nullptr || shares[s][next[s]].mKey < least->mKey))
        least = &shares[s][next[s]];
    if (least == nullptr) break;
    const uint64_t key = least->mKey;
    keys.push_back(key);
    firstPlace.push_back(static_cast<uint32_t>(places.size()));
    for (size_t s = 0; s < shares.size(); ++s)
      for (; next[s] < shares[s].size() && shares[s][next[s]].mKey == key; ++next[s])
        places.push_back(shares[s][next[s]].mPlace);
  }
  shares.clear();
}

}  // namespace

void MinimizerIndex::Minimizers(const std::vector<char>& bases, int wordSize, int window, std::vector<Minimizer>& out) {
  out.clear();
  if (wordSize < 1 || wordSize > kMaxWordSize || window < 1) return;
  const uint64_t mask = (uint64_t{1} << (2 * wordSize)) - 1;
  uint64_t word = 0;
  int valid = 0;  // bases of ACGT ending here
  // The candidates, keys ascending from the oldest, in a ring: at most the
  // window's words and the one just entered.
  size_t ringSize = 1;
  while (ringSize < static_cast<size_t>(window) + 1) ringSize *= 2;
  std::vector<Minimizer> ring(ringSize);
  const size_t ringMask = ringSize - 1;
  size_t oldest = 0, end = 0;  // candidates oldest .. end - 1, modulo the ring
  const int length = static_cast<int>(bases.size());
  for (int last = 0; last < length; ++last) {
    const int code = BaseCode(bases[last]);
    if (code < 0) {
      valid = 0;
    } else {
      word = ((word << 2) | static_cast<uint64_t>(code)) & mask;
      ++valid;
    }
    const int offset = last - wordSize + 1;  // of the word ending here
    if (valid >= wordSize) {
      const uint64_t key = Mix(word);
      while (end != oldest && ring[(end - 1) & ringMask].mKey > key) --end;
      ring[end++ & ringMask] = Minimizer{key, offset};
    }
    while (end != oldest && ring[oldest & ringMask].mOffset <= offset - window) ++oldest;
    const bool fullWindow = offset >= window - 1;
    const bool lastWord = last == length - 1;
    if (end == oldest || !(fullWindow || lastWord)) continue;
    const Minimizer& least = ring[oldest & ringMask];
    if (out.empty() || out.back().mOffset != least.mOffset) out.push_back(least);
  }
}

void MinimizerIndex::Build(const PackedReads& reads, int wordSize, int window, int repeatLimit, int threads) {
  mWordSize = wordSize;
  mWindow = window;
  mRepeatWords = 0;
  mKeys.clear();
  mFirstPlace.clear();
  mPlaces.clear();
  const size_t shares = static_cast<size_t>(std::max(1, threads));
  // In passes over the keys' top bits, so that only a share of the
  // occurrences is held (16 bytes each) beside the places (8 bytes each);
  // the passes take the keys in ascending order.
  for (uint64_t pass = 0; pass < kBuildPasses; ++pass) {
    std::vector<std::vector<Occurrence>> found(shares);
    std::vector<size_t> totals(shares, 0);
    InShares(reads.size(), threads, [&](size_t first, size_t end, size_t share) {
      // About 2 / (w + 1) minimizers a base, a share of them in a pass:
      // room made at once spares the copies of a growing array.
      long bases = 0;
      for (size_t r = first; r < end; ++r) bases += reads.Length(r);
      found[share].reserve(static_cast<size_t>(bases / (window + 1) * 2 / static_cast<long>(kBuildPasses) * 11 / 10));
      std::vector<char> read;
      std::vector<Minimizer> words;
      for (size_t r = first; r < end; ++r) {
        reads.Unpack(r, read);
        Minimizers(read, wordSize, window, words);
        totals[share] += words.size();
        for (const Minimizer& m : words) {
          const uint64_t filed = Filed(m.mKey);
          if (filed / (UINT64_MAX / kBuildPasses + 1) == pass)
            found[share].push_back(Occurrence{filed, WordPlace{static_cast<int>(r), m.mOffset}});
        }
      }
      std::sort(found[share].begin(), found[share].end(), [](const Occurrence& a, const Occurrence& b) {
        return a.mKey != b.mKey ? a.mKey < b.mKey
               : a.mPlace.mRead != b.mPlace.mRead ? a.mPlace.mRead < b.mPlace.mRead
                                                  : a.mPlace.mOffset < b.mPlace.mOffset;
      });
    });
    if (pass == 0) {
      size_t total = 0;
      for (size_t t : totals) total += t;
      mPlaces.reserve(total);
    }
    AppendInOrder(found, mKeys, mFirstPlace, mPlaces);
    // The mixing spreads the keys evenly over the passes: the first pass
    // tells how many there will be, so the arrays need not grow by doubling.
    if (pass == 0) {
      const size_t expected = mKeys.size() * kBuildPasses * 9 / 8;
      mKeys.reserve(expected);
      mFirstPlace.reserve(expected + 1);
    }
  }
  mFirstPlace.push_back(static_cast<uint32_t>(mPlaces.size()));
  MakeBuckets();
  // A word is a minimizer only where it is the least of its window, so a
  // repeat's word near the ends of the copies, where the windows reach into
  // the unique bases around them, is a minimizer in few of its places:
  // words are counted in every place, minimizer or not.
  std::vector<std::vector<uint32_t>> shareCounts(shares, std::vector<uint32_t>(mKeys.size(), 0));
  InShares(reads.size(), threads, [&](size_t first, size_t end, size_t share) {
    std::vector<char> read;
    std::vector<Minimizer> words;
    std::vector<uint32_t>& counts = shareCounts[share];
    for (size_t r = first; r < end; ++r) {
      reads.Unpack(r, read);
      Minimizers(read, wordSize, 1, words);
      for (const Minimizer& w : words) {
        const long k = KeyIndex(w.mKey);
        if (k >= 0 && counts[k] < UINT32_MAX) ++counts[k];
      }
    }
  });
  std::vector<uint32_t> counts = std::move(shareCounts[0]);
  for (size_t share = 1; share < shares; ++share)
    for (size_t k = 0; k < counts.size(); ++k)
      counts[k] = static_cast<uint32_t>(std::min<uint64_t>(UINT32_MAX, uint64_t{counts[k]} + shareCounts[share][k]));
  shareCounts.clear();
  std::vector<uint32_t> sorted(counts);
  mRepeatLimit = repeatLimit > 0 ? repeatLimit
                                 : static_cast<int>(std::max<long>(kLeastRepeatLimit, kRepeatFactor * TypicalCount(sorted)));
  // Only the words in no more places than the limit stay.
  size_t keys = 0, places = 0;
  for (size_t k = 0; k < mKeys.size(); ++k) {
    if (counts[k] > static_cast<uint32_t>(mRepeatLimit)) {
      ++mRepeatWords;
      continue;
    }
    const uint32_t first = mFirstPlace[k], end = mFirstPlace[k + 1];
    mKeys[keys] = mKeys[k];
    mFirstPlace[keys] = static_cast<uint32_t>(places);
    for (uint32_t p = first; p < end; ++p) mPlaces[places++] = mPlaces[p];
    ++keys;
  }
  mKeys.resize(keys);
  mFirstPlace.resize(keys + 1);
  mFirstPlace[keys] = static_cast<uint32_t>(places);
  mPlaces.resize(places);
  // The arrays were reserved at their size before the repeats left: a copy
  // to give back that share would, for a moment, hold them twice.
  MakeBuckets();
}

void MinimizerIndex::MakeBuckets() {
  // About one key per bucket: a lookup is a bucket and a short scan.
  int bits = 1;
  while (bits < 40 && (size_t{1} << bits) < mKeys.size()) ++bits;
  mBucketShift = 64 - bits;
  mBucket.assign((size_t{1} << bits) + 1, 0);
  size_t k = 0;
  for (size_t b = 0; b < (size_t{1} << bits); ++b) {
    mBucket[b] = static_cast<uint32_t>(k);
    while (k < mKeys.size() && (mKeys[k] >> mBucketShift) == b) ++k;
  }
  mBucket.back() = static_cast<uint32_t>(mKeys.size());
}

long MinimizerIndex::KeyIndex(uint64_t key) const {
  if (mKeys.empty()) return -1;
  key = Filed(key);
  const size_t bucket = key >> mBucketShift;
  for (uint32_t k = mBucket[bucket]; k < mBucket[bucket + 1]; ++k)
    if (mKeys[k] == key) return k;
  return -1;
}

const WordPlace* MinimizerIndex::Find(uint64_t key, size_t& count) const {
  const long k = KeyIndex(key);
  count = k < 0 ? 0 : mFirstPlace[k + 1] - mFirstPlace[k];
  return k < 0 ? nullptr : mPlaces.data() + mFirstPlace[k];
}

}  // namespace ostrel
