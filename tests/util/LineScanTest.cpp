#include "util/LineScan.h"
#include "util/StringUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "TestSupport.h"

namespace ostrel {
namespace {

TEST(LineScan, TokenThenIntegersWithPositions) {
  const std::string line = "  read7\t120 300";
  int pos = 0;
  EXPECT_EQ("read7", GetNextWSDelimitedString(line, 0, pos));
  EXPECT_EQ(8, pos);  // the 1 of 120
  EXPECT_EQ(120, GetNextInteger(line, pos, pos));
  EXPECT_EQ(11, pos);
  EXPECT_EQ(300, GetNextInteger(line, pos, pos));
  EXPECT_EQ(static_cast<int>(line.size()) + 1, pos);
  EXPECT_EQ(0, GetNextInteger(line, pos, pos));
  EXPECT_EQ(-1, pos);
}

TEST(LineScan, TokenAtEndOrNone) {
  int pos = 0;
  EXPECT_EQ("", GetNextWSDelimitedString("   ", 0, pos));
  EXPECT_EQ(-1, pos);
  EXPECT_EQ("name", GetNextWSDelimitedString("name", 0, pos));
  EXPECT_EQ(-1, pos);
  EXPECT_EQ("", GetNextWSDelimitedString("name", -1, pos));
  EXPECT_EQ(-1, pos);
  EXPECT_EQ("", GetNextWSDelimitedString("name", 99, pos));
  EXPECT_EQ(-1, pos);
  // A carriage return is part of the token, not a delimiter.
  EXPECT_EQ("a\r", GetNextWSDelimitedString("a\r b", 0, pos));
}

TEST(LineScan, IntegerRules) {
  int pos = 0;
  EXPECT_EQ(0, GetNextInteger("abc", 0, pos));
  EXPECT_EQ(-1, pos);
  EXPECT_EQ(40, GetNextInteger("len=40;", 0, pos));
  EXPECT_EQ(6, pos);
  EXPECT_EQ(-12, GetNextInteger("x-12", 0, pos));
  EXPECT_EQ(12, GetNextInteger("- 12", 0, pos));
  EXPECT_EQ(3, GetNextInteger("3.5", 0, pos));
  EXPECT_EQ(5, GetNextInteger("3.5", pos, pos));
  EXPECT_EQ(0, GetNextInteger("12", -1, pos));
  EXPECT_EQ(-1, pos);
}

TEST(LineScan, IntegersSaturateInsteadOfWrapping) {
  int pos = 0;
  EXPECT_EQ(2147483647, GetNextInteger("99999999999", 0, pos));
  EXPECT_EQ(-2147483647, GetNextInteger("-99999999999", 0, pos));
  EXPECT_EQ(INT64_C(3000000000), GetNextInteger64("3000000000", 0, pos));
  EXPECT_EQ(INT64_MAX, GetNextInteger64("99999999999999999999999", 0, pos));
  EXPECT_EQ(-INT64_MAX, GetNextInteger64("-99999999999999999999999", 0, pos));
  EXPECT_EQ(INT64_MAX, GetNextInteger64("18446744073709551617", 0, pos));  // 2^64 + 1
}

TEST(LineScan, StripWhiteSpaceKeepsCarriageReturn) {
  std::string s = "a b\tc\r\n";
  StripWhiteSpace(s);
  EXPECT_EQ("abc\r", s);
}

TEST(LineScan, GetLineEndsAndStates) {
  std::istringstream in("one\n\ntwo");
  std::string line;
  EXPECT_TRUE(GetLine(in, line));
  EXPECT_EQ("one", line);
  EXPECT_TRUE(GetLine(in, line));
  EXPECT_EQ("", line);
  EXPECT_TRUE(GetLine(in, line));  // last line without newline
  EXPECT_EQ("two", line);
  EXPECT_FALSE(GetLine(in, line));
  EXPECT_EQ("", line);
}

TEST(LineScan, GetLineReadsOverlongLinesWhole) {
  const std::string exact(kReadBufSize - 1, 'x');
  const std::string longer(2 * kReadBufSize + 17, 'y');
  std::istringstream in(exact + "\n" + longer + "\nafter\n" + longer);
  std::string line;
  EXPECT_TRUE(GetLine(in, line));
  EXPECT_EQ(exact, line);
  EXPECT_TRUE(GetLine(in, line));
  EXPECT_EQ(longer, line);
  EXPECT_TRUE(GetLine(in, line));
  EXPECT_EQ("after", line);
  EXPECT_TRUE(GetLine(in, line));  // a long last line without newline
  EXPECT_EQ(longer, line);
  EXPECT_FALSE(GetLine(in, line));
}

// Hands out a text `chunk` characters at a time through its get area, or,
// with a chunk of 0, one character at a time with no get area at all.
class TrickleBuffer : public std::streambuf {
public:
  TrickleBuffer(std::string text, size_t chunk) : mText(std::move(text)), mChunk(chunk) {}

protected:
  int_type underflow() override {
    if (mChunk == 0) return mAt < mText.size() ? traits_type::to_int_type(mText[mAt]) : traits_type::eof();
    if (gptr() != nullptr && gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (mAt >= mText.size()) return traits_type::eof();
    char* start = &mText[mAt];
    const size_t n = std::min(mChunk, mText.size() - mAt);
    mAt += n;
    setg(start, start, start + n);
    return traits_type::to_int_type(*gptr());
  }
  int_type uflow() override {
    if (mChunk != 0) return std::streambuf::uflow();
    return mAt < mText.size() ? traits_type::to_int_type(mText[mAt++]) : traits_type::eof();
  }

private:
  std::string mText;
  size_t mChunk;
  size_t mAt = 0;
};

TEST(LineScan, GetLineOverAnyStreamBuffer) {
  const std::string longer(kReadBufSize + 5, 'z');
  const std::string text = "first line\n\nthird\n" + longer + "\nlast";
  for (size_t chunk : {0, 1, 3, 7, 4096}) {
    TrickleBuffer buffer(text, chunk);
    std::istream in(&buffer);
    std::string line;
    ASSERT_TRUE(GetLine(in, line)) << chunk;
    EXPECT_EQ("first line", line);
    EXPECT_STREQ("first line", readbuf);
    ASSERT_TRUE(GetLine(in, line));
    EXPECT_EQ("", line);
    ASSERT_TRUE(GetLine(in, line));
    EXPECT_EQ("third", line);
    ASSERT_TRUE(GetLine(in, line));
    EXPECT_EQ(longer, line) << chunk;
    EXPECT_EQ(std::string(kReadBufSize - 1, 'z'), readbuf);  // readbuf keeps what it can hold
    ASSERT_TRUE(GetLine(in, line));
    EXPECT_EQ("last", line);
    EXPECT_TRUE(in.eof());
    EXPECT_FALSE(GetLine(in, line));
    EXPECT_EQ("", line);
  }
  std::istringstream failed("never read\n");
  failed.setstate(std::ios::failbit);
  std::string line = "stale";
  EXPECT_FALSE(GetLine(failed, line));
  EXPECT_EQ("", line);
  failed.clear();
  EXPECT_TRUE(GetLine(failed, line));
  EXPECT_EQ("never read", line);
}

// Blocks taken whole from the stream's buffer are what the plain line
// loop gives: the same lines taken, the same line and readbuf left, the
// same stream state, over any buffer.
TEST(LineScan, GetBlockLinesIsThePlainLineLoop) {
  const std::string texts[] = {"AC*GT\nTTA\n\nRD next\n", "one\n \t \nafter\n", "x\r\n\r\ny\n\n", "cut at end",
                               "ends\nwithout blank", "\nfirst blank\n", "", "a\n" + std::string(5000, 'g') + "\n\t\n"};
  for (const std::string& text : texts)
    for (size_t chunk : {0, 1, 3, 7, 4096}) {
      TrickleBuffer plainBuffer(text, chunk), blockBuffer(text, chunk);
      std::istream plainIn(&plainBuffer), blockIn(&blockBuffer);
      std::vector<char> plain, block;
      std::string plainLine, blockLine;
      bool plainRead;
      while ((plainRead = GetLine(plainIn, plainLine)) && !ContainsOnlyWS(plainLine))
        plain.insert(plain.end(), plainLine.begin(), plainLine.end());
      const std::string plainReadbuf = readbuf;
      EXPECT_EQ(plainRead, GetBlockLines(blockIn, block, blockLine)) << text << chunk;
      EXPECT_EQ(plain, block) << text << chunk;
      EXPECT_EQ(plainLine, blockLine) << text << chunk;
      EXPECT_EQ(plainReadbuf, readbuf) << text << chunk;
      EXPECT_EQ(plainIn.rdstate(), blockIn.rdstate()) << text << chunk;
      GetLine(plainIn, plainLine);
      GetLine(blockIn, blockLine);
      EXPECT_EQ(plainLine, blockLine) << text << chunk;  // both go on from the same place
    }
}

TEST(LineScan, ReadFOFAppendsStrippedNonEmptyLines) {
  test::TempDir dir;
  const std::string name = dir.Path("bins");
  // A line ending in CR LF ends at the CR; other carriage returns stay.
  test::WriteFile(name, "binA\n\n \t\nbin 1\r\n\r\nmid\rdle\r\r\n" + std::string(kReadBufSize + 5, 'z') +
                            "\nlast\r");
  std::vector<std::string> names = {"kept"};
  EXPECT_TRUE(ReadFOF(name, names));
  EXPECT_EQ((std::vector<std::string>{"kept", "binA", "bin1", "mid\rdle\r", std::string(kReadBufSize + 5, 'z'),
                                      "last"}),
            names);
}

TEST(LineScan, ReadFOFReportsUnopenableFile) {
  std::vector<std::string> names;
  test::CaptureStdout out;
  EXPECT_FALSE(ReadFOF("/nonexistent/bins", names));
  EXPECT_FALSE(ReadFOF("", names));
  EXPECT_EQ("ERROR: Could not open /nonexistent/bins\nERROR: Could not open ''\n", out.Text());
  EXPECT_TRUE(names.empty());
}

}  // namespace
}  // namespace ostrel
