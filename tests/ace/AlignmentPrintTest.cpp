// Tests of the trimmed consensus, on small contigs made by hand.
#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "ContigBuilder.h"
#include "TestSupport.h"
#include "ace/Contig.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::MakeContig;

// Twelve columns with a pad at index 4, consensus trims 1 .. 10, and the
// last two columns without a quality value. "left" hangs two columns off the
// left end; "comp" is complemented, has X ends (one lower case), runs past
// the right end and has fewer quality values than characters; "notrim" has
// neither trims nor qualities.
Contig SampleContig() {
  Contig contig = MakeContig("Contig1", "ACGT*ACGTTGA");
  contig.mDescription = "d";
  contig.mQuality.mQualities = {10, 20, 30, 40, 0, 45, 50, 9, 99, 100};
  contig.mTrimStart = 1;
  contig.mTrimEnd = 10;
  AddRead(contig, "left", "TTACGT*AC", -1);
  AddRead(contig, "comp", "XXCGTTGAxx", 5, 'C');
  AddRead(contig, "notrim", "GT*AC", 3);
  contig.mReadTrimStart = {3, 2};
  contig.mReadTrimEnd = {7, 7};
  contig.mReadQuality.resize(2);
  contig.mReadQuality[0].mQualities = {1, 2, 3, 40, 50, 60, 0, 100, 10};
  contig.mReadQuality[1].mQualities = {11, 12, 13, 14, 15, 16, 17, 18};
  contig.mWindowWidth = 5;
  return contig;
}

TEST(AlignmentPrint, TrimmedConsensus) {
  Contig contig = SampleContig();  // ACGT*ACGTTGA
  struct DepaddedCase {
    int trimStart, trimEnd;
    std::string appended;
  };
  const DepaddedCase depadded[] = {
      {1, 10, "CGTACGTTG"}, {-1, -1, ""}, {5, 1000, "ACGTTGA"}, {4, 4, ""},
      {9, 3, ""},           {-1, 2, "ACG"}, {INT_MIN, INT_MAX, "ACGTACGTTGA"},
  };
  for (const DepaddedCase& c : depadded) {
    contig.mTrimStart = c.trimStart;
    contig.mTrimEnd = c.trimEnd;
    Sequence out = test::MakeSequence("NN", "old", "old text");
    contig.GetTrimmedDepadded(out);
    EXPECT_EQ("NN" + c.appended, test::BasesOf(out)) << c.trimStart << " " << c.trimEnd;
    EXPECT_EQ("Contig1", out.mName);
    EXPECT_EQ("d", out.mDescription);
  }

  // 50 A, a pad, 50 C, a pad, 10 G: 110 characters without the pads.
  Contig bac = MakeContig("Contig1", std::string(50, 'A') + "*" + std::string(50, 'C') + "*" +
                                         std::string(10, 'G'));
  bac.mDescription = "d";
  const std::string a50(50, 'A'), c50(50, 'C');
  struct BACCase {
    int start, end, minLength;
    int written;
    std::string text;
  };
  const BACCase cases[] = {
      {0, 111, 0, 110, ">Contig1 d\n" + a50 + "\n" + c50 + "\n" + std::string(10, 'G') + "\n"},
      {0, 100, 0, 100, ">Contig1 d\n" + a50 + "\n" + c50 + "\n"},  // a multiple of 50: no extra break
      {-1, 50, 0, 0, ""},
      {10, 20, 11, 0, ""},  // spans 10, less than 11
      {10, 20, 10, 11, ">Contig1 d\n" + std::string(11, 'A') + "\n"},
      {50, 50, 0, 0, ">Contig1 d\n"},  // a pad alone: the header, no characters
      {100, 5000, 0, 11, ">Contig1 d\nC" + std::string(10, 'G') + "\n"},
      {INT_MAX, INT_MIN, INT_MIN, 0, ""},  // the span is below every int
      {200, 300, 0, 0, ">Contig1 d\n"},   // wholly past the consensus
  };
  for (const BACCase& c : cases) {
    bac.mBACTrimStart = c.start;
    bac.mBACTrimEnd = c.end;
    std::ostringstream out;
    EXPECT_EQ(c.written, bac.PrintBACTrimmedContig(out, c.minLength)) << c.start << " " << c.end;
    EXPECT_EQ(c.text, out.str()) << c.start << " " << c.end;
  }
}

}  // namespace
}  // namespace ostrel
