// Run settings of ostrel-extractbins, its usage text and option handling.
#include "extractbins/RunSettings.h"

#include <cstdlib>
#include <iostream>

#include "util/GetOption.h"
#include "util/LineScan.h"

namespace ostrel {

std::string OptFASTAFileList;
std::string OptOutRoot;
std::string OptBinFOF;
std::string OptSingleFASTAName;
std::vector<std::string> OptBinFileVec;

namespace {

// One entry per line of the usage text, trailing blanks included.
const char* const kUsageLines[] = {
    "",
    "",
    "ostrel-extractbins",
    " ",
    "ostrel-extractbins -i fastafileslist  <-o rootpath> <-s fasta prefix>  <-q quality prefix> bin1 bin2 ...",
    "",
    "",
    "    -I       Allows just one fasta input file to be specified. ",
    "    -b       FOF listing the bin file names.  Union with command line bin1, bin2, etc. to get ",
    "",
    "",
    "   ",
    "Extracts reads specified in bin file (or set of binfiles) from a set of indexed ",
    "FASTA files.  Takes a list of the FASTA files indexed (NOT the index names, the ",
    "original FASTA file names) and a list of bin file names. It tries to decipher",
    "the corresponding quality file name and looks to see if that file exists and if ",
    "it does adds it to the list of files to be extracted.  Some of the transformations",
    "it will try include:",
    "",
    "     read1.fa         -> read1.qual",
    "     read1.fasta      -> read1.qual",
    "     read1.fa.orig    -> read1.fa.qual  (where orig can be anything).",
    "     read1.fasta.orig -> read1.fa.qual  ",
    "     fasta.read1.wgs  -> qual.read1.wgs",
    "     fa.read1.wgs     -> qual.read1.wgs ",
    "     read1            -> read1.qual",
    "FASTQ inputs (no quality file) write binfilename_out.fq; bgzip inputs need FILE.gzi.",
    "",
    "",
    "",
    "",
    "The outfile name for each bin is binfilename_out.fa and binfilename_out.fa.qual. ",
    "If no rootpaht is given the output will be in the current directory. ",
    "",
    "",
    "NOTE: These output file are written in an append mode!",
    " ",
    "                    ",
    "",
    "",
    "Version History",
    "------------------",
    "1.04            Added single FASTA name input and Bin file FOF input. ",
    "1.02            Added some heuristics to find .qual files associated with several kinds of ",
    "                naming schemes (e.g. fasta.xxxx or xxxx.fa or xxx.fa.orig).  ",
    "",
    "",
    "",
    "   ",
};

}  // namespace

void PrintHelp() {
  for (const char* line : kUsageLines) std::cout << line << '\n';
  std::cout.flush();
}

bool SetupOptions(int argc, char** argv) {
  GetOption options(argc, argv, "i:o:b:I:h");
  bool binFOFGiven = false;
  for (char letter = options.NextOption(); letter != '0'; letter = options.NextOption()) {
    switch (letter) {
      case 'i': OptFASTAFileList = options.NextArg(); break;
      case 'o': OptOutRoot = options.NextArg(); break;
      case 'b':
        OptBinFOF = options.NextArg();
        binFOFGiven = true;
        break;
      case 'I': OptSingleFASTAName = options.NextArg(); break;
      case 'h':
        PrintHelp();
        std::exit(0);
      default:
        std::cout << "Error with option '" << letter << "'\n";
        PrintHelp();
        std::exit(1);
    }
  }
  const bool binFOFRead = !binFOFGiven || ReadNameList(OptBinFOF, OptBinFileVec);
  for (std::string word = options.GetFreeArg(); !word.empty(); word = options.GetFreeArg())
    OptBinFileVec.push_back(word);
  return binFOFRead;
}

}  // namespace ostrel
