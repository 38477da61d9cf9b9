#include "seq/FastqScanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "FeedInBlocks.h"

namespace ostrel {
namespace {

// The index of `text` fed in blocks of `blockSize` bytes through the
// scanner every file goes to, or "error at <byte> line <line>: <what>".
std::string IndexOf(const std::string& text, size_t blockSize) {
  RecordScanner scanner;
  std::string index;
  if (!test::FeedInBlocks(scanner, text, blockSize, index))
    return "error at " + std::to_string(scanner.mErrorPosition) + " line " + std::to_string(scanner.mErrorLine) +
           ": " + scanner.mError;
  return index;
}

struct FastqCase {
  const char* mWhat;
  std::string mText;
  std::string mIndex;
};

TEST(FastqScanner, RecordsAndFaultsInAnyBlocks) {
  const FastqCase cases[] = {
      {"four-line records", "@r1 d\nACGT\n+\nIIII\n@r2\nGG\n+\n!!\n", "r1\t1\t18\nr2\t19\t30\n"},
      {"multi-line sequence and quality", "@r1\nAC\nGT\n+\nII\nII\n@r2\nA\n+\n#\n", "r1\t1\t18\nr2\t19\t28\n"},
      {"'@' and '+' starting quality lines", "@r1\nACGT\n+\n@I\n+I\n@r2\nA\n+\n@\n",
       "r1\t1\t17\nr2\t18\t27\n"},
      {"'+' repeating the name", "@r1 x\nAC\n+r1 x\nII\n", "r1\t1\t18\n"},
      {"CR LF lines", "@r1\r\nAC\r\n+\r\nII\r\n@r2\r\nG\r\n+r2\r\n!\r\n", "r1\t1\t16\nr2\t17\t32\n"},
      {"no final newline", "@r1\nAC\n+\nII", "r1\t1\t11\n"},
      {"blank lines between records", "\n@r1\nA\n+\nI\n\n \r\n@r2\nA\n+\nI\n", "r1\t2\t11\nr2\t16\t25\n"},
      {"empty read", "@r1\n+\n@r2\nA\n+\nI\n", "r1\t1\t6\nr2\t7\t16\n"},
      {"header-only read without newline", "@r1\n+", "r1\t1\t5\n"},
      {"cut short in the quality", "@r1\nACGT\n+\nII\n", "error at 1 line 1: the record is cut short: fewer quality characters than bases"},
      {"cut short before '+'", "@r1\nA\n+\nI\n@r2\nACGT\n", "error at 11 line 5: the record is cut short before its '+' line"},
      {"more qualities than bases", "@r1\nAC\n+\nIII\n", "error at 10 line 4: more quality characters than bases"},
      {"'+' naming another read", "@r1\nAC\n+r2\nII\n", "error at 8 line 3: the '+' line names another read"},
      {"a missing '+' line", "@r1\nAC\n@r2\nA\n+\nI\n", "error at 8 line 3: a header line comes before the record's '+' line"},
      {"a record not starting with '@'", "@r1\nA\n+\nI\nr2\nA\n", "error at 11 line 5: a record does not start with '@'"},
      {"a header without name", "@r1\nA\n+\nI\n@ \nA\n+\nI\n", "error at 11 line 5: the header has no name"},
  };
  for (const FastqCase& c : cases) {
    SCOPED_TRACE(c.mWhat);
    const std::string whole = IndexOf(c.mText, c.mText.size() + 1);
    EXPECT_EQ(c.mIndex, whole);
    for (size_t blockSize = 1; blockSize <= c.mText.size(); ++blockSize)
      EXPECT_EQ(whole, IndexOf(c.mText, blockSize)) << "blocks of " << blockSize;
  }
}

TEST(FastqScanner, LongLinesAcrossBlocksAndDuplicateNames) {
  const std::string bases(100000, 'A'), qualities(100000, 'I');
  const std::string text = "@long\n" + bases + "\n+long\n" + qualities + "\n@long\nA\n+\nI\n";
  FastqScanner scanner;
  for (size_t at = 0; at < text.size(); at += 4096)
    ASSERT_TRUE(scanner.Feed(text.data() + at, std::min<size_t>(4096, text.size() - at)));
  ASSERT_TRUE(scanner.Finish());
  EXPECT_EQ("long\t1\t200014\nlong\t200015\t200026\n", scanner.mIndexText);
  EXPECT_EQ(1, scanner.mDuplicateCount);
}

}  // namespace
}  // namespace ostrel
