// ostrel._ostrel.AceContigs: an ACE file (a path, plain or gzip, or an open
// handle) read one contig at a time by the library's contig reading, each
// contig with the tags met from its "CO" record to the next, and where
// they stood among its reads.
#include "AceRecords.h"

#include <pybind11/stl.h>

#include <memory>
#include <optional>

#include "LibraryCall.h"
#include "PyHandleStream.h"
#include "util/GzStream.h"

namespace py = pybind11;

namespace ostrel {

namespace {

py::str Text(const std::vector<char>& chars) { return py::str(chars.data(), chars.size()); }

class AceContigs {
public:
  explicit AceContigs(const py::object& source) {
    if (py::isinstance<py::str>(source) || py::hasattr(source, "__fspath__")) {
      mName = py::str(py::module_::import("os").attr("fspath")(source)).cast<std::string>();
      RequireReadable(mName);
      auto file = std::make_unique<igzstream>();
      file->open(mName.c_str());
      mIn = std::move(file);
    } else {
      mName = py::hasattr(source, "name") ? py::str(source.attr("name")).cast<std::string>() : "<handle>";
      mHandle = new PyHandleStream(source);
      mIn.reset(mHandle);
    }
  }

  py::tuple Next() {
    InUse inUse(mInUse);
    if (mEnded) throw py::stop_iteration();
    bool found = false;
    const std::string said = CallLibrary([&]() {
      if (mIndex < 0) {
        mAce.ReadHeader(*mIn, mLine);
        mIndex = 0;
      }
      found = mAce.ReadContig(*mIn, mLine, mIndex, 0);
    });
    ForwardToStderr(said);
    if (mHandle != nullptr) mHandle->RaiseReadError();
    if (!found) {
      mEnded = true;
      if (mIn->bad()) throw py::value_error(mName + " is damaged or truncated");
      if (!mAce.mRecordsFound) throw py::value_error(mName + " holds no ACE records");
      throw py::stop_iteration();
    }
    ++mIndex;
    py::tuple record = ContigRecord(mAce[0], mAce.mTags, true);
    mAce.mTags.clear();
    return record;
  }

  // The numbers of contigs and reads the "AS" header announced.
  std::pair<int, int> Announced() const { return {mAce.mNumContigs, mAce.mNumReads}; }

private:
  std::string mName;
  std::unique_ptr<std::istream> mIn;
  PyHandleStream* mHandle = nullptr;  // mIn, when it reads a handle
  AceFile mAce;                       // one contig at a time, in slot 0
  std::string mLine;
  int mIndex = -1;  // the next contig's number; -1 before the header
  bool mEnded = false;
  bool mInUse = false;
};

}  // namespace

py::tuple ContigRecord(const Contig& contig, const std::vector<AceTag>& tags, bool placed) {
  py::list quality;
  const std::vector<int>& values = contig.mQuality.mQualities;
  for (size_t p = 0; p < values.size() && p < contig.mBases.size(); ++p)
    if (contig.mBases[p] != '*') quality.append(values[p]);
  py::list starts, segments, names, sequences, qaLines, descriptions, tagPlaces;
  std::string strands;
  bool counted = false;
  for (size_t r = 0; r < contig.mReads.size(); ++r) {
    const Sequence& read = contig.mReads[r];
    const ReadRecordFields fields = contig.RecordFieldsOf(r);
    starts.append(r < contig.mAlignStart.size() ? contig.mAlignStart[r] : 0);
    strands.push_back(r < contig.mComplemented.size() && contig.mComplemented[r] ? contig.mComplemented[r] : 'U');
    names.append(py::str(read.mName));
    sequences.append(Text(read.mBases));
    if (contig.HasDSLine(r))
      descriptions.append(py::str(read.mDescription));
    else
      descriptions.append(py::none());
    counted = counted || fields.mWholeReadItems != 0 || fields.mReadTags != 0;
  }
  // Most files count nothing: the list is made only when a count is not 0.
  py::object counts = py::none();
  if (counted) {
    py::list perRead;
    for (size_t r = 0; r < contig.mReads.size(); ++r) {
      const ReadRecordFields fields = contig.RecordFieldsOf(r);
      perRead.append(py::make_tuple(fields.mWholeReadItems, fields.mReadTags));
    }
    counts = perRead;
  }
  for (const BaseSegment& segment : contig.mBaseSegments)
    segments.append(py::make_tuple(segment.mStart, segment.mEnd, py::str(segment.mReadName)));
  for (const std::string& line : contig.mQALines) qaLines.append(py::str(line));
  for (const AceTag& tag : tags)
    tagPlaces.append(py::make_tuple(py::str(tag.mText), placed ? py::object(py::int_(tag.mAfterRead)) : py::none()));
  return py::make_tuple(py::str(contig.mName), contig.mPaddedBases, contig.mNumReads, contig.mNumBaseSeqs,
                        py::str(std::string(1, contig.mStrand)), Text(contig.mBases), quality, starts,
                        py::str(strands), segments, names, sequences, qaLines, descriptions, counts, tagPlaces);
}

void BindAceRecords(py::module_& module) {
  py::class_<AceContigs>(module, "AceContigs",
                         "The contigs of an ACE file (a path, plain or gzip-compressed, or an open handle), "
                         "one at a time, as tuples.")
      .def(py::init<const py::object&>(), py::arg("source"))
      .def("__iter__", [](py::object self) { return self; })
      .def("__next__", &AceContigs::Next)
      .def_property_readonly("announced", &AceContigs::Announced);
}

}  // namespace ostrel
