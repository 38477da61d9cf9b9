// Bin files and files of file names, read by ReadFOF: whatever the bytes,
// each name is a non-empty word without white space or a line-ending
// carriage return, and the names are the file's lines in order.
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "util/LineScan.h"

using namespace ostrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  const std::string path = fuzz::ScratchPath("bin");
  fuzz::WriteBytes(path, text);
  std::vector<std::string> names = {"kept"};
  FUZZ_CHECK(ReadFOF(path, names));
  FUZZ_CHECK(!names.empty() && names[0] == "kept");

  // The plain reading: per line, its carriage return ending it dropped,
  // then every blank, tab and newline.
  std::vector<std::string> expected = {"kept"};
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string name;
    for (char c : line)
      if (c != ' ' && c != '\t' && c != '\n') name += c;
    if (!name.empty()) expected.push_back(name);
  }
  FUZZ_CHECK(names == expected);
  return 0;
}
