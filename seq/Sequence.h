// A named run of bases as it stands in an assembly, with its maps between
// padded and depadded coordinates.
//
// Padded coordinates count every character, pads ('*' and '-') included;
// padded indexes are 0-based. Depadded positions count the other characters
// only and are 1-based. Outside the sequence the conversions extrapolate
// linearly instead of failing.
#ifndef OSTREL_SEQ_SEQUENCE_H
#define OSTREL_SEQ_SEQUENCE_H

#include <algorithm>
#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "util/Hash.h"

namespace ostrel {

class Sequence {
public:
  std::vector<char> mBases;           // the characters, 0-based padded indexes
  std::vector<int> mDepadded2Padded;  // depadded position -> padded index; entry 0 is 0
  std::vector<int> mPadded2Depadded;  // padded index -> non-pads at or before it
  std::string mDescription;
  std::string mName;

  // Filling and extending. Only the bases change; the maps are caches that
  // the coordinate functions rebuild (see there).
  void InitFromCString(const char* text);   // replaces the bases
  void InitFromString(std::string& text);   // strips white space from `text`, then appends it
  void ConcatenateCString(const char* text);
  void ConcatenateString(const std::string& text);
  void ConcatenateNonWhiteSpace(const std::string& text);  // skips blank, tab, newline
  // Appends text.size() characters: A C G T (either case) as they are, the
  // character with code 0 for anything else.
  void ConcatenateStringSafe(const std::string& text);
  void Concatenate(const Sequence& other);  // bases only

  // Reading out.
  void CopyToString(std::string& out) const;  // appends, does not clear
  void CopyToCString(char* out) const;        // `out` holds length + 1 bytes
  void Print(std::ostream& out) const;        // name, blank, description, line end, bases, "\n"
  void PrintSeq(std::ostream& out) const;     // bases, "\n"
  // A FASTA record: ">" name, a blank and the description when there is
  // one, then the bases in lines of `lineWidth` (all on one line when it is
  // below 1); no base line for an empty sequence.
  void PrintFASTA(std::ostream& out, int lineWidth) const;
  // Puts bases start .. end (inclusive, clamped to the sequence) into `out`,
  // with this name and this description followed by "[start,end]" of the
  // clamped bounds. An end below 0 or an empty range leaves `out` without
  // bases and with its own name and description.
  void GetSubSequence(Sequence& out, long start, long end) const;

  // Character classes.
  static bool IsBase(char c);    // A C G T a c g t
  static bool IsBaseNX(char c);  // the same plus N X n x
  // A character passes the upper-case base test when its code has neither
  // bit 0x20 nor bit 0x08 set: A C G T pass; lower case, N, X and pads fail.
  bool OnlyUpperCaseBases() const;
  // The range tests look at positions start .. start+count-1 that lie inside
  // the sequence; positions outside it are not looked at.
  bool OnlyUpperCaseBases(int start, int count) const;
  bool ContainsOnlyBasesSafe() const;
  bool ContainsOnlyBasesSafe(int start, int count) const;
  bool ContainsNonBaseSafe(int start, int count) const;

  // Transformations of the bases, in place. Complementing swaps A/T and C/G,
  // and the ambiguity codes R/Y, K/M, B/V and D/H, in either case, and
  // keeps every other character (S, W, N among them).
  static char ComplementBase(char c);
  void Complement();
  void Reverse();
  void ReverseComplement();
  void ToLowerCase();
  void ToUpperCase();
  void Nify();  // every character other than A C G T a c g t becomes 'n'
  // Overwrites padded indexes 0 .. left (inclusive) and right .. length-1
  // with 'X'; the parts that lie outside the sequence are ignored.
  void Trim(long left, long right);

  // Searching. Positions are 0-based padded indexes; -1 means not found.
  long Find(const char* first, const char* last) const;  // the bytes [first, last)
  long Find(const Sequence& other) const;
  // The index of the last character of the first match of the tag, forward
  // or else reverse-complemented (`reversed` then true); -1 when neither
  // matches. Leaves this sequence's bases in lower case.
  long FindEndOf(Sequence tag, bool& reversed);
  // Searches for the tag's characters [tagStart, tagEnd): forward, `pos`
  // becomes the index just past the match; reverse-complemented, `pos`
  // becomes the start of the match and `reversed` true; -1 when neither
  // matches. Lower-cases both the tag and this sequence. A range that does
  // not lie inside the tag leaves `pos` untouched.
  void FindEndOfTag(Sequence& tag, int tagStart, int tagEnd, long& pos, bool& reversed);
  // Length, count of c and g, and count of "cg" pairs; leaves the bases in
  // lower case.
  void ComputeGCStats(int& length, int& gcCount, int& cpgCount);

  // Coordinate maps.
  void ComputePadded2Depadded();
  void ComputeDepadded2Padded();  // builds the padded map first when it is stale
  // 0-based padded index -> 1-based depadded position. Rebuilds the map when
  // its size differs from the length; below 0 gives i + 1, past the end
  // extrapolates from the last entry.
  int Padded2Depadded(int i);
  // 1-based depadded position -> 0-based padded index. Builds the map only
  // when it is empty: after editing the bases call ComputeDepadded2Padded.
  // Below 1 gives k - 1, past the end extrapolates from the last entry.
  // On an empty sequence both conversions keep to i + 1 and k - 1.
  int Depadded2Padded(int k);
};

// The number of characters (bases and pads) as a signed count, for
// position arithmetic that may go below 0.
inline long Length(const Sequence& seq) { return static_cast<long>(seq.mBases.size()); }

// Equality of sequence text for hash containers keyed by a Sequence (with
// BasicSequenceHashF of util/Hash.h): only the bases count, case-sensitively.
// The form over pointers and counts serves indexes that keep the bases of
// their keys without whole Sequence objects.
struct eqSeq {
  bool operator()(const Sequence& a, const Sequence& b) const { return a.mBases == b.mBases; }
  bool operator()(const char* a, size_t na, const char* b, size_t nb) const {
    return na == nb && std::equal(a, a + na, b);
  }
};

}  // namespace ostrel

#endif
