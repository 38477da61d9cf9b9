// Checkpoints: suspect regions of contigs handed in from outside, the
// pairing of a contig's left and right checkpoints into merged ones, and
// the list of problem contigs read from a repeat report.
#ifndef OSTREL_CONTIG_CHECKPOINTS_H
#define OSTREL_CONTIG_CHECKPOINTS_H

#include <istream>
#include <string>
#include <vector>

#include "util/Hash.h"

namespace ostrel {

// One checkpoint; a plain value record, copied freely. Positions are
// 0-based padded consensus indexes. The carried fields travel with the
// record and are never read here.
class ContigCheck {
public:
  std::string mContig;      // name of the contig the checkpoint lies on
  std::string mSide;        // "left", "right", or "merged" for a merged pair
  int mStart = 0;           // first index of the suspect region
  int mEnd = 0;             // last index of the suspect region
  int mCarriedInt1 = 0;
  int mCarriedInt2 = 0;
  std::string mCarriedText1;
  int mCarriedInt3 = 0;
  int mCarriedInt4 = 0;
  std::string mCarriedText2;
  int mLength = 0;          // merged checkpoints: mEnd - mStart + 1
  bool mMerged = false;     // made by merging a left and a right checkpoint
  int mCarriedInt5 = 0;
  bool mUsed = false;       // working flag of MergePairs: already merged
};

// The checkpoints in insertion order, filled by the caller.
class ContigChecks {
public:
  std::vector<ContigCheck> mChecks;

  // The index of the closest unused checkpoint on the same contig that can
  // pair with checkpoint `index` (a "left" with a "right" or the other way
  // round), measured from the left one's mStart to the right one's mEnd;
  // the first wins ties. -1 when `index` is used or out of range, or when
  // the closest lies 999999 or more, or `maxDistance` or more, away.
  int FindClosestMate(int index, int maxDistance);
  // Replaces the list by the merged pairs, in the order their first member
  // came, followed by the checkpoints left unmerged in their former order.
  // Writes a "Merging Checkpoints: " line on standard output for each pair.
  void MergePairs(int maxDistance);
};

// Appends to `checks` the checkpoints of a text of lines "contig<TAB>side
// <TAB>start<TAB>end" (side "left" or "right", start and end 0-based
// consensus indexes, start <= end); blank lines and lines starting with '#'
// are skipped. A line of another shape is reported on standard error as
// "<name> line <n>: " and why, and skipped. Returns the number of lines
// skipped so.
int ReadCheckpoints(std::istream& in, const std::string& name, ContigChecks& checks);

// Adds to `names` (not cleared) the contig named on each "Rep_node:" line
// of `fileName`: the text after the line's first ':' up to its first '_',
// blanks removed; a text with two or more '_' names nothing. Progress goes
// to standard output; a file that cannot be opened adds nothing.
void GetProblemContigs(const std::string& fileName, StringSet& names);

}  // namespace ostrel

#endif
