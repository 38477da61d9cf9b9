#include "util/LineScan.h"

#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"

namespace ostrel {
namespace {

TEST(LineScan, TokenThenIntegersWithPositions) {
  const std::string line = "  read7\t120 300";
  int pos = 0;
  EXPECT_EQ("read7", GetNextWSDelimitedString(line, 0, pos));
  EXPECT_EQ(8, pos);  // the 1 of 120
  EXPECT_EQ(120, GetNextInteger(line, pos, pos));
  EXPECT_EQ(11, pos);
  EXPECT_EQ(300, GetNextInteger(line, pos, pos));
  EXPECT_EQ(static_cast<int>(line.size()) + 1, pos);
  EXPECT_EQ(0, GetNextInteger(line, pos, pos));
  EXPECT_EQ(-1, pos);
}

TEST(LineScan, TokenAtEndOrNone) {
  int pos = 0;
  EXPECT_EQ("", GetNextWSDelimitedString("   ", 0, pos));
  EXPECT_EQ(-1, pos);
  EXPECT_EQ("name", GetNextWSDelimitedString("name", 0, pos));
  EXPECT_EQ(-1, pos);
  EXPECT_EQ("", GetNextWSDelimitedString("name", -1, pos));
  EXPECT_EQ(-1, pos);
  EXPECT_EQ("", GetNextWSDelimitedString("name", 99, pos));
  EXPECT_EQ(-1, pos);
  // A carriage return is part of the token, not a delimiter.
  EXPECT_EQ("a\r", GetNextWSDelimitedString("a\r b", 0, pos));
}

TEST(LineScan, IntegerRules) {
  int pos = 0;
  EXPECT_EQ(0, GetNextInteger("abc", 0, pos));
  EXPECT_EQ(-1, pos);
  EXPECT_EQ(40, GetNextInteger("len=40;", 0, pos));
  EXPECT_EQ(6, pos);
  EXPECT_EQ(-12, GetNextInteger("x-12", 0, pos));
  EXPECT_EQ(12, GetNextInteger("- 12", 0, pos));
  EXPECT_EQ(3, GetNextInteger("3.5", 0, pos));
  EXPECT_EQ(5, GetNextInteger("3.5", pos, pos));
  EXPECT_EQ(0, GetNextInteger("12", -1, pos));
  EXPECT_EQ(-1, pos);
}

TEST(LineScan, IntegersSaturateInsteadOfWrapping) {
  int pos = 0;
  EXPECT_EQ(2147483647, GetNextInteger("99999999999", 0, pos));
  EXPECT_EQ(-2147483647, GetNextInteger("-99999999999", 0, pos));
  EXPECT_EQ(INT64_C(3000000000), GetNextInteger64("3000000000", 0, pos));
  EXPECT_EQ(INT64_MAX, GetNextInteger64("99999999999999999999999", 0, pos));
  EXPECT_EQ(-INT64_MAX, GetNextInteger64("-99999999999999999999999", 0, pos));
  EXPECT_EQ(INT64_MAX, GetNextInteger64("18446744073709551617", 0, pos));  // 2^64 + 1
}

TEST(LineScan, StripWhiteSpaceKeepsCarriageReturn) {
  std::string s = "a b\tc\r\n";
  StripWhiteSpace(s);
  EXPECT_EQ("abc\r", s);
}

TEST(LineScan, GetLineEndsAndStates) {
  std::istringstream in("one\n\ntwo");
  std::string line;
  EXPECT_TRUE(GetLine(in, line));
  EXPECT_EQ("one", line);
  EXPECT_TRUE(GetLine(in, line));
  EXPECT_EQ("", line);
  EXPECT_TRUE(GetLine(in, line));  // last line without newline
  EXPECT_EQ("two", line);
  EXPECT_FALSE(GetLine(in, line));
  EXPECT_EQ("", line);
}

TEST(LineScan, GetLineReadsOverlongLinesWhole) {
  const std::string exact(kReadBufSize - 1, 'x');
  const std::string longer(2 * kReadBufSize + 17, 'y');
  std::istringstream in(exact + "\n" + longer + "\nafter\n" + longer);
  std::string line;
  EXPECT_TRUE(GetLine(in, line));
  EXPECT_EQ(exact, line);
  EXPECT_TRUE(GetLine(in, line));
  EXPECT_EQ(longer, line);
  EXPECT_TRUE(GetLine(in, line));
  EXPECT_EQ("after", line);
  EXPECT_TRUE(GetLine(in, line));  // a long last line without newline
  EXPECT_EQ(longer, line);
  EXPECT_FALSE(GetLine(in, line));
}

TEST(LineScan, ReadFOFAppendsStrippedNonEmptyLines) {
  test::TempDir dir;
  const std::string name = dir.Path("bins");
  test::WriteFile(name, "binA\n\n \t\nbin 1\r\n" + std::string(kReadBufSize + 5, 'z') + "\nlast");
  std::vector<std::string> names = {"kept"};
  EXPECT_TRUE(ReadFOF(name, names));
  EXPECT_EQ((std::vector<std::string>{"kept", "binA", "bin1\r", std::string(kReadBufSize + 5, 'z'), "last"}),
            names);
}

TEST(LineScan, ReadFOFReportsUnopenableFile) {
  std::vector<std::string> names;
  test::CaptureStdout out;
  EXPECT_FALSE(ReadFOF("/nonexistent/bins", names));
  EXPECT_FALSE(ReadFOF("", names));
  EXPECT_EQ("ERROR: Could not open /nonexistent/bins\nERROR: Could not open \n", out.Text());
  EXPECT_TRUE(names.empty());
}

}  // namespace
}  // namespace ostrel
