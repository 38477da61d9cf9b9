#include "extractbins/BinNames.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"

namespace ostrel {
namespace {

// A line names the read its first word names; joining the words would make
// names no read has ("r1cluster5"), or another read's ("readB").
TEST(BinNames, LineNamesItsFirstWord) {
  const std::pair<const char*, const char*> cases[] = {
      {"r1", "r1"},
      {"r1\tcluster5", "r1"},
      {"read B", "read"},
      {">r2 some text", "r2"},
      {"> \tr2\tx", "r2"},
      {"  \t>r3", "r3"},
      {">>r4", ">r4"},  // only one '>' is a header's
      {"r5>x y", "r5>x"},
      {"r6\r", "r6"},
      {"r7\rjunk", "r7"},
      {"", ""},
      {" \t ", ""},
      {">", ""},
      {"> \r", ""},
  };
  for (const auto& [line, name] : cases) EXPECT_EQ(name, BinLineName(line)) << '"' << line << '"';
}

TEST(BinNames, FileGivesItsLinesNamesInOrder) {
  test::TempDir dir;
  const std::string bin = dir.Path("bin");
  test::WriteFile(bin, "readC desc\r\n\r\n \t\n>readA\treadB\nreadA\n" + std::string(400000, 'z') + " x\nlast");
  std::vector<std::string> names = {"kept"};
  EXPECT_TRUE(ReadBinNames(bin, names));
  EXPECT_EQ((std::vector<std::string>{"kept", "readC", "readA", "readA", std::string(400000, 'z'), "last"}), names);

  test::CaptureStdout out;
  EXPECT_FALSE(ReadBinNames(dir.Path("none "), names));
  EXPECT_EQ("ERROR: Could not open '" + dir.Path("none ") + "'\n", out.Text());
  EXPECT_EQ(6u, names.size());
}

}  // namespace
}  // namespace ostrel
