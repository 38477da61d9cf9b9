#include "extractbins/QualityFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"

namespace ostrel {
namespace {

class QualityFile : public ::testing::Test {
protected:
  void Touch(const std::string& name) {
    std::filesystem::create_directories(std::filesystem::path(mDir.Path(name)).parent_path());
    test::WriteFile(mDir.Path(name), "");
  }
  // The quality file found for `fasta` (relative to the directory), or "-".
  std::string Found(const std::string& fasta) {
    std::string qual;
    if (!QualityFileFound(mDir.Path(fasta), qual)) return "-";
    return qual.substr(mDir.Dir().size() + 1);
  }
  test::TempDir mDir;
};

TEST_F(QualityFile, NamingRules) {
  for (const char* name : {"run2/qual.read1.wgs", "qual.read2.wgs", "read3.qual", "read4.qual", "read5.fa.qual",
                           "read6.fasta.qual", "read7.fa.qual", "READ8.FA.qual", "fasta/read9.qual", "fa.qual", "read10.qual.gz",
                           "read11.fa.qual.gz", "qual.read12.gz"})
    Touch(name);
  EXPECT_EQ("run2/qual.read1.wgs", Found("run2/fasta.read1.wgs"));  // head rule
  EXPECT_EQ("qual.read2.wgs", Found("fa.read2.wgs"));
  EXPECT_EQ("read3.qual", Found("read3.fa"));  // extension rule
  EXPECT_EQ("read4.qual", Found("read4.fasta"));
  EXPECT_EQ("read5.fa.qual", Found("read5.fa.orig"));  // middle rule
  EXPECT_EQ("read6.fasta.qual", Found("read6.fasta.orig"));
  EXPECT_EQ("read7.fa.qual", Found("read7.fa.gz"));
  EXPECT_EQ("READ8.FA.qual", Found("READ8.FA"));       // case-sensitive: fallback only
  EXPECT_EQ("fasta/read9.qual", Found("fasta/read9"));  // the directory is never matched
  EXPECT_EQ("fa.qual", Found("fa"));                    // a bare word takes the fallback
  EXPECT_EQ("read10.qual.gz", Found("read10.fa.gz"));  // compressed: the rules without ".gz"
  EXPECT_EQ("read11.fa.qual.gz", Found("read11.fa.gz"));
  EXPECT_EQ("qual.read12.gz", Found("fasta.read12.gz"));
}

TEST_F(QualityFile, FallbackWhenRuleCandidateMissing) {
  Touch("reads.fa.qual");
  EXPECT_EQ("reads.fa.qual", Found("reads.fa"));
  EXPECT_EQ("-", Found("other.fa"));
  std::string qual;
  EXPECT_FALSE(QualityFileFound(mDir.Path("other.fa"), qual));
  EXPECT_EQ(mDir.Path("other.fa.qual"), qual);  // the last name tried
}

TEST_F(QualityFile, ExistsMeansReadable) {
  Touch("present");
  EXPECT_TRUE(FileExists2(mDir.Path("present")));
  EXPECT_FALSE(FileExists2(mDir.Path("absent")));
  EXPECT_FALSE(FileExists2(""));
}

}  // namespace
}  // namespace ostrel
