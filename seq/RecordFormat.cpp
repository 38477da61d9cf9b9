// The FASTQ test on a file's first bytes.
#include "seq/RecordFormat.h"

#include <zlib.h>

namespace ostrel {

bool IsFastqText(const char* text, size_t size) {
  for (size_t i = 0; i < size; ++i)
    if (text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\n') return text[i] == '@';
  return false;
}

bool IsFastqFile(const std::string& fileName) {
  gzFile file = gzopen(fileName.c_str(), "rb");
  if (file == nullptr) return false;
  char text[kFormatSniffBytes];
  const int got = gzread(file, text, sizeof text);
  gzclose(file);
  return got > 0 && IsFastqText(text, static_cast<size_t>(got));
}

}  // namespace ostrel
