// The fixture of the end-to-end runs of the built ostrel-extractbins: a
// temporary directory holding a copy of the bundled run data.
#ifndef OSTREL_TESTS_EXTRACTBINS_COMMANDRUNFIXTURE_H
#define OSTREL_TESTS_EXTRACTBINS_COMMANDRUNFIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"

namespace ostrel {

// Each test runs the command in a directory of its own.
class CommandRun : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::copy(std::string(OSTREL_TEST_DATA) + "/extractbins/run", mDir.Dir(),
                          std::filesystem::copy_options::recursive);
    std::filesystem::remove_all(mDir.Path("expected"));
  }

  // Runs the command with `args` (shell words) inside the directory.
  test::CommandResult Run(const std::string& args, const std::string& prefix = "") {
    return test::RunCommand("cd '" + mDir.Dir() + "' && " + prefix + "'" + OSTREL_EXTRACTBINS + "' " + args);
  }

  std::string Expected(const std::string& name) {
    return test::ReadFile(std::string(OSTREL_TEST_DATA) + "/extractbins/run/expected/" + name);
  }

  std::string Output(const std::string& name) { return test::ReadFile(mDir.Path(name)); }
  bool Exists(const std::string& name) { return std::filesystem::exists(mDir.Path(name)); }

  test::TempDir mDir;
};

}  // namespace ostrel

#endif
