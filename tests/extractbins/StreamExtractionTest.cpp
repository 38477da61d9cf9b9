// Extraction from inputs read whole (-S, and plain gzip inputs): the
// outputs and the report of names in no input are those of the indexed
// extraction from the same reads, whatever the compression and format.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "extractbins/Driver.h"
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
