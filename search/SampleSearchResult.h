// Hits of a sample search: where a query sample was found in a source, and
// the stable sorts of hit lists.
#ifndef OSTREL_SEARCH_SAMPLESEARCHRESULT_H
#define OSTREL_SEARCH_SAMPLESEARCHRESULT_H

#include <vector>

namespace ostrel {

// One occurrence of one query sample. Offsets are 0-based.
struct SampleSearchResult {
  int mSourceIdx;  // source sequence holding the sample
  int mQueryIdx;   // query in the searched collection (0 for a single query)
  int mSampleIdx;  // sample within its query's samples
  int mQueryLoc;   // offset of the sample in the query: mSampleIdx x spacing
  int mSourceLoc;  // offset of the sample in the source
};

struct cmpBySourceLocation {
  bool operator()(const SampleSearchResult& a, const SampleSearchResult& b) const {
    return a.mSourceLoc < b.mSourceLoc;
  }
};

struct cmpBySourceIdx {
  bool operator()(const SampleSearchResult& a, const SampleSearchResult& b) const {
    return a.mSourceIdx < b.mSourceIdx;
  }
};

// Searches append to it. Both sorts are stable: hits with equal keys keep
// the order in which the search appended them.
class SampleSearchResultVec : public std::vector<SampleSearchResult> {
public:
  void SortBySourceLoc();  // ascending mSourceLoc
  void SortBySourceIdx();  // ascending mSourceIdx
};

}  // namespace ostrel

#endif
