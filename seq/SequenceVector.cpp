// Building, measuring, searching and printing a collection of sequences.
#include "seq/SequenceVector.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace ostrel {

void MeanAndSampleVariance(const std::vector<double>& values, float& mean, float& variance) {
  const long double n = static_cast<long double>(values.size());
  long double sum = 0;
  for (double v : values) sum += v;
  mean = static_cast<float>(sum / n);
  long double squares = 0;
  for (double v : values) squares += (v - mean) * (v - mean);
  variance = static_cast<float>(squares / (n - 1));
}

namespace {

Sequence EmptyElement() {
  Sequence element;
  element.mDescription = "Empty";
  return element;
}

}  // namespace

void SequenceVector::GrowVec() { push_back(EmptyElement()); }

// The new element is filled before it is appended: `src` may be an element of
// this collection, which appending can move.
void SequenceVector::AddSequence(const Sequence& src) {
  Sequence element = EmptyElement();
  element.mBases = src.mBases;
  element.mDescription = src.mDescription;
  element.mName = src.mName;
  push_back(std::move(element));
}

void SequenceVector::AddSubSequence(const Sequence& src, long start, long end) {
  Sequence element = EmptyElement();
  src.GetSubSequence(element, start, end);
  char bounds[64];
  std::snprintf(bounds, sizeof bounds, "[%ld,%ld]", start, end);
  element.mDescription = src.mDescription + bounds;
  element.mName = src.mName;
  push_back(std::move(element));
}

long SequenceVector::TotalBases() const {
  long total = 0;
  for (const Sequence& s : *this) total += static_cast<long>(s.mBases.size());
  return total;
}

int SequenceVector::MaxSize() const {
  size_t largest = 0;
  for (const Sequence& s : *this) largest = std::max(largest, s.mBases.size());
  return static_cast<int>(largest);
}

void SequenceVector::GetSortedSizes(std::vector<int>& sizes) const {
  for (const Sequence& s : *this) sizes.push_back(static_cast<int>(s.mBases.size()));
  std::sort(sizes.begin(), sizes.end(), std::greater<int>());
}

int HalfWaySize(const std::vector<int>& sizes, long total) {
  const long half = static_cast<long>(total * 0.5);
  long running = 0;
  for (int size : sizes) {
    running += size;
    if (running >= half) return size;
  }
  return 0;
}

int SequenceVector::N50() const {
  std::vector<int> sizes;
  GetSortedSizes(sizes);
  long total = 0;
  for (int size : sizes) total += size;
  return HalfWaySize(sizes, total);
}

void SequenceVector::SizeStats(float& mean, float& variance) const {
  std::vector<double> sizes;
  for (const Sequence& s : *this) sizes.push_back(static_cast<double>(s.mBases.size()));
  MeanAndSampleVariance(sizes, mean, variance);
}

void SequenceVector::FindEndOf(const Sequence& tag, int& index, long& pos, bool& reversed) {
  index = -1;
  pos = -1;
  for (size_t i = 0; i < size(); ++i) {
    index = static_cast<int>(i);
    pos = (*this)[i].FindEndOf(tag, reversed);
    if (pos >= 0) return;
  }
}

void SequenceVector::Print(std::ostream& out) const {
  for (const Sequence& s : *this) s.Print(out);
}

}  // namespace ostrel
