// Searches over the lines of a stream for the next line holding a key.
//
// Lines are read whole with GetLine (util/LineScan.h), so every search moves
// the stream on and passes through readbuf.
#ifndef OSTREL_UTIL_STREAMSEARCH_H
#define OSTREL_UTIL_STREAMSEARCH_H

#include <istream>
#include <string>
#include <vector>

namespace ostrel {

// Reads lines until one contains the key: true with that line in `line`,
// false when the stream ends first.
bool GetNextLineContaining(std::istream& in, const char* key, std::string& line);
bool GetNextLineContaining(std::istream& in, const std::string& key, std::string& line);
// The same for a line that contains key1 or key2.
bool GetNextLineContaining(std::istream& in, const char* key1, const char* key2, std::string& line);
// The same for a line that contains any of the keys; `which` is the index of
// the key whose occurrence starts first in it (the earlier key on a tie), 0
// when no line held one.
bool GetNextLineContaining(std::istream& in, const std::vector<std::string>& keys, std::string& line,
                           int& which);

}  // namespace ostrel

#endif
