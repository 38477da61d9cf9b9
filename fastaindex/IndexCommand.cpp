// The ostrel-fastaindex command line and its usage text.
#include "fastaindex/IndexCommand.h"

#include <iostream>
#include <string>
#include <vector>

#include "fastaindex/FastaIndex.h"
#include "util/GetOption.h"

namespace ostrel {

namespace {

const char* const kUsage =
    "Usage: ostrel-fastaindex FILE...\n"
    "\n"
    "Writes FILE_idx beside each FASTA or quality file FILE, the index that\n"
    "ostrel-extractbins reads: one line per '>' record, in file order,\n"
    "    name<TAB>start<TAB>end\n"
    "where name is the first word after the '>' of the header line, start the\n"
    "1-based byte position of the '>' and end that of the record's last byte.\n"
    "A file that cannot be read or is not '>' records gets no index (an\n"
    "existing FILE_idx stays as it was); the other files are still indexed.\n"
    "\n"
    "    -h       Prints this text.\n"
    "\n"
    "Exit status: 0 when every file was indexed, 1 otherwise.\n";

}  // namespace

void PrintFastaIndexHelp() { std::cout << kUsage << std::flush; }

int RunFastaIndex(int argc, char** argv) {
  GetOption options(argc, argv, "h");
  for (char letter = options.NextOption(); letter != '0'; letter = options.NextOption()) {
    if (letter == 'h') {
      PrintFastaIndexHelp();
      return 0;
    }
    std::cerr << "Error with option '" << letter << "'\n" << kUsage << std::flush;
    return 1;
  }
  std::vector<std::string> files;
  for (std::string word = options.GetFreeArg(); !word.empty(); word = options.GetFreeArg())
    files.push_back(word);
  if (files.empty()) {
    std::cerr << "ERROR: no file named\n" << kUsage << std::flush;
    return 1;
  }
  bool ok = true;
  for (const std::string& file : files) ok = IndexFastaFile(file) && ok;
  return ok ? 0 : 1;
}

}  // namespace ostrel
