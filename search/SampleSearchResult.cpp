// Stable sorts of sample search hits.
#include "search/SampleSearchResult.h"

#include <algorithm>

namespace ostrel {

void SampleSearchResultVec::SortBySourceLoc() { std::stable_sort(begin(), end(), cmpBySourceLocation()); }

void SampleSearchResultVec::SortBySourceIdx() { std::stable_sort(begin(), end(), cmpBySourceIdx()); }

}  // namespace ostrel
