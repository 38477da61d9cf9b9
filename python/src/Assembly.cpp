#include "Assembly.h"

#include <pybind11/stl.h>

#include "AceRecords.h"
#include "LibraryCall.h"
#include "ace/AceFile.h"
#include "ace/AceTokens.h"
#include "acetool/AceTool.h"
#include "contig/AssemblyEdits.h"
#include "contig/Cleanup.h"
#include "contig/WindowTests.h"

namespace py = pybind11;

namespace ostrel {

namespace {

// The first line the library gave as an error, else the first it gave as
// an inconsistency, else its last line, else `fallback`.
std::string ProblemLine(const std::string& said, const std::string& fallback) {
  for (const char* kind : {"ERROR", "INCONSISTENT"}) {
    size_t start = 0;
    while (start < said.size()) {
      size_t end = said.find('\n', start);
      if (end == std::string::npos) end = said.size();
      if (said.compare(start, std::string::traits_type::length(kind), kind) == 0) return said.substr(start, end - start);
      start = end + 1;
    }
  }
  return LastLine(said, fallback);
}

class Assembly {
public:
  Assembly(const std::string& aceName, const std::string& qualName) : mName(aceName) {
    RequireReadable(aceName);
    if (!qualName.empty()) RequireReadable(qualName);
    const std::string said = CallLibrary([&]() {
      if (qualName.empty()) {
        mAce.Read(aceName);
        // Without read qualities every weighed vote would tie: edits keep
        // the columns whose reads they leave alone and count the rest.
        for (Contig& contig : mAce) contig.mVoteByCount = true;
      } else {
        mAce.ReadAll(aceName, qualName);
        mAce.ComputeAllContigStats();
      }
    });
    ForwardToStderr(said);
    if (!mAce.mRecordsFound) throw py::value_error(aceName + " holds no ACE records");
    if (!mAce.mValid) throw py::value_error(ProblemLine(said, aceName + " is not a sound ACE file"));
  }

  size_t Size() const {
    InUse inUse(mInUse);
    return mAce.size();
  }

  std::vector<std::string> Names() const {
    InUse inUse(mInUse);
    std::vector<std::string> names;
    for (const Contig& contig : mAce) names.push_back(contig.mName);
    return names;
  }

  // The contig as the ace module's record tuple, with the tags that name it
  // or its reads: those it holds, and those of the assembly's own that do.
  py::tuple Record(const py::object& key) const {
    InUse inUse(mInUse);
    const Contig& contig = mAce[static_cast<size_t>(Index(key))];
    StringSet subjects{contig.mName};
    for (const Sequence& read : contig.mReads) subjects.insert(read.mName);
    std::vector<AceTag> tags = contig.mTags;
    for (const AceTag& tag : mAce.mTags)
      if (!IsAssemblyTag(tag.mText) && subjects.count(TagSubject(tag.mText)) > 0) tags.push_back(tag);
    return ContigRecord(contig, tags, false);
  }

  std::vector<std::string> Reverse(const std::vector<std::string>& names) {
    InUse inUse(mInUse);
    std::vector<int> indexes = Indexes(names);
    return Edit([&]() {
      for (int c : indexes) mAce[static_cast<size_t>(c)].ReverseComplementContig();
    });
  }

  std::vector<std::string> Remove(std::vector<std::string> names) {
    InUse inUse(mInUse);
    Indexes(names);
    return Edit([&]() { RemoveContigs(mAce, names); });
  }

  size_t Merge(const py::object& left, const py::object& right, int offset) {
    InUse inUse(mInUse);
    const int l = Index(left), r = Index(right);
    if (l == r) throw py::value_error("a contig cannot be merged with itself");
    size_t moved = 0;
    Edit([&]() { moved = MergeContigs(mAce, l, r, offset); });
    return moved;
  }

  std::vector<std::string> Split(const py::object& contig, const std::vector<std::pair<int, int>>& regions,
                                 int minSize) {
    InUse inUse(mInUse);
    const int c = Index(contig);
    std::vector<int> starts, ends;
    for (const auto& [from, to] : regions) {
      if (from < 1 || to < from) throw py::value_error("a region is (FROM, TO) with 1 <= FROM <= TO");
      starts.push_back(from - 1);
      ends.push_back(to - 1);
    }
    return Edit([&]() { CutContig(mAce, c, minSize, starts, ends); });
  }

  py::dict TrimTails(int window, float height, bool removeMarked) {
    InUse inUse(mInUse);
    if (window < 1) throw py::value_error("the window is at least 1 column");
    std::vector<std::string> removed, marked, dropped;
    dropped = Edit([&]() {
      const int savedWindow = trimWindow;
      const float savedHeight = trimHeight;
      trimWindow = window;
      trimHeight = height;
      TrimAllTails(mAce, removed, marked, removeMarked);
      trimWindow = savedWindow;
      trimHeight = savedHeight;
    });
    py::dict result;
    result["removed"] = removed;
    result["marked"] = marked;
    result["dropped"] = dropped;
    return result;
  }

  void Write(const std::string& fileName) {
    InUse inUse(mInUse);
    bool written = false;
    const std::string said = CallLibrary([&]() { written = mAce.WriteAce(fileName); });
    if (!written) RaiseOSError(LastLine(said, fileName + " could not be written"));
    ForwardToStderr(said);
  }

  py::dict Stats() {
    InUse inUse(mInUse);
    CallLibraryQuietly([&]() { mAce.ComputeAllContigStats(); });
    py::dict stats;
    stats["contigs"] = mAce.size();
    long reads = 0;
    for (const Contig& contig : mAce) reads += static_cast<long>(contig.mReads.size());
    stats["reads"] = reads;
    stats["large_contigs"] = mAce.mNumLargeContigs;
    stats["reads_in_large_contigs"] = mAce.mNumReadsInLargeContigs;
    stats["large_contigs_length"] = mAce.mLargeContigsLength;
    stats["large_trimmed_contigs"] = mAce.mNumLargeTrimmedContigs;
    stats["large_trimmed_contigs_length"] = mAce.mLargeTrimmedContigsLength;
    stats["total_length"] = mAce.mTotalLength;
    stats["total_trimmed_length"] = mAce.mTotalTrimmedLength;
    stats["max_contig_length"] = mAce.mMaxContigLength;
    stats["max_trimmed_contig_length"] = mAce.mMaxTrimmedContigLength;
    stats["n50"] = mAce.mN50;
    stats["n50_trimmed"] = mAce.mN50Trimmed;
    stats["average_coverage"] = mAce.mAverageCoverage;
    stats["average_coverage_trimmed"] = mAce.mAverageCoverageTrimmed;
    return stats;
  }

  bool Valid() const {
    InUse inUse(mInUse);
    return mAce.mValid;
  }

private:
  // A contig by its index (negative counting from the end) or its name.
  int Index(const py::object& key) const {
    const long size = static_cast<long>(mAce.size());
    if (py::isinstance<py::int_>(key)) {
      long index = key.cast<long>();
      if (index < 0) index += size;
      if (index < 0 || index >= size) throw py::index_error("no contig " + py::str(key).cast<std::string>());
      return static_cast<int>(index);
    }
    const std::string name = key.cast<std::string>();
    for (long c = 0; c < size; ++c)
      if (mAce[static_cast<size_t>(c)].mName == name) return static_cast<int>(c);
    throw py::key_error("no contig " + name + " in " + mName);
  }

  std::vector<int> Indexes(const std::vector<std::string>& names) const {
    std::vector<int> indexes;
    for (const std::string& name : names) indexes.push_back(Index(py::str(name)));
    return indexes;
  }

  // Runs an edit, then drops the contigs it left without reads (as the
  // commands do before writing); returns their names.
  std::vector<std::string> Edit(const std::function<void()>& edit) {
    std::vector<std::string> dropped;
    CallLibraryQuietly([&]() {
      edit();
      dropped = DropEmptyContigs(mAce);
    });
    return dropped;
  }

  std::string mName;
  AceFile mAce;
  mutable bool mInUse = false;  // see InUse
};

}  // namespace

void BindAssembly(py::module_& module) {
  py::class_<Assembly>(module, "Assembly",
                       "An ACE assembly (plain or gzip-compressed) read whole, with its trims and statistics, "
                       "to be edited and written back.")
      .def(py::init<const std::string&, const std::string&>(), py::arg("path"), py::arg("qual") = "")
      .def("__len__", &Assembly::Size)
      .def_property_readonly("names", &Assembly::Names)
      .def_property_readonly("valid", &Assembly::Valid)
      .def("record", &Assembly::Record, py::arg("contig"))
      .def("reverse", &Assembly::Reverse, py::arg("names"))
      .def("remove", &Assembly::Remove, py::arg("names"))
      .def("merge", &Assembly::Merge, py::arg("left"), py::arg("right"), py::arg("offset"))
      .def("split", &Assembly::Split, py::arg("contig"), py::arg("regions"), py::arg("min_size"))
      .def("trim_tails", &Assembly::TrimTails, py::arg("window"), py::arg("height"), py::arg("remove_marked"))
      .def("write", &Assembly::Write, py::arg("path"))
      .def("stats", &Assembly::Stats);
  module.attr("DEFAULT_MIN_CONTIG_SIZE") = kDefaultMinContigSize;
  module.attr("DEFAULT_TRIM_WINDOW") = trimWindow;
  module.attr("DEFAULT_TRIM_HEIGHT") = trimHeight;
}

}  // namespace ostrel
