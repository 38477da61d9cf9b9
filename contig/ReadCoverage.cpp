// Read depth over a contig's consensus: all reads, reads by class, reads
// within their trimmed ranges, and the average depth.
//
// The profiles are swept from each read's first and last covered index (a
// difference array), so they take time linear in the consensus length plus
// the number of reads rather than testing every read at every index.
#include <cstdint>
#include <limits>

#include "ace/Contig.h"
#include "util/StringUtil.h"

namespace ostrel {

namespace {

// Turns +1/-1 marks at range starts and just past range ends into depths.
void DepthsFromMarks(const std::vector<int>& marks, std::vector<int>& profile) {
  int running = 0;
  for (size_t p = 0; p < profile.size(); ++p) {
    running += marks[p];
    profile[p] = running;
  }
}

void MarkRange(std::vector<int>& marks, int first, int last) {
  marks[first] += 1;
  marks[last + 1] -= 1;
}

}  // namespace

void Contig::GetCoverage(std::vector<int>& profile) const {
  profile.assign(mBases.size(), 0);
  std::vector<int> marks(mBases.size() + 1, 0);
  int first, last;
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i)
    if (ReadExtentInConsensus(i, first, last)) MarkRange(marks, first, last);
  DepthsFromMarks(marks, profile);
}

void Contig::GetWGSBACCoverage(std::vector<int>& first, std::vector<int>& second) const {
  first.assign(mBases.size(), 0);
  second.assign(mBases.size(), 0);
  std::vector<int> wgsMarks(mBases.size() + 1, 0), bacMarks(mBases.size() + 1, 0);
  int lo, hi;
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i) {
    if (!ReadExtentInConsensus(i, lo, hi)) continue;
    // Trace-archive style names mark whole-genome shotgun reads.
    const bool wgs = Contains(mReads[i].mName, "gnl");
    MarkRange(wgs ? wgsMarks : bacMarks, lo, hi);
  }
  DepthsFromMarks(wgsMarks, first);
  DepthsFromMarks(bacMarks, second);
}

int Contig::CalcCoverageTrimmed(int pos) const {
  int count = 0;
  const int reads = static_cast<int>(mReads.size());
  for (int i = 0; i < reads && i < static_cast<int>(mReadTrimStart.size()) &&
                  i < static_cast<int>(mReadTrimEnd.size());
       ++i) {
    if (!IsPlacedRead(i)) continue;
    const int64_t k = ReadOffset(i, pos);
    if (k >= 0 && k < static_cast<int64_t>(mReads[i].mBases.size()) && mReadTrimStart[i] <= k &&
        k <= mReadTrimEnd[i])
      ++count;
  }
  return count;
}

void Contig::GetCoverageTrimmed(std::vector<int>& profile) const {
  profile.assign(mBases.size(), 0);
  std::vector<int> marks(mBases.size() + 1, 0);
  int first, last;
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i)
    if (TrimmedExtentInConsensus(i, first, last)) MarkRange(marks, first, last);
  DepthsFromMarks(marks, profile);
}

double Contig::CalcAverageCoverage() const {
  if (mBases.empty()) return std::numeric_limits<double>::quiet_NaN();  // 0 / 0
  // The sum of the depths is the sum of the covered lengths.
  int64_t total = 0;
  int first, last;
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i)
    if (ReadExtentInConsensus(i, first, last)) total += last - first + 1;
  return static_cast<double>(total) / static_cast<double>(mBases.size());
}

}  // namespace ostrel
