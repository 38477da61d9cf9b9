// String tests, case changes, trimming, splitting and cutting, and keyword
// search over byte strings.
//
// Positions are 0-based; -1 means that nothing was found. A negative start
// finds nothing, as for the scanners of util/LineScan.h.
#ifndef OSTREL_UTIL_STRINGUTIL_H
#define OSTREL_UTIL_STRINGUTIL_H

#include <ostream>
#include <string>
#include <vector>

namespace ostrel {

// Tests.
bool StartsWith(const std::string& s, const char* p);  // the first occurrence of p is at 0
bool StartsWith(const std::string& s, const std::string& p);
bool Contains(const std::string& s, const char* p);  // an empty p is always contained
bool Contains(const std::string& s, const std::string& p);
bool ContainsOnlyWS(const std::string& s);  // true for the empty string
// True when the first non-digit at or after `start` lies after `end`; false
// when only digits follow `start`, since no non-digit does.
bool ContainsOnlyDigits(const std::string& s, int start, int end);
// A C G T, N and X in either case. Pads are not bases. (Sequence::IsBaseNX
// is this test; Sequence::IsBase the narrower one of A C G T only.)
bool IsBase(char c);

// Changes in place.
void ToLowerCase(std::string& s);  // the C library's mapping, byte by byte
void ToUpperCase(std::string& s);
void StripLeadingSpaces(std::string& s);  // blanks, tabs and newlines
void StripTrailingSpace(std::string& s);

// The parts between occurrences of the delimiter. A string without it gives
// no parts; a trailing delimiter gives a last empty part; at two delimiters
// in a row the rest of the string, from the second one, is the last part.
void Split(const std::string& s, std::vector<std::string>& parts, const std::string& delimiter);
// The n-th field of s at character c, counted from 1: all of s for n = 1
// when c does not occur, the text after the last c when there are n - 1 of
// them; false with an empty field when there are fewer (or n < 1).
bool CutString(const std::string& s, std::string& field, int n, char c);
void Cut(const std::string& s, std::string& field, int n, char c);
// The text after the first occurrence of key; empty when key does not occur.
void GetRemainderAfter(const char* key, const std::string& s, std::string& rest);

// Keyword search: among the occurrences of the keys at or after `start`, the
// one that starts first; on equal starts the earlier key in the list.
// FindNextOf returns that key's index (0 when none occurs) and sets `begin`
// and `end` to its first and last positions, or both to -1.
int FindNextOf(const std::vector<std::string>& keys, const std::string& s, int start, int& begin,
               int& end);
// True with `found` = the key and `pos` = the position after its occurrence;
// false with `pos` = -1 and `found` unchanged when no key occurs.
bool GetNextKeyword(const std::vector<std::string>& keys, const std::string& s, int start, int& pos,
                    std::string& found);

// One line per character: its index, ":", then SPACE, TAB, NEWLINE or the
// character itself.
void ShowHidden(const std::string& s, std::ostream& out);

// A file name as messages show it: in single quotes when it is empty or
// begins or ends with a blank, tab, carriage return or newline (which would
// not show otherwise), else as it stands.
std::string ShownFileName(const std::string& name);

}  // namespace ostrel

#endif
