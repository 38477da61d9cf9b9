// String hashing and the hash containers named after their key and value.
#ifndef OSTREL_UTIL_HASH_H
#define OSTREL_UTIL_HASH_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace ostrel {

// h = h * 5 + c over the bytes taken as signed chars, in unsigned 32-bit
// arithmetic.
inline uint32_t HashBytes(const char* p, size_t n) {
  uint32_t h = 0;
  for (size_t i = 0; i < n; ++i) h = h * 5u + static_cast<uint32_t>(static_cast<signed char>(p[i]));
  return h;
}

struct BasicStringHashF {
  size_t operator()(const std::string& s) const { return HashBytes(s.data(), s.size()); }
};

// The same rule over the bases of a Sequence (seq/Sequence.h); name and
// description do not count. Any type with an mBases vector of char will do,
// which keeps this header free of the sequence model.
struct BasicSequenceHashF {
  template <typename SequenceType>
  size_t operator()(const SequenceType& s) const {
    return HashBytes(s.mBases.data(), s.mBases.size());
  }
  // The same hash of bases kept elsewhere than in a Sequence.
  size_t operator()(const char* bases, size_t n) const { return HashBytes(bases, n); }
};

using StringSet = std::unordered_set<std::string, BasicStringHashF>;
using IntSet = std::unordered_set<int>;
using Int2IntMap = std::unordered_map<int, int>;
using String2IntMap = std::unordered_map<std::string, int, BasicStringHashF>;
using String2IntMultiMap = std::unordered_multimap<std::string, int, BasicStringHashF>;
using String2StringMap = std::unordered_map<std::string, std::string, BasicStringHashF>;

}  // namespace ostrel

#endif
