#include "seq/RecordIndex.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestSupport.h"

namespace ostrel {
namespace {

// Three quality records, the second name twice: the first record wins.
const char* const kQualities = ">r1 one\n10 20\n30\n>r2\n40\n>r2 again\n50\n\n>r3\n60 70\n";

TEST(RecordIndex, ScansTheDataOrTakesACurrentIndexFile) {
  test::TempDir dir;
  const std::string data = dir.Path("reads.qual");
  test::WriteFile(data, kQualities);
  RecordIndex index;
  ASSERT_TRUE(index.Load(data));
  EXPECT_FALSE(index.mFromIndexFile);
  EXPECT_EQ(3u, index.Size());
  std::ifstream in(data, std::ios::binary);
  std::string record;
  for (const auto& [name, text] : {std::pair<std::string, std::string>{"r1", ">r1 one\n10 20\n30\n"},
                                   {"r2", ">r2\n40\n"}, {"r3", ">r3\n60 70\n"}}) {
    const RecordIndex::Range* range = index.Find(name);
    ASSERT_NE(nullptr, range) << name;
    EXPECT_TRUE(RecordIndex::ReadRecord(in, *range, record)) << name;
    EXPECT_EQ(text, record) << name;
  }
  EXPECT_EQ(nullptr, index.Find("r4"));
  // Ranges outside the data are refused, not read.
  for (const RecordIndex::Range& bad : {RecordIndex::Range{0, 3}, RecordIndex::Range{5, 4},
                                        RecordIndex::Range{1, 1000}, RecordIndex::Range{1, INT64_MAX}})
    EXPECT_FALSE(RecordIndex::ReadRecord(in, bad, record));
  EXPECT_TRUE(RecordIndex::ReadRecord(in, *index.Find("r1"), record));  // the stream still serves

  // An index file as new as the data is taken as it stands; an older one
  // is not.
  test::WriteFile(data + "_idx", "r2\t1\t4\nr9 5 9\n");
  ASSERT_TRUE(index.Load(data));
  EXPECT_TRUE(index.mFromIndexFile);
  EXPECT_EQ(nullptr, index.Find("r1"));
  ASSERT_NE(nullptr, index.Find("r9"));
  EXPECT_EQ(9, index.Find("r9")->mEnd);
  std::filesystem::last_write_time(data + "_idx", std::filesystem::last_write_time(data) - std::chrono::hours(1));
  ASSERT_TRUE(index.Load(data));
  EXPECT_FALSE(index.mFromIndexFile);
  EXPECT_NE(nullptr, index.Find("r1"));

  // Text that is not '>' records, and no data at all.
  test::WriteFile(dir.Path("bad.qual"), "10 20\n>r1\n");
  EXPECT_FALSE(index.Load(dir.Path("bad.qual")));
  EXPECT_EQ(0u, index.Size());
  EXPECT_FALSE(index.mError.empty());
  EXPECT_FALSE(index.Load(dir.Path("none.qual")));
  EXPECT_EQ("cannot read " + dir.Path("none.qual"), index.mError);
}

}  // namespace
}  // namespace ostrel
