// Bin extraction: lookup, sort and the byte-for-byte copy to the output.
#include "extractbins/BinExtract.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iostream>

#include "extractbins/RunSettings.h"
#include "util/FileDescriptor.h"
#include "util/LineScan.h"

namespace ostrel {

char buffer[kCopyBufferSize];

namespace {

// Appends records of one input file to one output file. Small records are
// gathered in `buffer` and written together; a record longer than the
// buffer passes through it in pieces.
class RecordCopier {
public:
  RecordCopier(int in, int out) : mIn(in), mOut(out) {}

  enum class Result { kOk, kReadFailed, kWriteFailed };

  Result Copy(const ReadInfo& record) {
    int64_t offset = record.mStart - 1;
    int64_t remaining = record.mEnd - record.mStart + 1;
    char last = '\0';
    mRecordStart = mFill;
    while (remaining > 0) {
      if (mFill == kCopyBufferSize && !Flush()) return Result::kWriteFailed;
      const size_t room = static_cast<size_t>(std::min(remaining, kCopyBufferSize - mFill));
      const ssize_t got = ::pread(mIn, buffer + mFill, room, offset);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        mFill = mRecordStart;  // never write part of a record that was not read whole
        return Result::kReadFailed;
      }
      mFill += got;
      offset += got;
      remaining -= got;
      last = buffer[mFill - 1];
    }
    if (last != '\n') {
      if (mFill == kCopyBufferSize && !Flush()) return Result::kWriteFailed;
      buffer[mFill++] = '\n';
    }
    return Result::kOk;
  }

  bool Flush() {
    const bool ok = WriteAll(mOut, buffer, static_cast<size_t>(mFill));
    mFill = 0;
    mRecordStart = 0;
    return ok;
  }

private:
  int mIn;
  int mOut;
  int64_t mFill = 0;         // bytes gathered in buffer
  int64_t mRecordStart = 0;  // where the record being copied begins in buffer
};

bool UsableRange(const ReadInfo& record, int64_t fileSize) {
  return record.mStart >= 1 && record.mEnd >= record.mStart && record.mEnd <= fileSize;
}

// Copies the sorted records of `bin` from the open input to the output.
bool CopyRecords(const Bin& bin, const std::string& inputName, int in, int64_t inputSize,
                 const std::string& outName, int out) {
  RecordCopier copier(in, out);
  bool ok = true;
  for (const ReadInfo& record : bin.mReadInfos) {
    if (!UsableRange(record, inputSize)) {
      std::cout << inputName << " range " << record.mStart << ".." << record.mEnd
                << " unusable, record skipped." << std::endl;
      ok = false;
      continue;
    }
    const RecordCopier::Result result = copier.Copy(record);
    if (result == RecordCopier::Result::kReadFailed) {
      std::cout << inputName << " read failed." << std::endl;
      copier.Flush();
      return false;
    }
    if (result == RecordCopier::Result::kWriteFailed) {
      std::cout << outName << " write failed." << std::endl;
      return false;
    }
  }
  if (!copier.Flush()) {
    std::cout << outName << " write failed." << std::endl;
    return false;
  }
  return ok;
}

// Opens an input file for reading. Every record is one small read, and
// checking the access time costs a good part of each; the file's owner
// may skip it, anyone else reads it plainly.
int OpenInput(const std::string& inputName) {
  const int in = ::open(inputName.c_str(), O_RDONLY | O_NOATIME);
  if (in >= 0 || errno != EPERM) return in;
  return ::open(inputName.c_str(), O_RDONLY);
}

// Opens the input and the output and copies the bin's records.
bool WriteBin(const Bin& bin, const std::string& inputName) {
  const int in = OpenInput(inputName);
  struct stat status;
  if (in < 0 || ::fstat(in, &status) != 0) {
    if (in >= 0) ::close(in);
    std::cout << inputName << " open failed." << std::endl;
    return false;
  }
  const std::string outName = OutputName(bin.mName, inputName);
  // The process's file-creation mask applies to the 0664.
  const int out = ::open(outName.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0664);
  if (out < 0) {
    ::close(in);
    std::cout << outName << " open failed." << std::endl;
    return false;
  }
  bool ok = CopyRecords(bin, inputName, in, status.st_size, outName, out);
  ::close(in);
  if (::close(out) != 0 && ok) {
    std::cout << outName << " write failed." << std::endl;
    ok = false;
  }
  return ok;
}

}  // namespace

bool readInfoCmp(const ReadInfo& a, const ReadInfo& b) { return a.mStart < b.mStart; }

bool IsQualityInput(const std::string& inputName) {
  const size_t slash = inputName.rfind('/');
  const size_t baseStart = slash == std::string::npos ? 0 : slash + 1;
  return inputName.find("qual", baseStart) != std::string::npos;
}

std::string OutputName(const std::string& binName, const std::string& inputName) {
  return OptOutRoot + binName + (IsQualityInput(inputName) ? "_out.fa.qual" : "_out.fa");
}

bool ExtractBin(const std::string& binName, const std::string& inputName, const ReadIndex& index) {
  Bin bin;
  bool ok = ReadFOF(binName, bin.mReadNames);
  bin.mName = binName;
  std::vector<const IndexInfo*> entries;
  index.FindMany(bin.mReadNames, entries);
  for (const IndexInfo* entry : entries)
    if (entry != nullptr) bin.mReadInfos.push_back({entry->mStart, entry->mEnd});
  std::cout << bin.mReadInfos.size() << " reads found ..." << std::flush;
  if (!bin.mReadInfos.empty()) {
    // Stable, so records with equal starts keep their order in the bin file;
    // through a lambda, so the comparison is inlined.
    std::stable_sort(bin.mReadInfos.begin(), bin.mReadInfos.end(),
                     [](const ReadInfo& a, const ReadInfo& b) { return readInfoCmp(a, b); });
    ok = WriteBin(bin, inputName) && ok;
  }
  std::cout << "written." << std::endl;
  return ok;
}

}  // namespace ostrel
