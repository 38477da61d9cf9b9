// Extraction from inputs read whole (-S, and plain gzip inputs): the
// outputs and the report of names in no input are those of the indexed
// extraction from the same reads, whatever the compression and format.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "extractbins/Driver.h"
#include "extractbins/FastqExtract.h"
#include "extractbins/RunSettings.h"
#include "fastaindex/FastaIndex.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

enum class Format { kFastaWithQuality, kFastq };
enum class Packing { kPlain, kGzip, kBgzip };

// Reads r<first>.. of random lengths (from r0 on, one longer than the
// reader's blocks, so that records span blocks), multi-line; the read r<first + 3>
// comes again at the end, as an index maps a name to its last record.
struct ReadFiles {
  std::string mReads;    // FASTA or FASTQ
  std::string mQuality;  // FASTA's quality records
};

ReadFiles MakeReads(Format format, int first, int count, const std::string& lineEnd, unsigned seed) {
  std::mt19937 rng(seed);
  std::string pool;
  for (int i = 0; i < 4096; ++i) pool += "ACGT"[rng() % 4];
  ReadFiles files;
  auto add = [&](int number, size_t length) {
    std::string bases;
    while (bases.size() < length) bases += pool.substr(rng() % pool.size(), length - bases.size());
    const std::string name = "r" + std::to_string(number);
    if (format == Format::kFastq) {
      files.mReads += "@" + name + " run=1" + lineEnd;
      for (size_t at = 0; at < length; at += 70) files.mReads += bases.substr(at, 70) + lineEnd;
      files.mReads += "+" + lineEnd;
      // Quality lines that start with '@' or '+' now and then.
      for (size_t at = 0; at < length; at += 70) {
        std::string line = bases.substr(at, 70);
        line[0] = "@+#"[rng() % 3];
        files.mReads += line + lineEnd;
      }
      return;
    }
    files.mReads += ">" + name + " run=1" + lineEnd;
    files.mQuality += ">" + name + lineEnd;
    for (size_t at = 0; at < length; at += 60) {
      files.mReads += bases.substr(at, 60) + lineEnd;
      std::string values;
      for (size_t i = at; i < std::min(length, at + 60); ++i) values += i % 7 == 0 ? "8 " : "30 ";
      files.mQuality += values + lineEnd;
    }
    files.mReads += lineEnd;  // a blank line between records belongs to none
  };
  for (int k = 0; k < count; ++k) add(first + k, k == 7 && first == 0 ? (1u << 20) + 4000 : 1 + rng() % 900);
  add(first + 3, 50);
  return files;
}

void WritePacked(const std::string& path, const std::string& text, Packing packing) {
  if (packing == Packing::kPlain) {
    test::WriteFile(path, text);
  } else if (packing == Packing::kGzip) {
    test::WriteGzipFile(path, text);
  } else {
    ASSERT_TRUE(test::WriteBgzipFile(path, text, false));
  }
}

struct RunResult {
  bool mOk = false;
  std::string mStdout;
  std::string mStderr;
  std::vector<std::vector<size_t>> mFound;
};

RunResult Extract(const std::vector<std::string>& inputs, const std::vector<std::string>& bins,
            const std::string& outRoot, bool stream) {
  OptOutRoot = outRoot;
  OptStreamInputs = stream;
  RunResult run;
  test::CaptureStdout out;
  test::CaptureStderr err;
  run.mOk = ExtractBins(inputs, bins, run.mFound);
  run.mStdout = out.Text();
  run.mStderr = err.Text();
  OptOutRoot.clear();
  OptStreamInputs = false;
  return run;
}

TEST(StreamExtraction, OutputsAreTheIndexedOnes) {
  struct Case {
    Format format;
    Packing packing;
    bool streamOption;  // -S; without it only plain gzip inputs are streamed
  };
  const Case cases[] = {
      {Format::kFastaWithQuality, Packing::kPlain, true}, {Format::kFastaWithQuality, Packing::kGzip, true},
      {Format::kFastaWithQuality, Packing::kBgzip, true}, {Format::kFastq, Packing::kPlain, true},
      {Format::kFastq, Packing::kGzip, true},             {Format::kFastq, Packing::kBgzip, true},
      {Format::kFastq, Packing::kGzip, false},            {Format::kFastaWithQuality, Packing::kGzip, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.format)) + "/" + std::to_string(static_cast<int>(c.packing)) +
                 (c.streamOption ? " -S" : ""));
    test::TempDir dir;
    // Two inputs sharing reads r50..r59, the second with CR LF line ends
    // and no newline after its last line.
    const bool fastq = c.format == Format::kFastq;
    const std::string suffix = fastq ? ".fq" : ".fa";
    std::vector<std::string> plain, packed;
    for (int part = 0; part < 2; ++part) {
      ReadFiles files = MakeReads(c.format, part * 50, 60, part == 0 ? "\n" : "\r\n", 27 + part);
      if (part == 1) {
        files.mReads.resize(files.mReads.size() - 2);
        if (!fastq) files.mReads.resize(files.mReads.size() - 2);  // and its blank line
      }
      const std::string stem = dir.Path("reads" + std::to_string(part));
      test::WriteFile(stem + suffix, files.mReads);
      plain.push_back(stem + suffix);
      const std::string packedName = stem + "-packed" + suffix + (c.packing == Packing::kPlain ? "" : ".gz");
      // Without -S, the second input stays plain and is read through its index.
      WritePacked(packedName, files.mReads, c.streamOption || part == 0 ? c.packing : Packing::kPlain);
      packed.push_back(packedName);
      if (!fastq) {
        test::WriteFile(stem + ".qual", files.mQuality);
        plain.push_back(stem + ".qual");
        const std::string packedQual = stem + "-packed.qual" + (c.packing == Packing::kPlain ? "" : ".gz");
        WritePacked(packedQual, files.mQuality, c.streamOption || part == 0 ? c.packing : Packing::kPlain);
        packed.push_back(packedQual);
      }
    }
    for (const std::string& input : plain) ASSERT_TRUE(IndexFastaFile(input)) << input;
    if (!c.streamOption) {  // the second input's packed files are plain, read by index
      ASSERT_TRUE(IndexFastaFile(packed.back()));
      if (!fastq) {
        ASSERT_TRUE(IndexFastaFile(packed[packed.size() - 2]));
      }
    }
    // Names repeated in a bin, names in no input, names in both inputs, the
    // long read, the name the first input repeats, a bin found nowhere, and
    // binA named again another way (its records, over a megabyte, twice in
    // one output, one copy after the other).
    test::WriteFile(dir.Path("binA"), "r3\nr55\nmissing1\nr7\nr3\nr100\nr58\nmissing1\n>r1 pasted header\n");
    test::WriteFile(dir.Path("binB"), "r109\nr53\nr20\nr53\nr57\n");
    test::WriteFile(dir.Path("binC"), "nowhere\n");
    const std::vector<std::string> bins = {dir.Path("binA"), dir.Path("binB"), dir.Path("binC"), dir.Path("./binA")};
    const RunResult indexed = Extract(plain, bins, dir.Path("indexed/"), false);
    const RunResult streamed = Extract(packed, bins, dir.Path("streamed/"), c.streamOption);
    EXPECT_TRUE(indexed.mOk);
    EXPECT_TRUE(streamed.mOk);
    EXPECT_EQ(indexed.mFound, streamed.mFound);
    // The report names the bins by their paths, which both runs share.
    EXPECT_EQ(indexed.mStderr, streamed.mStderr);
    EXPECT_NE(std::string::npos, streamed.mStderr.find("missing1")) << streamed.mStderr;
    // The bins' paths, put after the -o text, make folders under it.
    size_t outputs = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path("indexed"))) {
      if (!entry.is_regular_file()) continue;
      const std::string name = fs::relative(entry.path(), dir.Path("indexed")).string();
      EXPECT_EQ(test::ReadFile(entry.path().string()), test::ReadFile(dir.Path("streamed/" + name))) << name;
      ++outputs;
    }
    EXPECT_EQ(fastq ? 2u : 4u, outputs);  // binC found nothing and made no output
    EXPECT_FALSE(fs::exists(dir.Path("streamed/") + dir.Path("binC") + "_out" + suffix));
  }
}

// The quality records of a FASTA file's reads, each ">name" and its lines.
std::vector<std::string> QualityRecords(const std::string& quality) {
  std::vector<std::string> records;
  for (size_t at = 0; at < quality.size();) {
    const size_t next = quality.find('>', at + 1);
    records.push_back(quality.substr(at, next - at));
    at = next == std::string::npos ? quality.size() : next;
  }
  return records;
}

// Lines of a transcript that `pattern` matches, its first group of each.
std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex expression(pattern);
  for (std::sregex_iterator it(text.begin(), text.end(), expression), end; it != end; ++it)
    found.push_back((*it)[1].str());
  return found;
}

// -Q over inputs read whole pairs each read with its quality record as the
// indexed -Q does: quality files in the reads' order or another, packed or
// not, with records missing, short, repeated or holding a value above 93
// (said once, though the FASTA file's repeated read r3 makes the files read
// twice); a read longer than the reader's blocks (r7) among the bins'.
TEST(StreamExtraction, FastqOutputsAreTheIndexedOnes) {
  enum class Shape { kSameOrder, kReversed, kFaults };
  struct Case {
    Shape shape;
    Packing fastaPacking, qualityPacking;
    bool streamOption;
  };
  const Case cases[] = {
      {Shape::kSameOrder, Packing::kPlain, Packing::kPlain, true},
      {Shape::kSameOrder, Packing::kGzip, Packing::kGzip, false},
      {Shape::kSameOrder, Packing::kBgzip, Packing::kBgzip, true},
      {Shape::kReversed, Packing::kPlain, Packing::kPlain, true},
      {Shape::kFaults, Packing::kGzip, Packing::kGzip, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.shape)) + "/" + std::to_string(static_cast<int>(c.fastaPacking)) +
                 "/" + std::to_string(static_cast<int>(c.qualityPacking)) + (c.streamOption ? " -S" : ""));
    test::TempDir dir;
    const ReadFiles files = MakeReads(Format::kFastaWithQuality, 0, 60, "\r\n", 41);
    std::vector<std::string> records = QualityRecords(files.mQuality);
    if (c.shape == Shape::kReversed) std::reverse(records.begin(), records.end() - 1);  // r3's last kept last
    if (c.shape == Shape::kFaults) {
      records[44].replace(records[44].find('\n') + 1, 1, "95");  // r44: its first value, 8, above 93
      records[21].erase(records[21].size() - 5, 3);      // r21: a value short
      records.insert(records.begin() + 5, records[30]);  // r30: twice, the last kept
      records[5].replace(records[5].find('\n') + 1, 2, "5 5 ");
      records.erase(records.begin() + 21);               // r20: none
    }
    std::string quality;
    for (const std::string& record : records) quality += record;
    test::WriteFile(dir.Path("reads.fa"), files.mReads);
    test::WriteFile(dir.Path("reads.qual"), quality);
    ASSERT_TRUE(IndexFastaFile(dir.Path("reads.fa")));
    ASSERT_TRUE(IndexFastaFile(dir.Path("reads.qual")));
    const auto packed = [&](const std::string& stem, Packing packing) {
      return dir.Path("packed/" + stem + (packing == Packing::kPlain ? "" : ".gz"));
    };
    fs::create_directory(dir.Path("packed"));
    WritePacked(packed("reads.fa", c.fastaPacking), files.mReads, c.fastaPacking);
    WritePacked(packed("reads.qual", c.qualityPacking), quality, c.qualityPacking);
    if (!c.streamOption && c.fastaPacking == Packing::kPlain) {
      ASSERT_TRUE(IndexFastaFile(packed("reads.fa", c.fastaPacking)));
    }
    test::WriteFile(dir.Path("binA"), "r3\nr55\nmissing1\nr7\nr20\nr30\nr21\nr3\n");
    test::WriteFile(dir.Path("binB"), "r59\nr21\nr0\nr44\nr45\nr46\n");
    const std::vector<std::string> bins = {dir.Path("binA"), dir.Path("binB")};
    const auto run = [&](const std::vector<std::string>& inputs, const std::string& outRoot, bool stream) {
      OptOutRoot = outRoot;
      OptStreamInputs = stream;
      RunResult result;
      test::CaptureStdout out;
      test::CaptureStderr err;
      result.mOk = ExtractBinsAsFastq(inputs, bins);
      result.mStdout = out.Text();
      result.mStderr = err.Text();
      OptOutRoot.clear();
      OptStreamInputs = false;
      return result;
    };
    const RunResult indexed = run({dir.Path("reads.fa"), dir.Path("reads.qual")}, dir.Path("indexed/"), false);
    const RunResult streamed = run({packed("reads.fa", c.fastaPacking), packed("reads.qual", c.qualityPacking)},
                                   dir.Path("streamed/"), c.streamOption);
    EXPECT_EQ(c.shape != Shape::kFaults, indexed.mOk);
    EXPECT_EQ(indexed.mOk, streamed.mOk);
    EXPECT_EQ(indexed.mStderr, streamed.mStderr);
    // Reads not written, once a read, the file they name left out.
    const std::string counts = "(\\d+) reads found", notWritten = "(r\\d+: [^\n]*) in [^\n]*read not written";
    EXPECT_EQ(Matches(indexed.mStdout, counts), Matches(streamed.mStdout, counts));
    const std::vector<std::string> reports = Matches(indexed.mStdout, notWritten);
    EXPECT_EQ(c.shape == Shape::kFaults ? 2u : 0u, std::set<std::string>(reports.begin(), reports.end()).size())
        << indexed.mStdout;
    const std::vector<std::string> streamedReports = Matches(streamed.mStdout, notWritten);
    EXPECT_EQ(std::set<std::string>(reports.begin(), reports.end()),
              std::set<std::string>(streamedReports.begin(), streamedReports.end()))
        << streamed.mStdout;
    for (const char* bin : {"binA", "binB"}) {
      const std::string output = dir.Path(bin) + "_out.fq";
      EXPECT_EQ(test::ReadFile(dir.Path("indexed/") + output), test::ReadFile(dir.Path("streamed/") + output)) << bin;
    }
    EXPECT_NE(std::string::npos, test::ReadFile(dir.Path("streamed/") + dir.Path("binA_out.fq")).find("@r7 run=1"));
  }
}

// An input that ends inside a record, a gzip file cut short or FASTQ text
// cut short, is reported; the records before the fault are written whole.
TEST(StreamExtraction, InputCutShortKeepsItsWholeRecords) {
  test::TempDir dir;
  const std::string text = MakeReads(Format::kFastq, 0, 60, "\n", 5).mReads;
  test::WriteFile(dir.Path("whole.fq"), text);
  test::WriteGzipFile(dir.Path("cut.fq.gz"), text, 0.5);
  test::WriteFile(dir.Path("short.fq"), text.substr(0, text.size() - 10));
  std::string names;
  for (int k = 0; k < 60; ++k) names += "r" + std::to_string(k) + "\n";
  test::WriteFile(dir.Path("bin"), names);
  const std::vector<std::string> bins = {dir.Path("bin")};
  ASSERT_TRUE(Extract({dir.Path("whole.fq")}, bins, dir.Path("whole/"), true).mOk);
  const std::string whole = test::ReadFile(dir.Path("whole/") + dir.Path("bin_out.fq"));
  for (const char* input : {"cut.fq.gz", "short.fq"}) {
    SCOPED_TRACE(input);
    const RunResult run = Extract({dir.Path(input)}, bins, dir.Path(std::string(input) + "/"), true);
    EXPECT_FALSE(run.mOk);
    EXPECT_NE(std::string::npos, run.mStdout.find("not read")) << run.mStdout;
    const std::string got = test::ReadFile(dir.Path(std::string(input) + "/") + dir.Path("bin_out.fq"));
    EXPECT_LT(got.size(), whole.size());
    EXPECT_EQ(whole.substr(0, got.size()), got);
    EXPECT_TRUE(got.empty() || whole[got.size()] == '@') << "a record written in part";
  }
}

}  // namespace
}  // namespace ostrel
