// The line, token and number scanners of util/ on arbitrary bytes, each
// against a plain reference where one is short to state.
#include <climits>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "util/LineScan.h"
#include "util/NumberUtil.h"
#include "util/StringUtil.h"
#include "util/TokenScan.h"

using namespace ostrel;

namespace {

bool PlainWS(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// The tokens between blanks, tabs and newlines.
std::vector<std::string> PlainTokens(const std::string& s) {
  std::vector<std::string> tokens;
  std::string token;
  for (char c : s) {
    if (!PlainWS(c)) {
      token += c;
    } else if (!token.empty()) {
      tokens.push_back(token);
      token.clear();
    }
  }
  if (!token.empty()) tokens.push_back(token);
  return tokens;
}

// The runs of digits, each clamped to INT_MAX and negated after a '-'.
std::vector<int64_t> PlainIntegers(const std::string& s) {
  std::vector<int64_t> values;
  for (size_t i = 0; i < s.size();) {
    if (s[i] < '0' || s[i] > '9') {
      ++i;
      continue;
    }
    int64_t value = 0;
    const bool negative = i > 0 && s[i - 1] == '-';
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) value = std::min<int64_t>(value * 10 + (s[i] - '0'), INT_MAX);
    values.push_back(negative ? -value : value);
  }
  return values;
}

void CheckLines(const std::string& text) {
  std::istringstream in(text), plain(text);
  std::string line, expected;
  std::vector<std::string> lines;
  while (GetLine(in, line)) {
    FUZZ_CHECK(std::getline(plain, expected));
    FUZZ_CHECK(line == expected);
    FUZZ_CHECK(std::strncmp(readbuf, line.data(), std::min<size_t>(line.size(), kReadBufSize - 1)) == 0);
  }
  FUZZ_CHECK(!std::getline(plain, expected));

  // A block ends at the first line of white space only.
  std::istringstream blockIn(text), linesIn(text);
  std::vector<char> block;
  GetBlockLines(blockIn, block, line);
  std::string joined;
  while (GetLine(linesIn, expected) && !ContainsOnlyWS(expected)) joined += expected;
  FUZZ_CHECK(std::string(block.begin(), block.end()) == joined);

  // List lines lose one carriage return at their end.
  std::istringstream listIn(text), plainList(text);
  while (GetListLine(listIn, line)) {
    FUZZ_CHECK(std::getline(plainList, expected));
    if (!expected.empty() && expected.back() == '\r') expected.pop_back();
    FUZZ_CHECK(line == expected);
  }
}

void CheckTokens(const std::string& s) {
  std::vector<std::string> tokens;
  for (int pos = 0; pos >= 0 && pos < static_cast<int>(s.size());) {
    std::string token = GetNextWSDelimitedString(s, pos, pos);
    if (!token.empty()) tokens.push_back(token);
  }
  FUZZ_CHECK(tokens == PlainTokens(s));

  std::string stripped = s;
  StripWhiteSpace(stripped);
  std::string joined;
  for (const std::string& token : PlainTokens(s)) joined += token;
  FUZZ_CHECK(stripped == joined);

  std::vector<int64_t> integers;
  for (int pos = 0; pos >= 0 && pos <= static_cast<int>(s.size());) {
    int past = 0;
    const int first = FindDigitRun(s, pos, past);
    int next = 0;
    const int value = GetNextInteger(s, pos, next);
    if (first < 0) {
      FUZZ_CHECK(next == -1 && value == 0);
      break;
    }
    FUZZ_CHECK(first >= pos && past > first && past <= static_cast<int>(s.size()));
    FUZZ_CHECK(next == (past == static_cast<int>(s.size()) ? past + 1 : past));
    int next64 = 0;
    const int64_t value64 = GetNextInteger64(s, pos, next64);
    FUZZ_CHECK(next64 == next);
    FUZZ_CHECK(value64 == value || value == INT_MAX || value == -INT_MAX);
    integers.push_back(value);
    pos = past;
  }
  FUZZ_CHECK(integers == PlainIntegers(s));

  std::vector<int> all;
  FUZZ_CHECK(GetAllIntegers(s, all) == static_cast<int>(all.size()));
  std::vector<double> doubles;
  FUZZ_CHECK(GetAllDoubles(s, doubles) == static_cast<int>(doubles.size()));
  int begin = 0, end = 0;
  if (FindNextInteger(s, 0, begin, end) == 0) FUZZ_CHECK(begin >= 0 && begin <= end && end <= static_cast<int>(s.size()));
  if (FindNextDouble(s, 0, begin, end) == 0) FUZZ_CHECK(begin >= 0 && begin <= end && end <= static_cast<int>(s.size()));
  for (int pos = 0; pos >= 0 && pos < static_cast<int>(s.size());) {
    const int before = pos;
    NextDouble(s, pos);
    FUZZ_CHECK(pos == -1 || pos > before);
  }
  for (int pos = 0; pos >= 0 && pos < static_cast<int>(s.size());) {
    const int before = pos;
    NextFloat(s, pos);
    NextLong(s, pos);
    NextInt(s, pos);
    FUZZ_CHECK(pos == -1 || pos > before);
  }
  std::vector<int> fromLine, fromLines;
  GetIntsFromLine(s, fromLine);
  GetIntsFromLine(s.c_str(), fromLine);
  GetIntsFromLines(s.data(), s.data() + s.size(), fromLines);
}

void CheckStrings(const std::string& s) {
  // atoi agrees with the C library's within the int range.
  const long plain = std::strtol(s.c_str(), nullptr, 10);
  const int value = ostrel::atoi(s);
  FUZZ_CHECK(value == ostrel::atoi(s.c_str()));
  if (plain > INT_MIN && plain < INT_MAX) FUZZ_CHECK(value == plain);
  int count = 0;
  if (ParseCount(s, count))
    FUZZ_CHECK(count >= 0 && !s.empty() && s.find_first_not_of("0123456789") == std::string::npos);

  const std::string key = s.substr(0, s.size() % 3);
  FUZZ_CHECK(StartsWith(s, key) == (s.find(key) == 0));
  FUZZ_CHECK(Contains(s, key));
  std::vector<std::string> parts;
  Split(s, parts, key.empty() ? std::string(",") : key);
  std::string field;
  for (int n = 0; n < 4; ++n) CutString(s, field, n, ',');
  std::string rest;
  GetRemainderAfter(key.c_str(), s, rest);
  std::string copy = s;
  ToUpperCase(copy);
  ToLowerCase(copy);
  StripLeadingSpaces(copy);
  StripTrailingSpace(copy);
  FUZZ_CHECK(copy.empty() || (!PlainWS(copy.front()) && !PlainWS(copy.back())));
  ContainsOnlyDigits(s, 0, static_cast<int>(s.size()) / 2);
  // An empty key is found everywhere and ends before it starts: left out.
  std::vector<std::string> keys = {"CO", "RD", ">"};
  if (!key.empty()) keys.push_back(key);
  int begin = 0, end = 0;
  FindNextOf(keys, s, 0, begin, end);
  FUZZ_CHECK((begin == -1) == (end == -1));
  std::string found;
  for (int pos = 0; pos >= 0 && pos < static_cast<int>(s.size()) && GetNextKeyword(keys, s, pos, pos, found);)
    FUZZ_CHECK(!found.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string s(reinterpret_cast<const char*>(bytes), size);
  CheckLines(s);
  CheckTokens(s);
  CheckStrings(s);
  return 0;
}
