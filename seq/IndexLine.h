// The "_idx" line: where one record of a FASTA, quality or FASTQ file lies.
//
//     name <blank or tab> start <anything> end
//
// The name is the line's first word delimited by blank, tab or newline
// (leading white space skipped); start and end are the next two runs of
// decimal digits after it (a '-' right before a run makes it negative, a
// missing number reads as 0): the 1-based positions of the record's first
// byte (its '>' or '@') and of its last byte, inclusive, in the file's text
// (for a bgzip-compressed file, its uncompressed text). Anything after the
// second number is ignored. ostrel-fastaindex writes "name\tstart\tend\n".
#ifndef OSTREL_SEQ_INDEXLINE_H
#define OSTREL_SEQ_INDEXLINE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ostrel {

// Reads one index line (without its newline) into `name`, `start` and `end`.
void ParseIndexLine(const std::string& line, std::string& name, int64_t& start, int64_t& end);

// Appends "name\tstart\tend\n" to `text`.
void AppendIndexLine(std::string& text, const char* name, size_t nameLength, int64_t start, int64_t end);

// The number of hashes equal to an earlier one: the records whose name an
// earlier record of the same file has.
int64_t CountRepeatedHashes(const std::vector<uint64_t>& hashes);

}  // namespace ostrel

#endif
