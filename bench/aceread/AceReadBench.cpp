// Reading and writing a large synthetic assembly: AceFile::Read
// (post-processing included) and `ostrel-ace stats` with its quality file,
// against `wc -l` on the same files; AceFile::WriteAce against the read and
// against `cp` of the file; peak memory of `ostrel-ace write` and `stats`.
//
//   aceread-bench make FILE.ace FILE.qual CONTIGS    writes the synthetic data
//   aceread-bench read FILE.ace [OUT.ace]            times AceFile::Read (and WriteAce)
//   aceread-bench readall FILE.ace FILE.qual         reads both whole, as stats -q did
//   aceread-bench model FILE.ace FILE.qual           the largest contig's model, read
//                                                    contig by contig
//   aceread-bench compare FILE.ace FILE.qual ACETOOL times them all
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "ace/AceContigReader.h"
#include "ace/AceFile.h"
#include "util/FileUtil.h"

namespace {

constexpr int kColumns = 5000;        // padded consensus columns per contig
constexpr int kReadsPerContig = 80;   // about 8x coverage
constexpr int kReadLength = 500;      // padded read characters
constexpr int kPadPercent = 3;

// A small deterministic generator: the data is the same on every machine.
struct Lcg {
  uint64_t mState = 88172645463325252ull;
  uint32_t Next() {
    mState = mState * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(mState >> 33);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
};

void WriteWrapped(std::ostream& out, const std::string& text) {
  for (size_t i = 0; i < text.size(); i += 60) out << text.substr(i, 60) << '\n';
}

void MakeData(const std::string& aceName, const std::string& qualName, int contigs) {
  std::ofstream ace(aceName), qual(qualName);
  Lcg rng;
  ace << "AS " << contigs << ' ' << contigs * kReadsPerContig << "\n\n";
  for (int c = 0; c < contigs; ++c) {
    std::string consensus(kColumns, 'A');
    for (char& base : consensus) base = rng.Below(100) < kPadPercent ? '*' : "ACGT"[rng.Below(4)];
    consensus.back() = 'A';  // every column then has its "BQ" value
    ace << "CO Contig" << c + 1 << ' ' << kColumns << ' ' << kReadsPerContig << " 1 U\n";
    WriteWrapped(ace, consensus);
    ace << "\nBQ\n";
    int onLine = 0;
    for (char base : consensus)
      if (base != '*') ace << 20 + rng.Below(70) << (++onLine % 50 == 0 ? "\n" : " ");
    ace << "\n\n";
    int starts[kReadsPerContig];
    bool complemented[kReadsPerContig];
    for (int r = 0; r < kReadsPerContig; ++r) {
      starts[r] = rng.Below(kColumns - kReadLength + 100) - 50;
      complemented[r] = rng.Below(2) == 1;
      ace << "AF Contig" << c + 1 << ".r" << r << (complemented[r] ? " C " : " U ") << starts[r] << '\n';
    }
    ace << "BS 1 " << kColumns << " Contig" << c + 1 << ".r0\n\n";
    for (int r = 0; r < kReadsPerContig; ++r) {
      std::string read(kReadLength, 'A');
      int bases = 0;
      for (int k = 0; k < kReadLength; ++k) {
        const int column = starts[r] - 1 + k;
        read[k] = column >= 0 && column < kColumns ? consensus[column] : "ACGT"[rng.Below(4)];
        if (read[k] != '*') ++bases;
      }
      const std::string name = "Contig" + std::to_string(c + 1) + ".r" + std::to_string(r);
      ace << "RD " << name << ' ' << kReadLength << " 0 0\n";
      WriteWrapped(ace, read);
      ace << "\nQA 1 " << kReadLength << " 1 " << kReadLength << "\nDS CHROMAT_FILE: " << name
          << " TEMPLATE: t" << c << '_' << r / 2 << " DIRECTION: " << (r % 2 ? "rev" : "fwd") << "\n\n";
      qual << '>' << name << '\n';
      for (int k = 0; k < bases; ++k) qual << 10 + rng.Below(50) << (k % 50 == 49 ? "\n" : " ");
      qual << '\n';
    }
  }
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Runs a shell command, returning its wall time in seconds.
double TimeCommand(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) std::cerr << "failed: " << command << '\n';
  return Seconds(start);
}

// Peak resident memory of the children run so far, in MB.
double ChildrenPeakMB() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_maxrss / 1024.0;
}

// Runs a shell command; its wall time in seconds and its own peak resident
// memory in MB.
double TimeCommandPeak(const std::string& command, double& peakMB) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::cerr << "failed: " << command << '\n';
  peakMB = usage.ru_maxrss / 1024.0;
  return Seconds(start);
}

double SelfPeakMB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// Writes are timed from the same start: the output file gone and every
// dirty page of earlier writes on disk, so that none is held up by the
// write-back of another. The best of a few rounds counts.
constexpr int kWriteRounds = 3;

void StartWriteAfresh(const std::string& outName) {
  std::remove(outName.c_str());
  sync();
}

void Read(const std::string& aceName, const std::string& outName) {
  ostrel::AceFile ace;
  ace.mMinContigSize = 500;
  auto start = std::chrono::steady_clock::now();
  ace.Read(aceName);
  const double seconds = Seconds(start);
  std::cout << "AceFile::Read: " << seconds << " s, " << ace.size() << " contigs, N50 " << ace.mN50
            << ", peak memory " << SelfPeakMB() << " MB\n";
  if (outName.empty()) return;
  double best = 1e9;
  for (int round = 0; round < kWriteRounds; ++round) {
    StartWriteAfresh(outName);
    start = std::chrono::steady_clock::now();
    if (!ace.WriteAce(outName)) std::cerr << "write failed\n";
    best = std::min(best, Seconds(start));
  }
  std::cout << "AceFile::WriteAce: " << best << " s\n";
}

void ReadAll(const std::string& aceName, const std::string& qualName) {
  ostrel::AceFile ace;
  ace.ReadAll(aceName, qualName);
  ace.ComputeAllContigStats();
  std::cout << "AceFile::ReadAll: " << ace.size() << " contigs, peak memory " << SelfPeakMB() << " MB\n";
}

// The bytes a contig's model holds: its buffers at their capacities, the
// names, and 64 bytes for each entry of its read-name map.
size_t ModelBytes(const ostrel::Contig& contig) {
  size_t bytes = sizeof(ostrel::Contig) + contig.mBases.capacity() + contig.mName.capacity() +
                 contig.mQuality.mQualities.capacity() * sizeof(int) + contig.mReadIdxMap.size() * 64 +
                 contig.mAlignStart.capacity() * sizeof(int) + contig.mComplemented.capacity() +
                 (contig.mReadTrimStart.capacity() + contig.mReadTrimEnd.capacity()) * sizeof(int) +
                 contig.mTemplates.capacity() * sizeof(ostrel::TemplateInfo) +
                 contig.mBaseSegments.capacity() * sizeof(ostrel::BaseSegment);
  for (const ostrel::Sequence& read : contig.mReads)
    bytes += sizeof read + read.mBases.capacity() + read.mName.capacity() + read.mDescription.capacity();
  for (const ostrel::SequenceQuality& quality : contig.mReadQuality)
    bytes += sizeof quality + quality.mQualities.capacity() * sizeof(int) + quality.mName.capacity() +
             quality.mDescription.capacity();
  for (const std::string& line : contig.mQALines) bytes += sizeof line + line.capacity();
  return bytes;
}

void LargestModel(const std::string& aceName, const std::string& qualName) {
  ostrel::AceFile ace;
  ostrel::AceContigReader reader(ace);
  ostrel::QualityRecordFile qualities;
  if (!qualities.Open(qualName) || !reader.Open(aceName, &qualities)) return;
  size_t largest = 0;
  while (reader.Next())
    largest = std::max(largest, ModelBytes(ace[0]) + ace.mContigQuality[0].mQualities.capacity() * sizeof(int));
  std::cout << "Largest contig model: " << largest / 1e6 << " MB\n";
}

void Compare(const std::string& aceName, const std::string& qualName, const std::string& aceTool,
             const std::string& self) {
  const double aceMB = ostrel::FileSize(aceName) / 1e6;
  const double qualMB = ostrel::FileSize(qualName) / 1e6;
  TimeCommand("cat '" + aceName + "' '" + qualName + "' > /dev/null");  // warm the page cache
  const double wcAce = TimeCommand("wc -l '" + aceName + "' > /dev/null");
  const double wcBoth = TimeCommand("wc -l '" + aceName + "' '" + qualName + "' > /dev/null");

  // The child reports the time of the calls themselves; the whole process
  // adds its start and the release of the assembly's memory at exit.
  const std::string outName = aceName + ".written.ace";
  const auto start = std::chrono::steady_clock::now();
  double inProcess = 0, writing = 0;
  if (FILE* child = popen(("'" + self + "' read '" + aceName + "' '" + outName + "'").c_str(), "r")) {
    if (std::fscanf(child, "AceFile::Read: %lf %*[^\n] AceFile::WriteAce: %lf", &inProcess, &writing) != 2)
      std::cerr << "read failed\n";
    while (std::fgetc(child) != EOF) {
    }
    pclose(child);
  }
  const double read = Seconds(start);
  const double readPeak = ChildrenPeakMB();
  double cp = 1e9;
  for (int round = 0; round < kWriteRounds; ++round) {
    StartWriteAfresh(outName);
    cp = std::min(cp, TimeCommand("cp '" + aceName + "' '" + outName + "'"));
  }
  double statsPeak = 0, writePeak = 0;
  const double stats =
      TimeCommandPeak("'" + aceTool + "' stats -q '" + qualName + "' '" + aceName + "' > /dev/null 2>&1", statsPeak);
  TimeCommandPeak("'" + aceTool + "' write -q '" + qualName + "' '" + aceName + "' '" + outName + "' 2>/dev/null",
                  writePeak);
  std::remove(outName.c_str());

  std::printf("ACE file %.0f MB, quality file %.0f MB\n", aceMB, qualMB);
  std::printf("wc -l ACE: %.3f s; wc -l both: %.3f s; cp ACE: %.3f s\n", wcAce, wcBoth, cp);
  std::printf("AceFile::Read: %.3f s = %.1fx wc -l (target <= 10x); whole process %.3f s = %.1fx;"
              " peak %.0f MB = %.2fx file (target <= 7x)\n",
              inProcess, inProcess / wcAce, read, read / wcAce, readPeak, readPeak / aceMB);
  std::printf("AceFile::WriteAce: %.3f s = %.2fx the read (target <= 1x) = %.1fx cp (target <= 5x)\n", writing,
              writing / inProcess, writing / cp);
  std::printf("ostrel-ace stats -q: %.3f s = %.1fx wc -l of both (target <= 15x); peak %.0f MB\n", stats,
              stats / wcBoth, statsPeak);
  std::printf("ostrel-ace write -q: peak %.0f MB = %.2fx stats (target <= 1.10x)\n", writePeak,
              writePeak / statsPeak);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "make" && argc == 5) {
    MakeData(argv[2], argv[3], std::atoi(argv[4]));
  } else if (mode == "read" && (argc == 3 || argc == 4)) {
    Read(argv[2], argc == 4 ? argv[3] : "");
  } else if (mode == "readall" && argc == 4) {
    ReadAll(argv[2], argv[3]);
  } else if (mode == "model" && argc == 4) {
    LargestModel(argv[2], argv[3]);
  } else if (mode == "compare" && argc == 5) {
    Compare(argv[2], argv[3], argv[4], argv[0]);
  } else {
    std::cerr << "usage: aceread-bench make FILE.ace FILE.qual CONTIGS | read FILE.ace [OUT.ace] |"
                 " readall FILE.ace FILE.qual | model FILE.ace FILE.qual | compare FILE.ace FILE.qual ACETOOL\n";
    return 1;
  }
  return 0;
}
