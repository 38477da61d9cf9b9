// The streaming extraction: one pass over an input's records, each copied
// to the bins that name it.
#include "extractbins/StreamExtraction.h"

#include <iostream>

#include "extractbins/BinExtract.h"
#include "extractbins/BinNames.h"
#include "extractbins/GatheredOutputs.h"
#include "seq/RecordStream.h"
#include "util/StringUtil.h"

namespace ostrel {

// One reading of one input.
class StreamExtraction::Pass {
public:
  Pass(StreamExtraction& table, const std::string& inputName, GatheredOutputs& outputs,
       std::vector<size_t>& found)
      : mTable(table), mInputName(inputName), mOutputs(outputs), mFound(found) {}

  // Reads the input whole, with `lastOnly` as Takes says. False when the
  // input could not be read whole.
  bool Run(bool lastOnly) {
    RecordStream in;
    if (!in.Open(mInputName)) {
      std::cout << in.mError << std::endl;
      return false;
    }
    while (in.Next()) {
      mTable.Look(in.mNames, mEntries);
      for (size_t k = 0; k < in.Count(); ++k)
        if (mEntries[k] != 0 && mTable.Takes(mEntries[k], lastOnly, mRepeated)) TakeRecord(in, k);
    }
    if (!in.mError.empty()) std::cout << in.mError << std::endl;
    return in.mError.empty();
  }

  bool mRepeated = false;  // some read that a bin names came twice or more

private:
  void TakeRecord(const RecordStream& in, size_t k) {
    if (!mOutputs.Named()) {
      std::vector<std::string> names;
      for (const std::string& bin : mTable.mBins) names.push_back(OutputName(bin, mInputName, in.IsFastq()));
      mOutputs.Name(std::move(names));
    }
    std::string_view kept;
    std::string_view block;
    in.Text(k, kept, block);
    mTable.ForEachTarget(mEntries[k], [&](uint32_t bin) {
      mOutputs.Append(bin, kept, block);
      ++mFound[bin];
    });
  }

  StreamExtraction& mTable;
  const std::string& mInputName;
  GatheredOutputs& mOutputs;
  std::vector<size_t>& mFound;
  std::vector<uint32_t> mEntries;  // of a block's records
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
  mEntries.assign(counts.size(), Entry());
  uint32_t more = 0;
  for (size_t id = 1; id < counts.size(); ++id) {
    mEntries[id].mMoreTargets = more;
    more += counts[id] - 1;
    mEntries[id].mTargetsEnd = more;
  }
  mTargets.resize(more);
  std::vector<uint32_t> placed(counts.size(), 0);
  for (size_t b = 0; b < mBins.size(); ++b) {
    for (uint32_t id : mBinNameIds[b]) {
      Entry& entry = mEntries[id];
      if (placed[id]++ == 0)
        entry.mFirstBin = static_cast<uint32_t>(b);
      else
        mTargets[entry.mMoreTargets + placed[id] - 2] = static_cast<uint32_t>(b);
    }
  }
  mHeld.assign(counts.size(), false);
  return mBinsRead;
}

bool StreamExtraction::Begin(const std::string& inputName) {
  const bool binsRead = mLoaded ? true : LoadBins();
  std::cout << "Stream " << ShownFileName(inputName) << "...\t" << std::flush;
  for (Entry& entry : mEntries) entry.mSeen = 0;
  return binsRead;
}

void StreamExtraction::Look(const std::vector<std::string>& names, std::vector<uint32_t>& entries) {
  mIds.FindMany(names, mLookups);
  entries.resize(names.size());
  for (size_t k = 0; k < names.size(); ++k) {
    entries[k] = mLookups[k] == nullptr ? 0 : static_cast<uint32_t>(*mLookups[k]);
    if (entries[k] != 0) __builtin_prefetch(&mEntries[entries[k]]);
  }
}

bool StreamExtraction::Takes(uint32_t entry, bool lastOnly, bool& repeated) {
  mHeld[entry] = true;
  uint32_t& seen = mEntries[entry].mSeen;
  if (lastOnly) return --seen == 0;
  if (++seen > 1) repeated = true;
  return true;
}

void StreamExtraction::PrintFound(const std::vector<size_t>& found) const {
  for (size_t b = 0; b < mBins.size(); ++b) std::cout << found[b] << " reads found ...written." << std::endl;
}

bool StreamExtraction::Extract(const std::string& inputName, RunOutputs& outputs, std::vector<size_t>& found) {
  const bool binsRead = Begin(inputName);
  found.assign(mBins.size(), 0);
  GatheredOutputs gathered(outputs, mBins.size());
  bool ok = true;
  {
    Pass pass(*this, inputName, gathered, found);
    ok = pass.Run(false);
    if (pass.mRepeated) {
      // The outputs took every record of a repeated name: they are cut back
      // and the input read again for the last records alone.
      found.assign(mBins.size(), 0);
      ok = gathered.CutBack() && Pass(*this, inputName, gathered, found).Run(true) && ok;
    }
  }
  ok = gathered.WriteGathered() && ok;
  ok = gathered.WriteSecondNames() && ok;
  PrintFound(found);
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
