// Data for the all-against-all overlap benchmark: a random genome with
// repeats shorter than the reads, and Sanger-like reads sampled from it with
// the truth of where each came from.
//
//   overlap-bench make DIR COVERAGE [SEED]   writes DIR/genome.fa,
//                                            DIR/reads.fa and DIR/reads.truth
//
// Everything is drawn from one std::mt19937_64 seeded with SEED (default
// 20261209), so a seed always gives the same files.
//
// The genome: 2,000,000 random bases (equal base frequencies) into which
// repeat copies are written over non-overlapping stretches, about 10% of it:
//   old interspersed families, each copy 10-15% diverged from its consensus
//   and cut to 50-100% of it at a random end:
//     350 bp x 120 copies (12%), 280 bp x 140 (15%), 200 bp x 170 (10%),
//     120 bp x 220 (13%);
//   young interspersed families, whole copies 1-3% diverged:
//     400 bp x 50 copies (1%), 300 bp x 70 (2%), 150 bp x 120 (3%);
//   tandem arrays: 40 microsatellites (unit 1-6 bp) and 20 minisatellites
//   (unit 10-60 bp), 100-800 bp each, 3% of bases changed.
// Every copy lands on either strand with equal odds. Divergence d means: a
// base is substituted with probability 0.8 d, and an insertion or deletion of
// 1-3 bases starts there with probability 0.1 d each.
//
// The reads: length uniform in 500..1000 genome bases, start uniform, strand
// random (a '-' read is the reverse complement of its stretch), drawn until
// their bases reach COVERAGE times the genome length. Sequencing errors per
// base: 1% substitution (to another base), 0.2% an insertion of 1-3 random
// bases, 0.2% a deletion of 1-3 bases. Names r000001, r000002, ...; each
// sequence on one line.
//
// reads.truth has one tab-separated line per read: name, genome start
// (0-based), genome end (exclusive), strand (+ or -), read length.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr long kGenomeLength = 2000000;
constexpr int kMinRead = 500;
constexpr int kMaxRead = 1000;
constexpr double kSubstitution = 0.01;
constexpr double kInsertion = 0.002;
constexpr double kDeletion = 0.002;

struct Family {
  int mLength;
  int mCopies;
  double mDivergence;
  bool mOld;  // old copies are cut at a random end
};

const Family kFamilies[] = {
    {350, 120, 0.12, true}, {280, 140, 0.15, true}, {200, 170, 0.10, true}, {120, 220, 0.13, true},
    {400, 50, 0.01, false}, {300, 70, 0.02, false}, {150, 120, 0.03, false},
};
constexpr int kMicrosatellites = 40;
constexpr int kMinisatellites = 20;
constexpr double kTandemDivergence = 0.03;

class Draw {
public:
  explicit Draw(unsigned long seed) : mRng(seed) {}
  long Int(long lo, long hi) { return std::uniform_int_distribution<long>(lo, hi)(mRng); }
  double Real() { return std::uniform_real_distribution<double>(0.0, 1.0)(mRng); }
  char Base() { return "ACGT"[Int(0, 3)]; }
  char OtherBase(char c) {
    char b;
    do b = Base();
    while (b == c);
    return b;
  }
  std::string Bases(long n) {
    std::string s(n, 'A');
    for (char& c : s) c = Base();
    return s;
  }

private:
  std::mt19937_64 mRng;
};

std::string ReverseComplement(const std::string& s) {
  std::string r(s.rbegin(), s.rend());
  for (char& c : r) {
    switch (c) {
      case 'A': c = 'T'; break;
      case 'C': c = 'G'; break;
      case 'G': c = 'C'; break;
      case 'T': c = 'A'; break;
    }
  }
  return r;
}

// A copy of `s` with substitutions at `sub` and insertions and deletions of
// 1-3 bases starting at `ins` and `del` per base.
std::string Mutate(const std::string& s, double sub, double ins, double del, Draw& draw) {
  std::string out;
  out.reserve(s.size() + s.size() / 20);
  for (size_t i = 0; i < s.size(); ++i) {
    const double r = draw.Real();
    if (r < ins) {
      out += draw.Bases(draw.Int(1, 3));
      out += s[i];
    } else if (r < ins + del) {
      i += draw.Int(1, 3) - 1;  // this base and up to two more are dropped
    } else if (r < ins + del + sub) {
      out += draw.OtherBase(s[i]);
    } else {
      out += s[i];
    }
  }
  return out;
}

std::string Diverge(const std::string& s, double d, Draw& draw) { return Mutate(s, 0.8 * d, 0.1 * d, 0.1 * d, draw); }

// Writes `copy` over a free stretch of the genome, on a random strand; marks
// it taken. Returns false when no free place was found.
bool Place(std::string copy, std::string& genome, std::vector<char>& taken, Draw& draw) {
  if (draw.Int(0, 1)) copy = ReverseComplement(copy);
  const long n = static_cast<long>(copy.size());
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const long at = draw.Int(0, kGenomeLength - n);
    // One free base of margin on each side keeps copies apart.
    const long lo = std::max(0L, at - 1), hi = std::min(kGenomeLength, at + n + 1);
    if (std::find(taken.begin() + lo, taken.begin() + hi, 1) != taken.begin() + hi) continue;
    std::copy(copy.begin(), copy.end(), genome.begin() + at);
    std::fill(taken.begin() + at, taken.begin() + at + n, 1);
    return true;
  }
  return false;
}

std::string MakeGenome(Draw& draw) {
  std::string genome = draw.Bases(kGenomeLength);
  std::vector<char> taken(kGenomeLength, 0);
  long copies = 0;
  for (const Family& family : kFamilies) {
    const std::string consensus = draw.Bases(family.mLength);
    for (int c = 0; c < family.mCopies; ++c) {
      std::string copy = consensus;
      if (family.mOld) {
        const long keep = draw.Int(family.mLength / 2, family.mLength);
        copy = draw.Int(0, 1) ? copy.substr(0, keep) : copy.substr(family.mLength - keep);
      }
      copies += Place(Diverge(copy, family.mDivergence, draw), genome, taken, draw);
    }
  }
  for (int a = 0; a < kMicrosatellites + kMinisatellites; ++a) {
    const std::string unit = a < kMicrosatellites ? draw.Bases(draw.Int(1, 6)) : draw.Bases(draw.Int(10, 60));
    const long length = draw.Int(100, 800);
    std::string array;
    while (static_cast<long>(array.size()) < length) array += unit;
    array.resize(length);
    for (char& c : array)
      if (draw.Real() < kTandemDivergence) c = draw.OtherBase(c);
    copies += Place(array, genome, taken, draw);
  }
  const long repeatBases = std::count(taken.begin(), taken.end(), 1);
  std::cout << "genome " << kGenomeLength << " bp, " << copies << " repeat copies and arrays, " << repeatBases
            << " bp in repeats (" << 100.0 * repeatBases / kGenomeLength << "%)\n";
  return genome;
}

int Make(const std::string& dir, double coverage, unsigned long seed) {
  Draw draw(seed);
  const std::string genome = MakeGenome(draw);
  std::ofstream genomeFile(dir + "/genome.fa");
  genomeFile << ">genome\n";
  for (long i = 0; i < kGenomeLength; i += 60) genomeFile << genome.substr(i, 60) << '\n';

  std::ofstream reads(dir + "/reads.fa");
  std::ofstream truth(dir + "/reads.truth");
  const double wanted = coverage * kGenomeLength;
  double total = 0;
  long n = 0;
  while (total < wanted) {
    const long length = draw.Int(kMinRead, kMaxRead);
    const long start = draw.Int(0, kGenomeLength - length);
    const bool reverse = draw.Int(0, 1);
    std::string piece = genome.substr(start, length);
    if (reverse) piece = ReverseComplement(piece);
    const std::string read = Mutate(piece, kSubstitution, kInsertion, kDeletion, draw);
    char name[32];
    std::snprintf(name, sizeof name, "r%06ld", ++n);
    reads << '>' << name << '\n' << read << '\n';
    truth << name << '\t' << start << '\t' << start + length << '\t' << (reverse ? '-' : '+') << '\t'
          << read.size() << '\n';
    total += read.size();
  }
  reads.close();
  truth.close();
  if (!genomeFile || !reads || !truth) {
    std::cerr << "overlap-bench: cannot write the files in " << dir << "\n";
    return 1;
  }
  std::cout << n << " reads, " << static_cast<long>(total) << " bases, coverage " << total / kGenomeLength << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "make" && (argc == 4 || argc == 5)) {
    const double coverage = std::atof(argv[3]);
    const unsigned long seed = argc == 5 ? std::strtoul(argv[4], nullptr, 10) : 20261209UL;
    if (coverage > 0) return Make(argv[2], coverage, seed);
  }
  std::cerr << "usage: overlap-bench make DIR COVERAGE [SEED]\n";
  return 1;
}
