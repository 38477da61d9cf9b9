// Read quality files: record by record onto an assembly's reads, the
// whole-file readers of an assembly with its qualities, and the pick of the
// newest of a family of numbered ACE files.
#include <dirent.h>

#include <algorithm>
#include <iostream>

#include "ace/AceFile.h"
#include "seq/QualityRecordFile.h"
#include "util/FileUtil.h"
#include "util/GzStream.h"
#include "util/LineScan.h"
#include "util/StringUtil.h"
#include "util/TokenScan.h"

namespace ostrel {

bool AceFile::GetNextQuality(std::istream& in, SequenceQuality& q) {
  q.mQualities.clear();
  std::string line;
  if (readbuf[0] == '^') GetLine(in, line);
  SetQualityHeader(readbuf, q);
  // The next record's header line stays in readbuf for the next call.
  while (GetListLine(in, line)) {
    if (!line.empty() && line[0] == '>') break;
    GetIntsFromLine(line.data(), q.mQualities);
  }
  return !q.mQualities.empty();
}

void AceFile::GetReadsQuality(std::istream& in) {
  for (Contig& contig : *this) contig.mReadQuality.resize(contig.mReads.size());
  readbuf[0] = '^';
  SequenceQuality q;
  while (in.good())
    if (GetNextQuality(in, q)) AddReadQuality(q);
  if (in.bad()) mValid = false;
}

bool AceFile::gzExists(const std::string& name) { return FileExists(name + ".gz"); }

void AceFile::ReadAll(const std::string& base) {
  const std::string aceName = base + ".ace";
  const std::string qualName = base + ".qual";
  if (!ReadFile(gzExists(aceName) ? aceName + ".gz" : aceName)) return;
  HandTagsToContigs();
  BuildReadHash();
  const std::string qualFile = gzExists(qualName) ? qualName + ".gz" : qualName;
  igzstream quality(qualFile);
  if (quality.is_open()) GetReadsQuality(quality);
  CheckReadWhole(quality, qualFile);
  CopyBQToQuality();
  AddFakeQualityValues();
  CalculateReadTrims(mReadTrimQuality);
  CalculateContigTrims(mContigTrimQuality);
}

void AceFile::ReadAll(const std::string& aceName, const std::string& qualName) {
  std::cerr << std::endl << "Reading " << aceName << "..." << std::flush;
  if (!ReadFile(aceName)) return;
  std::cerr << "done." << std::endl;
  HandTagsToContigs();
  BuildReadHash();
  std::cerr << "Reading " << qualName << "..." << std::flush;
  igzstream quality(qualName);
  if (quality.is_open()) GetReadsQuality(quality);
  std::cerr << "done." << std::endl;
  CheckReadWhole(quality, qualName);
  CopyBQToQuality();
  AddFakeQualityValues();
  CalculateReadTrims(mReadTrimQuality);
  CalculateContigTrims(mContigTrimQuality);
}

bool AceFile::FindNewestAce(std::string& name) {
  const size_t slash = name.rfind('/');
  const std::string directory = slash == std::string::npos ? "" : name.substr(0, slash + 1);
  const std::string prefix = name.substr(directory.size());
  DIR* listing = ::opendir(directory.empty() ? "." : directory.c_str());
  if (listing == nullptr) return false;
  std::vector<std::string> matches;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string entryName = entry->d_name;
    // As a shell pattern would, hidden names match only a prefix starting with '.'.
    if (entryName == "." || entryName == ".." || (entryName[0] == '.' && !StartsWith(prefix, "."))) continue;
    if (StartsWith(entryName, prefix)) matches.push_back(entryName);
  }
  ::closedir(listing);
  if (matches.empty()) return false;
  name = directory + *std::max_element(matches.begin(), matches.end());
  return Contains(name, ".ace");
}

}  // namespace ostrel
