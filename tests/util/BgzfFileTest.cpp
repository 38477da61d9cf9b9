#include "util/BgzfFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TestSupport.h"

namespace ostrel {
namespace {

// Text of several blocks whose bytes tell their positions apart.
std::string NumberedText(size_t size) {
  std::string text;
  for (size_t line = 0; text.size() < size; ++line) text += "line " + std::to_string(line * 7919 % 100003) + "\n";
  text.resize(size);
  return text;
}

TEST(BgzfFile, CompressionOfPlainGzipAndBgzip) {
  test::TempDir dir;
  test::WriteFile(dir.Path("plain"), ">r1\nACGT\n");
  test::WriteGzipFile(dir.Path("gzip"), ">r1\nACGT\n");
  ASSERT_TRUE(test::WriteBgzipFile(dir.Path("bgzf"), ">r1\nACGT\n", false));
  test::WriteFile(dir.Path("short"), "\x1f\x8b");
  EXPECT_EQ(Compression::kNone, CompressionOf(dir.Path("plain")));
  EXPECT_EQ(Compression::kGzip, CompressionOf(dir.Path("gzip")));
  EXPECT_EQ(Compression::kBgzf, CompressionOf(dir.Path("bgzf")));
  EXPECT_EQ(Compression::kNone, CompressionOf(dir.Path("short")));
  EXPECT_EQ(Compression::kNone, CompressionOf(dir.Path("missing")));
}

// Ranges read by position are the plain text's bytes, at and across block
// boundaries, in file order and back again, through the block index bgzip
// wrote and through the one built while reading the file whole, which is
// bgzip's byte for byte, read with threads or without.
TEST(BgzfFile, RangesAtBlockBoundariesAreThePlainBytes) {
  test::TempDir dir;
  constexpr int64_t kBlock = 65280;
  const std::string text = NumberedText(4 * kBlock + 1234);
  const std::string bgzipIndexed = dir.Path("bgzip.gz"), selfIndexed = dir.Path("self.gz");
  ASSERT_TRUE(test::WriteBgzipFile(bgzipIndexed, text, true));
  ASSERT_TRUE(test::WriteBgzipFile(selfIndexed, text, false));
  for (int threads : {0, 2}) {
    BgzfFile whole;
    ASSERT_TRUE(whole.OpenToRead(selfIndexed, threads, true));
    std::string read(text.size() + 10, '\0');
    int64_t done = 0;
    for (int64_t got; (got = whole.Read(&read[done], 1000)) > 0;) done += got;
    EXPECT_EQ(text, read.substr(0, static_cast<size_t>(done)));
    ASSERT_TRUE(whole.WriteIndex(BgzfFile::IndexName(selfIndexed)));
    EXPECT_EQ(test::ReadFile(BgzfFile::IndexName(bgzipIndexed)), test::ReadFile(BgzfFile::IndexName(selfIndexed)))
        << threads << " threads";
  }
  for (const std::string& file : {bgzipIndexed, selfIndexed}) {
    SCOPED_TRACE(file);
    BgzfFile in;
    ASSERT_TRUE(in.OpenByPosition(file)) << in.mError;
    EXPECT_EQ(static_cast<int64_t>(text.size()), in.Size());
    std::vector<std::pair<int64_t, int64_t>> ranges;
    for (int64_t boundary = 0; boundary <= 4 * kBlock; boundary += kBlock)
      for (int64_t from : {boundary - 1, boundary, boundary + 1})
        for (int64_t length : {int64_t{1}, int64_t{2}, int64_t{100}, kBlock + 3})
          if (from >= 0) ranges.push_back({from, length});
    ranges.push_back({static_cast<int64_t>(text.size()) - 5, 10});  // past the end: the rest
    ranges.push_back({3, 2 * kBlock});                              // back to the start
    for (const auto& [from, length] : ranges) {
      std::string got(static_cast<size_t>(length), '\0');
      const int64_t n = in.ReadAt(from, got.data(), length);
      got.resize(static_cast<size_t>(std::max<int64_t>(n, 0)));
      EXPECT_EQ(text.substr(static_cast<size_t>(from), static_cast<size_t>(length)), got)
          << "from " << from << " length " << length;
    }
  }
}

// A bgzip file of no text (bgzip's end block alone) gets a block index of
// no blocks, through which it opens by position.
TEST(BgzfFile, NoTextGivesAnEmptyBlockIndex) {
  test::TempDir dir;
  const std::string file = dir.Path("empty.gz");
  ASSERT_TRUE(test::WriteBgzipFile(file, "", false));
  BgzfFile whole;
  ASSERT_TRUE(whole.OpenToRead(file, 1, true));
  char byte;
  EXPECT_EQ(0, whole.Read(&byte, 1));
  ASSERT_TRUE(whole.WriteIndex(BgzfFile::IndexName(file)));
  EXPECT_EQ(std::string(8, '\0'), test::ReadFile(BgzfFile::IndexName(file)));
  BgzfFile in;
  ASSERT_TRUE(in.OpenByPosition(file)) << in.mError;
  EXPECT_EQ(0, in.Size());
}

TEST(BgzfFile, MissingStaleOrForeignBlockIndexIsRefused) {
  test::TempDir dir;
  const std::string file = dir.Path("reads.gz");
  ASSERT_TRUE(test::WriteBgzipFile(file, NumberedText(70000), false));
  BgzfFile in;
  EXPECT_FALSE(in.OpenByPosition(file));
  EXPECT_NE(std::string::npos, in.mError.find("no block index")) << in.mError;
  test::WriteFile(BgzfFile::IndexName(file), "not an index");
  EXPECT_FALSE(in.OpenByPosition(file));
  EXPECT_NE(std::string::npos, in.mError.find("is not a block index")) << in.mError;
  // One block, listed as starting past the file's end.
  std::string pastTheEnd(8, '\0');
  pastTheEnd[0] = 1;
  for (const uint64_t word : {static_cast<uint64_t>(std::filesystem::file_size(file)), uint64_t{65280}})
    for (int b = 0; b < 8; ++b) pastTheEnd.push_back(static_cast<char>(word >> (8 * b) & 0xff));
  test::WriteFile(BgzfFile::IndexName(file), pastTheEnd);
  EXPECT_FALSE(in.OpenByPosition(file));
  EXPECT_NE(std::string::npos, in.mError.find("is not a block index")) << in.mError;
  std::filesystem::last_write_time(BgzfFile::IndexName(file), std::filesystem::last_write_time(file) -
                                                                   std::chrono::hours(1));
  EXPECT_FALSE(in.OpenByPosition(file));
  EXPECT_NE(std::string::npos, in.mError.find("is older than")) << in.mError;
}

// A plain gzip file appended to a bgzip one (cat a.fq.gz b.fq.gz): no
// block index can reach its part, so none is written nor read by position.
TEST(BgzfFile, PlainGzipAfterTheBlocksIsRefused) {
  test::TempDir dir;
  const std::string file = dir.Path("joined.gz");
  ASSERT_TRUE(test::WriteBgzipFile(file, NumberedText(70000), true));
  test::WriteGzipFile(dir.Path("plain.gz"), ">r2\nACGT\n");
  {
    std::ofstream joined(file, std::ios::binary | std::ios::app);
    joined << test::ReadFile(dir.Path("plain.gz"));
  }
  std::filesystem::last_write_time(BgzfFile::IndexName(file), std::filesystem::last_write_time(file));
  BgzfFile in;
  EXPECT_FALSE(in.OpenByPosition(file));
  EXPECT_NE(std::string::npos, in.mError.find("plain gzip follows its blocks")) << in.mError;

  // htslib may fail on such a part when it holds text, or read it: either
  // way the file is refused, and not as a damaged one.
  ASSERT_TRUE(in.OpenToRead(file, 0, true));
  char block[4096];
  int64_t got;
  while ((got = in.Read(block, sizeof block)) > 0) {
  }
  EXPECT_FALSE(got == 0 && in.WriteIndex(dir.Path("joined.gz.gzi.new")));
  EXPECT_NE(std::string::npos, in.mError.find("plain gzip follows its blocks")) << in.mError;
}

}  // namespace
}  // namespace ostrel
