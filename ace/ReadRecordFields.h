// What a read's records say besides its name, bases, placement, "QA" line
// and description: the counts on its "RD" line, and whether it had a "DS"
// line at all (an empty one is not a missing one).
#ifndef OSTREL_ACE_READRECORDFIELDS_H
#define OSTREL_ACE_READRECORDFIELDS_H

namespace ostrel {

// A plain value record, copied freely; a read without one is written as a
// new read: counts 0 and 0, and a "DS" line.
struct ReadRecordFields {
  int mWholeReadItems = 0;  // the "RD" line's count of whole-read items ("WR{" tags)
  int mReadTags = 0;        // the "RD" line's count of read tags ("RT{" tags)
  bool mDescribed = true;   // the read had a "DS" line
};

}  // namespace ostrel

#endif
