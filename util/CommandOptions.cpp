// Command-line scanning shared by the commands.
#include "util/CommandOptions.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "ostrel/Version.h"
#include "util/GetOption.h"

namespace ostrel {

int ScanOptions(int argc, char** argv, const char* optionString, void (*usage)(std::ostream&),
                const std::function<bool(char, const std::string&)>& take, size_t minWords, size_t maxWords,
                std::vector<std::string>& files) {
  GetOption options(argc, argv, optionString);
  for (char letter = options.NextOption(); letter != '0'; letter = options.NextOption()) {
    if (letter == 'h') {
      usage(std::cout);
      return 0;
    }
    const char* known = letter == '?' ? nullptr : std::strchr(optionString, letter);
    if (known == nullptr) {
      std::cerr << "Bad options: an unknown letter, or a value missing, attached or starting with '-'\n";
      usage(std::cerr);
      return 1;
    }
    const bool takesArgument = known[1] == ':';
    const std::string value = takesArgument ? options.NextArg() : std::string();
    if (!take(letter, value)) {
      std::cerr << "Bad value for -" << letter << ": " << value << '\n';
      usage(std::cerr);
      return 1;
    }
  }
  for (std::string word = options.GetFreeArg(); !word.empty(); word = options.GetFreeArg()) files.push_back(word);
  if (files.size() < minWords || files.size() > maxWords) {
    std::cerr << (files.size() < minWords ? "Too few" : "Too many") << " arguments: " << files.size() << '\n';
    usage(std::cerr);
    return 1;
  }
  return -1;
}

bool PrintVersionIfAsked(int argc, char** argv, const char* command) {
  if (argc < 2 || (std::strcmp(argv[1], "--version") != 0 && std::strcmp(argv[1], "-V") != 0)) return false;
  std::cout << command << ' ' << OSTREL_VERSION << std::endl;
  return true;
}

bool ParseAmount(const std::string& text, float& value) {
  char* end = nullptr;
  const float parsed = std::strtof(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !(parsed >= 0) || parsed > 1e9f) return false;
  value = parsed;
  return true;
}

bool ParseSize(const std::string& text, int64_t& value) {
  std::string number = text;
  double scale = 1;
  const char suffix = text.empty() ? '\0' : static_cast<char>(std::tolower(static_cast<unsigned char>(text.back())));
  if (suffix == 'k' || suffix == 'm' || suffix == 'g') {
    scale = suffix == 'k' ? 1e3 : suffix == 'm' ? 1e6 : 1e9;
    number.pop_back();
  }
  // Digits and at most one point: no signs, blanks or exponents.
  if (number.empty() || number.find_first_not_of("0123456789.") != std::string::npos ||
      number.find('.') != number.rfind('.') || number == ".")
    return false;
  const double bases = std::strtod(number.c_str(), nullptr) * scale;
  if (!(bases >= 0.5) || bases > 1e12) return false;
  value = static_cast<int64_t>(std::llround(bases));
  return true;
}

}  // namespace ostrel
