// The usage text of ostrel-extractbins tells the truth: it lists exactly the
// options the command takes, as the README and the manual page do, its
// naming rules are those the quality-file discovery follows, and it ends
// with the version the command reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "TestSupport.h"
#include "extractbins/CommandRunFixture.h"
#include "extractbins/QualityFile.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

// The option letters of the lines of `text` that `line` matches (its first
// group), from the first line that `from` matches to the next that `to` does.
std::set<char> OptionsIn(const std::string& text, const std::regex& line, const std::regex& from = std::regex(""),
                         const std::regex& to = std::regex("x^")) {
  std::set<char> letters;
  std::istringstream in(text);
  bool inside = false;
  for (std::string row; std::getline(in, row);) {
    if (!inside) {
      inside = std::regex_search(row, from);
      continue;
    }
    if (std::regex_search(row, to)) break;
    std::smatch match;
    if (std::regex_search(row, match, line)) letters.insert(match[1].str()[0]);
  }
  return letters;
}

TEST_F(CommandRun, UsageListsExactlyTheOptionsTaken) {
  const std::string usage = Run("-h").mStdout;
  const std::set<char> listed = OptionsIn(usage, std::regex("^    -([A-Za-z]) "));
  // A letter is taken when the command does not refuse it; it is given a
  // word, which letters without an argument take as a bin.
  std::set<char> taken;
  for (char letter = 'A'; letter <= 'z'; ++letter) {
    if (!std::isalpha(static_cast<unsigned char>(letter))) continue;
    const test::CommandResult result = Run(std::string("-") + letter + " x -I reads.fa binA 2>/dev/null");
    if (result.mStdout.rfind("Error with option", 0) != 0) taken.insert(letter);
  }
  EXPECT_EQ(taken, listed);

  const std::string readme = test::ReadFile(std::string(OSTREL_TEST_DATA) + "/../../README.md");
  EXPECT_EQ(listed, OptionsIn(readme, std::regex("^\\| `-([A-Za-z])"), std::regex("^## ostrel-extractbins"),
                              std::regex("^## ")));
  const std::string page = test::ReadFile(std::string(OSTREL_TEST_DATA) + "/../../man/ostrel-extractbins.1");
  EXPECT_EQ(listed, OptionsIn(page, std::regex("^\\.B[IR]? \\\\-([A-Za-z])"), std::regex("^\\.SH OPTIONS"),
                              std::regex("^\\.SH ")));

  // The last line is the version, as --version prints it.
  EXPECT_EQ(Run("--version").mStdout, usage.substr(usage.rfind('\n', usage.size() - 2) + 1));
}

// Each "name -> quality name" row of the usage text is what the discovery
// finds when the quality file exists.
TEST_F(CommandRun, UsageNamingRulesAreFollowed) {
  const std::string usage = Run("-h").mStdout;
  const std::regex rule("^ +(\\S+) +-> (\\S+)");
  std::istringstream in(usage);
  int rows = 0;
  for (std::string row; std::getline(in, row);) {
    std::smatch match;
    if (!std::regex_search(row, match, rule)) continue;
    ++rows;
    const std::string folder = mDir.Path("rule" + std::to_string(rows));
    fs::create_directory(folder);
    test::WriteFile(folder + "/" + match[2].str(), "");
    std::string found;
    EXPECT_TRUE(QualityFileFound(folder + "/" + match[1].str(), found)) << row;
    EXPECT_EQ(folder + "/" + match[2].str(), found) << row;
  }
  EXPECT_EQ(8, rows);
}

}  // namespace
}  // namespace ostrel
