// All-against-all overlaps of the reads of FASTA/FASTQ files: every read
// entered as a source, then compared with the sources before it, so each
// pair of distinct reads is compared once and no read with itself. Queries
// are compared in rounds shared among threads and handed over in read
// order, so what comes out is the same whatever the thread count.
#ifndef OSTREL_SEARCH_ALLOVERLAPS_H
#define OSTREL_SEARCH_ALLOVERLAPS_H

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "search/ReadOverlapper.h"

namespace ostrel {

// Defaults, chosen on simulated Sanger-like reads (500 to 1,000 bases,
// about 1% substitutions and small indels) by make bench-overlap.
constexpr int kDefaultWordSize = 16;           // bases per word
constexpr int kDefaultWordDensity = 180;       // words indexed per 1000 bases of a read, about
constexpr int kMaxWordDensity = 1000;          // a word at every base
constexpr int kDefaultRepeatLimit = 0;         // words in more places are repeats; 0: from the reads
constexpr int kDefaultBandWidth = 15;          // diagonals either side of the placed one
constexpr int kMaxBandWidth = 1000;            // the time grows with band x overlap length
constexpr float kDefaultErrorPct = 10.0f;      // overlaps need a score of length x (1 - 2 x e/100)
constexpr float kMaxErrorPct = 50.0f;          // where the score needed reaches 0
constexpr int kDefaultMinScore = 300;          // and of this at least
constexpr uint32_t kDefaultMinReadSize = 100;  // shorter reads are skipped

struct AllOverlapsSettings {
  int mWordSize = kDefaultWordSize;
  int mWordDensity = kDefaultWordDensity;
  int mRepeatLimit = kDefaultRepeatLimit;
  int mBandWidth = kDefaultBandWidth;
  float mErrorPct = kDefaultErrorPct;
  int mMinScore = kDefaultMinScore;
  int mMinReadSize = static_cast<int>(kDefaultMinReadSize);
  int mThreads = 0;  // 0: every core

  // The first setting out of its range, as "word size 0 is not in 1 .. 31";
  // "" when every one is in range.
  std::string Problem() const;
};

// An overlap of read mQuery with an earlier read mTarget, its hangs seen
// from the query as compared, as ReadOverlapper gives them.
struct FoundOverlap {
  int mQuery;
  int mTarget;
  int mLength;
  int mScore;
  int mLeftHang, mRightHang;
  int mOrientation;  // 1: same strand; 0: opposite strands
};

// What a run with no reads says.
constexpr const char* kNoRecordsProblem = "no FASTA record in the input";

struct ReadCounts {
  long mRecords = 0;
  long mSkipped = 0;  // shorter than the shortest read compared
  long mSharedNames = 0;

  // "WARNING: N reads share a name with an earlier read; ...", for
  // mSharedNames above 0.
  std::string SharedNamesWarning() const;
};

class AllOverlaps {
public:
  // How many queries each thread takes in one round.
  static constexpr int kQueriesPerThreadRound = 512;

  // Resolves mThreads 0 to every core.
  explicit AllOverlaps(const AllOverlapsSettings& settings);

  AllOverlapsSettings mSettings;
  ReadOverlapper mOverlapper;
  ReadCounts mCounts;

  // Reads every record of the files, upper-cased, leaving out and counting
  // those shorter than mMinReadSize, and names the reads. Returns 0; 1 when
  // a file cannot be opened ("cannot read FILE" added to `problems`, the
  // files after it not read); 2 when one ends at damage, its good records
  // kept (a line for each such file added to `problems`).
  int Load(const std::vector<std::string>& files, std::vector<std::string>& problems);
  // Indexes the loaded reads, which become Reads().
  void Index();

  const PackedReads& Reads() const { return mOverlapper.mReads; }
  // Whether `read` is the first read of its name (reads that share a name
  // have their overlaps kept under the first).
  bool FirstOfItsName(size_t read) const;

  // Compares every read with those before it, calling `take` for each
  // overlap: by query in read order, then by target in the order first
  // met, the better of a pair met on both strands. With `lines`, the
  // overlapper's line per alignment made, each query's before its
  // overlaps. `roundDone`, when set, is called with the number of reads
  // compared after each round.
  void Compare(const std::function<void(const FoundOverlap&)>& take, std::ostream* lines = nullptr,
               const std::function<void(int compared)>& roundDone = nullptr) const;

private:
  PackedReads mLoaded;            // until Index
  std::vector<int> mFirstOfName;  // of each read, the first read of its name
};

}  // namespace ostrel

#endif
