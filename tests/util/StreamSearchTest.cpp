#include "util/StreamSearch.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace ostrel {
namespace {

const char kAce[] = "AS 1 2\n\nCO c1 4\nACGT\nBQ\nAF r1 U 1\nRD r1 4\nDS CHROMAT_FILE: r1";

TEST(StreamSearch, NextLineWithOneKey) {
  std::istringstream in(kAce);
  std::string line;
  EXPECT_TRUE(GetNextLineContaining(in, "CO ", line));
  EXPECT_EQ("CO c1 4", line);
  EXPECT_TRUE(GetNextLineContaining(in, std::string("CHROMAT"), line));  // last line, no newline
  EXPECT_EQ("DS CHROMAT_FILE: r1", line);
  EXPECT_FALSE(GetNextLineContaining(in, "AS", line));
}

TEST(StreamSearch, NextLineWithEitherKey) {
  std::istringstream in(kAce);
  std::string line;
  EXPECT_TRUE(GetNextLineContaining(in, "RD ", "BQ", line));
  EXPECT_EQ("BQ", line);
  EXPECT_TRUE(GetNextLineContaining(in, "RD ", "BQ", line));
  EXPECT_EQ("RD r1 4", line);
  EXPECT_FALSE(GetNextLineContaining(in, "RD ", "BQ", line));
}

TEST(StreamSearch, NextLineWithAnyKeyNamesTheFirstOccurring) {
  std::istringstream in(kAce);
  std::string line;
  int which = -5;
  const std::vector<std::string> keys{"r1", "AF", "BQ"};
  EXPECT_TRUE(GetNextLineContaining(in, keys, line, which));
  EXPECT_EQ("BQ", line);
  EXPECT_EQ(2, which);
  EXPECT_TRUE(GetNextLineContaining(in, keys, line, which));
  EXPECT_EQ("AF r1 U 1", line);
  EXPECT_EQ(1, which);  // AF starts before r1
  std::istringstream none("x\ny\n");
  EXPECT_FALSE(GetNextLineContaining(none, keys, line, which));
  EXPECT_EQ(0, which);
}

}  // namespace
}  // namespace ostrel
