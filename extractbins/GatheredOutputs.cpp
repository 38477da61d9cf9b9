// Bins' records gathered in memory, written a megabyte at a time.
#include "extractbins/GatheredOutputs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "util/FileDescriptor.h"
#include "util/StringUtil.h"

namespace ostrel {

GatheredOutputs::GatheredOutputs(RunOutputs& outputs, size_t bins)
    : mOutputs(outputs), mBins(bins), mKeptCapacity(kGatheredLimit / std::max<size_t>(bins, 1)) {}

void GatheredOutputs::Name(std::vector<std::string> names) {
  mNames = std::move(names);
  std::unordered_map<size_t, size_t> firstBin;  // of each output
  for (size_t bin = 0; bin < mNames.size(); ++bin)
    mBins[bin].mFirst = firstBin.emplace(mOutputs.Identify(mNames[bin]), bin).first->second;
}

void GatheredOutputs::Append(size_t bin, std::string_view kept, std::string_view block) {
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

bool GatheredOutputs::WriteGathered() {
  for (size_t bin = 0; bin < mBins.size(); ++bin) Write(bin);
  mGathered = 0;
  for (const Bin& out : mBins)
    if (out.mFailed) return false;
  return true;
}

bool GatheredOutputs::WriteSecondNames() {
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

bool GatheredOutputs::CutBack() {
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

bool GatheredOutputs::CopyRange(size_t output, off_t from, off_t to, int fd) {
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

void GatheredOutputs::Write(size_t bin) {
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

}  // namespace ostrel
