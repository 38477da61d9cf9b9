// Removing contigs by name and trimming contig tails.
#include "contig/Cleanup.h"

#include <iostream>

#include "contig/WindowTests.h"

namespace ostrel {

void RemoveContigs(AceFile& ace, std::vector<std::string>& names) {
  std::cout << "Remove contigs Beforesize=" << ace.size() << "\t" << std::endl;
  for (const std::string& name : names) {
    for (size_t j = 0; j < ace.size(); ++j) {
      if (ace[j].mName != name) continue;
      std::cout << "size=" << ace.size() << "\tRemove " << name << std::flush;
      ace.RemoveContig(static_cast<int>(j));
      std::cout << "\tsize=" << ace.size() << std::endl;
    }
  }
  std::cout << "Remove contigs Aftersize=" << ace.size() << "\t" << std::endl;
}

void TrimTails(Contig& contig, std::vector<std::string>& removed, StringSet& marked, std::vector<int>& profile) {
  int left = -1;
  int right = -1;
  FindTail(profile, left, right);
  const int64_t length = static_cast<int64_t>(contig.mBases.size());
  if (left >= 0 && left < length - 1 && right > 0 && right < length) {
    contig.RemoveTails(left, right, removed);
    std::cout << "Total removed reads: " << removed.size() << std::endl;
    return;
  }
  std::cout << "Mark for removal: " << contig.mName << std::endl;
  marked.insert(contig.mName);
}

void SplitCrashes(AceFile& /*ace*/, int /*contigIdx*/, std::vector<std::string>& /*removed*/,
                  StringSet& /*marked*/) {}

}  // namespace ostrel
