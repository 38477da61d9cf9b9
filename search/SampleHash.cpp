// The open-addressed map from sample texts to their entries.
#include "search/SampleHash.h"

#include <algorithm>

#include "seq/Sequence.h"

namespace ostrel {

namespace {

// At most 7 keys per 10 slots keeps the runs of linear probing short.
size_t SlotsFor(size_t keys) { return keys / 7 * 10 + 17; }
bool Crowded(size_t keys, size_t slots) { return keys * 10 >= slots * 7; }

bool IsPrime(size_t n) {
  if (n < 2) return false;
  for (size_t d = 2; d * d <= n; ++d)
    if (n % d == 0) return false;
  return true;
}

size_t NextPrime(size_t n) {
  while (!IsPrime(n)) ++n;
  return n;
}

}  // namespace

void SampleHash::Reserve(size_t keys) {
  mKeys.reserve(keys);
  if (Crowded(keys, mSlots.size())) Rehash(NextPrime(SlotsFor(keys)));
}

size_t SampleHash::StoreText(const char* text, size_t length) {
  const size_t offset = mText.size();
  mText.insert(mText.end(), text, text + length);
  return offset;
}

size_t SampleHash::SlotOf(const char* key, size_t length, uint32_t hash) const {
  const eqSeq equal;
  size_t i = hash % mSlots.size();
  for (;;) {
    const Slot& slot = mSlots[i];
    if (slot.mKey == 0) return i;
    if (slot.mHash == hash) {
      const Key& stored = mKeys[slot.mKey - 1];
      if (equal(mText.data() + stored.mOffset, stored.mLength, key, length)) return i;
    }
    if (++i == mSlots.size()) i = 0;
  }
}

bool SampleHash::Insert(size_t offset, size_t length, int& value) {
  if (Crowded(mKeys.size() + 1, mSlots.size())) Rehash(NextPrime(std::max<size_t>(11, 2 * mSlots.size())));
  const char* key = mText.data() + offset;
  const uint32_t hash = static_cast<uint32_t>(BasicSequenceHashF()(key, length));
  Slot& slot = mSlots[SlotOf(key, length, hash)];
  if (slot.mKey != 0) {
    value = mKeys[slot.mKey - 1].mValue;
    return false;
  }
  mKeys.push_back(Key{offset, static_cast<uint32_t>(length), value});
  slot = Slot{hash, static_cast<uint32_t>(mKeys.size())};
  return true;
}

int SampleHash::Find(const char* key, size_t length) const {
  if (mSlots.empty()) return -1;
  const uint32_t hash = static_cast<uint32_t>(BasicSequenceHashF()(key, length));
  const Slot& slot = mSlots[SlotOf(key, length, hash)];
  return slot.mKey == 0 ? -1 : mKeys[slot.mKey - 1].mValue;
}

void SampleHash::Rehash(size_t slots) {
  std::vector<Slot> table(slots, Slot{0, 0});
  for (const Slot& slot : mSlots) {
    if (slot.mKey == 0) continue;
    size_t i = slot.mHash % slots;
    while (table[i].mKey != 0)
      if (++i == slots) i = 0;
    table[i] = slot;
  }
  mSlots.swap(table);
}

}  // namespace ostrel
