// The figures by which assemblies are compared, each defined once here, and
// their machine-readable forms (TSV, JSON).
//
// Lengths. A contig's padded length counts every consensus column; its
// length (unpadded) counts the columns that are not pads ('*' or '-').
// Every figure of AssemblyFigures counts only the selected contigs: those
// with a consensus of at least mMinContigSize padded columns (0 takes all).
// Length figures are over unpadded lengths, sorted largest first:
//   Nx    the length of the contig at which the running sum of lengths
//         first reaches x % of the total length (N50, N90); 0 for none;
//   Lx    the number of contigs up to and including that one (L50, L90);
//   NGx, LGx  the same against x % of the expected genome size; 0 when the
//         contigs never reach it;
//   auN   the sum of the squared lengths over the total length (the length
//         expected at a base picked at random).
// Bases. Over the consensus bases (pads left out) of the selected contigs:
//   GC %      G or C among the A, C, G and T (either case);
//   N per 100 kbp  the bases that are none of A, C, G, T (N, X and other
//             codes) per 100,000 bases;
//   Q20 %, Q40 %   bases whose consensus quality is at least 20 (40); a base
//             without a quality value has none.
// Mean read depth: read characters under the consensus per padded column
// (every read counts, whatever its quality).
// Ratios over nothing (no base, no column) are 0.
#ifndef OSTREL_ACE_ASSEMBLYFIGURES_H
#define OSTREL_ACE_ASSEMBLYFIGURES_H

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace ostrel {

class Contig;

// The lengths at and above which contigs are counted and summed.
constexpr std::array<int, 6> kLengthSteps = {0, 1000, 5000, 10000, 25000, 50000};

struct AssemblyFigures {
  int mMinContigSize = 0;
  int64_t mGenomeSize = 0;  // expected; 0 when not given (no NG50 or LG50)
  int64_t mContigs = 0;
  int64_t mReads = 0;
  int64_t mSingleReadContigs = 0;
  int64_t mTotalPadded = 0;
  int64_t mTotalLength = 0;  // unpadded
  int64_t mLargestContig = 0;
  int64_t mN50 = 0, mN90 = 0, mL50 = 0, mL90 = 0;
  double mAuN = 0;
  int64_t mNG50 = 0, mLG50 = 0;
  std::array<int64_t, kLengthSteps.size()> mContigsAtLeast{}, mLengthAtLeast{};
  double mGCPercent = 0;
  double mNPer100Kbp = 0;
  double mMeanReadDepth = 0;
  double mQ20Percent = 0, mQ40Percent = 0;
};

// One contig's own figures: the sums the assembly's figures are made of
// (and, added up, those sums over several contigs).
struct ContigFigures {
  std::string mName;
  int64_t mPadded = 0;
  int64_t mLength = 0;  // unpadded
  int64_t mReads = 0;
  int64_t mReadChars = 0;  // read characters under the consensus
  int64_t mACGT = 0, mGC = 0, mOther = 0;
  int64_t mQ20 = 0, mQ40 = 0;

  double MeanDepth() const;  // mReadChars per padded column
  double GCPercent() const;
  void Add(const ContigFigures& other);  // the counts, not the name
};
ContigFigures FiguresOf(const Contig& contig);

// Nx of `descending` (lengths, largest first) against `total`: the length
// at which the running sum first reaches `percent` % of `total`, with the
// number of contigs to it in `count`; 0 (and count 0) when it never does.
int64_t NxLength(const std::vector<int>& descending, int64_t total, double percent, int64_t& count);

// The figures in their fixed order: a label for people, a key for JSON,
// and the value as printed (whole numbers as they are, ratios with two
// decimals). NG50 and LG50 are listed only with a genome size.
struct FigureRow {
  std::string mLabel;
  std::string mKey;
  std::string mValue;
};
std::vector<FigureRow> FigureRows(const AssemblyFigures& figures);

// "Assembly<TAB>" + name, then one "label<TAB>value" line per figure.
void WriteFiguresTsv(const AssemblyFigures& figures, const std::string& assemblyName, std::ostream& out);
// One JSON object: "assembly" (the name), then each key with its value.
void WriteFiguresJson(const AssemblyFigures& figures, const std::string& assemblyName, std::ostream& out);
// Text as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);

}  // namespace ostrel

#endif
