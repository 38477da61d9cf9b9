// Command-line option scanner: splits the words of a command line into option
// letters, option arguments and free words in one pass, and never prints.
#ifndef OSTREL_UTIL_GETOPTION_H
#define OSTREL_UTIL_GETOPTION_H

#include <string>
#include <vector>

namespace ostrel {

// The option string follows the usual convention ("i:o:h": i and o take an
// argument, h does not); the letters h and ? are always accepted as well.
// A scanning error (unknown letter, attached or missing argument, argument
// starting with '-') is reported once, as '?' from NextOption or "?" from
// NextArg, whichever is called first.
class GetOption {
public:
  GetOption(int argc, char** argv, const char* optionString);

  // The next option letter; '0' when there are none left.
  char NextOption();
  // The next option argument, then the free words; "" when exhausted.
  std::string NextArg();
  // Same as NextArg; the name says that a free word is expected.
  std::string GetFreeArg();

  bool mOk = true;
  std::vector<char> mOptions;      // letters in command-line order
  std::vector<std::string> mArgs;  // option arguments, then free words
  std::string mOptionString;       // the caller's string plus "h?"
  int mOptionIndex = 0;
  int mArgIndex = 0;

private:
  void ScanOptionWord(int argc, char** argv, int& i);
};

}  // namespace ostrel

#endif
