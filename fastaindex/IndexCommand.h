// The ostrel-fastaindex run: options, then one index per file named.
#ifndef OSTREL_FASTAINDEX_INDEXCOMMAND_H
#define OSTREL_FASTAINDEX_INDEXCOMMAND_H

namespace ostrel {

// Prints the usage text to standard output.
void PrintFastaIndexHelp();

// Indexes every file named on the command line and returns the exit status:
// 0 when every index was written (and for -h), 1 for bad options, no file
// named, or any file left without an index.
int RunFastaIndex(int argc, char** argv);

}  // namespace ostrel

#endif
