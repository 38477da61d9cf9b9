// Building, counting and printing a collection of read quality records.
#include "seq/SequenceQualityVector.h"

#include "seq/SequenceVector.h"

namespace ostrel {

void SequenceQualityVector::GrowVec() { emplace_back(); }

// Filled before it is appended: `src` may be a record of this collection,
// which appending can move.
void SequenceQualityVector::AddQuality(const SequenceQuality& src) {
  SequenceQuality record = src;
  push_back(std::move(record));
}

long SequenceQualityVector::Phred20Total() const {
  long total = 0;
  for (const SequenceQuality& q : *this) total += q.CountPhred20();
  return total;
}

void SequenceQualityVector::Phred20Stats(float& mean, float& variance) const {
  // Each count is narrowed to a float before it is summed.
  std::vector<double> counts;
  for (const SequenceQuality& q : *this) counts.push_back(static_cast<float>(q.CountPhred20()));
  MeanAndSampleVariance(counts, mean, variance);
}

void SequenceQualityVector::Print(std::ostream& out) const {
  for (const SequenceQuality& q : *this) q.Print(out);
}

}  // namespace ostrel
