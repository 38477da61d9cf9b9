// Template profiles over a contig's consensus: how many good mate pairs,
// badly oriented pairs and gaps between good mates lie over each index,
// swept from start and end tables.
#include <cstdint>

#include "ace/Contig.h"

namespace ostrel {

namespace {

bool IsGood(const TemplateInfo& t) { return t.mPaired && t.mGoodOrientation; }
bool IsBad(const TemplateInfo& t) { return t.mPaired && !t.mGoodOrientation; }

// Counts one template from profile index `start` through `end`; negative
// indexes become 0.
void AddToTables(int64_t start, int64_t end, Int2IntMap& starts, Int2IntMap& ends) {
  starts[start < 0 ? 0 : ClampToInt(start)] += 1;
  ends[end < 0 ? 0 : ClampToInt(end)] += 1;
}

// profile[i] = templates started at or before i minus those ended before i.
void SweepTables(const Int2IntMap& starts, const Int2IntMap& ends, int length,
                 std::vector<int>& profile) {
  profile.assign(length, 0);
  int running = 0;
  for (int i = 0; i < length; ++i) {
    const auto start = starts.find(i);
    if (start != starts.end()) running += start->second;
    profile[i] = running;
    const auto end = ends.find(i);
    if (end != ends.end()) running -= end->second;
  }
}

using TableBuilder = void (Contig::*)(std::vector<TemplateInfo>&, Int2IntMap&, Int2IntMap&) const;

// The profile of the templates that `build` puts into start and end tables.
void TemplateProfile(const Contig& contig, TableBuilder build, std::vector<int>& profile) {
  std::vector<TemplateInfo> templates;
  contig.GetTemplateInfo(templates);
  Int2IntMap starts, ends;
  (contig.*build)(templates, starts, ends);
  SweepTables(starts, ends, static_cast<int>(contig.mBases.size()), profile);
}

}  // namespace

void Contig::BuildTemplateStartEnd(std::vector<TemplateInfo>& templates, Int2IntMap& starts,
                                   Int2IntMap& ends) const {
  for (const TemplateInfo& t : templates)
    if (IsGood(t))
      AddToTables(t.mLeftStart, static_cast<int64_t>(t.mRightStart) + t.mRightLength, starts, ends);
}

void Contig::BuildBadTemplateStartEnd(std::vector<TemplateInfo>& templates, Int2IntMap& starts,
                                      Int2IntMap& ends) const {
  for (const TemplateInfo& t : templates)
    if (IsBad(t))
      AddToTables(t.mLeftStart, static_cast<int64_t>(t.mRightStart) + t.mRightLength, starts, ends);
}

void Contig::BuildTemplateSpanStartEnd(std::vector<TemplateInfo>& templates, Int2IntMap& starts,
                                       Int2IntMap& ends) const {
  for (const TemplateInfo& t : templates)
    if (IsGood(t))
      AddToTables(static_cast<int64_t>(t.mLeftStart) + t.mLeftLength,
                  static_cast<int64_t>(t.mRightStart) - 1, starts, ends);
}

void Contig::GetTemplateCoverage(std::vector<int>& profile) const {
  if (mBases.empty()) return;  // the caller's vector stays as it was
  TemplateProfile(*this, &Contig::BuildTemplateStartEnd, profile);
}

void Contig::GetBadTemplateCoverage(std::vector<int>& profile) const {
  TemplateProfile(*this, &Contig::BuildBadTemplateStartEnd, profile);
}

void Contig::GetTemplateSpan(std::vector<int>& profile) const {
  TemplateProfile(*this, &Contig::BuildTemplateSpanStartEnd, profile);
}

bool Contig::TemplateCoverIsZero() const {
  std::vector<int> profile;
  GetTemplateCoverage(profile);
  for (int count : profile)
    if (count > 0) return false;
  return true;
}

}  // namespace ostrel
