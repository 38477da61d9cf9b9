// An ordered collection of sequences (reads, contigs, samples) with the size
// statistics reported on such sets.
//
// The size of an element is the number of characters in its bases, pads
// included.
#ifndef OSTREL_SEQ_SEQUENCEVECTOR_H
#define OSTREL_SEQ_SEQUENCEVECTOR_H

#include <ostream>
#include <vector>

#include "seq/Sequence.h"

namespace ostrel {

// Mean and sample variance (divisor n - 1) of `values`. The mean is summed in
// extended precision and stored as a float; the variance is taken about that
// stored mean. Nothing is guarded: no values give a mean that is not a
// number, one value a variance that is not a number.
void MeanAndSampleVariance(const std::vector<double>& values, float& mean, float& variance);

// The N50 walk: the first of `sizes` (sorted largest first) at which the
// running sum reaches half of `total`, truncated; 0 when it never does.
int HalfWaySize(const std::vector<int>& sizes, long total);

class SequenceVector : public std::vector<Sequence> {
public:
  void GrowVec();  // appends a Sequence whose description is "Empty"
  // Appends a copy of the source's bases, description and name (not its maps).
  void AddSequence(const Sequence& src);
  // Appends src.GetSubSequence(start, end) whose description is the source's
  // followed by "[start,end]" of the bounds as given, not as clamped.
  void AddSubSequence(const Sequence& src, long start, long end);

  long TotalBases() const;
  int MaxSize() const;  // 0 when empty
  // Appends every element's size to `sizes` (not cleared), then sorts the
  // whole of `sizes` in descending order.
  void GetSortedSizes(std::vector<int>& sizes) const;
  // The first size, largest first, at which the running sum reaches half the
  // total (truncated); 0 when empty.
  int N50() const;
  void SizeStats(float& mean, float& variance) const;

  // Runs Sequence::FindEndOf with a fresh copy of the tag on each element in
  // turn until one holds it: `index` is that element, `pos` the end of the
  // match. When none holds it, `pos` is -1 and `index` the last element (-1
  // for an empty collection). Every element searched is left in lower case.
  void FindEndOf(const Sequence& tag, int& index, long& pos, bool& reversed);

  void Print(std::ostream& out) const;  // Sequence::Print of each element
};

}  // namespace ostrel

#endif
