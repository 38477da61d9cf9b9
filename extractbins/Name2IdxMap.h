// Read names to positions in the index table: a flat hash table made for the
// millions of names of one index file.
#ifndef OSTREL_EXTRACTBINS_NAME2IDXMAP_H
#define OSTREL_EXTRACTBINS_NAME2IDXMAP_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

// Names are exact, case-sensitive byte strings. Loading an index inserts
// one name per line, and every bin line looks one up; at millions of names
// each costs about one or two cache misses, so the table avoids a node per
// name: each name is a record in one array of 32-bit words (its value, its
// 64-bit length, then its bytes), and an open-addressed array of 64-bit slots
// holds a record's place beside a few bits of its hash, so most probes
// never touch the names. Emptying it keeps the arrays for the next index.
//
// Read names of one run often differ only in their last digits, which the
// h * 5 + c string hash folds onto few values (1.5 million numbered names
// share under 200000, so lookups would compare long chains of names); the
// standard library's string hash spreads them.
class Name2IdxMap {
public:
  explicit Name2IdxMap(size_t expectedNames = 100);

  // The value stored for `name`, which is inserted with value 0 when new.
  // The reference is valid until the next insertion.
  int& operator[](std::string_view name);
  // The value stored for `name`, or nullptr when the name is not in the map.
  const int* Find(std::string_view name) const;

  // The same for many names at once: the memory each lookup will touch is
  // fetched a few names ahead, so the cache misses overlap.
  // Sets names[k] to firstValue + k for each k in order, so a later name
  // overwrites an earlier equal one.
  void AssignRun(const std::string* names, size_t count, int firstValue);
  // values[k] becomes Find(names[k]).
  void FindMany(const std::vector<std::string>& names, std::vector<const int*>& values) const;

  size_t Size() const { return mSize; }
  // Makes room for `expectedNames` names without growing the slots again.
  void Reserve(size_t expectedNames);
  void Clear();

private:
  // The slot that holds `name`, or the empty slot where it would go.
  size_t SlotOf(std::string_view name, uint64_t hash) const;
  int& Insert(std::string_view name, uint64_t hash);
  std::string_view RecordName(size_t record) const;
  void Rehash(size_t slotCount);

  // Per name: its value, its length in two words, then its bytes padded to
  // whole words.
  std::vector<int32_t> mRecords;
  // 0 for an empty slot, else (record position + 1) << kTagBits | hash tag;
  // a power of two in number, at most half of them used.
  std::vector<uint64_t> mSlots;
  size_t mSize = 0;
};

}  // namespace ostrel

#endif
