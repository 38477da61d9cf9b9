// A contig's templates: the template maps filled from the reads'
// descriptions, the per-template summary, and the choice of the best mate
// pair of a template with more than two reads.
#include <cstdint>
#include <iostream>

#include "ace/Contig.h"
#include "util/LineScan.h"
#include "util/StringUtil.h"
#include "util/TokenScan.h"

namespace ostrel {

namespace {

const int kNoGap = -9999;  // a gap at or below this never makes a pair

// Puts read `r`'s name, direction, strand, length and start into one side
// of the record.
void FillReadSide(const Contig& contig, int r, std::string& name, std::string& direction,
                  char& complement, int& length, int& start) {
  name = contig.mReads[r].mName;
  const auto flag = contig.mReadDirection.find(r);
  direction = flag == contig.mReadDirection.end() || flag->second == 0 ? "fwd" : "rev";
  complement = contig.mComplemented[r];
  length = static_cast<int>(contig.mReads[r].mBases.size());
  start = contig.mAlignStart[r];
}

// The number after "INSERT_SIZE:" in the description, read from 13
// characters past the keyword's start; 0 without the keyword.
int InsertSize(const std::string& description) {
  const size_t at = description.find("INSERT_SIZE:");
  if (at == std::string::npos) return 0;
  int pos = static_cast<int>(at) + 13;
  return NextInt(description, pos);
}

}  // namespace

void Contig::RecordTemplateInfo(int readIdx) {
  if (readIdx < 0 || readIdx >= static_cast<int>(mReads.size())) return;
  const std::string& description = mReads[readIdx].mDescription;
  const size_t templateAt = description.find("TEMPLATE:");
  if (templateAt == std::string::npos) return;
  int pos;
  const std::string templateName = GetNextWSDelimitedString(description, static_cast<int>(templateAt) + 10, pos);
  if (templateName.empty()) return;

  int reverse = 0;
  const size_t directionAt = description.find("DIRECTION:");
  if (directionAt != std::string::npos) {
    const std::string word = GetNextWSDelimitedString(description, static_cast<int>(directionAt) + 11, pos);
    reverse = Contains(word, "fwd") ? 0 : 1;
  }
  mTemplateReads.emplace(templateName, readIdx);
  mReadTemplate[mReads[readIdx].mName] = templateName;
  mReadDirection[readIdx] = reverse;
}

int Contig::RebuildTemplateInfo() {
  mReadIdxMap.clear();
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i) mReadIdxMap[mReads[i].mName] = i;
  RecordTemplates();
  return static_cast<int>(mReads.size());
}

void Contig::RecordTemplates() {
  mTemplateReads.clear();
  mReadTemplate.clear();
  mReadDirection.clear();
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i) RecordTemplateInfo(i);
}

void Contig::GetTemplateInfo(std::vector<TemplateInfo>& out) const {
  out.clear();
  if (mTemplateReads.empty()) return;
  StringSet names;
  for (const auto& entry : mTemplateReads) names.insert(entry.first);

  for (const std::string& name : names) {
    // Entries left behind by read edits that were not rebuilt are passed over.
    std::vector<int> reads;
    const auto range = mTemplateReads.equal_range(name);
    for (auto it = range.first; it != range.second; ++it)
      if (IsPlacedRead(it->second)) reads.push_back(it->second);
    if (reads.empty()) {
      std::cerr << " ERROR: No reads for template." << std::endl;
      continue;
    }
    if (reads.size() > 2) {
      int gap = kNoGap;
      ChooseBestTemplatePair(reads, gap);
      if (reads.size() != 2) {
        std::cout << "ERROR: After ChooseBestTemplatePair, there are not 2 reads." << std::endl;
        continue;
      }
    }

    TemplateInfo info;
    info.mName = name;
    info.mInsertSize = InsertSize(mReads[reads[0]].mDescription);
    if (reads.size() == 2) {
      int left = reads[0], right = reads[1];
      if (mAlignStart[right] < mAlignStart[left]) std::swap(left, right);
      info.mPaired = true;
      info.mGoodOrientation = mComplemented[left] == 'U' && mComplemented[right] == 'C';
      FillReadSide(*this, left, info.mLeftName, info.mLeftDirection, info.mLeftComplement,
                   info.mLeftLength, info.mLeftStart);
      FillReadSide(*this, right, info.mRightName, info.mRightDirection, info.mRightComplement,
                   info.mRightLength, info.mRightStart);
      info.mSpan = ClampToInt(static_cast<int64_t>(info.mRightStart) - info.mLeftStart + info.mRightLength);
    } else {
      FillReadSide(*this, reads[0], info.mLeftName, info.mLeftDirection, info.mLeftComplement,
                   info.mLeftLength, info.mLeftStart);
      info.mSpan = info.mLeftLength;
    }
    out.push_back(info);
  }
}

void Contig::ChooseBestTemplatePair(std::vector<int>& reads, int& gap) const {
  std::vector<int> forward, reverse;
  for (int r : reads) {
    if (!IsPlacedRead(r)) continue;
    (mComplemented[r] == 'U' ? forward : reverse).push_back(r);
  }
  reads.clear();
  gap = 0;
  if (forward.empty() || reverse.empty()) return;

  // Strictly larger gaps replace the best so far, so the first wins ties.
  int64_t bestGap = kNoGap;
  int bestForward = -1, bestReverse = -1;
  for (int u : forward) {
    const int64_t uEnd = static_cast<int64_t>(mAlignStart[u]) + static_cast<int64_t>(mReads[u].mBases.size());
    int64_t partnerGap = kNoGap;
    int partner = -1;
    for (int c : reverse) {
      const int64_t g = static_cast<int64_t>(mAlignStart[c]) - 1 - uEnd;
      if (g > partnerGap) {
        partnerGap = g;
        partner = c;
      }
    }
    if (partnerGap > bestGap) {
      bestGap = partnerGap;
      bestForward = u;
      bestReverse = partner;
    }
  }
  if (bestForward < 0) return;
  reads = {bestForward, bestReverse};
  gap = ClampToInt(bestGap);
}

}  // namespace ostrel
