// Writing assemblies as ACE text: one contig's records, and a whole file
// with its header and the tags it was read with.
#include <algorithm>
#include <charconv>
#include <iostream>
#include <string>

#include "ace/AceFile.h"
#include "ace/AceTokens.h"
#include "ace/TagPlacer.h"
#include "util/FileUtil.h"
#include "util/OutputFile.h"

namespace ostrel {

namespace {

constexpr size_t kBasesPerLine = 50;
constexpr int kValuesPerLine = 50;  // on the first "BQ" line; 49 on every later one

void AppendInt(std::string& text, long value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  text.append(digits, end);
}

// Characters in lines of 50, then a line break and an empty line.
void AppendWrapped(std::string& text, const std::vector<char>& bases) {
  for (size_t at = 0; at < bases.size(); at += kBasesPerLine) {
    if (at > 0) text.push_back('\n');
    text.append(bases.data() + at, std::min(kBasesPerLine, bases.size() - at));
  }
  text.append("\n\n");
}

}  // namespace

// The consensus qualities, one per base column: a column without a value in
// mQuality counts 0, so the block always holds as many values as the
// consensus has bases, as other readers require.
void Contig::AppendBQ(std::string& text) const {
  text.append("BQ\n");
  const std::vector<int>& values = mQuality.mQualities;
  int written = 0;
  for (size_t column = 0; column < mBases.size(); ++column) {
    if (mBases[column] == '*') continue;
    AppendInt(text, column < values.size() ? values[column] : 0);
    text.push_back(' ');
    ++written;
    if (written % kValuesPerLine == 0) {
      text.push_back('\n');
      ++written;
    }
  }
  text.append("\n\n");
}

void Contig::AppendQA(std::string& text, size_t read) const {
  // An empty kept line (a read copied from a contig that kept none) is made
  // as for a read without one: other readers require the record.
  if (read < mQALines.size() && !mQALines[read].empty()) {
    text.append(mQALines[read]);
  } else {
    const long last = static_cast<long>(mReads[read].mBases.size()) - 1;
    text.append("QA 1 ");
    AppendInt(text, last);
    text.append(" 1 ");
    AppendInt(text, last);
  }
  text.push_back('\n');
}

void Contig::WriteAce(std::ostream& out, std::ostream& messages, const std::vector<AceTag>& tags) {
  if (mBaseSegments.empty() || static_cast<int>(mBaseSegments.size()) != mNumBaseSeqs || mNumBaseSeqs == 0) {
    messages << "ERROR: " << mName << " mBaseSegments.size()=" << mBaseSegments.size()
             << " mNumBaseSeqs = " << mNumBaseSeqs << std::endl;
    ComputeSyntheticBS();
    messages << "\tFIXED: " << mName << " mBaseSegments.size()=" << mBaseSegments.size()
             << " mNumBaseSeqs = " << mNumBaseSeqs << std::endl;
  }
  if (mAlignStart.size() != mReads.size())
    messages << "ERROR mAlignStart.size()=" << mAlignStart.size() << " mReads.size()=" << mReads.size()
             << std::endl;

  // The counts are those of what follows, so the file reads back consistent
  // after any edit.
  std::string text;
  text.append("\nCO ").append(mName).push_back(' ');
  AppendInt(text, static_cast<long>(mBases.size()));
  text.push_back(' ');
  AppendInt(text, static_cast<long>(mReads.size()));
  text.push_back(' ');
  AppendInt(text, static_cast<long>(mBaseSegments.size()));
  text.append(mStrand == 'C' ? " C\n" : " U\n");
  AppendWrapped(text, mBases);
  AppendBQ(text);
  // A read the placements do not reach (more reads than "AF" lines were
  // read) is written at position 1, uncomplemented.
  for (size_t read = 0; read < mReads.size(); ++read) {
    text.append("AF ").append(mReads[read].mName).push_back(' ');
    text.push_back(read < mComplemented.size() && mComplemented[read] == 'C' ? 'C' : 'U');
    text.push_back(' ');
    AppendInt(text, read < mAlignStart.size() ? mAlignStart[read] : 1);
    text.push_back('\n');
  }
  for (const BaseSegment& segment : mBaseSegments) {
    text.append("BS ");
    AppendInt(text, segment.mStart);
    text.push_back(' ');
    AppendInt(text, segment.mEnd);
    text.append(" ").append(segment.mReadName).push_back('\n');
  }
  // The tags in file order: those before the first read, then after each
  // read those that followed it; those after the last read follow the
  // contig.
  auto tag = tags.begin();
  const auto appendTagsUpTo = [&](int read) {
    for (; tag != tags.end() && tag->mAfterRead <= read; ++tag) text.append("\n").append(tag->mText);
  };
  appendTagsUpTo(-1);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  for (size_t read = 0; read < mReads.size(); ++read) {
    const Sequence& bases = mReads[read];
    const ReadRecordFields fields = RecordFieldsOf(read);
    text.assign("\nRD ").append(bases.mName).push_back(' ');
    AppendInt(text, static_cast<long>(bases.mBases.size()));
    text.push_back(' ');
    AppendInt(text, fields.mWholeReadItems);
    text.push_back(' ');
    AppendInt(text, fields.mReadTags);
    text.push_back('\n');
    AppendWrapped(text, bases.mBases);
    AppendQA(text, read);
    if (HasDSLine(read))
      text.append("DS ").append(bases.mDescription).push_back('\n');
    if (read + 1 < mReads.size()) appendTagsUpTo(static_cast<int>(read));
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  out << "\n\n";
  WriteTrailingTags(out, std::vector<AceTag>(tag, tags.end()));
}

bool AceFile::WriteAce(std::ostream& out) {
  long contigs = 0, reads = 0;
  for (const Contig& contig : *this) {
    contigs += !contig.mReads.empty();
    reads += static_cast<long>(contig.mReads.size());
  }
  out << "AS " << contigs << ' ' << reads << '\n';
  int stale = 0;
  const std::vector<AceTag> tags = TagsInFileOrder(&stale);
  WriteTrailingTags(out, TagPlacer::BeforeContigs(tags));
  TagPlacer placer;
  int leftOut = mTagsLeftOut;
  for (size_t c = 0; c < size(); ++c) {
    Contig& contig = (*this)[c];
    leftOut += contig.mTagsLeftOut;
    // One the header announced and the file lacked has no consensus either:
    // it was never there to leave out.
    if (contig.mReads.empty()) {
      if (!contig.mBases.empty()) std::cerr << "Left out " << contig.mName << ": it holds no reads." << std::endl;
      continue;
    }
    contig.WriteAce(out, std::cerr, placer.PlacedIn(tags, static_cast<int>(c), contig));
  }
  WriteTrailingTags(out, placer.Unplaced(tags));
  leftOut += stale;
  SayTagsLeftOut(leftOut);
  out.flush();
  return out.good();
}

bool AceFile::WriteAce(const std::string& fileName) {
  OutputFile out;
  bool written = out.Open(fileName, GetFileSuffix(fileName) == "gz");
  if (written) {
    WriteAce(out);
    written = out.Commit();  // says whether every write went through
  }
  if (!written) std::cerr << "Unable to write " << fileName << ": " << out.Error() << std::endl;
  return written;
}

}  // namespace ostrel
