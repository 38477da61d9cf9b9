#include "seq/RecordStream.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "TestSupport.h"

namespace ostrel {
namespace {

// Every record comes once, in file order, its text the file's bytes at its
// range, whether it lies in one block, spans two or spans several; plain
// and gzip files alike, FASTA and FASTQ.
TEST(RecordStream, GivesEachRecordWithTheFilesBytes) {
  std::mt19937 rng(11);
  for (const bool fastq : {false, true}) {
    for (const bool gzip : {false, true}) {
      SCOPED_TRACE(std::string(fastq ? "FASTQ" : "FASTA") + (gzip ? " gzip" : ""));
      std::string text;
      std::vector<std::string> names;
      for (int r = 0; r < 300; ++r) {
        // Now and then a record longer than two of the reader's blocks.
        const size_t length = r % 97 == 5 ? 2 * TextBlockReader::kBlockSize + 77 : 1 + rng() % 3000;
        const std::string bases(length, "ACGT"[r % 4]);
        names.push_back("r" + std::to_string(r));
        text += (fastq ? "@" : ">") + names.back() + " x\n" + bases + "\n";
        if (fastq) text += "+\n" + std::string(length, '@') + "\n";
      }
      text.pop_back();  // no newline after the last line
      test::TempDir dir;
      const std::string path = dir.Path(gzip ? "reads.gz" : "reads");
      if (gzip)
        test::WriteGzipFile(path, text);
      else
        test::WriteFile(path, text);
      RecordStream in, absent;
      EXPECT_FALSE(in.Next());  // nothing before the file is open, nor from one that will not open
      EXPECT_FALSE(absent.Open(dir.Path("absent")));
      EXPECT_FALSE(absent.Next());
      ASSERT_TRUE(in.Open(path));
      size_t records = 0;
      std::string scratch;
      while (in.Next()) {
        EXPECT_EQ(fastq, in.IsFastq());
        for (size_t k = 0; k < in.Count(); ++k, ++records) {
          ASSERT_LT(records, names.size());
          EXPECT_EQ(names[records], in.mNames[k]);
          const auto [first, last] = in.mRanges[k];
          EXPECT_EQ(text.substr(first - 1, last - first + 1), in.WholeText(k, scratch)) << names[records];
        }
      }
      EXPECT_EQ("", in.mError);
      EXPECT_EQ(names.size(), records);
    }
  }
}

}  // namespace
}  // namespace ostrel
