// A growable array of 32-bit ints that holds up to two values in place and
// moves to the heap beyond that: 16 bytes, and no allocation for the short
// lists that most entries of an index have.
#ifndef OSTREL_UTIL_SMALLINTVECTOR_H
#define OSTREL_UTIL_SMALLINTVECTOR_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace ostrel {

class SmallIntVector {
public:
  SmallIntVector() noexcept : mStore{{0, 0}} {}
  SmallIntVector(const SmallIntVector& other)
      : mSize(other.mSize), mCapacity(std::max(other.mSize, kInPlace)), mStore(other.mStore) {
    if (OnHeap()) {
      mStore.mHeap = new int32_t[mCapacity];
      std::copy(other.begin(), other.end(), mStore.mHeap);
    }
  }
  SmallIntVector(SmallIntVector&& other) noexcept : SmallIntVector() { swap(other); }
  SmallIntVector& operator=(SmallIntVector other) noexcept {
    swap(other);
    return *this;
  }
  ~SmallIntVector() {
    if (OnHeap()) delete[] mStore.mHeap;
  }

  size_t size() const { return mSize; }
  bool empty() const { return mSize == 0; }
  int32_t* data() { return OnHeap() ? mStore.mHeap : mStore.mInline; }
  const int32_t* data() const { return OnHeap() ? mStore.mHeap : mStore.mInline; }
  int32_t* begin() { return data(); }
  int32_t* end() { return data() + mSize; }
  const int32_t* begin() const { return data(); }
  const int32_t* end() const { return data() + mSize; }
  int32_t& operator[](size_t i) { return data()[i]; }
  const int32_t& operator[](size_t i) const { return data()[i]; }

  void push_back(int32_t value) {
    if (mSize == mCapacity) Grow();
    data()[mSize++] = value;
  }

  void swap(SmallIntVector& other) noexcept {
    std::swap(mSize, other.mSize);
    std::swap(mCapacity, other.mCapacity);
    std::swap(mStore, other.mStore);  // the union is copied whole
  }

private:
  static constexpr uint32_t kInPlace = 2;

  bool OnHeap() const { return mCapacity > kInPlace; }

  void Grow() {
    const uint32_t capacity = 2 * mCapacity;
    int32_t* grown = new int32_t[capacity];
    std::copy(begin(), end(), grown);
    if (OnHeap()) delete[] mStore.mHeap;
    mStore.mHeap = grown;
    mCapacity = capacity;
  }

  uint32_t mSize = 0;
  uint32_t mCapacity = kInPlace;
  union Storage {
    int32_t mInline[kInPlace];  // while mCapacity is kInPlace
    int32_t* mHeap;             // beyond
  } mStore;
};

}  // namespace ostrel

#endif
