// The "_idx" read index of one input file (FASTA, FASTQ or quality file).
//
// An index file sits beside its input file, named after it with "_idx"
// appended; seq/IndexLine.h describes its lines. Every line read adds an
// entry, blank lines included, and a name on several lines maps to its last.
#ifndef OSTREL_EXTRACTBINS_READINDEX_H
#define OSTREL_EXTRACTBINS_READINDEX_H

#include <cstdint>
#include <string>
#include <vector>

#include "extractbins/Name2IdxMap.h"

namespace ostrel {

struct IndexInfo {
  int64_t mStart = 0;  // first byte of the record, counted from 1
  int64_t mEnd = 0;    // last byte of the record, counted from 1, inclusive
};

// The index of one input file: its lines in file order, and the names.
// A name on several lines maps to its last line.
struct ReadIndex {
  std::vector<IndexInfo> mTable;
  Name2IdxMap mName2Idx{100};

  // Loads inputName + "_idx", printing "Hash <index name>...\t" without an
  // end of line. An index that cannot be opened adds "<index name> failed
  // to open", the input it belongs to and how to make it, and leaves the
  // index empty; false then. An index older than its input is reported on
  // standard error first, and loaded.
  bool Load(const std::string& inputName);
  // The entry of a read, or nullptr when the read is not indexed.
  const IndexInfo* Find(const std::string& name) const;
  // entries[k] becomes Find(names[k]), for a whole bin at once.
  void FindMany(const std::vector<std::string>& names, std::vector<const IndexInfo*>& entries) const;
  void Clear();
};

}  // namespace ostrel

#endif
