#include "ReadOverlaps.h"

#include <pybind11/stl.h>

#include <memory>
#include <string>
#include <vector>

#include "LibraryCall.h"
#include "search/AllOverlaps.h"
#include "search/PafLine.h"

namespace py = pybind11;

namespace ostrel {

namespace {

// The overlaps of one run, kept as the library gives them (with the reads,
// for their names and lengths) and turned into PAF's columns one at a time.
class FoundOverlaps {
public:
  explicit FoundOverlaps(const AllOverlapsSettings& settings) : mRun(settings) {}

  AllOverlaps mRun;
  std::vector<FoundOverlap> mOverlaps;

  size_t Size() const { return mOverlaps.size(); }

  // query name, length, start, end, strand, target name, length, start, end,
  // matching bases, alignment length, mapping quality, score, overlap length.
  py::tuple Record(size_t index) const {
    if (index >= mOverlaps.size()) throw py::index_error("no overlap " + std::to_string(index));
    const FoundOverlap& o = mOverlaps[index];
    const PackedReads& reads = mRun.Reads();
    const size_t query = static_cast<size_t>(o.mQuery), target = static_cast<size_t>(o.mTarget);
    const PafSpans s = PafSpansOf(reads.Length(query), reads.Length(target), o.mLength, o.mScore, o.mLeftHang,
                                  o.mRightHang, o.mOrientation);
    return py::make_tuple(reads.Name(query), reads.Length(query), s.mQueryStart, s.mQueryEnd,
                          std::string(1, s.mStrand), reads.Name(target), reads.Length(target), s.mTargetStart,
                          s.mTargetEnd, s.mMatches, s.mAligned, kPafMappingQuality, o.mScore, o.mLength);
  }
};

// Loads, indexes and compares the reads of `files` without the GIL; the
// overlaps in the order ostrel-overlap writes them.
std::unique_ptr<FoundOverlaps> FindOverlaps(const std::vector<std::string>& files,
                                            const AllOverlapsSettings& settings) {
  const std::string problem = settings.Problem();
  if (!problem.empty()) throw py::value_error(problem);
  for (const std::string& name : files) RequireReadable(name);
  auto found = std::make_unique<FoundOverlaps>(settings);
  AllOverlaps& run = found->mRun;
  std::vector<std::string> problems;
  int status = 0;
  const std::string said = CallLibrary([&]() {
    status = run.Load(files, problems);
    if (status != 0 || run.mCounts.mRecords == 0) return;
    run.Index();
    run.Compare([&](const FoundOverlap& o) { found->mOverlaps.push_back(o); });
    // The records need the reads' names and lengths, not their words.
    run.mOverlapper.mIndex = MinimizerIndex();
  });
  ForwardToStderr(said);
  if (status == 1) RaiseOSError(problems.back());
  if (status == 2) throw py::value_error(problems.back());
  if (run.mCounts.mRecords == 0) throw py::value_error(kNoRecordsProblem);
  if (run.mCounts.mSharedNames > 0) ForwardToStderr(run.mCounts.SharedNamesWarning() + "\n");
  return found;
}

}  // namespace

void BindReadOverlaps(py::module_& module) {
  py::class_<FoundOverlaps>(module, "FoundOverlaps", "The overlaps of one run, as PAF records.")
      .def("__len__", &FoundOverlaps::Size)
      .def("record", &FoundOverlaps::Record, py::arg("index"));
  module.def(
      "find_overlaps",
      [](const std::vector<std::string>& files, int wordSize, int density, int repeatLimit, int bandWidth,
         float errorPct, int minScore, int minReadSize, int threads) {
        AllOverlapsSettings settings;
        settings.mWordSize = wordSize;
        settings.mWordDensity = density;
        settings.mRepeatLimit = repeatLimit;
        settings.mBandWidth = bandWidth;
        settings.mErrorPct = errorPct;
        settings.mMinScore = minScore;
        settings.mMinReadSize = minReadSize;
        settings.mThreads = threads;
        return FindOverlaps(files, settings);
      },
      py::arg("files"), py::arg("word_size"), py::arg("density"), py::arg("repeat_limit"), py::arg("band_width"),
      py::arg("error_pct"), py::arg("min_score"), py::arg("min_read_size"), py::arg("threads"));
  module.attr("DEFAULT_WORD_SIZE") = kDefaultWordSize;
  module.attr("DEFAULT_WORD_DENSITY") = kDefaultWordDensity;
  module.attr("DEFAULT_REPEAT_LIMIT") = kDefaultRepeatLimit;
  module.attr("DEFAULT_MIN_SCORE") = kDefaultMinScore;
  module.attr("DEFAULT_BAND_WIDTH") = kDefaultBandWidth;
  module.attr("DEFAULT_ERROR_PCT") = kDefaultErrorPct;
  module.attr("DEFAULT_MIN_READ_SIZE") = kDefaultMinReadSize;
}

}  // namespace ostrel
