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
    "Writes FILE_idx beside each FASTA, quality or FASTQ file FILE, plain or\n"
    "bgzip-compressed, the index that ostrel-extractbins reads: one line per\n"
    "record, in file order,\n"
    "    name<TAB>start<TAB>end\n"
    "where name is the first word after the '>' or '@' of the header line, start\n"
    "the 1-based byte position of the '>' or '@' and end that of the record's\n"
    "last byte (of a FASTQ record, its last quality line), in the file's text:\n"
    "a bgzip file is indexed as its plain form would be, and its FILE.gzi block\n"
    "index is written beside it unless one as new as the file is there. A plain\n"
    "gzip file cannot be read by position: recompress it with bgzip. A file that\n"
    "cannot be read or holds no such records gets no index (an existing FILE_idx\n"
    "stays as it was), with the byte (and, in FASTQ, the line) where it goes\n"
    "wrong; the other files are still indexed.\n"
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
