// Tests of the read edits: reads copied, removed and added with all their
// entries, starts shifted, consensus stretches copied and trimmed, contigs
// merged and tail reads removed.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "ContigBuilder.h"
#include "TestSupport.h"
#include "ace/Contig.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::CaptureStderr;
using test::CaptureStdout;
using test::ExpectReadEntriesInStep;
using test::MakeContig;
using test::RandomContig;

// Everything a read carries, to be found unchanged wherever it went.
struct ReadRecord {
  std::string mBases;
  std::string mDescription;
  char mStrand;
  int mStart;
  std::vector<int> mQuality;
  int mTrimStart, mTrimEnd;
  std::string mQALine;
  ReadRecordFields mFields;

  bool operator==(const ReadRecord& o) const {
    return mBases == o.mBases && mDescription == o.mDescription && mStrand == o.mStrand &&
           mStart == o.mStart && mQuality == o.mQuality && mTrimStart == o.mTrimStart &&
           mTrimEnd == o.mTrimEnd && mQALine == o.mQALine && mFields.mWholeReadItems == o.mFields.mWholeReadItems &&
           mFields.mReadTags == o.mFields.mReadTags && mFields.mDescribed == o.mFields.mDescribed;
  }
};

ReadRecord RecordOf(const Contig& c, size_t i) {
  return {std::string(c.mReads[i].mBases.begin(), c.mReads[i].mBases.end()), c.mReads[i].mDescription,
          c.mComplemented[i], c.mAlignStart[i], c.mReadQuality[i].mQualities, c.mReadTrimStart[i],
          c.mReadTrimEnd[i], c.mQALines[i], c.mReadRecords[i]};
}

std::map<std::string, ReadRecord> RecordsOf(const Contig& c) {
  std::map<std::string, ReadRecord> records;
  for (size_t i = 0; i < c.mReads.size(); ++i) records.emplace(c.mReads[i].mName, RecordOf(c, i));
  return records;
}

std::string Text(const std::vector<char>& bases) { return std::string(bases.begin(), bases.end()); }

// Column p as the plain vote gives it.
std::pair<char, int> Vote(const Contig& c, int p) {
  char base = 'N';
  int quality = 0;
  c.ComputeConsensus(p, base, quality);
  return {base, quality};
}

TEST(ReadEdits, CopyAndRemoveKeepEveryEntryWithItsRead) {
  std::mt19937 rng(11);
  for (int round = 0; round < 200; ++round) {
    Contig source = RandomContig(rng, "s");
    Contig dest = RandomContig(rng, "d");
    const auto sourceBefore = RecordsOf(source);
    auto expected = RecordsOf(dest);
    for (const Sequence& read : source.mReads) {
      if (rng() % 2) continue;
      source.CopyRead(dest, read.mName);
      expected.emplace(read.mName, sourceBefore.at(read.mName));
      ASSERT_EQ(dest.mBaseSegments.size(), 1u);
      EXPECT_EQ(dest.mBaseSegments[0].mReadName, read.mName);
      EXPECT_EQ(dest.mReadTemplate.at(read.mName), source.mReadTemplate.at(read.mName));
      EXPECT_EQ(dest.mReadDirection.count(dest.mReadIdxMap.at(read.mName)), 0u);  // reads as forward
      EXPECT_EQ(dest.mTrimStart, 0);
      EXPECT_EQ(dest.mTrimEnd, 0);
      ExpectReadEntriesInStep(dest, true);
    }
    std::vector<std::string> names;
    for (const Sequence& read : dest.mReads) names.push_back(read.mName);
    for (const std::string& name : names) {
      if (rng() % 3) continue;
      dest.RemoveRead(name);
      expected.erase(name);
      EXPECT_TRUE(dest.mBaseSegments.empty());
      ExpectReadEntriesInStep(dest, true);
    }
    EXPECT_EQ(RecordsOf(dest), expected);
    EXPECT_EQ(RecordsOf(source), sourceBefore);  // the source keeps its reads
    ExpectReadEntriesInStep(source, true);
  }
}

TEST(ReadEdits, MissingReadsAndEntriesAreReported) {
  Contig source = MakeContig("S", "ACGT");
  AddRead(source, "a", "ACG", 1, 'C', "TEMPLATE: t1 DIRECTION: rev");
  AddRead(source, "b", "CG", 2);  // no template, no quality, trims or QA line
  source.RebuildTemplateInfo();
  Contig dest = MakeContig("D", "ACGT");
  {
    CaptureStdout out;
    source.CopyRead(dest, "zz");
    EXPECT_EQ(out.Text(), "Can't move zz Doesn't exist.\n");
  }
  EXPECT_TRUE(dest.mReads.empty());
  source.CopyRead(dest, "b");
  ASSERT_EQ(dest.mReads.size(), 1u);
  EXPECT_TRUE(dest.mReadQuality[0].mQualities.empty());
  EXPECT_EQ(dest.mReadTrimStart, std::vector<int>{0});
  EXPECT_EQ(dest.mReadTrimEnd, std::vector<int>{0});
  EXPECT_EQ(dest.mQALines, std::vector<std::string>{""});
  EXPECT_EQ(dest.mReadTemplate.at("b"), "");  // the empty template name

  {
    CaptureStderr err;
    dest.RemoveRead("zz");
    dest.mReadIdxMap["stale"] = 5;
    dest.RemoveRead("stale");
    EXPECT_EQ(err.Text(), "Can't remove zz Not in index.\nERROR: Remove rIdx =5 mReads.size=1\n");
  }
  EXPECT_EQ(dest.mReads.size(), 1u);
  source.RemoveRead("a");
  ExpectReadEntriesInStep(source, false);
  EXPECT_TRUE(source.mTemplateReads.empty());
  EXPECT_EQ(source.mReadIdxMap.at("b"), 0);
}

TEST(ReadEdits, AddReadsChecksItsListsAndAppends) {
  enum Variant { kWithQuality, kPlain, kNoBSStrands, kNoBS };
  struct Case {
    Variant mVariant;
    int mReads, mQualities, mStarts;
    const char* mError;  // expected standard error, "" when the reads go in
  };
  const Case cases[] = {
      {kWithQuality, 2, 2, 2, ""},
      {kWithQuality, 2, 1, 2, "AddReads ERROR: offset.size=1 Reads.size=2\n"},
      {kWithQuality, 2, 2, 3, "AddReads ERROR: offset.size=3 Reads.size=2\n"},
      {kWithQuality, 0, 0, 0, "AddReads ERROR: offset.size=0 Reads.size=0\n"},
      {kPlain, 2, 0, 2, ""},
      {kPlain, 2, 0, 1, "AddReads ERROR: offset.size=1 Reads.size=2\n"},
      {kNoBSStrands, 2, 0, 2, ""},
      {kNoBSStrands, 0, 0, 0, "AddReads ERROR: offset.size=0 Reads.size=0\n"},
      {kNoBS, 2, 0, 2, ""},
      {kNoBS, 1, 0, 2, "AddReads ERROR: offset.size=2 Reads.size=1\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "variant " << c.mVariant << " reads " << c.mReads << " qualities "
                                    << c.mQualities << " starts " << c.mStarts);
    Contig contig = MakeContig("C", "ACGTACGT");
    AddRead(contig, "a", "ACGTACGT", 1);
    contig.mReadQuality.resize(1);
    contig.mReadQuality[0].mQualities.assign(8, 30);
    contig.RebuildTemplateInfo();
    BaseSegment segment;
    segment.mStart = 1;
    segment.mEnd = 8;
    segment.mReadName = "a";
    contig.mBaseSegments.assign(1, segment);
    contig.mNumBaseSeqs = 7;
    contig.mNumReads = 1;
    const Contig before = contig;

    SequenceVector reads;
    for (int j = 0; j < c.mReads; ++j) reads.push_back(test::MakeSequence("GTAC", "n" + std::to_string(j)));
    SequenceQualityVector qualities;
    qualities.resize(c.mQualities);
    for (SequenceQuality& q : qualities) q.mQualities.assign(4, 20);
    std::vector<int> starts;
    for (int j = 0; j < c.mStarts; ++j) starts.push_back(3 + j);
    CaptureStderr err;
    switch (c.mVariant) {
      case kWithQuality: contig.AddReads(reads, qualities, starts); break;
      case kPlain: contig.AddReads(reads, starts); break;
      case kNoBSStrands: contig.AddReadsNoBS(reads, starts, {'C', 'U'}); break;
      case kNoBS: contig.AddReadsNoBS(reads, starts); break;
    }
    EXPECT_EQ(err.Text(), c.mError);
    if (*c.mError != '\0') {
      EXPECT_EQ(contig.mReads.size(), 1u);
      EXPECT_EQ(contig.mAlignStart, before.mAlignStart);
      EXPECT_EQ(contig.mReadQuality.size(), 1u);
      EXPECT_EQ(contig.mNumReads, 1);
      EXPECT_EQ(contig.mNumBaseSeqs, 7);
      continue;
    }
    ASSERT_EQ(contig.mReads.size(), 3u);
    EXPECT_EQ(contig.mAlignStart, (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(contig.mComplemented,
              (std::vector<char>{'U', c.mVariant == kNoBSStrands ? 'C' : 'U', 'U'}));
    EXPECT_EQ(contig.mReadQuality.size(), c.mVariant == kWithQuality ? 3u : 1u);
    if (c.mVariant == kWithQuality) {
      EXPECT_EQ(contig.mReadQuality[2].mQualities, std::vector<int>(4, 20));
    }
    EXPECT_EQ(contig.mNumReads, 3);
    EXPECT_EQ(contig.mReadIdxMap, before.mReadIdxMap);  // left to the caller
    if (c.mVariant == kWithQuality || c.mVariant == kPlain) {
      ASSERT_EQ(contig.mBaseSegments.size(), 1u);  // read a agrees with the whole consensus
      EXPECT_EQ(contig.mBaseSegments[0].mEnd, 8);
      EXPECT_EQ(contig.mNumBaseSeqs, 1);
    } else {
      EXPECT_EQ(contig.mNumBaseSeqs, 1);  // the one segment already there
    }
  }
}

TEST(ReadEdits, FixupAlignStartsMovesTheSmallestToBase) {
  struct Case {
    std::vector<int> mStarts;
    int mBase;
    std::vector<int> mShifted;
    int mMin, mMax;
  };
  const Case cases[] = {
      {{5, 3, 9}, 0, {2, 0, 6}, 3, 9},
      {{-4, -2}, 1, {1, 3}, -4, -2},
      {{INT_MIN, INT_MAX}, 0, {0, INT_MAX}, INT_MIN, INT_MAX},  // the shift clamps
      {{INT_MAX, 7}, INT_MIN, {INT_MIN + INT_MAX - 7, INT_MIN}, 7, INT_MAX},
      {{}, 0, {}, 99999999, 0},
  };
  for (const Case& c : cases) {
    Contig contig = MakeContig("C", "");
    for (size_t i = 0; i < c.mStarts.size(); ++i) AddRead(contig, "r" + std::to_string(i), "AC", c.mStarts[i]);
    int min = 1, max = 1;
    contig.FixupAlignStarts(c.mBase, min, max);
    EXPECT_EQ(contig.mAlignStart, c.mShifted) << c.mBase;
    EXPECT_EQ(min, c.mMin);
    EXPECT_EQ(max, c.mMax);
    EXPECT_EQ(contig.mOriginalMinStart, c.mMin);
    EXPECT_EQ(contig.mOriginalMaxStart, c.mMax);
  }
}

TEST(ReadEdits, CopyConsensusAndTrimPadTail) {
  Contig source = MakeContig("S", "TTGCA*");
  source.mQuality.mQualities = {10, 20, 30, 40};  // the last two columns have no value
  struct Case {
    int mPos, mFrom, mTo;
    const char* mBases;
    std::vector<int> mQuality;
  };
  const Case cases[] = {
      {0, 1, 3, "TGC", {20, 30, 40}},
      {7, 0, 1, "ACGTATT", {1, 2, 3, 4, 5, 10, 20}},  // a pos past the end is the end
      {2, 4, 6, "ACA*A", {1, 2, 0, 0, 5}},  // index 6 is past the source
      {-2, 0, 3, "GC", {30, 40}},           // targets below 0 are skipped
      {0, 3, 1, "", {}},
      {1, INT_MIN, INT_MIN + 2, "ACGT", {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    Contig target = MakeContig("T", "ACGTA");
    target.mQuality.mQualities = {1, 2, 3, 4, 5};
    target.CopyConsensus(c.mPos, source, c.mFrom, c.mTo);
    EXPECT_EQ(Text(target.mBases), c.mBases) << c.mPos << " " << c.mFrom << " " << c.mTo;
    EXPECT_EQ(target.mQuality.mQualities, c.mQuality) << c.mPos << " " << c.mFrom << " " << c.mTo;
  }
  Contig self = MakeContig("T", "ACGTA");
  self.mQuality.mQualities = {1, 2, 3, 4, 5};
  self.CopyConsensus(0, self, 2, 4);
  EXPECT_EQ(Text(self.mBases), "GTA");
  EXPECT_EQ(self.mQuality.mQualities, (std::vector<int>{3, 4, 5}));

  struct Trim {
    const char* mBases;
    std::vector<int> mQuality;
    const char* mTrimmed;
    std::vector<int> mTrimmedQuality;
  };
  const Trim trims[] = {
      {"ACG**", {1, 2, 3}, "ACG", {1, 2, 3}},  // the pads had no values: none are lost
      {"ACG**", {1, 2, 3, 0, 0}, "ACG", {1, 2, 3}},
      {"AC*G", {1, 2, 3, 4}, "AC*G", {1, 2, 3, 4}},
      {"***", {0, 0, 0}, "", {}},
      {"", {}, "", {}},
  };
  for (const Trim& t : trims) {
    Contig contig = MakeContig("C", t.mBases);
    contig.mQuality.mQualities = t.mQuality;
    contig.mPaddedBases = -7;
    contig.TrimPadTail();
    EXPECT_EQ(Text(contig.mBases), t.mTrimmed);
    EXPECT_EQ(contig.mQuality.mQualities, t.mTrimmedQuality) << t.mBases;
    const bool changed = std::string(t.mBases) != t.mTrimmed;
    EXPECT_EQ(contig.mPaddedBases, changed ? static_cast<int>(contig.mBases.size()) : -7) << t.mBases;
  }
}

TEST(ReadEdits, MergeKeepsEveryReadAndVotesTheStretch) {
  std::mt19937 rng(23);
  for (int round = 0; round < 300; ++round) {
    Contig left = RandomContig(rng, "a");
    Contig right = RandomContig(rng, "b");
    const Contig leftBefore = left;
    const int offset = static_cast<int>(rng() % 56) - 5;
    auto expected = RecordsOf(left);
    for (auto [name, record] : RecordsOf(right)) {
      record.mStart += offset;
      expected.emplace(name, record);
    }
    CaptureStdout quietOut;  // uncovered columns are reported
    CaptureStderr quiet;
    const int segments = left.MergeContigRight(right, offset);

    ASSERT_EQ(left.mReads.size(), leftBefore.mReads.size() + right.mReads.size());
    EXPECT_EQ(RecordsOf(left), expected);
    for (size_t i = 0; i < right.mReads.size(); ++i)
      EXPECT_EQ(right.mReads[i].mName, left.mReads[leftBefore.mReads.size() + i].mName);  // in order
    ExpectReadEntriesInStep(left, true);
    EXPECT_EQ(segments, left.mNumBaseSeqs);
    EXPECT_EQ(segments, static_cast<int>(left.mBaseSegments.size()));
    EXPECT_EQ(left.mNumReads, static_cast<int>(left.mReads.size()));
    EXPECT_EQ(left.mPaddedBases, static_cast<int>(left.mBases.size()));

    int last = -1;
    for (size_t i = 0; i < left.mReads.size(); ++i)
      last = std::max(last, left.mAlignStart[i] + static_cast<int>(left.mReads[i].mBases.size()) - 2);
    ASSERT_EQ(left.mBases.size(), static_cast<size_t>(last + 1));
    ASSERT_EQ(left.mQuality.mQualities.size(), left.mBases.size());
    for (int p = 0; p <= last; ++p) {
      if (p >= offset) {
        EXPECT_EQ(std::make_pair(left.mBases[p], left.mQuality.mQualities[p]), Vote(left, p)) << p;
      } else if (p < static_cast<int>(leftBefore.mBases.size())) {
        EXPECT_EQ(left.mBases[p], leftBefore.mBases[p]) << p;  // left of the stretch: as it was
      }
    }
  }
}

TEST(ReadEdits, RemoveTailsDropsUnmatedTailReadsOnce) {
  std::mt19937 rng(5);
  for (int round = 0; round < 300; ++round) {
    Contig contig = RandomContig(rng, "r");
    contig.GetTemplateInfo(contig.mTemplates);
    const int length = static_cast<int>(contig.mBases.size());
    const int leftEnd = static_cast<int>(rng() % 12) - 3;
    const int rightStart = length - static_cast<int>(rng() % 12) + 3;
    const Contig before = contig;

    std::vector<std::string> expectedRemoved;
    for (size_t i = 0; i < before.mReads.size(); ++i) {
      const int start = before.mAlignStart[i];
      const int end = start + static_cast<int>(before.mReads[i].mBases.size()) - 1;  // 1-based last column
      if ((start <= leftEnd || end > rightStart) && !before.HasGoodMateInContig(before.mReads[i].mName))
        expectedRemoved.push_back(before.mReads[i].mName);
    }
    std::vector<std::string> removed = {"kept"};
    CaptureStdout quietOut;
    CaptureStderr err;
    contig.RemoveTails(leftEnd, rightStart, removed);
    EXPECT_EQ(err.Text().find("Can't remove"), std::string::npos);  // each read listed once
    expectedRemoved.insert(expectedRemoved.begin(), "kept");
    EXPECT_EQ(removed, expectedRemoved);

    // Every read is in the contig or in the removed list, never both, unchanged.
    auto records = RecordsOf(contig);
    const auto all = RecordsOf(before);
    for (size_t k = 1; k < removed.size(); ++k) {
      EXPECT_EQ(records.count(removed[k]), 0u);
      records.emplace(removed[k], all.at(removed[k]));
    }
    EXPECT_EQ(records, all);
    ExpectReadEntriesInStep(contig, true);

    ASSERT_TRUE(contig.mBases.empty() || contig.mBases.back() != '*');
    for (int p = 0; p < static_cast<int>(contig.mBases.size()); ++p) {
      if (p <= leftEnd || p >= rightStart)
        EXPECT_EQ(std::make_pair(contig.mBases[p], contig.mQuality.mQualities[p]), Vote(contig, p)) << p;
      else
        EXPECT_EQ(contig.mBases[p], before.mBases[p]) << p;
    }
  }
}

TEST(ReadEdits, RemoveTailsVotesTheLeftTailToo) {
  Contig contig = MakeContig("C", "ACGTACGT");
  contig.mQuality.mQualities.assign(8, 40);
  AddRead(contig, "x", "ACG", 1);  // in the left tail, no mate
  AddRead(contig, "y", "CGT", 2, 'U', "TEMPLATE: t DIRECTION: fwd");
  AddRead(contig, "z", "TACGT", 4, 'C', "TEMPLATE: t DIRECTION: rev");
  contig.RebuildTemplateInfo();
  contig.GetTemplateInfo(contig.mTemplates);  // y and z face each other: a good pair
  contig.mReadQuality.resize(3);
  for (int i = 0; i < 3; ++i) contig.mReadQuality[i].mQualities.assign(contig.mReads[i].mBases.size(), 30);
  std::vector<std::string> removed;
  contig.RemoveTails(1, 100, removed);
  EXPECT_EQ(removed, std::vector<std::string>{"x"});
  // Column 0 lost its only read; column 1 keeps y's C.
  EXPECT_EQ(Text(contig.mBases), "*CGTACGT");
  EXPECT_EQ(contig.mQuality.mQualities[0], 0);
  EXPECT_EQ(contig.mQuality.mQualities[1], 30);
}

TEST(ReadEdits, ExtremePositionsStayDefined) {
  Contig contig = MakeContig("C", "ACGT");
  AddRead(contig, "hi", "ACGT", INT_MAX);
  AddRead(contig, "lo", "ACGT", INT_MIN);
  contig.mReadQuality.resize(2);
  for (SequenceQuality& q : contig.mReadQuality) q.mQualities.assign(4, 10);
  contig.RebuildTemplateInfo();
  std::vector<std::string> removed;
  CaptureStdout quietOut;
  CaptureStderr quiet;
  Contig tails = contig;
  tails.RemoveTails(INT_MAX, INT_MIN, removed);
  EXPECT_EQ(removed, (std::vector<std::string>{"hi", "lo"}));
  EXPECT_EQ(Text(tails.mBases), "");  // every column lost its reads and was trimmed as a pad

  // The shift clamps: "hi" lands at -1 and shows its last two characters.
  Contig merged = MakeContig("M", "AC");
  EXPECT_EQ(merged.MergeContigRight(contig, INT_MIN), 1);
  EXPECT_EQ(contig.mAlignStart, (std::vector<int>{-1, INT_MIN}));
  EXPECT_EQ(Text(merged.mBases), "GT");
  ExpectReadEntriesInStep(merged, true);

  // A contig given itself as the other side.
  Contig self = MakeContig("S", "ACGT");
  AddRead(self, "a", "ACGT", 1);
  self.mReadQuality.resize(1);
  self.mReadQuality[0].mQualities.assign(4, 10);
  self.RebuildTemplateInfo();
  self.CopyRead(self, "a");
  EXPECT_EQ(self.MergeContigRight(self, 2), 1);
  EXPECT_EQ(self.mAlignStart, (std::vector<int>{3, 3, 3, 3}));
  EXPECT_EQ(self.mReadQuality.size(), 4u);
  EXPECT_EQ(self.mReadIdxMap.at("a"), 3);  // one name, four reads: the last counts
  self.AddReads(self.mReads, self.mReadQuality, self.mAlignStart);
  EXPECT_EQ(self.mReads.size(), 8u);
  EXPECT_EQ(self.mReadQuality.size(), 8u);

  Contig empty;
  empty.TrimPadTail();
  empty.ReverseComplementContig();
  empty.CopyConsensus(INT_MAX, empty, INT_MAX, INT_MAX - 1);
  EXPECT_TRUE(empty.mBases.empty());
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

// Removing a list of reads at once must leave what removing them one by one
// leaves, messages included: repeated and missing names, repeated read
// names in the contig, and an index map out of step to begin with.
TEST(ReadEdits, RemoveReadsIsRemoveReadInTurn) {
  std::mt19937 rng(77);
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    Contig contig = test::RandomContig(rng);
    if (round % 3 == 0 && !contig.mReads.empty()) contig.mReads.back().mName = contig.mReads.front().mName;
    if (round % 5 == 0) contig.mReadIdxMap["r9"] = 40;  // out of step
    if (round % 4 == 0 && !contig.mReadQuality.empty()) contig.mReadQuality.pop_back();  // one read without
    std::vector<std::string> names;
    for (int k = static_cast<int>(rng() % 10); k > 0; --k) names.push_back("r" + std::to_string(rng() % 10));
    Contig one = contig, all = contig;
    std::string oneErrors, allErrors;
    {
      test::CaptureStderr err;
      for (const std::string& name : names) one.RemoveRead(name);
      oneErrors = err.Text();
    }
    {
      test::CaptureStderr err;
      all.RemoveReads(names);
      allErrors = err.Text();
    }
    EXPECT_EQ(allErrors, oneErrors);
    ASSERT_EQ(all.mReads.size(), one.mReads.size());
    for (size_t i = 0; i < one.mReads.size(); ++i) {
      EXPECT_EQ(all.mReads[i].mName, one.mReads[i].mName);
      EXPECT_EQ(all.mReads[i].mBases, one.mReads[i].mBases);
    }
    EXPECT_EQ(all.mAlignStart, one.mAlignStart);
    EXPECT_EQ(all.mComplemented, one.mComplemented);
    ASSERT_EQ(all.mReadQuality.size(), one.mReadQuality.size());
    for (size_t i = 0; i < one.mReadQuality.size(); ++i)
      EXPECT_EQ(all.mReadQuality[i].mQualities, one.mReadQuality[i].mQualities);
    EXPECT_EQ(all.mReadTrimStart, one.mReadTrimStart);
    EXPECT_EQ(all.mReadTrimEnd, one.mReadTrimEnd);
    EXPECT_EQ(all.mQALines, one.mQALines);
    EXPECT_EQ(all.mReadIdxMap, one.mReadIdxMap);
    EXPECT_EQ(all.mReadTemplate, one.mReadTemplate);
    EXPECT_EQ(all.mTemplateReads, one.mTemplateReads);
    EXPECT_EQ(all.mReadDirection, one.mReadDirection);
    EXPECT_EQ(all.mBaseSegments.size(), one.mBaseSegments.size());
  }
}

}  // namespace
}  // namespace ostrel
