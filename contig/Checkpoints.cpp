// Pairing of checkpoints at the two ends of a suspect region, and the
// problem-contig list of a repeat report ("Rep_node:" lines).
#include "contig/Checkpoints.h"

#include <algorithm>
#include <cstdint>
#include <iostream>

#include "ace/Contig.h"
#include "util/GzStream.h"
#include "util/LineScan.h"
#include "util/NumberUtil.h"
#include "util/StringUtil.h"

namespace ostrel {

namespace {

// Distances start above every pairing worth making.
constexpr int64_t kNoMate = 999999;

int64_t Distance(int64_t a, int64_t b) { return a > b ? a - b : b - a; }

}  // namespace

int ContigChecks::FindClosestMate(int index, int maxDistance) {
  if (index < 0 || static_cast<size_t>(index) >= mChecks.size()) return -1;
  const ContigCheck& check = mChecks[index];
  if (check.mUsed) return -1;
  int64_t best = kNoMate;
  int mate = -1;
  for (size_t j = 0; j < mChecks.size(); ++j) {
    const ContigCheck& other = mChecks[j];
    if (static_cast<int>(j) == index || other.mUsed || other.mContig != check.mContig) continue;
    int64_t distance;
    if (check.mSide == "left" && other.mSide == "right")
      distance = Distance(check.mStart, other.mEnd);
    else if (check.mSide == "right" && other.mSide == "left")
      distance = Distance(other.mStart, check.mEnd);
    else
      continue;
    if (distance < best) {
      best = distance;
      mate = static_cast<int>(j);
    }
  }
  return mate >= 0 && best < maxDistance ? mate : -1;
}

void ContigChecks::MergePairs(int maxDistance) {
  for (ContigCheck& check : mChecks) check.mUsed = false;
  std::vector<ContigCheck> merged;
  for (size_t i = 0; i < mChecks.size(); ++i) {
    const int j = FindClosestMate(static_cast<int>(i), maxDistance);
    if (j < 0) continue;
    ContigCheck& first = mChecks[i];
    ContigCheck& mate = mChecks[j];
    std::cout << "Merging Checkpoints: " << first.mContig << " " << first.mSide << " " << first.mStart << "-"
              << first.mEnd << "\t" << mate.mContig << " " << mate.mSide << " " << mate.mStart << "-" << mate.mEnd
              << "\n";
    // The region runs from the left checkpoint's start to the right one's
    // end, in whichever order they lie.
    const ContigCheck& left = first.mSide == "left" ? first : mate;
    const ContigCheck& right = first.mSide == "left" ? mate : first;
    ContigCheck pair;
    pair.mContig = first.mContig;
    pair.mSide = "merged";
    pair.mMerged = true;
    pair.mStart = std::min(left.mStart, right.mEnd);
    pair.mEnd = std::max(left.mStart, right.mEnd);
    pair.mLength = ClampToInt(int64_t{pair.mEnd} - pair.mStart + 1);
    merged.push_back(pair);
    first.mUsed = true;
    mate.mUsed = true;
  }
  for (const ContigCheck& check : mChecks)
    if (!check.mUsed) merged.push_back(check);
  mChecks.swap(merged);
}

void GetProblemContigs(const std::string& fileName, StringSet& names) {
  std::cout << "Reading problem contigs from " << fileName << "..." << std::endl;
  igzstream in(fileName);
  if (!in.is_open()) return;
  std::string line;
  while (GetLine(in, line)) {
    if (!Contains(line, "Rep_node:")) continue;
    const std::string text = line.substr(line.find(':') + 1);
    const size_t underscore = text.find('_');
    if (underscore != std::string::npos && text.find('_', underscore + 1) != std::string::npos) continue;
    std::string name = text.substr(0, underscore);
    StripWhiteSpace(name);
    std::cout << "Adding " << name << " to problem contigs list." << std::endl;
    names.insert(name);
  }
}

int ReadCheckpoints(std::istream& in, const std::string& name, ContigChecks& checks) {
  int skipped = 0;
  int lineNumber = 0;
  std::string line;
  while (GetLine(in, line)) {
    ++lineNumber;
    if (ContainsOnlyWS(line) || line[0] == '#') continue;
    std::vector<std::string> fields;
    for (size_t at = 0, tab; at <= line.size(); at = tab + 1) {
      tab = std::min(line.find('\t', at), line.size());
      fields.push_back(line.substr(at, tab - at));
    }
    ContigCheck check;
    const char* why = nullptr;
    if (fields.size() != 4 || fields[0].empty())
      why = "not four tab-separated fields (contig, side, start, end)";
    else if (fields[1] != "left" && fields[1] != "right")
      why = "the side is neither left nor right";
    else if (!ParseCount(fields[2], check.mStart) || !ParseCount(fields[3], check.mEnd) || check.mStart > check.mEnd)
      why = "start and end are not positions with start <= end";
    if (why != nullptr) {
      std::cerr << name << " line " << lineNumber << ": " << why << ", skipped" << std::endl;
      ++skipped;
      continue;
    }
    check.mContig = fields[0];
    check.mSide = fields[1];
    checks.mChecks.push_back(check);
  }
  return skipped;
}

}  // namespace ostrel
