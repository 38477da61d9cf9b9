// Templates that join contigs: the contigs sharing templates with one
// contig, and the template records linking two contigs.
#include "ace/AceFile.h"
#include "util/StringUtil.h"

namespace ostrel {

namespace {

// Recomputes the contig's template summary and returns its template names.
StringSet RefreshTemplateNames(Contig& contig) {
  contig.GetTemplateInfo(contig.mTemplates);
  StringSet names;
  for (const TemplateInfo& info : contig.mTemplates) names.insert(info.mName);
  return names;
}

}  // namespace

void AceFile::GetContigsSharingTemplates(int contigIdx, std::vector<int>& out) {
  if (contigIdx < 0 || contigIdx >= static_cast<int>(size())) return;
  const StringSet names = RefreshTemplateNames((*this)[contigIdx]);
  IntSet sharing;
  for (int j = 0; j < static_cast<int>(size()); ++j) {
    if (j == contigIdx) continue;
    const StringSet other = RefreshTemplateNames((*this)[j]);
    for (const std::string& name : other) {
      if (names.count(name) != 0) {
        sharing.insert(j);
        break;
      }
    }
  }
  out.insert(out.end(), sharing.begin(), sharing.end());
}

void AceFile::FindTemplatesBetween(Contig& a, Contig& b, std::vector<TemplateInfo>& out) {
  const StringSet namesA = RefreshTemplateNames(a);
  const StringSet namesB = RefreshTemplateNames(b);
  StringSet shared;
  for (const std::string& name : namesA)
    if (namesB.count(name) != 0) shared.insert(name);
  for (const std::string& name : shared)
    for (const TemplateInfo& info : a.mTemplates)
      if (Contains(info.mName, name)) out.push_back(info);
}

void AceFile::FindTemplatesBetween(int a, int b, std::vector<TemplateInfo>& out) {
  const int count = static_cast<int>(size());
  if (a < 0 || a >= count || b < 0 || b >= count) return;
  FindTemplatesBetween((*this)[a], (*this)[b], out);
}

}  // namespace ostrel
