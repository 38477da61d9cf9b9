#include "seq/RecordScanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "FeedInBlocks.h"

namespace ostrel {
namespace {

// The index of `text` fed in blocks of `blockSize` bytes, or
// "error at <position>: <what>" when the scanner finds the text bad.
std::string IndexOf(const std::string& text, size_t blockSize) {
  RecordScanner scanner;
  std::string index;
  if (!test::FeedInBlocks(scanner, text, blockSize, index))
    return "error at " + std::to_string(scanner.mErrorPosition) + ": " + scanner.mError;
  return index;
}

// Every way of cutting the text into equal blocks gives the same index.
std::string IndexInAnyBlocks(const std::string& text) {
  const std::string whole = IndexOf(text, text.size() + 1);
  for (size_t blockSize = 1; blockSize <= text.size(); ++blockSize)
    EXPECT_EQ(whole, IndexOf(text, blockSize)) << "blocks of " << blockSize;
  return whole;
}

struct IndexCase {
  const char* mWhat;
  std::string mText;
  std::string mIndex;
};

TEST(RecordScanner, BytePositionsOfRecordLayouts) {
  const IndexCase cases[] = {
      {"unwrapped", ">r1\nACGT\n>r2\nGG\n", "r1\t1\t9\nr2\t10\t16\n"},
      {"wrapped", ">r1\nACGT\nAC\n>r2\nGG\nG\n", "r1\t1\t12\nr2\t13\t21\n"},
      {"last record without final newline", ">r1\nAC\n>r2\nGGT", "r1\t1\t7\nr2\t8\t14\n"},
      {"header-only last record without newline", ">r1\nAC\n>r2", "r1\t1\t7\nr2\t8\t10\n"},
      {"descriptions", ">r1 some words\there\nAC\n> r2\tx\nG\n", "r1\t1\t23\nr2\t24\t32\n"},
      {"CR-LF lines", ">r1 d\r\nAC\r\n>r2\r\nG\r\n", "r1\t1\t11\nr2\t12\t19\n"},
      {"empty and blank lines between records", "\n \r\n>r1\nAC\n\n \t\r\n>r2\nG\n\n",
       "r1\t5\t11\nr2\t17\t22\n"},
      {"blank line inside a record", ">r1\nAC\n\nGT\n>r2\nG\n", "r1\t1\t11\nr2\t12\t17\n"},
      {"blanks after the last line, no newline", ">r1\nAC\n  ", "r1\t1\t7\n"},
      {"quality record", ">r1\n40 40 12\n 9 30\n", "r1\t1\t19\n"},
      {"'>' inside a line starts no record", ">r1 a>b\nA>C\n", "r1\t1\t12\n"},
      {"empty file", "", ""},
      {"only blank lines", "\n\r\n \n", ""},
  };
  for (const IndexCase& c : cases) {
    SCOPED_TRACE(c.mWhat);
    EXPECT_EQ(c.mIndex, IndexInAnyBlocks(c.mText));
  }
}

TEST(RecordScanner, CarriageReturnEndsANameOnlyAtALineEnd) {
  EXPECT_EQ("r1\t1\t5\n", IndexInAnyBlocks(">r1\r\n"));
  EXPECT_EQ("r1\t1\t4\n", IndexInAnyBlocks(">r1\r"));  // at the end of the file
  EXPECT_EQ("r\r1\t1\t6\n", IndexInAnyBlocks(">r\r1\r\n"));
}

TEST(RecordScanner, BadTextNamesItsBytePosition) {
  const IndexCase cases[] = {
      {"text before the first header", "ACGT\n>r1\nA\n",
       "error at 1: the first non-empty line does not start with '>' or '@'"},
      {"indented first line", "\n  >r1\nA\n", "error at 2: the first non-empty line does not start with '>' or '@'"},
      {"header without name", ">r1\nA\n>\nC\n", "error at 7: the header has no name"},
      {"header of blanks only", ">r1\nA\n> \t\r\nC\n", "error at 7: the header has no name"},
      {"nameless header at the end", ">r1\nA\n>", "error at 7: the header has no name"},
  };
  for (const IndexCase& c : cases) {
    SCOPED_TRACE(c.mWhat);
    EXPECT_EQ(c.mIndex, IndexInAnyBlocks(c.mText));
  }
}

TEST(RecordScanner, OverlongNameIsBadText) {
  const std::string name(RecordScanner::kMaxNameLength, 'n');
  EXPECT_EQ(name + "\t1\t" + std::to_string(name.size() + 2) + "\n", IndexOf(">" + name + "\n", 4096));
  EXPECT_EQ("error at 1: the header's name is longer than 65536 bytes", IndexOf(">" + name + "x\n", 4096));
}

// Positions past 2 GiB, fed as one block of sequence lines over and over.
TEST(RecordScanner, PositionsPastTwoGibibytes) {
  std::string lines;
  for (int k = 0; k < (1 << 20); ++k) lines += "ACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTACG\n";
  RecordScanner scanner;
  scanner.Feed(">r1\n", 4);
  const int64_t blocks = (int64_t{3} << 30) / static_cast<int64_t>(lines.size());
  for (int64_t k = 0; k < blocks; ++k) scanner.Feed(lines.data(), lines.size());
  scanner.Feed(">r2\nAC", 6);
  ASSERT_TRUE(scanner.Finish());
  const int64_t r2 = 4 + blocks * static_cast<int64_t>(lines.size()) + 1;
  EXPECT_GT(r2, int64_t{3000000000});
  EXPECT_EQ("r1\t1\t" + std::to_string(r2 - 1) + "\nr2\t" + std::to_string(r2) + "\t" + std::to_string(r2 + 5) + "\n",
            scanner.mIndexText);
}

TEST(RecordScanner, DuplicatesAreIndexedAndCounted) {
  RecordScanner scanner;
  const std::string text = ">a\nA\n>b\nC\n>a\nG\n>a x\nT\n>b\n";
  scanner.Feed(text.data(), text.size());
  ASSERT_TRUE(scanner.Finish());
  EXPECT_EQ("a\t1\t5\nb\t6\t10\na\t11\t15\na\t16\t22\nb\t23\t25\n", scanner.mIndexText);
  EXPECT_EQ(5, scanner.mRecordCount);
  EXPECT_EQ(3, scanner.mDuplicateCount);
  // Counts from one record to more than the hash buckets: n records of
  // n / 3 + 1 names.
  for (int n : {1, 2, 3, 100, 70000}) {
    RecordScanner many;
    for (int r = 0; r < n; ++r) {
      const std::string record = ">r" + std::to_string(r % (n / 3 + 1)) + "\nA\n";
      many.Feed(record.data(), record.size());
    }
    ASSERT_TRUE(many.Finish());
    EXPECT_EQ(n - std::min(n, n / 3 + 1), many.mDuplicateCount) << n;
  }
}

TEST(RecordScanner, BadTextStopsTheScan) {
  RecordScanner scanner;
  const std::string text = ">r1\nA\n>\n>r2\nC\n";
  EXPECT_FALSE(scanner.Feed(text.data(), text.size()));
  EXPECT_FALSE(scanner.Feed(">r3\n", 4));
  EXPECT_FALSE(scanner.Finish());
  EXPECT_EQ("r1\t1\t6\n", scanner.mIndexText);  // lines before the fault, which the caller discards
  EXPECT_EQ(7, scanner.mErrorPosition);
}

}  // namespace
}  // namespace ostrel
