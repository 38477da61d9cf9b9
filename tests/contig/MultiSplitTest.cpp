// Tests of cutting one contig of an assembly at many regions: which pieces
// stay, where later regions land, and that every read and every per-read
// entry survives the cuts and a write and read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ContigBuilder.h"
#include "TestSupport.h"
#include "ace/AceFile.h"

namespace ostrel {
namespace {

using test::AddRead;
using test::CaptureStderr;
using test::CaptureStdout;
using test::Describe;
using test::ExpectReadEntriesInStep;
using test::MakeContig;
using Names = std::vector<std::string>;

// An assembly of the given contigs with its counts and quality copies set.
AceFile AssemblyOf(const std::vector<Contig>& contigs) {
  AceFile ace;
  for (const Contig& contig : contigs) {
    ace.push_back(contig);
    ace.mContigQuality.push_back(contig.mQuality);
    ace.mNumReads += static_cast<int>(contig.mReads.size());
  }
  ace.mNumContigs = static_cast<int>(ace.size());
  ace.mMinContigSize = 0;
  ace.CleanInitFromContigs();
  return ace;
}

// The lists and counts of the assembly agree with the contigs it holds.
void ExpectAssemblyInStep(const AceFile& ace) {
  EXPECT_EQ(ace.mContigQuality.size(), ace.size());
  EXPECT_EQ(ace.mNumContigs, static_cast<int>(ace.size()));
  size_t reads = 0;
  for (size_t c = 0; c < ace.size(); ++c) {
    SCOPED_TRACE(ace[c].mName);
    ExpectReadEntriesInStep(ace[c], true);
    reads += ace[c].mReads.size();
    for (const Sequence& read : ace[c].mReads) {
      const auto range = ace.mReadContigMap.equal_range(read.mName);
      ASSERT_EQ(std::distance(range.first, range.second), 1) << read.mName;
      EXPECT_EQ(range.first->second, static_cast<int>(c));
    }
  }
  EXPECT_EQ(ace.mReadContigMap.size(), reads);
  EXPECT_EQ(ace.mNumReads, static_cast<int>(reads));
}

Names NamesOf(const AceFile& ace) {
  Names names;
  for (const Contig& contig : ace) names.push_back(contig.mName);
  return names;
}

// Reads r1 .. r4, unmated, over 0-based 0..9, 20..29, 40..49 and 50..59 of
// a 60-column contig.
Contig FourReads() {
  Contig contig = MakeContig("C", std::string("ACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTACGTACGT"));
  contig.mQuality.mQualities.assign(60, 30);
  for (int r = 0; r < 4; ++r) {
    const int start = r < 3 ? 1 + 20 * r : 51;
    std::string bases(contig.mBases.begin() + start - 1, contig.mBases.begin() + start + 9);
    AddRead(contig, "r" + std::to_string(r + 1), bases, start);
    contig.mReadQuality.emplace_back();
    contig.mReadQuality.back().mQualities.assign(10, 25);
    contig.mReadTrimStart.push_back(0);
    contig.mReadTrimEnd.push_back(9);
    contig.mQALines.push_back("QA 1 10 1 10");
    contig.mReadRecords.push_back({0, r % 3, r % 2 == 0});
  }
  return contig;
}

TEST(MultiSplit, PiecesKeptDroppedAndRemoved) {
  struct Case {
    const char* what;
    int minSize;
    int contigIdx;
    std::vector<int> starts, ends;
    Names contigs;       // in assembly order
    Names removed;       // sorted
    const char* output;  // a line standard output must hold
    const char* absent;  // and text it must not ("" for none)
  };
  const std::vector<Case> cases = {
      // The second region, given in C's coordinates, is moved into CR's
      // (less the 21 its first read started at). CRL is then too short (20
      // columns): it was appended by the first cut, and is removed all the
      // same.
      {"region in an appended piece", 21, 0, {12, 44}, {15, 46}, {"CL"}, {"r2", "r3", "r4"},
       "\tCR\tSplitContig: 23\t25\t1\t1\t1", ""},
      {"every piece with a consensus kept", 0, 0, {12, 44}, {15, 46}, {"CL", "CRL", "CRM", "CRR"}, {},
       "\tAdd C2 CRR", ""},
      // No reads right of or inside the region: no piece to add; the
      // second region lies before every contig and is skipped.
      {"regions beyond the contig", 0, 0, {1000, -50}, {2000, -60}, {"CL"}, {},
       "\tC\tSplitContig: 1000\t2000\t4\t0\t0", "\tAdd"},
      // Reversed bounds sort r1 (it covers b) into the middle and the rest
      // right; C keeps r1's first column only, too short to stay.
      {"reversed region", 2, 0, {30}, {5}, {"CM", "CR"}, {}, "\tDeleting CL...done.", ""},
      // Bounds at the int limits: every read lies right of b; the second
      // region fits no contig.
      {"bounds at the int limits", 0, 0, {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, {"CL", "CR"}, {},
       "\tC\tSplitContig: 2147483647\t-2147483648\t0\t0\t4", "\tCR\tSplitContig"},
      {"contig that does not exist", 0, 5, {12}, {15}, {"C"}, {}, "", "SplitContig"},
      {"no end for the region", 0, 0, {12}, {}, {"C"}, {}, "", "SplitContig"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AceFile ace = AssemblyOf({FourReads()});
    std::vector<int> starts = c.starts, ends = c.ends;
    Names removed;
    CaptureStdout out;
    ace.MultiSplitContig(c.minSize, c.contigIdx, starts, ends, &removed);
    const std::string text = out.Text();
    EXPECT_EQ(NamesOf(ace), c.contigs);
    std::sort(removed.begin(), removed.end());
    EXPECT_EQ(removed, c.removed);
    EXPECT_NE(text.find(c.output), std::string::npos) << text;
    if (*c.absent != '\0') {
      EXPECT_EQ(text.find(c.absent), std::string::npos) << text;
    }
    ExpectAssemblyInStep(ace);
  }
}

// A contig of reads copied from its consensus with a few changes, mated in
// pairs (some facing each other, some not), with every entry filled.
Contig CopiedReadsContig(std::mt19937& rng, const std::string& prefix) {
  auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const int length = 40 + below(160);
  std::string consensus;
  for (int p = 0; p < length; ++p) consensus.push_back(below(15) == 0 ? '*' : "ACGT"[below(4)]);
  Contig contig = MakeContig(prefix + "Contig", consensus);
  for (char c : consensus) contig.mQuality.mQualities.push_back(c == '*' ? 0 : 30 + below(30));
  const int reads = 2 + below(30);
  for (int r = 0; r < reads; ++r) {
    const int readLength = 1 + below(40);
    const int start = below(length + 10) - 5;
    std::string bases;
    for (int k = 0; k < readLength; ++k) {
      const int p = start - 1 + k;
      bases.push_back(p >= 0 && p < length && below(20) != 0 ? consensus[p] : "ACGT*"[below(5)]);
    }
    const char strand = r % 2 == 0 ? 'U' : 'C';
    AddRead(contig, prefix + std::to_string(r), bases, start, strand,
            Describe(prefix + "t" + std::to_string(r / 2), (r % 2 == 0) == (below(4) != 0) ? "fwd" : "rev"));
    contig.mReadQuality.emplace_back();
    for (int k = 0; k < readLength; ++k) contig.mReadQuality.back().mQualities.push_back(below(60));
    contig.mReadTrimStart.push_back(0);
    contig.mReadTrimEnd.push_back(readLength - 1);
    contig.mQALines.push_back("QA 1 " + std::to_string(readLength) + " 1 " + std::to_string(readLength));
    contig.mReadRecords.emplace_back();
  }
  contig.mPaddedBases = length;
  contig.mNumReads = reads;
  contig.RebuildTemplateInfo();
  contig.GetTemplateInfo(contig.mTemplates);
  return contig;
}

struct ReadCopy {
  std::string bases;
  char strand;
  std::vector<int> quality;
};

TEST(MultiSplit, ConservesReadsAndWritesBack) {
  std::mt19937 rng(20261209);
  auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 150; ++round) {
    SCOPED_TRACE(round);
    AceFile ace = AssemblyOf({CopiedReadsContig(rng, "a"), CopiedReadsContig(rng, "b")});
    std::map<std::string, ReadCopy> input;
    for (const Contig& contig : ace)
      for (size_t i = 0; i < contig.mReads.size(); ++i)
        input[contig.mReads[i].mName] = {test::BasesOf(contig.mReads[i]), contig.mComplemented[i],
                                         contig.mReadQuality[i].mQualities};

    // Regions anywhere around the contig, some reversed or overlapping;
    // contig 2 does not exist.
    const int k = below(3);
    const int length = k < 2 ? static_cast<int>(ace[k].mBases.size()) : 100;
    std::vector<int> starts, ends;
    for (int p = below(7); p > 0; --p) {
      starts.push_back(below(length + 20) - 10);
      ends.push_back(below(4) == 0 ? starts.back() - below(10) : starts.back() + below(30));
    }
    Names removed;
    {
      CaptureStdout quiet;
      CaptureStderr quietErrors;
      ace.MultiSplitContig(below(60), k, starts, ends, &removed);
    }
    ExpectAssemblyInStep(ace);

    std::map<std::string, int> seen;
    for (const std::string& name : removed) ++seen[name];
    for (const Contig& contig : ace) {
      EXPECT_FALSE(contig.mBases.empty()) << contig.mName;
      for (size_t i = 0; i < contig.mReads.size(); ++i) {
        const std::string& name = contig.mReads[i].mName;
        ++seen[name];
        const auto found = input.find(name);
        ASSERT_NE(found, input.end()) << name;
        EXPECT_EQ(test::BasesOf(contig.mReads[i]), found->second.bases) << name;
        EXPECT_EQ(contig.mComplemented[i], found->second.strand) << name;
        EXPECT_EQ(contig.mReadQuality[i].mQualities, found->second.quality) << name;
      }
    }
    for (const auto& [name, read] : input) EXPECT_EQ(seen[name], 1) << name;
    EXPECT_EQ(seen.size(), input.size());

    // A contig the cuts left without reads is not written.
    ace.erase(std::remove_if(ace.begin(), ace.end(), [](const Contig& c) { return c.mReads.empty(); }), ace.end());
    std::ostringstream written;
    ASSERT_TRUE(ace.WriteAce(written));
    AceFile back;
    std::string messages;
    {
      CaptureStdout out;
      CaptureStderr err;
      std::istringstream in(written.str());
      back.Read(in);
      messages = out.Text() + err.Text();
    }
    EXPECT_EQ(messages.find("INCONSISTENT"), std::string::npos) << messages << written.str();
    EXPECT_TRUE(back.mValid);
    EXPECT_EQ(back.mNumContigs, static_cast<int>(ace.size()));
    EXPECT_EQ(back.mNumReads, ace.mNumReads);
    ASSERT_EQ(NamesOf(back), NamesOf(ace));
    for (size_t c = 0; c < ace.size(); ++c) {
      EXPECT_EQ(back[c].mBases, ace[c].mBases);
      EXPECT_EQ(back[c].mNumReads, static_cast<int>(ace[c].mReads.size()));
      EXPECT_EQ(back[c].mNumBaseSeqs, static_cast<int>(ace[c].mBaseSegments.size()));
      ASSERT_EQ(back[c].mReads.size(), ace[c].mReads.size());
      for (size_t i = 0; i < ace[c].mReads.size(); ++i) {
        EXPECT_EQ(back[c].mReads[i].mName, ace[c].mReads[i].mName);
        EXPECT_EQ(back[c].mReads[i].mBases, ace[c].mReads[i].mBases);
        EXPECT_EQ(back[c].mAlignStart[i], ace[c].mAlignStart[i]);
        EXPECT_EQ(back[c].mComplemented[i], ace[c].mComplemented[i]);
      }
    }
  }
}

}  // namespace
}  // namespace ostrel
