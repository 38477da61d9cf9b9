#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"
#include "ace/AceFile.h"

namespace ostrel {
namespace {

// Reads ACE text into `ace`, returning what was printed on standard error.
std::string ReadText(AceFile& ace, const std::string& text) {
  std::istringstream in(text);
  test::CaptureStderr err;
  ace.Read(in);
  return err.Text();
}

const char* const kTwoContigs = R"(AS 2 3

CO c1 5 2 2 U
AC*GT

BQ
10 20 30 40

AF r1 U 1
AF r2 C -1
BS 1 3 r1
BS 4 5 r2

RD r1 5 0 0
AC*GT

QA 1 5 1 5
DS CHROMAT_FILE: r1  TEMPLATE: t1 DIRECTION: fwd

RD r2 4 0 0
AC
GT

QA 1 4 1 4
DS TEMPLATE: t1 DIRECTION: rev

CO c2 4 1 1 U
ACGT

BQ
30 30 30 30

AF r3 U 1

BS 1 4 r3

RD r3 4 0 0
ACGT

QA 1 4 1 4
DS

CT{
c2 comment consed 1 2 050101:000000
}
)";

TEST(AceRead, TwoCompleteContigs) {
  AceFile ace;
  EXPECT_EQ("", ReadText(ace, kTwoContigs));
  EXPECT_TRUE(ace.mValid);
  EXPECT_EQ(2, ace.mNumContigs);
  EXPECT_EQ(3, ace.mNumReads);
  ASSERT_EQ(2u, ace.size());
  const Contig& c1 = ace[0];
  EXPECT_EQ("c1", c1.mName);
  EXPECT_EQ(5, c1.mPaddedBases);
  EXPECT_EQ(2, c1.mNumReads);
  EXPECT_EQ(2, c1.mNumBaseSeqs);
  EXPECT_EQ(std::string("AC*GT"), std::string(c1.mBases.begin(), c1.mBases.end()));
  EXPECT_EQ((std::vector<int>{10, 20, 0, 30, 40}), c1.mQuality.mQualities);
  EXPECT_EQ((std::vector<int>{1, -1}), c1.mAlignStart);
  EXPECT_EQ((std::vector<char>{'U', 'C'}), c1.mComplemented);
  ASSERT_EQ(2u, c1.mBaseSegments.size());
  EXPECT_EQ(4, c1.mBaseSegments[1].mStart);
  EXPECT_EQ(5, c1.mBaseSegments[1].mEnd);
  EXPECT_EQ("r2", c1.mBaseSegments[1].mReadName);
  ASSERT_EQ(2u, c1.mReads.size());
  EXPECT_EQ("r2", c1.mReads[1].mName);
  EXPECT_EQ(std::string("ACGT"), std::string(c1.mReads[1].mBases.begin(), c1.mReads[1].mBases.end()));
  EXPECT_EQ("CHROMAT_FILE: r1  TEMPLATE: t1 DIRECTION: fwd", c1.mReads[0].mDescription);
  EXPECT_EQ((std::vector<std::string>{"QA 1 5 1 5", "QA 1 4 1 4"}), c1.mQALines);
  EXPECT_EQ(2u, c1.mTemplateReads.count("t1"));
  EXPECT_EQ(1, c1.mReadDirection.at(1));
  EXPECT_EQ("DS", ace[1].mReads[0].mDescription);  // no blank: the whole line
}

TEST(AceRead, ConsensusQualitiesSkipPadsAndStopAtTheLastColumn) {
  const std::pair<const char*, std::vector<int>> cases[] = {
      {"ACGT**\n\nBQ\n1 2 3 4\n", {1, 2, 3, 4}},  // trailing pads get no value
      {"A*C\n*G\n\nBQ\n5 6\n7\n", {5, 0, 6, 0, 7}},
      {"AC\n\nBQ\n1 2 3 4\n", {1, 2}},  // the surplus is dropped
  };
  for (const auto& [consensus, quality] : cases) {
    AceFile ace;
    ReadText(ace, std::string("AS 1 0\nCO c 0 0 0 U\n") + consensus);
    EXPECT_EQ(quality, ace[0].mQuality.mQualities) << consensus;
  }
}

TEST(AceRead, HeaderAnnouncesMoreContigs) {
  AceFile ace;
  const std::string text = std::string(kTwoContigs).replace(0, 6, "AS 3 3");
  EXPECT_EQ("INCONSISTENT ACE FILE: Contigs seen = 2 contigs reported=3\n", ReadText(ace, text));
  EXPECT_FALSE(ace.mValid);
  ASSERT_EQ(3u, ace.size());
  EXPECT_TRUE(ace[2].mBases.empty());
}

// Concatenated files, or a wrong count: every contig is read, and the
// assembly is invalid.
TEST(AceRead, MoreContigsThanAnnouncedAreReadOn) {
  for (const auto& [header, said] :
       {std::pair{"AS 1 3", "ContigNum=1 (*this).size=1\nINCONSISTENT ACE FILE: Contigs seen = 2 contigs reported=1\n"},
        {"AS -4 3", "ContigNum=0 (*this).size=0\nINCONSISTENT ACE FILE: Contigs seen = 2 contigs reported=-4\n"}}) {
    AceFile ace;
    EXPECT_EQ(said, ReadText(ace, std::string(kTwoContigs).replace(0, 6, header)));
    EXPECT_FALSE(ace.mValid);
    ASSERT_EQ(2u, ace.size());
    EXPECT_EQ("c2", ace[1].mName);
    EXPECT_FALSE(ace[1].mReads.empty());
  }
  AceFile twice;
  ReadText(twice, std::string(kTwoContigs) + kTwoContigs);
  EXPECT_EQ(4u, twice.size());
  EXPECT_FALSE(twice.mValid);
}

TEST(AceRead, ReadCountsAndLengthsAreChecked) {
  AceFile ace;
  const std::string text =
      "AS 1 5\nCO c 3 5 0 U\nACGT\n\nBQ\n1 1 1 1\n\nAF a U 1\nAF b U 1\nAF c U 1\nAF d U 1\nAF e U 1\n"
      "RD a 1 0 0\nA\n\nRD b 1 0 0\nC\n\nRD c 1 0 0\nG\n\n";
  EXPECT_EQ(
      "WARNING: PaddedBases = 3 C.mConsensus.size=4\n"
      "INCONSISTENT CONTIG READS: c Reads seen=3  reads reported=5\n",
      ReadText(ace, text));
  EXPECT_FALSE(ace.mValid);
  EXPECT_EQ(3u, ace[0].mReads.size());
  EXPECT_EQ(5u, ace[0].mAlignStart.size());

  AceFile more;  // more "RD" records than "AF" lines: every one is kept
  EXPECT_EQ("INCONSISTENT CONTIG READS: c Reads seen=2  reads reported=1\n",
            ReadText(more, "AS 1 1\nCO c 1 1 0 U\nA\n\nBQ\n1\n\nAF a U 1\nRD a 1 0 0\nA\n\nRD b 1 0 0\nC\n\n"));
  ASSERT_EQ(2u, more[0].mReads.size());
  EXPECT_EQ("b", more[0].mReads[1].mName);
  EXPECT_EQ("C", std::string(more[0].mReads[1].mBases.begin(), more[0].mReads[1].mBases.end()));

  // A read is named by its "RD" record: placements without one, and an
  // "RD" record without a name (with its bases and "DS" line), make no read,
  // which could not be written back.
  const std::string head = "AS 1 2\nCO c 2 2 0 U\nAC\n\nBQ\n1 1\n\nAF a U 1\nAF b C 2\n";
  for (const auto& [records, reads] : std::vector<std::pair<std::string, std::string>>{
           {"", ""},
           {"RD\nAC\n\nDS TEMPLATE: tx\n", ""},
           {"RD a 2 0 0\nAC\n\nDS TEMPLATE: ta\nRD \t\nGG\n\nDS TEMPLATE: tx\n", "a=TEMPLATE: ta,"},
           {"RD a 2 0 0\nAC\n\nRD\nGG\n\nDS TEMPLATE: tx\nRD b 2 0 0\nCG\n\nDS TEMPLATE: tb\n",
            "a=,b=TEMPLATE: tb,"}}) {
    SCOPED_TRACE(records);
    AceFile unnamed;
    ReadText(unnamed, head + records);
    std::string seen;
    for (const Sequence& read : unnamed[0].mReads) seen += read.mName + "=" + read.mDescription + ",";
    EXPECT_EQ(reads, seen);
    EXPECT_EQ(0u, unnamed[0].mReadTemplate.count("tx"));
  }
}

TEST(AceRead, ReadsWithoutDescriptionsAreKept) {
  AceFile ace;
  const std::string text =
      "AS 1 3\nCO c 4 3 0 U\nACGT\n\nBQ\n1 1 1 1\n\nAF a U 1\nAF b C 2\nAF c U 3\n"
      "RD a 2 0 0\nAC\n\nQA 1 2 1 2\nRD b 2 0 0\nCG\n\nQA 1 2 1 2\nDS TEMPLATE: tb\nRD c 2 0 0\nGT\n\n";
  EXPECT_EQ("", ReadText(ace, text));
  ASSERT_EQ(3u, ace[0].mReads.size());
  EXPECT_EQ("a", ace[0].mReads[0].mName);
  EXPECT_EQ("", ace[0].mReads[0].mDescription);
  EXPECT_EQ("TEMPLATE: tb", ace[0].mReads[1].mDescription);
  EXPECT_EQ("c", ace[0].mReads[2].mName);
  EXPECT_EQ(1u, ace[0].mReadTemplate.size());
  EXPECT_EQ(1u, ace[0].mReadTemplate.count("b"));
}

TEST(AceRead, ContigWithoutBaseSegmentsKeepsItsReads) {
  AceFile ace;
  const std::string text =
      "AS 2 2\nCO c1 2 1 0 U\nAC\n\nBQ\n1 1\n\nAF a U 1\n\nRD a 2 0 0\nAC\n\nDS x\n\n"
      "CO c2 2 1 1 U\nGT\n\nBQ\n1 1\n\nAF b U 1\nBS 1 2 b\n\nRD b 2 0 0\nGT\n\nDS y\n";
  EXPECT_EQ("", ReadText(ace, text));
  EXPECT_TRUE(ace.mValid);
  EXPECT_TRUE(ace[0].mBaseSegments.empty());
  ASSERT_EQ(1u, ace[0].mReads.size());
  EXPECT_EQ("a", ace[0].mReads[0].mName);
  ASSERT_EQ(1u, ace[1].mBaseSegments.size());
  EXPECT_EQ("b", ace[1].mBaseSegments[0].mReadName);
  EXPECT_EQ("b", ace[1].mReads[0].mName);
}

// Tags after a contig without reads (or without "BQ") are kept, wherever
// they stand: the searches for its records stop at them.
TEST(AceRead, TagsAfterAContigWithoutReadsAreKept) {
  const std::string tag = "CT{\nc1 comment tool 1 2 080215:162048\n}\n";
  for (const std::string& contig : {std::string("CO c1 2 0 0 U\nAC\n\nBQ\n1 1\n\n"), std::string("CO c1 2 0 0 U\nAC\n\n"),
                                    "CO c1 2 0 0 U\nAC\n\n" + tag + "\nBQ\n1 1\n\n"}) {
    SCOPED_TRACE(contig);
    AceFile ace;
    ReadText(ace, "AS 1 0\n\n" + contig + tag + "\nWA{\nx\n}\n");
    EXPECT_TRUE(ace.mValid);
    ASSERT_EQ(1u, ace.size());
    ASSERT_LE(2u, ace.mTags.size());
    EXPECT_EQ(tag, ace.mTags[0].mText);
    EXPECT_EQ("WA{\nx\n}\n", ace.mTags.back().mText);
  }
}

TEST(AceRead, KeywordsInsideLinesStartNothing) {
  AceFile ace;
  const std::string text =
      "AS 1 2\nCO c 2 2 1 U\nAC\n\nBQ\n1 1\n\nAF fooRD U 1\nAF xCO U 1\nBS 1 2 fooRD\n\n"
      "RD fooRD 2 0 0\nAC\n\nQA 1 2 1 2\nDS CHROMAT_FILE: fooRD note QA here\n\n"
      "RT{\nfooRD comment consed 1 2 CO DS\n}\n\n"
      "RD xCO 2 0 0\nAC\n\nDS CO inside\n";
  EXPECT_EQ("", ReadText(ace, text));
  EXPECT_TRUE(ace.mValid);
  ASSERT_EQ(2u, ace[0].mReads.size());
  EXPECT_EQ("CHROMAT_FILE: fooRD note QA here", ace[0].mReads[0].mDescription);
  EXPECT_EQ("CO inside", ace[0].mReads[1].mDescription);
  EXPECT_EQ(1u, ace[0].mQALines.size());
}

TEST(AceRead, IndentedRecordsTakeTheirFieldsAfterTheKeyword) {
  AceFile ace;
  const std::string text =
      "AS 1 1\n CO c 4 1 1 U\nACGT\n\n\tBQ\n1 2 3 4\n\n  AF r1 C -2\n BS 1 4 r1\n\n"
      " RD r1 6 0 0\nACGTAC\n\n DS TEMPLATE: t1 DIRECTION: rev\n";
  EXPECT_EQ("", ReadText(ace, text));
  ASSERT_EQ(1u, ace.size());
  const Contig& c = ace[0];
  EXPECT_EQ("c", c.mName);
  EXPECT_EQ(4, c.mPaddedBases);
  EXPECT_EQ(1, c.mNumBaseSeqs);
  EXPECT_EQ((std::vector<char>{'C'}), c.mComplemented);
  EXPECT_EQ((std::vector<int>{-2}), c.mAlignStart);
  ASSERT_EQ(1u, c.mBaseSegments.size());
  EXPECT_EQ(1, c.mBaseSegments[0].mStart);
  EXPECT_EQ("r1", c.mBaseSegments[0].mReadName);
  ASSERT_EQ(1u, c.mReads.size());
  EXPECT_EQ("r1", c.mReads[0].mName);
  EXPECT_EQ("TEMPLATE: t1 DIRECTION: rev", c.mReads[0].mDescription);
  EXPECT_EQ(1u, c.mTemplateReads.count("t1"));
}

TEST(AceRead, CarriageReturnsStayInTheText) {
  AceFile ace;
  ReadText(ace, "AS 1 0\r\nCO c 6 0 0 U\r\nAC\r\nGT\r\n\nBQ\n1 1 1 1\n");
  EXPECT_EQ(std::string("AC\rGT\r"), std::string(ace[0].mBases.begin(), ace[0].mBases.end()));
  EXPECT_EQ((std::vector<int>{1, 1, 1, 1}), ace[0].mQuality.mQualities);
}

TEST(AceRead, NegativeCountsAndEmptyInput) {
  AceFile ace;
  EXPECT_EQ("", ReadText(ace, ""));
  EXPECT_TRUE(ace.empty());
  EXPECT_TRUE(ace.mValid);
  ReadText(ace, "AS -4 -1\n");
  EXPECT_TRUE(ace.empty());
}

TEST(AceRead, UnopenableFileLeavesAssemblyUntouched) {
  AceFile ace;
  test::CaptureStderr err;
  ace.Read(std::string("/nonexistent/x.ace"));
  EXPECT_EQ("Unable to open /nonexistent/x.ace as an ace file.\n", err.Text());
  EXPECT_TRUE(ace.empty());
}

}  // namespace
}  // namespace ostrel
