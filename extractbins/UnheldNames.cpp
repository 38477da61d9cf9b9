// Tracking a bin's names that no input holds.
#include "extractbins/UnheldNames.h"

#include <algorithm>
#include <unordered_set>

#include "util/StringUtil.h"

namespace ostrel {

void UnheldNames::Update(const std::vector<std::string>& names,
                         const std::vector<const IndexInfo*>& entries, const ReadIndex& index) {
  std::vector<bool> held(names.size(), true);
  for (size_t k = 0; k < names.size() && k < entries.size(); ++k) held[k] = entries[k] != nullptr;
  Update(names, held, [&index](const std::string& name) { return index.Find(name) != nullptr; });
}

void UnheldNames::Update(const std::vector<std::string>& names, const std::vector<bool>& held,
                         const std::function<bool(const std::string&)>& isHeld) {
  if (!mUpdated) {
    mUpdated = true;
    std::unordered_set<std::string> listed;
    for (size_t k = 0; k < names.size() && k < held.size(); ++k)
      if (!held[k] && listed.insert(names[k]).second) mNames.push_back(names[k]);
    return;
  }
  mNames.erase(std::remove_if(mNames.begin(), mNames.end(), isHeld), mNames.end());
}

void UnheldNames::Report(const std::string& binName, std::ostream& out) const {
  if (mNames.empty()) return;
  out << ShownFileName(binName) << ": " << mNames.size() << (mNames.size() == 1 ? " name" : " names") << " in no input:";
  const size_t listed = std::min(mNames.size(), static_cast<size_t>(kNamesListed));
  for (size_t k = 0; k < listed; ++k) out << ' ' << mNames[k];
  if (listed < mNames.size()) out << " ...";
  out << '\n';
}

}  // namespace ostrel
