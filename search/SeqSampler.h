// Cutting sequences into windows, tiled fragments and samples, and making
// reversed, complemented and reverse-complemented copies of collections.
//
// Positions are 0-based indexes into the bases; fragment bounds are
// inclusive. Fragments and samples are cut with Sequence::GetSubSequence, so
// they never reach outside the sequence and carry its name and its
// description followed by "[start,end]".
#ifndef OSTREL_SEARCH_SEQSAMPLER_H
#define OSTREL_SEARCH_SEQSAMPLER_H

#include <vector>

#include "seq/Sequence.h"
#include "seq/SequenceVector.h"

namespace ostrel {

// The sampler holds no state: every operation only reads its inputs and
// fills the caller's collections.
class SeqSampler {
public:
  // Makes `out` hold exactly one element per window of length k (length -
  // k + 1 of them; none when k <= 0 or the sequence is shorter than k).
  // Element w gets the bases w .. w+k-1, unless the window holds an N or X
  // (either case): then element w is left as it was (empty if new). Names
  // and descriptions are not set.
  static void FastFragmentSeq(int k, const Sequence& seq, SequenceVector& out);

  // For each window start w (0 .. length-k), 1 when the window of length k
  // holds no N or X in either case, else 0. Empty when k <= 0 or the
  // sequence is shorter than k.
  static std::vector<char> WindowsWithoutNX(int k, const Sequence& seq);

  // Fragments start .. start+fragSize-1 with consecutive fragments sharing
  // `overlap` bases, from start 0 while the fragment's end stays inside the
  // sequence; the first fragment is always made (clamped). Nothing is made
  // when overlap >= fragSize, which would never move on.
  static void FragmentSeq(int fragSize, int overlap, const Sequence& seq, SequenceVector& out);
  // The same, also appending each fragment's start and end (as computed,
  // not clamped).
  static void FragmentSeq(int fragSize, int overlap, const Sequence& seq, SequenceVector& out,
                          std::vector<long>& starts, std::vector<long>& ends);

  // Tiled fragments whose overlaps are drawn from RNG: Gaussian around
  // meanOverlap (sd 0.3 x meanOverlap), at least 100, at most fragSize / 2.
  // The first fragment is 0 .. fragSize; each next one starts at the
  // previous end - overlap - 1 and has fragSize bases. Writes "fStart=...
  // fEnd=... seqSize=..." and "overlap = ..." for each fragment on standard
  // output. Stops when the next end would leave the sequence, or when the
  // next fragment would not start after the one before (tiny fragSize).
  // Nothing is made when meanOverlap > fragSize.
  static void RndFragmentSeq(int fragSize, int meanOverlap, const Sequence& seq, SequenceVector& out,
                             std::vector<long>& starts, std::vector<long>& ends,
                             std::vector<long>& overlaps);

  // `count` samples of sampleSize bases at offsets j x (length / count),
  // added with SequenceVector::AddSubSequence; nothing when count <= 0.
  static void SampleSeq(int count, int sampleSize, const Sequence& seq, SequenceVector& out);

  // One sample of sampleSize bases at a start drawn from RNG. A source
  // shorter than the sample is reported on standard output and ends the
  // process with status 1.
  static void GetRandomSample(int sampleSize, const Sequence& src, Sequence& out);

  // True when none of the characters at start .. start+count-1 that lie
  // inside the sequence is N or X (either case); pads and anything else pass.
  static bool OnlyBases(const Sequence& seq, int start, int count);

  // Appends the reverse complement of each element held at the call, named
  // with "(-)" appended.
  static void AddReverseComplements(SequenceVector& v);
  // Appends for each element held at the call its "(-)", "(r)" (reverse) and
  // "(c)" (complement) copies, in that order.
  static void AddAllSenses(SequenceVector& v);

  // `dst` becomes, element by element, the reversed ("(r)"),
  // reverse-complemented ("(-)") or complemented ("(c)") copies of `src`.
  // `src` is unchanged, even when it is `dst`.
  static void CreateReverse(const SequenceVector& src, SequenceVector& dst);
  static void CreateReverseComplement(const SequenceVector& src, SequenceVector& dst);
  static void CreateComplement(const SequenceVector& src, SequenceVector& dst);
};

}  // namespace ostrel

#endif
