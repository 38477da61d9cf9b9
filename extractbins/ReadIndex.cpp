// Loading and looking up the "_idx" read index.
#include "extractbins/ReadIndex.h"

#include <filesystem>
#include <fstream>
#include <iostream>

#include "util/FileUtil.h"
#include "util/LineScan.h"
#include "util/StringUtil.h"

namespace ostrel {

bool ReadIndex::Load(const std::string& inputName) {
  const std::string indexName = inputName + "_idx";
  if (FileModifiedBefore(indexName, inputName))
    std::cerr << ShownFileName(indexName) << ": index older than its file " << ShownFileName(inputName)
              << " (ostrel-fastaindex remakes it)" << std::endl;
  std::cout << "Hash " << ShownFileName(indexName) << "...\t" << std::flush;
  std::ifstream in(indexName);
  if (!in) {
    std::cout << ShownFileName(indexName) << " failed to open (index of " << ShownFileName(inputName)
              << "; ostrel-fastaindex " << ShownFileName(inputName) << " makes it)" << std::endl;
    return false;
  }
  // An index line takes some 20 bytes: size the table and map once.
  std::error_code unknownSize;
  const uintmax_t indexSize = std::filesystem::file_size(indexName, unknownSize);
  if (!unknownSize) {
    mTable.reserve(indexSize / 20);
    mName2Idx.Reserve(indexSize / 20);
  }
  // Every line read adds an entry, so the empty read after a final newline
  // adds one under the empty name; bin names are never empty. Names go to
  // the map in runs, each name mapped to its line's entry.
  constexpr size_t kRun = 64;
  std::string names[kRun];
  size_t inRun = 0;
  std::string line;
  while (in.good()) {
    GetLine(in, line);
    int pos = 0;
    names[inRun] = GetNextWSDelimitedString(line, 0, pos);
    IndexInfo entry;
    entry.mStart = GetNextInteger64(line, pos, pos);
    entry.mEnd = GetNextInteger64(line, pos, pos);
    mTable.push_back(entry);
    if (++inRun == kRun || !in.good()) {
      mName2Idx.AssignRun(names, inRun, static_cast<int>(mTable.size() - inRun));
      inRun = 0;
    }
  }
  return true;
}

const IndexInfo* ReadIndex::Find(const std::string& name) const {
  const int* found = mName2Idx.Find(name);
  if (found == nullptr || *found < 0) return nullptr;
  return &mTable[*found];
}

void ReadIndex::FindMany(const std::vector<std::string>& names, std::vector<const IndexInfo*>& entries) const {
  std::vector<const int*> positions;
  mName2Idx.FindMany(names, positions);
  entries.resize(names.size());
  for (size_t k = 0; k < names.size(); ++k)
    entries[k] = positions[k] == nullptr || *positions[k] < 0 ? nullptr : &mTable[*positions[k]];
}

void ReadIndex::Clear() {
  mTable.clear();
  mName2Idx.Clear();
}

}  // namespace ostrel
