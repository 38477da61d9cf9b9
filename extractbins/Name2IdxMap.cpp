// The read-name hash table: linear probing over slots that carry part of
// the hash, records of names back to back in one array.
#include "extractbins/Name2IdxMap.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace ostrel {

namespace {

constexpr int kTagBits = 20;
constexpr uint64_t kTagMask = (uint64_t{1} << kTagBits) - 1;
constexpr size_t kHeaderWords = 3;  // value, 64-bit length

uint64_t HashOf(std::string_view name) { return std::hash<std::string_view>{}(name); }

// The tag comes from the high bits; the slot index from the low ones.
uint64_t TagOf(uint64_t hash) { return hash >> (64 - kTagBits); }

// The smallest power of two that holds `names` at most half full.
size_t SlotCountFor(size_t names) {
  size_t count = 16;
  while (count / 2 < names) count *= 2;
  return count;
}

size_t WordsFor(size_t bytes) { return (bytes + sizeof(int32_t) - 1) / sizeof(int32_t); }

}  // namespace

Name2IdxMap::Name2IdxMap(size_t expectedNames) : mSlots(SlotCountFor(expectedNames), 0) {}

std::string_view Name2IdxMap::RecordName(size_t record) const {
  uint64_t length;
  std::memcpy(&length, mRecords.data() + record + 1, sizeof length);
  return std::string_view(reinterpret_cast<const char*>(mRecords.data() + record + kHeaderWords), length);
}

size_t Name2IdxMap::SlotOf(std::string_view name, uint64_t hash) const {
  const size_t mask = mSlots.size() - 1;
  const uint64_t tag = TagOf(hash);
  for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const uint64_t held = mSlots[slot];
    if (held == 0) return slot;
    if ((held & kTagMask) == tag && RecordName((held >> kTagBits) - 1) == name) return slot;
  }
}

int& Name2IdxMap::operator[](std::string_view name) { return Insert(name, HashOf(name)); }

int& Name2IdxMap::Insert(std::string_view name, uint64_t hash) {
  size_t slot = SlotOf(name, hash);
  if (mSlots[slot] != 0) return mRecords[(mSlots[slot] >> kTagBits) - 1];
  if (mSize + 1 > mSlots.size() / 2) {
    Rehash(mSlots.size() * 2);
    slot = SlotOf(name, hash);
  }
  const size_t record = mRecords.size();
  mRecords.resize(record + kHeaderWords + WordsFor(name.size()), 0);
  const uint64_t length = name.size();
  std::memcpy(mRecords.data() + record + 1, &length, sizeof length);
  if (!name.empty()) std::memcpy(mRecords.data() + record + kHeaderWords, name.data(), name.size());
  mSlots[slot] = (static_cast<uint64_t>(record + 1) << kTagBits) | TagOf(hash);
  ++mSize;
  return mRecords[record];
}

const int* Name2IdxMap::Find(std::string_view name) const {
  const uint64_t held = mSlots[SlotOf(name, HashOf(name))];
  return held == 0 ? nullptr : &mRecords[(held >> kTagBits) - 1];
}

void Name2IdxMap::AssignRun(const std::string* names, size_t count, int firstValue) {
  while (mSize + count > mSlots.size() / 2) Rehash(mSlots.size() * 2);
  constexpr size_t kRun = 64;
  uint64_t hashes[kRun];
  for (size_t done = 0; done < count; done += kRun) {
    const size_t run = std::min(kRun, count - done);
    for (size_t k = 0; k < run; ++k) {
      hashes[k] = HashOf(names[done + k]);
      __builtin_prefetch(&mSlots[hashes[k] & (mSlots.size() - 1)]);
    }
    for (size_t k = 0; k < run; ++k)
      Insert(names[done + k], hashes[k]) = firstValue + static_cast<int>(done + k);
  }
}

void Name2IdxMap::FindMany(const std::vector<std::string>& names, std::vector<const int*>& values) const {
  // A slot is fetched kAhead names before its lookup; the record it points
  // to, half as far ahead.
  constexpr size_t kAhead = 8;
  const size_t mask = mSlots.size() - 1;
  std::vector<uint64_t> hashes(names.size());
  for (size_t k = 0; k < names.size(); ++k) hashes[k] = HashOf(names[k]);
  values.resize(names.size());
  for (size_t k = 0; k < names.size(); ++k) {
    if (k + kAhead < names.size()) __builtin_prefetch(&mSlots[hashes[k + kAhead] & mask]);
    if (k + kAhead / 2 < names.size()) {
      const uint64_t held = mSlots[hashes[k + kAhead / 2] & mask];
      if (held != 0) __builtin_prefetch(mRecords.data() + (held >> kTagBits) - 1);
    }
    const uint64_t held = mSlots[SlotOf(names[k], hashes[k])];
    values[k] = held == 0 ? nullptr : &mRecords[(held >> kTagBits) - 1];
  }
}

void Name2IdxMap::Reserve(size_t expectedNames) {
  const size_t slotCount = SlotCountFor(expectedNames);
  if (slotCount > mSlots.size()) Rehash(slotCount);
}

void Name2IdxMap::Clear() {
  mRecords.clear();
  mSlots.assign(mSlots.size(), 0);
  mSize = 0;
}

void Name2IdxMap::Rehash(size_t slotCount) {
  mSlots.assign(slotCount, 0);
  const size_t mask = slotCount - 1;
  for (size_t record = 0; record < mRecords.size();) {
    const std::string_view name = RecordName(record);
    const uint64_t hash = HashOf(name);
    size_t slot = hash & mask;
    while (mSlots[slot] != 0) slot = (slot + 1) & mask;
    mSlots[slot] = (static_cast<uint64_t>(record + 1) << kTagBits) | TagOf(hash);
    record += kHeaderWords + WordsFor(name.size());
  }
}

}  // namespace ostrel
