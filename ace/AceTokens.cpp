// Keyword tests and line searches over ACE text.
#include "ace/AceTokens.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <iostream>

#include "util/LineScan.h"
#include "util/StringUtil.h"

namespace ostrel {

namespace {

// True when the text after position `end` is nothing or starts with white space.
bool EndsWord(const std::string& line, size_t end) { return end >= line.size() || IsWS(line[end]); }

// The position of the first character that is not a blank or tab.
size_t SkipIndent(const std::string& line) {
  size_t at = 0;
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  return at;
}

}  // namespace

bool ContainsWSPadded(const std::string& line, const std::string& token) {
  const size_t at = line.find(token);
  return at != std::string::npos && EndsWord(line, at + token.size());
}

bool FindTokenPlusWS(std::istream& in, const std::string& token, std::string& line) {
  if (Contains(line, token)) return true;
  while (ReadLine(in, line)) {
    const size_t at = line.find(token);
    if (at == std::string::npos) continue;
    if (EndsWord(line, at + token.size())) return true;
    std::cerr << "Find Token How did we get here? " << std::endl;
    std::cerr << "feature=" << token << "idx=" << at << " linesize=" << line.size() << " templine=" << line
              << std::endl;
    return false;
  }
  return false;
}

bool FindToken(std::istream& in, const std::string& token, std::string& line) {
  if (Contains(line, token)) return true;
  while (ReadLine(in, line))
    if (Contains(line, token)) return true;
  return false;
}

bool StartsTag(const std::string& line) {
  const size_t at = SkipIndent(line);
  if (line.size() < at + 3 || line[at + 2] != '{') return false;
  return std::isupper(static_cast<unsigned char>(line[at])) && std::isupper(static_cast<unsigned char>(line[at + 1]));
}

bool ClosesTag(const std::string& line) {
  size_t at = SkipIndent(line);
  if (at >= line.size() || line[at] != '}') return false;
  for (++at; at < line.size(); ++at)
    if (line[at] != ' ' && line[at] != '\t' && line[at] != '\r') return false;
  return true;
}

bool IsAssemblyTag(const std::string& tag) { return tag.compare(SkipIndent(tag), 3, "WA{") == 0; }

std::string TagSubject(const std::string& tag) {
  const size_t lineEnd = tag.find('\n');
  if (lineEnd == std::string::npos) return std::string();
  const size_t start = tag.find_first_not_of(" \t", lineEnd + 1);
  if (start == std::string::npos) return std::string();
  const size_t end = tag.find_first_of(" \t\r\n", start);
  return tag.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

int RecordFieldsStart(const std::string& line) {
  const size_t indent = std::min(SkipIndent(line), static_cast<size_t>(INT_MAX - 2));  // positions are ints
  return static_cast<int>(indent) + 2;
}

}  // namespace ostrel
