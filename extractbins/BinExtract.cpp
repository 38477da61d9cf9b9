// Bin extraction: lookup, sort and the byte-for-byte copy to the output.
#include "extractbins/BinExtract.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <sstream>

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
// gathered in the copy buffer and written together; a record longer than
// the buffer passes through it in pieces. Each record is checked to be the
// read the index names before any of it is written: it starts with the
// read's header, and the byte after it (read together with it) ends a
// record.
class RecordCopier {
public:
  RecordCopier(PositionReader& in, int out, char* copyBuffer)
      : mIn(in), mInputSize(in.Size()), mOut(out), mBuffer(copyBuffer) {}

  enum class Result { kOk, kNotTheRead, kReadFailed, kWriteFailed };

  // `record` must lie inside the input.
  Result Copy(const ReadInfo& record) {
    const int64_t length = record.mEnd - record.mStart + 1;
    const int64_t after = record.mEnd < mInputSize ? 1 : 0;  // the byte after it, when there is one
    // Room for the record, the byte after it and an added newline.
    if (length + after + 1 > kCopyBufferSize) return CopyLong(record, length, after);
    if (length + after + 1 > kCopyBufferSize - mFill && !Flush()) return Result::kWriteFailed;
    char* bytes = mBuffer + mFill;
    if (!mIn.ReadAt(bytes, length + after, record.mStart - 1)) return Result::kReadFailed;
    if (!RangeHoldsRead(bytes, length, after == 1 ? bytes[length] : '\n', *record.mReadName))
      return Result::kNotTheRead;
    mFill += length;
    if (bytes[length - 1] != '\n') mBuffer[mFill++] = '\n';
    return Result::kOk;
  }

  bool Flush() {
    const bool ok = WriteAll(mOut, mBuffer, static_cast<size_t>(mFill));
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
      if (!mIn.ReadAt(mBuffer, piece, offset)) return Result::kReadFailed;
      if (remaining == length && !RecordStartsWithRead(mBuffer, piece, length, *record.mReadName))
        return Result::kNotTheRead;
      mFill = piece;
      if (!Flush()) return Result::kWriteFailed;
      offset += piece;
      remaining -= piece;
    }
    if (mBuffer[(length - 1) % kCopyBufferSize] != '\n') mBuffer[mFill++] = '\n';
    return Result::kOk;
  }

  PositionReader& mIn;
  int64_t mInputSize;
  int mOut;
  char* mBuffer;
  int64_t mFill = 0;  // bytes gathered in mBuffer
};

constexpr size_t kNamesFetchedAhead = 8;

// Sends standard output to `to` while it lives; nothing when `to` is null.
class StdoutTo {
public:
  explicit StdoutTo(std::streambuf* to) : mBefore(to != nullptr ? std::cout.rdbuf(to) : nullptr) {}
  ~StdoutTo() {
    if (mBefore != nullptr) std::cout.rdbuf(mBefore);
  }
  StdoutTo(const StdoutTo&) = delete;
  StdoutTo& operator=(const StdoutTo&) = delete;

private:
  std::streambuf* mBefore;
};

// One bin's part of the extraction from one input.
struct BinWork {
  Bin mBin;
  std::ostringstream mHeld;  // its messages while a pass shared with other bins runs
  bool mHolds = false;
  std::string mOutName;
  size_t mOutput = 0;  // RunOutputs' place of the output
  int mOut = -1;       // the output, open while its records are copied
  std::unique_ptr<RecordCopier> mCopier;  // while copying goes on
  bool mOk = true;

  std::ostream& Messages() { return mHolds ? mHeld : std::cout; }
};

// One located record of the bins of a pass, and the bin it goes to.
struct PassRecord {
  ReadInfo mRecord;
  size_t mBin = 0;
};

// The extraction of bins from one input, pass by pass.
class InputExtraction {
public:
  InputExtraction(const std::string& inputName, const ReadIndex& index, RunOutputs& outputs)
      : mInputName(inputName),
        mIndex(index),
        mOutputs(outputs),
        mShared(CompressionOf(inputName) == Compression::kBgzf) {}

  // Locates the records of `binName` and opens its output; the pass it
  // joins runs when it is full, and at once for a plain input.
  void Add(const std::string& binName, UnheldNames& unheld, size_t& found) {
    auto work = std::make_unique<BinWork>();
    work->mHolds = mShared;
    {
      StdoutTo held(mShared ? work->mHeld.rdbuf() : nullptr);
      Locate(binName, *work, unheld);
      found = work->mBin.mReadInfos.size();
      std::cout << found << " reads found ..." << std::flush;
      if (found > 0) OpenOutput(*work);
    }
    // Two bins with one output (the same bin file named twice) write it one
    // after the other: the second waits for a pass of its own.
    if (work->mOut >= 0 && std::any_of(mPass.begin(), mPass.end(), [&](const std::unique_ptr<BinWork>& other) {
          return other->mOut >= 0 && other->mOutput == work->mOutput;
        }))
      RunPass();
    if (work->mOut >= 0) {
      ++mCopying;
    } else {
      work->mBin = Bin();  // nothing to copy: only its messages wait for the pass
    }
    mPass.push_back(std::move(work));
    if (!mShared || mCopying == 0 || mCopying == kBinsPerPass) RunPass();
  }

  // Runs the last pass; false when some of the work could not be done.
  bool Finish() {
    RunPass();
    return mOk;
  }

private:
  void Locate(const std::string& binName, BinWork& work, UnheldNames& unheld) {
    work.mOk = LocateBinReads(binName, mIndex, unheld, work.mBin);
  }

  // Opens the input (once) and the bin's output; mOut stays -1 when either
  // fails, after a message.
  void OpenOutput(BinWork& work) {
    if (!mInputTried) OpenInput();
    if (!mInputOpen) {
      std::cout << ShownFileName(mInputName) << " open failed."
                << (mIn.mError.empty() ? "" : " " + mIn.mError + ".") << std::endl;
      work.mOk = false;
      return;
    }
    work.mOutName = OutputName(work.mBin.mName, mInputName, mFastq);
    work.mOut = mOutputs.Open(work.mOutName, work.mOutput);
    if (work.mOut < 0) work.mOk = false;
  }

  void OpenInput() {
    mInputTried = true;
    mInputOpen = mIn.Open(mInputName, mShared ? DecompressionThreads() : 0);
    if (!mInputOpen) return;
    char start[kFormatSniffBytes];
    const int64_t startSize = std::min<int64_t>(mIn.Size(), sizeof start);
    mFastq = mIn.ReadAt(start, startSize, 0) && IsFastqText(start, static_cast<size_t>(startSize));
  }

  // Copies the records of the pass's bins in file order, closes their
  // outputs and prints each bin's messages and "written.".
  void RunPass() {
    std::vector<PassRecord> records;
    size_t copying = 0;
    for (size_t b = 0; b < mPass.size(); ++b) {
      BinWork& work = *mPass[b];
      if (work.mOut < 0) continue;
      work.mCopier = std::make_unique<RecordCopier>(mIn, work.mOut, CopyBuffer(copying++));
      for (const ReadInfo& record : work.mBin.mReadInfos) records.push_back({record, b});
    }
    // Stable, so each bin's records with equal starts keep their order in
    // the bin file; through a lambda, so the comparison is inlined.
    std::stable_sort(records.begin(), records.end(),
                     [](const PassRecord& a, const PassRecord& b) { return readInfoCmp(a.mRecord, b.mRecord); });
    Copy(records);
    for (std::unique_ptr<BinWork>& work : mPass) {
      if (work->mOut >= 0) Close(*work);
      mOk = work->mOk && mOk;
      work->Messages() << "written." << std::endl;
      if (work->mHolds) std::cout << work->mHeld.str() << std::flush;
    }
    mPass.clear();
    mCopying = 0;
  }

  // The copy buffer of the pass's `place`-th copying bin: the process-wide
  // one first.
  char* CopyBuffer(size_t place) {
    if (place == 0) return buffer;
    while (mBuffers.size() < place) mBuffers.push_back(std::make_unique<char[]>(kCopyBufferSize));
    return mBuffers[place - 1].get();
  }

  void Copy(const std::vector<PassRecord>& records) {
    const int64_t inputSize = mIn.Size();
    for (size_t k = 0; k < records.size(); ++k) {
      // The names are compared in file order, which is not the order they
      // lie in memory: each one is fetched a few records ahead, so that the
      // check does not wait for it.
      if (k + kNamesFetchedAhead < records.size()) __builtin_prefetch(records[k + kNamesFetchedAhead].mRecord.mReadName);
      const ReadInfo& record = records[k].mRecord;
      BinWork& work = *mPass[records[k].mBin];
      if (!work.mCopier) continue;  // stopped by a failed read or write
      if (!UsableRange(record.mStart, record.mEnd, inputSize)) {
        work.Messages() << UnusableRangeReport(mInputName, record.mStart, record.mEnd) << std::flush;
        work.mOk = false;
        continue;
      }
      const RecordCopier::Result result = work.mCopier->Copy(record);
      if (result == RecordCopier::Result::kNotTheRead) {
        work.Messages() << StaleRangeReport(mInputName, record.mStart, record.mEnd, *record.mReadName) << std::flush;
        work.mOk = false;
      } else if (result == RecordCopier::Result::kReadFailed) {
        work.Messages() << ShownFileName(mInputName) << " read failed." << std::endl;
        work.mCopier->Flush();
        work.mCopier.reset();
        work.mOk = false;
      } else if (result == RecordCopier::Result::kWriteFailed) {
        work.Messages() << ShownFileName(work.mOutName) << " write failed." << std::endl;
        work.mCopier.reset();
        work.mOk = false;
      }
    }
  }

  // Writes what the bin's copier holds and closes its output.
  void Close(BinWork& work) {
    StdoutTo held(work.mHolds ? work.mHeld.rdbuf() : nullptr);
    if (work.mCopier && !work.mCopier->Flush()) {
      std::cout << ShownFileName(work.mOutName) << " write failed." << std::endl;
      work.mOk = false;
    }
    work.mCopier.reset();
    if (!mOutputs.Close(work.mOutput, work.mOut, work.mOk) && work.mOk) {
      std::cout << ShownFileName(work.mOutName) << " write failed." << std::endl;
      work.mOk = false;
    }
    work.mOut = -1;
  }

  const std::string& mInputName;
  const ReadIndex& mIndex;
  RunOutputs& mOutputs;
  bool mShared;  // bins share passes: a bgzip input
  PositionReader mIn;
  bool mInputTried = false;
  bool mInputOpen = false;
  bool mFastq = false;
  std::vector<std::unique_ptr<BinWork>> mPass;  // the bins of the pass to come, in order
  size_t mCopying = 0;                          // of them, those with records to copy
  std::vector<std::unique_ptr<char[]>> mBuffers;  // copy buffers beyond the process-wide one
  bool mOk = true;
};

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

bool UsableRange(int64_t start, int64_t end, int64_t fileSize) { return start >= 1 && end >= start && end <= fileSize; }

std::string UnusableRangeReport(const std::string& inputName, int64_t start, int64_t end) {
  return ShownFileName(inputName) + " range " + std::to_string(start) + ".." + std::to_string(end) +
         " unusable, record skipped.\n";
}

std::string StaleRangeReport(const std::string& inputName, int64_t start, int64_t end, const std::string& readName) {
  return ShownFileName(inputName) + " range " + std::to_string(start) + ".." + std::to_string(end) +
         " does not hold read " + readName +
         ": the index looks stale (ostrel-fastaindex remakes it), record skipped.\n";
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

bool ExtractFromInput(const std::vector<std::string>& bins, const std::string& inputName, const ReadIndex& index,
                      std::vector<UnheldNames>& unheld, RunOutputs& outputs, std::vector<size_t>& found) {
  found.assign(bins.size(), 0);
  InputExtraction extraction(inputName, index, outputs);
  for (size_t b = 0; b < bins.size(); ++b) extraction.Add(bins[b], unheld[b], found[b]);
  return extraction.Finish();
}

}  // namespace ostrel
