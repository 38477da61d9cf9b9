// Filling, reading out, testing and transforming the bases of a Sequence.
#include "seq/Sequence.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "util/LineScan.h"
#include "util/StringUtil.h"

namespace ostrel {

namespace {

// The part of positions start .. start+count-1 that lies inside a sequence
// of `length` characters, as [lo, hi); empty when none does.
void ClampRange(long start, long count, size_t length, size_t& lo, size_t& hi) {
  const long long len = static_cast<long long>(length);
  const long long first = std::max<long long>(start, 0);
  const long long past = std::min<long long>(static_cast<long long>(start) + count, len);
  lo = static_cast<size_t>(std::min(first, len));
  hi = past > first ? static_cast<size_t>(past) : lo;
}

bool PassesUpperCaseBaseTest(char c) { return (static_cast<unsigned char>(c) & 0x28) == 0; }

}  // namespace

void Sequence::InitFromCString(const char* text) { mBases.assign(text, text + std::strlen(text)); }

void Sequence::InitFromString(std::string& text) {
  StripWhiteSpace(text);
  ConcatenateString(text);
}

void Sequence::ConcatenateCString(const char* text) {
  mBases.insert(mBases.end(), text, text + std::strlen(text));
}

void Sequence::ConcatenateString(const std::string& text) {
  mBases.insert(mBases.end(), text.begin(), text.end());
}

void Sequence::ConcatenateNonWhiteSpace(const std::string& text) {
  for (char c : text)
    if (!IsWS(c)) mBases.push_back(c);
}

void Sequence::ConcatenateStringSafe(const std::string& text) {
  for (char c : text) mBases.push_back(IsBase(c) ? c : '\0');
}

void Sequence::Concatenate(const Sequence& other) {
  // A copy first: `other` may be this sequence.
  const std::vector<char> added = other.mBases;
  mBases.insert(mBases.end(), added.begin(), added.end());
}

void Sequence::CopyToString(std::string& out) const { out.append(mBases.begin(), mBases.end()); }

void Sequence::CopyToCString(char* out) const {
  std::copy(mBases.begin(), mBases.end(), out);
  out[mBases.size()] = '\0';
}

void Sequence::Print(std::ostream& out) const {
  out << mName << ' ' << mDescription << '\n';
  PrintSeq(out);
}

void Sequence::PrintSeq(std::ostream& out) const {
  out.write(mBases.data(), static_cast<std::streamsize>(mBases.size()));
  out << '\n';
}

void Sequence::PrintFASTA(std::ostream& out, int lineWidth) const {
  out << '>' << mName;
  if (!mDescription.empty()) out << ' ' << mDescription;
  out << '\n';
  const size_t width = lineWidth > 0 ? static_cast<size_t>(lineWidth) : std::max<size_t>(mBases.size(), 1);
  for (size_t at = 0; at < mBases.size(); at += width) {
    out.write(mBases.data() + at, static_cast<std::streamsize>(std::min(width, mBases.size() - at)));
    out << '\n';
  }
}

void Sequence::GetSubSequence(Sequence& out, long start, long end) const {
  // `out` may be this sequence: read everything before writing to it.
  std::vector<char> bases;
  const long length = static_cast<long>(mBases.size());
  if (end >= 0) {
    start = std::max(start, 0L);
    end = std::min(end, length - 1);
  }
  if (end < 0 || end - start < 0) {
    out.mBases.clear();
    return;
  }
  bases.assign(mBases.begin() + start, mBases.begin() + end + 1);
  char bounds[64];
  std::snprintf(bounds, sizeof bounds, "[%ld,%ld]", start, end);
  out.mDescription = mDescription + bounds;
  out.mName = mName;
  out.mBases.swap(bases);
}

bool Sequence::IsBase(char c) {
  switch (c) {
    case 'A': case 'C': case 'G': case 'T':
    case 'a': case 'c': case 'g': case 't':
      return true;
    default:
      return false;
  }
}

bool Sequence::IsBaseNX(char c) { return ostrel::IsBase(c); }

bool Sequence::OnlyUpperCaseBases() const {
  return std::all_of(mBases.begin(), mBases.end(), PassesUpperCaseBaseTest);
}

bool Sequence::OnlyUpperCaseBases(int start, int count) const {
  size_t lo, hi;
  ClampRange(start, count, mBases.size(), lo, hi);
  return std::all_of(mBases.begin() + lo, mBases.begin() + hi, PassesUpperCaseBaseTest);
}

bool Sequence::ContainsOnlyBasesSafe() const {
  return std::all_of(mBases.begin(), mBases.end(), IsBase);
}

bool Sequence::ContainsOnlyBasesSafe(int start, int count) const {
  size_t lo, hi;
  ClampRange(start, count, mBases.size(), lo, hi);
  return std::all_of(mBases.begin() + lo, mBases.begin() + hi, IsBase);
}

bool Sequence::ContainsNonBaseSafe(int start, int count) const {
  return !ContainsOnlyBasesSafe(start, count);
}

// The ambiguity codes too: R (A or G) pairs with Y (C or T), K with M, B
// with V, D with H; S, W and N are their own complements.
char Sequence::ComplementBase(char c) {
  switch (c) {
    case 'A': return 'T';
    case 'T': return 'A';
    case 'C': return 'G';
    case 'G': return 'C';
    case 'R': return 'Y';
    case 'Y': return 'R';
    case 'K': return 'M';
    case 'M': return 'K';
    case 'B': return 'V';
    case 'V': return 'B';
    case 'D': return 'H';
    case 'H': return 'D';
    case 'a': return 't';
    case 't': return 'a';
    case 'c': return 'g';
    case 'g': return 'c';
    case 'r': return 'y';
    case 'y': return 'r';
    case 'k': return 'm';
    case 'm': return 'k';
    case 'b': return 'v';
    case 'v': return 'b';
    case 'd': return 'h';
    case 'h': return 'd';
    default: return c;
  }
}

void Sequence::Complement() {
  for (char& c : mBases) c = ComplementBase(c);
}

void Sequence::Reverse() { std::reverse(mBases.begin(), mBases.end()); }

void Sequence::ReverseComplement() {
  Reverse();
  Complement();
}

void Sequence::ToLowerCase() {
  for (char& c : mBases) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

void Sequence::ToUpperCase() {
  for (char& c : mBases) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

void Sequence::Nify() {
  for (char& c : mBases)
    if (!IsBase(c)) c = 'n';
}

void Sequence::Trim(long left, long right) {
  const long length = static_cast<long>(mBases.size());
  const long leftEnd = std::min(left, length - 1);
  for (long i = 0; i <= leftEnd; ++i) mBases[i] = 'X';
  for (long i = std::max(right, 0L); i < length; ++i) mBases[i] = 'X';
}

}  // namespace ostrel
