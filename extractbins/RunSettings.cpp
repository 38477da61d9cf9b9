// Run settings of ostrel-extractbins, its usage text and option handling.
#include "extractbins/RunSettings.h"

#include <cstdlib>
#include <iostream>

#include "ostrel/Version.h"
#include "util/GetOption.h"
#include "util/LineScan.h"

namespace ostrel {

std::string OptFASTAFileList;
std::string OptOutRoot;
std::string OptBinFOF;
std::string OptSingleFASTAName;
std::vector<std::string> OptBinFileVec;
bool OptFreshOutputs = false;
bool OptFastqOutput = false;
bool OptStreamInputs = false;

namespace {

// The usage text, a line to an entry; the version is added after it.
const char* const kUsageLines[] = {
    "",
    "",
    "ostrel-extractbins",
    " ",
    "ostrel-extractbins -i fastafileslist  <-o rootpath> <-b binfof> <-r> <-Q> <-S> bin1 bin2 ...",
    "ostrel-extractbins -I fastafile  <-o rootpath> <-b binfof> <-r> <-Q> <-S> bin1 bin2 ...",
    "",
    "    -i       File listing the indexed FASTA files, one name per line. ",
    "    -I       Allows just one fasta input file to be specified (no quality file is looked for, ",
    "             but for -Q). ",
    "    -o       Text put in front of every output file name: a folder with its trailing slash, ",
    "             or any prefix.  Default: none, the current directory. ",
    "    -b       FOF listing the bin file names.  Union with command line bin1, bin2, etc. to get ",
    "             the bins extracted, the FOF's first. ",
    "    -r       Replaces every output this run writes instead of appending to it. ",
    "    -Q       Writes each bin's reads as FASTQ (binfilename_out.fq, Phred + 33) in place of ",
    "             _out.fa and _out.fa.qual: each FASTA record with the quality record of its name; ",
    "             FASTQ inputs are copied as they are. ",
    "             A read without its quality record, or with another number of values than ",
    "             bases, is reported and not written (status 2); values above 93 are written as 93. ",
    "             With -S, or a plain gzip FASTA or quality file, the two are read side by side. ",
    "    -S       Streams: reads each input whole, from start to end, with no index, and ",
    "             writes the same outputs.  Faster when the bins take a large share of the reads. ",
    "    -h       Prints this text. ",
    "    -V       Prints the version (also --version). ",
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
    "     read1.fasta.orig -> read1.fasta.qual  ",
    "     fasta.read1.wgs  -> qual.read1.wgs",
    "     fa.read1.wgs     -> qual.read1.wgs ",
    "     read1.fa.gz      -> read1.qual.gz  (or read1.fa.qual.gz), when read1.fa.qual is not there. ",
    "     read1            -> read1.qual",
    "",
    "Each line of a bin file names one read by its first word: blanks and one leading '>' ",
    "are passed over, and the rest of the line is ignored. ",
    "",
    "The outfile name for each bin is binfilename_out.fa and binfilename_out.fa.qual. ",
    "If no rootpath is given the output will be in the current directory. ",
    "Folders missing on the way to an output are made. ",
    "FASTQ inputs (no quality file beside them) write binfilename_out.fq. bgzip inputs are ",
    "read through their FILE.gzi block index (ostrel-fastaindex writes it). ",
    "A plain gzip input cannot be read by position: it is streamed, as with -S. ",
    "",
    "NOTE: These output files are written in an append mode, unless -r is given!",
    " ",
    "",
    "Version",
    "------------------",
};

}  // namespace

void PrintHelp() {
  for (const char* line : kUsageLines) std::cout << line << '\n';
  std::cout << "ostrel-extractbins " << OSTREL_VERSION << '\n';
  std::cout.flush();
}

bool SetupOptions(int argc, char** argv) {
  if (argc <= 1) {
    PrintHelp();
    std::exit(1);
  }
  GetOption options(argc, argv, "i:o:b:I:rQSh");
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
      case 'r': OptFreshOutputs = true; break;
      case 'Q': OptFastqOutput = true; break;
      case 'S': OptStreamInputs = true; break;
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
  if (OptBinFileVec.empty()) {
    std::cout << "No bin names: none on the command line" << (binFOFGiven ? " and none in the -b file." : ".")
              << std::endl;
    PrintHelp();
    std::exit(1);
  }
  return binFOFRead;
}

}  // namespace ostrel
