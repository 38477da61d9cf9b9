// Recognising ACE records in lines of text: the keyword tests and the line
// searches the reader is built on.
#ifndef OSTREL_ACE_ACETOKENS_H
#define OSTREL_ACE_ACETOKENS_H

#include <istream>
#include <string>
#include <string_view>

#include "util/LineScan.h"

namespace ostrel {

// True when the first occurrence of `token` in `line` ends the line or is
// followed by a blank, tab or newline. Later occurrences are not looked at.
bool ContainsWSPadded(const std::string& line, const std::string& token);

// True at once when `line` already holds `token` anywhere; otherwise reads
// lines into `line` until one holds it. Found: true when that occurrence is
// followed by white space or ends the line, else false after printing
// "Find Token How did we get here? " and the details on standard error.
// False at the end of the stream.
bool FindTokenPlusWS(std::istream& in, const std::string& token, std::string& line);

// The same search without the white-space rule.
bool FindToken(std::istream& in, const std::string& token, std::string& line);

// True when `keyword` is the first word of `line` (after any blanks or tabs)
// and is followed by white space or the line's end: the line starts that
// record. A keyword inside a line, such as a read named fooRD on a tag line,
// starts nothing. Inline: the reader asks it of every line, several times.
inline bool StartsRecord(std::string_view line, std::string_view keyword) {
  size_t at = 0;
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  const size_t end = at + keyword.size();
  return end <= line.size() && std::string_view(line.data() + at, keyword.size()) == keyword &&
         (end == line.size() || IsWS(line[end]));
}

// True when `line` opens a tag record: two capital letters and "{" as its
// first characters (after any blanks or tabs): "CT{", "RT{", "WA{", "WR{"
// or any other kind.
bool StartsTag(const std::string& line);

// True when `line` closes a tag record: a "}" alone, blanks, tabs and a
// carriage return aside.
bool ClosesTag(const std::string& line);

// True when the tag is an assembly tag ("WA{"), which names no contig or read.
bool IsAssemblyTag(const std::string& tag);

// The contig or read a tag names: the first word of its second line ("" when
// it has none). An assembly tag ("WA{") names a program instead.
std::string TagSubject(const std::string& tag);

// Where the fields of a record line begin: just after its two-letter
// keyword, past any blanks or tabs before it.
int RecordFieldsStart(const std::string& line);

}  // namespace ostrel

#endif
