#include "extractbins/Name2IdxMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ostrel {
namespace {

TEST(Name2IdxMap, InsertsFindsAndOverwrites) {
  Name2IdxMap map;
  map["readA"] = 0;
  map["readB"] = 1;
  map["readA"] = 2;  // a later line wins
  ASSERT_NE(nullptr, map.Find("readA"));
  EXPECT_EQ(2, *map.Find("readA"));
  EXPECT_EQ(1, *map.Find("readB"));
  EXPECT_EQ(nullptr, map.Find("reada"));
  EXPECT_EQ(nullptr, map.Find("readA "));
  EXPECT_EQ(2u, map.Size());
  EXPECT_EQ(0, map["new"]);  // inserted with 0
}

TEST(Name2IdxMap, NamesAreAnyBytes) {
  Name2IdxMap map;
  const std::string withNul("a\0b", 3);
  const std::string longName(1000, 'x');
  map[""] = 7;
  map[withNul] = 8;
  map["a"] = 9;
  map["r1\r"] = 10;
  map[longName] = 11;
  EXPECT_EQ(7, *map.Find(""));
  EXPECT_EQ(8, *map.Find(withNul));
  EXPECT_EQ(9, *map.Find("a"));
  EXPECT_EQ(10, *map.Find("r1\r"));
  EXPECT_EQ(nullptr, map.Find("r1"));
  EXPECT_EQ(11, *map.Find(longName));
  EXPECT_EQ(nullptr, map.Find(longName.substr(1)));
}

TEST(Name2IdxMap, GrowsPastItsHintAndClears) {
  Name2IdxMap map(4);
  for (int k = 0; k < 5000; ++k) map["read" + std::to_string(k)] = k;
  EXPECT_EQ(5000u, map.Size());
  for (int k = 0; k < 5000; ++k) {
    const int* value = map.Find("read" + std::to_string(k));
    ASSERT_NE(nullptr, value) << k;
    EXPECT_EQ(k, *value);
  }
  map.Clear();
  EXPECT_EQ(0u, map.Size());
  EXPECT_EQ(nullptr, map.Find("read1"));
  map["read1"] = 3;
  EXPECT_EQ(3, *map.Find("read1"));
}

TEST(Name2IdxMap, RunsAndBatchesAgreeWithSingleCalls) {
  std::vector<std::string> names;
  for (int k = 0; k < 300; ++k) names.push_back("n" + std::to_string(k % 170));  // repeats
  Name2IdxMap batched(10);
  batched.AssignRun(names.data(), 100, 0);
  batched.AssignRun(names.data() + 100, names.size() - 100, 100);
  Name2IdxMap single(10);
  for (size_t k = 0; k < names.size(); ++k) single[names[k]] = static_cast<int>(k);
  std::vector<std::string> queries = names;
  queries.push_back("absent");
  queries.push_back("");
  std::vector<const int*> found;
  batched.FindMany(queries, found);
  ASSERT_EQ(queries.size(), found.size());
  for (size_t k = 0; k < queries.size(); ++k) {
    const int* expected = single.Find(queries[k]);
    ASSERT_EQ(expected == nullptr, found[k] == nullptr) << queries[k];
    if (expected != nullptr) {
      EXPECT_EQ(*expected, *found[k]) << queries[k];
    }
  }
  EXPECT_EQ(299, *batched.Find("n129"));  // the last of its repeats
  EXPECT_EQ(169, *batched.Find("n169"));
}

}  // namespace
}  // namespace ostrel
