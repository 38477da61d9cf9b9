// Quality file discovery.
#include "extractbins/QualityFile.h"

#include <vector>

#include "util/FileUtil.h"

namespace ostrel {

namespace {

bool IsFastaWord(const std::string& field) { return field == "fasta" || field == "fa"; }

// The candidate of the first naming rule that applies to `base`, or "" when
// none does. A base name without a dot gets none: it has nothing to keep
// beside the word it would replace.
std::string RuleCandidate(const std::string& base) {
  const size_t first = base.find('.');
  if (first == std::string::npos) return "";
  const size_t last = base.rfind('.');
  const std::string head = base.substr(0, first);
  const std::string extension = base.substr(last + 1);
  std::string middle = head;
  if (first != last) {
    const size_t beforeLast = base.rfind('.', last - 1);
    middle = base.substr(beforeLast + 1, last - beforeLast - 1);
  }
  if (IsFastaWord(head)) return "qual" + base.substr(first);
  if (IsFastaWord(extension) || IsFastaWord(middle)) return base.substr(0, last + 1) + "qual";
  return "";
}

}  // namespace

bool FileExists2(const std::string& name) { return FileExists(name); }

bool QualityFileFound(const std::string& fastaName, std::string& qualName) {
  const size_t slash = fastaName.rfind('/');
  const size_t baseStart = slash == std::string::npos ? 0 : slash + 1;
  const std::string dir = fastaName.substr(0, baseStart);
  const std::string base = fastaName.substr(baseStart);
  std::vector<std::string> candidates = {RuleCandidate(base)};
  const std::string gz = ".gz";
  if (base.size() > gz.size() && base.compare(base.size() - gz.size(), gz.size(), gz) == 0) {
    // A compressed file's quality file is compressed too.
    const std::string stem = base.substr(0, base.size() - gz.size());
    const std::string stemCandidate = RuleCandidate(stem);
    if (!stemCandidate.empty()) candidates.push_back(stemCandidate + gz);
    candidates.push_back(stem + ".qual" + gz);
  }
  for (const std::string& candidate : candidates) {
    qualName = dir + candidate;
    if (!candidate.empty() && FileExists2(qualName)) return true;
  }
  qualName = fastaName + ".qual";
  return FileExists2(qualName);
}

}  // namespace ostrel
