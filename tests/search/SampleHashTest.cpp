#include "search/SampleHash.h"

#include <gtest/gtest.h>

#include <string>

namespace ostrel {
namespace {

TEST(SampleHash, KeysAreStretchesOfTheStoredText) {
  SampleHash hash;
  EXPECT_EQ(-1, hash.Find("ACG", 3));  // an empty table
  const std::string text = "ACGTacgt";
  const size_t at = hash.StoreText(text.data(), text.size());
  int value = 7;
  EXPECT_TRUE(hash.Insert(at, 3, value));  // ACG
  value = 8;
  EXPECT_TRUE(hash.Insert(at + 4, 3, value));  // acg: case counts
  value = 9;
  EXPECT_TRUE(hash.Insert(at, 0, value));  // the empty key
  value = 10;
  EXPECT_FALSE(hash.Insert(at + 2, 0, value));
  EXPECT_EQ(9, value);
  const size_t again = hash.StoreText("xACG", 4);
  value = 11;
  EXPECT_FALSE(hash.Insert(again + 1, 3, value));
  EXPECT_EQ(7, value);
  EXPECT_EQ(7, hash.Find("ACG", 3));
  EXPECT_EQ(8, hash.Find("acg", 3));
  EXPECT_EQ(9, hash.Find("", 0));
  EXPECT_EQ(-1, hash.Find("AC", 2));
  EXPECT_EQ(-1, hash.Find("ACGT", 4));
  EXPECT_EQ(3u, hash.Size());
}

TEST(SampleHash, GrowingKeepsEveryKey) {
  SampleHash hash;
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "k" + std::to_string(i) + ";";
  const size_t at = hash.StoreText(text.data(), text.size());
  size_t start = 0;
  for (int i = 0; i < 5000; ++i) {
    const size_t end = text.find(';', start);
    int value = i;
    ASSERT_TRUE(hash.Insert(at + start, end - start, value));
    start = end + 1;
  }
  EXPECT_EQ(5000u, hash.Size());
  EXPECT_GT(hash.BucketCount() * 7, hash.Size() * 10);  // below the load limit
  for (int i = 0; i < 5000; ++i) {
    const std::string key = "k" + std::to_string(i);
    ASSERT_EQ(i, hash.Find(key.data(), key.size()));
  }
}

TEST(SampleHash, ReserveMakesRoomAtOnce) {
  SampleHash hash;
  hash.Reserve(1000);
  const size_t buckets = hash.BucketCount();
  EXPECT_GT(buckets * 7, 1000u * 10);
  std::string text(1000 + 7, 'A');
  for (size_t i = 0; i < text.size(); ++i) text[i] = "ACGT"[(i * i + i / 3) % 4];
  const size_t at = hash.StoreText(text.data(), text.size());
  for (size_t i = 0; i + 8 <= text.size() && hash.Size() < 1000; ++i) {
    int value = static_cast<int>(i);
    hash.Insert(at + i, 8, value);
  }
  EXPECT_EQ(buckets, hash.BucketCount());
  hash.Reserve(10);  // never shrinks
  EXPECT_EQ(buckets, hash.BucketCount());
}

}  // namespace
}  // namespace ostrel
