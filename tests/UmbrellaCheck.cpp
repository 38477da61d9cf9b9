// A program built against ostrel.h alone, as a user of the library would.
#include "ostrel.h"

int main() {
  std::string line = "  read7\t120 300";
  int pos = 0;
  const std::string name = ostrel::GetNextWSDelimitedString(line, 0, pos);
  return name == "read7" && ostrel::GetNextInteger(line, pos, pos) == 120 ? 0 : 1;
}
