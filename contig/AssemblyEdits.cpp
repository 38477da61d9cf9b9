#include "contig/AssemblyEdits.h"

#include "contig/Cleanup.h"

namespace ostrel {

std::vector<std::string> DropEmptyContigs(AceFile& ace) {
  std::vector<std::string> dropped;
  for (size_t c = ace.size(); c-- > 0;) {
    if (!ace[c].mReads.empty()) continue;
    dropped.insert(dropped.begin(), ace[c].mName);
    ace.mTagsLeftOut += static_cast<int>(ace[c].mTags.size()) + ace[c].mTagsLeftOut;
    const auto at = static_cast<std::ptrdiff_t>(c);
    ace.erase(ace.begin() + at);
    if (c < ace.mContigQuality.size()) ace.mContigQuality.erase(ace.mContigQuality.begin() + at);
  }
  return dropped;
}

size_t MergeContigs(AceFile& ace, int left, int right, int offset) {
  const size_t moved = ace[right].mReads.size();
  ace[left].MergeContigRight(ace[right], offset);
  ace[right].mReads.clear();
  return moved;
}

void TrimAllTails(AceFile& ace, std::vector<std::string>& removed, std::vector<std::string>& marked,
                  bool removeMarked) {
  StringSet markedSet;
  std::vector<int> profile;
  for (Contig& contig : ace) {
    contig.GetTemplateInfo(contig.mTemplates);  // which reads have their mate here
    contig.GetCoverage(profile);
    TrimTails(contig, removed, markedSet, profile);
  }
  const size_t before = marked.size();
  for (const Contig& contig : ace)
    if (markedSet.count(contig.mName) > 0) marked.push_back(contig.mName);
  if (removeMarked && marked.size() > before) {
    std::vector<std::string> names(marked.begin() + static_cast<std::ptrdiff_t>(before), marked.end());
    RemoveContigs(ace, names);
  }
}

void CutContig(AceFile& ace, int contigIdx, int minSize, std::vector<int>& starts, std::vector<int>& ends) {
  ace[contigIdx].GetTemplateInfo(ace[contigIdx].mTemplates);  // which reads have their mate here
  ace.MultiSplitContig(minSize, contigIdx, starts, ends);
}

}  // namespace ostrel
