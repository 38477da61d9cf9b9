// Tests of the work spread over an assembly's contigs: every contig once,
// messages in contig order whatever thread ran the call, failures passed on.
#include "ace/ContigWork.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "TestSupport.h"
#include "ace/AceFile.h"

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

// Past the contigs made up front, the list grows (and moves, the second
// thread waiting) while the second thread prepares the contigs read; a
// header's count is not taken as contigs beyond those made up front.
TEST(ContigWork, ReadGrowsTheListBesideTheSecondThread) {
  test::TempDir dir;
  const int contigs = 3 * AceFile::kPresizedContigs;
  std::string text = "AS " + std::to_string(contigs + 100) + " " + std::to_string(contigs) + "\n\n";
  for (int c = 0; c < contigs; ++c) {
    const std::string read = "r" + std::to_string(c);
    text += "CO c" + std::to_string(c) + " 2 1 1 U\nAC\n\nBQ\n30 40\n\nAF " + read + " U 1\nBS 1 2 " + read +
            "\n\nRD " + read + " 2 0 0\nAC\n\nQA 1 2 1 2\nDS TEMPLATE: t\n\n";
  }
  test::WriteFile(dir.Path("many.ace"), text);
  AceFile ace;
  test::CaptureStderr err;
  ace.Read(dir.Path("many.ace"));
  ASSERT_EQ(static_cast<size_t>(contigs), ace.size());
  ASSERT_EQ(ace.size(), ace.mContigQuality.size());
  EXPECT_FALSE(ace.mValid);
  for (int c : {0, AceFile::kPresizedContigs, contigs - 1}) {
    EXPECT_EQ("r" + std::to_string(c), ace[c].mReads.at(0).mName);
    EXPECT_EQ((std::vector<int>{30, 40}), ace.mContigQuality[c].mQualities);
    EXPECT_EQ(1u, ace[c].mReadTemplate.count("r" + std::to_string(c)));
  }
}

}  // namespace
}  // namespace ostrel
