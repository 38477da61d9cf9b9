// One contig of an assembly cut at many suspect regions in turn: the pieces
// each cut leaves are appended to the assembly, the later regions follow the
// piece that now holds them, and cut contigs left too small are removed.
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "ace/AceFile.h"
#include "util/StringUtil.h"

namespace ostrel {

namespace {

// Worth keeping: some consensus, and either template coverage somewhere or
// at least `minSize` columns.
bool WorthKeeping(const Contig& contig, int minSize) {
  if (contig.mBases.empty()) return false;
  return !contig.TemplateCoverIsZero() || static_cast<int64_t>(contig.mBases.size()) >= minSize;
}

}  // namespace

void AceFile::MultiSplitContig(int minSize, int contigIdx, std::vector<int>& starts, std::vector<int>& ends,
                               std::vector<std::string>* removed) {
  // A point needs both of its bounds.
  const size_t points = std::min(starts.size(), ends.size());
  std::vector<int> contigOf(points, contigIdx);
  std::vector<std::string> deleteNames;

  for (size_t p = 0; p < points; ++p) {
    const int e = contigOf[p];
    if (e < 0 || static_cast<size_t>(e) >= size()) continue;
    Contig middle, right;
    {
      // Appending below may move the contigs, so the reference ends here.
      Contig& cut = (*this)[e];
      cut.SplitContig(starts[p], ends[p], middle, right);
      std::cout << "\tC.size=" << cut.mBases.size() << "\tNewC1.size=" << middle.mBases.size()
                << "\tNewC2.size()=" << right.mBases.size() << std::endl;
      std::cout << "\tCreads=" << cut.mReads.size() << "\tNewC1reads=" << middle.mReads.size()
                << "\tNewC2Reads=" << right.mReads.size() << std::endl;
      if (!WorthKeeping(cut, minSize)) deleteNames.push_back(cut.mName);
    }
    int piece1 = -1, piece2 = -1;
    // The reads of a piece not kept leave the assembly with it, as those of
    // a removed contig do.
    auto dropped = [this, removed](const Contig& piece) {
      mNumReads -= static_cast<int>(piece.mReads.size());
      mTagsLeftOut += static_cast<int>(piece.mTags.size()) + piece.mTagsLeftOut;
      if (removed != nullptr)
        for (const Sequence& read : piece.mReads) removed->push_back(read.mName);
    };
    if (!WorthKeeping(middle, minSize)) {
      dropped(middle);
    } else {
      std::cout << "\tAdd C1 " << middle.mName << std::endl;
      piece1 = static_cast<int>(size());
      // Its own quality entry keeps mContigQuality in step with the
      // contigs, so that RemoveContig can find every one of them.
      mContigQuality.push_back(middle.mQuality);
      push_back(std::move(middle));
      ++mNumContigs;
    }
    if (!WorthKeeping(right, minSize)) {
      dropped(right);
    } else {
      std::cout << "\tAdd C2 " << right.mName << std::endl;
      piece2 = static_cast<int>(size());
      mContigQuality.push_back(right.mQuality);
      push_back(std::move(right));
      ++mNumContigs;
    }
    BuildReadHash();
    ComputeAllContigStats();
    AdjustSplitPoints(static_cast<int>(p), contigIdx, piece1, piece2, starts, ends, contigOf);
  }

  for (const std::string& name : deleteNames) {
    std::cout << "\tDeleting " << name << "..." << std::flush;
    // A cut contig may have been cut again since, growing its name.
    size_t found = 0;
    while (found < size() && !Contains((*this)[found].mName, name)) ++found;
    if (found == size()) {
      std::cerr << "ERROR: Trying to delete contig " << name << " " << -1 << " out of " << size() << std::endl;
      continue;
    }
    if (removed != nullptr)
      for (const Sequence& read : (*this)[found].mReads) removed->push_back(read.mName);
    RemoveContig(static_cast<int>(found));
    BuildReadHash();
    ComputeAllContigStats();
    std::cout << "done." << std::endl;
  }
}

void AceFile::AdjustSplitPoints(int p, int k, int piece1, int piece2, std::vector<int>& starts,
                                std::vector<int>& ends, std::vector<int>& contigOf) {
  auto readCount = [this](int c) {
    return c >= 0 && static_cast<size_t>(c) < size() ? static_cast<int>((*this)[c].mReads.size()) : 0;
  };
  std::vector<ReadSize> ranked = {{k, readCount(k)}, {piece1, readCount(piece1)}, {piece2, readCount(piece2)}};
  std::stable_sort(ranked.begin(), ranked.end());

  const size_t points = std::min({starts.size(), ends.size(), contigOf.size()});
  for (size_t q = static_cast<size_t>(std::max(p, -1)) + 1; q < points; ++q) {
    contigOf[q] = -1;
    for (const ReadSize& entry : ranked) {
      const int c = entry.mContigIdx;
      if (c < 0 || static_cast<size_t>(c) >= size()) continue;
      const Contig& piece = (*this)[c];
      const int64_t offset = int64_t{starts[q]} - piece.mOriginalMinStart;
      if (offset < 0 || offset >= static_cast<int64_t>(piece.mBases.size())) continue;
      contigOf[q] = c;
      starts[q] = ClampToInt(offset);
      ends[q] = ClampToInt(int64_t{ends[q]} - piece.mOriginalMinStart);
      break;
    }
  }
}

}  // namespace ostrel
