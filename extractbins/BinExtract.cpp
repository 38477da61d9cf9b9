// Bin extraction: lookup, sort and the byte-for-byte copy to the output.
#include "extractbins/BinExtract.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "extractbins/BinNames.h"
#include "extractbins/RunSettings.h"
#include "seq/RecordCheck.h"
#include "seq/RecordFormat.h"
#include "util/FileDescriptor.h"
#include "util/PositionReader.h"
#include "util/StringUtil.h"

namespace ostrel {

char buffer[kCopyBufferSize];

namespace {

// Appends records of one input file to one output file. Small records are
// gathered in `buffer` and written together; a record longer than the
// buffer passes through it in pieces. Each record is checked to be the read
// the index names before any of it is written: it starts with the read's
// header, and the byte after it (read together with it) ends a record.
class RecordCopier {
public:
  RecordCopier(PositionReader& in, int out) : mIn(in), mInputSize(in.Size()), mOut(out) {}

  enum class Result { kOk, kNotTheRead, kReadFailed, kWriteFailed };

  // `record` must lie inside the input.
  Result Copy(const ReadInfo& record) {
    const int64_t length = record.mEnd - record.mStart + 1;
    const int64_t after = record.mEnd < mInputSize ? 1 : 0;  // the byte after it, when there is one
    // Room for the record, the byte after it and an added newline.
    if (length + after + 1 > kCopyBufferSize) return CopyLong(record, length, after);
    if (length + after + 1 > kCopyBufferSize - mFill && !Flush()) return Result::kWriteFailed;
    char* bytes = buffer + mFill;
    if (!mIn.ReadAt(bytes, length + after, record.mStart - 1)) return Result::kReadFailed;
    if (!RecordStartsWithRead(bytes, length, length, *record.mReadName) ||
        (after == 1 && !EndsRecord(bytes[length])))
      return Result::kNotTheRead;
    mFill += length;
    if (bytes[length - 1] != '\n') buffer[mFill++] = '\n';
    return Result::kOk;
  }

  bool Flush() {
    const bool ok = WriteAll(mOut, buffer, static_cast<size_t>(mFill));
    mFill = 0;
    return ok;
  }

private:
  // A record longer than the buffer: the byte after it is read on its own,
  // its header with the first piece, both before anything is written.
  Result CopyLong(const ReadInfo& record, int64_t length, int64_t after) {
    char next = '\n';
    if (after == 1 && !mIn.ReadAt(&next, 1, record.mEnd)) return Result::kReadFailed;
    if (!EndsRecord(next)) return Result::kNotTheRead;
    if (!Flush()) return Result::kWriteFailed;
    int64_t offset = record.mStart - 1;
    int64_t remaining = length;
    while (remaining > 0) {
      const int64_t piece = std::min(remaining, kCopyBufferSize);
      if (!mIn.ReadAt(buffer, piece, offset)) return Result::kReadFailed;
      if (remaining == length && !RecordStartsWithRead(buffer, piece, length, *record.mReadName))
        return Result::kNotTheRead;
      mFill = piece;
      if (!Flush()) return Result::kWriteFailed;
      offset += piece;
      remaining -= piece;
    }
    if (buffer[(length - 1) % kCopyBufferSize] != '\n') buffer[mFill++] = '\n';
    return Result::kOk;
  }

  PositionReader& mIn;
  int64_t mInputSize;
  int mOut;
  int64_t mFill = 0;  // bytes gathered in buffer
};

constexpr size_t kNamesFetchedAhead = 8;

bool UsableRange(const ReadInfo& record, int64_t fileSize) {
  return record.mStart >= 1 && record.mEnd >= record.mStart && record.mEnd <= fileSize;
}

// Copies the sorted records of `bin` from the open input to the output.
bool CopyRecords(const Bin& bin, const std::string& inputName, PositionReader& in, const std::string& outName,
                 int out) {
  const int64_t inputSize = in.Size();
  RecordCopier copier(in, out);
  bool ok = true;
  const std::vector<ReadInfo>& records = bin.mReadInfos;
  for (size_t k = 0; k < records.size(); ++k) {
    // The names are compared in file order, which is not the order they lie
    // in memory: each one is fetched a few records ahead, so that the check
    // does not wait for it.
    if (k + kNamesFetchedAhead < records.size()) __builtin_prefetch(records[k + kNamesFetchedAhead].mReadName);
    const ReadInfo& record = records[k];
    if (!UsableRange(record, inputSize)) {
      std::cout << ShownFileName(inputName) << " range " << record.mStart << ".." << record.mEnd
                << " unusable, record skipped." << std::endl;
      ok = false;
      continue;
    }
    const RecordCopier::Result result = copier.Copy(record);
    if (result == RecordCopier::Result::kNotTheRead) {
      std::cout << ShownFileName(inputName) << " range " << record.mStart << ".." << record.mEnd
                << " does not hold read " << *record.mReadName
                << ": the index looks stale (ostrel-fastaindex remakes it), record skipped." << std::endl;
      ok = false;
      continue;
    }
    if (result == RecordCopier::Result::kReadFailed) {
      std::cout << ShownFileName(inputName) << " read failed." << std::endl;
      copier.Flush();
      return false;
    }
    if (result == RecordCopier::Result::kWriteFailed) {
      std::cout << ShownFileName(outName) << " write failed." << std::endl;
      return false;
    }
  }
  if (!copier.Flush()) {
    std::cout << ShownFileName(outName) << " write failed." << std::endl;
    return false;
  }
  return ok;
}

// Opens the input and the output and copies the bin's records.
bool WriteBin(const Bin& bin, const std::string& inputName, RunOutputs& outputs) {
  PositionReader in;
  if (!in.Open(inputName)) {
    std::cout << ShownFileName(inputName) << " open failed." << (in.mError.empty() ? "" : " " + in.mError + ".")
              << std::endl;
    return false;
  }
  char start[kFormatSniffBytes];
  const int64_t startSize = std::min<int64_t>(in.Size(), sizeof start);
  const bool fastq = in.ReadAt(start, startSize, 0) && IsFastqText(start, static_cast<size_t>(startSize));
  const std::string outName = OutputName(bin.mName, inputName, fastq);
  size_t output = 0;
  const int out = outputs.Open(outName, output);
  if (out < 0) return false;
  bool ok = CopyRecords(bin, inputName, in, outName, out);
  if (!outputs.Close(output, out, ok) && ok) {
    std::cout << ShownFileName(outName) << " write failed." << std::endl;
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

std::string OutputName(const std::string& binName, const std::string& inputName, bool fastq) {
  if (fastq) return OptOutRoot + binName + "_out.fq";
  return OptOutRoot + binName + (IsQualityInput(inputName) ? "_out.fa.qual" : "_out.fa");
}

bool LocateBinReads(const std::string& binName, const ReadIndex& index, UnheldNames& unheld, Bin& bin) {
  const bool ok = ReadBinNames(binName, bin.mReadNames);
  bin.mName = binName;
  std::vector<const IndexInfo*> entries;
  index.FindMany(bin.mReadNames, entries);
  unheld.Update(bin.mReadNames, entries, index);
  for (size_t k = 0; k < entries.size(); ++k)
    if (entries[k] != nullptr)
      bin.mReadInfos.push_back({entries[k]->mStart, entries[k]->mEnd, &bin.mReadNames[k]});
  // Stable, so records with equal starts keep their order in the bin file;
  // through a lambda, so the comparison is inlined.
  std::stable_sort(bin.mReadInfos.begin(), bin.mReadInfos.end(),
                   [](const ReadInfo& a, const ReadInfo& b) { return readInfoCmp(a, b); });
  return ok;
}

bool ExtractBin(const std::string& binName, const std::string& inputName, const ReadIndex& index,
                UnheldNames& unheld, RunOutputs& outputs, size_t* found) {
  Bin bin;
  bool ok = LocateBinReads(binName, index, unheld, bin);
  if (found != nullptr) *found = bin.mReadInfos.size();
  std::cout << bin.mReadInfos.size() << " reads found ..." << std::flush;
  if (!bin.mReadInfos.empty()) ok = WriteBin(bin, inputName, outputs) && ok;
  std::cout << "written." << std::endl;
  return ok;
}

}  // namespace ostrel
