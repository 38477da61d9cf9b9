// File names and files: existence, size and dates, unique and temporary
// names, suffixes, files of file names, and opening a stream or ending the
// process. None of these keeps state between calls.
#ifndef OSTREL_UTIL_FILEUTIL_H
#define OSTREL_UTIL_FILEUTIL_H

#include <fstream>
#include <string>
#include <vector>

namespace ostrel {

// True when the file can be opened for reading (it is opened and closed).
bool FileExists(const std::string& name);

// Size in bytes from the file's status; -1 when the status cannot be read.
long FileSize(const std::string& name);

// Compares the local date of the file's last status change (not its
// modification) with the given year, month (1-12) and day: true when the
// file's date is later, false on the same day, an earlier day or when the
// status cannot be read.
bool FileIsNewerThan(const std::string& name, int year, int month, int day);

// True when file `a` was last modified in an earlier second than file `b`;
// false when either status cannot be read. Whole seconds, so that files
// copied together (in any order) do not count as older than one another.
bool FileModifiedBefore(const std::string& a, const std::string& b);

// The local date of the file's last status change as "YYYYMMDD";
// "00000000" when the status cannot be read.
std::string GetDateStamp(const std::string& name);

// `base` followed by a random number below 2^31, drawn after seeding the C
// library's generator (which RNG shares) from the clock. The name is not
// checked and no file is made.
std::string CreateTemporaryFileName(const std::string& base);
std::string CreateTemporaryFileName(const char* base);

// The first of base0suffix, base1suffix, ... that FileExists does not find.
// No file is made.
std::string UniquifyName(const std::string& base, const std::string& suffix);

// The characters after the last '.' of the name (the directory part
// included); "" when it has none.
std::string GetFileSuffix(const std::string& name);

// Writes each name on a line of its own to a new or truncated file; a file
// that cannot be opened is not reported.
void WriteFOF(const std::string& name, const std::vector<std::string>& names);

// Opens the stream (reading, or writing with truncation) or prints
// "Unable to open <name>" on the error stream and ends the process with
// status 1.
void OpenOrDie(const std::string& name, std::ifstream& in);
void OpenOrDie(const std::string& name, std::ofstream& out);

}  // namespace ostrel

#endif
