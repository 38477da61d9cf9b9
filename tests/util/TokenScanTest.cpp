#include "util/TokenScan.h"

#include <gtest/gtest.h>

#include <climits>

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

namespace ostrel {
namespace {

TEST(TokenScan, FindNextIntegerReportsLengthAtTheEnd) {
  int begin = 0, end = 0;
  EXPECT_EQ(0, FindNextInteger("ab 123 x", 0, begin, end));
  EXPECT_EQ(3, begin);
  EXPECT_EQ(5, end);
  EXPECT_EQ(0, FindNextInteger("ab 123", 0, begin, end));
  EXPECT_EQ(6, end);  // the run reaches the end: the length, not the last digit
  EXPECT_EQ(-1, FindNextInteger("abc", 0, begin, end));
  EXPECT_EQ(-1, begin);
  EXPECT_EQ(-1, end);
  EXPECT_EQ(-1, FindNextInteger("12", -1, begin, end));
}

TEST(TokenScan, FindNextDoubleFractionAndExponent) {
  int begin = 0, end = 0;
  EXPECT_EQ(0, FindNextDouble("v 1.25e+3;", 0, begin, end));
  EXPECT_EQ(2, begin);
  EXPECT_EQ(8, end);
  FindNextDouble("7. ", 0, begin, end);
  EXPECT_EQ(0, end);  // no digit after the point
  FindNextDouble("3.5", 0, begin, end);
  EXPECT_EQ(3, end);
  FindNextDouble("2e x 9 y", 0, begin, end);
  EXPECT_EQ(5, end);  // the exponent is the next digit run anywhere after the e
  FindNextDouble("2e", 0, begin, end);
  EXPECT_EQ(0, end);
  FindNextDouble("2e5", 0, begin, end);
  EXPECT_EQ(3, end);
  FindNextDouble("4.e5", 0, begin, end);
  EXPECT_EQ(0, end);
}

TEST(TokenScan, GetNextDoubleTakesMinusAndMovesOn) {
  int pos = 0;
  EXPECT_DOUBLE_EQ(-0.0025, GetNextDouble("x=-2.5e-3", 0, pos));
  EXPECT_EQ(10, pos);
  EXPECT_DOUBLE_EQ(7.0, GetNextDouble("7.", 0, pos));
  EXPECT_EQ(1, pos);
  EXPECT_DOUBLE_EQ(0.0, GetNextDouble("7.", pos, pos));
  EXPECT_EQ(-1, pos);
  EXPECT_DOUBLE_EQ(1.5, GetNextDouble("- 1.5", 0, pos));
  EXPECT_TRUE(std::isinf(GetNextDouble("1e999999", 0, pos)));
}

TEST(TokenScan, AllNumbersOfALine) {
  std::vector<int> ints{9};
  EXPECT_EQ(5, GetAllIntegers("a1 -2 x3.4", ints));  // the size of the whole list
  EXPECT_EQ((std::vector<int>{9, 1, -2, 3, 4}), ints);
  std::vector<double> doubles;
  EXPECT_EQ(3, GetAllDoubles("0.5, -1e2 and 3", doubles));
  EXPECT_EQ((std::vector<double>{0.5, -100.0, 3.0}), doubles);
  doubles.clear();
  EXPECT_EQ(0, GetAllDoubles("none", doubles));
}

TEST(TokenScan, NextScannersChainOnPos) {
  const std::string line = "AF read1 U 120 2.5";
  int pos = 0;
  EXPECT_EQ("AF", NextString(line, pos));
  EXPECT_EQ("read1", SplitNext(line, pos));
  EXPECT_EQ(120, NextInt(line, pos));
  EXPECT_EQ(2L, NextLong(line, pos));
  EXPECT_EQ(5L, NextLong(line, pos));
  EXPECT_EQ(-1L, (NextLong(line, pos), pos));
  pos = 11;
  EXPECT_FLOAT_EQ(120.0f, NextFloat(line, pos));
  EXPECT_DOUBLE_EQ(2.5, NextDouble(line, pos));
  pos = 0;
  EXPECT_TRUE(std::isinf(NextFloat("1e300", pos)));
  pos = 0;
  EXPECT_EQ(2147483647L, GetNextLong("99999999999", 0, pos));
}

TEST(TokenScan, NextFloatRoundsToTheNearestFloat) {
  int pos = 0;
  // The largest float as eight digits print it lies just above it, within
  // half a step: it reads back as the largest float, not as infinity.
  EXPECT_EQ(FLT_MAX, NextFloat("3.4028235e38", pos));
  pos = 0;
  EXPECT_EQ(-FLT_MAX, NextFloat("-3.40282356e38", pos));
  pos = 0;
  EXPECT_TRUE(std::isinf(NextFloat("3.4028236e38", pos)));
  pos = 0;
  EXPECT_EQ(-HUGE_VALF, NextFloat("-1e39", pos));
}

TEST(TokenScan, IntsFromLineBothForms) {
  std::vector<int> v;
  GetIntsFromLine(std::string("10 20  "), v);
  EXPECT_EQ((std::vector<int>{10, 20}), v);
  v.clear();
  GetIntsFromLine("10 20  ", v);
  EXPECT_EQ((std::vector<int>{10, 20}), v);
  v.clear();
  char mixed[] = "\t-3 x7 4y +5";
  GetIntsFromLine(mixed, v);
  EXPECT_EQ((std::vector<int>{-3, 0, 4, 5}), v);
  v.clear();
  char empty[] = "";
  GetIntsFromLine(empty, v);
  GetIntsFromLine(std::string(" \t"), v);
  EXPECT_TRUE(v.empty());
}

// The C-string and block forms convert plain digit runs themselves; they
// must agree with atoi on every token, and the block form with the C-string
// form on each line, its carriage return at the end taken off.
TEST(TokenScan, IntsFromLineFormsAgreeOnOddTokens) {
  const char* const lines[] = {"\r 5", "5\r 6\r", "99999999999 2147483647 2147483648", "-2147483648 -0 007",
                               "\v\f 1", "1e5 0x10 --3 +-4", "", "\r", "7\r\r", "12 \t34"};
  std::string block;
  std::vector<int> fromLines;
  for (const char* line : lines) {
    std::vector<int> fromString, fromText;
    GetIntsFromLine(std::string(line), fromString);
    GetIntsFromLine(line, fromText);
    if (std::string(line) != "\r") {
      EXPECT_EQ(fromString, fromText) << line;
    }
    std::string listLine = line;
    if (!listLine.empty() && listLine.back() == '\r') listLine.pop_back();
    GetIntsFromLine(listLine.c_str(), fromLines);
    block += line + std::string("\n");
  }
  std::vector<int> fromBlock;
  GetIntsFromLines(block.data(), block.data() + block.size(), fromBlock);
  EXPECT_EQ(fromLines, fromBlock);
  // A NUL ends its line; a text without a last newline ends its last line.
  const char withNul[] = "1 2\0 3\n4 5";
  fromBlock.clear();
  GetIntsFromLines(withNul, withNul + sizeof withNul - 1, fromBlock);
  EXPECT_EQ((std::vector<int>{1, 2, 4, 5}), fromBlock);
  std::vector<int> v;
  GetIntsFromLine("\r 5 99999999999", v);
  EXPECT_EQ((std::vector<int>{0, 5, INT_MAX}), v);
}

}  // namespace
}  // namespace ostrel
