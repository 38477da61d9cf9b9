// A contig cut around a region whose mate pairs disagree: its reads sorted
// into those left of, inside and right of the region, and the inside and
// right reads moved into contigs of their own with their consensus voted
// anew.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "ace/Contig.h"

namespace ostrel {

namespace {

// Writes a split-off contig in ACE form to "wextest/<name>" (mode 0664)
// for inspection; without that directory nothing is written.
void DumpSplitContig(Contig& contig) {
  // Without the directory the text would be made for nothing.
  struct stat folder;
  if (::stat("wextest", &folder) != 0 || !S_ISDIR(folder.st_mode)) return;
  std::ostringstream text;
  contig.WriteAce(text);
  const std::string path = "wextest/" + contig.mName;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0664);
  if (fd < 0) return;
  const std::string bytes = text.str();
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote <= 0) break;
    done += static_cast<size_t>(wrote);
  }
  ::close(fd);
}

}  // namespace

void Contig::FindConsensusChangePoints(const std::vector<std::string>& names, int& start, int& end) const {
  const int64_t length = static_cast<int64_t>(mBases.size());
  int64_t first = length, last = 0;
  for (const std::string& name : names) {
    const auto found = mReadIdxMap.find(name);
    if (found == mReadIdxMap.end()) {
      std::cerr << "ERROR: mReadIdxMap does not contain " << name << std::endl;
      continue;
    }
    const int i = found->second;
    if (!IsPlacedRead(i)) continue;  // index map out of step
    first = std::min<int64_t>(first, mAlignStart[i]);
    last = std::max<int64_t>(last, int64_t{mAlignStart[i]} + static_cast<int64_t>(mReads[i].mBases.size()) - 1);
  }
  // At least 0, then at most the last index: -1 for an empty consensus.
  start = ClampToInt(std::min(std::max<int64_t>(first, 0), length - 1));
  end = ClampToInt(std::min(std::max<int64_t>(last, 0), length - 1));
}

void Contig::SortReads(int a, int b, std::vector<int>& left, std::vector<int>& middle,
                       std::vector<int>& right) const {
  left.clear();
  middle.clear();
  right.clear();
  for (int i = 0; i < static_cast<int>(mReads.size()); ++i) {
    const std::string& name = mReads[i].mName;
    if (!IsPlacedRead(i)) {  // no start or strand: nowhere to put it
      std::cerr << "\tERROR BUG  This read has no home: " << name << std::endl;
      continue;
    }
    const int64_t s = int64_t{mAlignStart[i]} - 1;
    const int64_t e = int64_t{mAlignStart[i]} + static_cast<int64_t>(mReads[i].mBases.size()) - 2;
    const bool good = HasGoodMateInContig(name);
    const bool coversA = s <= a && a <= e;
    const bool coversB = s <= b && b <= e;
    if ((coversA && !good) || (a < s && e < b) || (coversB && !good))
      middle.push_back(i);
    else if (b < s || (coversB && good))
      right.push_back(i);
    else if (e < a || (coversA && good))
      left.push_back(i);
    else
      std::cerr << "\tERROR BUG  This read has no home: " << name << std::endl;
  }
  const size_t sum = left.size() + middle.size() + right.size();
  if (sum != mReads.size()) {
    std::cerr << "ERROR: Left+Middle+Right=" << sum << " mReads.size=" << mReads.size() << std::endl;
    std::cerr << "ERROR: Left = " << left.size() << "\tMiddle=" << middle.size() << "\tRight=" << right.size()
              << std::endl;
  }
}

void Contig::FindReadSets(int a, int b, std::vector<std::string>& left, std::vector<std::string>& middle,
                          std::vector<std::string>& right) const {
  std::vector<int> sets[3];
  SortReads(a, b, sets[0], sets[1], sets[2]);
  std::vector<std::string>* lists[3] = {&left, &middle, &right};
  for (int k = 0; k < 3; ++k) {
    lists[k]->clear();
    for (int i : sets[k]) lists[k]->push_back(mReads[i].mName);
  }
}

// The pieces are cut by read index, so that reads sharing a name each go
// where they lie. The tags are handed out once the pieces are made: each
// piece takes those over its columns and on its reads.
void Contig::SplitContig(int a, int b, Contig& middleContig, Contig& rightContig) {
  std::vector<int> left, middle, right;
  SortReads(a, b, left, middle, right);
  std::cout << "\t" << mName << "\tSplitContig: " << a << "\t" << b << "\t" << left.size() << "\t" << middle.size()
            << "\t" << right.size() << std::endl;
  std::vector<AceTag> tags;
  tags.swap(mTags);
  if (!right.empty()) {
    rightContig.mName = mName + "R";
    SplitOffReads(right, rightContig);
    // The middle reads move down past the right ones taken out before them.
    for (int& i : middle) i -= static_cast<int>(std::lower_bound(right.begin(), right.end(), i) - right.begin());
  }
  if (!middle.empty()) {
    middleContig.mName = mName + "M";
    SplitOffReads(middle, middleContig);
  }
  mName += "L";
  std::vector<std::pair<Contig*, int64_t>> homes = {{this, 0}};
  if (!middle.empty()) homes.emplace_back(&middleContig, middleContig.mOriginalMinStart);
  if (!right.empty()) homes.emplace_back(&rightContig, rightContig.mOriginalMinStart);
  mTagsLeftOut += HandOutTags(tags, homes);
}

std::vector<int> Contig::ReadIndexes(const std::vector<std::string>& names) const {
  std::vector<int> reads;
  for (const std::string& name : names) {
    const auto found = mReadIdxMap.find(name);
    if (found != mReadIdxMap.end() && IsPlacedRead(found->second)) reads.push_back(found->second);
  }
  return reads;
}

int Contig::MoveReadsInto(const std::vector<int>& reads, Contig& newContig) const {
  for (int i : reads) {
    CopyReadEntries(i, newContig);
    newContig.mBaseSegments.assign(1, BaseSegment{0, 0, mReads[i].mName});
    newContig.mTrimStart = newContig.mTrimEnd = 0;
  }
  newContig.mVoteByCount = mVoteByCount;
  newContig.mStrand = mStrand;  // a piece of a complemented contig is one too
  int min, max;
  newContig.FixupAlignStarts(0, min, max);
  int64_t newRight = 0;
  bool any = false;
  for (int i = 0; i < static_cast<int>(newContig.mReads.size()); ++i) {
    if (!newContig.IsPlacedRead(i)) continue;
    const int64_t last =
        int64_t{newContig.mAlignStart[i]} + static_cast<int64_t>(newContig.mReads[i].mBases.size()) - 2;
    newRight = any ? std::max(newRight, last) : last;
    any = true;
  }
  // A consensus is at most an int long.
  newRight = std::clamp<int64_t>(newRight, -1, INT32_MAX - 1);
  newContig.mBases.resize(static_cast<size_t>(newRight + 1), '*');
  newContig.mQuality.mQualities.resize(static_cast<size_t>(newRight + 1), 0);
  // Piece column p was column p + min here.
  newContig.ComputeConsensus(0, static_cast<int>(newRight),
                             {mVoteByCount ? ColumnsNow(min) : ColumnsBefore()});
  newContig.mPaddedBases = static_cast<int>(newContig.mBases.size());
  newContig.mNumReads = static_cast<int>(newContig.mReads.size());
  return static_cast<int>(newRight);
}

void Contig::SplitContigRight(const std::vector<std::string>& names, Contig& newContig) {
  for (const std::string& name : names)
    if (mReadIdxMap.count(name) == 0) std::cerr << "ERROR: mReadIdxMap does not contain " << name << std::endl;
  std::vector<int> reads = ReadIndexes(names);
  std::sort(reads.begin(), reads.end());
  reads.erase(std::unique(reads.begin(), reads.end()), reads.end());
  SplitOffReads(reads, newContig);
}

void Contig::SplitOffReads(const std::vector<int>& reads, Contig& newContig) {
  // The stretch the moving reads cover, taken before they move.
  int64_t first = static_cast<int64_t>(mBases.size());
  for (int i : reads) first = std::min<int64_t>(first, mAlignStart[i]);
  const int start = ClampToInt(std::min(std::max<int64_t>(first, 0), static_cast<int64_t>(mBases.size()) - 1));
  const ColumnsBefore before = mVoteByCount ? ColumnsNow(0) : ColumnsBefore();
  MoveReadsInto(reads, newContig);
  std::cout << newContig.mName << "\tNewC size=" << newContig.mBases.size()
            << " NumReads: " << newContig.mReads.size() << std::endl;
  newContig.ComputeSyntheticBS();
  DumpSplitContig(newContig);

  std::vector<char> gone(mReads.size(), 0);
  for (int i : reads) gone[i] = 1;
  EraseReadEntries(gone);
  mBaseSegments.clear();
  mPaddedBases = static_cast<int>(mBases.size());
  mNumReads = static_cast<int>(mReads.size());
  std::cout << mName << "\tsize=" << mBases.size() << " NumReads: " << mReads.size() << std::endl;
  if (!mBases.empty()) {
    ComputeConsensus(start, ClampToInt(static_cast<int64_t>(mBases.size()) - 1), {before});
    TrimPadTail();
  }
  ComputeSyntheticBS();
  std::cout << "After compute consensus: " << mName << "\tsize=" << mBases.size() << " NumReads: " << mReads.size()
            << std::endl;
}

void Contig::SplitContigRight(const std::vector<std::string>& dropNames, const std::vector<std::string>& moveNames,
                              int from, int /*unused*/, Contig& newContig) {
  newContig.mName = mName + "A";
  const ColumnsBefore before = mVoteByCount ? ColumnsNow(0) : ColumnsBefore();
  const int newRight = MoveReadsInto(ReadIndexes(moveNames), newContig);
  std::cout << "newRight=" << newRight << std::endl;
  newContig.ComputeSyntheticBS();

  std::vector<std::string> leaving = moveNames;
  leaving.insert(leaving.end(), dropNames.begin(), dropNames.end());
  RemoveReads(leaving);
  mPaddedBases = static_cast<int>(mBases.size());
  mNumReads = static_cast<int>(mReads.size());
  ComputeConsensus(from, ClampToInt(static_cast<int64_t>(mBases.size()) - 1), {before});
  ComputeSyntheticBS();
  TrimPadTail();
}

}  // namespace ostrel
