// Number and token scanning with a moving position, beside the scanners of
// util/LineScan.h.
//
// Positions are 0-based ints. A scanner reports where the next scan should
// begin through `pos`, -1 when nothing was found; a start of -1 (or past the
// end) finds nothing, so calls chain on the previous `pos`.
#ifndef OSTREL_UTIL_TOKENSCAN_H
#define OSTREL_UTIL_TOKENSCAN_H

#include <string>
#include <vector>

namespace ostrel {

long GetNextLong(const std::string& s, int start, int& pos);  // GetNextInteger

// 0 when a run of digits lies at or after `start`: `begin` is its first
// digit and `end` its last, or the string's length when the run reaches the
// end of the string. -1 with both set to -1 otherwise.
int FindNextInteger(const std::string& s, int start, int& begin, int& end);
// The same for a number with an optional fraction ('.' followed directly by
// digits) and exponent ('e' or 'E', then the next run of digits anywhere
// after it). No sign is part of the match.
int FindNextDouble(const std::string& s, int start, int& begin, int& end);
// The number FindNextDouble finds, with a '-' directly before it; `pos` =
// end + 1. 0 with `pos` = -1 when there is none.
double GetNextDouble(const std::string& s, int start, int& pos);

// Append every number of s in order; return the vector's size.
int GetAllIntegers(const std::string& s, std::vector<int>& v);
int GetAllDoubles(const std::string& s, std::vector<double>& v);

// The scanners with `pos` as both start and next position.
int NextInt(const std::string& s, int& pos);
long NextLong(const std::string& s, int& pos);
double NextDouble(const std::string& s, int& pos);
float NextFloat(const std::string& s, int& pos);  // the nearest float; far beyond: infinity
std::string SplitNext(const std::string& s, int& pos);   // GetNextWSDelimitedString
std::string NextString(const std::string& s, int& pos);  // GetNextWSDelimitedString

// Appends the decimal value (as atoi gives it) of every token delimited by
// blank, tab or newline. A carriage return that ends the C string is no
// token.
void GetIntsFromLine(const std::string& s, std::vector<int>& v);
void GetIntsFromLine(const char* text, std::vector<int>& v);
// The same for every line of [begin, end) in turn, without copying them: a
// line ends at a newline, at a carriage return right before one, or at a
// NUL, which ends it for the C-string form (the rest of it is skipped).
void GetIntsFromLines(const char* begin, const char* end, std::vector<int>& v);

}  // namespace ostrel

#endif
