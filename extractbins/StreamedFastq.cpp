// -Q over inputs read whole: each FASTA record paired with its quality
// record as the two files are read side by side.
#include <iostream>
#include <memory>
#include <unordered_map>

#include "extractbins/BinExtract.h"
#include "extractbins/FastqExtract.h"
#include "extractbins/GatheredOutputs.h"
#include "extractbins/StreamExtraction.h"
#include "seq/RecordStream.h"
#include "util/StringUtil.h"

namespace ostrel {

// One reading of a FASTA file and its quality file. `qualityCounts` gives
// the number of records each entry has in the quality file: a read is
// paired with its last, as the quality file's index would give it.
class StreamExtraction::PairedPass {
public:
  PairedPass(StreamExtraction& table, const std::string& fastaName, const std::string& qualityName,
             const std::vector<uint32_t>& qualityCounts, GatheredOutputs& outputs, std::vector<size_t>& found,
             FastqFromQuality& convert)
      : mTable(table),
        mFastaName(fastaName),
        mQualityName(qualityName),
        mQualityLeft(qualityCounts),
        mOutputs(outputs),
        mFound(found),
        mConvert(convert) {}

  // Reads the FASTA file whole, with `lastOnly` as Takes says; once a read
  // is found repeated without it, the reads are only counted. False when
  // the FASTA file could not be read whole.
  bool Run(bool lastOnly) {
    RecordStream reads;
    if (!reads.Open(mFastaName)) {
      std::cout << reads.mError << std::endl;
      return false;
    }
    // A quality file gone since its names were read gives no records: each
    // read is then reported without one.
    if (!mQualityName.empty()) mQualities.Open(mQualityName);
    std::vector<uint32_t> entries;
    while (reads.Next()) {
      mTable.Look(reads.mNames, entries);
      for (size_t k = 0; k < reads.Count(); ++k) {
        const uint32_t entry = entries[k];
        if (entry == 0 || !mTable.Takes(entry, lastOnly, mRepeated)) continue;
        mTable.ForEachTarget(entry, [this](uint32_t bin) { ++mFound[bin]; });
        if (!mRepeated && !mQualityName.empty()) Pair(reads, k, entry);
      }
    }
    if (!reads.mError.empty()) std::cout << reads.mError << std::endl;
    return reads.mError.empty();
  }

  bool mRepeated = false;  // some read that a bin names came twice or more
  bool mAllWritten = true;
  std::string mReports;  // of reads not written, a line each

private:
  void Pair(const RecordStream& reads, size_t k, uint32_t entry) {
    const std::string_view fasta = reads.WholeText(k, mFastaScratch);
    mFastq.clear();
    const FastqFromQuality::Result result = mConvert.Append(fasta, QualityOf(entry), mFastq);
    if (result != FastqFromQuality::Result::kWritten) {
      mReports += UnwrittenReadReport(reads.mNames[k], result, mConvert, mQualityName);
      mAllWritten = false;
      return;
    }
    if (!mOutputs.Named()) {
      std::vector<std::string> names;
      for (const std::string& bin : mTable.mBins) names.push_back(OutputName(bin, mFastaName, true));
      mOutputs.Name(std::move(names));
    }
    mTable.ForEachTarget(entry, [this](uint32_t bin) { mOutputs.Append(bin, {}, mFastq); });
  }

  // The text of the quality record of `entry`; empty when it has none.
  // Read on from where the last was found, holding the records passed on
  // the way for their reads.
  std::string_view QualityOf(uint32_t entry) {
    const auto held = mHeldQualities.find(entry);
    if (held != mHeldQualities.end()) {
      mQualityText = std::move(held->second);
      mHeldQualities.erase(held);
      return mQualityText;
    }
    if (mQualityLeft[entry] == 0) return {};  // none, or its last passed and taken already
    for (;;) {
      while (mAt == mQualities.Count()) {  // a block may complete no record
        if (!mQualities.Next()) return {};  // a fault the names' reading reported
        mTable.Look(mQualities.mNames, mQualityEntries);
        mAt = 0;
      }
      const size_t k = mAt++;
      const uint32_t found = mQualityEntries[k];
      if (found == 0 || --mQualityLeft[found] != 0) continue;  // no bin's read, or not its last record
      if (found == entry) return mQualities.WholeText(k, mQualityText);
      std::string scratch;
      mHeldQualities.emplace(found, std::string(mQualities.WholeText(k, scratch)));
    }
  }

  StreamExtraction& mTable;
  const std::string& mFastaName;
  std::string mQualityName;  // empty when there is none to read
  std::vector<uint32_t> mQualityLeft;
  GatheredOutputs& mOutputs;
  std::vector<size_t>& mFound;
  FastqFromQuality& mConvert;
  RecordStream mQualities;
  std::vector<uint32_t> mQualityEntries;  // of the quality records of the last block read
  size_t mAt = 0;                         // the next of them
  std::unordered_map<uint32_t, std::string> mHeldQualities;
  std::string mQualityText, mFastaScratch, mFastq;
};

bool StreamExtraction::CountQualityRecords(const std::string& qualityName, std::vector<uint32_t>& counts) {
  counts.assign(mEntries.size(), 0);
  RecordStream in;
  if (!in.Open(qualityName)) {
    std::cout << in.mError << std::endl;
    return false;
  }
  std::vector<uint32_t> entries;
  while (in.Next()) {
    Look(in.mNames, entries);
    for (uint32_t entry : entries) ++counts[entry];
  }
  if (!in.mError.empty()) std::cout << in.mError << std::endl;
  return in.mError.empty();
}

bool StreamExtraction::ExtractAsFastq(const std::string& fastaName, const std::string& qualityName,
                                      RunOutputs& outputs, std::vector<size_t>& found, FastqFromQuality& convert) {
  const bool binsRead = Begin(fastaName);
  found.assign(mBins.size(), 0);
  std::vector<uint32_t> qualityCounts;
  bool ok = !qualityName.empty() && CountQualityRecords(qualityName, qualityCounts);
  GatheredOutputs gathered(outputs, mBins.size());
  const int64_t raised = convert.mRaisedValues, lowered = convert.mLoweredValues;
  auto pass = std::make_unique<PairedPass>(*this, fastaName, qualityName, qualityCounts, gathered, found, convert);
  bool read = pass->Run(false);
  if (pass->mRepeated) {
    // A read came twice: its last record is the one written, in its place,
    // so the outputs are cut back and both files read again.
    found.assign(mBins.size(), 0);
    convert.mRaisedValues = raised;
    convert.mLoweredValues = lowered;
    pass = std::make_unique<PairedPass>(*this, fastaName, qualityName, qualityCounts, gathered, found, convert);
    read = gathered.CutBack() && pass->Run(true) && read;
  }
  std::cout << pass->mReports;
  ok = gathered.WriteGathered() && pass->mAllWritten && read && ok;
  ok = gathered.WriteSecondNames() && ok;
  for (size_t b = 0; b < mBins.size(); ++b) {
    std::cout << found[b] << " reads found ...";
    if (qualityName.empty() && found[b] > 0)
      std::cout << ShownFileName(fastaName) << " has no quality file: " << found[b] << " reads not written.\n";
    std::cout << "written." << std::endl;
  }
  return ok && binsRead;
}

}  // namespace ostrel
