// The split decision for a contig's checkpoints: each checkpoint is judged
// on the contig's template, mate-gap and BAC-read coverage profiles by a
// fixed table of rules, and a rule that fires proposes a region to cut.
#ifndef OSTREL_CONTIG_SPLITRULES_H
#define OSTREL_CONTIG_SPLITRULES_H

#include <vector>

#include "ace/Contig.h"
#include "contig/Checkpoints.h"

namespace ostrel {

// For each checkpoint on `contig` (mContig equal to its name), in order,
// writes the checkpoint and the rule applied on standard output and, when a
// rule fires, appends the region's left bound to `splitStarts` and its right
// bound to `splitEnds` (0-based consensus indexes; an expanded region's
// bounds lie just outside its run of zeros, so they may be -1 or the
// consensus length). A profile is low in a checkpoint when it is 0 or less
// at some index of mStart .. mEnd cut to the consensus (a negative mEnd
// reaching to its end); the first such index is the low point.
//   RULE 1: template coverage is low; the zero run of template coverage.
//   RULE 2: BAC coverage is low and its zero run is more than 1999 wide.
//   RULE 3: template span is low; the zero run of template span.
//   RULE 4: BAC coverage is low and the checkpoint merged; the zero run of
//           template span around the BAC low point.
//   RULE 5: BAC coverage nowhere low, merged, mLength <= 2000; the
//           checkpoint itself.
// Otherwise "RULE NONE" and no region.
void IdentifySplits(Contig& contig, ContigChecks& checks, std::vector<int>& splitStarts,
                    std::vector<int>& splitEnds);

}  // namespace ostrel

#endif
