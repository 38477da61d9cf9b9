// An ordered collection of read quality records with their Phred-20 counts.
#ifndef OSTREL_SEQ_SEQUENCEQUALITYVECTOR_H
#define OSTREL_SEQ_SEQUENCEQUALITYVECTOR_H

#include <ostream>
#include <vector>

#include "seq/SequenceQuality.h"

namespace ostrel {

class SequenceQualityVector : public std::vector<SequenceQuality> {
public:
  void GrowVec();  // appends an empty record
  // Appends a copy of the source's values, description and name.
  void AddQuality(const SequenceQuality& src);
  long Phred20Total() const;  // sum of CountPhred20 over the records
  // Mean and sample variance of the per-record Phred-20 counts; not a
  // number when empty (mean) or of one record (variance).
  void Phred20Stats(float& mean, float& variance) const;
  void Print(std::ostream& out) const;  // SequenceQuality::Print of each record
};

}  // namespace ostrel

#endif
