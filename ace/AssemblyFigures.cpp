// Per-contig sums, the Nx walk, and the figures' rows, TSV and JSON.
#include "ace/AssemblyFigures.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "ace/Contig.h"

namespace ostrel {

namespace {

// The kinds of consensus characters the figures count.
enum BaseKind { kPad, kGC, kAT, kOther };
struct BaseKinds {
  std::array<unsigned char, 256> mOf{};
  constexpr BaseKinds() {
    for (int c = 0; c < 256; ++c) mOf[c] = kOther;
    mOf['*'] = mOf['-'] = kPad;
    mOf['G'] = mOf['g'] = mOf['C'] = mOf['c'] = kGC;
    mOf['A'] = mOf['a'] = mOf['T'] = mOf['t'] = kAT;
  }
};
constexpr BaseKinds kBaseKinds;

double Ratio(double part, double whole) { return whole > 0 ? part / whole : 0; }

std::string Decimals(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

}  // namespace

double ContigFigures::MeanDepth() const {
  return Ratio(static_cast<double>(mReadChars), static_cast<double>(mPadded));
}

double ContigFigures::GCPercent() const { return 100 * Ratio(static_cast<double>(mGC), static_cast<double>(mACGT)); }

void ContigFigures::Add(const ContigFigures& other) {
  mPadded += other.mPadded;
  mLength += other.mLength;
  mReads += other.mReads;
  mReadChars += other.mReadChars;
  mACGT += other.mACGT;
  mGC += other.mGC;
  mOther += other.mOther;
  mQ20 += other.mQ20;
  mQ40 += other.mQ40;
}

ContigFigures FiguresOf(const Contig& contig) {
  ContigFigures figures;
  figures.mName = contig.mName;
  figures.mPadded = static_cast<int64_t>(contig.mBases.size());
  figures.mReads = static_cast<int64_t>(contig.mReads.size());
  int first, last;
  for (int i = 0; i < static_cast<int>(contig.mReads.size()); ++i)
    if (contig.ReadExtentInConsensus(i, first, last)) figures.mReadChars += last - first + 1;
  // Counted by class, without a branch per base: the bases of a long
  // consensus follow no pattern a branch could learn.
  int64_t counts[4] = {0, 0, 0, 0};
  const std::vector<char>& bases = contig.mBases;
  const std::vector<int>& qualities = contig.mQuality.mQualities;
  const size_t rated = std::min(bases.size(), qualities.size());
  for (size_t p = 0; p < rated; ++p) {
    const int kind = kBaseKinds.mOf[static_cast<unsigned char>(bases[p])];
    ++counts[kind];
    const bool base = kind != kPad;
    figures.mQ20 += base & (qualities[p] >= 20);
    figures.mQ40 += base & (qualities[p] >= 40);
  }
  for (size_t p = rated; p < bases.size(); ++p) ++counts[kBaseKinds.mOf[static_cast<unsigned char>(bases[p])]];
  figures.mGC = counts[kGC];
  figures.mACGT = counts[kGC] + counts[kAT];
  figures.mOther = counts[kOther];
  figures.mLength = figures.mACGT + figures.mOther;
  return figures;
}

int64_t NxLength(const std::vector<int>& descending, int64_t total, double percent, int64_t& count) {
  // The running sum, in whole bases, is compared against the share exactly
  // as the definition has it.
  const double share = static_cast<double>(total) * percent / 100;
  int64_t running = 0;
  count = 0;
  for (int length : descending) {
    running += length;
    ++count;
    if (static_cast<double>(running) >= share) return length;
  }
  count = 0;
  return 0;
}

std::vector<FigureRow> FigureRows(const AssemblyFigures& f) {
  std::vector<FigureRow> rows = {
      {"Minimum contig size (padded)", "min_contig_size", std::to_string(f.mMinContigSize)},
      {"Contigs", "contigs", std::to_string(f.mContigs)},
      {"Reads", "reads", std::to_string(f.mReads)},
      {"Single-read contigs", "single_read_contigs", std::to_string(f.mSingleReadContigs)},
      {"Total length (padded)", "total_length_padded", std::to_string(f.mTotalPadded)},
      {"Total length", "total_length", std::to_string(f.mTotalLength)},
      {"Largest contig", "largest_contig", std::to_string(f.mLargestContig)},
      {"N50", "n50", std::to_string(f.mN50)},
      {"N90", "n90", std::to_string(f.mN90)},
      {"L50", "l50", std::to_string(f.mL50)},
      {"L90", "l90", std::to_string(f.mL90)},
      {"auN", "aun", Decimals(f.mAuN)},
  };
  if (f.mGenomeSize > 0) {
    rows.push_back({"Expected genome size", "genome_size", std::to_string(f.mGenomeSize)});
    rows.push_back({"NG50", "ng50", std::to_string(f.mNG50)});
    rows.push_back({"LG50", "lg50", std::to_string(f.mLG50)});
  }
  for (size_t s = 0; s < kLengthSteps.size(); ++s)
    rows.push_back({"Contigs (>= " + std::to_string(kLengthSteps[s]) + " bases)",
                    "contigs_" + std::to_string(kLengthSteps[s]), std::to_string(f.mContigsAtLeast[s])});
  for (size_t s = 0; s < kLengthSteps.size(); ++s)
    rows.push_back({"Total length (>= " + std::to_string(kLengthSteps[s]) + " bases)",
                    "total_length_" + std::to_string(kLengthSteps[s]), std::to_string(f.mLengthAtLeast[s])});
  rows.push_back({"GC (%)", "gc_percent", Decimals(f.mGCPercent)});
  rows.push_back({"N per 100 kbp", "n_per_100_kbp", Decimals(f.mNPer100Kbp)});
  rows.push_back({"Mean read depth", "mean_read_depth", Decimals(f.mMeanReadDepth)});
  rows.push_back({"Consensus bases >= Q20 (%)", "q20_percent", Decimals(f.mQ20Percent)});
  rows.push_back({"Consensus bases >= Q40 (%)", "q40_percent", Decimals(f.mQ40Percent)});
  return rows;
}

void WriteFiguresTsv(const AssemblyFigures& figures, const std::string& assemblyName, std::ostream& out) {
  out << "Assembly\t" << assemblyName << "\n";
  for (const FigureRow& row : FigureRows(figures)) out << row.mLabel << "\t" << row.mValue << "\n";
}

void WriteFiguresJson(const AssemblyFigures& figures, const std::string& assemblyName, std::ostream& out) {
  out << "{\n  \"assembly\": " << JsonString(assemblyName);
  for (const FigureRow& row : FigureRows(figures)) out << ",\n  \"" << row.mKey << "\": " << row.mValue;
  out << "\n}\n";
}

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      quoted += escape;
    } else {
      quoted += static_cast<char>(c);
    }
  }
  return quoted + "\"";
}

}  // namespace ostrel
