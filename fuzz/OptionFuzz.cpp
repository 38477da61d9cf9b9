// The option scanner on argument vectors made of the input's bytes split at
// NUL, the first word taken as the option string.
//
// Properties: GetOption hands out its letters and words in order and then
// '0' and ""; ScanOptions gives 0, 1 or -1, and on -1 the words it took
// number what was asked, and no more values were taken than letters given.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "util/CommandOptions.h"
#include "util/GetOption.h"

using namespace ostrel;

namespace {

void Usage(std::ostream& out) { out << "usage\n"; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  fuzz::Quiet quiet;
  std::vector<std::string> words(1);
  for (size_t i = 0; i < size; ++i) {
    if (bytes[i] == '\0')
      words.emplace_back();
    else
      words.back() += static_cast<char>(bytes[i]);
  }
  const std::string optionString = words[0];
  words[0] = "ostrel-fuzz";
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(words.size());

  GetOption options(argc, argv.data(), optionString.c_str());
  const std::vector<char> letters = options.mOptions;
  const std::vector<std::string> args = options.mArgs;
  // A scanning error is one '?' in place of the letters.
  if (!options.mOk)
    FUZZ_CHECK(options.NextOption() == '?');
  else
    for (char letter : letters) FUZZ_CHECK(options.NextOption() == letter);
  FUZZ_CHECK(options.NextOption() == '0');
  for (const std::string& arg : args) FUZZ_CHECK(options.NextArg() == arg);
  FUZZ_CHECK(options.NextArg().empty() && options.GetFreeArg().empty());

  std::vector<std::string> files;
  size_t taken = 0;
  const size_t minWords = size % 3, maxWords = size % 2 ? kAnyNumber : minWords + 2;
  const int status = ScanOptions(argc, argv.data(), optionString.c_str(), Usage,
                                 [&](char, const std::string& value) {
                                   ++taken;
                                   float amount = 0;
                                   return ParseAmount(value, amount) || value.empty();
                                 },
                                 minWords, maxWords, files);
  FUZZ_CHECK(status == -1 || status == 0 || status == 1);
  if (status == -1) FUZZ_CHECK(files.size() >= minWords && files.size() <= maxWords);
  FUZZ_CHECK(taken <= letters.size());
  return 0;
}
