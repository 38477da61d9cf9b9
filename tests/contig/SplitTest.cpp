// Tests of contig splitting: the stretch a set of reads covers, the sorting
// of reads around a suspect region, and the split that moves them out.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ContigBuilder.h"
#include "TestSupport.h"
#include "ace/AceFile.h"
#include "ace/Contig.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::CaptureStderr;
using test::CaptureStdout;
using test::Describe;
using test::ExpectReadEntriesInStep;
using test::MakeContig;
using Names = std::vector<std::string>;

// Reads l .. both2 around the region 10 .. 20 of a 30-column contig, with
// good pairs t1 (la, ra) and t2 (both, both2).
Contig RegionContig() {
  Contig contig = MakeContig("C", "ACGTACGTACGTACGTACGTACGTACGTAC");
  AddRead(contig, "l", "ACGTA", 1);                                      // 0 .. 4
  AddRead(contig, "la", "CGTACG", 8, 'U', Describe("t1", "fwd"));       // 7 .. 12, covers a
  AddRead(contig, "ra", "CGTACG", 18, 'C', Describe("t1", "rev"));      // 17 .. 22, covers b
  AddRead(contig, "m", "TAC", 13);                                       // 12 .. 14, inside
  AddRead(contig, "mb", "GTAC", 19);                                     // 18 .. 21, covers b unmated
  AddRead(contig, "r", "ACGT", 25);                                      // 24 .. 27, right of b
  AddRead(contig, "both", std::string("ACGTACGTACGTACGTACGT"), 5, 'U', Describe("t2", "fwd"));  // 4 .. 23
  AddRead(contig, "both2", "CGT", 26, 'C', Describe("t2", "rev"));      // 25 .. 27
  contig.mReadQuality.resize(contig.mReads.size());
  for (size_t i = 0; i < contig.mReads.size(); ++i)
    contig.mReadQuality[i].mQualities.assign(contig.mReads[i].mBases.size(), 30);
  contig.mQuality.mQualities.assign(30, 40);
  contig.RebuildTemplateInfo();
  contig.GetTemplateInfo(contig.mTemplates);
  return contig;
}

// Standard output without the examples of uncovered columns.
std::string WithoutExamples(const std::string& text) {
  std::istringstream lines(text);
  std::string line, kept;
  while (std::getline(lines, line))
    if (line.rfind("\tconsensus ", 0) != 0) kept += line + "\n";
  return kept;
}

TEST(Split, ChangePointsAndReadSets) {
  Contig contig = RegionContig();
  int start = 7, end = 7;
  {
    CaptureStderr err;
    contig.FindConsensusChangePoints({"m", "zz", "mb"}, start, end);
    EXPECT_EQ(err.Text(), "ERROR: mReadIdxMap does not contain zz\n");
  }
  EXPECT_EQ(start, 13);  // 1-based start of m
  EXPECT_EQ(end, 22);    // last 1-based position of mb
  contig.FindConsensusChangePoints({}, start, end);
  EXPECT_EQ(start, 29);
  EXPECT_EQ(end, 0);
  contig.FindConsensusChangePoints({"both"}, start, end);
  EXPECT_EQ(start, 5);
  EXPECT_EQ(end, 24);
  Contig empty;
  empty.FindConsensusChangePoints({}, start, end);
  EXPECT_EQ(start, -1);
  EXPECT_EQ(end, -1);

  Names left = {"stale"}, middle, right;
  contig.FindReadSets(10, 20, left, middle, right);
  EXPECT_EQ(left, (Names{"l", "la"}));
  EXPECT_EQ(middle, (Names{"m", "mb"}));
  EXPECT_EQ(right, (Names{"ra", "r", "both", "both2"}));  // both covers a and b with a good mate
  contig.mTemplates.clear();  // without the summary no read has a good mate
  contig.FindReadSets(10, 20, left, middle, right);
  EXPECT_EQ(middle, (Names{"la", "ra", "m", "mb", "both"}));

  AddRead(contig, "lost", "A", 1);
  contig.mAlignStart.pop_back();  // out of step: the read has no start
  CaptureStderr err;
  contig.FindReadSets(INT_MIN, INT_MAX, left, middle, right);
  EXPECT_EQ(err.Text(),
            "\tERROR BUG  This read has no home: lost\n"
            "ERROR: Left+Middle+Right=8 mReads.size=9\n"
            "ERROR: Left = 0\tMiddle=8\tRight=0\n");
}

TEST(Split, SplitMovesTheOuterReadsAndDumpsThem) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.Path("wextest"));
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.Dir());
  Contig contig = RegionContig();
  Contig middle, right;
  std::string out;
  {
    CaptureStdout capture;
    CaptureStderr quiet;
    contig.SplitContig(10, 20, middle, right);
    out = capture.Text();
  }
  std::filesystem::current_path(before);
  EXPECT_EQ(WithoutExamples(out),
            "\tC\tSplitContig: 10\t20\t2\t2\t4\n"
            "CR\tNewC size=23 NumReads: 4\n"
            "C\tsize=30 NumReads: 4\n"
            "After compute consensus: C\tsize=22 NumReads: 4\n"
            "CM\tNewC size=9 NumReads: 2\n"
            "C\tsize=22 NumReads: 2\n"
            "After compute consensus: C\tsize=13 NumReads: 2\n");
  EXPECT_EQ(contig.mName, "CL");
  EXPECT_EQ(right.mAlignStart, (std::vector<int>{13, 20, 0, 21}));
  EXPECT_EQ(right.mOriginalMinStart, 5);
  EXPECT_EQ(middle.mAlignStart, (std::vector<int>{0, 6}));
  EXPECT_EQ(test::ReadFile(dir.Path("wextest/CR")).rfind("\nCO CR 23 4 ", 0), 0u);
  EXPECT_EQ(test::ReadFile(dir.Path("wextest/CM")).rfind("\nCO CM 9 2 ", 0), 0u);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat info;
  ASSERT_EQ(::stat(dir.Path("wextest/CR").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0664u & ~mask);
}

TEST(Split, SplitKeepsEveryReadOnce) {
  std::mt19937 rng(17);
  for (int round = 0; round < 300; ++round) {
    Contig contig = test::RandomContig(rng);
    contig.GetTemplateInfo(contig.mTemplates);
    const int length = static_cast<int>(contig.mBases.size());
    int a = static_cast<int>(rng() % static_cast<unsigned>(length + 1));
    int b = a + static_cast<int>(rng() % 10);
    Names left, middle, right;
    contig.FindReadSets(a, b, left, middle, right);
    const Contig original = contig;
    Contig middleContig, rightContig;
    {
      CaptureStdout quietOut;
      CaptureStderr quiet;
      contig.SplitContig(a, b, middleContig, rightContig);
    }
    EXPECT_EQ(contig.mName, original.mName + "L");
    EXPECT_EQ(middleContig.mName, middle.empty() ? "" : original.mName + "M");
    EXPECT_EQ(rightContig.mName, right.empty() ? "" : original.mName + "R");

    // Each piece holds its list, in order, each read as it was but for the
    // shift that brings the piece's smallest start to 0.
    const std::pair<const Contig*, const Names*> pieces[] = {
        {&contig, &left}, {&middleContig, &middle}, {&rightContig, &right}};
    for (const auto& [piece, names] : pieces) {
      ExpectReadEntriesInStep(*piece, true);
      ASSERT_EQ(piece->mReads.size(), names->size());
      const int shift = piece == &contig ? 0 : piece->mOriginalMinStart;
      for (size_t k = 0; k < names->size(); ++k) {
        const int i = original.mReadIdxMap.at((*names)[k]);
        EXPECT_EQ(piece->mReads[k].mName, (*names)[k]);
        EXPECT_EQ(piece->mReads[k].mBases, original.mReads[i].mBases);
        EXPECT_EQ(piece->mComplemented[k], original.mComplemented[i]);
        EXPECT_EQ(piece->mAlignStart[k], original.mAlignStart[i] - shift);
        EXPECT_EQ(piece->mReadQuality[k].mQualities, original.mReadQuality[i].mQualities);
        EXPECT_EQ(piece->mQALines[k], original.mQALines[i]);
      }
      if (piece != &contig && !names->empty()) {
        // A split-off piece is voted whole.
        for (int p = 0; p < static_cast<int>(piece->mBases.size()); ++p) {
          char base = 'N';
          int quality = 0;
          piece->ComputeConsensus(p, base, quality);
          EXPECT_EQ(piece->mBases[p], base) << p;
          EXPECT_EQ(piece->mQuality.mQualities[p], quality) << p;
        }
        EXPECT_EQ(piece->mNumReads, static_cast<int>(names->size()));
      }
    }
    EXPECT_TRUE(contig.mBases.empty() || contig.mBases.back() != '*' || (right.empty() && middle.empty()));
  }
}

TEST(Split, SplitRightDropsAndMoves) {
  Contig contig = RegionContig();
  Contig moved;
  std::string out;
  {
    CaptureStdout capture;
    CaptureStderr quiet;
    contig.SplitContigRight({"mb", "zz"}, {"r", "both2"}, 22, 12345, moved);
    out = capture.Text();
  }
  EXPECT_EQ(WithoutExamples(out), "newRight=2\n");
  EXPECT_EQ(moved.mName, "CA");
  EXPECT_EQ(moved.mAlignStart, (std::vector<int>{0, 1}));
  EXPECT_EQ(std::string(moved.mBases.begin(), moved.mBases.end()), "CGT");
  Names left;
  for (const Sequence& read : contig.mReads) left.push_back(read.mName);
  EXPECT_EQ(left, (Names{"l", "la", "ra", "m", "both"}));
  // Columns 24 onward lost every read and are trimmed away as pads.
  EXPECT_EQ(contig.mBases.size(), 24u);
  EXPECT_EQ(contig.mNumReads, 5);
  ExpectReadEntriesInStep(contig, false);
}

// Reads are cut by index, not name: contig1.ace holds two reads named
// BL060-LR3R.b.ab1 (857 and 874 bases), and each lands once in the pieces.
TEST(Split, ReadsSharingANameEachGoWhereTheyLie) {
  AceFile ace;
  CaptureStdout out;
  CaptureStderr err;
  ace.Read(std::string(OSTREL_TEST_DATA) + "/ace/contig1.ace");
  auto reads = [](const AceFile& assembly) {
    std::multiset<std::pair<std::string, std::string>> all;
    for (const Contig& contig : assembly)
      for (const Sequence& read : contig.mReads) all.emplace(read.mName, test::BasesOf(read));
    return all;
  };
  const auto before = reads(ace);
  std::set<size_t> lengths;  // of the two reads of that name
  for (const auto& [name, bases] : before)
    if (name == "BL060-LR3R.b.ab1") lengths.insert(bases.size());
  ASSERT_EQ(2u, lengths.size());
  for (int at : {999, 1999, 2999}) {
    AceFile cut = ace;
    std::vector<int> starts = {at}, ends = {at + 200};
    cut[1].GetTemplateInfo(cut[1].mTemplates);
    cut.MultiSplitContig(0, 1, starts, ends);
    EXPECT_EQ(before, reads(cut)) << at;
  }
}

}  // namespace
}  // namespace ostrel
