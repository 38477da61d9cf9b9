// Quality records read by position through the file's record index.
#include "seq/QualityRecordFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "util/LineScan.h"
#include "util/TokenScan.h"

namespace ostrel {

namespace {

// Cuts the line at `begin` (ending at a newline or the text's end) where a
// carriage return or the newline stands, so that it reads as a C string;
// returns where the next line starts.
char* CutLine(char* begin, char* end) {
  char* newline = static_cast<char*>(std::memchr(begin, '\n', static_cast<size_t>(end - begin)));
  char* lineEnd = newline == nullptr ? end : newline;
  if (lineEnd > begin && lineEnd[-1] == '\r') --lineEnd;
  *lineEnd = '\0';
  return newline == nullptr ? end : newline + 1;
}

}  // namespace

void SetQualityHeader(std::string header, SequenceQuality& q) {
  if (!header.empty() && header.back() == '\r') header.pop_back();
  int pos = 0;
  q.mName = GetNextWSDelimitedString(header, 1, pos);
  q.mDescription = pos >= 0 ? header.substr(static_cast<size_t>(pos)) : std::string();
}

QualityRecordFile::~QualityRecordFile() {
  if (mFd >= 0) ::close(mFd);
}

bool QualityRecordFile::Open(const std::string& fileName) {
  mFileName = fileName;
  mStale = false;
  if (!mIndex.Load(fileName)) {
    mError = mIndex.mError;
    return false;
  }
  if (mFd >= 0) ::close(mFd);
  mFd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (mFd < 0) mError = "cannot read " + fileName;
  return mFd >= 0;
}

bool QualityRecordFile::Fetch(const std::string& name, SequenceQuality& q, std::ostream& messages) {
  q.mQualities.clear();
  mIndex.Find(name, mCandidates);
  for (const RecordIndex::Range& range : mCandidates) {
    mFetchedStart = range.mStart;
    if (!RecordIndex::ReadRecord(mFd, range, mRecord) || mRecord[0] != '>') {
      messages << mFileName << " range " << range.mStart << ".." << range.mEnd << " does not hold read " << name
               << ": the index looks stale (ostrel-fastaindex remakes it), record skipped." << std::endl;
      mStale = true;
      continue;
    }
    char* line = &mRecord[0];
    char* const end = line + mRecord.size();
    char* next = CutLine(line, end);
    // The header as a line buffer holds it: up to a NUL, at most
    // kReadBufSize - 1 characters.
    SetQualityHeader(std::string(line, strnlen(line, kReadBufSize - 1)), q);
    if (q.mName != name) continue;  // another name of the same hash
    for (line = next; line < end; line = next) {
      next = CutLine(line, end);
      GetIntsFromLine(line, q.mQualities);
    }
    if (!q.mQualities.empty()) return true;
  }
  return false;
}

}  // namespace ostrel
