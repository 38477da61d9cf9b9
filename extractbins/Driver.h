// The ostrel-extractbins run from start to end.
#ifndef OSTREL_EXTRACTBINS_DRIVER_H
#define OSTREL_EXTRACTBINS_DRIVER_H

#include <string>
#include <vector>

namespace ostrel {

// Appends the FASTA files named in `listName`, one per line as it stands
// (a carriage return ending a line dropped, empty lines skipped), each
// FASTA file followed by its quality file when one is found ("Found qual
// file <name>" is printed); a FASTQ file has none. False, after printing "<listName> didn't open", when the
// list cannot be opened.
bool ReadInputList(const std::string& listName, std::vector<std::string>& inputs);

// Appends input `fileName` to `inputs`, followed by its quality file when
// one is found ("Found qual file <name>" is printed); a FASTQ file has none.
void AddInput(const std::string& fileName, std::vector<std::string>& inputs);

// True when `input` can be opened for reading; otherwise "<input>: <reason>;
// input skipped." is printed.
bool InputReadable(const std::string& input);

// Extracts every bin against every input, inputs outermost, each input's
// index loaded in turn, or the input read whole with OptStreamInputs and
// when it is plain gzip (an input that cannot be read is reported and
// skipped), the outputs appended to or, with OptFreshOutputs, made afresh;
// then reports each bin's names that no input held on standard error.
// found[i][b] becomes the number of records of bin b located in input i.
// False when some of the work could not be done.
bool ExtractBins(const std::vector<std::string>& inputs, const std::vector<std::string>& bins,
                 std::vector<std::vector<size_t>>& found);

// Runs the command and returns its exit status: 0 when all was done, 1 for
// bad options, nothing to do (no arguments, no bin names) or an unreadable
// FASTA list, 2 when the run went on past a file that could not be opened
// or read, a skipped record, a failed write or an output not put in place.
int RunExtractBins(int argc, char** argv);

}  // namespace ostrel

#endif
