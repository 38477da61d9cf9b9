// A read set held two bits a base: the lean store of reads that are only
// compared, never edited. A, C, G and T are packed; any other character
// (N, lower case, ambiguity codes, pads) is kept aside with its place, so
// that every read gives back exactly the characters it was given. Reads
// are numbered from 0 in the order they were added.
#ifndef OSTREL_SEQ_PACKEDREADS_H
#define OSTREL_SEQ_PACKEDREADS_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "seq/Sequence.h"

namespace ostrel {

class PackedReads {
public:
  // Bases are packed into blocks of this many 64-bit words, so that the
  // store grows without the copies (and twice the room) of one growing array.
  static constexpr size_t kBlockWords = size_t{1} << 16;

  // Appends the read's name and bases (its description and maps are not kept).
  void Add(const Sequence& read);

  size_t size() const { return mNames.size(); }
  bool empty() const { return mNames.empty(); }
  const std::string& Name(size_t read) const { return mNames[read]; }
  int Length(size_t read) const { return static_cast<int>(mStarts[read + 1] - mStarts[read]); }
  long TotalBases() const { return static_cast<long>(mStarts.back()); }
  // The read's characters, replacing those of `out`.
  void Unpack(size_t read, std::vector<char>& out) const;

private:
  // A character other than A, C, G and T: its offset in its read.
  struct Other {
    uint32_t mOffset;
    char mChar;
  };

  std::vector<std::string> mNames;
  std::vector<uint64_t> mStarts{0};     // per read, its first base in the store; one more closing the last
  std::vector<size_t> mFirstOther{0};   // per read, its first entry in mOthers; one more closing the last
  std::vector<Other> mOthers;
  std::vector<std::unique_ptr<uint64_t[]>> mBlocks;  // base b is bits 2 (b % 32) of word b / 32
};

}  // namespace ostrel

#endif
