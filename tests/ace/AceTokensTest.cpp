#include "ace/AceTokens.h"

#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"

namespace ostrel {
namespace {

TEST(AceTokens, ContainsWSPaddedLooksAtFirstOccurrenceOnly) {
  EXPECT_TRUE(ContainsWSPadded("BQ", "BQ"));
  EXPECT_TRUE(ContainsWSPadded("AF r1 U 1", "AF"));
  EXPECT_TRUE(ContainsWSPadded("x AF\t", "AF"));
  EXPECT_FALSE(ContainsWSPadded("BQ\r", "BQ"));  // a carriage return is not white space
  EXPECT_FALSE(ContainsWSPadded("AFx AF ", "AF"));
  EXPECT_FALSE(ContainsWSPadded("", "AF"));
}

TEST(AceTokens, StartsRecordOnlyAtTheFirstWord) {
  EXPECT_TRUE(StartsRecord("RD r1 10 0 0", "RD"));
  EXPECT_TRUE(StartsRecord("  \tQA 1 2 3 4", "QA"));
  EXPECT_TRUE(StartsRecord("BQ", "BQ"));
  EXPECT_FALSE(StartsRecord("DS CHROMAT_FILE: fooRD TIME: x", "RD"));
  EXPECT_FALSE(StartsRecord("DS text with QA inside", "QA"));
  EXPECT_FALSE(StartsRecord("COMMENT{", "CO"));
  EXPECT_FALSE(StartsRecord("Contig1 repeat consed", "CO"));
  EXPECT_FALSE(StartsRecord("BQ\r", "BQ"));
  EXPECT_FALSE(StartsRecord("", "BQ"));
}

TEST(AceTokens, FindTokenPlusWSReportsGluedKeyword) {
  std::istringstream in("one\nxBQy\nBQ\n");
  std::string line;
  test::CaptureStderr err;
  EXPECT_FALSE(FindTokenPlusWS(in, "BQ", line));
  EXPECT_EQ("xBQy", line);
  EXPECT_EQ("Find Token How did we get here? \nfeature=BQidx=1 linesize=4 templine=xBQy\n", err.Text());
  EXPECT_TRUE(FindTokenPlusWS(in, "BQ", line));  // the current line holds it: true at once
  EXPECT_EQ("xBQy", line);
}

TEST(AceTokens, FindTokenAndEndOfStream) {
  std::istringstream in("a\nb BS c\n");
  std::string line;
  EXPECT_TRUE(FindToken(in, "BS", line));
  EXPECT_EQ("b BS c", line);
  line.clear();
  EXPECT_FALSE(FindToken(in, "RD", line));
  EXPECT_FALSE(FindTokenPlusWS(in, "RD", line));
}

}  // namespace
}  // namespace ostrel
