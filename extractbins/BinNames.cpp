// Reading bin files, a read name to a line.
#include "extractbins/BinNames.h"

#include <fstream>
#include <iostream>

#include "util/LineScan.h"
#include "util/StringUtil.h"

namespace ostrel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool EndsName(char c) { return IsBlank(c) || c == '\r' || c == '\n'; }

}  // namespace

std::string_view BinLineName(std::string_view line) {
  size_t at = 0;
  while (at < line.size() && IsBlank(line[at])) ++at;
  if (at < line.size() && line[at] == '>') {
    ++at;
    while (at < line.size() && IsBlank(line[at])) ++at;
  }
  size_t end = at;
  while (end < line.size() && !EndsName(line[end])) ++end;
  return line.substr(at, end - at);
}

bool ReadBinNames(const std::string& binName, std::vector<std::string>& names) {
  std::ifstream in(binName);
  if (!in) {
    std::cout << "ERROR: Could not open " << ShownFileName(binName) << std::endl;
    return false;
  }
  std::string line;
  while (in.good()) {
    ReadLine(in, line);
    const std::string_view name = BinLineName(line);
    if (!name.empty()) names.emplace_back(name);
  }
  return true;
}

}  // namespace ostrel
