// Loading the reads, comparing them in threaded rounds and handing the
// overlaps over in read order.
#include "search/AllOverlaps.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <sstream>
#include <thread>

#include "search/OverlapGraph.h"
#include "seq/FastaRecord.h"
#include "util/GzStream.h"

namespace ostrel {

namespace {

// The minimizer window that gives about `density` words per 1000 bases: a
// window of w words yields about 2 / (w + 1) of them.
int WindowFor(int density) { return std::max(1, 2000 / std::max(density, 1) - 1); }

AllOverlapsSettings WithThreads(AllOverlapsSettings settings) {
  if (settings.mThreads == 0) settings.mThreads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return settings;
}

// What one query gave: its overlaps, as edges source -> query (the better
// of a pair met on both strands), and the overlapper's lines when they are
// asked for.
struct QueryResult {
  OverlapGraph mGraph;
  std::string mLines;
};

// Compares queries first .. last - 1 with the reads before each, spread
// over `threads` threads.
void CompareRound(const ReadOverlapper& overlapper, int first, int last, int threads, bool withLines,
                  std::vector<QueryResult>& results) {
  results.assign(static_cast<size_t>(last - first), QueryResult());
  std::atomic<int> next(first);
  auto work = [&]() {
    std::ostringstream lines;
    std::vector<ReadOverlap> overlaps;
    for (int q = next++; q < last; q = next++) {
      QueryResult& result = results[static_cast<size_t>(q - first)];
      overlaps.clear();
      overlapper.OverlapsBefore(q, overlaps, withLines ? &lines : nullptr);
      const PackedReads& reads = overlapper.mReads;
      const std::string& queryName = reads.Name(static_cast<size_t>(q));
      for (const ReadOverlap& o : overlaps)
        result.mGraph.KeepBetterEdge(reads.Name(static_cast<size_t>(o.mSourceIdx)), queryName, o.mLength, o.mScore,
                                     o.mLeftHang, o.mRightHang, o.mOrientation);
      result.mLines = lines.str();
      lines.str("");
    }
  };
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(work);
  work();
  for (std::thread& thread : pool) thread.join();
}

// "what value is not in least .. most", or "is below least" when there is
// no upper bound (most < least).
template <typename T>
std::string OutOfRange(const char* what, T value, T least, T most) {
  std::ostringstream text;
  text << what << ' ' << value;
  if (most >= least)
    text << " is not in " << least << " .. " << most;
  else
    text << " is below " << least;
  return text.str();
}

}  // namespace

std::string AllOverlapsSettings::Problem() const {
  if (mWordSize < 1 || mWordSize > MinimizerIndex::kMaxWordSize)
    return OutOfRange("word size", mWordSize, 1, MinimizerIndex::kMaxWordSize);
  if (mWordDensity < 1 || mWordDensity > kMaxWordDensity)
    return OutOfRange("word density", mWordDensity, 1, kMaxWordDensity);
  if (mRepeatLimit < 0) return OutOfRange("repeat limit", mRepeatLimit, 0, -1);
  if (mBandWidth < 1 || mBandWidth > kMaxBandWidth) return OutOfRange("band width", mBandWidth, 1, kMaxBandWidth);
  if (!(mErrorPct >= 0 && mErrorPct <= kMaxErrorPct))
    return OutOfRange("error percentage", mErrorPct, 0.0f, kMaxErrorPct);
  if (mMinScore < 1) return OutOfRange("least score", mMinScore, 1, 0);
  if (mMinReadSize < 1) return OutOfRange("shortest read", mMinReadSize, 1, 0);
  if (mThreads < 0) return OutOfRange("threads", mThreads, 0, -1);
  return "";
}

AllOverlaps::AllOverlaps(const AllOverlapsSettings& settings)
    : mSettings(WithThreads(settings)),
      mOverlapper(settings.mWordSize, WindowFor(settings.mWordDensity), settings.mRepeatLimit, settings.mBandWidth,
                  settings.mErrorPct, settings.mMinScore) {}

int AllOverlaps::Load(const std::vector<std::string>& files, std::vector<std::string>& problems) {
  const size_t minSize = static_cast<size_t>(std::max(mSettings.mMinReadSize, 0));
  int status = 0;
  for (const std::string& file : files) {
    igzstream in(file);
    if (!in.is_open()) {
      problems.push_back("cannot read " + file);
      return 1;
    }
    Sequence read;
    while (ReadSequenceRecord(in, read)) {
      ++mCounts.mRecords;
      if (read.mBases.size() < minSize) {
        ++mCounts.mSkipped;
        continue;
      }
      for (char& c : read.mBases) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      mLoaded.Add(read);
    }
    if (in.bad()) {
      problems.push_back(file + " is damaged or truncated; its records up to there are used");
      status = 2;
    }
  }
  for (size_t r = 0; r < mLoaded.size(); ++r)
    if (!mNameIndex.emplace(mLoaded.Name(r), static_cast<int>(r)).second) ++mCounts.mSharedNames;
  return status;
}

void AllOverlaps::Index() { mOverlapper.Index(std::move(mLoaded), mSettings.mThreads); }

bool AllOverlaps::FirstOfItsName(size_t read) const {
  return mNameIndex.at(Reads().Name(read)) == static_cast<int>(read);
}

void AllOverlaps::Compare(const std::function<void(const FoundOverlap&)>& take, std::ostream* lines,
                          const std::function<void(int compared)>& roundDone) const {
  const int reads = static_cast<int>(Reads().size());
  const int threads = mSettings.mThreads;
  std::vector<QueryResult> results;
  for (int first = 0; first < reads;) {
    const int last =
        static_cast<int>(std::min<long>(reads, first + static_cast<long>(threads) * kQueriesPerThreadRound));
    CompareRound(mOverlapper, first, last, threads, lines != nullptr, results);
    for (int q = first; q < last; ++q) {
      const QueryResult& result = results[static_cast<size_t>(q - first)];
      if (lines != nullptr) *lines << result.mLines;
      for (const OverlapNode& node : result.mGraph.mNodes)
        for (const OverlapEdge& edge : node.mEdges)
          take(FoundOverlap{q, mNameIndex.at(node.mName), edge.mLength, edge.mScore, edge.mLeftHang, edge.mRightHang,
                            edge.mOrientation});
    }
    first = last;
    if (roundDone) roundDone(last);
  }
}

}  // namespace ostrel
