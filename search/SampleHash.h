// The index of sample texts: a hash map from a sample's bases to an int (the
// entry that lists the sample's occurrences).
//
// The map keeps the bases of its keys itself, as stretches of the source
// texts handed to StoreText, instead of one object per key: a key costs 16
// bytes plus its share of the table, and a lookup compares bytes in place.
// Keys hash with BasicSequenceHashF and compare with eqSeq (bases only,
// case-sensitive). The table is open-addressed with a prime number of slots;
// a key's first slot is its hash modulo that number.
#ifndef OSTREL_SEARCH_SAMPLEHASH_H
#define OSTREL_SEARCH_SAMPLEHASH_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostrel {

class SampleHash {
public:
  // Makes room for `keys` keys without growing the table again.
  void Reserve(size_t keys);

  // Appends `length` characters to the text store and returns where they
  // start; keys are entered as stretches of the store.
  size_t StoreText(const char* text, size_t length);

  // Looks up the key made of the stored characters [offset, offset+length).
  // Present: `value` becomes its value and the result is false. Absent: the
  // key is entered with `value` and the result is true.
  bool Insert(size_t offset, size_t length, int& value);

  // The value of the key, or -1 when it is absent.
  int Find(const char* key, size_t length) const;

  size_t Size() const { return mKeys.size(); }           // keys entered
  size_t BucketCount() const { return mSlots.size(); }  // table slots

private:
  struct Key {
    size_t mOffset;    // in mText
    uint32_t mLength;  // samples are far shorter than 4 GB
    int32_t mValue;
  };
  struct Slot {
    uint32_t mHash;  // of the key, to skip most comparisons
    uint32_t mKey;   // index in mKeys plus 1; 0 marks a free slot
  };

  // The slot that holds the key, or the free slot where it would go.
  size_t SlotOf(const char* key, size_t length, uint32_t hash) const;
  void Rehash(size_t slots);

  std::vector<char> mText;
  std::vector<Key> mKeys;
  std::vector<Slot> mSlots;
};

}  // namespace ostrel

#endif
