// Bin files: the read names of one bin, a name to a line.
//
// A line names a read by its first word, as a FASTA header and the read
// index do: blanks and tabs before it, and one leading '>' with any blanks
// after it, are passed over; the name ends at the first blank, tab or line
// end (a carriage return included), and the rest of the line is ignored.
// So "r1<TAB>cluster5" names r1 and a header pasted whole, ">r2 some text",
// names r2. Lines without a name are skipped; there is no comment syntax,
// and a name listed twice is kept twice.
#ifndef OSTREL_EXTRACTBINS_BINNAMES_H
#define OSTREL_EXTRACTBINS_BINNAMES_H

#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

// The read name of one bin line (without its newline); empty when the line
// names none.
std::string_view BinLineName(std::string_view line);

// Appends the names of bin file `binName` to `names`. A file that cannot be
// opened prints "ERROR: Could not open <name>" on standard output and adds
// nothing; the result says whether it was opened.
bool ReadBinNames(const std::string& binName, std::vector<std::string>& names);

}  // namespace ostrel

#endif
