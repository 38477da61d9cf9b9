#include "search/GfaLine.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ostrel {
namespace {

TEST(GfaLine, DovetailsAreLinksAndContainmentsContain) {
  struct Case {
    int mLeft, mRight, mOrientation;
    const char* mLine;
  } cases[] = {
      {-700, 200, 1, "L\tt\t+\tq\t+\t300M\n"},      // the target, then the query
      {-700, 200, 0, "L\tt\t+\tq\t-\t300M\n"},      // ... its reverse complement
      {600, -600, 1, "L\tq\t+\tt\t+\t300M\n"},      // the query, then the target
      {600, -600, 0, "L\tq\t-\tt\t+\t300M\n"},
      {-50, -20, 1, "C\tt\t+\tq\t+\t50\t300M\n"},  // the target holds the query
      {0, 0, 0, "C\tt\t+\tq\t-\t0\t300M\n"},       // equal: the target holds it
      {40, 60, 1, "C\tq\t+\tt\t+\t40\t300M\n"},    // the query holds the target
      {40, 60, 0, "C\tq\t+\tt\t-\t60\t300M\n"},    // ... from the query's tail on its forward strand
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    WriteGfaOverlap(out, "q", 400, "t", 300, c.mLeft, c.mRight, c.mOrientation);
    EXPECT_EQ(c.mLine, out.str()) << c.mLeft << " " << c.mRight << " " << c.mOrientation;
  }
  std::ostringstream out;
  WriteGfaHeader(out);
  WriteGfaSegment(out, "r1", 812);
  EXPECT_EQ("H\tVN:Z:1.0\nS\tr1\t*\tLN:i:812\n", out.str());
}

}  // namespace
}  // namespace ostrel
