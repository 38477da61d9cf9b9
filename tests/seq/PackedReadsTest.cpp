#include "seq/PackedReads.h"

#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"

namespace ostrel {
namespace {

// Reads of every length around the 32-base words, of bases and of the other
// characters a read may hold, enough of them to fill more than one block:
// each gives back its name and every character.
TEST(PackedReads, GivesBackEveryCharacterOfEveryRead) {
  std::mt19937 random(5);
  const std::string others = "NnXxacgtRYKMSWBDHVU*-.";
  std::vector<Sequence> reads;
  long total = 0;
  for (int r = 0; total < 3 * static_cast<long>(PackedReads::kBlockWords) * 32 / 2 + 1000; ++r) {
    const int length = r < 70 ? r : static_cast<int>(random() % 3000);
    std::string text;
    for (int i = 0; i < length; ++i)
      text += random() % 50 == 0 ? others[random() % others.size()] : "ACGT"[random() % 4];
    reads.push_back(test::MakeSequence(text, "read" + std::to_string(r)));
    total += length;
  }
  PackedReads packed;
  for (const Sequence& read : reads) packed.Add(read);
  ASSERT_EQ(reads.size(), packed.size());
  EXPECT_EQ(total, packed.TotalBases());
  std::vector<char> bases;
  for (size_t r = 0; r < reads.size(); ++r) {
    packed.Unpack(r, bases);
    ASSERT_EQ(reads[r].mBases, bases) << r;
    EXPECT_EQ(static_cast<int>(reads[r].mBases.size()), packed.Length(r));
    EXPECT_EQ(reads[r].mName, packed.Name(r));
  }
}

}  // namespace
}  // namespace ostrel
