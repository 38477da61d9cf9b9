// Windows, fragments, samples and derived copies of sequences.
#include "search/SeqSampler.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <iterator>

#include "search/RandomNumber.h"

namespace ostrel {

namespace {

bool IsNX(char c) { return c == 'N' || c == 'n' || c == 'X' || c == 'x'; }

// seq.GetSubSequence(start, end) as a new element of `out`.
void AppendSubSequence(const Sequence& seq, long start, long end, SequenceVector& out) {
  Sequence piece;
  seq.GetSubSequence(piece, start, end);
  out.push_back(std::move(piece));
}

// Moves the pieces to the end of `out`. Pieces are cut into a collection of
// their own first: the sequence cut may be an element of `out`, which
// appending can move.
void AppendPieces(SequenceVector& pieces, SequenceVector& out) {
  out.insert(out.end(), std::make_move_iterator(pieces.begin()), std::make_move_iterator(pieces.end()));
}

// Tiled fragments; `starts` and `ends` are filled unless null.
void TileFragments(int fragSize, int overlap, const Sequence& seq, SequenceVector& out,
                   std::vector<long>* starts, std::vector<long>* ends) {
  if (overlap >= fragSize) return;  // each fragment would start where the last one did, or before
  const long length = Length(seq);
  SequenceVector pieces;
  long start = 0, end = fragSize - 1L;
  do {
    if (starts != nullptr) starts->push_back(start);
    if (ends != nullptr) ends->push_back(end);
    AppendSubSequence(seq, start, end, pieces);
    start = end - overlap + 1;
    end = start + fragSize - 1;
  } while (end < length);
  AppendPieces(pieces, out);
}

// The overlap to the next random fragment: the draw truncated, raised to
// 100, then capped at half the fragment size. Done in floating point so that
// any draw, infinite or not a number included, converts safely.
long RandomOverlap(int fragSize, int meanOverlap) {
  double overlap = std::trunc(RNG.Gaussian(meanOverlap, 0.3 * meanOverlap));
  if (!(overlap >= 100)) overlap = 100;
  if (overlap > fragSize * 0.5) overlap = std::trunc(fragSize * 0.5);
  return static_cast<long>(overlap);
}

// A copy of the bases, description and name (not the coordinate maps, which
// would no longer fit the bases), transformed and renamed.
Sequence DerivedCopy(const Sequence& src, void (Sequence::*transform)(), const char* suffix) {
  Sequence copy;
  copy.mBases = src.mBases;
  copy.mDescription = src.mDescription;
  copy.mName = src.mName + suffix;
  (copy.*transform)();
  return copy;
}

void CreateDerived(const SequenceVector& src, SequenceVector& dst, void (Sequence::*transform)(),
                   const char* suffix) {
  SequenceVector made;
  made.reserve(src.size());
  for (const Sequence& s : src) made.push_back(DerivedCopy(s, transform, suffix));
  dst.swap(made);
}

}  // namespace

std::vector<char> SeqSampler::WindowsWithoutNX(int k, const Sequence& seq) {
  const long length = Length(seq);
  if (k <= 0 || length < k) return {};
  std::vector<char> clean(static_cast<size_t>(length - k + 1));
  long lastNX = -1;  // the latest N or X seen so far
  for (long i = 0; i < length; ++i) {
    if (IsNX(seq.mBases[i])) lastNX = i;
    const long w = i - k + 1;  // the window that ends at i
    if (w >= 0) clean[w] = lastNX < w;
  }
  return clean;
}

void SeqSampler::FastFragmentSeq(int k, const Sequence& seq, SequenceVector& out) {
  const std::vector<char> clean = WindowsWithoutNX(k, seq);
  const std::vector<char> bases = seq.mBases;  // `seq` may be an element of `out`
  out.resize(clean.size());
  for (size_t w = 0; w < clean.size(); ++w)
    if (clean[w]) out[w].mBases.assign(bases.begin() + w, bases.begin() + w + k);
}

void SeqSampler::FragmentSeq(int fragSize, int overlap, const Sequence& seq, SequenceVector& out) {
  TileFragments(fragSize, overlap, seq, out, nullptr, nullptr);
}

void SeqSampler::FragmentSeq(int fragSize, int overlap, const Sequence& seq, SequenceVector& out,
                             std::vector<long>& starts, std::vector<long>& ends) {
  TileFragments(fragSize, overlap, seq, out, &starts, &ends);
}

void SeqSampler::RndFragmentSeq(int fragSize, int meanOverlap, const Sequence& seq, SequenceVector& out,
                                std::vector<long>& starts, std::vector<long>& ends,
                                std::vector<long>& overlaps) {
  if (meanOverlap > fragSize) return;
  const long length = Length(seq);
  SequenceVector pieces;
  long start = 0, end = fragSize;  // the first fragment has fragSize + 1 bases
  for (;;) {
    std::cout << "fStart=" << start << " fEnd=" << end << " seqSize=" << length << std::flush;
    starts.push_back(start);
    ends.push_back(end);
    AppendSubSequence(seq, start, end, pieces);
    const long overlap = RandomOverlap(fragSize, meanOverlap);
    overlaps.push_back(overlap);
    std::cout << "overlap = " << overlap << std::endl;
    const long nextStart = end - overlap - 1;
    if (nextStart <= start) break;  // fragments too short to move on
    start = nextStart;
    end = start + fragSize - 1;
    if (end >= length) break;
  }
  AppendPieces(pieces, out);
}

void SeqSampler::SampleSeq(int count, int sampleSize, const Sequence& seq, SequenceVector& out) {
  if (count <= 0) return;
  const long step = Length(seq) / count;
  SequenceVector pieces;
  for (long j = 0; j < count; ++j) pieces.AddSubSequence(seq, j * step, j * step + sampleSize - 1);
  AppendPieces(pieces, out);
}

void SeqSampler::GetRandomSample(int sampleSize, const Sequence& src, Sequence& out) {
  const long length = Length(src);
  const long maxStart = length - sampleSize;
  if (maxStart < 0) {
    std::cout << "maxStart < 0!!!!!" << maxStart << "\n"
              << "Source.size()=" << length << "\n"
              << "sSize=" << sampleSize << std::endl;
    std::exit(1);
  }
  const double drawn = std::trunc(RNG.Uniform(0, static_cast<double>(maxStart)));
  const long start = drawn > 0 ? static_cast<long>(std::min(drawn, static_cast<double>(maxStart))) : 0;
  const long end = std::min(start + sampleSize - 1, length - 1);
  src.GetSubSequence(out, start, end);
  if (out.mBases.empty()) {
    std::cout << "1start=" << start << "\n"
              << "1end=" << end << "\n"
              << "maxStart=" << maxStart << "\n"
              << "Source.size=" << length << std::endl;
  }
}

bool SeqSampler::OnlyBases(const Sequence& seq, int start, int count) {
  const long from = std::max(0L, static_cast<long>(start));
  const long to = std::min(Length(seq), static_cast<long>(start) + count);  // exclusive
  for (long i = from; i < to; ++i)
    if (IsNX(seq.mBases[i])) return false;
  return true;
}

void SeqSampler::AddReverseComplements(SequenceVector& v) {
  const size_t held = v.size();
  for (size_t i = 0; i < held; ++i) v.push_back(DerivedCopy(v[i], &Sequence::ReverseComplement, "(-)"));
}

void SeqSampler::AddAllSenses(SequenceVector& v) {
  const size_t held = v.size();
  for (size_t i = 0; i < held; ++i) {
    v.push_back(DerivedCopy(v[i], &Sequence::ReverseComplement, "(-)"));
    v.push_back(DerivedCopy(v[i], &Sequence::Reverse, "(r)"));
    v.push_back(DerivedCopy(v[i], &Sequence::Complement, "(c)"));
  }
}

void SeqSampler::CreateReverse(const SequenceVector& src, SequenceVector& dst) {
  CreateDerived(src, dst, &Sequence::Reverse, "(r)");
}

void SeqSampler::CreateReverseComplement(const SequenceVector& src, SequenceVector& dst) {
  CreateDerived(src, dst, &Sequence::ReverseComplement, "(-)");
}

void SeqSampler::CreateComplement(const SequenceVector& src, SequenceVector& dst) {
  CreateDerived(src, dst, &Sequence::Complement, "(c)");
}

}  // namespace ostrel
