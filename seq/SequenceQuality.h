// Per-base Phred quality values of one read, in base order.
//
// A value passes Phred 20 when it is 20 or more.
#ifndef OSTREL_SEQ_SEQUENCEQUALITY_H
#define OSTREL_SEQ_SEQUENCEQUALITY_H

#include <ostream>
#include <string>
#include <vector>

namespace ostrel {

class SequenceQuality {
public:
  std::vector<int> mQualities;  // one value per base, 0-based
  std::string mDescription;
  std::string mName;

  void Concatenate(const SequenceQuality& other);  // values only
  void Reverse();
  long CountPhred20() const;
  // The first index at or after `from` whose value passes Phred 20; the last
  // index (size - 1) when none does or `from` is at or past the end.
  long FindPhred20(long from) const;
  // The first index at or before `from`, scanning down to 0, whose value
  // passes; 0 when none does or `from` is below 0. A `from` past the end
  // starts at the last value.
  long RFindPhred20(long from) const;
  long RFindPhred20() const;
  // Sets indexes 0 .. left (inclusive) and right .. size-1 to 0, ignoring
  // the parts that lie outside the values; the size is unchanged.
  void Trim(long left, long right);

  // Quality-file form: ">" name, blank, description, "\n", then the values
  // each followed by a blank, with a line end after every index that is a
  // positive multiple of 50 (so the first line holds 51 values) and one
  // after the last value unless it already has one.
  void Print(std::ostream& out) const;
  void Print() const;  // to standard output
};

}  // namespace ostrel

#endif
