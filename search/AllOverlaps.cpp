// Loading the reads, comparing them in threaded rounds and handing the
// overlaps over in read order.
#include "search/AllOverlaps.h"

#include <algorithm>
#include <atomic>
#include <sstream>
#include <string_view>
#include <thread>
#include <unordered_map>

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

// What one query gave: its overlaps, the better of a pair met on both
// strands (or through reads that share a name), in the order first met, and
// the overlapper's lines when they are asked for.
struct QueryResult {
  std::vector<FoundOverlap> mOverlaps;
  std::string mLines;
};

// Compares queries first .. last - 1 with the reads before each, spread
// over `threads` threads; `firstOfName` maps a read to the first read of
// its name.
void CompareRound(const ReadOverlapper& overlapper, const std::vector<int>& firstOfName, int first, int last,
                  int threads, bool withLines, std::vector<QueryResult>& results) {
  results.assign(static_cast<size_t>(last - first), QueryResult());
  std::atomic<int> next(first);
  auto work = [&]() {
    std::ostringstream lines;
    std::vector<ReadOverlap> overlaps;
    for (int q = next++; q < last; q = next++) {
      QueryResult& result = results[static_cast<size_t>(q - first)];
      overlaps.clear();
      overlapper.OverlapsBefore(q, overlaps, withLines ? &lines : nullptr);
      for (const ReadOverlap& o : overlaps) {
        const FoundOverlap found{q, o.mSourceIdx, o.mLength, o.mScore, o.mLeftHang, o.mRightHang, o.mOrientation};
        const int name = firstOfName[static_cast<size_t>(o.mSourceIdx)];
        const auto same = std::find_if(result.mOverlaps.begin(), result.mOverlaps.end(), [&](const FoundOverlap& f) {
          return firstOfName[static_cast<size_t>(f.mTarget)] == name;
        });
        if (same == result.mOverlaps.end())
          result.mOverlaps.push_back(found);
        else if (same->mScore < found.mScore)
          *same = found;
      }
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

std::string ReadCounts::SharedNamesWarning() const {
  return "WARNING: " + std::to_string(mSharedNames) +
         " reads share a name with an earlier read; their overlaps are kept by name";
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
      read.ToUpperCase();
      mLoaded.Add(read);
    }
    if (in.bad()) {
      problems.push_back(file + " is damaged or truncated; its records up to there are used");
      status = 2;
    }
  }
  // Every read loaded so far named again: a later file's reads may share
  // an earlier one's names.
  std::unordered_map<std::string_view, int> firstOfName;
  mFirstOfName.resize(mLoaded.size());
  mCounts.mSharedNames = 0;
  for (size_t r = 0; r < mLoaded.size(); ++r) {
    const auto [first, added] = firstOfName.emplace(mLoaded.Name(r), static_cast<int>(r));
    mFirstOfName[r] = first->second;
    if (!added) ++mCounts.mSharedNames;
  }
  return status;
}

void AllOverlaps::Index() {
  mOverlapper.Index(std::move(mLoaded), mSettings.mThreads);
  mLoaded = PackedReads();
}

bool AllOverlaps::FirstOfItsName(size_t read) const { return mFirstOfName[read] == static_cast<int>(read); }

void AllOverlaps::Compare(const std::function<void(const FoundOverlap&)>& take, std::ostream* lines,
                          const std::function<void(int compared)>& roundDone) const {
  const int reads = static_cast<int>(Reads().size());
  const int threads = mSettings.mThreads;
  std::vector<QueryResult> results;
  for (int first = 0; first < reads;) {
    const int last =
        static_cast<int>(std::min<long>(reads, first + static_cast<long>(threads) * kQueriesPerThreadRound));
    CompareRound(mOverlapper, mFirstOfName, first, last, threads, lines != nullptr, results);
    for (int q = first; q < last; ++q) {
      const QueryResult& result = results[static_cast<size_t>(q - first)];
      if (lines != nullptr) *lines << result.mLines;
      for (const FoundOverlap& found : result.mOverlaps) take(found);
    }
    first = last;
    if (roundDone) roundDone(last);
  }
}

}  // namespace ostrel
