#include <gtest/gtest.h>
#include <zlib.h>

#include <sstream>

#include "TestSupport.h"
#include "ace/AceFile.h"
#include "util/LineScan.h"

namespace ostrel {
namespace {

TEST(QualityRead, RecordsAndHeaders) {
  std::istringstream in(">r1 CHROMAT of r1\n10 20\n30\n>r2\n5\n>r3 none\n");
  AceFile ace;
  SequenceQuality q;
  readbuf[0] = '^';
  EXPECT_TRUE(ace.GetNextQuality(in, q));
  EXPECT_EQ("r1", q.mName);
  EXPECT_EQ("CHROMAT of r1", q.mDescription);
  EXPECT_EQ((std::vector<int>{10, 20, 30}), q.mQualities);
  EXPECT_TRUE(ace.GetNextQuality(in, q));
  EXPECT_EQ("r2", q.mName);
  EXPECT_EQ("", q.mDescription);
  EXPECT_FALSE(ace.GetNextQuality(in, q));  // no values
  EXPECT_EQ("r3", q.mName);
}

// One contig holding read r1 (with a pad) uncomplemented and r2 complemented.
const char* const kAce = R"(AS 1 2
CO c 6 2 0 U
ACGTAC

BQ
30 30 30 30 30 30

AF r1 U 1
AF r2 C 3
RD r1 4 0 0
A*CG

RD r2 3 0 0
GTA

)";

TEST(QualityRead, StreamAttachesEveryRecordWithValues) {
  AceFile ace;
  std::istringstream aceText(kAce);
  ace.Read(aceText);
  ace.BuildReadHash();
  std::istringstream quality(">r2\n1 2 3\n>nobody\n9\n>r1\n10 20 30\n>r1\n7 7 7\n>empty\n");
  ace.GetReadsQuality(quality);
  EXPECT_EQ((std::vector<int>{10, 0, 20, 30}), ace[0].mReadQuality[0].mQualities);  // the first record wins
  EXPECT_EQ((std::vector<int>{3, 2, 1}), ace[0].mReadQuality[1].mQualities);
}

void WriteGzip(const std::string& path, const std::string& text) {
  gzFile file = gzopen(path.c_str(), "wb");
  gzwrite(file, text.data(), static_cast<unsigned>(text.size()));
  gzclose(file);
}

TEST(QualityRead, ReadAllFromBaseNamePlainOrCompressed) {
  test::TempDir dir;
  test::WriteFile(dir.Path("plain.ace"), kAce);
  test::WriteFile(dir.Path("plain.qual"), ">r1\n40 40 40\n>r2\n40 40 40\n");
  WriteGzip(dir.Path("packed.ace.gz"), kAce);
  WriteGzip(dir.Path("packed.qual.gz"), ">r1\n40 40 40\n>r2\n40 40 40\n");
  for (const char* base : {"plain", "packed"}) {
    SCOPED_TRACE(base);
    AceFile ace;
    test::CaptureStdout out;
    test::CaptureStderr err;
    ace.ReadAll(dir.Path(base));
    EXPECT_EQ("", out.Text() + err.Text());
    ASSERT_EQ(1u, ace.size());
    EXPECT_EQ((std::vector<int>{40, 0, 40, 40}), ace[0].mReadQuality[0].mQualities);
    EXPECT_EQ((std::vector<int>{0, 0}), ace[0].mReadTrimStart);
    EXPECT_EQ(0, ace[0].mTrimStart);
    EXPECT_EQ(6u, ace.mContigQuality[0].mQualities.size());
  }
}

TEST(QualityRead, ReadAllWithoutQualityFileGivesZeros) {
  test::TempDir dir;
  test::WriteFile(dir.Path("x.ace"), kAce);
  AceFile ace;
  ace.ReadAll(dir.Path("x"));
  EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), ace[0].mReadQuality[0].mQualities);
  EXPECT_EQ((std::vector<int>{-1, -1}), ace[0].mReadTrimStart);
}

TEST(QualityRead, ReadAllFromTwoNamesAnnouncesFiles) {
  test::TempDir dir;
  test::WriteFile(dir.Path("x.ace"), kAce);
  test::WriteFile(dir.Path("x.qual"), ">r1\n40 40 40\n");
  AceFile ace;
  test::CaptureStderr err;
  ace.ReadAll(dir.Path("x.ace"), dir.Path("x.qual"));
  EXPECT_EQ("\nReading " + dir.Path("x.ace") + "...done.\nReading " + dir.Path("x.qual") + "...done.\n",
            err.Text());
  EXPECT_EQ((std::vector<int>{40, 0, 40, 40}), ace[0].mReadQuality[0].mQualities);
}

TEST(QualityRead, ReadAllOfUnopenableFileReturns) {
  AceFile ace;
  test::CaptureStderr err;
  ace.ReadAll("/nonexistent/x");
  ace.ReadAll("/nonexistent/y.ace", "/nonexistent/y.qual");
  EXPECT_EQ(
      "Unable to open /nonexistent/x.ace as an ace file.\n"
      "\nReading /nonexistent/y.ace...Unable to open /nonexistent/y.ace as an ace file.\n",
      err.Text());
  EXPECT_TRUE(ace.empty());
}

TEST(QualityRead, FindNewestAceListsTheDirectory) {
  test::TempDir dir;
  for (const char* name : {"x.ace.1", "x.ace.2", "x.ace.10", "y.ace.9", "$(touch pwned).ace"})
    test::WriteFile(dir.Path(name), "");
  AceFile ace;
  std::string name = dir.Path("x");
  EXPECT_TRUE(ace.FindNewestAce(name));
  EXPECT_EQ(dir.Path("x.ace.2"), name);  // byte order, not number order
  name = dir.Path("none");
  EXPECT_FALSE(ace.FindNewestAce(name));
  EXPECT_EQ(dir.Path("none"), name);
  name = dir.Path("$(touch pwned)");  // shell characters are just characters
  EXPECT_TRUE(ace.FindNewestAce(name));
  EXPECT_EQ(dir.Path("$(touch pwned).ace"), name);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("pwned")));
  EXPECT_FALSE(std::filesystem::exists("pwned"));
  name = "/nonexistent/dir/x";
  EXPECT_FALSE(ace.FindNewestAce(name));
}

}  // namespace
}  // namespace ostrel
