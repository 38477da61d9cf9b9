// ACE files written by other assemblers and editors, read whole.
#include <gtest/gtest.h>

#include <fstream>

#include "AceModelCheck.h"
#include "TestSupport.h"
#include "ace/AceFile.h"

namespace ostrel {
namespace {

std::string RealAce(const std::string& name) { return std::string(OSTREL_TEST_DATA) + "/ace/" + name; }

// What each file holds, taken from its text: counts, the first and the last
// contig, the last contig's first and last placement and its last read.
struct AceCase {
  const char* mFile;
  int mContigs;
  int mReads;
  const char* mFirstContig;
  int mFirstLength;
  const char* mLastContig;
  int mLastLength;
  int mLastReads;
  int mLastSegments;
  int mFirstStart;
  char mLastStrand;
  int mLastStart;
  const char* mLastRead;
  const char* mLastDescription;
};

const AceCase kCases[] = {
    {"27-contig_Newbler.ace", 1, 27, "contig00001", 203, "contig00001", 203, 27, 38, 102, 'U', 25,
     "species2066|9064",
     "CHROMAT_FILE: species2066|9064 PHD_FILE: species2066|9064.phd.1 TIME: Thu Jul 27 12:33:48 2000"},
    {"acefile.ace.1", 53, 114, "Contig1", 796, "Contig53", 615, 7, 124, -747, 'U', -174, "LL2316r",
     "CHROMAT_FILE: LL2316r PHD_FILE: LL2316r.phd.1 CHEM: unknown DYE: unknown TIME: Tue Sep 19 09:45:30 2000"},
    {"assembly_with_singlets.ace", 36, 39, "Contig1|", 131, "Contig36", 111, 2, 63, 1, 'U', 1, "5703145", ""},
    {"consed_sample.ace", 1, 8, "Contig1", 1475, "Contig1", 1475, 8, 156, 498, 'C', 408, "K26-766c",
     "CHROMAT_FILE: K26-766c PHD_FILE: K26-766c.phd.1 TIME: Thu Sep 12 15:42:35 1996"},
    {"contig1.ace", 2, 16, "Contig1", 856, "Contig2", 3296, 14, 214, 1, 'C', 2445, "BL060c2-LR0R.b.ab1",
     "CHROMAT_FILE: BL060c2-LR0R.b.ab1 PHD_FILE: BL060c2-LR0R.b.ab1.phd.1 CHEM: term DYE: big TIME: Wed Nov 12 "
     "08:16:29 2003"},
    {"seq.cap.ace", 1, 6, "Contig1", 1222, "Contig1", 1222, 6, 0, -53, 'C', 517, "R6", ""},
    {"singlet_w_CT.ace", 1, 1, "Contig14", 934, "Contig14", 934, 1, 1, 1, 'U', 1, "rt21f229.x.scf",
     "CHROMAT_FILE: rt21f229.x.scf PHD_FILE: rt21f229.x.scf.phd.1 CHEM: term DYE: big TIME: Wed Feb 11 15:31:12 "
     "2009 TEMPLATE: rt21f229 DIRECTION: fwd"},
    {"test_project.fasta.screen.ace.2", 1, 2, "Contig12", 708, "Contig12", 708, 2, 51, -5, 'C', 1, "ML4924R",
     "CHROMAT_FILE: ML4924R PHD_FILE: ML4924R.phd.1 CHEM: term DYE: big TIME: Thu Jun 21 11:27:03 2001"},
};

TEST(AceRealFiles, EachFileReadsWholeAndQuietly) {
  for (const AceCase& c : kCases) {
    SCOPED_TRACE(c.mFile);
    AceFile ace;
    test::CaptureStdout out;
    test::CaptureStderr err;
    ace.Read(RealAce(c.mFile));
    EXPECT_EQ("", out.Text());
    EXPECT_EQ("", err.Text());
    EXPECT_TRUE(ace.mValid);
    EXPECT_EQ(c.mContigs, ace.mNumContigs);
    EXPECT_EQ(c.mReads, ace.mNumReads);
    ASSERT_EQ(static_cast<size_t>(c.mContigs), ace.size());
    int reads = 0;
    for (const Contig& contig : ace) {
      reads += static_cast<int>(contig.mReads.size());
      EXPECT_EQ(contig.mNumReads, static_cast<int>(contig.mReads.size())) << contig.mName;
      EXPECT_EQ(contig.mReads.size(), contig.mAlignStart.size()) << contig.mName;
      EXPECT_EQ(contig.mBases.size(), ace.mContigQuality[&contig - &ace[0]].mQualities.size()) << contig.mName;
      for (size_t i = 0; i < contig.mReads.size(); ++i)
        EXPECT_EQ(contig.mReads[i].mBases.size(), contig.mReadQuality[i].mQualities.size());
    }
    EXPECT_EQ(c.mReads, reads);
    EXPECT_EQ(c.mFirstContig, ace.front().mName);
    EXPECT_EQ(static_cast<size_t>(c.mFirstLength), ace.front().mBases.size());
    const Contig& last = ace.back();
    EXPECT_EQ(c.mLastContig, last.mName);
    EXPECT_EQ(static_cast<size_t>(c.mLastLength), last.mBases.size());
    ASSERT_EQ(static_cast<size_t>(c.mLastReads), last.mReads.size());
    EXPECT_EQ(static_cast<size_t>(c.mLastSegments), last.mBaseSegments.size());
    EXPECT_EQ(c.mFirstStart, last.mAlignStart.front());
    EXPECT_EQ(c.mLastStrand, last.mComplemented.back());
    EXPECT_EQ(c.mLastStart, last.mAlignStart.back());
    EXPECT_EQ(c.mLastRead, last.mReads.back().mName);
    EXPECT_EQ(c.mLastDescription, last.mReads.back().mDescription);
  }
}

TEST(AceRealFiles, TemplatesComeFromDescriptions) {
  AceFile ace;
  ace.Read(RealAce("singlet_w_CT.ace"));
  EXPECT_EQ("rt21f229", ace[0].mReadTemplate.at("rt21f229.x.scf"));
  EXPECT_EQ(0, ace[0].mReadDirection.at(0));
}

// Files that leave the usual record order: reads without "DS" lines keep an
// empty description and are not overwritten by the next read.
TEST(AceRealFiles, ReadsWithoutDescriptionsAreKept) {
  AceFile ace;
  ace.Read(RealAce("contig1.ace"));
  std::vector<std::string> undescribed;
  for (const Contig& contig : ace)
    for (const Sequence& read : contig.mReads)
      if (read.mDescription.empty()) undescribed.push_back(read.mName);
  EXPECT_EQ((std::vector<std::string>{"BL060c3-LR5.g.ab1", "BL060c3-LR0R.b.ab1", "BL060c2-LR5.g.ab1"}),
            undescribed);

  AceFile singlets;
  singlets.Read(RealAce("assembly_with_singlets.ace"));
  for (const Contig& contig : singlets)
    for (const Sequence& read : contig.mReads) EXPECT_EQ("", read.mDescription) << read.mName;
  EXPECT_EQ("5765593", singlets[0].mReads[0].mName);
}

// A copy of `path` compressed with gzip.
std::string Gzipped(const std::string& path, const test::TempDir& dir) {
  const std::string out = dir.Path("copy.ace.gz");
  test::WriteGzipFile(out, test::ReadFile(path));
  return out;
}

TEST(AceRealFiles, GzipAndPlainCopiesGiveTheSameModel) {
  test::TempDir dir;
  for (const char* name : {"acefile.ace.1", "contig1.ace", "seq.cap.ace"}) {
    SCOPED_TRACE(name);
    AceFile plain, compressed;
    plain.Read(RealAce(name));
    compressed.Read(Gzipped(RealAce(name), dir));
    test::ExpectSameModel(plain, compressed);
  }
}

// A gzip file cut short or changed is said to be damaged, and the assembly
// is invalid; so is one read with a damaged quality file. A file cut short
// keeps the contigs before the cut (a changed byte may lose the whole
// block being inflated).
TEST(AceRealFiles, DamagedGzipFilesAreReportedAndInvalid) {
  test::TempDir dir;
  const std::string packed = test::ReadFile(Gzipped(RealAce("acefile.ace.1"), dir));
  std::string changed = packed;
  changed[packed.size() / 2] = static_cast<char>(changed[packed.size() / 2] ^ 1);
  const std::string damaged = dir.Path("damaged.ace.gz");
  for (const std::string& bytes : {packed.substr(0, packed.size() / 3), packed.substr(0, packed.size() - 4),
                                   changed}) {
    const bool cut = bytes.size() < packed.size();
    test::WriteFile(damaged, bytes);
    for (int withQualities = 0; withQualities < 2; ++withQualities) {
      AceFile ace;
      test::CaptureStdout out;
      test::CaptureStderr err;
      if (withQualities)
        ace.ReadAll(damaged, damaged);  // the quality file is damaged too: two lines
      else
        ace.Read(damaged);
      const std::string said =
          "ERROR: " + damaged + " is damaged or truncated; what was read before the damage is kept.\n";
      EXPECT_NE(std::string::npos, err.Text().find(said)) << err.Text();
      if (withQualities) {
        EXPECT_NE(err.Text().find(said), err.Text().rfind(said));
      }
      EXPECT_FALSE(ace.mValid);
      if (cut) {
        ASSERT_FALSE(ace.empty());
        EXPECT_EQ("Contig1", ace[0].mName);
      }
    }
  }
}

// Reading a file works on each contig as soon as the reader has passed it;
// the result and the messages must be those of the whole-assembly steps run
// one after another.
AceFile ReadStepByStep(const std::string& path, std::string& messages) {
  AceFile ace;
  test::CaptureStderr err;
  std::ifstream in(path);
  ace.Read(in);
  ace.HandTagsToContigs();
  ace.BuildReadHash();
  ace.CopyBQToQuality();
  ace.AddFakeQualityValues();
  ace.CalculateContigTrims(ace.mContigTrimQuality);
  ace.CalculateReadTrims(ace.mReadTrimQuality);
  ace.ComputeAllContigStats();
  messages = err.Text();
  return ace;
}

TEST(AceRealFiles, ReadingAFileEqualsTheStepsOneAfterAnother) {
  test::TempDir dir;
  // Announces three contigs and holds two; trailing pads leave the consensus
  // short of values; one read carries X ends.
  test::WriteFile(dir.Path("odd.ace"),
                  "AS 3 3\n\nCO c1 6 2 1 U\nACGT**\n\nBQ\n30 30 30 30\n\nAF r1 U 1\nAF r2 C 1\nBS 1 6 r1\n\n"
                  "RD r1 6 0 0\nACGT**\n\nQA 1 6 1 6\nDS TEMPLATE: t1 DIRECTION: fwd\n\n"
                  "RD r2 4 0 0\nACGT\n\nDS TEMPLATE: t1 DIRECTION: rev\n\n"
                  "CO c2 60 1 1 U\n" + std::string(60, 'A') + "\n\nBQ\n" + std::string(30, '9') + "\n\n"
                  "AF r3 U 1\nBS 1 60 r3\n\nRD r3 60 0 0\nXX" + std::string(58, 'C') + "\n\nDS x\n");
  // Two files run together: the first header announces the contigs of one.
  test::WriteFile(dir.Path("joined.ace"), test::ReadFile(RealAce("contig1.ace")) + "\n" +
                                               test::ReadFile(RealAce("acefile.ace.1")));
  std::vector<std::string> paths = {dir.Path("odd.ace"), dir.Path("joined.ace")};
  for (const AceCase& file : kCases) paths.push_back(RealAce(file.mFile));
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    std::string stepMessages;
    const AceFile steps = ReadStepByStep(path, stepMessages);
    AceFile read;
    test::CaptureStderr err;
    read.Read(path);
    EXPECT_EQ(stepMessages, err.Text());
    test::ExpectSameModel(steps, read);
  }
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

// Every tag comes back from a read and a write, wherever the file placed
// it (between a contig's base segments and its reads, between reads, after
// the last contig, whole-read tags, kinds of any name, nested blocks), and
// after each contig is reversed twice; and every read is read.
TEST(AceRealFiles, ReadAndWriteGiveEveryTagBack) {
  std::vector<std::string> paths = test::RealAceFiles();
  for (const char* shape : {"contig_tags_before_reads.ace", "whole_read_and_nested_tags.ace"})
    paths.push_back(std::string(OSTREL_TEST_DATA) + "/ace_shapes/" + shape);
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    const std::multiset<std::string> given = test::TagRecords(test::ReadFile(path));
    AceFile ace;
    test::CaptureStdout out;
    test::CaptureStderr err;
    ace.Read(path);
    EXPECT_TRUE(ace.mValid);
    std::ostringstream written;
    ASSERT_TRUE(ace.WriteAce(written));
    EXPECT_EQ(given, test::TagRecords(written.str()));
    for (int twice = 0; twice < 2; ++twice)
      for (Contig& contig : ace) contig.ReverseComplementContig();
    std::ostringstream turned;
    ASSERT_TRUE(ace.WriteAce(turned));
    EXPECT_EQ(given, test::TagRecords(turned.str()));
  }
}

}  // namespace
}  // namespace ostrel
