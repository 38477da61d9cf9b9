// Small contigs and assemblies built in memory for the assembly tests.
#ifndef OSTREL_TESTS_CONTIGBUILDER_H
#define OSTREL_TESTS_CONTIGBUILDER_H

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "ace/Contig.h"

namespace ostrel::test {

inline Contig MakeContig(const std::string& name, const std::string& consensus) {
  Contig contig;
  contig.mName = name;
  contig.mBases.assign(consensus.begin(), consensus.end());
  return contig;
}

// Places a read as the reader does: bases as aligned, 1-based start, strand
// 'U' or 'C', and its description. Returns the read's index.
inline int AddRead(Contig& contig, const std::string& name, const std::string& bases, int start,
                   char strand = 'U', const std::string& description = "") {
  Sequence read;
  read.mName = name;
  read.mBases.assign(bases.begin(), bases.end());
  read.mDescription = description;
  contig.mReads.push_back(read);
  contig.mAlignStart.push_back(start);
  contig.mComplemented.push_back(strand);
  return static_cast<int>(contig.mReads.size()) - 1;
}

// A description in the form an assembler writes on a read's "DS" line.
inline std::string Describe(const std::string& templ, const std::string& direction) {
  return "CHROMAT_FILE: x.ab1 TEMPLATE: " + templ + " DIRECTION: " + direction;
}


// Checks that the per-read entries agree with the reads: a start and a
// strand per read; quality, trim and QA lists no longer than the reads
// (all of them exactly as long when `everyEntry`), each quality list as
// long as its read; mReadIdxMap naming each read's (last) index; every
// template entry pointing at a read mapped to that template, once.
inline void ExpectReadEntriesInStep(const Contig& contig, bool everyEntry) {
  const size_t n = contig.mReads.size();
  EXPECT_EQ(contig.mAlignStart.size(), n);
  EXPECT_EQ(contig.mComplemented.size(), n);
  for (size_t optional : {contig.mReadQuality.size(), contig.mReadTrimStart.size(),
                          contig.mReadTrimEnd.size(), contig.mQALines.size(), contig.mReadRecords.size()}) {
    if (everyEntry) {
      EXPECT_EQ(optional, n);
    } else {
      EXPECT_LE(optional, n);
    }
  }
  EXPECT_EQ(contig.mReadTrimStart.size(), contig.mReadTrimEnd.size());
  for (size_t i = 0; i < contig.mReadQuality.size() && i < n; ++i)
    EXPECT_EQ(contig.mReadQuality[i].mQualities.size(), contig.mReads[i].mBases.size()) << i;

  String2IntMap last;
  for (size_t i = 0; i < n; ++i) last[contig.mReads[i].mName] = static_cast<int>(i);
  EXPECT_EQ(contig.mReadIdxMap, last);

  for (const auto& [templ, index] : contig.mTemplateReads) {
    ASSERT_TRUE(index >= 0 && static_cast<size_t>(index) < n) << templ;
    const auto mapped = contig.mReadTemplate.find(contig.mReads[index].mName);
    ASSERT_NE(mapped, contig.mReadTemplate.end()) << contig.mReads[index].mName;
    EXPECT_EQ(mapped->second, templ);
  }
  EXPECT_EQ(contig.mTemplateReads.size(), contig.mReadTemplate.size());
  for (const auto& entry : contig.mReadDirection)
    EXPECT_TRUE(entry.first >= 0 && static_cast<size_t>(entry.first) < n) << entry.first;
}

// A contig of random shape with every per-read entry filled: a consensus
// of up to 40 columns whose quality list may stop short of trailing
// columns, up to 8 reads (unique names, `prefix` + number) starting up to
// 5 columns beyond either end, with qualities, trims (or -1 -1), QA lines,
// templates shared in pairs, contig trims and BAC figures.
inline Contig RandomContig(std::mt19937& rng, const std::string& prefix = "r") {
  auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const char kChars[] = "ACGT*acgNX";
  Contig contig;
  contig.mName = prefix + "Contig";
  const int length = below(41);
  for (int p = 0; p < length; ++p) contig.mBases.push_back(kChars[below(10)]);
  contig.mQuality.mQualities.resize(static_cast<size_t>(std::max(0, length - below(4))));
  for (int& q : contig.mQuality.mQualities) q = below(91);
  auto rangeIn = [&](int size, int& first, int& last) {
    if (size == 0 || below(4) == 0) {
      first = last = -1;
      return;
    }
    first = below(size);
    last = first + below(size - first);
  };
  const int reads = below(9);
  for (int r = 0; r < reads; ++r) {
    const int readLength = 1 + below(12);
    std::string bases;
    for (int k = 0; k < readLength; ++k) bases.push_back(kChars[below(6)]);
    const std::string description = Describe(prefix + "t" + std::to_string(r / 2), below(2) ? "fwd" : "rev");
    AddRead(contig, prefix + std::to_string(r), bases, below(length + 11) - 5 + 1, below(2) ? 'U' : 'C',
            description);
    SequenceQuality quality;
    for (int k = 0; k < readLength; ++k) quality.mQualities.push_back(below(60));
    contig.mReadQuality.push_back(quality);
    int first, last;
    rangeIn(readLength, first, last);
    contig.mReadTrimStart.push_back(first);
    contig.mReadTrimEnd.push_back(last);
    int a, b;
    rangeIn(readLength, a, b);
    contig.mQALines.push_back("QA " + std::to_string(first + 1) + " " + std::to_string(last + 1) + " " +
                              std::to_string(a < 0 ? 1 : a + 1) + " " + std::to_string(b < 0 ? readLength : b + 1));
    contig.mReadRecords.push_back({below(3), below(5), below(2) == 1});
  }
  rangeIn(length, contig.mTrimStart, contig.mTrimEnd);
  rangeIn(length, contig.mBACTrimStart, contig.mBACTrimEnd);
  rangeIn(length, contig.mBACReadStart, contig.mBACReadEnd);
  contig.mPaddedBases = length;
  contig.mNumReads = reads;
  contig.RebuildTemplateInfo();
  return contig;
}

}  // namespace ostrel::test

#endif
