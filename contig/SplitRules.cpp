// Judges checkpoints on a contig's coverage profiles and proposes the
// regions to cut, one rule table applied checkpoint by checkpoint.
#include "contig/SplitRules.h"

#include <cstdint>
#include <iostream>

#include "contig/WindowTests.h"

namespace ostrel {

namespace {

// The profiles the rules look at, computed once per contig.
struct SplitProfiles {
  std::vector<int> mTemplateCoverage;  // good mate pairs over each index
  std::vector<int> mTemplateSpan;      // gaps between good mates over each index
  std::vector<int> mWGSCoverage;       // reads named with "gnl"
  std::vector<int> mBACCoverage;       // every other read
};

// The rule that fired, or none, with its region.
struct Verdict {
  int mRule = 0;  // 0: none
  int mLeft = -1;
  int mRight = -1;
};

// The region's width, worked out in 64 bits as its bounds may be far apart.
int64_t Width(const Verdict& verdict) {
  const int64_t width = int64_t{verdict.mRight} - verdict.mLeft;
  return width < 0 ? -width : width;
}

// The run of zeros (and below) of `profile` around index p.
void ZeroRun(const std::vector<int>& profile, int p, Verdict& verdict) {
  verdict.mLeft = verdict.mRight = p;
  ExpandFeature(profile, 0, verdict.mLeft, verdict.mRight);
}

bool LowIn(std::vector<int>& profile, const ContigCheck& check, int& p) {
  return FeatureBetween(profile, 0, check.mStart, check.mEnd, p);
}

Verdict Judge(SplitProfiles& profiles, const ContigCheck& check) {
  Verdict verdict;
  int p;
  if (LowIn(profiles.mTemplateCoverage, check, p)) {
    verdict.mRule = 1;
    ZeroRun(profiles.mTemplateCoverage, p, verdict);
    return verdict;
  }
  int bacLow;
  const bool bacIsLow = LowIn(profiles.mBACCoverage, check, bacLow);
  if (bacIsLow) {
    ZeroRun(profiles.mBACCoverage, bacLow, verdict);
    if (Width(verdict) > 1999) {
      verdict.mRule = 2;
      return verdict;
    }
  }
  if (LowIn(profiles.mTemplateSpan, check, p)) {
    verdict.mRule = 3;
    ZeroRun(profiles.mTemplateSpan, p, verdict);
    return verdict;
  }
  if (bacIsLow && check.mMerged) {
    verdict.mRule = 4;
    ZeroRun(profiles.mTemplateSpan, bacLow, verdict);
    return verdict;
  }
  if (!bacIsLow && check.mMerged && check.mLength <= 2000) {
    verdict.mRule = 5;
    verdict.mLeft = check.mStart;
    verdict.mRight = check.mEnd;
    return verdict;
  }
  return Verdict();
}

}  // namespace

void IdentifySplits(Contig& contig, ContigChecks& checks, std::vector<int>& splitStarts,
                    std::vector<int>& splitEnds) {
  SplitProfiles profiles;
  bool computed = false;
  for (const ContigCheck& check : checks.mChecks) {
    if (check.mContig != contig.mName) continue;
    if (!computed) {
      contig.GetTemplateCoverage(profiles.mTemplateCoverage);
      contig.GetTemplateSpan(profiles.mTemplateSpan);
      contig.GetWGSBACCoverage(profiles.mWGSCoverage, profiles.mBACCoverage);
      computed = true;
    }
    std::cout << contig.mName << "\t" << (check.mMerged ? "Merged" : "") << "Checkpoint " << check.mStart << ":"
              << check.mEnd << "  -->\t\t";
    const Verdict verdict = Judge(profiles, check);
    switch (verdict.mRule) {
      case 1: std::cout << "RULE 1 TEMPLATE0    "; break;
      case 2: std::cout << "RULE 2 BIG BAC CRASH "; break;
      case 3: std::cout << "RULE 3 TSPAN0       "; break;
      case 4: std::cout << "RULE 4 BAC CRASH+MG "; break;
      case 5: std::cout << "RULE 5 MERGEDPAIR  "; break;
      default: std::cout << "RULE NONE" << std::endl; continue;
    }
    std::cout << verdict.mLeft << ":" << verdict.mRight << std::endl;
    splitStarts.push_back(verdict.mLeft);
    splitEnds.push_back(verdict.mRight);
  }
}

}  // namespace ostrel
