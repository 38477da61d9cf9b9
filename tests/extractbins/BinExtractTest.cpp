#include "extractbins/BinExtract.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "extractbins/RunSettings.h"

namespace ostrel {
namespace {

// An input file built from records, with its index filled in memory.
class BinExtract : public ::testing::Test {
protected:
  // The bin is named by its full path, so its outputs land beside it.
  void SetUp() override { OptOutRoot.clear(); }

  // Places `text` at 1-based byte `start` of the input (blank lines between).
  void AddRecord(const std::string& name, int64_t start, const std::string& text) {
    if (mInput.size() < static_cast<size_t>(start - 1)) mInput.resize(start - 1, '\n');
    mInput.replace(start - 1, text.size(), text);
    mIndex.mName2Idx[name] = static_cast<int>(mIndex.mTable.size());
    mIndex.mTable.push_back({start, start + static_cast<int64_t>(text.size()) - 1});
  }

  // Extracts a bin of `names` from input `inputName`; returns the printed text.
  std::string Extract(const std::string& names, const std::string& inputName = "reads.fa") {
    test::WriteFile(mDir.Path(inputName), mInput);
    test::WriteFile(mDir.Path("bin"), names);
    test::CaptureStdout out;
    mOk = ExtractBin(mDir.Path("bin"), mDir.Path(inputName), mIndex, mUnheld, mOutputs, &mFound);
    return out.Text();
  }

  std::string Output(const std::string& suffix = "_out.fa") { return test::ReadFile(mDir.Path("bin" + suffix)); }

  test::TempDir mDir;
  std::string mInput;
  ReadIndex mIndex;
  UnheldNames mUnheld;
  RunOutputs mOutputs{false};
  bool mOk = false;
  size_t mFound = 99;  // the records located, as ExtractBin gives them
};

TEST_F(BinExtract, RecordsComeInFilePositionOrder) {
  AddRecord("readA", 1, ">readA\nAC\n");
  AddRecord("readB", 300, ">readB\nGT\n");
  AddRecord("readC", 900, ">readC\nTT\n");
  // Each line names its first word: the rest of a line is not part of it.
  EXPECT_EQ("3 reads found ...written.\n", Extract("readC x\n>readA\tcluster5\n  readB \nabsent\n"));
  EXPECT_TRUE(mOk);
  EXPECT_EQ(3u, mFound);
  EXPECT_EQ(">readA\nAC\n>readB\nGT\n>readC\nTT\n", Output());
}

TEST_F(BinExtract, NewlineAddedOnlyWhenMissing) {
  AddRecord("cut", 1, ">cut\nACG");
  AddRecord("whole", 20, ">whole\nA\n");
  Extract("cut\nwhole\n");
  EXPECT_EQ(">cut\nACG\n>whole\nA\n", Output());
}

TEST_F(BinExtract, ReadNamedTwiceIsWrittenTwice) {
  AddRecord("readA", 1, ">readA\nAC\n");
  EXPECT_EQ("2 reads found ...written.\n", Extract("readA\nreadA\n"));
  EXPECT_EQ(">readA\nAC\n>readA\nAC\n", Output());
}

TEST_F(BinExtract, RecordsOfAnyLengthAreCopiedWhole) {
  const std::string small = ">s\nA\n";
  const std::string fitsWithNewline = ">a\n" + std::string(kCopyBufferSize - 4, 'A');  // 199999 bytes
  const std::string exactlyBuffer = ">b\n" + std::string(kCopyBufferSize - 4, 'C') + "\n";
  const std::string huge = ">c\n" + std::string(2 * kCopyBufferSize + 11, 'G');
  const std::string hugeWithNewline = ">d\n" + std::string(3 * kCopyBufferSize, 'T') + "\n";
  int64_t start = 1;
  for (const auto& [name, text] : {std::pair{"s", small}, {"a", fitsWithNewline}, {"b", exactlyBuffer},
                                   {"c", huge}, {"d", hugeWithNewline}}) {
    AddRecord(name, start, text);
    start += static_cast<int64_t>(text.size());
  }
  Extract("s\na\nb\nc\nd\ns\n");
  EXPECT_TRUE(mOk);
  EXPECT_EQ(small + small + fitsWithNewline + "\n" + exactlyBuffer + huge + "\n" + hugeWithNewline, Output());
}

// The index was made before the file changed: each record it names is
// checked against the bytes and skipped when they are not that read's.
TEST_F(BinExtract, StaleRangesAreSkippedAndReported) {
  const std::pair<std::string, std::string> records[] = {
      {"readA", ">readA d\nACGT\n"},
      {"readB", ">readB\nGG\n"},
      {"long", ">long\n" + std::string(kCopyBufferSize + 7, 'A') + "\n"},
      {"readC", ">readC\nTT"}};
  int64_t start = 1;
  for (const auto& [name, text] : records) {
    AddRecord(name, start, text);
    start += static_cast<int64_t>(text.size());
  }
  const ReadIndex fresh = mIndex;
  const std::string bin = "readA\nreadB\nlong\nreadC\n";
  EXPECT_EQ("4 reads found ...written.\n", Extract(bin));
  EXPECT_TRUE(mOk);
  EXPECT_EQ(mInput + "\n", Output());
  std::filesystem::remove(mDir.Path("bin_out.fa"));

  const std::string original = mInput;
  struct Change {
    const char* what;
    std::string input;
    const char* skipped;  // the reads whose records no longer match
  };
  const Change changes[] = {
      {"record added at the top", ">new\nAAAA\n" + original, "readA readB long readC"},
      {"first record lengthened", ">readA d\nACGTTT\n" + original.substr(14), "readA readB long readC"},
      {"second read renamed", original.substr(0, 14) + ">readX\nGG\n" + original.substr(24), "readB"},
      {"header name lengthened", original.substr(0, 14) + ">readBB\nG\n" + original.substr(24), "readB"},
      {"long record lengthened", original.substr(0, 24) + ">long\nAA" + original.substr(30), "long readC"},
      {"last record cut", original.substr(0, original.size() - 3) + "ATT", "readC"},
  };
  for (const Change& change : changes) {
    mInput = change.input;
    mIndex = fresh;
    const std::string printed = Extract(bin);
    EXPECT_FALSE(mOk) << change.what;
    // The others are written whole, as the unchanged file holds them.
    std::string reported;
    std::string kept;
    for (const auto& [name, text] : records) {
      if (printed.find("does not hold read " + name + ":") != std::string::npos)
        reported += (reported.empty() ? "" : " ") + name;
      else
        kept += text.back() == '\n' ? text : text + "\n";
    }
    EXPECT_EQ(change.skipped, reported) << change.what << "\n" << printed;
    EXPECT_EQ(kept, test::ReadFile(mDir.Path("bin_out.fa"))) << change.what;
    std::filesystem::remove(mDir.Path("bin_out.fa"));
  }
  mInput = changes[0].input;
  EXPECT_NE(std::string::npos,
            Extract("readA\n").find(" range 1..14 does not hold read readA: the index looks stale "
                                     "(ostrel-fastaindex remakes it), record skipped.\nwritten.\n"));
}

TEST_F(BinExtract, NothingFoundOpensNoOutput) {
  AddRecord("readA", 1, ">readA\nAC\n");
  EXPECT_EQ("0 reads found ...written.\n", Extract("absent\n"));
  EXPECT_TRUE(mOk);
  EXPECT_EQ(0u, mFound);
  EXPECT_FALSE(std::filesystem::exists(mDir.Path("bin_out.fa")));
}

TEST_F(BinExtract, UnopenableBinCountsZero) {
  test::CaptureStdout out;
  EXPECT_FALSE(ExtractBin(mDir.Path("nobin"), mDir.Path("reads.fa"), mIndex, mUnheld, mOutputs));
  EXPECT_EQ("ERROR: Could not open " + mDir.Path("nobin") + "\n0 reads found ...written.\n", out.Text());
}

TEST_F(BinExtract, QualityInputsGoToQualityOutput) {
  AddRecord("readA", 1, ">readA\n20 30\n");
  Extract("readA\n", "reads.qual");
  EXPECT_EQ(">readA\n20 30\n", Output("_out.fa.qual"));
  EXPECT_FALSE(std::filesystem::exists(mDir.Path("bin_out.fa")));
}

TEST(BinExtractNames, OutputNameAndRouting) {
  EXPECT_TRUE(IsQualityInput("qual.read1.wgs"));
  EXPECT_TRUE(IsQualityInput("dir/equality.fa"));  // "qual" anywhere in the base name
  EXPECT_TRUE(IsQualityInput("reads.qual"));
  EXPECT_FALSE(IsQualityInput("qualdir/reads.fa"));
  EXPECT_FALSE(IsQualityInput("reads.fa"));
  OptOutRoot = "x_";
  EXPECT_EQ("x_bins/binA_out.fa.qual", OutputName("bins/binA", "reads.qual"));
  OptOutRoot = "out/";
  EXPECT_EQ("out/binA_out.fa", OutputName("binA", "reads.fa"));
  OptOutRoot.clear();
  EXPECT_EQ("binA_out.fa", OutputName("binA", "reads.fa"));
}

TEST(BinExtractOrder, CompareByStartOnly) {
  EXPECT_TRUE(readInfoCmp({1, 500}, {2, 3}));
  EXPECT_FALSE(readInfoCmp({2, 3}, {2, 900}));
  EXPECT_TRUE(readInfoCmp({-5, 0}, {0, 0}));
}

}  // namespace
}  // namespace ostrel
