#include "seq/FastqFromQuality.h"

#include <gtest/gtest.h>

#include <string>

namespace ostrel {
namespace {

using Result = FastqFromQuality::Result;

// Records in the shapes FASTA and quality files come in, each converted on
// its own and appended after the ones before; a read that is not written
// leaves the output as it was.
TEST(FastqFromQuality, PairsEachReadWithItsValues) {
  struct Case {
    const char* fasta;
    const char* quality;  // "" for none
    Result result;
    int64_t bases, values;
    const char* written;
  };
  const Case cases[] = {
      {">r1 run=7 x\nACGT\n", ">r1\n0 10 20 40\n", Result::kWritten, 4, 4, "@r1 run=7 x\nACGT\n+\n!+5I\n"},
      // Wrapped lines, blank lines and ragged value lines.
      {">r2\nAC\nGTN\n\nac\n", ">r2 q\n 30 31\n32\n\n33 34  35 \n36\n", Result::kWritten, 7, 7,
       "@r2\nACGTNac\n+\n?@ABCDE\n"},
      // CR LF line ends, in either file.
      {">r3 d\r\nAC\r\nG\r\n", ">r3\r\n1 2\r\n3\r\n", Result::kWritten, 3, 3, "@r3 d\nACG\n+\n\"#$\n"},
      // Values past FASTQ's range: 93 at most, 0 at least.
      {">r4\nACGT", ">r4\n93 94 200 -1", Result::kWritten, 4, 4, "@r4\nACGT\n+\n~~~!\n"},
      // A header alone, with an empty quality record.
      {">r5", ">r5\n", Result::kWritten, 0, 0, "@r5\n\n+\n\n"},
      {">r6\nACGT\n", "", Result::kNoQualityRecord, 4, 0, ""},
      {">r7\nACGT\n", ">r7\n10 20 30\n", Result::kCountsDiffer, 4, 3, ""},
      {">r8\nAC\r\n", ">r8\n10 20 30\r\n", Result::kCountsDiffer, 2, 3, ""},
  };
  FastqFromQuality convert;
  std::string fastq = "before\n";
  std::string expected = fastq;
  for (const Case& c : cases) {
    EXPECT_EQ(c.result, convert.Append(c.fasta, c.quality, fastq)) << c.fasta;
    EXPECT_EQ(c.bases, convert.mBases) << c.fasta;
    EXPECT_EQ(c.values, convert.mValues) << c.fasta;
    expected += c.written;
    EXPECT_EQ(expected, fastq) << c.fasta;
  }
  EXPECT_EQ(2, convert.mLoweredValues);
  EXPECT_EQ(1, convert.mRaisedValues);
}

}  // namespace
}  // namespace ostrel
