#include "seq/FastaRecord.h"

#include <gtest/gtest.h>

#include <sstream>

#include "TestSupport.h"

namespace ostrel {
namespace {

TEST(FastaRecord, ReadsRecordsOneByOne) {
  std::istringstream in("stray line before any header\n"
                        ">r1 the first\tread \r\nAC GT\r\nac\n\n"
                        ">r2\n"
                        ">  r3\nTT\n>\nG");
  struct Expected {
    const char* mName;
    const char* mDescription;
    const char* mBases;
  } expected[] = {{"r1", "the first\tread", "ACGTac"}, {"r2", "", ""}, {"r3", "", "TT"}, {"", "", "G"}};
  Sequence record = test::MakeSequence("old", "old", "old");
  for (const Expected& e : expected) {
    ASSERT_TRUE(ReadFastaRecord(in, record)) << e.mName;
    EXPECT_EQ(e.mName, record.mName);
    EXPECT_EQ(e.mDescription, record.mDescription);
    EXPECT_EQ(e.mBases, test::BasesOf(record));
  }
  EXPECT_FALSE(ReadFastaRecord(in, record));
  std::istringstream none("no header at all\nACGT\n");
  EXPECT_FALSE(ReadFastaRecord(none, record));
}

TEST(FastaRecord, FastqRecordsWithQualityLinesLikeHeaders) {
  std::istringstream fastq("\n@r1 two lines\r\nAC\r\nGT\r\n+r1\r\n@I\r\nII\r\n@r2\nA\n+\n>\n@r4\nACG\n+\nI\n");
  struct Expected {
    const char* mName;
    const char* mDescription;
    const char* mBases;
  } expected[] = {{"r1", "two lines", "ACGT"}, {"r2", "", "A"}};
  Sequence record;
  for (const Expected& e : expected) {
    ASSERT_TRUE(ReadSequenceRecord(fastq, record)) << e.mName;
    EXPECT_EQ(e.mName, record.mName);
    EXPECT_EQ(e.mDescription, record.mDescription);
    EXPECT_EQ(e.mBases, test::BasesOf(record));
  }
  EXPECT_FALSE(ReadSequenceRecord(fastq, record));  // r4 is cut short
  EXPECT_TRUE(fastq.bad());
}

}  // namespace
}  // namespace ostrel
