// ostrel-overlap: every read entered as a source, then compared with the
// sources before it, so each pair of distinct reads is compared once and no
// read with itself. Queries are compared in rounds shared among threads and
// written in read order, so the output is the same whatever the thread
// count.
#include "overlap/OverlapCommand.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "search/OverlapGraph.h"
#include "search/GfaLine.h"
#include "search/PafLine.h"
#include "search/ReadOverlapper.h"
#include "seq/FastaRecord.h"
#include "util/CommandOptions.h"
#include "util/GzStream.h"
#include "util/Hash.h"
#include "util/NumberUtil.h"
#include "util/OutputFile.h"

namespace ostrel {

namespace {

constexpr const char* kName = "ostrel-overlap";
constexpr int kQueriesPerThreadRound = 512;

enum class Format { kPaf, kGraph, kGfa };

// The minimizer window that gives about `density` words per 1000 bases: a
// window of w words yields about 2 / (w + 1) of them.
int WindowFor(int density) { return std::max(1, 2000 / std::max(density, 1) - 1); }

struct Settings {
  int mWordSize = kDefaultWordSize;
  int mWordDensity = kDefaultWordDensity;
  int mRepeatLimit = kDefaultRepeatLimit;
  int mBandWidth = kDefaultBandWidth;
  float mErrorPct = kDefaultErrorPct;
  int mMinScore = kDefaultMinScore;
  int mMinReadSize = static_cast<int>(kDefaultMinReadSize);
  int mThreads = 0;  // 0: every core
  Format mFormat = Format::kPaf;
  std::string mOutName;  // "": standard output
  bool mVerbose = false;
  bool mQuiet = false;
};

void PrintUsage(std::ostream& out) {
  out << "Usage: " << kName << " [options] reads.fa[.gz] [more.fa ...]\n"
      << "\n"
      << "Finds the end-to-end overlaps between the reads, on both strands, and writes\n"
      << "each overlapping pair of distinct reads once: as PAF (0-based, half-open\n"
      << "coordinates on each read's forward strand; AS:i: the alignment score, ol:i:\n"
      << "the overlap length), as a GFA 1 graph (S lines of the reads' lengths, L lines\n"
      << "of dovetails, C lines of containments), or as an overlap graph, one line per\n"
      << "read with the overlaps {length,score,left hang,right hang,same strand} of the\n"
      << "reads after it. Lower-case bases are compared as upper case.\n"
      << "\n"
      << "  -k INT   word size of the index, at most " << MinimizerIndex::kMaxWordSize << " [" << kDefaultWordSize
      << "]\n"
      << "  -d INT   words indexed per 1000 bases of a read, about [" << kDefaultWordDensity << "]\n"
      << "  -m INT   words in more than INT places count as repeats and are not used;\n"
      << "           0: " << MinimizerIndex::kRepeatFactor << " x the places of a typical word, at least "
      << MinimizerIndex::kLeastRepeatLimit << " [" << kDefaultRepeatLimit << "]\n"
      << "  -w INT   band width of the alignment, either side, at most " << kMaxBandWidth << " ["
      << kDefaultBandWidth << "]\n"
      << "  -e FLOAT expected error percentage: an overlap needs a score of length x\n"
      << "           (1 - 2 x e / 100), and of the least score at least [" << kDefaultErrorPct << "]\n"
      << "  -s INT   least overlap score (+1 a match, -1 a mismatch, -2 a gap base) [" << kDefaultMinScore
      << "]\n"
      << "  -l INT   shortest read compared; shorter ones are skipped [" << kDefaultMinReadSize << "]\n"
      << "  -t INT   threads [all cores]\n"
      << "  -f STR   output format: paf, gfa or graph [paf]\n"
      << "  -o FILE  write to FILE (whole or not at all) instead of standard output\n"
      << "  -v       a line per alignment made, on standard error\n"
      << "  -q       no progress line\n"
      << "  -h       this text\n";
}

// A count of at least `least`.
bool ParseAtLeast(const std::string& text, int least, int& value) {
  return ParseCount(text, value) && value >= least;
}

bool TakeOption(char letter, const std::string& value, Settings& settings) {
  switch (letter) {
    case 'k': return ParseAtLeast(value, 1, settings.mWordSize) && settings.mWordSize <= MinimizerIndex::kMaxWordSize;
    case 'd': return ParseAtLeast(value, 1, settings.mWordDensity) && settings.mWordDensity <= 1000;
    case 'm': return ParseAtLeast(value, 0, settings.mRepeatLimit);
    case 's': return ParseAtLeast(value, 1, settings.mMinScore);
    case 'w': return ParseAtLeast(value, 1, settings.mBandWidth) && settings.mBandWidth <= kMaxBandWidth;
    case 'e': return ParseAmount(value, settings.mErrorPct) && settings.mErrorPct <= 50;
    case 'l': return ParseAtLeast(value, 1, settings.mMinReadSize);
    case 't': return ParseAtLeast(value, 1, settings.mThreads);
    case 'f':
      settings.mFormat = value == "graph" ? Format::kGraph : value == "gfa" ? Format::kGfa : Format::kPaf;
      return value == "graph" || value == "gfa" || value == "paf";
    case 'o': settings.mOutName = value; return !value.empty();
    case 'v': settings.mVerbose = true; return true;
    case 'q': settings.mQuiet = true; return true;
  }
  return false;
}

struct ReadCounts {
  long mRecords = 0;
  long mSkipped = 0;     // shorter than the shortest read compared
  long mSharedNames = 0;
};

// Reads every record of the files, upper-cased; records shorter than
// `minSize` are counted and left out. The result is the exit status so
// far: 0; 1 when a file cannot be opened; 2 when one ends at damage, its
// good records kept.
int LoadReads(const std::vector<std::string>& files, uint32_t minSize, PackedReads& reads, ReadCounts& counts) {
  int status = 0;
  for (const std::string& file : files) {
    igzstream in(file);
    if (!in.is_open()) {
      std::cerr << kName << ": cannot read " << file << '\n';
      return 1;
    }
    Sequence read;
    while (ReadSequenceRecord(in, read)) {
      ++counts.mRecords;
      if (read.mBases.size() < minSize) {
        ++counts.mSkipped;
        continue;
      }
      for (char& c : read.mBases) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      reads.Add(read);
    }
    if (in.bad()) {
      std::cerr << kName << ": " << file << " is damaged or truncated; its records up to there are used\n";
      status = 2;
    }
  }
  return status;
}

// Maps each read's name to its first read; counts the names met before.
void NameReads(const PackedReads& reads, String2IntMap& nameIndex, ReadCounts& counts) {
  for (size_t r = 0; r < reads.size(); ++r)
    if (!nameIndex.emplace(reads.Name(r), static_cast<int>(r)).second) ++counts.mSharedNames;
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
void CompareRound(const ReadOverlapper& overlapper, int first, int last, int threads, bool verbose,
                  std::vector<QueryResult>& results) {
  results.assign(static_cast<size_t>(last - first), QueryResult());
  std::atomic<int> next(first);
  auto work = [&]() {
    std::ostringstream lines;
    std::vector<ReadOverlap> overlaps;
    for (int q = next++; q < last; q = next++) {
      QueryResult& result = results[static_cast<size_t>(q - first)];
      overlaps.clear();
      overlapper.OverlapsBefore(q, overlaps, verbose ? &lines : nullptr);
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

// Writes a query's overlaps as PAF lines, or GFA links and containments,
// the query on the query side; returns how many.
long WriteLines(const QueryResult& result, size_t query, const PackedReads& reads, const String2IntMap& nameIndex,
                bool gfa, std::ostream& out) {
  long written = 0;
  const std::string& queryName = reads.Name(query);
  const int queryLength = reads.Length(query);
  for (const OverlapNode& node : result.mGraph.mNodes) {
    const size_t target = static_cast<size_t>(nameIndex.at(node.mName));
    for (const OverlapEdge& edge : node.mEdges) {
      if (gfa)
        WriteGfaOverlap(out, queryName, queryLength, reads.Name(target), edge.mLength, edge.mLeftHang,
                        edge.mRightHang, edge.mOrientation);
      else
        WritePafLine(out, queryName, queryLength, reads.Name(target), reads.Length(target), edge.mLength,
                     edge.mScore, edge.mLeftHang, edge.mRightHang, edge.mOrientation);
      ++written;
    }
  }
  return written;
}

// Adds a query's overlaps to the whole graph, keeping the better score of
// a pair met twice (reads that share a name); returns how many were new.
long MergeInto(const QueryResult& result, OverlapGraph& graph) {
  long added = 0;
  for (const OverlapNode& node : result.mGraph.mNodes)
    for (const OverlapEdge& edge : node.mEdges)
      if (graph.KeepBetterEdge(node.mName, edge.mName, edge.mLength, edge.mScore, edge.mLeftHang,
                               edge.mRightHang, edge.mOrientation))
        ++added;
  return added;
}

// A GFA segment for each name, at its first read.
void WriteSegments(const ReadOverlapper& overlapper, const String2IntMap& nameIndex, std::ostream& out) {
  WriteGfaHeader(out);
  const PackedReads& reads = overlapper.mReads;
  for (size_t r = 0; r < reads.size(); ++r)
    if (nameIndex.at(reads.Name(r)) == static_cast<int>(r)) WriteGfaSegment(out, reads.Name(r), reads.Length(r));
}

// Compares every read, in rounds, writing each round's overlaps in read
// order; returns the number of overlaps.
long CompareAll(const ReadOverlapper& overlapper, const String2IntMap& nameIndex, const Settings& settings,
                std::ostream& out) {
  const int reads = static_cast<int>(overlapper.mReads.size());
  const int threads = settings.mThreads;
  const bool graphOut = settings.mFormat == Format::kGraph, gfaOut = settings.mFormat == Format::kGfa;
  OverlapGraph graph;
  long overlaps = 0;
  if (gfaOut) WriteSegments(overlapper, nameIndex, out);
  auto lastReport = std::chrono::steady_clock::now();
  std::vector<QueryResult> results;
  for (int first = 0; first < reads;) {
    const int last = static_cast<int>(std::min<long>(reads, first + static_cast<long>(threads) * kQueriesPerThreadRound));
    CompareRound(overlapper, first, last, threads, settings.mVerbose, results);
    for (int q = first; q < last; ++q) {
      const QueryResult& result = results[static_cast<size_t>(q - first)];
      std::cerr << result.mLines;
      overlaps += graphOut ? MergeInto(result, graph)
                           : WriteLines(result, static_cast<size_t>(q), overlapper.mReads, nameIndex, gfaOut, out);
    }
    first = last;
    const auto now = std::chrono::steady_clock::now();
    if (!settings.mQuiet && now - lastReport >= std::chrono::seconds(kProgressSeconds)) {
      std::cerr << kName << ": " << last << " of " << reads << " reads compared\n";
      lastReport = now;
    }
  }
  if (graphOut) graph.Print(out);
  return overlaps;
}

}  // namespace

int RunOverlap(int argc, char** argv) {
  Settings settings;
  std::vector<std::string> files;
  const int scanned = ScanOptions(
      argc, argv, "k:d:m:w:e:s:l:t:f:o:vq", PrintUsage,
      [&](char letter, const std::string& value) { return TakeOption(letter, value, settings); }, 1, kAnyNumber,
      files);
  if (scanned >= 0) return scanned;
  if (settings.mThreads == 0) settings.mThreads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

  // The library writes its notes to standard output, which here holds the
  // overlaps alone: the notes go to standard error.
  std::ostream data(std::cout.rdbuf());
  std::streambuf* const coutBuffer = std::cout.rdbuf(std::cerr.rdbuf());
  struct RestoreCout {
    std::streambuf* mBuffer;
    ~RestoreCout() { std::cout.rdbuf(mBuffer); }
  } restore{coutBuffer};

  OutputFile file;
  if (!settings.mOutName.empty() && !file.Open(settings.mOutName, false)) {
    std::cerr << kName << ": cannot write " << settings.mOutName << ": " << file.Error() << '\n';
    return 1;
  }
  std::ostream& out = settings.mOutName.empty() ? data : file;

  ReadOverlapper overlapper(settings.mWordSize, WindowFor(settings.mWordDensity), settings.mRepeatLimit,
                            settings.mBandWidth, settings.mErrorPct, settings.mMinScore);
  ReadCounts counts;
  PackedReads reads;
  const int status = LoadReads(files, static_cast<uint32_t>(settings.mMinReadSize), reads, counts);
  if (status == 1) return 1;
  if (counts.mRecords == 0) {
    std::cerr << kName << ": no FASTA record in the input\n";
    return 1;
  }
  String2IntMap nameIndex;
  NameReads(reads, nameIndex, counts);
  if (counts.mSharedNames > 0)
    std::cerr << kName << ": WARNING: " << counts.mSharedNames
              << " reads share a name with an earlier read; their overlaps are kept by name\n";
  overlapper.Index(std::move(reads), settings.mThreads);
  if (!settings.mQuiet)
    std::cerr << kName << ": " << overlapper.mReads.size() << " reads indexed (" << overlapper.mIndex.Places()
              << " words, " << overlapper.mIndex.mRepeatWords << " repeat words in more than "
              << overlapper.mIndex.mRepeatLimit << " places left out), comparing with " << settings.mThreads
              << " threads\n";

  const long overlaps = CompareAll(overlapper, nameIndex, settings, out);
  if (settings.mOutName.empty() ? !out.flush() : !file.Commit()) {
    std::cerr << kName << ": cannot write " << (settings.mOutName.empty() ? "standard output" : settings.mOutName)
              << (settings.mOutName.empty() ? std::string() : ": " + file.Error()) << '\n';
    return 1;
  }
  std::cerr << kName << ": " << counts.mRecords << " reads, " << counts.mSkipped << " shorter than "
            << settings.mMinReadSize << " skipped, " << overlaps << " overlaps written\n";
  return status;
}

}  // namespace ostrel
