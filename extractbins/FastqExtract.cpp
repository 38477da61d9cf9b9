// Bins written as FASTQ from FASTA records and their quality records.
#include "extractbins/FastqExtract.h"

#include <iostream>

#include "extractbins/BinExtract.h"
#include "extractbins/Driver.h"
#include "extractbins/QualityFile.h"
#include "extractbins/ReadIndex.h"
#include "extractbins/RunOutputs.h"
#include "extractbins/RunSettings.h"
#include "extractbins/StreamExtraction.h"
#include "extractbins/UnheldNames.h"
#include "seq/FastqFromQuality.h"
#include "seq/RecordCheck.h"
#include "seq/RecordFormat.h"
#include "util/BgzfFile.h"
#include "util/FileDescriptor.h"
#include "util/PositionReader.h"
#include "util/StringUtil.h"

namespace ostrel {

namespace {

// FASTQ text gathered before it is written.
constexpr size_t kWriteBlock = 1 << 20;

// One input file read by position, with its name for messages.
struct RecordSource {
  explicit RecordSource(const std::string& name) : mName(name) {}

  std::string mName;
  PositionReader mReader;

  bool Open() {
    if (mReader.Open(mName)) return true;
    std::cout << ShownFileName(mName) << " open failed."
              << (mReader.mError.empty() ? "" : " " + mReader.mError + ".") << std::endl;
    return false;
  }

  enum class Result { kOk, kSkipped, kReadFailed };

  // Reads the record of read `name` at `range` into `text`. A range that
  // lies outside the file, or does not hold the read's whole record (a
  // stale index), is reported and skipped.
  Result Read(const IndexInfo& range, const std::string& name, std::string& text) {
    const int64_t size = mReader.Size();
    if (!UsableRange(range.mStart, range.mEnd, size)) {
      std::cout << UnusableRangeReport(mName, range.mStart, range.mEnd) << std::flush;
      return Result::kSkipped;
    }
    const int64_t length = range.mEnd - range.mStart + 1;
    const int64_t after = range.mEnd < size ? 1 : 0;  // the byte after it, when there is one
    text.resize(static_cast<size_t>(length + after));
    if (!mReader.ReadAt(text.data(), length + after, range.mStart - 1)) {
      std::cout << ShownFileName(mName) << " read failed." << std::endl;
      return Result::kReadFailed;
    }
    if (!RangeHoldsRead(text.data(), length, after == 1 ? text.back() : '\n', name)) {
      std::cout << StaleRangeReport(mName, range.mStart, range.mEnd, name) << std::flush;
      return Result::kSkipped;
    }
    text.resize(static_cast<size_t>(length));
    return Result::kOk;
  }
};

// Writes the bin's located reads from `reads`, each with its quality
// record from `qualities` (indexed by `qualityIndex`), to the open output.
bool WriteReads(const Bin& bin, RecordSource& reads, RecordSource& qualities, const ReadIndex& qualityIndex,
                int out, const std::string& outName, FastqFromQuality& convert) {
  bool ok = true;
  std::string fasta, quality, fastq;
  const auto flush = [&]() {
    const bool written = WriteAll(out, fastq.data(), fastq.size());
    if (!written) std::cout << ShownFileName(outName) << " write failed." << std::endl;
    fastq.clear();
    return written;
  };
  for (const ReadInfo& record : bin.mReadInfos) {
    const std::string& name = *record.mReadName;
    RecordSource::Result read = reads.Read({record.mStart, record.mEnd}, name, fasta);
    const IndexInfo* qualityRange = qualityIndex.Find(name);
    quality.clear();
    if (read == RecordSource::Result::kOk && qualityRange != nullptr)
      read = qualities.Read(*qualityRange, name, quality);
    if (read == RecordSource::Result::kReadFailed) {
      flush();
      return false;
    }
    if (read == RecordSource::Result::kSkipped) {
      ok = false;
      continue;
    }
    const FastqFromQuality::Result result = convert.Append(fasta, quality, fastq);
    if (result != FastqFromQuality::Result::kWritten) {
      std::cout << UnwrittenReadReport(name, result, convert, qualities.mName) << std::flush;
      ok = false;
    }
    if (fastq.size() >= kWriteBlock && !flush()) return false;
  }
  return flush() && ok;
}

// The reads of one bin from a FASTA file and its quality file;
// `qualitiesMissing` says why there are none to pair them with, when so.
bool WriteFastqBin(const Bin& bin, const std::string& fastaName, const std::string& qualityName,
                   const ReadIndex& qualityIndex, const std::string& qualitiesMissing, RunOutputs& outputs,
                   FastqFromQuality& convert) {
  if (!qualitiesMissing.empty()) {
    std::cout << qualitiesMissing << ": " << bin.mReadInfos.size() << " reads not written." << std::endl;
    return false;
  }
  RecordSource reads(fastaName);
  RecordSource qualities(qualityName);
  if (!reads.Open() || !qualities.Open()) return false;
  const std::string outName = OutputName(bin.mName, fastaName, true);
  size_t output = 0;
  const int out = outputs.Open(outName, output);
  if (out < 0) return false;
  bool ok = WriteReads(bin, reads, qualities, qualityIndex, out, outName, convert);
  if (!outputs.Close(output, out, ok) && ok) {
    std::cout << ShownFileName(outName) << " write failed." << std::endl;
    ok = false;
  }
  return ok;
}

// The quality file that follows `inputs[i]` in the list, the one found for
// it; empty when there is none.
std::string QualityPartner(const std::vector<std::string>& inputs, size_t i) {
  std::string qualityName;
  if (i + 1 < inputs.size() && QualityFileFound(inputs[i], qualityName) && qualityName == inputs[i + 1])
    return qualityName;
  return "";
}

}  // namespace

std::string UnwrittenReadReport(const std::string& name, FastqFromQuality::Result result,
                                const FastqFromQuality& convert, const std::string& qualityName) {
  if (result == FastqFromQuality::Result::kNoQualityRecord)
    return name + ": no quality record in " + ShownFileName(qualityName) + "; read not written.\n";
  return name + ": " + std::to_string(convert.mBases) + " bases, " + std::to_string(convert.mValues) +
         " quality values in " + ShownFileName(qualityName) + "; read not written.\n";
}

bool ExtractBinsAsFastq(const std::vector<std::string>& inputs, const std::vector<std::string>& bins) {
  bool ok = true;
  ReadIndex readIndex, qualityIndex;
  RunOutputs outputs(OptFreshOutputs);
  std::vector<UnheldNames> unheld(bins.size());
  FastqFromQuality convert;
  StreamExtraction streamed(bins);
  for (size_t i = 0; i < inputs.size(); ++i) {
    const std::string& input = inputs[i];
    const bool fastq = IsFastqFile(input);
    const std::string qualityName = fastq ? "" : QualityPartner(inputs, i);
    if (!qualityName.empty()) ++i;
    if (!InputReadable(input)) {
      ok = false;
      continue;
    }
    if (OptStreamInputs || CompressionOf(input) == Compression::kGzip ||
        (!qualityName.empty() && CompressionOf(qualityName) == Compression::kGzip)) {
      std::vector<size_t> found;
      ok = (fastq ? streamed.Extract(input, outputs, found)
                  : streamed.ExtractAsFastq(input, qualityName, outputs, found, convert)) &&
           ok;
      continue;
    }
    ok = readIndex.Load(input) && ok;
    std::string qualitiesMissing;
    if (!fastq && qualityName.empty())
      qualitiesMissing = ShownFileName(input) + " has no quality file";
    else if (!fastq && !qualityIndex.Load(qualityName))
      qualitiesMissing = ShownFileName(qualityName) + " has no index";
    ok = qualitiesMissing.empty() && ok;
    if (fastq) {  // its records are copied as they are
      std::vector<size_t> found;
      ok = ExtractFromInput(bins, input, readIndex, unheld, outputs, found) && ok;
    }
    for (size_t b = 0; b < bins.size() && !fastq; ++b) {
      Bin bin;
      ok = LocateBinReads(bins[b], readIndex, unheld[b], bin) && ok;
      std::cout << bin.mReadInfos.size() << " reads found ..." << std::flush;
      if (!bin.mReadInfos.empty())
        ok = WriteFastqBin(bin, input, qualityName, qualityIndex, qualitiesMissing, outputs, convert) && ok;
      std::cout << "written." << std::endl;
    }
    readIndex.Clear();
    qualityIndex.Clear();
  }
  ok = outputs.Finish(std::cerr) && ok;
  std::cout.flush();
  streamed.UpdateUnheld(unheld);
  if (convert.mLoweredValues > 0)
    std::cerr << convert.mLoweredValues << (convert.mLoweredValues == 1 ? " quality value" : " quality values")
              << " above " << FastqFromQuality::kHighestValue << " written as " << FastqFromQuality::kHighestValue
              << ", the highest FASTQ holds." << std::endl;
  if (convert.mRaisedValues > 0)
    std::cerr << convert.mRaisedValues << (convert.mRaisedValues == 1 ? " quality value" : " quality values")
              << " below 0 written as 0." << std::endl;
  for (size_t b = 0; b < bins.size(); ++b) unheld[b].Report(bins[b], std::cerr);
  return ok;
}

}  // namespace ostrel
