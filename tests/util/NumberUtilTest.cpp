#include "util/NumberUtil.h"

#include <gtest/gtest.h>

#include <climits>
#include <ctime>
#include <sstream>
#include <string>

namespace ostrel {
namespace {

template <typename Printer, typename Value>
std::string Printed(Printer print, int width, Value value) {
  std::ostringstream out;
  print(out, width, value);
  return out.str();
}

TEST(NumberUtil, Conversions) {
  EXPECT_EQ("-42", itoa(-42));
  EXPECT_EQ("7", itostring(7));
  EXPECT_EQ("1.500000", ftoa(1.5f));
  EXPECT_EQ("0.250000", ftostring(0.25f));
  EXPECT_EQ("3.14", ftoa(3.14159f, "%.2f"));
  EXPECT_EQ("x=  2.50e+00%", ftoa(2.5f, "x=%10.2e%%"));
}

TEST(NumberUtil, FormatsThatWouldReadMissingArgumentsFallBack) {
  EXPECT_EQ("1.500000", ftoa(1.5f, "%s"));
  EXPECT_EQ("1.500000", ftoa(1.5f, "%f %f"));
  EXPECT_EQ("1.500000", ftoa(1.5f, "%*f"));
  EXPECT_EQ("1.500000", ftoa(1.5f, "%"));
  EXPECT_EQ("1.500000", ftoa(1.5f, "%Lf"));
  EXPECT_EQ("plain", ftoa(1.5f, "plain"));
}

TEST(NumberUtil, AtoiFollowsTheCLibrary) {
  EXPECT_EQ(12, atoi("12ab"));
  EXPECT_EQ(0, atoi(""));
  EXPECT_EQ(-7, atoi("  -7"));
  EXPECT_EQ(5, atoi("+5"));
  EXPECT_EQ(0, atoi("x5"));
  EXPECT_EQ(INT_MAX, atoi("99999999999999999999"));
  EXPECT_EQ(INT_MIN, atoi("-99999999999999999999"));
  EXPECT_EQ(INT_MIN, atoi("-2147483648"));
  EXPECT_EQ(INT_MAX, atoi("2147483648"));
  EXPECT_EQ(3, atoi("\t\r\n\v\f 3"));
}

TEST(NumberUtil, ParseCountTakesDigitsAlone) {
  for (const auto& [text, expected] : {std::pair{"0", 0}, {"500", 500}, {"007", 7}, {"2147483647", 2147483647}}) {
    int value = -1;
    EXPECT_TRUE(ParseCount(text, value)) << text;
    EXPECT_EQ(expected, value) << text;
  }
  for (const char* text : {"", "abc", "5x", "-5", "+5", " 5", "5 ", "2147483648", "99999999999999999999"}) {
    int value = 42;
    EXPECT_FALSE(ParseCount(text, value)) << text;
    EXPECT_EQ(42, value) << text;
  }
}

TEST(NumberUtil, SprintfKeepsLongTextWhole) {
  std::string out = "old";
  sprintf(4, out, "%s-%d", "contig", 12345);
  EXPECT_EQ("contig-12345", out);
  sprintf(100, out, "%d", 3);
  EXPECT_EQ("3", out);
  sprintf(0, out, "%05d", 42);
  EXPECT_EQ("00042", out);
  sprintf(-3, out, "%s", "");
  EXPECT_EQ("", out);
}

TEST(NumberUtil, DateStampIsToday) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char expected[16];
  std::strftime(expected, sizeof expected, "%Y%m%d", &local);
  EXPECT_EQ(expected, GetDateStamp());
}

TEST(NumberUtil, PaddedPrinters) {
  EXPECT_EQ("   42", Printed(PrintSpacePaddedNum, 5, 42));
  EXPECT_EQ("12345", Printed(PrintSpacePaddedNum, 2, 12345));
  EXPECT_EQ("-1", Printed(PrintSpacePaddedNum, -4, -1));
  EXPECT_EQ("   1.500", Printed(PrintSpacePaddedFloat, 8, 1.5f));
  EXPECT_EQ("12.250", Printed(PrintSpacePaddedFloat, 3, 12.25f));
  EXPECT_EQ("ab    ", Printed(PrintSpacePaddedString, 6, std::string("ab")));
  EXPECT_EQ("abcdef", Printed(PrintSpacePaddedString, 3, std::string("abcdef")));
}

}  // namespace
}  // namespace ostrel
