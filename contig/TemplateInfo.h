// The summary of one template (sequenced fragment) as its reads lie in one
// contig: which reads, where, on which strand, and how far apart.
#ifndef OSTREL_CONTIG_TEMPLATEINFO_H
#define OSTREL_CONTIG_TEMPLATEINFO_H

#include <string>

namespace ostrel {

// A plain value record, copied freely. The left read is the one with the
// smaller alignment start (the only read when unpaired). Starts are 1-based
// padded consensus positions, lengths padded read lengths.
//
// A template is good when mPaired and mGoodOrientation both hold, bad when
// mPaired holds without mGoodOrientation; an unpaired one is neither.
class TemplateInfo {
public:
  std::string mName;
  int mSpan = 0;         // paired: right start - left start + right length; unpaired: read length
  int mInsertSize = 0;   // the number after "INSERT_SIZE:" in the first read's description, else 0
  bool mGoodOrientation = false;  // paired, left read 'U' and right read 'C'
  bool mPaired = false;           // exactly two reads were summarised
  std::string mLeftName;
  std::string mLeftDirection;  // "fwd" or "rev"
  char mLeftComplement = 'U';  // 'U' or 'C'
  int mLeftLength = 0;
  int mLeftStart = 0;
  std::string mRightName;  // empty when unpaired
  std::string mRightDirection;
  char mRightComplement = 'U';
  int mRightLength = 0;
  int mRightStart = 0;
};

}  // namespace ostrel

#endif
