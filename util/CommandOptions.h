// What the commands share in reading their command lines: one scan of the
// option letters and free words, and the parsing of option values.
#ifndef OSTREL_UTIL_COMMANDOPTIONS_H
#define OSTREL_UTIL_COMMANDOPTIONS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace ostrel {

// Scans a command's options: take(letter, argument) for each, the
// argument empty for a letter without one; take returns false for a bad
// value. The free words go to `files`, which must number `minWords` to
// `maxWords`. -h prints `usage` on standard output and gives status 0; a
// bad option or value, or the wrong number of words, prints a line naming
// the fault and then `usage` on standard error, and gives 1; -1 means go on.
int ScanOptions(int argc, char** argv, const char* optionString, void (*usage)(std::ostream&),
                const std::function<bool(char, const std::string&)>& take, size_t minWords, size_t maxWords,
                std::vector<std::string>& files);
constexpr size_t kAnyNumber = static_cast<size_t>(-1);  // no upper bound on the words

// When the command's first argument is --version or -V: prints
// "<command> <version>" on standard output and returns true.
bool PrintVersionIfAsked(int argc, char** argv, const char* command);

// A number of 0 or more (at most 1e9), the whole text: true, with `value`
// set; false for anything else.
bool ParseAmount(const std::string& text, float& value);

// A size in bases: a number above 0, whole or with a fraction, followed
// by nothing or by one of the suffixes k, m, g (either case: thousands,
// millions, billions), e.g. 4.6m; at most 1e12 in all. True, with `value`
// set (rounded to a whole number); false for anything else.
bool ParseSize(const std::string& text, int64_t& value);

}  // namespace ostrel

#endif
