#include "util/BlockReadAhead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace ostrel {
namespace {

using test::TempDir;
using test::WriteFile;

constexpr int kOffset = 3;
constexpr int kBlockSize = 1000;

std::string Digits(size_t size) {
  std::string text;
  for (size_t i = 0; i < size; ++i) text += static_cast<char>('0' + i * 7 % 10);
  return text;
}

// Every block taken, joined.
std::string TakeAll(BlockReadAhead& ahead) {
  std::vector<char> block(kOffset + kBlockSize);
  std::string text;
  for (int size; (size = ahead.Take(block)) > 0;) {
    EXPECT_LE(size, kBlockSize);
    text.append(block.data() + kOffset, static_cast<size_t>(size));
  }
  return text;
}

// Each test runs with the worker thread and without it.
TEST(BlockReadAhead, BlocksComeInOrderAndTheEndStays) {
  TempDir dir;
  const std::string text = Digits(100 * kBlockSize + 17);
  WriteFile(dir.Path("digits"), text);
  for (bool readAhead : {true, false}) {
    BlockReadAhead ahead(kOffset, kBlockSize, readAhead);
    ASSERT_TRUE(ahead.Open(dir.Path("digits").c_str()));
    EXPECT_EQ(text, TakeAll(ahead));

    std::vector<char> block(kOffset + kBlockSize, 'x');
    EXPECT_EQ(0, ahead.Take(block));
    EXPECT_EQ(std::vector<char>(kOffset + kBlockSize, 'x'), block);  // untouched at the end
    EXPECT_TRUE(ahead.Close());
    EXPECT_EQ(0, ahead.Take(block));
  }
}

TEST(BlockReadAhead, OpenAndCloseOnlyOnce) {
  TempDir dir;
  WriteFile(dir.Path("digits"), Digits(50 * kBlockSize));
  WriteFile(dir.Path("empty"), "");
  for (bool readAhead : {true, false}) {
    BlockReadAhead ahead(kOffset, kBlockSize, readAhead);
    EXPECT_FALSE(ahead.Close());
    EXPECT_FALSE(ahead.Open(dir.Path("missing").c_str()));
    EXPECT_FALSE(ahead.Open(nullptr));
    EXPECT_FALSE(ahead.IsOpen());

    ASSERT_TRUE(ahead.Open(dir.Path("digits").c_str()));
    EXPECT_FALSE(ahead.Open(dir.Path("empty").c_str()));
    std::vector<char> block(kOffset + kBlockSize);
    EXPECT_EQ(kBlockSize, ahead.Take(block));
    EXPECT_TRUE(ahead.Close());  // half way through: the worker stops
    EXPECT_FALSE(ahead.IsOpen());

    ASSERT_TRUE(ahead.Open(dir.Path("empty").c_str()));
    EXPECT_EQ("", TakeAll(ahead));
    EXPECT_TRUE(ahead.Close());
    ASSERT_TRUE(ahead.Open(dir.Path("digits").c_str()));
    EXPECT_EQ(Digits(50 * kBlockSize), TakeAll(ahead));
    // Left open: the destructor stops the worker and closes the file.
  }
}

TEST(BlockReadAhead, AnyBufferHandedInIsReplacedByAWholeOne) {
  TempDir dir;
  const std::string text = Digits(5 * kBlockSize);
  WriteFile(dir.Path("digits"), text);
  for (bool readAhead : {true, false}) {
    BlockReadAhead ahead(kOffset, kBlockSize, readAhead);
    ASSERT_TRUE(ahead.Open(dir.Path("digits").c_str()));
    std::string got;
    for (size_t handedIn : {0, 1, kOffset + kBlockSize + 5, 10}) {
      std::vector<char> block(handedIn);
      const int size = ahead.Take(block);
      ASSERT_EQ(kBlockSize, size);
      ASSERT_GE(block.size(), static_cast<size_t>(kOffset + size));
      got.append(block.data() + kOffset, static_cast<size_t>(size));
    }
    EXPECT_EQ(text.substr(0, got.size()), got);
  }
}

}  // namespace
}  // namespace ostrel
