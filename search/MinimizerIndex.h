// A lean word index of reads for finding overlaps: only each read's
// minimizers are kept, and words so frequent that they must come from
// repeats are left out.
//
// A word is k bases (k at most 31) packed two bits a base; words holding
// anything but A, C, G and T are not taken. Words are ordered by a mixing of
// their bits, and of every w consecutive words of a read the least is its
// minimizer (the leftmost on ties), so that two reads sharing a stretch of
// w + k - 1 bases share its minimizer. Both sides of a comparison take the
// same words: the index holds the minimizers of the reads' own strands, a
// query looks up those of its strand or of its reverse complement.
//
// The index keeps, per distinct word, its places (read, offset), 8 bytes a
// place: about 16 bytes per 10 bases at w = 10, against one entry per base
// in the sample index. It holds up to 2^32 - 1 places.
#ifndef OSTREL_SEARCH_MINIMIZERINDEX_H
#define OSTREL_SEARCH_MINIMIZERINDEX_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "seq/PackedReads.h"

namespace ostrel {

// A minimizer of a read: its word, mixed, and the offset of its first base.
struct Minimizer {
  uint64_t mKey;
  int mOffset;
};

// Where a word occurs: read index and offset of the word's first base.
struct WordPlace {
  int mRead;
  int mOffset;
};

class MinimizerIndex {
public:
  static constexpr int kMaxWordSize = 31;
  // Without a given limit, a word found in more places than this many
  // times the places of a typical word is taken for a repeat.
  static constexpr int kRepeatFactor = 4;
  // ... and never below this many places, so that low coverage keeps its
  // words.
  static constexpr int kLeastRepeatLimit = 10;
  // Building reads the reads this many times, holding a share of their
  // minimizers at a time.
  static constexpr uint64_t kBuildPasses = 4;

  // The minimizers of `bases`, in order of offset, each once.
  static void Minimizers(const std::vector<char>& bases, int wordSize, int window, std::vector<Minimizer>& out);

  // Indexes the minimizers of every read. Words found in more than
  // `repeatLimit` places (counting every place of the word in the reads,
  // not only those where it is a minimizer) are left out; 0 sets the limit
  // from the reads (see kRepeatFactor). wordSize must be 1 .. kMaxWordSize, window at least 1.
  // The reads are read by `threads` threads at once; the index is the same
  // whatever their number.
  void Build(const PackedReads& reads, int wordSize, int window, int repeatLimit, int threads = 1);

  // The places of the word, in order of read and offset; empty when the
  // word is not indexed.
  const WordPlace* Find(uint64_t key, size_t& count) const;

  int mWordSize = 0;
  int mWindow = 0;
  int mRepeatLimit = 0;     // the limit used
  long mRepeatWords = 0;    // distinct words left out as repeats
  size_t Words() const { return mKeys.size(); }
  size_t Places() const { return mPlaces.size(); }

private:
  void MakeBuckets();
  // The index of the key in mKeys; -1 when absent.
  long KeyIndex(uint64_t key) const;

  std::vector<uint64_t> mKeys;        // distinct keys, mixed once more to spread them, ascending
  std::vector<uint32_t> mFirstPlace;  // per key, its first place; one more entry closing the last
  std::vector<WordPlace> mPlaces;
  std::vector<uint32_t> mBucket;      // first key of each top-bits bucket, one more closing the last
  int mBucketShift = 64;
};

}  // namespace ostrel

#endif
