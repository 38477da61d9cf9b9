// Conversions between numbers and text, formatting into a string, today's
// date stamp, and printing numbers and text into columns of fixed width.
//
// Inside namespace ostrel these names hide the C library's atoi and sprintf:
// call those as ::atoi and std::snprintf.
#ifndef OSTREL_UTIL_NUMBERUTIL_H
#define OSTREL_UTIL_NUMBERUTIL_H

#include <climits>
#include <cstdint>
#include <ostream>
#include <string>

namespace ostrel {

std::string itoa(int v);       // "%d"
std::string itostring(int v);  // "%d"
std::string ftoa(float v);       // "%f"
std::string ftostring(float v);  // "%f"
// v written with the caller's format, which holds at most one conversion,
// and that of a floating-point kind (for example "%.2f" or "%8.3e"), besides
// any "%%". Any other format would read arguments that are not there, so v
// is then written with "%f".
std::string ftoa(float v, const std::string& format);

// The C library's decimal conversion: leading white space skipped, an
// optional sign, digits up to the first non-digit; 0 when there are none.
// Values beyond the int range give INT_MAX or INT_MIN.
int atoi(const std::string& s);

// The same, without making a string. Inline and hand-rolled rather than
// strtol: quality files hold hundreds of millions of values, and this is
// their parser.
inline int atoi(const char* s) {
  while (*s == ' ' || (*s >= '\t' && *s <= '\r')) ++s;  // the C locale's white space
  const bool negative = *s == '-';
  if (*s == '-' || *s == '+') ++s;
  int64_t value = 0;
  for (; *s >= '0' && *s <= '9'; ++s)
    if (value <= INT_MAX) value = value * 10 + (*s - '0');  // stops growing past the int range
  if (negative) value = -value;
  return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

// A command-line count: true, with `value` set, when `text` is one or more
// decimal digits and nothing else, within the int range; false for
// anything else (signs, blanks, other characters, an empty text).
bool ParseCount(const std::string& text, int& value);

// Formats the arguments and assigns the text to `out`. `size` is the buffer
// the text is first formatted into; a longer text is kept whole.
void sprintf(int size, std::string& out, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

std::string GetDateStamp();  // today in local time, "%04d%02d%02d"

// Fixed-width columns, without an end of line. Text as wide as the width or
// wider is written whole.
void PrintSpacePaddedNum(std::ostream& out, int width, int value);       // "%d", right-aligned
void PrintSpacePaddedFloat(std::ostream& out, int width, float value);   // "%3.3f", right-aligned
void PrintSpacePaddedString(std::ostream& out, int width, const std::string& s);  // left-aligned

}  // namespace ostrel

#endif
