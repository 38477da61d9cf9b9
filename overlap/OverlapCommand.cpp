// ostrel-overlap: the overlaps of AllOverlaps written as PAF, GFA or an
// overlap graph.
#include "overlap/OverlapCommand.h"

#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "search/OverlapGraph.h"
#include "search/GfaLine.h"
#include "search/PafLine.h"
#include "util/CommandOptions.h"
#include "util/NumberUtil.h"
#include "util/OutputFile.h"

namespace ostrel {

namespace {

constexpr const char* kName = "ostrel-overlap";
enum class Format { kPaf, kGraph, kGfa };

struct Settings {
  AllOverlapsSettings mRun;
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

// Reads an option; a number is checked against its range as the library
// gives it.
bool TakeOption(char letter, const std::string& value, Settings& settings) {
  AllOverlapsSettings& run = settings.mRun;
  const auto inRange = [&run](bool parsed) { return parsed && run.Problem().empty(); };
  switch (letter) {
    case 'k': return inRange(ParseCount(value, run.mWordSize));
    case 'd': return inRange(ParseCount(value, run.mWordDensity));
    case 'm': return inRange(ParseCount(value, run.mRepeatLimit));
    case 's': return inRange(ParseCount(value, run.mMinScore));
    case 'w': return inRange(ParseCount(value, run.mBandWidth));
    case 'e': return inRange(ParseAmount(value, run.mErrorPct));
    case 'l': return inRange(ParseCount(value, run.mMinReadSize));
    case 't': return ParseCount(value, run.mThreads) && run.mThreads >= 1;  // 0, every core, is the default alone
    case 'f':
      settings.mFormat = value == "graph" ? Format::kGraph : value == "gfa" ? Format::kGfa : Format::kPaf;
      return value == "graph" || value == "gfa" || value == "paf";
    case 'o': settings.mOutName = value; return !value.empty();
    case 'v': settings.mVerbose = true; return true;
    case 'q': settings.mQuiet = true; return true;
  }
  return false;
}

// Writes an overlap as a PAF line, or a GFA link or containment, the query
// on the query side.
void WriteOverlap(const FoundOverlap& o, const PackedReads& reads, bool gfa, std::ostream& out) {
  const size_t query = static_cast<size_t>(o.mQuery), target = static_cast<size_t>(o.mTarget);
  if (gfa)
    WriteGfaOverlap(out, reads.Name(query), reads.Length(query), reads.Name(target), o.mLength, o.mLeftHang,
                    o.mRightHang, o.mOrientation);
  else
    WritePafLine(out, reads.Name(query), reads.Length(query), reads.Name(target), reads.Length(target), o.mLength,
                 o.mScore, o.mLeftHang, o.mRightHang, o.mOrientation);
}

// A GFA segment for each name, at its first read.
void WriteSegments(const AllOverlaps& run, std::ostream& out) {
  WriteGfaHeader(out);
  const PackedReads& reads = run.Reads();
  for (size_t r = 0; r < reads.size(); ++r)
    if (run.FirstOfItsName(r)) WriteGfaSegment(out, reads.Name(r), reads.Length(r));
}

// Writes every overlap of the run in the format asked for; returns the
// number of overlaps (in a graph, of pairs, the better score kept of a
// pair met twice through reads that share a name).
long WriteAll(const AllOverlaps& run, const Settings& settings, std::ostream& out) {
  const PackedReads& reads = run.Reads();
  const bool graphOut = settings.mFormat == Format::kGraph, gfaOut = settings.mFormat == Format::kGfa;
  OverlapGraph graph;
  long overlaps = 0;
  if (gfaOut) WriteSegments(run, out);
  auto lastReport = std::chrono::steady_clock::now();
  run.Compare(
      [&](const FoundOverlap& o) {
        if (!graphOut) {
          WriteOverlap(o, reads, gfaOut, out);
          ++overlaps;
        } else if (graph.KeepBetterEdge(reads.Name(static_cast<size_t>(o.mTarget)),
                                        reads.Name(static_cast<size_t>(o.mQuery)), o.mLength, o.mScore,
                                        o.mLeftHang, o.mRightHang, o.mOrientation)) {
          ++overlaps;
        }
      },
      settings.mVerbose ? &std::cerr : nullptr,
      [&](int compared) {
        const auto now = std::chrono::steady_clock::now();
        if (!settings.mQuiet && now - lastReport >= std::chrono::seconds(kProgressSeconds)) {
          std::cerr << kName << ": " << compared << " of " << reads.size() << " reads compared\n";
          lastReport = now;
        }
      });
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

  AllOverlaps run(settings.mRun);
  std::vector<std::string> problems;
  const int status = run.Load(files, problems);
  for (const std::string& problem : problems) std::cerr << kName << ": " << problem << '\n';
  if (status == 1) return 1;
  const ReadCounts& counts = run.mCounts;
  if (counts.mRecords == 0) {
    std::cerr << kName << ": " << kNoRecordsProblem << '\n';
    return 1;
  }
  if (counts.mSharedNames > 0) std::cerr << kName << ": " << counts.SharedNamesWarning() << '\n';
  run.Index();
  const MinimizerIndex& index = run.mOverlapper.mIndex;
  if (!settings.mQuiet)
    std::cerr << kName << ": " << run.Reads().size() << " reads indexed (" << index.Places() << " words, "
              << index.mRepeatWords << " repeat words in more than " << index.mRepeatLimit
              << " places left out), comparing with " << run.mSettings.mThreads << " threads\n";

  const long overlaps = WriteAll(run, settings, out);
  if (settings.mOutName.empty() ? !out.flush() : !file.Commit()) {
    std::cerr << kName << ": cannot write " << (settings.mOutName.empty() ? "standard output" : settings.mOutName)
              << (settings.mOutName.empty() ? std::string() : ": " + file.Error()) << '\n';
    return 1;
  }
  std::cerr << kName << ": " << counts.mRecords << " reads, " << counts.mSkipped << " shorter than "
            << settings.mRun.mMinReadSize << " skipped, " << overlaps << " overlaps written\n";
  return status;
}

}  // namespace ostrel
