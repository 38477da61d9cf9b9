// Tests of attaching read quality records to padded, complemented and
// repeated reads, the consensus-quality copy and the fake values.
#include <gtest/gtest.h>

#include "ContigBuilder.h"
#include "TestSupport.h"
#include "ace/AceFile.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::MakeContig;
using Values = std::vector<int>;

SequenceQuality Record(const std::string& name, const Values& values, const std::string& description = "") {
  SequenceQuality q;
  q.mName = name;
  q.mDescription = description;
  q.mQualities = values;
  return q;
}

// One contig per strand character, each holding read r1 = A*CG on that strand.
AceFile ReadPlacedAs(const std::string& strands) {
  AceFile ace;
  for (char strand : strands) {
    Contig contig = MakeContig("C" + std::to_string(ace.size()), "TTA*CGTT");
    AddRead(contig, "other", "TT", 1);
    AddRead(contig, "r1", "A*CG", 3, strand);
    contig.mReadQuality.resize(2);
    ace.push_back(contig);
  }
  ace.BuildReadHash();
  return ace;
}

const Values& ReadValues(const AceFile& ace, int contig) { return ace[contig].mReadQuality[1].mQualities; }

TEST(QualityAttach, PadsGetZero) {
  AceFile ace = ReadPlacedAs("U");
  SequenceQuality q = Record("r1", {10, 20, 30}, "CHROMAT");
  ace.AddReadQuality(q);
  EXPECT_EQ(ReadValues(ace, 0), Values({10, 0, 20, 30}));
  EXPECT_EQ(ace[0].mReadQuality[1].mName, "r1");
  EXPECT_EQ(ace[0].mReadQuality[1].mDescription, "CHROMAT");
  EXPECT_EQ(q.mQualities, Values({10, 20, 30}));
  EXPECT_TRUE(ace[0].mReadQuality[0].mQualities.empty());
}

TEST(QualityAttach, ComplementedReadGetsValuesTurnedRound) {
  AceFile ace = ReadPlacedAs("C");
  SequenceQuality q = Record("r1", {10, 20, 30});
  ace.AddReadQuality(q);
  EXPECT_EQ(ReadValues(ace, 0), Values({30, 0, 20, 10}));
  EXPECT_EQ(q.mQualities, Values({30, 20, 10}));  // the record itself is turned round
}

TEST(QualityAttach, EveryPlacementStartsFromTheRecordsOwnOrder) {
  AceFile twice = ReadPlacedAs("CC");
  SequenceQuality q = Record("r1", {10, 20, 30});
  twice.AddReadQuality(q);
  EXPECT_EQ(ReadValues(twice, 0), Values({30, 0, 20, 10}));
  EXPECT_EQ(ReadValues(twice, 1), Values({30, 0, 20, 10}));

  AceFile mixed = ReadPlacedAs("CUC");
  SequenceQuality r = Record("r1", {10, 20, 30});
  mixed.AddReadQuality(r);
  EXPECT_EQ(ReadValues(mixed, 0), Values({30, 0, 20, 10}));
  EXPECT_EQ(ReadValues(mixed, 1), Values({10, 0, 20, 30}));
  EXPECT_EQ(ReadValues(mixed, 2), Values({30, 0, 20, 10}));
}

TEST(QualityAttach, FirstRecordWins) {
  AceFile ace = ReadPlacedAs("U");
  SequenceQualityVector records;
  records.push_back(Record("r1", {10, 20, 30}, "first"));
  records.push_back(Record("r1", {1, 2, 3}, "second"));
  records.push_back(Record("nowhere", {5}));
  test::CaptureStdout out;
  ace.AddReadsQuality(records);
  EXPECT_EQ(out.Text(), "AceFile::Add 3 read qualities.\n");
  EXPECT_EQ(ReadValues(ace, 0), Values({10, 0, 20, 30}));
  EXPECT_EQ(ace[0].mReadQuality[1].mDescription, "first");
}

TEST(QualityAttach, AddReadsQualitySizesTheListsToTheReads) {
  AceFile ace = ReadPlacedAs("UU");
  ace[0].mReadQuality.resize(5);
  ace[1].mReadQuality.clear();
  SequenceQualityVector records;
  records.push_back(Record("r1", {10, 20, 30}));
  test::CaptureStdout out;
  ace.AddReadsQuality(records);
  EXPECT_EQ(ace[0].mReadQuality.size(), 2u);
  EXPECT_EQ(ReadValues(ace, 1), Values({10, 0, 20, 30}));
}

TEST(QualityAttach, PadsAtTheEndsAndInRunsGetZero) {
  AceFile ace;
  Contig contig = MakeContig("C0", "**AC*GT***ACGT");
  AddRead(contig, "r1", "**AC*GT***A", 1);
  contig.mReadQuality.resize(1);
  ace.push_back(contig);
  ace.BuildReadHash();
  SequenceQuality q = Record("r1", {1, 2, 3, 4, 5});
  ace.AddReadQuality(q);
  EXPECT_EQ(ace[0].mReadQuality[0].mQualities, Values({0, 0, 1, 2, 0, 3, 4, 0, 0, 0, 5}));
}

TEST(QualityAttach, TooFewValuesReportEachMissingOne) {
  AceFile ace = ReadPlacedAs("U");
  SequenceQuality q = Record("r1", {10});
  test::CaptureStderr err;
  ace.AddReadQuality(q);
  EXPECT_EQ(err.Text(),
            "r1 Hey tempsize=1 idx=1\t readsize=4\n"
            "r1 Hey tempsize=1 idx=1\t readsize=4\n");
  EXPECT_EQ(ReadValues(ace, 0), Values({10, 0}));
}

TEST(QualityAttach, SurplusValuesAreIgnored) {
  AceFile ace = ReadPlacedAs("U");
  SequenceQuality q = Record("r1", {10, 20, 30, 40, 50});
  ace.AddReadQuality(q);
  EXPECT_EQ(ReadValues(ace, 0), Values({10, 0, 20, 30}));
}

TEST(QualityAttach, ReadWithoutQualitySlotIsLeftAlone) {
  AceFile ace = ReadPlacedAs("U");
  ace[0].mReadQuality.clear();  // lists not yet sized to the reads
  SequenceQuality q = Record("r1", {10, 20, 30});
  ace.AddReadQuality(q);
  EXPECT_TRUE(ace[0].mReadQuality.empty());
  ace.mReadContigMap.emplace("r1", 5);  // an index past the contigs
  ace[0].mReadQuality.resize(2);
  ace.AddReadQuality(q);
  EXPECT_EQ(ReadValues(ace, 0), Values({10, 0, 20, 30}));
}

TEST(QualityAttach, CopyBQToQualityCopiesEveryContig) {
  AceFile ace = ReadPlacedAs("UU");
  ace[1].mQuality.mQualities = {7, 8};
  ace.CopyBQToQuality();
  ASSERT_EQ(ace.mContigQuality.size(), 2u);
  EXPECT_TRUE(ace.mContigQuality[0].mQualities.empty());
  EXPECT_EQ(ace.mContigQuality[1].mQualities, Values({7, 8}));
}

TEST(QualityAttach, FakeValuesFillMissingQualitiesSilently) {
  AceFile ace;
  ace.push_back(MakeContig("C", std::string(100, 'A')));
  AddRead(ace[0], "r", std::string(12, 'A'), 1);
  test::CaptureStderr err;
  ace.AddFakeQualityValues();
  EXPECT_EQ(err.Text(), "");
  EXPECT_EQ(ace.mContigQuality[0].mQualities, Values(100, 20));
  ASSERT_EQ(ace[0].mReadQuality.size(), 1u);
  EXPECT_EQ(ace[0].mReadQuality[0].mQualities, Values(12, 0));
}

TEST(QualityAttach, FakeValuesReplaceMisfitsWithMessages) {
  AceFile ace;
  ace.push_back(MakeContig("C", "ACGT"));
  AddRead(ace[0], "r", std::string(12, 'A'), 1);
  AddRead(ace[0], "s", "AC", 1);
  ace.mContigQuality.resize(1);
  ace.mContigQuality[0].mQualities = {1, 2};
  ace[0].mQuality.mQualities = {1, 2, 3};
  ace[0].mReadQuality.resize(1);
  ace[0].mReadQuality[0].mQualities = {1, 2, 3, 4, 5};
  test::CaptureStderr err;
  ace.AddFakeQualityValues();
  EXPECT_EQ(err.Text(),
            "Forcing quality size match:C size=4 qual size=2 BQ.size=3\n"
            "Forcing size match: C read size=2C quality size=1\n"
            "\t Forcing size to match: r readsize=12 qual size=5\n");
  EXPECT_EQ(ace.mContigQuality[0].mQualities, Values(4, 20));
  EXPECT_EQ(ace[0].mReadQuality[0].mQualities, Values(12, 0));
  EXPECT_EQ(ace[0].mReadQuality[1].mQualities, Values(2, 0));
}

// Contigs are filled side by side; their messages still come in contig
// order.
TEST(QualityAttach, MessagesOfManyContigsComeInContigOrder) {
  AceFile ace;
  std::string expected;
  for (int c = 0; c < 200; ++c) {
    const std::string name = "C" + std::to_string(c);
    ace.push_back(MakeContig(name, "ACGT"));
    AddRead(ace[c], name + "r", "ACG", 1);
    ace[c].mReadQuality.resize(1);
    if (c % 7 == 0) {
      ace[c].mReadQuality[0].mQualities = {30};
      expected += "\t Forcing size to match: " + name + "r readsize=3 qual size=1\n";
    }
  }
  test::CaptureStderr err;
  ace.AddFakeQualityValues();
  EXPECT_EQ(expected, err.Text());
  for (const Contig& contig : ace) EXPECT_EQ(contig.mReadQuality[0].mQualities, Values(3, 0));
}

}  // namespace
}  // namespace ostrel
