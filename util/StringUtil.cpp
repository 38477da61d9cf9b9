// String tests, case changes, trimming, splitting, cutting and keyword search.
#include "util/StringUtil.h"

#include <algorithm>
#include <cctype>

#include "util/LineScan.h"

namespace ostrel {

bool StartsWith(const std::string& s, const char* p) { return s.rfind(p, 0) == 0; }
bool StartsWith(const std::string& s, const std::string& p) { return s.rfind(p, 0) == 0; }
bool Contains(const std::string& s, const char* p) { return s.find(p) != std::string::npos; }
bool Contains(const std::string& s, const std::string& p) { return s.find(p) != std::string::npos; }

bool ContainsOnlyWS(const std::string& s) { return std::all_of(s.begin(), s.end(), IsWS); }

bool ContainsOnlyDigits(const std::string& s, int start, int end) {
  if (start < 0) return false;
  const size_t nonDigit = s.find_first_not_of(gNumbers, static_cast<size_t>(start));
  return nonDigit != std::string::npos && static_cast<long long>(nonDigit) > end;
}

bool IsBase(char c) {
  switch (c) {
    case 'a': case 'c': case 'g': case 't': case 'x': case 'n':
    case 'A': case 'C': case 'G': case 'T': case 'X': case 'N':
      return true;
    default:
      return false;
  }
}

void ToLowerCase(std::string& s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

void ToUpperCase(std::string& s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

void StripLeadingSpaces(std::string& s) {
  s.erase(s.begin(), std::find_if_not(s.begin(), s.end(), IsWS));
}

void StripTrailingSpace(std::string& s) {
  s.erase(std::find_if_not(s.rbegin(), s.rend(), IsWS).base(), s.end());
}

void Split(const std::string& s, std::vector<std::string>& parts, const std::string& delimiter) {
  parts.clear();
  size_t at = s.find(delimiter);
  if (at == std::string::npos) return;
  parts.push_back(s.substr(0, at));
  size_t from = at + delimiter.size();
  for (;;) {
    at = s.find(delimiter, from);
    if (at == std::string::npos || at == from) {
      parts.push_back(s.substr(from));
      return;
    }
    parts.push_back(s.substr(from, at - from));
    from = at + delimiter.size();
  }
}

bool CutString(const std::string& s, std::string& field, int n, char c) {
  field.clear();
  if (n < 1) return false;
  std::vector<size_t> cuts;  // the first n occurrences of c
  for (size_t i = 0; i < s.size() && cuts.size() < static_cast<size_t>(n); ++i)
    if (s[i] == c) cuts.push_back(i);
  const size_t found = cuts.size();
  if (n == 1) {
    field = found > 0 ? s.substr(0, cuts[0]) : s;
    return true;
  }
  if (found == static_cast<size_t>(n)) {
    field = s.substr(cuts[n - 2] + 1, cuts[n - 1] - cuts[n - 2] - 1);
    return true;
  }
  if (found == static_cast<size_t>(n) - 1) {
    field = s.substr(cuts[n - 2] + 1);
    return true;
  }
  return false;
}

void Cut(const std::string& s, std::string& field, int n, char c) { CutString(s, field, n, c); }

void GetRemainderAfter(const char* key, const std::string& s, std::string& rest) {
  const std::string k(key);
  const size_t at = s.find(k);
  rest = at == std::string::npos ? std::string() : s.substr(at + k.size());
}

int FindNextOf(const std::vector<std::string>& keys, const std::string& s, int start, int& begin,
               int& end) {
  int which = 0;
  size_t first = std::string::npos;
  if (start >= 0) {
    for (size_t k = 0; k < keys.size(); ++k) {
      const size_t at = s.find(keys[k], static_cast<size_t>(start));
      if (at < first) {
        first = at;
        which = static_cast<int>(k);
      }
    }
  }
  if (first == std::string::npos) {
    begin = end = -1;
    return 0;
  }
  begin = static_cast<int>(first);
  end = static_cast<int>(first + keys[which].size()) - 1;
  return which;
}

bool GetNextKeyword(const std::vector<std::string>& keys, const std::string& s, int start, int& pos,
                    std::string& found) {
  int begin = 0, end = 0;
  const int which = FindNextOf(keys, s, start, begin, end);
  if (begin < 0) {
    pos = -1;
    return false;
  }
  found = keys[which];
  pos = end + 1;
  return true;
}

void ShowHidden(const std::string& s, std::ostream& out) {
  for (size_t i = 0; i < s.size(); ++i) {
    out << i << ':';
    switch (s[i]) {
      case ' ': out << "SPACE"; break;
      case '\t': out << "TAB"; break;
      case '\n': out << "NEWLINE"; break;
      default: out << s[i];
    }
    out << std::endl;
  }
}

std::string ShownFileName(const std::string& name) {
  const auto unseen = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  if (!name.empty() && !unseen(name.front()) && !unseen(name.back())) return name;
  return "'" + name + "'";
}

}  // namespace ostrel
