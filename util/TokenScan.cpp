// Number and token scanning with a moving position.
#include "util/TokenScan.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "util/LineScan.h"
#include "util/NumberUtil.h"

namespace ostrel {

namespace {

// The reported end of a run that stops just before `past`: its last
// position, or the string's length when the run reaches the end.
int RunEnd(const std::string& s, int past) {
  return past < static_cast<int>(s.size()) ? past - 1 : static_cast<int>(s.size());
}

}  // namespace

long GetNextLong(const std::string& s, int start, int& pos) { return GetNextInteger(s, start, pos); }

int FindNextInteger(const std::string& s, int start, int& begin, int& end) {
  int past = 0;
  begin = FindDigitRun(s, start, past);
  if (begin < 0) {
    end = -1;
    return -1;
  }
  end = RunEnd(s, past);
  return 0;
}

int FindNextDouble(const std::string& s, int start, int& begin, int& end) {
  if (FindNextInteger(s, start, begin, end) < 0) return -1;
  const int len = static_cast<int>(s.size());
  int past = end < len ? end + 1 : len;
  if (past + 1 < len && s[past] == '.' && IsDigit(s[past + 1])) FindDigitRun(s, past + 1, past);
  if (past < len && (s[past] == 'e' || s[past] == 'E')) {
    int exponentPast = 0;
    if (FindDigitRun(s, past + 1, exponentPast) >= 0) past = exponentPast;
  }
  end = RunEnd(s, past);
  return 0;
}

double GetNextDouble(const std::string& s, int start, int& pos) {
  int begin = 0, end = 0;
  if (FindNextDouble(s, start, begin, end) < 0) {
    pos = -1;
    return 0;
  }
  const int from = begin > 0 && s[begin - 1] == '-' ? begin - 1 : begin;
  const int last = std::min(end, static_cast<int>(s.size()) - 1);
  const std::string number = s.substr(from, last - from + 1);
  pos = end + 1;
  // strtod reads what "%lf" reads and saturates instead of overflowing.
  return std::strtod(number.c_str(), nullptr);
}

namespace {

// Appends the values of repeated scans from 0 until one finds nothing.
template <typename Value>
int AppendEveryNumber(const std::string& s, std::vector<Value>& v,
                      Value (*scan)(const std::string&, int, int&)) {
  for (int pos = 0;;) {
    const Value value = scan(s, pos, pos);
    if (pos < 0) break;
    v.push_back(value);
  }
  return static_cast<int>(v.size());
}

}  // namespace

int GetAllIntegers(const std::string& s, std::vector<int>& v) { return AppendEveryNumber(s, v, GetNextInteger); }
int GetAllDoubles(const std::string& s, std::vector<double>& v) { return AppendEveryNumber(s, v, GetNextDouble); }

int NextInt(const std::string& s, int& pos) { return GetNextInteger(s, pos, pos); }
long NextLong(const std::string& s, int& pos) { return GetNextLong(s, pos, pos); }
double NextDouble(const std::string& s, int& pos) { return GetNextDouble(s, pos, pos); }

float NextFloat(const std::string& s, int& pos) {
  // Narrowing rounds to the nearest float: up to half a step past the
  // largest float gives the largest float, from there on infinity. Both are
  // settled here so that the conversion never overflows.
  constexpr double kInfinityFrom = 0x1.ffffffp+127;  // FLT_MAX is 0x1.fffffep+127
  const double value = NextDouble(s, pos);
  if (value >= kInfinityFrom) return HUGE_VALF;
  if (value <= -kInfinityFrom) return -HUGE_VALF;
  return static_cast<float>(std::clamp<double>(value, -FLT_MAX, FLT_MAX));
}

std::string SplitNext(const std::string& s, int& pos) { return GetNextWSDelimitedString(s, pos, pos); }
std::string NextString(const std::string& s, int& pos) { return GetNextWSDelimitedString(s, pos, pos); }

void GetIntsFromLine(const std::string& s, std::vector<int>& v) {
  for (int pos = 0; pos >= 0;) {
    const std::string token = GetNextWSDelimitedString(s, pos, pos);
    if (!token.empty()) v.push_back(atoi(token));
  }
}

namespace {

// Whether a carriage return at p ends its line: a newline or the text's end
// follows it.
bool EndsLine(const char* p, const char* end) { return *p == '\r' && (p + 1 == end || p[1] == '\n'); }

bool EndsToken(const char* p, const char* end) { return IsWS(*p) || *p == '\0' || EndsLine(p, end); }

// Converts the token at `token` with atoi; returns where it ends.
const char* ConvertToken(const char* token, const char* end, std::vector<int>& v) {
  const char* p = token;
  while (p < end && !EndsToken(p, end)) ++p;
  v.push_back(atoi(std::string(token, p)));
  return p;
}

}  // namespace

// Quality files hold hundreds of millions of values, nearly all plain runs
// of digits: those are converted while they are scanned; any other token
// goes through atoi.
void GetIntsFromLines(const char* p, const char* end, std::vector<int>& v) {
  while (p < end) {
    // Most tokens are one or two digits and a blank or newline.
    if (end - p >= 3) {
      const unsigned first = static_cast<unsigned char>(p[0]) - '0';
      if (first <= 9) {
        if (p[1] == ' ' || p[1] == '\n') {
          v.push_back(static_cast<int>(first));
          p += 2;
          continue;
        }
        const unsigned second = static_cast<unsigned char>(p[1]) - '0';
        if (second <= 9 && (p[2] == ' ' || p[2] == '\n')) {
          v.push_back(static_cast<int>(first * 10 + second));
          p += 3;
          continue;
        }
      }
    }
    unsigned digit = static_cast<unsigned char>(*p) - '0';  // above 9 for any other character
    if (digit <= 9) {
      const char* token = p;
      int64_t value = digit;
      while (++p < end && (digit = static_cast<unsigned char>(*p) - '0') <= 9)
        if (value <= INT_MAX) value = value * 10 + digit;  // stops growing past the int range
      if (p == end || EndsToken(p, end))
        v.push_back(value > INT_MAX ? INT_MAX : static_cast<int>(value));
      else
        p = ConvertToken(token, end, v);  // digits glued to other characters
    } else if (IsWS(*p) || EndsLine(p, end)) {
      ++p;
    } else if (*p == '\0') {
      const void* newline = std::memchr(p, '\n', static_cast<size_t>(end - p));
      p = newline == nullptr ? end : static_cast<const char*>(newline);
    } else {
      p = ConvertToken(p, end, v);
    }
  }
}

void GetIntsFromLine(const char* text, std::vector<int>& v) { GetIntsFromLines(text, text + std::strlen(text), v); }

}  // namespace ostrel
