#include "extractbins/RunSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace ostrel {
namespace {

class RunSettings : public ::testing::Test {
protected:
  void SetUp() override {
    OptFASTAFileList.clear();
    OptOutRoot.clear();
    OptBinFOF.clear();
    OptSingleFASTAName.clear();
    OptBinFileVec.clear();
  }

  // Runs SetupOptions on the words, capturing what it prints.
  bool Setup(std::vector<std::string> words) {
    words.insert(words.begin(), "ostrel-extractbins");
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    test::CaptureStdout out;
    const bool ok = SetupOptions(static_cast<int>(argv.size()), argv.data());
    mPrinted = out.Text();
    return ok;
  }

  std::string mPrinted;
  test::TempDir mDir;
};

TEST_F(RunSettings, OptionsAndBinNamesInOrder) {
  const std::string fof = mDir.Path("bins.fof");
  test::WriteFile(fof, "binA\n\nbinB\n");
  EXPECT_TRUE(Setup({"binX", "-i", "first", "-o", "out/", "-b", fof, "-i", "second", "binC", "-I", "one.fa"}));
  EXPECT_EQ("second", OptFASTAFileList);  // the last occurrence wins
  EXPECT_EQ("out/", OptOutRoot);
  EXPECT_EQ(fof, OptBinFOF);
  EXPECT_EQ("one.fa", OptSingleFASTAName);
  EXPECT_EQ((std::vector<std::string>{"binA", "binB", "binX", "binC"}), OptBinFileVec);
  EXPECT_EQ("", mPrinted);
}

TEST_F(RunSettings, NoBinFileOptionReadsNothing) {
  EXPECT_TRUE(Setup({"-i", "list", "-o", "out", "b1", "b2"}));
  EXPECT_EQ((std::vector<std::string>{"b1", "b2"}), OptBinFileVec);
  EXPECT_EQ("", mPrinted);
}

TEST_F(RunSettings, UnopenableBinFileIsReported) {
  EXPECT_FALSE(Setup({"-b", mDir.Path("none"), "b1"}));
  EXPECT_EQ("ERROR: Could not open " + mDir.Path("none") + "\n", mPrinted);
  EXPECT_EQ((std::vector<std::string>{"b1"}), OptBinFileVec);
}

TEST_F(RunSettings, EmptyFreeWordEndsBinList) {
  EXPECT_TRUE(Setup({"b1", "", "b2"}));
  EXPECT_EQ((std::vector<std::string>{"b1"}), OptBinFileVec);
}

TEST_F(RunSettings, HelpExitsWithZero) {
  EXPECT_EXIT(Setup({"-h"}), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(Setup({"-i", "list", "-h"}), ::testing::ExitedWithCode(0), "");
}

TEST_F(RunSettings, BadOptionExitsWithOne) {
  EXPECT_EXIT(Setup({"-q", "x"}), ::testing::ExitedWithCode(1), "");
  EXPECT_EXIT(Setup({"-h", "-q"}), ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace ostrel
