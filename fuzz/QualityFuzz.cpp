// The quality-file reader on arbitrary bytes, attaching records to a small
// fixed assembly: two contigs, pads, a complemented read and a read held
// twice.
//
// Properties: the records come one by one until the stream ends; after the
// qualities are completed every read character and consensus column has a
// value, and the read trims lie inside their reads.
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "ace/AceFile.h"
#include "util/LineScan.h"

using namespace ostrel;

namespace {

const char* const kAssembly = R"(AS 2 5

CO c1 7 2 2 U
AC*GTTA

BQ
10 20 30 40 50 60

AF r1 U 1
AF r2 C 2
BS 1 3 r1
BS 4 7 r2

RD r1 5 0 0
AC*GT

QA 1 5 1 5
DS CHROMAT_FILE: r1 TEMPLATE: t1 DIRECTION: fwd

RD r2 6 0 0
C*GTTA

QA 1 6 1 6
DS TEMPLATE: t1 DIRECTION: rev

CO c2 4 3 1 U
GGCC

BQ
9 9 9 9

AF r3 U 1
AF r1 C 1
AF r4 U 2
BS 1 4 r3

RD r3 4 0 0
GGCC

QA 1 4 1 4

RD r1 4 0 0
GG*C

QA 1 4 1 4

RD r4 3 0 0
GCC

QA 1 3 1 3
)";

const AceFile& Assembly() {
  static const AceFile assembly = [] {
    AceFile ace;
    std::istringstream in(kAssembly);
    ace.Read(in);
    ace.BuildReadHash();
    return ace;
  }();
  return assembly;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  fuzz::Quiet quiet;
  const std::string text(reinterpret_cast<const char*>(bytes), size);

  // Record by record, as the reader steps through a file.
  {
    std::istringstream in(text);
    readbuf[0] = '^';
    SequenceQuality q;
    size_t records = 0;
    AceFile ace;
    while (in.good()) {
      if (ace.GetNextQuality(in, q)) ++records;
      FUZZ_CHECK(records <= size);
    }
  }

  AceFile ace = Assembly();
  std::istringstream in(text);
  ace.GetReadsQuality(in);
  FUZZ_CHECK(ace.mValid);
  for (const Contig& contig : ace) FUZZ_CHECK(contig.mReadQuality.size() == contig.mReads.size());
  ace.CopyBQToQuality();
  ace.AddFakeQualityValues();
  ace.CalculateReadTrims(ace.mReadTrimQuality);
  ace.CalculateContigTrims(ace.mContigTrimQuality);
  for (const Contig& contig : ace) {
    FUZZ_CHECK(contig.mReadTrimStart.size() == contig.mReads.size());
    for (size_t r = 0; r < contig.mReads.size(); ++r) {
      const int length = static_cast<int>(contig.mReads[r].mBases.size());
      FUZZ_CHECK(contig.mReadQuality[r].mQualities.size() == contig.mReads[r].mBases.size());
      FUZZ_CHECK(contig.mReadTrimStart[r] >= -1 && contig.mReadTrimStart[r] < length);
      FUZZ_CHECK(contig.mReadTrimEnd[r] >= -1 && contig.mReadTrimEnd[r] < length);
    }
  }
  return 0;
}
