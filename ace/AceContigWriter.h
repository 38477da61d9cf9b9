// An ACE file written contig by contig, byte for byte as AceFile::WriteAce
// writes the same assembly held whole.
//
// The header counts the contigs and reads that follow it, known only once
// the last contig is in: the contigs go to a scratch file beside the output
// as they come, and Finish writes the header, the contigs and the tags into
// the output, whole or not at all.
#ifndef OSTREL_ACE_ACECONTIGWRITER_H
#define OSTREL_ACE_ACECONTIGWRITER_H

#include <sstream>
#include <string>
#include <vector>

#include "ace/AceFile.h"
#include "ace/TagPlacer.h"
#include "util/OutputFile.h"

namespace ostrel {

class AceContigWriter {
public:
  AceContigWriter() = default;
  ~AceContigWriter();  // removes the scratch file
  AceContigWriter(const AceContigWriter&) = delete;
  AceContigWriter& operator=(const AceContigWriter&) = delete;

  // Starts the output `fileName` (gzip-compressed when its name ends in
  // ".gz") and the scratch file beside it. False, with "Unable to write
  // <name>: <why>" on standard error, when either cannot be made.
  bool Open(const std::string& fileName);
  // Writes the contig (Contig::WriteAce), the file's next, with the tags of
  // `tagsSoFar` (the tags met so far, in file order, as the contig-by-contig
  // reader keeps them in AceFile::mTags) that stood among its records; its
  // notes are kept for Finish. A contig without reads is left out, with a
  // note, as AceFile::WriteAce leaves it out, and so are the contig tags on
  // it.
  void Add(Contig& contig, const std::vector<AceTag>& tagsSoFar);
  // Writes the notes of the contigs on standard error, then the output: the
  // header, the tags that stood before the first contig, the contigs and
  // the other tags of `tags` (every tag, in file order) not written with
  // them. False, with the line Open writes, when a write failed; nothing is
  // then left under the output's name.
  bool Finish(const std::vector<AceTag>& tags);

private:
  bool Failed(const std::string& why);

  std::string mName;
  std::string mScratchName;  // "" when there is none
  OutputFile mOutput;
  OutputFileBuf mScratchBuf;
  std::ostream mScratch{&mScratchBuf};
  TagPlacer mPlacer;
  int mAdded = 0;  // the contigs given, left out or not
  long mContigs = 0;
  long mReads = 0;
  std::ostringstream mNotes;
  StringSet mLeftOut;  // the names of the contigs left out
};

}  // namespace ostrel

#endif
