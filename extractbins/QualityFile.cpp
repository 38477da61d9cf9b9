// Quality file discovery.
#include "extractbins/QualityFile.h"

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
  const std::string candidate = RuleCandidate(fastaName.substr(baseStart));
  if (!candidate.empty()) {
    qualName = fastaName.substr(0, baseStart) + candidate;
    if (FileExists2(qualName)) return true;
  }
  qualName = fastaName + ".qual";
  return FileExists2(qualName);
}

}  // namespace ostrel
