// A file's records read from start to end, with no index: the text read a
// block at a time (plain, gzip or bgzip; util/TextBlockReader.h), scanned as
// RecordScanner scans it, and each block's completed records given with
// their names and positions, their text readable until the next block.
#ifndef OSTREL_SEQ_RECORDSTREAM_H
#define OSTREL_SEQ_RECORDSTREAM_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "seq/RecordScanner.h"
#include "util/TextBlockReader.h"

namespace ostrel {

class RecordStream {
public:
  // False, with mError saying so, when the file cannot be opened; Next
  // then gives nothing.
  bool Open(const std::string& fileName);

  // Reads on to the records the next block completes (there may be none):
  // mNames[k] and mRanges[k] (the 1-based first and last byte, as an index
  // line gives them) for k < Count(). False when no records are left: at
  // the end of the text, or after a fault, when mError says what is wrong
  // and where ("<file> byte P (line L): ...; the records from there on are
  // not read.", or the file damaged or cut short). The records before a
  // fault are all given.
  bool Next();
  size_t Count() const { return mNames.size(); }
  // Record k's text, in the part kept from earlier blocks and the part in
  // the last block read; the newline after it is not included when the
  // file ends without one.
  void Text(size_t k, std::string_view& kept, std::string_view& block) const;
  // The same in one piece, assembled in `scratch` when it spans blocks.
  std::string_view WholeText(size_t k, std::string& scratch) const;
  bool IsFastq() const { return mScanner.IsFastq(); }

  std::vector<std::string> mNames;
  std::vector<std::pair<int64_t, int64_t>> mRanges;
  std::string mError;

private:
  void TakeRecords();
  void Malformed();
  // Ends the block, keeping its text from `keepFrom` (0-based) on.
  void Keep(int64_t keepFrom);

  std::string mFileName;
  TextBlockReader mIn;
  RecordScanner mScanner{0, false};
  bool mEnded = true;  // until the file is open
  std::string mLine;
  // The text of the last block read and, before it, what is kept of the
  // blocks before: from the end of the last record given on, so that a
  // record that spans blocks is whole when it is given.
  std::string mCarry;
  int64_t mCarryStart = 0;
  const char* mBlock = nullptr;
  size_t mBlockSize = 0;
  int64_t mBlockStart = 0;
  int64_t mTextEnd = 0;  // text read so far
};

}  // namespace ostrel

#endif
