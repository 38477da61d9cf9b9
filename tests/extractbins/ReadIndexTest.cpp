#include "extractbins/ReadIndex.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace ostrel {
namespace {

class ReadIndexLoad : public ::testing::Test {
protected:
  // Loads an index of `text` for input "reads.fa", capturing what is printed.
  bool Load(const std::string& text) {
    test::WriteFile(mDir.Path("reads.fa_idx"), text);
    test::CaptureStdout out;
    const bool ok = mIndex.Load(mDir.Path("reads.fa"));
    mPrinted = out.Text();
    return ok;
  }
  void ExpectEntry(const std::string& name, int64_t start, int64_t end) {
    const IndexInfo* entry = mIndex.Find(name);
    ASSERT_NE(nullptr, entry) << name;
    EXPECT_EQ(start, entry->mStart) << name;
    EXPECT_EQ(end, entry->mEnd) << name;
  }
  test::TempDir mDir;
  ReadIndex mIndex;
  std::string mPrinted;
};

TEST_F(ReadIndexLoad, LineFormats) {
  EXPECT_TRUE(Load("readA 1 120\nreadB\t121\t300\n  readC start=301 end=455 extra 9\nreadD\nreadE -5 7"));
  EXPECT_EQ("Hash " + mDir.Path("reads.fa_idx") + "...\t", mPrinted);
  ExpectEntry("readA", 1, 120);
  ExpectEntry("readB", 121, 300);
  ExpectEntry("readC", 301, 455);
  ExpectEntry("readD", 0, 0);
  ExpectEntry("readE", -5, 7);
  EXPECT_EQ(5u, mIndex.mTable.size());  // no newline at the end: no extra entry
  EXPECT_EQ(nullptr, mIndex.Find("readF"));
  EXPECT_EQ(nullptr, mIndex.Find("reada"));
}

TEST_F(ReadIndexLoad, LastLineWinsAndFinalNewlineAddsEmptyEntry) {
  EXPECT_TRUE(Load("readA 1 120\nreadB 121 300\nreadA 500 620\n"));
  ExpectEntry("readA", 500, 620);
  ASSERT_EQ(4u, mIndex.mTable.size());
  EXPECT_EQ(1, mIndex.mTable[0].mStart);  // the earlier entry stays, unreachable
  ExpectEntry("", 0, 0);
}

TEST_F(ReadIndexLoad, PositionsBeyondTwoGibibytes) {
  EXPECT_TRUE(Load("far 3000000001 3000000015\n"));
  ExpectEntry("far", 3000000001, 3000000015);
}

TEST_F(ReadIndexLoad, UnopenableIndexLeavesItEmpty) {
  test::CaptureStdout out;
  EXPECT_FALSE(mIndex.Load(mDir.Path("none.fa")));
  const std::string inputName = mDir.Path("none.fa");
  const std::string indexName = inputName + "_idx";
  EXPECT_EQ("Hash " + indexName + "...\t" + indexName + " failed to open (index of " + inputName +
                "; ostrel-fastaindex " + inputName + " makes it)\n", out.Text());
  EXPECT_TRUE(mIndex.mTable.empty());
}

TEST_F(ReadIndexLoad, ClearEmptiesTableAndMap) {
  EXPECT_TRUE(Load("readA 1 120\n"));
  mIndex.Clear();
  EXPECT_TRUE(mIndex.mTable.empty());
  EXPECT_EQ(nullptr, mIndex.Find("readA"));
}

}  // namespace
}  // namespace ostrel
