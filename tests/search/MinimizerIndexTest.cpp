#include "search/MinimizerIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "TestSupport.h"

namespace ostrel {
namespace {

std::vector<char> Bases(const std::string& text) { return std::vector<char>(text.begin(), text.end()); }

// Every window of `window` consecutive word offsets that holds a word gives
// its least key, the leftmost on ties; a read with no full window gives the
// least of all its words.
std::vector<int> PlainMinimizers(const std::vector<char>& bases, int k, int window) {
  std::vector<Minimizer> words;  // window 1: every word
  MinimizerIndex::Minimizers(bases, k, 1, words);
  const int lastOffset = static_cast<int>(bases.size()) - k;
  std::vector<int> offsets;
  for (int end = std::min(window - 1, lastOffset); end <= lastOffset; ++end) {
    const Minimizer* least = nullptr;
    for (const Minimizer& w : words)
      if (w.mOffset > end - window && w.mOffset <= end && (least == nullptr || w.mKey < least->mKey)) least = &w;
    if (least != nullptr && (offsets.empty() || offsets.back() != least->mOffset)) offsets.push_back(least->mOffset);
  }
  return offsets;
}

TEST(MinimizerIndex, MinimizersAreTheLeastWordOfEveryWindow) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    const int k = 1 + static_cast<int>(random() % 20), window = 1 + static_cast<int>(random() % 12);
    std::string text;
    const int length = static_cast<int>(random() % 120);
    // Few letters make ties; N and lower case break and keep words.
    for (int i = 0; i < length; ++i) text += "ACGTacgtAAAN"[random() % (trial % 2 ? 12 : 4)];
    std::vector<Minimizer> got;
    MinimizerIndex::Minimizers(Bases(text), k, window, got);
    std::vector<int> offsets;
    for (const Minimizer& m : got) offsets.push_back(m.mOffset);
    EXPECT_EQ(PlainMinimizers(Bases(text), k, window), offsets) << text << " k=" << k << " w=" << window;
  }
}

TEST(MinimizerIndex, LeavesOutWordsInMorePlacesThanTheLimit) {
  // Read 0 holds one word 89 times; reads 1 and 2 share a stretch.
  std::mt19937 random(3);
  std::string unique;
  for (int i = 0; i < 60; ++i) unique += "ACGT"[random() % 4];
  PackedReads reads;
  reads.Add(test::MakeSequence(std::string(12 * 8, 'A') + "CCGT"));
  reads.Add(test::MakeSequence(unique));
  reads.Add(test::MakeSequence("G" + unique));
  MinimizerIndex index;
  index.Build(reads, 8, 1, 11);
  size_t count = 9;
  std::vector<Minimizer> words;
  MinimizerIndex::Minimizers(Bases(std::string(8, 'A')), 8, 1, words);
  EXPECT_EQ(nullptr, index.Find(words[0].mKey, count));
  EXPECT_EQ(0u, count);
  EXPECT_EQ(1, index.mRepeatWords);
  MinimizerIndex::Minimizers(Bases(unique.substr(10, 8)), 8, 1, words);
  const WordPlace* places = index.Find(words[0].mKey, count);
  ASSERT_EQ(2u, count);
  EXPECT_EQ(1, places[0].mRead);
  EXPECT_EQ(10, places[0].mOffset);
  EXPECT_EQ(2, places[1].mRead);
  EXPECT_EQ(11, places[1].mOffset);
  // Set from the reads, the limit is never below the floor; threads do not
  // change the index.
  index.Build(reads, 8, 1, 0, 3);
  EXPECT_EQ(MinimizerIndex::kLeastRepeatLimit, index.mRepeatLimit);
  EXPECT_EQ(1, index.mRepeatWords);
}

// Reads from a short stretch, so that words recur, some with N: whatever
// the limit and the threads, every minimizer of every read has exactly the
// places that a plain map of the minimizers gives, less the words found in
// more places than the limit.
TEST(MinimizerIndex, HoldsThePlacesOfAPlainMapOfTheMinimizers) {
  std::mt19937 random(11);
  std::string stretch;
  for (int i = 0; i < 3000; ++i) stretch += "ACGT"[random() % 4];
  PackedReads reads;
  for (int r = 0; r < 400; ++r) {
    const int length = 20 + static_cast<int>(random() % 300);
    std::string text = stretch.substr(random() % (stretch.size() - length), length);
    if (r % 7 == 0) text[random() % text.size()] = 'N';
    reads.Add(test::MakeSequence(text));
  }
  const int k = 12, window = 5;
  std::map<uint64_t, std::vector<std::pair<int, int>>> plain;  // key -> (read, offset)
  std::map<uint64_t, long> everywhere;                          // key -> places among all words
  std::vector<char> bases;
  std::vector<Minimizer> words;
  for (size_t r = 0; r < reads.size(); ++r) {
    reads.Unpack(r, bases);
    MinimizerIndex::Minimizers(bases, k, window, words);
    for (const Minimizer& m : words) plain[m.mKey].emplace_back(static_cast<int>(r), m.mOffset);
    MinimizerIndex::Minimizers(bases, k, 1, words);
    for (const Minimizer& m : words) ++everywhere[m.mKey];
  }
  for (const int limit : {3, 40, 1000000})
    for (const int threads : {1, 3}) {
      MinimizerIndex index;
      index.Build(reads, k, window, limit, threads);
      size_t keys = 0, places = 0;
      for (const auto& [key, expected] : plain) {
        size_t count = 0;
        const WordPlace* got = index.Find(key, count);
        if (everywhere[key] > limit) {
          EXPECT_EQ(0u, count);
          continue;
        }
        ASSERT_EQ(expected.size(), count) << limit << " " << threads;
        for (size_t p = 0; p < count; ++p)
          EXPECT_EQ(expected[p], std::make_pair(got[p].mRead, got[p].mOffset));
        ++keys;
        places += count;
      }
      EXPECT_EQ(keys, index.Words());
      EXPECT_EQ(places, index.Places());
      EXPECT_GT(keys, 0u);
    }
}

}  // namespace
}  // namespace ostrel
