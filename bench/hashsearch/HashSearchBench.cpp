// Index build and query search of HashSampleSearchEngine against a plain
// std::unordered_map<std::string, std::vector<...>> doing the same work:
// every 16-base window of a 5 Mbp random source is indexed, then 20,000
// queries of 1,000 bases (cut from the source, 2% of bases changed) are
// searched at 100 samples per 1,000 bases. Each variant runs in a child
// process of its own so that its peak memory can be read alone.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "ostrel.h"

namespace {

using ostrel::HashSampleSearchEngine;
using ostrel::SampleSearchResult;
using ostrel::SampleSearchResultVec;
using ostrel::Sequence;
using ostrel::SequenceVector;

constexpr long kSourceLength = 5000000;
constexpr int kQueries = 20000;
constexpr int kQueryLength = 1000;
constexpr int kSampleSize = 16;
constexpr int kSampleDensity = 100;
constexpr uint32_t kMaxHitsPerSample = 100;

struct Workload {
  Sequence mSource;
  SequenceVector mQueries;
};

Workload MakeWorkload() {
  std::mt19937 generator(20261208);
  const char bases[] = "ACGT";
  Workload work;
  work.mSource.mBases.resize(kSourceLength);
  for (char& c : work.mSource.mBases) c = bases[generator() & 3];
  std::uniform_int_distribution<long> start(0, kSourceLength - kQueryLength);
  for (int q = 0; q < kQueries; ++q) {
    Sequence query;
    const long at = start(generator);
    query.mBases.assign(work.mSource.mBases.begin() + at, work.mSource.mBases.begin() + at + kQueryLength);
    for (char& c : query.mBases)
      if (generator() % 50 == 0) c = bases[generator() & 3];
    work.mQueries.push_back(std::move(query));
  }
  return work;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct Outcome {
  double mBuild = 0, mSearch = 0;
  long mProbes = 0, mHits = 0, mCheck = 0;
};

void AddToCheck(const SampleSearchResultVec& hits, Outcome& out) {
  for (const SampleSearchResult& h : hits) {
    ++out.mHits;
    out.mCheck += h.mSourceLoc * 31L + h.mQueryLoc * 7L + h.mSampleIdx;
  }
}

Outcome RunEngine(const Workload& work) {
  Outcome out;
  HashSampleSearchEngine engine(kSampleSize, kSampleDensity, kMaxHitsPerSample, kSourceLength);
  auto start = std::chrono::steady_clock::now();
  engine.Create(work.mSource);
  out.mBuild = Seconds(start);
  SampleSearchResultVec hits;
  start = std::chrono::steady_clock::now();
  for (const Sequence& query : work.mQueries) {
    hits.clear();
    out.mProbes += engine.Search(query, hits);
    AddToCheck(hits, out);
  }
  out.mSearch = Seconds(start);
  return out;
}

// The same index and search written plainly with the standard containers.
struct Occurrence {
  int mSource;
  int mPosition;
};

Outcome RunBaseline(const Workload& work) {
  Outcome out;
  std::unordered_map<std::string, std::vector<Occurrence>> index;
  const std::vector<char>& src = work.mSource.mBases;
  auto start = std::chrono::steady_clock::now();
  index.reserve(kSourceLength);
  for (long w = 0; w + kSampleSize <= kSourceLength; ++w) {
    std::string key(src.begin() + w, src.begin() + w + kSampleSize);
    if (key.find_first_of("NnXx") != std::string::npos) key.clear();
    std::vector<Occurrence>& places = index[key];
    if (places.empty() || places.size() < kMaxHitsPerSample)
      places.push_back(Occurrence{0, static_cast<int>(w)});
  }
  out.mBuild = Seconds(start);
  const int step = 1000 / kSampleDensity;
  SampleSearchResultVec hits;
  start = std::chrono::steady_clock::now();
  for (const Sequence& query : work.mQueries) {
    hits.clear();
    const long length = static_cast<long>(query.mBases.size());
    for (long j = 0; j < length / step; ++j) {
      const long at = j * step;
      const std::string key(query.mBases.begin() + at,
                            query.mBases.begin() + at + std::min<long>(kSampleSize, length - at));
      ++out.mProbes;
      const auto found = index.find(key);
      if (found == index.end()) continue;
      for (const Occurrence& o : found->second)
        hits.push_back(SampleSearchResult{o.mSource, 0, static_cast<int>(j), static_cast<int>(at), o.mPosition});
    }
    AddToCheck(hits, out);
  }
  out.mSearch = Seconds(start);
  return out;
}

// Runs one variant in a child process; returns the child's peak resident
// memory in MB.
template <typename Variant>
double InChild(const char* name, Variant variant) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    const Workload work = MakeWorkload();
    const Outcome out = variant(work);
    if (out.mProbes > 0) {
      std::printf("%-10s build %6.2f s   search %6.2f s   %6.2f M probes/s   %ld probes  %ld hits  check %ld\n",
                  name, out.mBuild, out.mSearch, out.mProbes / out.mSearch / 1e6, out.mProbes, out.mHits,
                  out.mCheck);
    }
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  rusage usage;
  wait4(child, &status, 0, &usage);
  return usage.ru_maxrss / 1024.0;
}

}  // namespace

int main() {
  const double setup = InChild("data only", [](const Workload&) { return Outcome(); });
  const double engine = InChild("engine", RunEngine);
  const double baseline = InChild("baseline", RunBaseline);
  std::printf("peak memory: data alone %.0f MB, engine %.0f MB (index %.0f MB), baseline %.0f MB (index %.0f MB)\n",
              setup, engine, engine - setup, baseline, baseline - setup);
  return 0;
}
