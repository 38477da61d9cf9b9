// Picking minimizers and indexing them.
#include "search/MinimizerIndex.h"

#include <algorithm>
#include <deque>
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

}  // namespace

void MinimizerIndex::Minimizers(const std::vector<char>& bases, int wordSize, int window, std::vector<Minimizer>& out) {
  out.clear();
  if (wordSize < 1 || wordSize > kMaxWordSize || window < 1) return;
  const uint64_t mask = (uint64_t{1} << (2 * wordSize)) - 1;
  uint64_t word = 0;
  int valid = 0;  // bases of ACGT ending here
  std::deque<Minimizer> candidates;  // keys ascending from the front
  const int length = static_cast<int>(bases.size());
  for (int end = 0; end < length; ++end) {
    const int code = BaseCode(bases[end]);
    if (code < 0) {
      valid = 0;
    } else {
      word = ((word << 2) | static_cast<uint64_t>(code)) & mask;
      ++valid;
    }
    const int offset = end - wordSize + 1;  // of the word ending here
    if (valid >= wordSize) {
      const uint64_t key = Mix(word);
      while (!candidates.empty() && candidates.back().mKey > key) candidates.pop_back();
      candidates.push_back(Minimizer{key, offset});
    }
    while (!candidates.empty() && candidates.front().mOffset <= offset - window) candidates.pop_front();
    const bool fullWindow = offset >= window - 1;
    const bool lastWord = end == length - 1;
    if (candidates.empty() || !(fullWindow || lastWord)) continue;
    if (out.empty() || out.back().mOffset != candidates.front().mOffset) out.push_back(candidates.front());
  }
}

void MinimizerIndex::Build(const SequenceVector& reads, int wordSize, int window, int repeatLimit, int threads) {
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
      // About 2 / (w + 1) minimizers a base, a quarter of them in a pass:
      // room made at once spares the copies of a growing array.
      long bases = 0;
      for (size_t r = first; r < end; ++r) bases += Length(reads[r]);
      found[share].reserve(static_cast<size_t>(bases / (window + 1) * 2 / static_cast<long>(kBuildPasses) * 11 / 10));
      std::vector<Minimizer> words;
      for (size_t r = first; r < end; ++r) {
        Minimizers(reads[r].mBases, wordSize, window, words);
        totals[share] += words.size();
        for (const Minimizer& m : words)
          if (m.mKey / (UINT64_MAX / kBuildPasses + 1) == pass)
            found[share].push_back(Occurrence{m.mKey, WordPlace{static_cast<int>(r), m.mOffset}});
      }
    });
    std::vector<Occurrence> all;
    size_t occurrences = 0;
    for (const std::vector<Occurrence>& f : found) occurrences += f.size();
    all.reserve(occurrences);
    for (std::vector<Occurrence>& f : found) {
      all.insert(all.end(), f.begin(), f.end());
      std::vector<Occurrence>().swap(f);
    }
    if (pass == 0) {
      size_t total = 0;
      for (size_t t : totals) total += t;
      mPlaces.reserve(total);
    }
    std::sort(all.begin(), all.end(), [](const Occurrence& a, const Occurrence& b) {
      return a.mKey != b.mKey ? a.mKey < b.mKey
             : a.mPlace.mRead != b.mPlace.mRead ? a.mPlace.mRead < b.mPlace.mRead
                                                : a.mPlace.mOffset < b.mPlace.mOffset;
    });
    for (size_t i = 0; i < all.size(); ++i) {
      if (i == 0 || all[i].mKey != all[i - 1].mKey) {
        mKeys.push_back(all[i].mKey);
        mFirstPlace.push_back(static_cast<uint32_t>(mPlaces.size()));
      }
      mPlaces.push_back(all[i].mPlace);
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
    std::vector<Minimizer> words;
    std::vector<uint32_t>& counts = shareCounts[share];
    for (size_t r = first; r < end; ++r) {
      Minimizers(reads[r].mBases, wordSize, 1, words);
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
  // The places were reserved at their number before the repeats left: a
  // copy to give back that share would, for a moment, hold them twice.
  mKeys.shrink_to_fit();
  mFirstPlace.shrink_to_fit();
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
