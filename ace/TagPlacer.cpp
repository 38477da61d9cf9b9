// Which tags go back among which contig's records, as the contigs are
// written.
#include "ace/TagPlacer.h"

#include <ostream>

namespace ostrel {

std::vector<AceTag> TagPlacer::BeforeContigs(const std::vector<AceTag>& tags) {
  std::vector<AceTag> before;
  for (const AceTag& tag : tags)
    if (tag.mContigNumber < 0) before.push_back(tag);
  return before;
}

std::vector<AceTag> TagPlacer::PlacedIn(const std::vector<AceTag>& tags, int number, const Contig& contig) {
  std::vector<AceTag> here;
  // Contig numbers only grow along the file: a tag of an earlier number
  // whose contig was not written is passed for good.
  for (; mNext < tags.size() && tags[mNext].mContigNumber <= number; ++mNext) {
    const AceTag& tag = tags[mNext];
    const bool stays = tag.mContigNumber == number && tag.mInContig == contig.mName &&
                       tag.mAfterRead < static_cast<int>(contig.mReads.size());
    if (!stays) continue;
    here.push_back(tag);
    mPlaced.insert(tag.mOrder);
  }
  return here;
}

std::vector<AceTag> TagPlacer::Unplaced(const std::vector<AceTag>& tags) const {
  std::vector<AceTag> rest;
  for (const AceTag& tag : tags)
    if (tag.mContigNumber >= 0 && mPlaced.count(tag.mOrder) == 0) rest.push_back(tag);
  return rest;
}

void WriteTrailingTags(std::ostream& out, const std::vector<AceTag>& tags) {
  for (const AceTag& tag : tags) out << tag.mText << '\n';
}

}  // namespace ostrel
