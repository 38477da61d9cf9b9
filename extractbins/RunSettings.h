// Run settings of ostrel-extractbins and the scan of its command line.
#ifndef OSTREL_EXTRACTBINS_RUNSETTINGS_H
#define OSTREL_EXTRACTBINS_RUNSETTINGS_H

#include <string>
#include <vector>

namespace ostrel {

// Process-wide state (one thread): written once by SetupOptions before
// anything else runs, read-only afterwards.
extern std::string OptFASTAFileList;           // -i: file listing the indexed FASTA files
extern std::string OptOutRoot;                 // -o: text put in front of every output name
extern std::string OptBinFOF;                  // -b: file listing bin file names
extern std::string OptSingleFASTAName;         // -I: one FASTA file, replaces the list
extern std::vector<std::string> OptBinFileVec; // bin files: the -b file's, then free words
extern bool OptFreshOutputs;                   // -r: outputs replaced, not appended to
extern bool OptFastqOutput;                    // -Q: FASTA reads and their qualities written as FASTQ
extern bool OptStreamInputs;                   // -S: inputs read whole, no index used

// Scans the command line into the run settings, reads the -b file (only when
// -b was given; one name per line as it stands) and appends the free words
// up to the first empty one. A bad option prints "Error with option '<c>'"
// and the usage text and ends the process with status 1; so do an empty
// command line (the usage text alone) and one that names no bin (a line
// saying so first). -h prints the usage text and ends it with status 0.
// The result is false when the -b file could not be opened.
bool SetupOptions(int argc, char** argv);

// Prints the usage text, ending with the version, to standard output.
void PrintHelp();

}  // namespace ostrel

#endif
