// The edits against a plain reference: random contigs with tags, cut,
// merged, reversed and trimmed; every column and tag followed through its
// reads. A column is named by a read and an offset in it, which every edit
// keeps (reversing mirrors the offset), so what a tag marks and what a
// column's reads are can be compared before and after without trusting
// any position the edit computed.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ContigBuilder.h"
#include "TestSupport.h"
#include "ace/AceFile.h"

namespace ostrel {
namespace {

using ReadSpot = std::pair<std::string, int>;  // a read's name and an offset in it (as first read)

// The reads covering each consensus column of a contig: the read spots,
// offsets turned back for the reads `reversed`.
std::vector<std::set<ReadSpot>> ColumnSpots(const Contig& contig, const std::set<std::string>& reversed) {
  std::vector<std::set<ReadSpot>> spots(contig.mBases.size());
  for (size_t r = 0; r < contig.mReads.size(); ++r) {
    const int length = static_cast<int>(contig.mReads[r].mBases.size());
    for (int q = 0; q < length; ++q) {
      const int p = contig.mAlignStart[r] - 1 + q;
      if (p < 0 || p >= static_cast<int>(spots.size())) continue;
      const bool turned = reversed.count(contig.mReads[r].mName) > 0;
      spots[p].insert({contig.mReads[r].mName, turned ? length - 1 - q : q});
    }
  }
  return spots;
}

// A tag's name word (its type, unique per tag here) and its span.
std::string TagId(const AceTag& tag) {
  const std::string line = tag.mText.substr(tag.mText.find('\n') + 1);
  const size_t type = line.find(' ') + 1;
  return line.substr(type, line.find(' ', type) - type);
}

struct Original {
  Contig mContig;
  std::vector<std::set<ReadSpot>> mSpots;
};

// A contig over a random sequence with pads, whose reads are exact pieces of
// it; its consensus shows lower case, N and an ambiguity code at some
// columns, which no vote of the reads would give, so a column kept is told
// from one voted anew. CT and RT tags at random.
Contig RandomTaggedContig(std::mt19937& rng, const std::string& name, int tagOrder) {
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  std::string truth;
  for (int i = pick(80, 240); i > 0; --i) truth.push_back("ACGTACGTACGT*"[pick(0, 12)]);
  Contig contig = test::MakeContig(name, truth);
  for (char& c : contig.mBases)
    if (c != '*' && pick(0, 9) == 0) c = "acgtNK"[pick(0, 5)];
  contig.mQuality.mQualities.assign(truth.size(), 0);
  for (int& q : contig.mQuality.mQualities) q = pick(10, 60);
  int start = 0;
  for (int r = 0; start < static_cast<int>(truth.size()); ++r) {
    const int length = std::min(pick(20, 60), static_cast<int>(truth.size()) - start);
    test::AddRead(contig, name + "r" + std::to_string(r), truth.substr(start, length), start + 1, "UC"[pick(0, 1)]);
    start += pick(1, std::max(1, length - 5));
  }
  contig.mReadQuality.resize(contig.mReads.size());
  for (size_t r = 0; r < contig.mReads.size(); ++r)
    contig.mReadQuality[r].mQualities.assign(contig.mReads[r].mBases.size(), 0);
  contig.RebuildTemplateInfo();
  const int length = static_cast<int>(truth.size());
  for (int t = 0; t < 4; ++t) {
    const int a = pick(1, length), b = std::min(length, a + pick(0, 40));
    AceTag tag;
    tag.mText = "CT{\n" + name + " ct" + std::to_string(tagOrder + t) + " tool " + std::to_string(a) + " " +
                std::to_string(b) + " 080215:162048\nCOMMENT{\nnote\nC}\n}\n";
    tag.mOrder = tagOrder + t;
    contig.mTags.push_back(tag);
  }
  for (int t = 4; t < 8; ++t) {
    const Sequence& read = contig.mReads[pick(0, static_cast<int>(contig.mReads.size()) - 1)];
    const int n = static_cast<int>(read.mBases.size());
    const int a = pick(1, n), b = pick(a, n);
    AceTag tag;
    tag.mText = "RT{\n" + read.mName + " rt" + std::to_string(tagOrder + t) + " tool " + std::to_string(a) + " " +
                std::to_string(b) + " 080215:162048\n}\n";
    tag.mOrder = tagOrder + t;
    contig.mTags.push_back(tag);
  }
  contig.mVoteByCount = true;
  return contig;
}

// Checks the contigs an edit made from `originals`: every column whose
// reads are all those of one original column, and no more, shows that
// column's character (complemented when reversed); every contig tag marks
// exactly the columns of its original span that the contig holds; every
// read tag marks the same bases of its read; every tag not accounted for
// was counted as left out.
void ExpectKept(const std::vector<Original>& originals, const std::vector<const Contig*>& results,
                const std::set<std::string>& reversed, int leftOutCounted) {
  std::map<ReadSpot, std::pair<size_t, int>> columnOf;  // read spot -> original contig and column
  for (size_t o = 0; o < originals.size(); ++o)
    for (size_t p = 0; p < originals[o].mSpots.size(); ++p)
      for (const ReadSpot& spot : originals[o].mSpots[p]) columnOf[spot] = {o, static_cast<int>(p)};
  std::map<std::string, std::pair<size_t, const AceTag*>> tagOf;  // id -> original contig and tag
  std::map<std::string, const Sequence*> readOf;
  for (size_t o = 0; o < originals.size(); ++o) {
    for (const AceTag& tag : originals[o].mContig.mTags) tagOf[TagId(tag)] = {o, &tag};
    for (const Sequence& read : originals[o].mContig.mReads) readOf[read.mName] = &read;
  }
  std::set<std::string> tagsFound;
  for (const Contig* result : results) {
    SCOPED_TRACE(result->mName);
    const std::vector<std::set<ReadSpot>> spots = ColumnSpots(*result, reversed);
    // The original column of each column, through any of its reads.
    std::vector<std::pair<size_t, int>> from(spots.size(), {0, -1});
    for (size_t p = 0; p < spots.size(); ++p) {
      if (spots[p].empty()) continue;
      from[p] = columnOf.at(*spots[p].begin());
      const Original& original = originals[from[p].first];
      if (spots[p] != original.mSpots[from[p].second]) continue;  // its reads changed
      char expected = original.mContig.mBases[from[p].second];
      if (reversed.count(spots[p].begin()->first) > 0) expected = Sequence::ComplementBase(expected);
      EXPECT_EQ(expected, result->mBases[p]) << "column " << p;
    }
    for (const AceTag& tag : result->mTags) {
      const std::string id = TagId(tag);
      tagsFound.insert(id);
      const auto& [o, before] = tagOf.at(id);
      int64_t first = 0, last = 0, wasFirst = 0, wasLast = 0;
      ASSERT_TRUE(tag.Span(first, last) && before->Span(wasFirst, wasLast));
      EXPECT_LE(first, last) << id;
      if (tag.OnContig()) {
        EXPECT_EQ(result->mName, tag.Subject());
        // Inside the span: columns from the original span; outside it, none.
        for (size_t p = 0; p < spots.size(); ++p) {
          if (from[p].second < 0 || from[p].first != o) continue;
          const bool inside = static_cast<int64_t>(p) + 1 >= first && static_cast<int64_t>(p) + 1 <= last;
          const bool wasInside = from[p].second + 1 >= wasFirst && from[p].second + 1 <= wasLast;
          EXPECT_EQ(wasInside, inside) << id << " column " << p;
        }
        continue;
      }
      // A read tag: the same bases of the same read, turned round with it.
      const Sequence& read = *readOf.at(tag.Subject());
      const std::string was(read.mBases.begin() + wasFirst - 1, read.mBases.begin() + wasLast);
      bool found = false;
      for (const Sequence& now : result->mReads) {
        if (now.mName != read.mName) continue;
        found = true;
        Sequence marked = test::MakeSequence(std::string(now.mBases.begin() + first - 1, now.mBases.begin() + last));
        if (reversed.count(now.mName) > 0) marked.ReverseComplement();
        EXPECT_EQ(was, test::BasesOf(marked)) << id;
      }
      EXPECT_TRUE(found) << id;
    }
  }
  // Each tag whose read or columns remain is somewhere; the rest were counted.
  int missing = 0;
  for (const auto& [id, where] : tagOf) {
    if (tagsFound.count(id) > 0) continue;
    ++missing;
    const AceTag& tag = *where.second;
    int64_t first = 0, last = 0;
    ASSERT_TRUE(tag.Span(first, last));
    for (const Contig* result : results) {
      if (!tag.OnContig()) {
        EXPECT_FALSE(result->HoldsRead(tag.Subject())) << id << " in " << result->mName;
        continue;
      }
      for (const std::set<ReadSpot>& column : ColumnSpots(*result, reversed)) {
        if (column.empty()) continue;
        const auto [o, p] = columnOf.at(*column.begin());
        EXPECT_FALSE(o == where.first && p + 1 >= first && p + 1 <= last) << id << " in " << result->mName;
      }
    }
  }
  EXPECT_EQ(missing, leftOutCounted);
}

Original Remember(const Contig& contig) { return {contig, ColumnSpots(contig, {})}; }

TEST(EditsKeepTags, RandomContigsThroughEveryEdit) {
  std::mt19937 rng(20261210);
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  test::CaptureStdout out;
  test::CaptureStderr err;
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    Contig contig = RandomTaggedContig(rng, "c", 0);
    const std::vector<Original> before = {Remember(contig)};
    const int length = static_cast<int>(contig.mBases.size());
    {
      Contig left = contig, middle, right;
      const int a = pick(0, length - 1), b = std::min(length - 1, a + pick(0, 30));
      left.SplitContig(a, b, middle, right);
      ExpectKept(before, {&left, &middle, &right}, {}, left.mTagsLeftOut);
    }
    {
      AceFile ace;
      ace.push_back(contig);
      ace.mContigQuality.resize(1);
      std::vector<int> starts = {pick(0, length / 2), pick(length / 2, length - 1)}, ends = starts;
      ace.MultiSplitContig(0, 0, starts, ends);
      std::vector<const Contig*> pieces;
      int leftOut = ace.mTagsLeftOut;
      for (const Contig& piece : ace) {
        pieces.push_back(&piece);
        leftOut += piece.mTagsLeftOut;
      }
      ExpectKept(before, pieces, {}, leftOut);
    }
    {
      Contig reversed = contig;
      reversed.ReverseComplementContig();
      std::set<std::string> names;
      for (const Sequence& read : contig.mReads) names.insert(read.mName);
      ExpectKept(before, {&reversed}, names, 0);
    }
    {
      Contig trimmed = contig;
      trimmed.GetTemplateInfo(trimmed.mTemplates);
      std::vector<std::string> removed;
      trimmed.RemoveTails(pick(0, length / 3), pick(2 * length / 3, length - 1), removed);
      ExpectKept(before, {&trimmed}, {}, trimmed.mTagsLeftOut);
    }
    {
      Contig left = contig;
      Contig right = RandomTaggedContig(rng, "d", 100);
      const std::vector<Original> both = {before[0], Remember(right)};
      left.MergeContigRight(right, pick(0, length));
      ExpectKept(both, {&left}, {}, left.mTagsLeftOut);
    }
  }
}

}  // namespace
}  // namespace ostrel
