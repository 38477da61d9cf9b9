// The streaming extraction: one pass over an input's text through the record
// scanner, each record taken as its index line comes out and copied to the
// bins that name it.
#include "extractbins/StreamExtraction.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <string_view>
#include <unordered_map>

#include "extractbins/BinExtract.h"
#include "extractbins/BinNames.h"
#include "seq/IndexLine.h"
#include "seq/RecordScanner.h"
#include "util/FileDescriptor.h"
#include "util/StringUtil.h"
#include "util/TextBlockReader.h"

namespace ostrel {

namespace {

// The text of the current block and, before it, what is kept of the blocks
// before: from the end of the last record taken on, so that a record that
// spans blocks is still whole when its index line comes out.
class TextWindow {
public:
  void Take(const char* data, size_t size) {
    mBlock = data;
    mBlockSize = size;
    mBlockStart = mCarryStart + static_cast<int64_t>(mCarry.size());
  }
  // Text [from, to) (0-based, from not before the kept text, to not past
  // the block) as a piece of the kept text and a piece of the block.
  void Pieces(int64_t from, int64_t to, std::string_view& kept, std::string_view& block) const {
    const int64_t split = std::min(std::max(from, mBlockStart), to);
    kept = split > from ? std::string_view(mCarry.data() + (from - mCarryStart), static_cast<size_t>(split - from))
                        : std::string_view();
    block = to > split ? std::string_view(mBlock + (split - mBlockStart), static_cast<size_t>(to - split))
                       : std::string_view();
  }
  // Ends the block, keeping its text from `keepFrom` on.
  void Keep(int64_t keepFrom) {
    if (keepFrom >= mBlockStart) {
      const size_t skipped = static_cast<size_t>(keepFrom - mBlockStart);
      mCarry.assign(mBlock + skipped, mBlockSize - skipped);
    } else {
      mCarry.erase(0, static_cast<size_t>(keepFrom - mCarryStart));
      mCarry.append(mBlock, mBlockSize);
    }
    mCarryStart = keepFrom;
    Take(nullptr, 0);
  }

private:
  std::string mCarry;
  int64_t mCarryStart = 0;
  const char* mBlock = nullptr;
  size_t mBlockSize = 0;
  int64_t mBlockStart = 0;
};

// A bin's records are gathered in memory and appended to its output a
// megabyte at a time, and every bin's once all of them hold kGatheredLimit:
// the output is opened for each write, so that thousands of bins keep no
// more files open than one.
constexpr size_t kBinWriteBytes = 1 << 20;
constexpr size_t kGatheredLimit = size_t{64} << 20;

class GatheredOutputs {
public:
  GatheredOutputs(RunOutputs& outputs, size_t bins)
      : mOutputs(outputs), mBins(bins), mKeptCapacity(kGatheredLimit / std::max<size_t>(bins, 1)) {}

  bool Named() const { return !mNames.empty(); }
  void Name(std::vector<std::string> names) {
    mNames = std::move(names);
    std::unordered_map<size_t, size_t> firstBin;  // of each output
    for (size_t bin = 0; bin < mNames.size(); ++bin)
      mBins[bin].mFirst = firstBin.emplace(mOutputs.Identify(mNames[bin]), bin).first->second;
  }

  void Append(size_t bin, std::string_view kept, std::string_view block) {
    Bin& out = mBins[bin];
    if (out.mFailed || out.mFirst != bin) return;
    const size_t before = out.mBytes.size();
    out.mBytes.append(kept).append(block);
    const char last = block.empty() ? kept.back() : block.back();
    if (last != '\n') out.mBytes += '\n';
    mGathered += out.mBytes.size() - before;
    if (out.mBytes.size() >= kBinWriteBytes) Write(bin);
    if (mGathered >= kGatheredLimit) WriteGathered();
  }

  // Writes what every bin has gathered; false when some output failed.
  bool WriteGathered() {
    for (size_t bin = 0; bin < mBins.size(); ++bin) Write(bin);
    mGathered = 0;
    for (const Bin& out : mBins)
      if (out.mFailed) return false;
    return true;
  }

  // Once the input is read and every bin's records written: each bin whose
  // output an earlier bin writes (one bin file named twice, binA and
  // ./binA) holds the same records, and gets them after all of the earlier
  // bin's, as the indexed extraction writes them: copied from the output.
  bool WriteSecondNames() {
    std::unordered_map<size_t, off_t> ends;  // of the first bin's records
    for (const auto& [output, before] : mLengthsBefore) {
      struct stat status;
      if (::stat(mOutputs.FileOf(output).c_str(), &status) == 0) ends.emplace(output, status.st_size);
    }
    bool ok = true;
    for (size_t bin = 0; bin < mNames.size(); ++bin) {
      const size_t first = mBins[bin].mFirst;
      if (first == bin || mBins[first].mFailed) continue;
      size_t output = 0;
      const int fd = mOutputs.Open(mNames[bin], output);
      if (fd < 0) {
        ok = false;
        continue;
      }
      const auto before = mLengthsBefore.find(output);
      const auto end = ends.find(output);
      const bool written = before == mLengthsBefore.end() ||  // the first bin found nothing here
                           (end != ends.end() && CopyRange(output, before->second.second, end->second, fd));
      if (!mOutputs.Close(output, fd, written) || !written) {
        std::cout << ShownFileName(mNames[bin]) << " write failed." << std::endl;
        ok = false;
      }
    }
    return ok;
  }

  // Drops what was gathered and cuts every output written back to its
  // length before; false when one cannot be.
  bool CutBack() {
    bool ok = true;
    for (Bin& out : mBins) out.mBytes.clear();
    mGathered = 0;
    for (const auto& [output, before] : mLengthsBefore) {
      size_t same = 0;
      const int fd = mOutputs.Open(before.first, same);
      const bool cut = fd >= 0 && ::ftruncate(fd, before.second) == 0;
      if (fd >= 0) mOutputs.Close(same, fd, cut);
      if (!cut) std::cout << ShownFileName(before.first) << " could not be cut back." << std::endl;
      ok = ok && cut;
    }
    return ok;
  }

private:
  struct Bin {
    std::string mBytes;
    bool mFailed = false;  // its output failed for this input: nothing more is gathered
    size_t mFirst = 0;     // the first bin with the same output
  };

  // Appends bytes [from, to) of the file of `output` to `fd`.
  bool CopyRange(size_t output, off_t from, off_t to, int fd) {
    const int in = ::open(mOutputs.FileOf(output).c_str(), O_RDONLY);
    bool copied = in >= 0;
    std::string piece(kBinWriteBytes, '\0');
    for (off_t at = from; copied && at < to;) {
      const ssize_t got = ::pread(in, piece.data(), static_cast<size_t>(std::min<off_t>(to - at, kBinWriteBytes)), at);
      copied = got > 0 && WriteAll(fd, piece.data(), static_cast<size_t>(got));
      at += got;
    }
    if (in >= 0) ::close(in);
    return copied;
  }

  void Write(size_t bin) {
    Bin& out = mBins[bin];
    if (out.mBytes.empty() || out.mFailed) return;
    size_t output = 0;
    const int fd = mOutputs.Open(mNames[bin], output);
    out.mFailed = fd < 0;
    if (fd >= 0) {
      struct stat status;
      if (mLengthsBefore.count(output) == 0 && ::fstat(fd, &status) == 0)
        mLengthsBefore.emplace(output, std::make_pair(mNames[bin], status.st_size));
      const bool written = WriteAll(fd, out.mBytes.data(), out.mBytes.size());
      out.mFailed = !mOutputs.Close(output, fd, written) || !written;
      if (out.mFailed) std::cout << ShownFileName(mNames[bin]) << " write failed." << std::endl;
    }
    mGathered -= std::min(mGathered, out.mBytes.size());
    // The room a bin keeps for its next records, all bins' together within
    // about kGatheredLimit.
    if (out.mBytes.capacity() > mKeptCapacity)
      std::string().swap(out.mBytes);
    else
      out.mBytes.clear();
  }

  RunOutputs& mOutputs;
  std::vector<Bin> mBins;
  std::vector<std::string> mNames;  // each bin's output for this input
  size_t mGathered = 0;
  size_t mKeptCapacity;
  // Each output written: its name and its length before this input.
  std::unordered_map<size_t, std::pair<std::string, off_t>> mLengthsBefore;
};

}  // namespace

// One reading of one input.
class StreamExtraction::Pass {
public:
  Pass(StreamExtraction& table, const std::string& inputName, GatheredOutputs& outputs,
       std::vector<size_t>& found)
      : mTable(table), mInputName(inputName), mOutputs(outputs), mFound(found) {}

  // Reads the input whole. With `lastOnly`, a read the input holds several
  // times goes out from its mOccurrences[entry]-th, its last, record only;
  // without, from every record, and mOccurrences counts them. False when the
  // input could not be read whole.
  bool Run(bool lastOnly, std::vector<uint32_t>& occurrences) {
    mLastOnly = lastOnly;
    mOccurrences = &occurrences;
    TextBlockReader in;
    if (!in.Open(mInputName)) {
      std::cout << ShownFileName(mInputName) << " open failed. " << in.mError << '.' << std::endl;
      return false;
    }
    RecordScanner scanner(0, false);
    for (;;) {
      const char* data = nullptr;
      const int64_t got = in.Next(data);
      if (got < 0) {
        std::cout << in.mError << " after byte " << mWindowEnd << " of its text; the records after it are not read."
                  << std::endl;
        return false;
      }
      if (got == 0) break;
      mWindow.Take(data, static_cast<size_t>(got));
      mWindowEnd += got;
      const bool good = scanner.Feed(data, static_cast<size_t>(got));
      TakeRecords(scanner);
      if (!good) return Malformed(scanner);
      mWindow.Keep(mTakenUpTo);
    }
    if (!scanner.Finish()) return Malformed(scanner);
    TakeRecords(scanner);
    return true;
  }

  bool mRepeated = false;  // some read that a bin names came twice or more

private:
  bool Malformed(const RecordScanner& scanner) {
    std::cout << ShownFileName(mInputName) << " byte " << scanner.mErrorPosition;
    if (scanner.mErrorLine > 0) std::cout << " (line " << scanner.mErrorLine << ")";
    std::cout << ": " << scanner.mError << "; the records from there on are not read." << std::endl;
    return false;
  }

  // Takes the index lines the scanner has given: each record's name looked
  // up, and its text copied to the bins that name it. The names of a block
  // are looked up together, so that their cache misses overlap.
  void TakeRecords(RecordScanner& scanner) {
    const std::string& lines = scanner.mIndexText;
    size_t count = 0;
    for (size_t at = 0; at < lines.size(); ++count) {
      const size_t end = lines.find('\n', at);
      mLine.assign(lines, at, end - at);
      at = end + 1;
      if (count == mNames.size()) {
        mNames.emplace_back();
        mRanges.emplace_back();
      }
      ParseIndexLine(mLine, mNames[count], mRanges[count].first, mRanges[count].second);
    }
    scanner.mIndexText.clear();
    mNames.resize(count);
    mTable.mIds.FindMany(mNames, mIds);
    for (size_t k = 0; k < count; ++k) {
      mTakenUpTo = mRanges[k].second;
      if (mIds[k] != nullptr) TakeRecord(static_cast<uint32_t>(*mIds[k]), mRanges[k].first, scanner.IsFastq());
    }
  }

  void TakeRecord(uint32_t entry, int64_t first, bool fastq) {
    mTable.mHeld[entry] = true;
    uint32_t& seen = (*mOccurrences)[entry];
    if (mLastOnly) {
      if (--seen != 0) return;
    } else if (++seen > 1) {
      mRepeated = true;
    }
    if (!mOutputs.Named()) NameOutputs(fastq);
    std::string_view kept;
    std::string_view block;
    mWindow.Pieces(first - 1, mTakenUpTo, kept, block);
    for (uint32_t t = mTable.mTargetStart[entry]; t < mTable.mTargetStart[entry + 1]; ++t) {
      mOutputs.Append(mTable.mTargets[t], kept, block);
      ++mFound[mTable.mTargets[t]];
    }
  }

  void NameOutputs(bool fastq) {
    std::vector<std::string> names;
    for (const std::string& bin : mTable.mBins) names.push_back(OutputName(bin, mInputName, fastq));
    mOutputs.Name(std::move(names));
  }

  StreamExtraction& mTable;
  const std::string& mInputName;
  GatheredOutputs& mOutputs;
  std::vector<size_t>& mFound;
  bool mLastOnly = false;
  std::vector<uint32_t>* mOccurrences = nullptr;
  TextWindow mWindow;
  int64_t mWindowEnd = 0;  // text read so far
  int64_t mTakenUpTo = 0;  // the end of the last record taken
  std::string mLine;
  std::vector<std::string> mNames;  // a block's records: names, ranges and entries
  std::vector<std::pair<int64_t, int64_t>> mRanges;
  std::vector<const int*> mIds;
};

bool StreamExtraction::LoadBins() {
  mLoaded = true;
  mBinNames.resize(mBins.size());
  mBinNameIds.resize(mBins.size());
  size_t total = 0;
  for (size_t b = 0; b < mBins.size(); ++b) {
    mBinsRead = ReadBinNames(mBins[b], mBinNames[b]) && mBinsRead;
    total += mBinNames[b].size();
  }
  mIds.Reserve(total);
  std::vector<uint32_t> counts(1, 0);  // entries count from 1
  for (size_t b = 0; b < mBins.size(); ++b) {
    for (const std::string& name : mBinNames[b]) {
      int& id = mIds[name];
      if (id == 0) {
        id = static_cast<int>(counts.size());
        counts.push_back(0);
      }
      ++counts[static_cast<size_t>(id)];
      mBinNameIds[b].push_back(static_cast<uint32_t>(id));
    }
  }
  mTargetStart.assign(counts.size() + 1, 0);
  for (size_t id = 0; id < counts.size(); ++id) mTargetStart[id + 1] = mTargetStart[id] + counts[id];
  mTargets.resize(total);
  std::vector<uint32_t> next(mTargetStart.begin(), mTargetStart.end() - 1);
  for (size_t b = 0; b < mBins.size(); ++b)
    for (uint32_t id : mBinNameIds[b]) mTargets[next[id]++] = static_cast<uint32_t>(b);
  mHeld.assign(counts.size(), false);
  return mBinsRead;
}

bool StreamExtraction::Extract(const std::string& inputName, RunOutputs& outputs, std::vector<size_t>& found) {
  const bool binsRead = mLoaded ? true : LoadBins();
  std::cout << "Stream " << ShownFileName(inputName) << "...\t" << std::flush;
  found.assign(mBins.size(), 0);
  std::vector<uint32_t> occurrences(mTargetStart.size() - 1, 0);
  GatheredOutputs gathered(outputs, mBins.size());
  bool ok = true;
  {
    Pass pass(*this, inputName, gathered, found);
    ok = pass.Run(false, occurrences);
    if (pass.mRepeated) {
      // The outputs took every record of a repeated name: they are cut back
      // and the input read again for the last records alone.
      found.assign(mBins.size(), 0);
      ok = gathered.CutBack() && Pass(*this, inputName, gathered, found).Run(true, occurrences) && ok;
    }
  }
  ok = gathered.WriteGathered() && ok;
  ok = gathered.WriteSecondNames() && ok;
  for (size_t b = 0; b < mBins.size(); ++b)
    std::cout << found[b] << " reads found ...written." << std::endl;
  return ok && binsRead;
}

void StreamExtraction::UpdateUnheld(std::vector<UnheldNames>& unheld) const {
  if (!mLoaded) return;
  for (size_t b = 0; b < mBins.size() && b < unheld.size(); ++b) {
    std::vector<bool> held(mBinNames[b].size());
    for (size_t k = 0; k < held.size(); ++k) held[k] = mHeld[mBinNameIds[b][k]];
    unheld[b].Update(mBinNames[b], held, [this](const std::string& name) {
      const int* id = mIds.Find(name);
      return id != nullptr && mHeld[static_cast<size_t>(*id)];
    });
  }
}

}  // namespace ostrel
