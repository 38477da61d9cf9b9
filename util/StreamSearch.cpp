// Line searches over a stream.
#include "util/StreamSearch.h"

#include "util/LineScan.h"
#include "util/StringUtil.h"

namespace ostrel {

bool GetNextLineContaining(std::istream& in, const char* key, std::string& line) {
  return GetNextLineContaining(in, std::string(key), line);
}

bool GetNextLineContaining(std::istream& in, const std::string& key, std::string& line) {
  while (GetLine(in, line))
    if (Contains(line, key)) return true;
  return false;
}

bool GetNextLineContaining(std::istream& in, const char* key1, const char* key2, std::string& line) {
  while (GetLine(in, line))
    if (Contains(line, key1) || Contains(line, key2)) return true;
  return false;
}

bool GetNextLineContaining(std::istream& in, const std::vector<std::string>& keys, std::string& line,
                           int& which) {
  which = 0;
  int begin = 0, end = 0;
  while (GetLine(in, line)) {
    which = FindNextOf(keys, line, 0, begin, end);
    if (begin >= 0) return true;
  }
  return false;
}

}  // namespace ostrel
