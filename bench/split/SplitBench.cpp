// Multi-region splits and tail trimming of a large synthetic contig, timed
// against the same operations with the consensus voted the plain way: every
// read looked at for every column.
//
//   split-bench [COLUMNS READS READLENGTH REGIONS]   default 200000 20000 800 50
//
// The contig's reads are copies of consensus stretches with a few changed
// characters and pads, each with a full quality list; both ends of the
// contig are covered by a single chain of reads, so that tail trimming has
// tails to vote again.
//
// Method. An operation's time is its consensus work (the votes over the
// stretches it recomputes and the base-segment searches of the pieces) plus
// the rest (classifying, moving and removing reads, indexes, statistics).
// The library operation is timed whole. It is then replayed step by step
// with the same calls it makes, recording every stretch it votes and every
// piece it searches; at each, the library's vote and search are timed, and
// so are the plain vote (on up to 64 columns spread over the stretch,
// scaled to its length) and the plain search (whole). The plain time of the
// operation is its library time, less the library's consensus work, plus
// the plain consensus work over the same stretches and pieces. The replay's
// result must equal the library's, and every sampled column and every
// search must match. On a contig a tenth the size the replay is also run
// with the plain vote and search in full, and must give identical pieces
// (consensus, qualities, segments, reads). Exits 1 on any difference.
#include <algorithm>
#include <cctype>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ConsensusReference.h"
#include "BenchSupport.h"
#include "ostrel.h"

namespace {

using ostrel::AceFile;
using ostrel::BaseSegment;
using ostrel::Contig;
using Names = std::vector<std::string>;
using ostrel::bench::Report;
using ostrel::bench::SameSegments;
using ostrel::bench::Silence;

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A consensus of bases with some pads, partly lower case, and reads copied
// from it: 1 in 100 characters changed, 1 in 200 turned into a pad, 1 in 10
// in lower case. The first and last `tail` columns are covered by one chain
// of abutting reads; the rest of the reads lie between.
Contig SyntheticContig(int columns, int reads, int readLength, unsigned seed) {
  std::mt19937 rng(seed);
  const int tail = columns / 10;
  Contig contig = ostrel::bench::SyntheticConsensus(columns, rng);
  std::vector<int> starts;
  for (int s = 1; s <= tail; s += readLength) starts.push_back(s);
  for (int s = columns - tail + 1; s <= columns; s += readLength) starts.push_back(s);
  while (static_cast<int>(starts.size()) < reads)
    starts.push_back(std::uniform_int_distribution<int>(tail, columns - tail - readLength)(rng));
  for (int i = 0; i < reads; ++i) ostrel::bench::AddCopiedRead(contig, starts[i], readLength, false, rng);
  contig.mPaddedBases = columns;
  contig.mNumReads = reads;
  contig.RebuildTemplateInfo();
  contig.ComputeConsensus(0, columns - 1);
  {
    Silence quiet;
    contig.ComputeSyntheticBS();
  }
  return contig;
}

AceFile AssemblyOf(const Contig& contig) {
  AceFile ace;
  ace.mMinContigSize = 0;
  ace.push_back(contig);
  ace.mContigQuality.push_back(contig.mQuality);
  ace.mNumContigs = 1;
  ace.mNumReads = static_cast<int>(contig.mReads.size());
  ace.CleanInitFromContigs();
  return ace;
}

bool SameContig(const Contig& a, const Contig& b) {
  if (a.mName != b.mName || a.mBases != b.mBases || a.mQuality.mQualities != b.mQuality.mQualities) return false;
  if (!SameSegments(a.mBaseSegments, b.mBaseSegments) || a.mNumBaseSeqs != b.mNumBaseSeqs) return false;
  if (a.mReads.size() != b.mReads.size() || a.mAlignStart != b.mAlignStart || a.mComplemented != b.mComplemented)
    return false;
  if (a.mReadQuality.size() != b.mReadQuality.size()) return false;
  for (size_t i = 0; i < a.mReads.size(); ++i)
    if (a.mReads[i].mName != b.mReads[i].mName || a.mReads[i].mBases != b.mReads[i].mBases ||
        a.mReadQuality[i].mQualities != b.mReadQuality[i].mQualities)
      return false;
  return a.mPaddedBases == b.mPaddedBases && a.mNumReads == b.mNumReads;
}

bool SameAssembly(const AceFile& a, const AceFile& b) {
  if (a.size() != b.size() || a.mContigQuality.size() != b.mContigQuality.size()) return false;
  for (size_t c = 0; c < a.size(); ++c)
    if (!SameContig(a[c], b[c]) || a.mContigQuality[c].mQualities != b.mContigQuality[c].mQualities) return false;
  return a.mNumContigs == b.mNumContigs && a.mNumReads == b.mNumReads;
}

// How the replay votes a stretch and rebuilds a piece's base segments.
class Voter {
public:
  virtual ~Voter() = default;
  virtual void Vote(Contig& contig, int from, int to) = 0;
  virtual void Segments(Contig& contig) = 0;
};

// The plain forms in full, with the library's effects on the contig.
class PlainVoter : public Voter {
public:
  void Vote(Contig& contig, int from, int to) override {
    const int last = std::min(to, static_cast<int>(contig.mBases.size()) - 1);
    if (last >= 0 && static_cast<int>(contig.mQuality.mQualities.size()) <= last)
      contig.mQuality.mQualities.resize(last + 1, 0);
    for (int p = std::max(from, 0); p <= last; ++p)
      ostrel::test::PlainVote(contig, p, contig.mBases[p], contig.mQuality.mQualities[p]);
    contig.mBaseSegments.clear();
  }
  void Segments(Contig& contig) override {
    const ostrel::test::Search search = ostrel::test::PlainSearch(contig);
    contig.mBaseSegments = search.mSegments;
    contig.mNumBaseSeqs = static_cast<int>(search.mSegments.size());
  }
};

// The library forms, timed, each checked against the plain forms: the vote
// on up to 64 columns of the stretch (the plain time scaled to the whole
// stretch), the search whole.
class TimingVoter : public Voter {
public:
  double mLibrary = 0, mPlain = 0;
  long mColumns = 0, mPieces = 0;
  bool mIdentical = true;

  void Vote(Contig& contig, int from, int to) override {
    const int first = std::max(from, 0), last = std::min(to, static_cast<int>(contig.mBases.size()) - 1);
    double start = Now();
    contig.ComputeConsensus(from, to);
    mLibrary += Now() - start;
    if (last < first) return;
    const long count = last - first + 1;
    const long step = std::max(1L, count / 64);
    long sampled = 0;
    start = Now();
    for (long p = first; p <= last; p += step, ++sampled) {
      char base;
      int quality;
      ostrel::test::PlainVote(contig, static_cast<int>(p), base, quality);
      mIdentical &= base == contig.mBases[p] && quality == contig.mQuality.mQualities[p];
    }
    mPlain += (Now() - start) * static_cast<double>(count) / static_cast<double>(sampled);
    mColumns += count;
  }
  void Segments(Contig& contig) override {
    double start = Now();
    {
      Silence quiet;
      contig.ComputeSyntheticBS();
    }
    mLibrary += Now() - start;
    start = Now();
    const ostrel::test::Search search = ostrel::test::PlainSearch(contig);
    mPlain += Now() - start;
    mIdentical &= SameSegments(search.mSegments, contig.mBaseSegments);
    ++mPieces;
  }
};

// The library's move of the named reads into a new contig, step by step.
void SplitRight(Contig& contig, const Names& names, Contig& piece, Voter& voter) {
  int start, end;
  contig.FindConsensusChangePoints(names, start, end);
  for (const std::string& name : names) contig.CopyRead(piece, name);
  int min, max;
  piece.FixupAlignStarts(0, min, max);
  int64_t right = 0;
  for (size_t i = 0; i < piece.mReads.size(); ++i) {
    const int64_t last = int64_t{piece.mAlignStart[i]} + static_cast<int64_t>(piece.mReads[i].mBases.size()) - 2;
    right = i == 0 ? last : std::max(right, last);
  }
  right = std::clamp<int64_t>(right, -1, INT32_MAX - 1);
  piece.mBases.resize(static_cast<size_t>(right + 1), '*');
  piece.mQuality.mQualities.resize(static_cast<size_t>(right + 1), 0);
  voter.Vote(piece, 0, static_cast<int>(right));
  piece.mPaddedBases = static_cast<int>(piece.mBases.size());
  piece.mNumReads = static_cast<int>(piece.mReads.size());
  voter.Segments(piece);

  contig.RemoveReads(names);
  contig.mPaddedBases = static_cast<int>(contig.mBases.size());
  contig.mNumReads = static_cast<int>(contig.mReads.size());
  if (!contig.mBases.empty()) {
    voter.Vote(contig, start, static_cast<int>(contig.mBases.size()) - 1);
    contig.TrimPadTail();
  }
  voter.Segments(contig);
}

bool WorthKeeping(const Contig& contig, int minSize) {
  return !contig.mBases.empty() &&
         (!contig.TemplateCoverIsZero() || static_cast<int64_t>(contig.mBases.size()) >= minSize);
}

// AceFile::MultiSplitContig step by step, its votes and searches through
// `voter`.
void ReplayMultiSplit(AceFile& ace, int minSize, int k, std::vector<int> starts, std::vector<int> ends,
                      Voter& voter) {
  std::vector<int> contigOf(std::min(starts.size(), ends.size()), k);
  Names doomed;
  for (size_t p = 0; p < contigOf.size(); ++p) {
    const int e = contigOf[p];
    if (e < 0 || static_cast<size_t>(e) >= ace.size()) continue;
    Contig middle, right;
    {
      Contig& cut = ace[e];
      Names left, middleNames, rightNames;
      cut.FindReadSets(starts[p], ends[p], left, middleNames, rightNames);
      if (!rightNames.empty()) {
        right.mName = cut.mName + "R";
        SplitRight(cut, rightNames, right, voter);
      }
      if (!middleNames.empty()) {
        middle.mName = cut.mName + "M";
        SplitRight(cut, middleNames, middle, voter);
      }
      cut.mName += "L";
      if (!WorthKeeping(cut, minSize)) doomed.push_back(cut.mName);
    }
    int pieces[2] = {-1, -1};
    Contig* made[2] = {&middle, &right};
    for (int j = 0; j < 2; ++j) {
      if (!WorthKeeping(*made[j], minSize)) {
        ace.mNumReads -= static_cast<int>(made[j]->mReads.size());
        continue;
      }
      pieces[j] = static_cast<int>(ace.size());
      ace.mContigQuality.push_back(made[j]->mQuality);
      ace.push_back(std::move(*made[j]));
      ++ace.mNumContigs;
    }
    ace.BuildReadHash();
    ace.ComputeAllContigStats();
    ace.AdjustSplitPoints(static_cast<int>(p), k, pieces[0], pieces[1], starts, ends, contigOf);
  }
  for (const std::string& name : doomed) {
    size_t found = 0;
    while (found < ace.size() && !ostrel::Contains(ace[found].mName, name)) ++found;
    if (found == ace.size()) continue;
    ace.RemoveContig(static_cast<int>(found));
    ace.BuildReadHash();
    ace.ComputeAllContigStats();
  }
}

// Regions of 100 columns spread evenly over the contig.
void Regions(int columns, int regions, std::vector<int>& starts, std::vector<int>& ends) {
  for (int j = 1; j <= regions; ++j) {
    starts.push_back(static_cast<int>(int64_t{columns} * j / (regions + 1)));
    ends.push_back(starts.back() + 100);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int columns = argc > 4 ? std::atoi(argv[1]) : 200000;
  const int reads = argc > 4 ? std::atoi(argv[2]) : 20000;
  const int readLength = argc > 4 ? std::atoi(argv[3]) : 800;
  const int regions = argc > 4 ? std::atoi(argv[4]) : 50;
  const int minSize = 1000;
  std::cout << "contig of " << columns << " columns, " << reads << " reads of " << readLength << " characters, "
            << regions << " split regions\n"
            << "plain time = library time - library consensus work + plain consensus work over the same stretches"
            << " (plain vote sampled on up to 64 columns per stretch and scaled; plain search whole)" << std::endl;
  const Contig original = SyntheticContig(columns, reads, readLength, 42);
  bool identical = true;

  // The multi-split, library whole and replayed.
  {
    std::vector<int> starts, ends;
    Regions(columns, regions, starts, ends);
    AceFile library = AssemblyOf(original);
    std::vector<int> libraryStarts = starts, libraryEnds = ends;
    double start = Now();
    {
      Silence quiet;
      library.MultiSplitContig(minSize, 0, libraryStarts, libraryEnds);
    }
    const double libraryTime = Now() - start;
    AceFile replayed = AssemblyOf(original);
    TimingVoter voter;
    {
      Silence quiet;
      ReplayMultiSplit(replayed, minSize, 0, starts, ends, voter);
    }
    const bool same = voter.mIdentical && SameAssembly(library, replayed);
    std::cout << "MultiSplitContig: " << library.size() << " contigs, " << voter.mColumns << " columns voted, "
              << voter.mPieces << " searches; consensus work " << voter.mLibrary << " s of the library's" << std::endl;
    identical &= Report("MultiSplitContig", libraryTime, libraryTime - voter.mLibrary + voter.mPlain, "", same);
  }

  // Tail trimming with the read-coverage profile.
  {
    Contig trimmed = original;
    std::vector<std::string> removed;
    ostrel::StringSet marked;
    double start = Now();
    {
      Silence quiet;
      std::vector<int> profile;
      trimmed.GetCoverage(profile);
      ostrel::TrimTails(trimmed, removed, marked, profile);
    }
    const double libraryTime = Now() - start;
    std::vector<int> profile;
    original.GetCoverage(profile);
    int left = -1, right = -1;
    ostrel::FindTail(profile, left, right);
    // The contig as the votes found it: the tail reads gone.
    Contig voted = original;
    voted.RemoveReads(removed);
    const int last = static_cast<int>(voted.mBases.size()) - 1;
    start = Now();
    voted.ComputeConsensus(0, left);
    voted.ComputeConsensus(right, last);
    const double libraryVotes = Now() - start;
    Contig plain = original;
    plain.RemoveReads(removed);
    PlainVoter plainVoter;
    start = Now();
    plainVoter.Vote(plain, 0, left);
    plainVoter.Vote(plain, right, last);
    const double plainVotes = Now() - start;
    plain.TrimPadTail();
    const bool same = !removed.empty() && marked.empty() && plain.mBases == trimmed.mBases &&
                      plain.mQuality.mQualities == trimmed.mQuality.mQualities;
    std::cout << "TrimTails: tails 0.." << left << " and " << right << ".." << last << ", " << removed.size()
              << " reads removed; consensus work " << libraryVotes << " s of the library's" << std::endl;
    identical &= Report("GetCoverage + TrimTails", libraryTime, libraryTime - libraryVotes + plainVotes, "", same);
  }

  // The whole replay with the plain forms, on a contig a tenth the size.
  {
    const Contig small = SyntheticContig(columns / 10, reads / 10, readLength, 7);
    std::vector<int> starts, ends;
    Regions(columns / 10, regions / 5, starts, ends);
    AceFile library = AssemblyOf(small), plain = AssemblyOf(small);
    std::vector<int> libraryStarts = starts, libraryEnds = ends;
    PlainVoter voter;
    double start = Now();
    {
      Silence quiet;
      library.MultiSplitContig(minSize / 10, 0, libraryStarts, libraryEnds);
    }
    const double libraryTime = Now() - start;
    start = Now();
    {
      Silence quiet;
      ReplayMultiSplit(plain, minSize / 10, 0, starts, ends, voter);
    }
    const double plainTime = Now() - start;
    identical &= Report("MultiSplitContig of " + std::to_string(columns / 10) + " columns, " +
                            std::to_string(reads / 10) + " reads, " + std::to_string(regions / 5) + " regions",
                        libraryTime, plainTime, " (replayed whole with the plain forms)", SameAssembly(library, plain));
  }
  return identical ? 0 : 1;
}
