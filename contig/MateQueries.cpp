// Questions about a read's mate within its contig, and the printed report
// of the contig's templates.
#include <iostream>
#include <limits>

#include "ace/Contig.h"

namespace ostrel {

bool Contig::HasMateInContig(const std::string& readName) const {
  const auto found = mReadTemplate.find(readName);
  if (found == mReadTemplate.end()) {
    std::cerr << readName << " does not have a template recorded in this contig." << std::endl;
    return false;
  }
  return mTemplateReads.count(found->second) >= 2;
}

bool Contig::HasGoodMateInContig(const std::string& readName) const {
  const auto found = mReadTemplate.find(readName);
  if (found == mReadTemplate.end()) return false;
  for (const TemplateInfo& info : mTemplates)
    if (info.mName == found->second) return info.mPaired && info.mGoodOrientation;
  return false;
}

void Contig::PrintTemplateInfo(std::ostream& out) const {
  std::vector<TemplateInfo> templates;
  GetTemplateInfo(templates);
  double spanSum = 0;
  for (const TemplateInfo& t : templates) {
    out << t.mName << " (" << t.mSpan << ")\t";
    out << t.mLeftName << "(" << t.mLeftDirection << "," << t.mLeftComplement << ")\t" << t.mLeftStart
        << "\t" << t.mLeftLength << "\t";
    if (!t.mRightName.empty())
      out << t.mRightName << "(" << t.mRightDirection << "," << t.mRightComplement << ")\t"
          << t.mRightStart << "\t" << t.mRightLength << "\t";
    out << std::endl;
    spanSum += t.mSpan;
  }
  // The mean of the observed spans; not a number when there are no templates.
  const double meanSpan = templates.empty() ? std::numeric_limits<double>::quiet_NaN()
                                            : spanSum / static_cast<double>(templates.size());
  out << std::endl;
  out << "Total pairs: " << templates.size() << "\tAverage insert size: " << meanSpan << std::endl;
  out << std::endl;
}

}  // namespace ostrel
