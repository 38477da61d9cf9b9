// Telling a FASTQ file from a FASTA or quality file: its first non-blank
// byte is '@' where theirs is '>'.
#ifndef OSTREL_SEQ_RECORDFORMAT_H
#define OSTREL_SEQ_RECORDFORMAT_H

#include <cstddef>
#include <string>

namespace ostrel {

// How many bytes of a file's text the tests below look at.
constexpr size_t kFormatSniffBytes = 4096;

// True when the first byte of `text` that is not a blank, tab, carriage
// return or newline is '@'.
bool IsFastqText(const char* text, size_t size);

// The same for the first kFormatSniffBytes of a file's text, read plain,
// gzip- or bgzip-compressed alike; false when it cannot be read.
bool IsFastqFile(const std::string& fileName);

}  // namespace ostrel

#endif
