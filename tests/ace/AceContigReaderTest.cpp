// The contig-by-contig reader against the whole read: the same contigs, the
// same statistics and the same messages, on the real files and on files with
// the faults a reader meets, with and without read qualities.
#include "ace/AceContigReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "AceModelCheck.h"
#include "TestSupport.h"

namespace ostrel {
namespace {

// Reads `path` whole and contig by contig, with the read qualities of
// `qualPath` when it is given; the contigs the reader hands over are
// collected into an assembly of their own, indexed and tag-marked as the
// whole read leaves its own.
void ExpectSameAsWholeRead(const std::string& path, const std::string& qualPath = "") {
  SCOPED_TRACE(path + " " + qualPath);
  AceFile whole;
  std::string wholeErrors;
  {
    test::CaptureStdout out;
    test::CaptureStderr err;
    if (qualPath.empty()) {
      whole.Read(path);
    } else {
      whole.ReadAll(path, qualPath);
      whole.ComputeAllContigStats();
    }
    wholeErrors = err.Text();
  }
  AceFile ace, collected;
  AceContigReader reader(ace);
  QualityRecordFile qualities;
  ASSERT_TRUE(qualPath.empty() || qualities.Open(qualPath));
  std::string streamErrors;
  {
    test::CaptureStdout out;
    test::CaptureStderr err;
    ASSERT_TRUE(reader.Open(path, qualPath.empty() ? nullptr : &qualities));
    while (reader.Next()) {
      EXPECT_EQ(static_cast<int>(collected.size()), reader.mContigIndex);
      ASSERT_EQ(1u, ace.size());
      collected.push_back(ace[0]);
      collected.mContigQuality.push_back(ace.mContigQuality[0]);
    }
    streamErrors = err.Text();
  }
  EXPECT_EQ(wholeErrors, streamErrors);
  EXPECT_TRUE(ace.empty());
  // The whole read keeps the contigs the header announced and the file
  // lacked, empty.
  for (size_t c = collected.size(); c < whole.size(); ++c) {
    EXPECT_TRUE(whole[c].mBases.empty() && whole[c].mReads.empty());
    collected.push_back(whole[c]);
    collected.mContigQuality.push_back(whole.mContigQuality[c]);
  }
  collected.mTags = ace.mTags;
  collected.BuildReadHash();
  collected.MarkHeldTagSubjects();
  collected.HandTagsToContigs();
  collected.mValid = ace.mValid;
  collected.mTotalLength = ace.mTotalLength;
  collected.mN50 = ace.mN50;
  // Averages over no contig are not numbers, alike.
  auto same = [](float a, float b) { return (std::isnan(a) && std::isnan(b)) || a == b; };
  EXPECT_TRUE(same(whole.mAverageCoverage, ace.mAverageCoverage));
  EXPECT_TRUE(same(whole.mAverageCoverageTrimmed, ace.mAverageCoverageTrimmed));
  whole.mAverageCoverageTrimmed = collected.mAverageCoverageTrimmed = 0;
  test::ExpectSameModel(whole, collected);
  EXPECT_EQ(whole.mRecordsFound, ace.mRecordsFound);
  EXPECT_EQ(whole.mNumContigs, ace.mNumContigs);
  EXPECT_EQ(whole.mNumReads, ace.mNumReads);
  EXPECT_EQ(whole.mTotalTrimmedLength, ace.mTotalTrimmedLength);
  EXPECT_EQ(whole.mN50Trimmed, ace.mN50Trimmed);
  EXPECT_EQ(whole.mNumLargeContigs, ace.mNumLargeContigs);
  EXPECT_EQ(whole.mNumLargeTrimmedContigs, ace.mNumLargeTrimmedContigs);
  EXPECT_EQ(whole.mNumReadsInLargeContigs, ace.mNumReadsInLargeContigs);
  EXPECT_EQ(whole.mMaxTrimmedContigLength, ace.mMaxTrimmedContigLength);
}

// Writes a quality file for the reads of the assembly `path` (see
// test::QualityFileFor) and returns its name.
std::string WriteQualityFile(const std::string& path, const test::TempDir& dir, const std::string& lineEnd = "\n") {
  const std::string qualPath = dir.Path(std::filesystem::path(path).filename().string() + ".qual");
  test::WriteFile(qualPath, test::QualityFileFor(path, lineEnd));
  return qualPath;
}

TEST(AceContigReader, GivesWhatTheWholeReadGives) {
  test::TempDir dir;
  for (const std::string& path : test::RealAceFiles()) {
    ExpectSameAsWholeRead(path);
    ExpectSameAsWholeRead(path, WriteQualityFile(path, dir));
  }
  ExpectSameAsWholeRead(test::RealAceFiles()[0], WriteQualityFile(test::RealAceFiles()[0], dir, "\r\n"));

  const std::string contig = "CO c1 5 2 1 U\nAC*GT\n\nBQ\n10 20 30\n\nAF r1 U 1\nAF r2 C 2\nBS 1 5 r1\n\n"
                             "RD r1 5 0 0\nAC*GT\n\nQA 1 5 1 5\nDS TEMPLATE: t DIRECTION: fwd\n\n"
                             "RD r2 4 0 0\nC*GT\n\nQA 1 4 1 4\nDS TEMPLATE: t DIRECTION: rev\n\n";
  const std::string tag = "CT{\nc1 comment consed 1 2 050101:000000\n}\n\n";
  struct Case {
    const char* mName;
    std::string mText;
  } cases[] = {
      {"fewer_contigs_than_announced.ace", "AS 4 6\n\n" + contig + tag + contig},
      {"more_contigs_than_announced.ace", "AS 1 2\n\n" + contig + tag + contig + contig},
      {"reads_missing.ace", "AS 1 3\n\n" + contig.substr(0, contig.size() - 2) + "\nRD r3 2 0 0\nAC\n\n" +
                                "CO c2 3 1 0 U\nACG\n\nBQ\n1 2 3 4\n\nAF r9 U 1\n"},
      {"no_records.ace", "just text\n"},
      // Each contig is parsed over the storage of the one two before it:
      // nothing of a larger contig, its descriptions or QA lines may stay.
      {"smaller_after_larger.ace", "AS 6 8\n\n" + contig + contig + "CO c2 3 1 0 U\nACG\n\nBQ\n1 2 3\n\nAF r5 U 1\n\n" +
                                       "RD r5 3 0 0\nACG\n\n" + "CO c3 2 0 0 U\nAC\n\nBQ\n1 1\n\n" +
                                       "CO c4 2 2 0 U\nAC\n\nBQ\n\nAF a U 1\nAF b U 1\n\n" + contig},
  };
  for (const Case& c : cases) {
    test::WriteFile(dir.Path(c.mName), c.mText);
    ExpectSameAsWholeRead(dir.Path(c.mName));
    ExpectSameAsWholeRead(dir.Path(c.mName), WriteQualityFile(dir.Path(c.mName), dir));
  }
  // A gzip file cut short.
  const std::string text = test::ReadFile(std::string(OSTREL_TEST_DATA) + "/ace/contig1.ace");
  test::WriteGzipFile(dir.Path("cut.ace.gz"), text, 2.0 / 3);
  ExpectSameAsWholeRead(dir.Path("cut.ace.gz"));
}

TEST(AceContigReader, UnopenableFile) {
  AceFile ace;
  AceContigReader reader(ace);
  test::CaptureStderr err;
  EXPECT_FALSE(reader.Open("/nonexistent.ace"));
  EXPECT_FALSE(reader.Next());
  EXPECT_EQ("Unable to open /nonexistent.ace as an ace file.\n", err.Text());
}

}  // namespace
}  // namespace ostrel
