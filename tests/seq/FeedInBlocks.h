// Feeding a record scanner its text in blocks, as a file is read.
#ifndef OSTREL_TESTS_SEQ_FEEDINBLOCKS_H
#define OSTREL_TESTS_SEQ_FEEDINBLOCKS_H

#include <algorithm>
#include <string>

#include "seq/RecordScanner.h"

namespace ostrel {
namespace test {

// Feeds `text` to `scanner` in blocks of `blockSize` bytes and gathers its
// index text in `index`; false when the scanner finds the text bad (its
// error is left in the scanner).
inline bool FeedInBlocks(RecordScanner& scanner, const std::string& text, size_t blockSize, std::string& index) {
  for (size_t at = 0; at < text.size(); at += blockSize) {
    scanner.Feed(text.data() + at, std::min(blockSize, text.size() - at));
    index += scanner.mIndexText;
    scanner.mIndexText.clear();
  }
  if (!scanner.Finish()) return false;
  index += scanner.mIndexText;
  return true;
}

}  // namespace test
}  // namespace ostrel

#endif
