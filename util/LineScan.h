// Line, token and file-list scanning over byte strings.
//
// Positions are 0-based indexes into the string. The scanners report where
// the next scan should begin through an int out-argument; -1 means that
// nothing is left, and a start of -1 (or past the end) finds nothing, so
// calls can be chained on the position of the previous call.
#ifndef OSTREL_UTIL_LINESCAN_H
#define OSTREL_UTIL_LINESCAN_H

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

// Process-wide state (one thread).
// readbuf: every line read through GetLine passes through it; its contents
//   are valid only until the next line read.
// gWS, gNumbers, gLetters, gUCLetters: character classes, never changed.
//   A carriage return is never white space.
constexpr int kReadBufSize = 300000;
extern char readbuf[kReadBufSize];
extern const std::string gWS;         // " \t\n"
extern const std::string gNumbers;    // "1234567890"
extern const std::string gLetters;    // "abcdefghijklmnopqrstuvwxyz"
extern const std::string gUCLetters;  // "ABCDEFGHIJKLMNOPQRSTUVWXYZ"

// True for blank, tab and newline.
inline bool IsWS(char c) { return c == ' ' || c == '\t' || c == '\n'; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads one line into `line`, without its newline, and leaves a copy in
// readbuf (its first 299999 characters); lines of any length are read whole.
// True unless the stream is failed or bad afterwards: a last line without
// newline gives true, a read at the very end of the stream gives an empty
// line and false.
bool GetLine(std::istream& in, std::string& line);
// GetLine without the copy in readbuf, for parsers that never look there.
bool ReadLine(std::istream& in, std::string& line);

// The get area of any stream buffer, so that a line is found with memchr in
// what the buffer holds rather than character by character. Naming the
// protected members through a derived class is what makes them reachable.
class StreamGetArea : public std::streambuf {
public:
  static const char* Next(std::streambuf* b) { return (b->*&StreamGetArea::gptr)(); }
  static const char* End(std::streambuf* b) { return (b->*&StreamGetArea::egptr)(); }
  static void Advance(std::streambuf* b, int n) { (b->*&StreamGetArea::gbump)(n); }
};

// Hands the lines of a block to take(begin, end), each line's characters
// without its newline, up to the first line that is empty or white space
// only or for which ends(line) holds, which is left in `line` (and
// readbuf): what
//   while (GetLine(in, line) && !ContainsOnlyWS(line) && !ends(line)) take(line.data(), line.data() + line.size());
// gives, without copying each line on its way. Returns what the last
// GetLine returned.
template <typename Ends, typename Take>
bool ScanBlockLines(std::istream& in, std::string& line, Ends ends, Take take) {
  std::streambuf* buffer = in.rdbuf();
  for (;;) {
    // Whole lines in the stream's buffer are taken from it directly; a line
    // that runs past it, the line that ends the block and a stream in any
    // other state go through GetLine.
    while (in.good() && in.tie() == nullptr) {
      const char* next = StreamGetArea::Next(buffer);
      const std::ptrdiff_t available = std::min<std::ptrdiff_t>(StreamGetArea::End(buffer) - next, INT_MAX - 1);
      const char* newline =
          available > 0 ? static_cast<const char*>(std::memchr(next, '\n', static_cast<size_t>(available))) : nullptr;
      if (newline == nullptr || std::all_of(next, newline, IsWS) ||
          ends(std::string_view(next, static_cast<size_t>(newline - next))))
        break;
      take(next, newline);
      StreamGetArea::Advance(buffer, static_cast<int>(newline - next) + 1);
    }
    const bool read = GetLine(in, line);
    if (!read || std::all_of(line.begin(), line.end(), IsWS) || ends(std::string_view(line))) return read;
    take(line.data(), line.data() + line.size());
  }
}

// Appends the lines of a block to `to`, up to the first line that is empty
// or white space only: ScanBlockLines with no other end.
bool GetBlockLines(std::istream& in, std::vector<char>& to, std::string& line);

// GetLine for lists of names: a line that ends in a carriage return (a
// file with CR LF line ends) is taken as ending there.
bool GetListLine(std::istream& in, std::string& line);

// Removes every blank, tab and newline, wherever it stands.
void StripWhiteSpace(std::string& s);

// The next token delimited by blank, tab or newline at or after `start`;
// `pos` becomes the position after the token's delimiter, or -1 when the
// token reached the end of the string or there was no token.
std::string GetNextWSDelimitedString(const std::string& s, int start, int& pos);

// The first run of decimal digits at or after `start`: the position of its
// first digit, or -1 when there is none (or `start` is negative); `past`
// becomes the position just after the run. Every digit scanner uses it.
int FindDigitRun(const std::string& s, int start, int& past);

// The next run of decimal digits at or after `start`, as an int clamped to
// 2147483647 and negated when a '-' stands directly before it; 0 when there
// is none. `pos` becomes the first position after the run, the string's
// length plus 1 when the run reached the end, or -1 when nothing was found.
int GetNextInteger(const std::string& s, int start, int& pos);

// The same scan with a 64-bit result, clamped to INT64_MAX before any
// negation, for byte positions in files over 2 GiB.
int64_t GetNextInteger64(const std::string& s, int start, int& pos);

// Appends the lines of a file of names to `names` (read with GetListLine),
// every blank, tab and newline removed and empty lines skipped. A file that
// cannot be opened prints "ERROR: Could not open <name>" (the name as
// ShownFileName shows it) on standard output and adds nothing; the result
// says whether the file was opened.
bool ReadFOF(const std::string& fileName, std::vector<std::string>& names);
bool ReadFOF(const char* fileName, std::vector<std::string>& names);

// The same for a list of file names: each line kept as it stands (blanks,
// quotes and leading dashes are part of the name), only empty lines skipped.
bool ReadNameList(const std::string& fileName, std::vector<std::string>& names);

}  // namespace ostrel

#endif
