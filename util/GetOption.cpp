// Command-line option scanner.
#include "util/GetOption.h"

namespace ostrel {

GetOption::GetOption(int argc, char** argv, const char* optionString)
    : mOptionString(std::string(optionString) + "h?") {
  std::vector<std::string> freeWords;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-')
      ScanOptionWord(argc, argv, i);
    else
      freeWords.push_back(argv[i]);
  }
  mArgs.insert(mArgs.end(), freeWords.begin(), freeWords.end());
}

// Handles the option word argv[i]; advances i past an argument it consumes.
// Every occurrence of the letter in the option string counts, so a letter
// named twice (like h, which is always appended) is recorded twice.
void GetOption::ScanOptionWord(int argc, char** argv, int& i) {
  const char* word = argv[i];
  const char letter = word[1];  // NUL for a lone "-"
  const int n = static_cast<int>(mOptionString.size());
  bool found = false;
  for (int k = 0; k < n; ++k) {
    if (mOptionString[k] != letter) continue;
    found = true;
    mOptions.push_back(letter);
    if (k + 1 >= n || mOptionString[k + 1] != ':') continue;
    ++k;  // skip the ':' so it is never taken for a letter
    if (word[2] != '\0' || i + 1 >= argc || argv[i + 1][0] == '-') {
      mOk = false;
    } else {
      mArgs.push_back(argv[i + 1]);
      ++i;
    }
  }
  if (!found) mOk = false;
}

char GetOption::NextOption() {
  if (!mOk) {
    mOptionIndex = static_cast<int>(mOptions.size());
    mOk = true;
    return '?';
  }
  if (mOptionIndex >= static_cast<int>(mOptions.size())) return '0';
  return mOptions[mOptionIndex++];
}

std::string GetOption::NextArg() {
  if (!mOk) {
    mArgIndex = static_cast<int>(mArgs.size());
    mOk = true;
    return "?";
  }
  if (mArgIndex < static_cast<int>(mArgs.size())) return mArgs[mArgIndex++];
  return "";
}

std::string GetOption::GetFreeArg() { return NextArg(); }

}  // namespace ostrel
