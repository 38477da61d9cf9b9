#include "util/StringUtil.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace ostrel {
namespace {

using Parts = std::vector<std::string>;

Parts SplitOf(const std::string& s, const std::string& delimiter) {
  Parts parts{"stale"};
  Split(s, parts, delimiter);
  return parts;
}

TEST(StringUtil, PrefixAndContainment) {
  EXPECT_TRUE(StartsWith("abcabc", "abc"));
  EXPECT_FALSE(StartsWith("xabc", "abc"));
  EXPECT_FALSE(StartsWith("ab", std::string("abc")));
  EXPECT_TRUE(StartsWith("ab", ""));
  EXPECT_TRUE(Contains("read.phd.1", "phd"));
  EXPECT_TRUE(Contains("", std::string()));
  EXPECT_FALSE(Contains("abc", "abd"));
}

TEST(StringUtil, WhiteSpaceAndDigitTests) {
  EXPECT_TRUE(ContainsOnlyWS(""));
  EXPECT_TRUE(ContainsOnlyWS(" \t\n"));
  EXPECT_FALSE(ContainsOnlyWS(" \r"));
  EXPECT_TRUE(ContainsOnlyDigits("123x", 0, 2));
  EXPECT_FALSE(ContainsOnlyDigits("12x4", 0, 2));
  EXPECT_FALSE(ContainsOnlyDigits("1234", 0, 3));  // no non-digit follows
  EXPECT_TRUE(ContainsOnlyDigits("ab12 ", 2, 3));
  EXPECT_FALSE(ContainsOnlyDigits("12 ", -1, 1));
  EXPECT_FALSE(ContainsOnlyDigits("12 ", 50, 60));
}

TEST(StringUtil, IsBaseTakesNAndXButNoPads) {
  for (char c : std::string("acgtACGTnNxX")) EXPECT_TRUE(IsBase(c)) << c;
  for (char c : std::string("*-uUbB \0", 8)) EXPECT_FALSE(IsBase(c)) << c;
}

TEST(StringUtil, CaseAndStripping) {
  std::string s = "AbC*1";
  ToLowerCase(s);
  EXPECT_EQ("abc*1", s);
  ToUpperCase(s);
  EXPECT_EQ("ABC*1", s);
  s = " \t\n x y \n\t ";
  StripLeadingSpaces(s);
  EXPECT_EQ("x y \n\t ", s);
  StripTrailingSpace(s);
  EXPECT_EQ("x y", s);
  s = " \t ";
  StripLeadingSpaces(s);
  EXPECT_EQ("", s);
  s = "a\r\n";
  StripTrailingSpace(s);
  EXPECT_EQ("a\r", s);
}

TEST(StringUtil, SplitRules) {
  EXPECT_EQ(Parts{}, SplitOf("a,b", ";"));
  EXPECT_EQ((Parts{"a", "b", ""}), SplitOf("a;b;", ";"));
  EXPECT_EQ((Parts{"a", "b", "c"}), SplitOf("a::b::c", "::"));
  EXPECT_EQ((Parts{"a", ";;b;c"}), SplitOf("a;;;b;c", ";"));
  EXPECT_EQ((Parts{"", "x"}), SplitOf(";x", ";"));
  EXPECT_EQ((Parts{"", "abc"}), SplitOf("abc", ""));
}

TEST(StringUtil, CutFields) {
  std::string field = "stale";
  EXPECT_TRUE(CutString("a:b:c", field, 1, ':'));
  EXPECT_EQ("a", field);
  EXPECT_TRUE(CutString("a:b:c", field, 2, ':'));
  EXPECT_EQ("b", field);
  EXPECT_TRUE(CutString("a:b:c", field, 3, ':'));
  EXPECT_EQ("c", field);
  EXPECT_FALSE(CutString("a:b:c", field, 4, ':'));
  EXPECT_EQ("", field);
  EXPECT_TRUE(CutString("abc", field, 1, ':'));
  EXPECT_EQ("abc", field);
  EXPECT_TRUE(CutString("a::", field, 3, ':'));
  EXPECT_EQ("", field);
  field = "stale";
  EXPECT_FALSE(CutString("a:b", field, 0, ':'));
  EXPECT_EQ("", field);
  EXPECT_FALSE(CutString("a:b", field, -2, ':'));
  Cut("x.y", field, 2, '.');
  EXPECT_EQ("y", field);
}

TEST(StringUtil, RemainderAfterKey) {
  std::string rest = "stale";
  GetRemainderAfter("TIME:", "DS CHROMAT_FILE: r1 TIME: Mon", rest);
  EXPECT_EQ(" Mon", rest);
  GetRemainderAfter("a key longer than the line", "short", rest);
  EXPECT_EQ("", rest);
  GetRemainderAfter("x", "abc", rest);
  EXPECT_EQ("", rest);
}

TEST(StringUtil, KeywordSearchTakesEarliestThenListOrder) {
  const Parts keys{"CHEM:", "DYE:", "DY"};
  const std::string line = "a DYE: term CHEM: x";
  int begin = 0, end = 0;
  EXPECT_EQ(1, FindNextOf(keys, line, 0, begin, end));
  EXPECT_EQ(2, begin);
  EXPECT_EQ(5, end);
  EXPECT_EQ(0, FindNextOf(keys, line, 6, begin, end));
  EXPECT_EQ(12, begin);
  EXPECT_EQ(16, end);
  EXPECT_EQ(0, FindNextOf(keys, line, 13, begin, end));
  EXPECT_EQ(-1, begin);
  EXPECT_EQ(-1, end);
  EXPECT_EQ(0, FindNextOf(keys, line, -1, begin, end));
  EXPECT_EQ(-1, begin);

  std::string found = "none";
  int pos = 0;
  EXPECT_TRUE(GetNextKeyword(keys, line, 0, pos, found));
  EXPECT_EQ("DYE:", found);
  EXPECT_EQ(6, pos);
  EXPECT_TRUE(GetNextKeyword(keys, line, pos, pos, found));
  EXPECT_EQ("CHEM:", found);
  EXPECT_FALSE(GetNextKeyword(keys, line, pos, pos, found));
  EXPECT_EQ(-1, pos);
  EXPECT_EQ("CHEM:", found);
}

TEST(StringUtil, ShowHiddenNamesWhiteSpace) {
  std::ostringstream out;
  ShowHidden("a \t\n\r", out);
  EXPECT_EQ("0:a\n1:SPACE\n2:TAB\n3:NEWLINE\n4:\r\n", out.str());
}

TEST(StringUtil, ShownFileNameQuotesWhatWouldNotShow) {
  const std::pair<const char*, const char*> cases[] = {
      {"reads.fa", "reads.fa"}, {"with blank.fa", "with blank.fa"}, {"reads.fa ", "'reads.fa '"},
      {" reads.fa", "' reads.fa'"}, {"reads.fa\t", "'reads.fa\t'"}, {"reads.fa\r", "'reads.fa\r'"},
      {"", "''"}, {"it's", "it's"}};
  for (const auto& [name, shown] : cases) EXPECT_EQ(shown, ShownFileName(name)) << name;
}

}  // namespace
}  // namespace ostrel
