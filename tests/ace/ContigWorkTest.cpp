// Tests of the work spread over an assembly's contigs: every contig once,
// messages in contig order whatever thread ran the call, failures passed on.
#include "ace/ContigWork.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace ostrel {
namespace {

TEST(ContigWork, EveryContigOnceAndMessagesInContigOrder) {
  for (size_t count : {0, 1, 2, 3, 1000}) {
    std::vector<std::atomic<int>> calls(count);
    std::ostringstream out;
    ForEachContig(count, [&](size_t c, std::ostream& messages) {
      ++calls[c];
      if (c % 3 == 0) messages << "contig " << c << '\n';
      if (c % 9 == 0) messages << "again " << c << '\n';
    }, out);
    std::ostringstream expected;
    for (size_t c = 0; c < count; ++c) {
      EXPECT_EQ(1, calls[c].load()) << c;
      if (c % 3 == 0) expected << "contig " << c << '\n';
      if (c % 9 == 0) expected << "again " << c << '\n';
    }
    EXPECT_EQ(expected.str(), out.str()) << count;
  }
}

TEST(ContigWork, FailureIsPassedOnAfterWhatWasSaid) {
  std::ostringstream out;
  EXPECT_THROW(ForEachContig(500, [](size_t c, std::ostream& messages) {
    if (c == 0) messages << "first\n";
    if (c == 250) throw std::runtime_error("contig 250");
  }, out), std::runtime_error);
  EXPECT_EQ(0u, out.str().find("first\n"));
}

}  // namespace
}  // namespace ostrel
