// Good-quality ranges: the consensus trims, the read trims with their X
// masking, and the BAC trims of contigs holding reads from BAC clone ends.
#include <algorithm>
#include <iostream>

#include "ace/AceFile.h"
#include "ace/ContigWork.h"
#include "util/LineScan.h"

namespace ostrel {

namespace {

// The first index in [0, n) whose value reaches `threshold`, or -1. Blocks
// are tested whole, without an early exit, so that the test is vectorised;
// the hit is then found within its block.
int FirstReaching(const int* values, int n, int threshold) {
  constexpr int kBlock = 16;
  int i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    bool reached = false;
    for (int k = 0; k < kBlock; ++k) reached |= values[i + k] >= threshold;
    if (reached) break;
  }
  for (; i < n; ++i)
    if (values[i] >= threshold) return i;
  return -1;
}

// The first and last index below `length` whose value reaches `threshold`,
// both -1 when none does. An index without a value is below every threshold.
void QualityRange(const std::vector<int>& values, int length, int threshold, int& first, int& last) {
  const int known = std::min(length, static_cast<int>(values.size()));
  first = FirstReaching(values.data(), known, threshold);
  last = -1;
  for (int i = known - 1; i >= first && first >= 0; --i)  // none passes when none passed upwards
    if (values[i] >= threshold) {
      last = i;
      break;
    }
}

bool IsX(char c) { return c == 'X' || c == 'x'; }

// Moves the trims of a read longer than 50 characters inward past runs of X
// that start within its first 50 or last 49 characters.
void MaskXEnds(const std::vector<char>& bases, int& start, int& end) {
  const int length = static_cast<int>(bases.size());
  if (length <= 50) return;
  int xs = -1;
  for (int k = 0; k < 50; ++k)
    if (IsX(bases[k])) {
      xs = k;
      break;
    }
  int xe = -1;
  for (int k = length - 1; k >= length - 49; --k)
    if (IsX(bases[k])) {
      xe = k;
      break;
    }
  if (xs >= 0)
    for (int k = xs; k < length; ++k)
      if (!IsX(bases[k]) && k > start) {
        start = k;
        break;
      }
  if (xe >= 0)
    for (int k = xe; k >= 0; --k)
      if (!IsX(bases[k]) && k < end) {
        end = k;
        break;
      }
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

void Contig::CalculateTrim(int threshold) {
  QualityRange(mQuality.mQualities, static_cast<int>(mBases.size()), threshold, mTrimStart, mTrimEnd);
}

void AceFile::CalculateContigTrims(int threshold) {
  for (Contig& contig : *this) contig.CalculateTrim(threshold);
}

void AceFile::CalculateReadTrims(int threshold) {
  ForEachContig(size(), [this, threshold](size_t c, std::ostream& messages) {
    CalculateContigReadTrims(c, threshold, messages);
  }, std::cerr);
}

void AceFile::CalculateContigReadTrims(size_t c, int threshold, std::ostream& messages) {
  Contig& contig = (*this)[c];
  const size_t reads = contig.mReads.size();
  if (reads != contig.mReadQuality.size()) {
    messages << contig.mName << "\tERROR: reads.size=" << reads << " qualsize=" << contig.mReadQuality.size()
             << '\n';
    return;
  }
  contig.mReadTrimStart.assign(reads, -1);
  contig.mReadTrimEnd.assign(reads, -1);
  for (size_t i = 0; i < reads; ++i) {
    const Sequence& read = contig.mReads[i];
    std::vector<int>& quality = contig.mReadQuality[i].mQualities;
    const int length = static_cast<int>(read.mBases.size());
    if (quality.size() != read.mBases.size()) {
      messages << "ERROR: read " << read.mName << " reads.size=" << length << " qualsize=" << quality.size()
               << '\n';
      if (!quality.empty()) continue;
      quality.assign(read.mBases.size(), 20);
    }
    int& start = contig.mReadTrimStart[i];
    int& end = contig.mReadTrimEnd[i];
    QualityRange(quality, length, threshold, start, end);
    MaskXEnds(read.mBases, start, end);
  }
}

bool AceFile::IsBACName(const std::string& name) const {
  if (name.size() <= 10) return false;
  for (int k = 0; k <= 4; ++k)
    if (!IsLetter(name[k])) return false;
  if (!IsDigit(name[5]) || !IsLetter(name[6])) return false;
  for (int k = 7; k <= 10; ++k)
    if (!IsDigit(name[k])) return false;
  return true;
}

void AceFile::CalculateBACContigTrims(int threshold) {
  for (size_t c = 0; c < size(); ++c) {
    Contig& contig = (*this)[c];
    const int length = static_cast<int>(contig.mBases.size());
    static const std::vector<int> kNoValues;
    const std::vector<int>& values = c < mContigQuality.size() ? mContigQuality[c].mQualities : kNoValues;
    QualityRange(values, length, threshold, contig.mTrimStart, contig.mTrimEnd);

    if (contig.mTrimStart == -1 && contig.mTrimEnd == -1) {
      contig.mBACReadStart = contig.mBACReadEnd = -1;
    } else {
      int start = length;
      int end = -1;
      const size_t trimmed = std::min(contig.mReadTrimStart.size(), contig.mReadTrimEnd.size());
      for (size_t i = 0; i < contig.mReads.size() && i < trimmed && i < contig.mAlignStart.size(); ++i) {
        if (!IsBACName(contig.mReads[i].mName)) continue;
        const long first = static_cast<long>(contig.mAlignStart[i]) + contig.mReadTrimStart[i];
        if (first >= 0 && first < start) start = static_cast<int>(first);
        const long last = static_cast<long>(contig.mAlignStart[i]) + contig.mReadTrimEnd[i];
        if (last >= 0 && last <= length - 1 && last > end) end = static_cast<int>(last);
      }
      contig.mBACReadStart = start;
      contig.mBACReadEnd = end;
    }

    if (contig.mBACReadStart == -1 || contig.mBACReadEnd == -1 || contig.mBACReadEnd >= length) {
      contig.mBACTrimStart = contig.mBACTrimEnd = -1;
    } else {
      contig.mBACTrimStart = std::max(contig.mTrimStart, contig.mBACReadStart);
      contig.mBACTrimEnd = std::min(contig.mTrimEnd, contig.mBACReadEnd);
    }
  }
}

}  // namespace ostrel
