// Consensus votes and base segments on a large synthetic contig: the
// library's per-read sweeps against the plain loops that test every read at
// every column, which they replace.
//
//   consensus-bench [COLUMNS READS READLENGTH]   default 200000 20000 800
//
// The contig's reads are copies of consensus stretches with a few changed
// characters and pads (so that base segments run long), plus some random
// reads; every read has a full quality list. Prints the seconds each form
// takes and their ratio, checks that both forms give identical consensus,
// qualities, segments and warnings, and exits 1 when they differ. Then it
// times the library forms with half the reads, to show their time follows
// the read characters.
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

#include "BenchSupport.h"
#include "ConsensusReference.h"
#include "ostrel.h"

namespace {

using ostrel::BaseSegment;
using ostrel::Contig;
using ostrel::test::PlainSearch;
using ostrel::test::PlainVote;
using ostrel::test::Search;
using ostrel::bench::Report;
using ostrel::bench::SameSegments;
using ostrel::bench::Seconds;
using ostrel::bench::Silence;

// A consensus of bases with some pads, partly lower case as files often
// have it, and reads copied from it: 1 in 100 characters changed, 1 in 200
// turned into a pad, 1 in 10 in lower case. One read in 20 is random. Reads
// hang off both ends of the consensus.
Contig SyntheticContig(int columns, int reads, int readLength, unsigned seed) {
  std::mt19937 rng(seed);
  Contig contig = ostrel::bench::SyntheticConsensus(columns, rng);
  for (int i = 0; i < reads; ++i) {
    const int start = std::uniform_int_distribution<int>(-readLength / 4, columns - readLength * 3 / 4)(rng);
    const bool random = std::uniform_int_distribution<int>(0, 19)(rng) == 0;
    ostrel::bench::AddCopiedRead(contig, start, readLength, random, rng);
  }
  return contig;
}

// The reference forms, as the algorithms are stated: every column gathers
// every read.
void PlainRange(Contig& contig, int from, int to) {
  for (int p = std::max(from, 0); p <= std::min(to, static_cast<int>(contig.mBases.size()) - 1); ++p)
    PlainVote(contig, p, contig.mBases[p], contig.mQuality.mQualities[p]);
  contig.mBaseSegments.clear();
}

void PlainCopy(Contig& contig) {
  contig.mBases.clear();
  contig.mQuality.mQualities.clear();
  int smallest = contig.mReads.empty() ? 99999999 : INT_MAX;
  for (int start : contig.mAlignStart) smallest = std::min(smallest, start);
  int end = 0;
  for (size_t i = 0; i < contig.mReads.size(); ++i) {
    contig.mAlignStart[i] -= smallest;
    end = std::max(end, contig.mAlignStart[i] + static_cast<int>(contig.mReads[i].mBases.size()) - 1);
  }
  for (int p = 0; p < end; ++p) {
    char base;
    int quality;
    PlainVote(contig, p, base, quality);
    contig.mBases.push_back(base);
    contig.mQuality.mQualities.push_back(quality);
  }
  contig.mPaddedBases = end;
  contig.mNumReads = static_cast<int>(contig.mReads.size());
}

// What the synthesis writes to both streams when columns are uncovered.
std::string WarningText(const Contig& contig, const Search& search) {
  if (search.mUncovered == 0) return "";
  std::ostringstream text;
  text << "\n" << contig.mName << "\tSyntheticBS WARNING: Unable to find read for " << search.mUncovered
       << " consensus positions.\nFor example: \n";
  for (int p : search.mExamples) text << "\tconsensus " << p << "\n";
  text << "mReads.size=" << contig.mReads.size() << "\nmAlignStart.size=" << contig.mAlignStart.size() << "\n";
  return text.str();
}

// The library's synthesis against the plain search on one contig.
bool CompareSynthesis(const std::string& what, Contig& contig) {
  std::string warning;
  const double fast = Seconds(3, [&] {
    Silence quiet;
    contig.ComputeSyntheticBS();
    warning = quiet.Text();
  });
  Search plain;
  const double slow = Seconds(1, [&] { plain = PlainSearch(contig); });
  const bool identical = SameSegments(contig.mBaseSegments, plain.mSegments) &&
                         contig.mNumBaseSeqs == static_cast<int>(plain.mSegments.size()) &&
                         warning == WarningText(contig, plain);
  std::cout << what << ": " << plain.mSegments.size() << " segments, " << plain.mUncovered
            << " uncovered columns, " << plain.mPasses << " passes of the plain search" << std::endl;
  return Report("ComputeSyntheticBS", fast, slow, "", identical);
}

// The library forms alone, for the doubling figures.
void TimeLibrary(Contig contig, double& range, double& copy, double& synthesis) {
  range = Seconds(3, [&] { contig.ComputeConsensus(0, static_cast<int>(contig.mBases.size()) - 1); });
  synthesis = Seconds(3, [&] {
    Silence quiet;
    contig.ComputeSyntheticBS();
  });
  copy = Seconds(3, [&] { contig.CreateConsensusForCopy(); });
}

}  // namespace

int main(int argc, char** argv) {
  const int columns = argc > 3 ? std::atoi(argv[1]) : 200000;
  const int reads = argc > 3 ? std::atoi(argv[2]) : 20000;
  const int readLength = argc > 3 ? std::atoi(argv[3]) : 800;
  const Contig original = SyntheticContig(columns, reads, readLength, 42);
  std::cout << "contig of " << columns << " columns, " << reads << " reads of " << readLength << " characters"
            << std::endl;
  bool identical = true;

  // The range vote over the whole contig. The plain form gathers every read
  // at every column, so it is timed on a stretch of the columns and scaled
  // to the whole; the library's result over that stretch must match it.
  Contig voted = original;
  const double rangeFast = Seconds(3, [&] { voted.ComputeConsensus(0, columns - 1); });
  const int stretch = std::min(columns, 10000);
  const int stretchFrom = (columns - stretch) / 2;
  Contig plainVoted = original;
  const double stretchPlain =
      Seconds(1, [&] { PlainRange(plainVoted, stretchFrom, stretchFrom + stretch - 1); });
  const double rangePlain = stretchPlain * columns / stretch;
  bool same = std::equal(voted.mBases.begin() + stretchFrom, voted.mBases.begin() + stretchFrom + stretch,
                         plainVoted.mBases.begin() + stretchFrom) &&
              std::equal(voted.mQuality.mQualities.begin() + stretchFrom,
                         voted.mQuality.mQualities.begin() + stretchFrom + stretch,
                         plainVoted.mQuality.mQualities.begin() + stretchFrom);
  identical &= Report("ComputeConsensus(0, length-1)", rangeFast, rangePlain,
                      " (scaled from " + std::to_string(stretch) + " columns)", same);

  // Whole results of both vote forms on a contig a tenth the size, where
  // the plain loops take seconds.
  {
    const Contig small = SyntheticContig(columns / 10, reads / 10, readLength, 7);
    Contig fast = small, plain = small, fastCopy = small, plainCopy = small;
    fast.ComputeConsensus(0, columns / 10 - 1);
    PlainRange(plain, 0, columns / 10 - 1);
    fastCopy.CreateConsensusForCopy();
    PlainCopy(plainCopy);
    same = fast.mBases == plain.mBases && fast.mQuality.mQualities == plain.mQuality.mQualities &&
           fastCopy.mBases == plainCopy.mBases && fastCopy.mQuality.mQualities == plainCopy.mQuality.mQualities &&
           fastCopy.mAlignStart == plainCopy.mAlignStart && fastCopy.mPaddedBases == plainCopy.mPaddedBases;
    std::cout << "whole range vote and copy consensus of a contig of " << columns / 10 << " columns and "
              << reads / 10 << " reads: " << (same ? "identical" : "DIFFERENT") << std::endl;
    identical &= same;
  }

  // The consensus of copied reads, timed the same way: the plain form on a
  // stretch of columns of the shifted reads.
  Contig copied = original;
  const double copyFast = Seconds(3, [&] { copied.CreateConsensusForCopy(); });
  Contig shifted = copied;  // its starts are shifted already
  std::vector<char> stretchBases(stretch);
  std::vector<int> stretchQualities(stretch);
  const double copyStretch = Seconds(1, [&] {
    for (int k = 0; k < stretch; ++k) PlainVote(shifted, stretchFrom + k, stretchBases[k], stretchQualities[k]);
  });
  const double copyPlain = copyStretch * static_cast<double>(copied.mBases.size()) / stretch;
  same = std::equal(stretchBases.begin(), stretchBases.end(), copied.mBases.begin() + stretchFrom) &&
         std::equal(stretchQualities.begin(), stretchQualities.end(), copied.mQuality.mQualities.begin() + stretchFrom);
  identical &= Report("CreateConsensusForCopy", copyFast, copyPlain,
                      " (scaled from " + std::to_string(stretch) + " columns)", same);

  // The synthesis, whole. The plain search costs one sweep of all reads per
  // pass, and a pass ends where no later read agrees, so its cost depends
  // on the data. On the voted consensus the reads mostly agree, segments
  // chain on through read after read and a pass runs for thousands of
  // columns: few sweeps, little to gain. On a consensus the reads do not
  // follow (random characters) a pass ends every few columns and the plain
  // search nears its columns-times-reads cost.
  identical &= CompareSynthesis("voted consensus", voted);
  Contig scrambled = original;
  std::mt19937 rng(3);
  for (char& c : scrambled.mBases) c = "ACGT"[std::uniform_int_distribution<int>(0, 3)(rng)];
  identical &= CompareSynthesis("random consensus", scrambled);

  // Doubling the reads: the library's time should about double.
  double range[2], copy[2], synthesis[2];
  for (int half = 0; half < 2; ++half) {
    Contig contig = SyntheticContig(columns, half == 0 ? reads / 2 : reads, readLength, 42);
    contig.ComputeConsensus(0, columns - 1);
    TimeLibrary(contig, range[half], copy[half], synthesis[half]);
  }
  std::cout << "library time with " << reads / 2 << " and " << reads << " reads (ratio):\n"
            << "  ComputeConsensus(0, length-1)\t" << range[0] << " s\t" << range[1] << " s\t" << range[1] / range[0]
            << "x\n"
            << "  CreateConsensusForCopy\t" << copy[0] << " s\t" << copy[1] << " s\t" << copy[1] / copy[0] << "x\n"
            << "  ComputeSyntheticBS\t" << synthesis[0] << " s\t" << synthesis[1] << " s\t"
            << synthesis[1] / synthesis[0] << "x" << std::endl;
  return identical ? 0 : 1;
}
