#include "extractbins/BinExtract.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

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
    std::vector<size_t> found;
    mOk = ExtractFromInput({mDir.Path("bin")}, mDir.Path(inputName), mIndex, mUnheld, mOutputs, found);
    mFound = found.at(0);
    return out.Text();
  }

  std::string Output(const std::string& suffix = "_out.fa") { return test::ReadFile(mDir.Path("bin" + suffix)); }

  test::TempDir mDir;
  std::string mInput;
  ReadIndex mIndex;
  std::vector<UnheldNames> mUnheld = std::vector<UnheldNames>(1);
  RunOutputs mOutputs{false};
  bool mOk = false;
  size_t mFound = 99;  // the records located, as ExtractFromInput gives them
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
  std::vector<size_t> found;
  EXPECT_FALSE(ExtractFromInput({mDir.Path("nobin")}, mDir.Path("reads.fa"), mIndex, mUnheld, mOutputs, found));
  EXPECT_EQ("ERROR: Could not open " + mDir.Path("nobin") + "\n0 reads found ...written.\n", out.Text());
}

TEST_F(BinExtract, QualityInputsGoToQualityOutput) {
  AddRecord("readA", 1, ">readA\n20 30\n");
  Extract("readA\n", "reads.qual");
  EXPECT_EQ(">readA\n20 30\n", Output("_out.fa.qual"));
  EXPECT_FALSE(std::filesystem::exists(mDir.Path("bin_out.fa")));
}

// The bins of a bgzip input are copied together, in passes of up to
// kBinsPerPass bins, with the messages of each bin held until its pass
// ends: outputs, messages, counts and unheld names are those of the same
// input read plain, bin by bin. The bins share blocks and records, name
// records twice, a record crosses blocks and one is longer than the copy
// buffer, one bin is named twice through two paths (one output), and some
// entries are stale or out of range.
TEST(BinExtractPasses, BgzipInputGivesWhatItsPlainFormGives) {
  test::TempDir dir;
  OptOutRoot.clear();
  std::string text;
  ReadIndex index;
  auto add = [&](const std::string& name, const std::string& record, int64_t start) {
    index.mName2Idx[name] = static_cast<int>(index.mTable.size());
    index.mTable.push_back({start, start + static_cast<int64_t>(record.size()) - 1});
  };
  std::mt19937 random(27);
  std::vector<std::string> names;
  for (int r = 0; r < 3000; ++r) {
    std::string record = ">r" + std::to_string(r) + " x\n";
    for (int line = 0, lines = 1 + static_cast<int>(random() % 6); line < lines; ++line)
      record += std::string(1 + random() % 60, "ACGT"[r % 4]) + "\n";
    if (r == 1500) record = ">long\n" + std::string(kCopyBufferSize + 50000, 'G') + "\n";
    names.push_back(record.substr(1, record.find_first_of(" \n") - 1));
    add(names.back(), record, static_cast<int64_t>(text.size()) + 1);
    text += record;
  }
  add("last", ">last\nACG", static_cast<int64_t>(text.size()) + 1);
  text += ">last\nACG";
  add("stale", ">r5 x\n", index.mTable[7].mStart);                       // r7's bytes
  add("beyond", ">beyond\n", static_cast<int64_t>(text.size()) - 3);  // ends past the text
  test::WriteFile(dir.Path("reads.fa"), text);
  ASSERT_TRUE(test::WriteBgzipFile(dir.Path("reads.fa.gz"), text, true));

  std::vector<std::string> bins;
  for (size_t b = 0; b < kBinsPerPass + 8; ++b) {
    std::string list;
    for (int k = 0; k < 60; ++k) list += names[random() % names.size()] + "\n";
    list += names[b * 7] + "\n" + names[b * 7] + "\n" + names[b * 7 + 7] + "\n";  // shared and named twice
    if (b == 3) list += "last\nstale\nbeyond\nabsent\n";
    if (b == 4) list += "long\n";
    if (b == 5) list = "absent\nr99999\n";
    bins.push_back(dir.Path("bin" + std::to_string(b)));
    test::WriteFile(bins.back(), list);
  }
  bins[9] = dir.Path("nobin");
  bins[20] = dir.Path("./bin4");  // the output of bin4, in the same pass

  struct Run {
    bool mOk = false;
    std::string mPrinted, mUnheld;
    std::vector<size_t> mFound;
    std::map<std::string, std::string> mOutputs;
  };
  auto extract = [&](const std::string& input) {
    Run run;
    std::vector<UnheldNames> unheld(bins.size());
    {
      RunOutputs outputs(false);
      test::CaptureStdout out;
      run.mOk = ExtractFromInput(bins, dir.Path(input), index, unheld, outputs, run.mFound);
      run.mPrinted = out.Text();
    }
    std::ostringstream reports;
    for (size_t b = 0; b < bins.size(); ++b) unheld[b].Report(bins[b], reports);
    run.mUnheld = reports.str();
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path("."))) {
      const std::string name = entry.path().filename().string();
      if (name.size() > 7 && name.compare(name.size() - 7, 7, "_out.fa") == 0) {
        run.mOutputs[name] = test::ReadFile(entry.path().string());
        std::filesystem::remove(entry.path());
      }
    }
    return run;
  };
  const Run plain = extract("reads.fa");
  const Run bgzip = extract("reads.fa.gz");
  EXPECT_FALSE(plain.mOk);  // stale and unusable records, an unopenable bin
  EXPECT_EQ(plain.mOk, bgzip.mOk);
  std::string printed = bgzip.mPrinted;  // the input's name aside
  for (size_t at; (at = printed.find("reads.fa.gz")) != std::string::npos;) printed.erase(at + 8, 3);
  EXPECT_EQ(plain.mPrinted, printed);
  EXPECT_EQ(plain.mFound, bgzip.mFound);
  EXPECT_EQ(plain.mUnheld, bgzip.mUnheld);
  EXPECT_EQ(bins.size() - 3, plain.mOutputs.size());  // none for nobin, bin5, and ./bin4 is bin4's
  EXPECT_TRUE(plain.mOutputs == bgzip.mOutputs);
  EXPECT_NE(std::string::npos, plain.mOutputs.at("bin4_out.fa").find(">long\n"));
  EXPECT_NE(std::string::npos, plain.mPrinted.find("does not hold read stale"));
  EXPECT_NE(std::string::npos, plain.mPrinted.find("unusable, record skipped."));
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
