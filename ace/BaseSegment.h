// One base segment of a contig: the stretch of consensus columns whose
// characters were taken from one read (an ACE "BS" record).
#ifndef OSTREL_ACE_BASESEGMENT_H
#define OSTREL_ACE_BASESEGMENT_H

#include <string>

namespace ostrel {

// A plain value record, copied freely. The bounds mean nothing until set.
class BaseSegment {
public:
  int mStart = 0;         // first column, 1-based padded consensus position
  int mEnd = 0;           // last column, 1-based padded consensus position, inclusive
  std::string mReadName;  // the read whose characters make up the consensus here
};

}  // namespace ostrel

#endif
