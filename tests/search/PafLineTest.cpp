#include "search/PafLine.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ostrel {
namespace {

TEST(PafLine, CoordinatesComeFromTheHangsOnEachForwardStrand) {
  struct Case {
    int mQ, mT, mLength, mScore, mLeft, mRight, mOrientation;
    const char* mLine;
  } cases[] = {
      // The target leads on the same strand: the query's head against the target's tail.
      {1000, 1000, 300, 290, -700, 700, 1, "q\t1000\t0\t300\t+\tt\t1000\t700\t1000\t295\t300\t255\tAS:i:290\tol:i:300"},
      // The query leads.
      {1000, 800, 400, 400, 600, -400, 1, "q\t1000\t600\t1000\t+\tt\t800\t0\t400\t400\t400\t255\tAS:i:400\tol:i:400"},
      // Opposite strands: the hangs describe the reverse-complemented query,
      // whose head is the forward query's tail.
      {1000, 1000, 300, 280, -700, 700, 0, "q\t1000\t700\t1000\t-\tt\t1000\t700\t1000\t290\t300\t255\tAS:i:280\tol:i:300"},
      {900, 500, 500, 480, 100, 300, 0, "q\t900\t300\t800\t-\tt\t500\t0\t500\t490\t500\t255\tAS:i:480\tol:i:500"},
      // Values that do not fit the reads are cut to them.
      {100, 100, 300, -400, 50, -900, 1, "q\t100\t50\t100\t+\tt\t100\t0\t0\t0\t300\t255\tAS:i:-400\tol:i:300"},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    WritePafLine(out, "q", c.mQ, "t", c.mT, c.mLength, c.mScore, c.mLeft, c.mRight, c.mOrientation);
    EXPECT_EQ(std::string(c.mLine) + "\n", out.str());
  }
}

}  // namespace
}  // namespace ostrel
