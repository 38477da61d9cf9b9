// Tags handed back to the places they stood in a file as its contigs are
// written, in list order (ace/AceTag.h says which place a tag keeps).
#ifndef OSTREL_ACE_TAGPLACER_H
#define OSTREL_ACE_TAGPLACER_H

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "ace/AceTag.h"
#include "ace/Contig.h"

namespace ostrel {

class TagPlacer {
public:
  // The tags of `tags` that stood before the first contig.
  static std::vector<AceTag> BeforeContigs(const std::vector<AceTag>& tags);
  // The tags of `tags` that stood among the records of the list's contig
  // number `number` and go back there, `contig` being written there: it
  // has the name and the read they followed. `tags` is in file order, and
  // grows only at its end from one call to the next, which come in list
  // order.
  std::vector<AceTag> PlacedIn(const std::vector<AceTag>& tags, int number, const Contig& contig);
  // The tags of `tags` not placed so far, to go after the last contig.
  std::vector<AceTag> Unplaced(const std::vector<AceTag>& tags) const;

private:
  size_t mNext = 0;                      // the first tag the calls have not looked at
  std::unordered_set<int64_t> mPlaced;   // the mOrder of each tag placed
};

// Writes tags that follow a contig, or the header: each as it stands, then
// an empty line.
void WriteTrailingTags(std::ostream& out, const std::vector<AceTag>& tags);

}  // namespace ostrel

#endif
