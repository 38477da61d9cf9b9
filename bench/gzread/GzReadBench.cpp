// Reading speed of a large gzip-compressed text file, line by line through
// igzstream, against zcat on the same file.
//
//   gzread-bench make FILE MB   writes random FASTA text, gzip-compressed,
//                               until the file holds MB megabytes
//   gzread-bench read FILE      times zcat and igzstream on FILE
#include <sys/resource.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

#include "ostrel.h"

namespace {

struct Times {
  double mWall = 0;  // seconds
  double mCpu = 0;   // user + system seconds
};

double CpuSeconds(int who) {
  rusage usage;
  getrusage(who, &usage);
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
         usage.ru_stime.tv_usec * 1e-6;
}

template <typename Work>
Times Measure(int who, Work work) {
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = CpuSeconds(who);
  work();
  Times t;
  t.mCpu = CpuSeconds(who) - cpuStart;
  t.mWall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return t;
}

int MakeFile(const std::string& name, long megabytes) {
  gzFile out = gzopen(name.c_str(), "wb");
  if (out == nullptr) return 1;
  std::mt19937 generator(42);
  const char bases[] = "ACGT";
  std::string chunk;
  long read = 0;
  while (gzoffset(out) < megabytes * 1000000L) {
    chunk.clear();
    for (int r = 0; r < 1000; ++r, ++read) {
      chunk += ">read" + std::to_string(read) + " chem=term\n";
      for (int line = 0; line < 10; ++line) {
        for (int i = 0; i < 60; ++i) chunk += bases[generator() & 3];
        chunk += '\n';
      }
    }
    gzwrite(out, chunk.data(), static_cast<unsigned>(chunk.size()));
  }
  gzclose(out);
  return 0;
}

int ReadFile(const std::string& name) {
  const std::string zcat = "zcat '" + name + "' > /dev/null";
  const Times zcatTimes = Measure(RUSAGE_CHILDREN, [&] {
    if (std::system(zcat.c_str()) != 0) std::cerr << "zcat failed\n";
  });

  long lines = 0, bytes = 0;
  const Times getLineTimes = Measure(RUSAGE_SELF, [&] {
    ostrel::igzstream in(name);
    std::string line;
    while (ostrel::GetLine(in, line)) {
      ++lines;
      bytes += static_cast<long>(line.size()) + 1;
    }
  });
  long stdLines = 0;
  const Times stdTimes = Measure(RUSAGE_SELF, [&] {
    ostrel::igzstream in(name);
    std::string line;
    while (std::getline(in, line)) ++stdLines;
  });

  std::printf("file: %.1f MB compressed, %.1f MB of text, %ld lines (std::getline: %ld)\n",
              ostrel::FileSize(name) / 1e6, bytes / 1e6, lines, stdLines);
  std::printf("%-28s %8s %8s %14s\n", "", "wall s", "cpu s", "cpu vs zcat");
  std::printf("%-28s %8.2f %8.2f %14s\n", "zcat > /dev/null", zcatTimes.mWall, zcatTimes.mCpu, "1.00");
  std::printf("%-28s %8.2f %8.2f %14.2f\n", "igzstream + GetLine", getLineTimes.mWall, getLineTimes.mCpu,
              getLineTimes.mCpu / zcatTimes.mCpu);
  std::printf("%-28s %8.2f %8.2f %14.2f\n", "igzstream + std::getline", stdTimes.mWall, stdTimes.mCpu,
              stdTimes.mCpu / zcatTimes.mCpu);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "make" && argc == 4) return MakeFile(argv[2], std::atol(argv[3]));
  if (mode == "read" && argc == 3) return ReadFile(argv[2]);
  std::cerr << "usage: gzread-bench make FILE MB | read FILE\n";
  return 1;
}
