#include "util/FileUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "util/LineScan.h"

namespace ostrel {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Today's local date, the date a file made now carries.
std::tm Today() {
  const std::time_t now = std::time(nullptr);
  std::tm date;
  localtime_r(&now, &date);
  return date;
}

TEST(FileUtil, ExistenceAndSize) {
  TempDir dir;
  WriteFile(dir.Path("seven"), "1234567");
  EXPECT_TRUE(FileExists(dir.Path("seven")));
  EXPECT_FALSE(FileExists(dir.Path("none")));
  EXPECT_EQ(7, FileSize(dir.Path("seven")));
  EXPECT_EQ(-1, FileSize(dir.Path("none")));
}

TEST(FileUtil, DateStampOfStatusChange) {
  TempDir dir;
  WriteFile(dir.Path("new"), "x");
  const std::tm today = Today();
  char expected[32];
  std::snprintf(expected, sizeof expected, "%04d%02d%02d", today.tm_year + 1900, today.tm_mon + 1,
                today.tm_mday);
  EXPECT_EQ(expected, GetDateStamp(dir.Path("new")));
  EXPECT_EQ("00000000", GetDateStamp(dir.Path("none")));
}

TEST(FileUtil, NewerThanComparesYearThenMonthThenDay) {
  TempDir dir;
  const std::string name = dir.Path("new");
  WriteFile(name, "x");
  const std::tm today = Today();
  const int year = today.tm_year + 1900, month = today.tm_mon + 1, day = today.tm_mday;
  EXPECT_FALSE(FileIsNewerThan(name, year, month, day));
  std::tm yesterday = today;
  yesterday.tm_mday -= 1;
  std::mktime(&yesterday);  // normalises across month and year ends
  EXPECT_TRUE(FileIsNewerThan(name, yesterday.tm_year + 1900, yesterday.tm_mon + 1, yesterday.tm_mday));
  EXPECT_FALSE(FileIsNewerThan(name, year, month, day + 1));
  EXPECT_TRUE(FileIsNewerThan(name, year - 1, 12, 31));  // an earlier year wins over month and day
  EXPECT_FALSE(FileIsNewerThan(name, year + 1, 1, 1));
  EXPECT_TRUE(FileIsNewerThan(name, year, month - 1, 31));
  EXPECT_FALSE(FileIsNewerThan(name, year, month + 1, 0));
  EXPECT_FALSE(FileIsNewerThan(dir.Path("none"), 1900, 1, 1));
}

TEST(FileUtil, SuffixAfterTheLastDot) {
  EXPECT_EQ("old/reads", GetFileSuffix("dir.old/reads"));
  EXPECT_EQ("gz", GetFileSuffix("reads.fa.gz"));
  EXPECT_EQ("", GetFileSuffix("reads"));
  EXPECT_EQ("", GetFileSuffix("reads."));
}

TEST(FileUtil, UniquifyNameSkipsExistingNames) {
  TempDir dir;
  const std::string base = dir.Path("out");
  EXPECT_EQ(base + "0.txt", UniquifyName(base, ".txt"));
  WriteFile(base + "0.txt", "");
  EXPECT_EQ(base + "1.txt", UniquifyName(base, ".txt"));
  WriteFile(base + "1.txt", "");
  WriteFile(base + "3.txt", "");
  EXPECT_EQ(base + "2.txt", UniquifyName(base, ".txt"));
  EXPECT_FALSE(FileExists(base + "2.txt"));  // the name only
}

TEST(FileUtil, TemporaryNameIsBaseThenANumber) {
  for (const std::string& name : {CreateTemporaryFileName(std::string("/var/tmp/list")),
                                  CreateTemporaryFileName("/var/tmp/list")}) {
    ASSERT_GT(name.size(), std::string("/var/tmp/list").size());
    EXPECT_EQ(0u, name.find("/var/tmp/list"));
    const std::string number = name.substr(13);
    EXPECT_EQ(std::string::npos, number.find_first_not_of("0123456789")) << name;
    EXPECT_LE(std::stoll(number), 2147483647LL);
  }
  EXPECT_EQ(0u, CreateTemporaryFileName(static_cast<const char*>(nullptr)).find_first_of("0123456789"));
}

TEST(FileUtil, WriteFOFTruncatesAndReadsBack) {
  TempDir dir;
  const std::string name = dir.Path("list");
  WriteFOF(name, {"a.fa", "b.fa", "c.fa"});
  WriteFOF(name, {"x.fa", "y.fa"});
  EXPECT_EQ("x.fa\ny.fa\n", ReadFile(name));
  std::vector<std::string> names;
  ASSERT_TRUE(ReadFOF(name, names));
  EXPECT_EQ((std::vector<std::string>{"x.fa", "y.fa"}), names);
  WriteFOF(dir.Path("no/such/dir"), {"a"});  // not reported
  EXPECT_FALSE(FileExists(dir.Path("no/such/dir")));
}

TEST(FileUtil, OpenOrDieOpensOrEndsTheProcess) {
  TempDir dir;
  WriteFile(dir.Path("in"), "old text");
  std::ifstream in;
  OpenOrDie(dir.Path("in"), in);
  std::string word;
  in >> word;
  EXPECT_EQ("old", word);
  std::ofstream out;
  OpenOrDie(dir.Path("in"), out);
  out << "new";
  out.close();
  EXPECT_EQ("new", ReadFile(dir.Path("in")));

  const std::string missing = dir.Path("none");
  EXPECT_EXIT(
      {
        std::ifstream none;
        OpenOrDie(missing, none);
      },
      ::testing::ExitedWithCode(1), "^Unable to open " + missing + "\n$");
  EXPECT_EXIT(
      {
        std::ofstream none;
        OpenOrDie(missing + "/below", none);
      },
      ::testing::ExitedWithCode(1), "Unable to open " + missing + "/below");
}

}  // namespace
}  // namespace ostrel
