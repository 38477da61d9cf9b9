// Assemblies written as ACE text and read back.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "AceModelCheck.h"
#include "ContigBuilder.h"
#include "TestSupport.h"
#include "ace/AceFile.h"

namespace ostrel {
namespace {

// Two contigs with pads, a complemented read, a read without "DS", a read
// with X ends, and tags on a contig, on reads and on the assembly, one of
// them holding a block of its own.
const char* const kTagged = R"(AS 2 4

CO c1 7 2 2 U
AC*GTTA

BQ
10 20 30 40 50 60

AF r1 U 1
AF r2 C 2
BS 1 3 r1
BS 4 7 r2

RD r1 5 0 0
AC*GT

QA 1 5 1 5
DS CHROMAT_FILE: r1 TEMPLATE: t1 DIRECTION: fwd

RD r2 6 0 1
C*GTTA

QA 1 6 1 6

RT{
r2 matchElsewhereHighQual tool 1 3 080215:162048
}

CO c2 60 2 1 U
)" "XX" "CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC\nCCCCCCCCC" R"(

BQ
9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9
9 9 9 9 9 9 9 9 9 9

AF r3 U 1
AF r4 U 3
BS 1 60 r3

RD r3 60 0 0
XXCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC
CCCCCCCCCC

QA 3 60 3 60
DS TEMPLATE: t1 DIRECTION: rev

RD r4 4 0 0
CCCC

QA 1 4 1 4
DS x

CT{
c2 comment tool 1 4 080215:162048
COMMENT{
a contig tag
C}
}

CT{
c1 repeat tool 2 3 080215:162048
}

WA{
phrap_params phrap 080215:162048
phrap reads.fasta
}
)";

// What another reader insists on: header and contig counts that agree with
// the records, a "BQ" value for every base column, an "AF" and an "RD"
// record for every read, and as many "BS" lines as the "CO" line says.
void ExpectAcceptedByOtherReaders(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  std::getline(in, line);
  std::istringstream header(line);
  std::string as;
  long contigs = -1, reads = -1;
  header >> as >> contigs >> reads;
  ASSERT_EQ("AS", as);
  long contigsSeen = 0, readsSeen = 0;
  long length = 0, placed = 0, segments = 0, records = 0, bases = 0, values = 0;
  long wantLength = 0, wantReads = 0, wantSegments = 0;
  const auto checkContig = [&] {
    if (contigsSeen == 0) return;
    EXPECT_EQ(wantLength, length);
    EXPECT_EQ(bases, values);
    EXPECT_EQ(wantReads, placed);
    EXPECT_EQ(wantReads, records);
    EXPECT_EQ(wantSegments, segments);
  };
  enum { kNone, kConsensus, kQualities } block = kNone;
  while (std::getline(in, line)) {
    if (line.empty()) {
      block = kNone;
      continue;
    }
    if (block == kConsensus) {
      length += static_cast<long>(line.size());
      for (char c : line) bases += c != '*';
      continue;
    }
    std::istringstream fields(line);
    if (block == kQualities) {
      for (int value; fields >> value;) ++values;
      continue;
    }
    std::string keyword, name;
    fields >> keyword;
    if (keyword == "CO") {
      checkContig();
      ++contigsSeen;
      fields >> name >> wantLength >> wantReads >> wantSegments;
      length = placed = segments = records = bases = values = 0;
      block = kConsensus;
    } else if (keyword == "BQ") {
      block = kQualities;
    } else if (keyword == "AF") {
      ++placed;
    } else if (keyword == "BS") {
      ++segments;
    } else if (keyword == "RD") {
      ++records;
      ++readsSeen;
      while (std::getline(in, line) && !line.empty()) {
      }
    }
  }
  checkContig();
  EXPECT_EQ(contigs, contigsSeen);
  EXPECT_EQ(reads, readsSeen);
}

// Read, write, read again: the same model, and a second write gives the
// same bytes. A ".gz" name gives a compressed file that reads back alike.
TEST(AceWrite, RoundTripKeepsTheModelAndTheBytes) {
  test::TempDir dir;
  test::WriteFile(dir.Path("tagged.ace"), kTagged);
  std::vector<std::string> paths = {dir.Path("tagged.ace")};
  for (const std::string& path : test::RealAceFiles()) paths.push_back(path);
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    test::CaptureStderr err;  // a file without base segments has them made, with a message
    AceFile first;
    first.Read(path);
    ASSERT_TRUE(first.WriteAce(dir.Path("first.ace")));
    ASSERT_TRUE(first.WriteAce(dir.Path("first.ace.gz")));
    const std::string written = test::ReadFile(dir.Path("first.ace"));
    ExpectAcceptedByOtherReaders(written);
    AceFile second, compressed;
    second.Read(dir.Path("first.ace"));
    compressed.Read(dir.Path("first.ace.gz"));
    EXPECT_TRUE(second.mValid);
    test::ExpectSameModel(first, second);
    test::ExpectSameModel(second, compressed);
    EXPECT_NE(test::ReadFile(dir.Path("first.ace.gz")), written);
    ASSERT_TRUE(second.WriteAce(dir.Path("second.ace")));
    EXPECT_EQ(written, test::ReadFile(dir.Path("second.ace")));
  }
}

TEST(AceWrite, TagsFollowTheirContigsAndReads) {
  test::TempDir dir;
  test::WriteFile(dir.Path("tagged.ace"), std::string(kTagged) + "RT{\nr4 unclosed tool 1 2\n");
  AceFile ace;
  ace.Read(dir.Path("tagged.ace"));
  const std::vector<AceTag> tags = ace.TagsInFileOrder();
  ASSERT_EQ(4u, tags.size());  // the unclosed tag at the end is dropped
  EXPECT_EQ("RT{\nr2 matchElsewhereHighQual tool 1 3 080215:162048\n}\n", tags[0].mText);
  EXPECT_EQ("CT{\nc2 comment tool 1 4 080215:162048\nCOMMENT{\na contig tag\nC}\n}\n", tags[1].mText);
  ASSERT_EQ(2u, ace.size());
  EXPECT_EQ(2u, ace[0].mTags.size());  // each contig holds the tags on it and its reads
  EXPECT_EQ(1u, ace[1].mTags.size());
  EXPECT_EQ(2u, ace[0].mReads.size());  // the tag after r2 ends nothing
  ace.RemoveContig(0);                  // c1 goes, with r1 and r2
  std::ostringstream out;
  test::CaptureStderr err;
  EXPECT_TRUE(ace.WriteAce(out));
  const std::string text = out.str();
  EXPECT_EQ(std::string::npos, text.find("r2 matchElsewhere"));
  EXPECT_EQ(std::string::npos, text.find("c1 repeat"));
  const std::string tail = std::string("\n\n") + tags[1].mText + "\n" + tags[3].mText + "\n";
  ASSERT_GT(text.size(), tail.size());
  EXPECT_EQ(tail, text.substr(text.size() - tail.size()));
  EXPECT_EQ(0u, text.find("AS 1 2\n\nCO c2 60 2 1 U\n"));
}

// What the records say beyond the model (a complemented contig, the "RD"
// counts, a "DS" line missing or empty) and where each tag stood are kept
// and written back: tags after the read they followed (after the contig
// for its last read), one before the first contig after the header, and a
// contig tag standing in another contig's records after the last contig.
TEST(AceWrite, RecordFieldsAndTagPlacesGoBack) {
  std::string text = kTagged;
  text.replace(text.find("CO c1 7 2 2 U"), 13, "CO c1 7 2 2 C");
  text.replace(text.find("DS x"), 4, "DS ");
  text.replace(text.find("\nCO c1"), 0, "\nWA{\nbefore tool 1\n}\n");
  text.replace(text.find("\nRD r4"), 0, "\nRT{\nr3 tagged tool 2 4 080215:162048\n}\n");
  std::istringstream in(text);
  AceFile ace;
  ace.Read(in);
  ASSERT_EQ(2u, ace.size());
  EXPECT_EQ('C', ace[0].mStrand);
  EXPECT_EQ('U', ace[1].mStrand);
  const auto fields = [](const Contig& c) {
    std::vector<std::string> all;
    for (const ReadRecordFields& f : c.mReadRecords)
      all.push_back(std::to_string(f.mWholeReadItems) + " " + std::to_string(f.mReadTags) + (f.mDescribed ? " DS" : ""));
    return all;
  };
  EXPECT_EQ((std::vector<std::string>{"0 0 DS", "0 1"}), fields(ace[0]));
  EXPECT_EQ((std::vector<std::string>{"0 0 DS", "0 0 DS"}), fields(ace[1]));
  EXPECT_EQ("", ace[1].mReads[1].mDescription);
  const auto places = [](const AceFile& a) {
    std::vector<std::string> all;
    for (const AceTag& tag : a.mTags)
      all.push_back(std::to_string(tag.mContigNumber) + " " + tag.mInContig + " " + std::to_string(tag.mAfterRead));
    return all;
  };
  const std::vector<std::string> expected = {"-1  -1", "0 c1 1", "1 c2 0", "1 c2 1", "1 c2 1", "1 c2 1"};
  EXPECT_EQ(expected, places(ace));

  std::ostringstream out;
  ASSERT_TRUE(ace.WriteAce(out));
  const std::string written = out.str();
  EXPECT_EQ(0u, written.find("AS 2 4\nWA{\nbefore tool 1\n}\n\n\nCO c1 7 2 2 C\n"));
  EXPECT_NE(std::string::npos, written.find("\nRD r2 6 0 1\nC*GTTA\n\nQA 1 6 1 6\n\n\nRT{\nr2 "));
  EXPECT_NE(std::string::npos, written.find("\nDS TEMPLATE: t1 DIRECTION: rev\n\nRT{\nr3 tagged"));
  EXPECT_NE(std::string::npos, written.find("\nQA 1 4 1 4\nDS \n\n\nCT{\nc2 comment"));
  const std::string phrap = "WA{\nphrap_params phrap 080215:162048\nphrap reads.fasta\n}\n\n";
  EXPECT_EQ(written.size() - phrap.size(), written.find(phrap));

  std::istringstream back(written);
  AceFile again;
  again.Read(back);
  EXPECT_EQ(expected, places(again));
  EXPECT_EQ(fields(ace[0]), fields(again[0]));
  EXPECT_EQ(fields(ace[1]), fields(again[1]));
  EXPECT_EQ('C', again[0].mStrand);
  std::ostringstream twice;
  ASSERT_TRUE(again.WriteAce(twice));
  EXPECT_EQ(written, twice.str());

  // Its contig renamed, the read tag of c1 has no place to go back to.
  again[0].mName = "renamed";
  std::ostringstream renamed;
  ASSERT_TRUE(again.WriteAce(renamed));
  const std::string r2Tag = "RT{\nr2 matchElsewhereHighQual tool 1 3 080215:162048\n}\n\n";
  EXPECT_EQ(renamed.str().size() - r2Tag.size(), renamed.str().find(r2Tag));
}

// A contig edited in memory: counts of what it holds, a "BQ" value for every
// base column whatever mQuality holds, "QA" lines made for reads beyond the
// kept ones, and placements missing for a read.
TEST(AceWrite, EditedContigWritesWhatItHolds) {
  Contig contig = test::MakeContig("c", std::string(60, 'A') + "**" + std::string(60, 'C'));
  contig.mQuality.mQualities.assign(130, 7);  // more values than columns
  contig.mQuality.mQualities.resize(100);     // ... now fewer
  test::AddRead(contig, "long", std::string(500, 'A'), 1);
  test::AddRead(contig, "short", "ACGT", 5, 'C', "TEMPLATE: t");
  contig.mBaseSegments.push_back({1, 122, "long"});
  contig.mNumBaseSeqs = 1;
  contig.mPaddedBases = 3;  // stale announced counts
  contig.mNumReads = 9;
  contig.mQALines = {"QA 1 500 1 500", ""};  // an empty line kept stands for none
  contig.mAlignStart.pop_back();  // "short" has lost its placement
  std::ostringstream out;
  test::CaptureStderr err;
  contig.WriteAce(out);
  EXPECT_EQ("ERROR mAlignStart.size()=1 mReads.size()=2\n", err.Text());
  std::vector<std::string> lines;
  std::istringstream written(out.str());
  for (std::string line; std::getline(written, line);) lines.push_back(line);
  std::vector<std::string> expectedStart = {"", "CO c 122 2 1 U", std::string(50, 'A'), std::string(10, 'A') + "**" +
                                            std::string(38, 'C'), std::string(22, 'C'), "", "BQ"};
  std::string bq;
  for (int i = 0; i < 120; ++i) bq += (i < 98 ? "7 " : "0 ");
  ASSERT_GT(lines.size(), 12u);
  for (size_t i = 0; i < expectedStart.size(); ++i) EXPECT_EQ(expectedStart[i], lines[i]);
  EXPECT_EQ(bq.substr(0, 100), lines[7]);
  EXPECT_EQ(bq.substr(100, 98), lines[8]);
  EXPECT_EQ(bq.substr(198), lines[9]);
  EXPECT_EQ("AF long U 1", lines[11]);
  EXPECT_EQ("AF short C 1", lines[12]);
  EXPECT_EQ("BS 1 122 long", lines[13]);
  EXPECT_NE(std::string::npos, out.str().find("\nQA 1 500 1 500\nDS \n"));
  EXPECT_NE(std::string::npos, out.str().find("\nRD short 4 0 0\nACGT\n\nQA 1 3 1 3\nDS TEMPLATE: t\n\n\n"));
}

TEST(AceWrite, AFileThatCannotBeWrittenIsReportedAndLeftAlone) {
  test::TempDir dir;
  AceFile ace;
  std::istringstream in(kTagged);
  ace.Read(in);
  test::CaptureStderr err;
  const std::string name = dir.Path("missing/out.ace");
  EXPECT_FALSE(ace.WriteAce(name));
  EXPECT_EQ(0u, err.Text().find("Unable to write " + name + ": "));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("missing")));
}

}  // namespace
}  // namespace ostrel
