// Packing reads two bits a base and giving their characters back.
#include "seq/PackedReads.h"

#include <algorithm>

namespace ostrel {

namespace {

constexpr int kBasesPerWord = 32;
constexpr char kCodeBase[4] = {'A', 'C', 'G', 'T'};

int Code(char c) {
  switch (c) {
    case 'A': return 0;
    case 'C': return 1;
    case 'G': return 2;
    case 'T': return 3;
  }
  return -1;
}

}  // namespace

void PackedReads::Add(const Sequence& read) {
  const std::vector<char>& bases = read.mBases;
  uint64_t base = mStarts.back();
  for (size_t i = 0; i < bases.size(); ++i, ++base) {
    const uint64_t word = base / kBasesPerWord;
    if (word / kBlockWords == mBlocks.size()) mBlocks.emplace_back(new uint64_t[kBlockWords]());
    int code = Code(bases[i]);
    if (code < 0) {
      mOthers.push_back(Other{static_cast<uint32_t>(i), bases[i]});
      code = 0;
    }
    mBlocks[word / kBlockWords][word % kBlockWords] |= static_cast<uint64_t>(code) << (2 * (base % kBasesPerWord));
  }
  mNames.push_back(read.mName);
  mStarts.push_back(base);
  mFirstOther.push_back(mOthers.size());
}

void PackedReads::Unpack(size_t read, std::vector<char>& out) const {
  const uint64_t first = mStarts[read], end = mStarts[read + 1];
  out.resize(static_cast<size_t>(end - first));
  char* to = out.data();
  for (uint64_t base = first; base < end;) {
    const uint64_t word = base / kBasesPerWord;
    uint64_t bits = mBlocks[word / kBlockWords][word % kBlockWords] >> (2 * (base % kBasesPerWord));
    const uint64_t wordEnd = std::min<uint64_t>(end, (word + 1) * kBasesPerWord);
    for (; base < wordEnd; ++base, bits >>= 2) *to++ = kCodeBase[bits & 3];
  }
  for (size_t o = mFirstOther[read]; o < mFirstOther[read + 1]; ++o) out[mOthers[o].mOffset] = mOthers[o].mChar;
}

}  // namespace ostrel
