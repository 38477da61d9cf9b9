// Reading and writing "_idx" lines.
#include "seq/IndexLine.h"

#include <algorithm>
#include <charconv>

#include "util/LineScan.h"

namespace ostrel {

namespace {

// Writes '\t' and the decimal digits of a position at `out`; returns the end.
char* PutPosition(char* out, int64_t value) {
  *out++ = '\t';
  return std::to_chars(out, out + 20, value).ptr;
}

}  // namespace

void ParseIndexLine(const std::string& line, std::string& name, int64_t& start, int64_t& end) {
  int pos = 0;
  name = GetNextWSDelimitedString(line, 0, pos);
  start = GetNextInteger64(line, pos, pos);
  end = GetNextInteger64(line, pos, pos);
}

void AppendIndexLine(std::string& text, const char* name, size_t nameLength, int64_t start, int64_t end) {
  char positions[48];
  char* last = PutPosition(positions, start);
  last = PutPosition(last, end);
  *last++ = '\n';
  text.reserve(text.size() + nameLength + static_cast<size_t>(last - positions));
  text.append(name, nameLength);
  text.append(positions, last);
}

// The hashes are spread evenly, so a counting sort on their top bits leaves
// buckets of a few each to sort. The buckets number about as many as the
// hashes, up to 2^16: a file of a few records must not pay for millions.
int64_t CountRepeatedHashes(const std::vector<uint64_t>& hashes) {
  int bits = 1;
  while (bits < 16 && (size_t{1} << bits) < hashes.size()) ++bits;
  const int shift = 64 - bits;
  std::vector<size_t> bucketStart((size_t{1} << bits) + 1, 0);
  for (uint64_t hash : hashes) ++bucketStart[(hash >> shift) + 1];
  for (size_t b = 1; b < bucketStart.size(); ++b) bucketStart[b] += bucketStart[b - 1];
  std::vector<uint64_t> sorted(hashes.size());
  std::vector<size_t> next(bucketStart.begin(), bucketStart.end() - 1);
  for (uint64_t hash : hashes) sorted[next[hash >> shift]++] = hash;
  int64_t repeats = 0;
  for (size_t b = 0; b + 1 < bucketStart.size(); ++b) {
    const auto first = sorted.begin() + static_cast<ptrdiff_t>(bucketStart[b]);
    const auto last = sorted.begin() + static_cast<ptrdiff_t>(bucketStart[b + 1]);
    std::sort(first, last);
    for (auto at = first; at != last && at + 1 != last; ++at)
      if (*at == *(at + 1)) ++repeats;
  }
  return repeats;
}

}  // namespace ostrel
