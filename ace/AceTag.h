// One tag of an ACE file: a record "XX{" ... "}" kept verbatim.
//
// A tag's first line is its two-letter kind and "{" ("CT{" on a contig,
// "RT{" on a read's bases, "WR{" on a whole read, "WA{" on the assembly,
// or any other kind); its second line names what it is on (its subject)
// and, for CT and RT tags, carries the first and last position it marks as
// its fourth and fifth words: 1-based padded positions of the contig's
// consensus (CT) or of the read as it is aligned (RT). Nested blocks such
// as "COMMENT{" ... "C}" and every other line are kept as they stand.
//
// Where tags live. A whole read (AceFile::Read of a file) hands each tag on
// a contig it holds, or on a read of one, to that contig (Contig::mTags);
// the others (assembly tags, tags on names the file never held) stay in
// AceFile::mTags. The edits move a contig's tags with its columns and
// reads: renamed and shifted with the piece that holds their columns
// (a tag across a cut goes, cut to fit, to each piece it touches),
// mirrored when the contig is reversed; a read tag goes where its read
// goes. A tag left without its contig or read is dropped and counted
// (mTagsLeftOut of the contig or assembly), and the writer says how many.
// The writers write a tag back where it stood, after the read it followed
// (mContigNumber, mInContig, mAfterRead), when the contig of that place in
// the list is written under that name with that read; a tag that stood
// before the first contig goes after the header, every other tag after the
// last contig. Tags keep their file order (mOrder) at each place, and each
// is written with its contig's current name.
#ifndef OSTREL_ACE_ACETAG_H
#define OSTREL_ACE_ACETAG_H

#include <cstdint>
#include <string>

namespace ostrel {

class AceTag {
public:
  std::string mText;          // the lines up to the closing "}", each ending in a newline
  bool mSubjectHeld = false;  // the contig or read it names was in the assembly when it was read
  int64_t mOrder = 0;         // its place among the file's tags
  // Where it stood: among the records of the file's contig number
  // mContigNumber (0-based; -1 before the first contig), named mInContig,
  // after its read of index mAfterRead (-1 before its first read). A tag
  // after the last contig stands after that contig's last read.
  std::string mInContig;
  int mContigNumber = -1;
  int mAfterRead = -1;

  // The name on its second line ("" when it has none).
  std::string Subject() const;
  // True for a contig tag ("CT{").
  bool OnContig() const;
  // True for an assembly tag ("WA{"), which names no contig or read.
  bool OnAssembly() const;
  // The first and last position it marks; false when its second line has
  // no such pair of numbers.
  bool Span(int64_t& first, int64_t& last) const;
  // Names `subject` on the second line, the other words and blanks kept.
  void Rename(const std::string& subject);
  // Sets the marked positions (the tag must have a Span).
  void SetSpan(int64_t first, int64_t last);
};

// Says on standard error how many tags a writer left out (nothing for 0).
void SayTagsLeftOut(int leftOut);

}  // namespace ostrel

#endif
