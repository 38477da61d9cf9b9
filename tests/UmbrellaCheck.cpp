// A program built against ostrel.h alone, as a user of the library would.
#include "ostrel.h"

int main() {
  std::string line = "  read7\t120 300";
  int pos = 0;
  const std::string name = ostrel::GetNextWSDelimitedString(line, 0, pos);
  if (name != "read7" || ostrel::GetNextInteger(line, pos, pos) != 120) return 1;

  ostrel::SequenceVector reads;
  ostrel::Sequence read;
  read.InitFromCString("A*CG");
  read.mName = name;
  reads.AddSequence(read);
  return reads[0].Padded2Depadded(2) == 2 && ostrel::itoa(reads.N50()) == "4" ? 0 : 1;
}
