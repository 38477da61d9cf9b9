#include "util/GetOption.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ostrel {
namespace {

// Holds argv storage for a scanner built from a list of words.
struct CommandLine {
  explicit CommandLine(std::vector<std::string> words) : mWords(std::move(words)) {
    mWords.insert(mWords.begin(), "prog");
    for (std::string& w : mWords) mArgv.push_back(w.data());
  }
  GetOption Scan(const char* optionString) {
    return GetOption(static_cast<int>(mArgv.size()), mArgv.data(), optionString);
  }
  std::vector<std::string> mWords;
  std::vector<char*> mArgv;
};

const char* const kCommandOptions = "i:o:b:I:h";

TEST(GetOption, OptionArgumentThenFreeWords) {
  CommandLine line({"-i", "list", "binA"});
  GetOption options = line.Scan(kCommandOptions);
  EXPECT_EQ('i', options.NextOption());
  EXPECT_EQ("list", options.NextArg());
  EXPECT_EQ('0', options.NextOption());
  EXPECT_EQ("binA", options.GetFreeArg());
  EXPECT_EQ("", options.GetFreeArg());
}

TEST(GetOption, FreeWordsMayPrecedeOptions) {
  CommandLine line({"binA", "-o", "out", "binB"});
  GetOption options = line.Scan(kCommandOptions);
  EXPECT_EQ((std::vector<std::string>{"out", "binA", "binB"}), options.mArgs);
}

TEST(GetOption, ScanErrorsAreReportedOnceAsQuestionMark) {
  const std::vector<std::vector<std::string>> badLines = {
      {"-i", "-o", "x"},  // argument begins with '-'
      {"-i"},             // argument missing
      {"-ilist"},         // argument attached
      {"-q"},             // letter not in the option string
      {"-"},              // lone dash
      {"--"},             // two dashes are looked up as the letter '-'
  };
  for (const auto& words : badLines) {
    CommandLine line(words);
    GetOption options = line.Scan(kCommandOptions);
    EXPECT_EQ('?', options.NextOption()) << words[0];
    EXPECT_EQ('0', options.NextOption()) << words[0];
  }
}

TEST(GetOption, ErrorReportedByWhicheverReadComesFirst) {
  CommandLine line({"-x", "-o", "out", "free"});
  GetOption options = line.Scan(kCommandOptions);
  EXPECT_EQ("?", options.NextArg());
  EXPECT_EQ("", options.NextArg());  // the words are not handed out after the error
  EXPECT_EQ('o', options.NextOption());  // the flag is cleared: reported once only
}

TEST(GetOption, ArgumentWordBeginningWithDashIsScannedAsWord) {
  CommandLine line({"-i", "-o", "x"});
  GetOption options = line.Scan(kCommandOptions);
  EXPECT_EQ((std::vector<char>{'i', 'o'}), options.mOptions);
  EXPECT_EQ((std::vector<std::string>{"x"}), options.mArgs);
}

TEST(GetOption, HelpAndQuestionMarkAlwaysAccepted) {
  CommandLine line({"-?", "-h"});
  GetOption options = line.Scan("x:");
  EXPECT_EQ('?', options.NextOption());
  EXPECT_EQ('h', options.NextOption());
  EXPECT_EQ('0', options.NextOption());
}

TEST(GetOption, LetterNamedTwiceIsFoundTwice) {
  CommandLine line({"-hxyz"});  // the rest of the word is ignored
  GetOption options = line.Scan(kCommandOptions);
  EXPECT_EQ('h', options.NextOption());
  EXPECT_EQ('h', options.NextOption());
  EXPECT_EQ('0', options.NextOption());
}

TEST(GetOption, EmptyWordsAreKept) {
  CommandLine line({"-o", "", "a", "", "b"});
  GetOption options = line.Scan(kCommandOptions);
  EXPECT_EQ('o', options.NextOption());
  EXPECT_EQ("", options.NextArg());
  EXPECT_EQ((std::vector<std::string>{"", "a", "", "b"}), options.mArgs);
}

TEST(GetOption, UnfetchedOptionArgumentComesFromGetFreeArg) {
  CommandLine line({"-i", "list", "binA"});
  GetOption options = line.Scan(kCommandOptions);
  EXPECT_EQ('i', options.NextOption());
  EXPECT_EQ("list", options.GetFreeArg());
  EXPECT_EQ("binA", options.GetFreeArg());
}

}  // namespace
}  // namespace ostrel
