// Tests of the alignment prints, the window queries and the trimmed
// consensus, on small contigs made by hand.
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

// Lines of expected text, each ended by a line break.
std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

const std::string kBlank39(39, ' ');  // an empty quality row of a five-column window

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

TEST(AlignmentPrint, WindowsOfTheSampleContig) {
  std::ostringstream out;
  SampleContig().PrintAlignment(out, 0, -1);
  EXPECT_EQ(Lines({"Contig1               0 -CGT*",
                   "left                  2 -CGT*",
                   "comp                 -4 ....%",
                   "notrim               -2 ..---",
                   "",
                   "Contig1               5 ACGTT",
                   "left                  7 A-...",
                   "comp                  1 %CGTT",
                   "notrim                3 --...",
                   "",
                   "Contig1              10 G-...",
                   "left                 12 .....",
                   "comp                  6 GA%%.",
                   "notrim                8 .....",
                   ""}),
            out.str());
}

TEST(AlignmentPrint, WindowsWithQualityOfTheSampleContig) {
  std::ostringstream out;
  SampleContig().PrintAlignmentWithQuality(out, 0, -1);
  EXPECT_EQ(Lines({"Contig1               0  -  C  G  T  * ",
                   "                      0 -  20 30 40 0  ",
                   "",
                   "left                  2  -  C  G  T  * ",
                   "                         3 40 50 60  0 ",
                   "comp                 -4  .  .  .  .  % ",
                   "                                    11 ",
                   "notrim               -2  .  .  -  -  - ",
                   kBlank39,
                   "",
                   "",
                   "Contig1               5  A  C  G  T  T ",
                   "                      5 45 50 9  99 100",
                   "",
                   "left                  7  A  -  .  .  . ",
                   "                        100 10          ",
                   "comp                  1  %  C  G  T  T ",
                   "                        12 13 14 15 16 ",
                   "notrim                3  -  -  .  .  . ",
                   kBlank39,
                   "",
                   "",
                   "Contig1              10  G  -  .  .  . ",
                   "                     10    -  .  .  .  ",
                   "",
                   "left                 12  .  .  .  .  . ",
                   kBlank39,
                   "comp                  6  G  A  %  %  . ",
                   "                        17 18          ",
                   "notrim                8  .  .  .  .  . ",
                   kBlank39,
                   "",
                   ""}),
            out.str());
}

// Window stepping and marks at the edges: widths below 1, starts before and
// past the consensus, an `end` that cuts the windows short, trim ranges
// reaching outside the sequence, and reads placed at the int limits.
TEST(AlignmentPrint, WindowsAtTheEdges) {
  Contig edge = MakeContig("c", "ACGT");
  edge.mQuality.mQualities = {7, 8};
  edge.mTrimStart = -1;  // -1 .. 9 covers the whole consensus
  edge.mTrimEnd = 9;
  AddRead(edge, "r", "AX", 2);
  edge.mReadTrimStart = {-1};
  edge.mReadTrimEnd = {9};
  edge.mReadQuality.resize(1);
  edge.mReadQuality[0].mQualities = {5, 12};

  Contig limits = MakeContig("x", "AC");
  limits.mTrimStart = 0;
  limits.mTrimEnd = 1;
  AddRead(limits, "lo", "GG", INT_MIN);
  AddRead(limits, "hi", "TT", INT_MAX);
  AddRead(limits, "loose", "A", 1);
  limits.mAlignStart.pop_back();  // "loose" has no placement: no row

  struct Case {
    const char* what;
    const Contig& contig;
    int width, start, end;
    bool quality;
    std::string expected;
  };
  const Case cases[] = {
      {"width below 1 counts as 1; end 1 stops after two windows", edge, -3, 0, 1, false,
       Lines({"c                     0 A", "r                    -1 .", "",
              "c                     1 C", "r                     0 A", ""})},
      {"start past the consensus: one window", edge, 2, 6, -1, false,
       Lines({"c                     6 ..", "r                     5 ..", ""})},
      {"columns left of the consensus are outside it", edge, 3, -2, 0, false,
       Lines({"c                    -2 ..A", "r                    -3 ...", ""})},
      {"width 0; an X inside the trim range shows", edge, 0, 2, 2, false,
       Lines({"c                     2 G", "r                     1 X", ""})},
      {"quality rows, a consensus column without a value", edge, 2, 1, 2, true,
       Lines({"c                     1  C  G ", "                      1 8     ", "",
              "r                     0  A  X ", "                         5 12 ", "", ""})},
      {"start at INT_MAX", edge, 2, INT_MAX, -1, false,
       Lines({"c               2147483647 ..", "r               2147483646 ..", ""})},
      {"reads at the int limits; offsets beyond int print clamped", limits, 100, 0, -1, false,
       Lines({"x                     0 AC" + std::string(98, '.'),
              "lo              2147483647 " + std::string(100, '.'),
              "hi              -2147483646 " + std::string(100, '.'), ""})},
  };
  for (const Case& c : cases) {
    Contig contig = c.contig;
    contig.mWindowWidth = c.width;
    std::ostringstream out;
    if (c.quality)
      contig.PrintAlignmentWithQuality(out, c.start, c.end);
    else
      contig.PrintAlignment(out, c.start, c.end);
    EXPECT_EQ(c.expected, out.str()) << c.what;
  }
}

TEST(AlignmentPrint, WindowQueriesAndAlignedCharacters) {
  const Contig contig = SampleContig();
  // Counted read offsets start at 1: "left" counts in columns -1 .. 6,
  // "comp" in 5 .. 13 and "notrim" in 3 .. 6.
  struct WindowCase {
    int start, end;
    int count;
    std::vector<std::string> names;  // n = 0, 1, ... then one past
    int column;
    std::string characters;
  };
  const WindowCase windows[] = {
      {0, 12, 3, {"left", "comp", "notrim"}, 5, "AXA"},
      {0, 12, 3, {"left", "comp", "notrim"}, 4, "* *"},  // "comp" offset 0 is not counted
      {2, 3, 1, {"left"}, 2, "G"},                       // "notrim" offset 0 alone: not in
      {4, 5, 2, {"left", "notrim"}, 4, "**"},            // "comp" offset 0 alone: not in
      {7, 12, 1, {"comp"}, 4, " "},
      {0, 3, 1, {"left"}, 13, " "},
      {13, 14, 1, {"comp"}, 13, "x"},
      {14, 20, 0, {}, 0, ""},
      {5, 3, 0, {}, 4, ""},  // start after end: an empty window
      {INT_MIN, INT_MAX, 3, {"left", "comp", "notrim"}, INT_MIN, "   "},
  };
  for (const WindowCase& w : windows) {
    SCOPED_TRACE(std::to_string(w.start) + ".." + std::to_string(w.end));
    EXPECT_EQ(w.count, contig.GetNumReadsInWindow(w.start, w.end));
    for (size_t n = 0; n < w.names.size(); ++n)
      EXPECT_EQ(w.names[n], contig.GetWindowReadName(w.start, w.end, static_cast<int>(n)));
    EXPECT_EQ("NOT FOUND", contig.GetWindowReadName(w.start, w.end, static_cast<int>(w.names.size())));
    EXPECT_EQ("NOT FOUND", contig.GetWindowReadName(w.start, w.end, -1));
    EXPECT_EQ(w.characters, contig.GetAlignedCharacters(w.start, w.end, w.column));
  }

  struct CharacterCase {
    int read, column;
    char expected;
  };
  const CharacterCase characters[] = {
      {0, 0, '-'},  {0, 1, 'C'},         {0, 6, '-'},  {0, 7, '.'},  {0, 11, '.'},
      {1, 4, '%'},  {1, 6, 'C'},         {1, 11, 'A'}, {1, 12, '@'}, {1, INT_MAX, '@'},
      {2, 0, '.'},  {2, 4, '-'},         {2, 2, '-'},  {3, 0, '#'},  {-1, 0, '#'},
      {INT_MAX, 0, '#'}, {0, INT_MIN, '.'}, {0, -2, '-'}, {2, -100, '.'},
  };
  for (const CharacterCase& c : characters)
    EXPECT_EQ(c.expected, contig.GetAlignedCharacter(c.read, c.column)) << c.read << " " << c.column;

  // Reads at the int limits: offsets are worked out without overflow.
  Contig limits = MakeContig("x", "AC");
  AddRead(limits, "lo", "GG", INT_MIN);
  AddRead(limits, "hi", "TT", INT_MAX);
  EXPECT_EQ(1, limits.GetNumReadsInWindow(INT_MIN, INT_MAX));  // "hi" offset 1 is at INT_MAX
  EXPECT_EQ("lo", limits.GetWindowReadName(INT_MIN, INT_MAX, 0));
  EXPECT_EQ("G", limits.GetAlignedCharacters(INT_MIN, INT_MAX, INT_MIN));
  EXPECT_EQ('-', limits.GetAlignedCharacter(0, INT_MIN));
  EXPECT_EQ('.', limits.GetAlignedCharacter(1, 1));
  limits.mAlignStart.pop_back();  // a read without its start is not a read here
  EXPECT_EQ('#', limits.GetAlignedCharacter(1, 1));
  EXPECT_EQ(1, limits.GetNumReadsInWindow(INT_MIN, INT_MAX));
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

// A name longer than 16 characters: with the width of the longest name
// every row's columns start at the same place.
TEST(AlignmentPrint, RowsLineUpPastLongNames) {
  Contig contig = SampleContig();
  contig.mReads[1].mName = "a-read-name-of-27-characters";
  EXPECT_EQ(28, contig.NameWidth());
  for (bool withQuality : {false, true}) {
    std::ostringstream out;
    if (withQuality)
      contig.PrintAlignmentWithQuality(out, 0, -1, contig.NameWidth());
    else
      contig.PrintAlignment(out, 0, -1, contig.NameWidth());
    std::istringstream rows(out.str());
    std::string row;
    while (std::getline(rows, row)) {
      if (row.empty()) continue;
      // The row's offset field ends at the same column in every row.
      EXPECT_EQ(' ', row.at(28 + 7)) << row;
      EXPECT_NE(' ', row.at(28 + 6)) << row;
      if (withQuality) std::getline(rows, row);  // a quality row carries no name
    }
  }
}

}  // namespace
}  // namespace ostrel
