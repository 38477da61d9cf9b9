// The ACE reader on arbitrary bytes, plain and through igzstream of a
// gzip-wrapped copy, and the writer on whatever it read.
//
// Properties: the stream read gives the same model plain and decompressed;
// a file read, written and read again gives the same model, and written a
// second time the same bytes.
#include <algorithm>
#include <sstream>
#include <string>

#include "AceModelText.h"
#include "FuzzSupport.h"
#include "ace/AceFile.h"
#include "util/GzStream.h"

using namespace ostrel;

namespace {

void Fail(const char* what, const std::string& a, const std::string& b) {
  std::fprintf(stderr, "%s\n--- first\n%s\n--- second\n%s\n", what, a.c_str(), b.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  fuzz::Quiet quiet;
  const std::string text(reinterpret_cast<const char*>(bytes), size);

  AceFile plain;
  std::istringstream in(text);
  plain.Read(in);
  const std::string gzPath = fuzz::ScratchPath("in.ace.gz");
  fuzz::WriteBytes(gzPath, fuzz::Gzip(text));
  AceFile decompressed;
  igzstream gz(gzPath);
  decompressed.Read(gz);
  FUZZ_CHECK(!gz.bad());
  if (fuzz::ModelText(plain) != fuzz::ModelText(decompressed))
    Fail("plain and gzip reads differ", fuzz::ModelText(plain), fuzz::ModelText(decompressed));

  // A file written is read back to the model it was written from, and
  // written again to the same bytes. The writer writes what other readers
  // insist on: one "BQ" value per base, one "AF" and one "QA" line per
  // read, strands U or C, no contig without reads; and names are words, so
  // an empty one (a contig the header announced and the file never gave)
  // cannot be written. A model read from a file with other counts, strands
  // or names (the reader keeps them as they came) is written repaired and
  // cannot read back the same: for it the property starts from its first
  // written form.
  const std::string path = fuzz::ScratchPath("in.ace");
  fuzz::WriteBytes(path, text);
  AceFile first;
  first.Read(path);
  const auto named = [](const Sequence& sequence) { return !sequence.mName.empty(); };
  const bool writable = std::all_of(first.begin(), first.end(), [&](const Contig& contig) {
    return named(contig) && !contig.mReads.empty() && std::all_of(contig.mReads.begin(), contig.mReads.end(), named) &&
           contig.mQuality.mQualities.size() == contig.mBases.size() &&
           contig.mAlignStart.size() == contig.mReads.size() && contig.mComplemented.size() == contig.mReads.size() &&
           contig.mQALines.size() == contig.mReads.size() &&
           std::all_of(contig.mComplemented.begin(), contig.mComplemented.end(),
                       [](char strand) { return strand == 'U' || strand == 'C'; });
  });
  const auto roundTrip = [&](AceFile& from, AceFile& to, std::string& written) {
    std::ostringstream out;
    FUZZ_CHECK(from.WriteAce(out));
    written = out.str();
    fuzz::WriteBytes(path, written);
    to.Read(path);
    // What a file that was not whole (or not consistent) held is written as
    // it was read, so that it reads back whole: only its validity may differ.
    to.mValid = from.mValid;
  };
  AceFile second, third;
  std::string firstText, secondText;
  roundTrip(first, second, firstText);
  AceFile& from = writable ? first : second;
  AceFile& to = writable ? second : third;
  if (!writable) roundTrip(second, third, secondText);
  if (fuzz::ModelText(from) != fuzz::ModelText(to))
    Fail("the written file reads back otherwise", fuzz::ModelText(from), fuzz::ModelText(to));
  std::string again;
  AceFile last;
  roundTrip(to, last, again);
  const std::string& before = writable ? firstText : secondText;
  if (again != before) Fail("a second write differs", before, again);
  return 0;
}
