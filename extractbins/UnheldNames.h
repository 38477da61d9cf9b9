// The names of one bin that no input file of the run has held so far, for
// the report after the last input.
#ifndef OSTREL_EXTRACTBINS_UNHELDNAMES_H
#define OSTREL_EXTRACTBINS_UNHELDNAMES_H

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "extractbins/ReadIndex.h"

namespace ostrel {

class UnheldNames {
public:
  // How many names a report lists.
  static constexpr int kNamesListed = 5;

  // Takes the lookups of a bin's names in one input's index (entries[k] for
  // names[k], nullptr when absent). The first input leaves the absent names,
  // each once; every later one removes those `index` holds.
  void Update(const std::vector<std::string>& names, const std::vector<const IndexInfo*>& entries,
              const ReadIndex& index);
  // The same for inputs read without an index: held[k] tells whether they
  // held names[k], `isHeld` whether they held a name.
  void Update(const std::vector<std::string>& names, const std::vector<bool>& held,
              const std::function<bool(const std::string&)>& isHeld);
  // Writes "<bin>: <count> names in no input: <first names> ..." and a line
  // end, or nothing when every name was held.
  void Report(const std::string& binName, std::ostream& out) const;

private:
  bool mUpdated = false;
  std::vector<std::string> mNames;  // in the bin's order
};

}  // namespace ostrel

#endif
