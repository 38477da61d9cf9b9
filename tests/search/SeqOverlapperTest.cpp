#include "search/SeqOverlapper.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "TestSupport.h"

namespace ostrel {
namespace {

std::string RandomBases(int n, unsigned seed) {
  std::mt19937 random(seed);
  std::string bases;
  for (int i = 0; i < n; ++i) bases += "ACGT"[random() % 4];
  return bases;
}

std::string ReverseComplement(const std::string& bases) {
  Sequence s = test::MakeSequence(bases);
  s.ReverseComplement();
  return test::BasesOf(s);
}

// Words of 16, a sample every 200 bases, error rate 5%, band 10.
SeqOverlapper MakeOverlapper() { return SeqOverlapper(16, 5, 50, 0, 100, 5.0f, 10); }

TEST(SeqOverlapper, PlacesTheQueryByTheGroupsFirstHit) {
  struct Case {
    long mQ, mS, mQueryLoc, mSourceLoc;
    int mQStart, mQEnd, mSStart, mSEnd, mLength, mLeft, mRight;
  } cases[] = {
      {1000, 1000, 0, 700, 0, 299, 700, 999, 300, -700, 700},    // the source leads
      {1000, 1000, 600, 0, 600, 999, 0, 399, 400, 600, -600},    // the query leads
      {1000, 1000, 0, 0, 0, 999, 0, 999, 1000, 0, 0},            // identical
      {1000, 300, 500, 100, 400, 699, 0, 299, 300, 400, 300},    // the source inside the query
      {300, 1000, 100, 500, 0, 299, 400, 699, 300, -400, -300},  // the query inside the source
  };
  for (const Case& c : cases) {
    const SeqOverlap o = SeqOverlapper::Place(c.mQ, c.mS, c.mQueryLoc, c.mSourceLoc);
    EXPECT_EQ(c.mQStart, o.mQueryStart) << c.mQueryLoc << "/" << c.mSourceLoc;
    EXPECT_EQ(c.mQEnd, o.mQueryEnd) << c.mQueryLoc << "/" << c.mSourceLoc;
    EXPECT_EQ(c.mSStart, o.mSourceStart) << c.mQueryLoc << "/" << c.mSourceLoc;
    EXPECT_EQ(c.mSEnd, o.mSourceEnd) << c.mQueryLoc << "/" << c.mSourceLoc;
    EXPECT_EQ(c.mLength, o.mLength) << c.mQueryLoc << "/" << c.mSourceLoc;
    EXPECT_EQ(c.mLeft, o.mLeftHang) << c.mQueryLoc << "/" << c.mSourceLoc;
    EXPECT_EQ(c.mRight, o.mRightHang) << c.mQueryLoc << "/" << c.mSourceLoc;
  }
}

// The query's first 300 bases are the source's last 300: two samples hit,
// the first (smallest source offset) places the overlap.
TEST(SeqOverlapper, CompareRecordsTheOverlapAndSaysWhatItDid) {
  const std::string source = RandomBases(600, 1);
  SeqOverlapper overlapper = MakeOverlapper();
  overlapper.AddSource(test::MakeSequence(source, "s"));
  const Sequence query = test::MakeSequence(source.substr(300) + RandomBases(300, 2), "q");
  OverlapGraph graph;
  {
    test::CaptureStdout out;
    overlapper.Compare(query, graph);
    EXPECT_EQ("q\ts\t0\t0\t300\n"
              "q\ts\t1\t200\t500\n"
              "q<-->s\t\t0,299/300,599\t\tscore = 300 cutoff = 270\n"
              "Num edges=1\n",
              out.Text());
  }
  std::ostringstream printed;
  graph.Print(printed);
  EXPECT_EQ("s\tq {300,300,-300,300,1}\n", printed.str());
  EXPECT_EQ(6, overlapper.mQuerySamples);  // 3 samples on each strand
  {
    // Met again with the same score: the edge stays, and is not new.
    test::CaptureStdout out;
    overlapper.Compare(query, graph);
    EXPECT_NE(std::string::npos, out.Text().find("Num edges=0\n"));
  }
  // A same-strand overlap scoring below 300 is never accepted, whatever
  // the error rate.
  overlapper.mErrorPct = 0;
  overlapper.mShowProgress = false;
  OverlapGraph shorter;
  test::CaptureStdout quiet;
  overlapper.Compare(test::MakeSequence(source.substr(301) + RandomBases(300, 2), "q2"), shorter);
  EXPECT_TRUE(shorter.mNodes.empty());
  EXPECT_EQ("", quiet.Text());
}

TEST(SeqOverlapper, OppositeStrandsAreJudgedByTheCutoff) {
  // 400 bases shared on opposite strands, 24 of them changed (none in the
  // two samples that hit): the reverse-complemented query scores 352
  // against a cutoff of 300 (12.5%).
  const std::string source = RandomBases(800, 3);
  std::string shared = source.substr(400);
  for (int i = 20; i < 400; i += 15)
    if (i < 200 || i >= 216) shared[i] = shared[i] == 'A' ? 'C' : 'A';
  SeqOverlapper overlapper = MakeOverlapper();
  overlapper.mErrorPct = 12.5f;
  overlapper.AddSource(test::MakeSequence(source, "s"));
  const Sequence query = test::MakeSequence(ReverseComplement(shared + RandomBases(400, 4)), "q");
  const std::string queryBases = test::BasesOf(query);
  std::vector<SeqOverlap> overlaps;
  std::ostringstream lines;
  overlapper.FindOverlaps(query, 1, overlaps, lines);
  ASSERT_EQ(1u, overlaps.size());
  const SeqOverlap& o = overlaps[0];
  EXPECT_EQ(0, o.mOrientation);
  EXPECT_EQ(400, o.mLength);
  EXPECT_EQ(300, o.mCutoff);
  EXPECT_EQ(352, o.mScore);
  EXPECT_TRUE(o.mAccepted);
  EXPECT_EQ(queryBases, test::BasesOf(query));  // the query keeps its strand
  overlapper.mErrorPct = 5;  // cutoff 360
  overlaps.clear();
  overlapper.FindOverlaps(query, 1, overlaps, lines);
  ASSERT_EQ(1u, overlaps.size());
  EXPECT_FALSE(overlaps[0].mAccepted);
  // Sources at or past the limit are not compared.
  overlaps.clear();
  overlapper.FindOverlaps(query, 0, overlaps, lines);
  EXPECT_TRUE(overlaps.empty());
}

TEST(SeqOverlapper, PlacingByMostHitsAndJudgingStrandsAlike) {
  // The query's last 300 bases are the source's first 300; a copy of the
  // source's first word further on in the query is the group's first hit.
  const std::string source = RandomBases(600, 7);
  std::string tail = RandomBases(300, 8);
  tail.replace(100, 16, source.substr(0, 16));
  SeqOverlapper overlapper = MakeOverlapper();
  overlapper.mShowProgress = false;
  overlapper.AddSource(test::MakeSequence(source, "s"));
  const Sequence query = test::MakeSequence(source.substr(300) + tail, "q");
  std::vector<SeqOverlap> byFirstHit, byMostHits;
  std::ostringstream lines;
  overlapper.FindOverlaps(query, 1, byFirstHit, lines);
  overlapper.mPlaceByMostHits = true;
  overlapper.FindOverlaps(query, 1, byMostHits, lines);
  ASSERT_EQ(1u, byFirstHit.size());
  ASSERT_EQ(1u, byMostHits.size());
  EXPECT_EQ(400, byFirstHit[0].mQueryStart);  // the stray hit's diagonal
  EXPECT_FALSE(byFirstHit[0].mAccepted);
  EXPECT_EQ(0, byMostHits[0].mQueryStart);
  EXPECT_EQ(300, byMostHits[0].mSourceStart);
  EXPECT_EQ(300, byMostHits[0].mScore);
  EXPECT_TRUE(byMostHits[0].mAccepted);

  // 200 shared bases on opposite strands reach the cutoff but not the
  // fixed score; judged alike, they are not an overlap.
  const Sequence reversed = test::MakeSequence(ReverseComplement(source.substr(400) + RandomBases(400, 9)), "r");
  for (bool alike : {false, true}) {
    overlapper.mJudgeStrandsAlike = alike;
    std::vector<SeqOverlap> overlaps;
    overlapper.FindOverlaps(reversed, 1, overlaps, lines);
    ASSERT_EQ(1u, overlaps.size());
    EXPECT_EQ(200, overlaps[0].mLength);
    EXPECT_EQ(!alike, overlaps[0].mAccepted);
  }
  EXPECT_EQ("", lines.str());
}

TEST(SeqOverlapper, ShortSequencesAreLeftOut) {
  SeqOverlapper overlapper = MakeOverlapper();
  test::CaptureStdout out;
  overlapper.AddSource(test::MakeSequence(RandomBases(99, 5), "tiny"));
  overlapper.AddSource(test::MakeSequence(RandomBases(99, 5), "tiny2"), 0, 99);
  EXPECT_EQ(0, overlapper.mNumSources);
  // A stretch is entered without its pads, whatever the bounds.
  overlapper.AddSource(test::MakeSequence("AC*GT" + RandomBases(200, 6), "padded", "d"), -5, 4);
  ASSERT_EQ(1, overlapper.mNumSources);
  EXPECT_EQ("ACG", test::BasesOf(overlapper.mSourceSeqs[0]));
  EXPECT_EQ("d", overlapper.mSourceSeqs[0].mDescription);
  OverlapGraph graph;
  overlapper.Compare(test::MakeSequence("ACGT", "q"), graph);
  EXPECT_EQ("tiny2 size < 100 not added to hash.\nq size < 100 skipping.\n", out.Text());
}

}  // namespace
}  // namespace ostrel
