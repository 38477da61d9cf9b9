// FASTA records: a header line, then any number of sequence lines; FASTQ
// records: a header, sequence lines, a '+' line and as many quality
// characters as bases.
#include "seq/FastaRecord.h"

#include <string>

#include "util/LineScan.h"

namespace ostrel {

namespace {

// White space, and the carriage return of a line ended CR LF.
bool IsSpace(char c) { return IsWS(c) || c == '\r'; }

void ParseHeader(const std::string& line, Sequence& record) {
  size_t i = 1;
  while (i < line.size() && IsSpace(line[i])) ++i;
  size_t end = i;
  while (end < line.size() && !IsSpace(line[end])) ++end;
  record.mName.assign(line, i, end - i);
  while (end < line.size() && IsSpace(line[end])) ++end;
  size_t last = line.size();
  while (last > end && IsSpace(line[last - 1])) --last;
  record.mDescription.assign(line, end, last - end);
}

}  // namespace

bool ReadFastaRecord(std::istream& in, Sequence& record) {
  std::string line;
  while (in.peek() != '>') {
    if (!std::getline(in, line)) return false;
  }
  std::getline(in, line);
  record = Sequence();
  ParseHeader(line, record);
  while (in.peek() != '>' && std::getline(in, line))
    for (char c : line)
      if (!IsSpace(c)) record.mBases.push_back(c);
  return true;
}

namespace {

// The characters of a line that count as bases or qualities: all but a
// carriage return ending it.
size_t LineContent(const std::string& line) {
  return !line.empty() && line.back() == '\r' ? line.size() - 1 : line.size();
}

bool ReadFastqRecord(std::istream& in, Sequence& record) {
  std::string line;
  std::getline(in, line);
  record = Sequence();
  ParseHeader(line, record);
  bool plusSeen = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '+') {
      plusSeen = true;
      break;
    }
    for (char c : line)
      if (!IsSpace(c)) record.mBases.push_back(c);
  }
  size_t qualities = 0;
  while (plusSeen && qualities < record.mBases.size() && std::getline(in, line)) qualities += LineContent(line);
  if (plusSeen && qualities == record.mBases.size()) return true;
  in.setstate(std::ios::badbit);
  return false;
}

}  // namespace

bool ReadSequenceRecord(std::istream& in, Sequence& record) {
  std::string line;
  while (in.peek() != '>' && in.peek() != '@') {
    if (!std::getline(in, line)) return false;
  }
  return in.peek() == '@' ? ReadFastqRecord(in, record) : ReadFastaRecord(in, record);
}

}  // namespace ostrel
