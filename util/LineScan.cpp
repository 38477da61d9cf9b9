// Line, token and file-list scanning.
#include "util/LineScan.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <fstream>
#include <iostream>

#include "util/StringUtil.h"

namespace ostrel {

char readbuf[kReadBufSize];
const std::string gWS = " \t\n";
const std::string gNumbers = "1234567890";
const std::string gLetters = "abcdefghijklmnopqrstuvwxyz";
const std::string gUCLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

namespace {

// The string's length as an int position (strings past INT_MAX are scanned
// only up to there).
int Length(const std::string& s) {
  return s.size() > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(s.size());
}

// The first position at or after `start` (nothing for a negative start).
int FirstPosition(const std::string& s, int start) { return start < 0 ? Length(s) : start; }

// The integer scan shared by the int and 64-bit integer scanners: the value
// saturates at `limit` and is negated when a '-' stands just before the run.
int64_t ScanInteger(const std::string& s, int start, int& pos, int64_t limit) {
  int past = 0;
  const int i = FindDigitRun(s, start, past);
  if (i < 0) {
    pos = -1;
    return 0;
  }
  int64_t value = 0;
  for (int j = i; j < past; ++j) {
    const int digit = s[j] - '0';
    value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
  }
  pos = past < Length(s) ? past : past + 1;
  return i > 0 && s[i - 1] == '-' ? -value : value;
}

}  // namespace

int FindDigitRun(const std::string& s, int start, int& past) {
  const int len = Length(s);
  int i = FirstPosition(s, start);
  while (i < len && !IsDigit(s[i])) ++i;
  if (i >= len) return -1;
  past = i + 1;
  while (past < len && IsDigit(s[past])) ++past;
  return i;
}

bool ReadLine(std::istream& in, std::string& line) {
  line.clear();
  // What the stream's own sentry does for unformatted input: fail a stream
  // that is not good, flush the tied output stream.
  if (!in.good()) {
    in.setstate(std::ios::failbit);
    return false;
  }
  if (in.tie() != nullptr) in.tie()->flush();
  std::streambuf* buffer = in.rdbuf();
  bool ended = false;  // the line's newline was consumed
  bool any = false;    // a character (or the newline) was consumed
  while (!ended) {
    const char* next = StreamGetArea::Next(buffer);
    const std::ptrdiff_t available = StreamGetArea::End(buffer) - next;
    if (available <= 0) {
      // Nothing buffered (or an unbuffered stream): one character refills.
      const int c = buffer->sbumpc();
      if (c == std::char_traits<char>::eof()) break;
      any = true;
      ended = c == '\n';
      if (!ended) line.push_back(static_cast<char>(c));
      continue;
    }
    const int span = static_cast<int>(std::min<std::ptrdiff_t>(available, INT_MAX - 1));
    const char* newline = static_cast<const char*>(std::memchr(next, '\n', static_cast<size_t>(span)));
    const int taken = newline == nullptr ? span : static_cast<int>(newline - next);
    line.append(next, static_cast<size_t>(taken));
    StreamGetArea::Advance(buffer, newline == nullptr ? taken : taken + 1);
    any = true;
    ended = newline != nullptr;
  }
  if (!ended) in.setstate(any ? std::ios::eofbit : std::ios::eofbit | std::ios::failbit);
  return !in.fail() && !in.bad();
}

bool GetLine(std::istream& in, std::string& line) {
  const bool read = ReadLine(in, line);
  const size_t kept = std::min(line.size(), static_cast<size_t>(kReadBufSize - 1));
  std::memcpy(readbuf, line.data(), kept);
  readbuf[kept] = '\0';
  return read;
}

bool GetBlockLines(std::istream& in, std::vector<char>& to, std::string& line) {
  return ScanBlockLines(
      in, line, [](std::string_view) { return false; },
      [&to](const char* begin, const char* end) { to.insert(to.end(), begin, end); });
}

bool GetListLine(std::istream& in, std::string& line) {
  const bool read = GetLine(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return read;
}

void StripWhiteSpace(std::string& s) {
  std::string kept;
  kept.reserve(s.size());
  for (char c : s)
    if (!IsWS(c)) kept += c;
  s.swap(kept);
}

std::string GetNextWSDelimitedString(const std::string& s, int start, int& pos) {
  const int len = Length(s);
  int lo = FirstPosition(s, start);
  while (lo < len && IsWS(s[lo])) ++lo;
  if (lo >= len) {
    pos = -1;
    return "";
  }
  int hi = lo + 1;
  while (hi < len && !IsWS(s[hi])) ++hi;
  pos = hi < len ? hi + 1 : -1;
  return s.substr(lo, hi - lo);
}

int GetNextInteger(const std::string& s, int start, int& pos) {
  return static_cast<int>(ScanInteger(s, start, pos, INT_MAX));
}

int64_t GetNextInteger64(const std::string& s, int start, int& pos) {
  return ScanInteger(s, start, pos, INT64_MAX);
}

namespace {

bool ReadLines(const std::string& fileName, bool stripWhiteSpace, std::vector<std::string>& names) {
  std::ifstream in(fileName);
  if (!in) {
    std::cout << "ERROR: Could not open " << ShownFileName(fileName) << std::endl;
    return false;
  }
  std::string line;
  while (in.good()) {
    GetListLine(in, line);
    if (stripWhiteSpace) StripWhiteSpace(line);
    if (!line.empty()) names.push_back(line);
  }
  return true;
}

}  // namespace

bool ReadFOF(const std::string& fileName, std::vector<std::string>& names) {
  return ReadLines(fileName, true, names);
}

bool ReadNameList(const std::string& fileName, std::vector<std::string>& names) {
  return ReadLines(fileName, false, names);
}

bool ReadFOF(const char* fileName, std::vector<std::string>& names) {
  return ReadFOF(std::string(fileName), names);
}

}  // namespace ostrel
