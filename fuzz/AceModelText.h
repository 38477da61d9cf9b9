// An assembly's model as text, member by member (what the tests compare
// between two reads of the same assembly), so that two models compare as
// two strings and a differing one can be printed.
#ifndef OSTREL_FUZZ_ACEMODELTEXT_H
#define OSTREL_FUZZ_ACEMODELTEXT_H

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ace/AceFile.h"

namespace ostrel::fuzz {

template <typename Values>
void PutValues(std::ostream& out, const char* label, const Values& values) {
  out << label << "[";
  for (const auto& value : values) out << value << ",";
  out << "]\n";
}

inline void PutBytes(std::ostream& out, const char* label, const std::vector<char>& bytes) {
  out << label << "[" << std::string(bytes.begin(), bytes.end()) << "]\n";
}

inline std::string ModelText(const AceFile& ace) {
  std::ostringstream out;
  out << "valid " << ace.mValid << " contigs " << ace.size() << " length " << ace.mTotalLength << " n50 "
      << ace.mN50 << " coverage " << ace.mAverageCoverageTrimmed << "\n";
  for (const Contig& contig : ace) {
    out << "CO " << contig.mName << " " << contig.mStrand << " segments " << contig.mNumBaseSeqs << " trims " << contig.mTrimStart << " "
        << contig.mTrimEnd << "\n";
    PutBytes(out, "bases", contig.mBases);
    PutValues(out, "quality", contig.mQuality.mQualities);
    PutValues(out, "align", contig.mAlignStart);
    PutBytes(out, "complemented", contig.mComplemented);
    PutValues(out, "qa", contig.mQALines);
    for (const BaseSegment& segment : contig.mBaseSegments)
      out << "BS " << segment.mStart << " " << segment.mEnd << " " << segment.mReadName << "\n";
    PutValues(out, "read trim starts", contig.mReadTrimStart);
    PutValues(out, "read trim ends", contig.mReadTrimEnd);
    const std::map<std::string, int> readIndex(contig.mReadIdxMap.begin(), contig.mReadIdxMap.end());
    for (const auto& [name, index] : readIndex) out << "index " << name << " " << index << "\n";
    out << "qualities of " << contig.mReadQuality.size() << "\n";
    for (size_t r = 0; r < contig.mReads.size(); ++r) {
      const Sequence& read = contig.mReads[r];
      out << "RD " << read.mName << " DS " << read.mDescription << "\n";
      if (r < contig.mReadRecords.size())
        out << "counts " << contig.mReadRecords[r].mWholeReadItems << " " << contig.mReadRecords[r].mReadTags
            << " described " << contig.mReadRecords[r].mDescribed << "\n";
      PutBytes(out, "read bases", read.mBases);
      if (r < contig.mReadQuality.size()) PutValues(out, "read quality", contig.mReadQuality[r].mQualities);
    }
    for (const AceTag& tag : contig.mTags)
      out << "contig tag in " << tag.mContigNumber << " " << tag.mInContig << " after " << tag.mAfterRead << "\n"
          << tag.mText;
  }
  for (const SequenceQuality& quality : ace.mContigQuality) PutValues(out, "contig quality", quality.mQualities);
  std::map<std::string, std::vector<int>> contigsOf;
  for (const auto& [name, contig] : ace.mReadContigMap) contigsOf[name].push_back(contig);
  for (auto& [name, contigs] : contigsOf) {
    std::sort(contigs.begin(), contigs.end());
    out << "read " << name << " in ";
    PutValues(out, "", contigs);
  }
  for (const AceTag& tag : ace.mTags)
    out << "tag held " << tag.mSubjectHeld << " in " << tag.mContigNumber << " " << tag.mInContig << " after "
        << tag.mAfterRead << "\n" << tag.mText;
  return out.str();
}

}  // namespace ostrel::fuzz

#endif
