// Loading and looking up the "_idx" read index.
#include "extractbins/ReadIndex.h"

#include <filesystem>
#include <fstream>
#include <iostream>

#include "util/LineScan.h"

namespace ostrel {

bool ReadIndex::Load(const std::string& inputName) {
  const std::string indexName = inputName + "_idx";
  std::cout << "Hash " << indexName << "...\t" << std::flush;
  std::ifstream in(indexName);
  if (!in) {
    std::cout << indexName << " failed to open" << std::endl;
    return false;
  }
  // An index line takes some 20 bytes: size the table and map once.
  std::error_code unknownSize;
  const uintmax_t indexSize = std::filesystem::file_size(indexName, unknownSize);
  if (!unknownSize) {
    mTable.reserve(indexSize / 20);
    mName2Idx.reserve(indexSize / 20);
  }
  // Every line read adds an entry, so the empty read after a final newline
  // adds one under the empty name; bin names are never empty.
  std::string line;
  while (in.good()) {
    GetLine(in, line);
    int pos = 0;
    const std::string name = GetNextWSDelimitedString(line, 0, pos);
    IndexInfo entry;
    entry.mStart = GetNextInteger64(line, pos, pos);
    entry.mEnd = GetNextInteger64(line, pos, pos);
    mName2Idx[name] = static_cast<int>(mTable.size());
    mTable.push_back(entry);
  }
  return true;
}

const IndexInfo* ReadIndex::Find(const std::string& name) const {
  const auto found = mName2Idx.find(name);
  if (found == mName2Idx.end() || found->second < 0) return nullptr;
  return &mTable[found->second];
}

void ReadIndex::Clear() {
  mTable.clear();
  mName2Idx.clear();
}

}  // namespace ostrel
