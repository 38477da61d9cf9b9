// A contig's alignment as text: the consensus and every read in windows of
// consensus columns, trimmed and masked stretches marked, and on request the
// quality values under each row.
#include "ace/Contig.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "util/NumberUtil.h"

namespace ostrel {

namespace {

constexpr int kIndexWidth = 7;  // first column or read offset, right-aligned

// A row's columns gather here and reach the stream in blocks: one write per
// row or block rather than per column, and a very wide window never holds
// its whole row in memory. Whatever goes to the stream directly must go
// while nothing is pending, that is at the start of a row.
class ColumnWriter {
public:
  explicit ColumnWriter(std::ostream& out) : mOut(out) {}
  ~ColumnWriter() { Flush(); }
  ColumnWriter(const ColumnWriter&) = delete;
  ColumnWriter& operator=(const ColumnWriter&) = delete;

  void Put(char c) {
    mText.push_back(c);
    if (mText.size() >= kBlock) Flush();
  }
  void Put(const std::string& s) {
    mText += s;
    if (mText.size() >= kBlock) Flush();
  }
  // Three columns for a quality value, left-aligned.
  void PutLeft3(const std::string& s) {
    Put(s);
    for (size_t i = s.size(); i < 3; ++i) Put(' ');
  }
  void EndLine() {
    mText.push_back('\n');
    Flush();
  }

private:
  static constexpr size_t kBlock = size_t{1} << 16;
  void Flush() {
    mOut.write(mText.data(), static_cast<std::streamsize>(mText.size()));
    mText.clear();
  }

  std::ostream& mOut;
  std::string mText;
};

bool IsMaskedX(char c) { return c == 'X' || c == 'x'; }

// The consensus as the prints show it, column by column (0-based indexes).
class ConsensusView {
public:
  explicit ConsensusView(const Contig& contig)
      : mBases(contig.mBases), mQualities(contig.mQuality.mQualities),
        mLength(static_cast<int64_t>(contig.mBases.size())),
        mTrimFirst(std::max(contig.mTrimStart, 0)), mTrimLast(contig.mTrimEnd) {}

  bool Inside(int64_t i) const { return i >= 0 && i < mLength; }
  bool Trimmed(int64_t i) const { return Inside(i) && i >= mTrimFirst && i <= mTrimLast; }
  char Mark(int64_t i) const { return Trimmed(i) ? mBases[i] : Inside(i) ? '-' : '.'; }
  // The quality column; a trimmed column past the last value (pads at the
  // end have none) shows blanks.
  void PutQuality(ColumnWriter& row, int64_t i) const {
    if (!Trimmed(i))
      row.Put(Inside(i) ? "-  " : ".  ");
    else if (i < static_cast<int64_t>(mQualities.size()))
      row.PutLeft3(std::to_string(mQualities[i]));
    else
      row.Put("   ");
  }

private:
  const std::vector<char>& mBases;
  const std::vector<int>& mQualities;
  int64_t mLength, mTrimFirst, mTrimLast;
};

// One placed read as the prints show it, by read offset (0-based index into
// the padded read). Offsets are 64-bit: a start near either int limit plus a
// column leaves int.
class ReadView {
public:
  ReadView(const Contig& contig, int readIdx)
      : mBases(contig.mReads[readIdx].mBases), mLength(static_cast<int64_t>(mBases.size())),
        mFirstIndex(static_cast<int64_t>(contig.mAlignStart[readIdx]) - 1) {
    // Reads whose trims were never computed have an empty trim range.
    if (readIdx < static_cast<int>(contig.mReadTrimStart.size()) &&
        readIdx < static_cast<int>(contig.mReadTrimEnd.size())) {
      mTrimFirst = contig.mReadTrimStart[readIdx];
      mTrimLast = contig.mReadTrimEnd[readIdx];
    }
    if (readIdx < static_cast<int>(contig.mReadQuality.size()))
      mQualities = &contig.mReadQuality[readIdx].mQualities;
  }

  int64_t Offset(int64_t column) const { return column - mFirstIndex; }
  char Mark(int64_t q) const {
    if (q < 0 || q >= mLength) return '.';
    if (q >= mTrimFirst && q <= mTrimLast) return mBases[q];
    return IsMaskedX(mBases[q]) ? '%' : '-';
  }
  // Blanks where the read has no value: off the read, or past a short list.
  void PutQuality(ColumnWriter& row, int64_t q) const {
    if (q < 0 || mQualities == nullptr || q >= static_cast<int64_t>(mQualities->size())) {
      row.Put("   ");
      return;
    }
    const int v = (*mQualities)[q];
    if (v < 10) row.Put(' ');
    row.Put(std::to_string(v));
    row.Put(' ');
  }

private:
  const std::vector<char>& mBases;
  int64_t mLength;
  int64_t mFirstIndex;  // 0-based consensus index of read offset 0
  int64_t mTrimFirst = 0, mTrimLast = -1;
  const std::vector<int>* mQualities = nullptr;
};

// Calls printWindow(first, width) for each window: the first always, then
// every mWindowWidth columns while the start is below the consensus length
// and not past `end`. A width below 1 counts as 1, so the loop always ends.
template <typename PrintWindow>
void ForEachWindow(const Contig& contig, int start, int end, PrintWindow printWindow) {
  const int64_t width = std::max(contig.mWindowWidth, 1);
  const int64_t length = static_cast<int64_t>(contig.mBases.size());
  const int64_t last = end < 0 ? length - 1 : end;
  int64_t first = start;
  do {
    printWindow(first, width);
    first += width;
  } while (first < length && first <= last);
}

void PrintRowHead(std::ostream& out, int nameWidth, const std::string& name, int64_t index) {
  PrintSpacePaddedString(out, nameWidth, name);
  PrintSpacePaddedNum(out, kIndexWidth, ClampToInt(index));
  out << ' ';
}

}  // namespace

int Contig::NameWidth() const {
  size_t width = std::max(static_cast<size_t>(kAlignmentNameWidth), mName.size());
  for (const Sequence& read : mReads) width = std::max(width, read.mName.size());
  return ClampToInt(static_cast<int64_t>(width));
}

void Contig::PrintAlignment(std::ostream& out, int start, int end, int nameWidth) const {
  const ConsensusView consensus(*this);
  ColumnWriter row(out);
  ForEachWindow(*this, start, end, [&](int64_t first, int64_t width) {
    PrintRowHead(out, nameWidth, mName, first);
    for (int64_t i = first; i < first + width; ++i) row.Put(consensus.Mark(i));
    row.EndLine();
    for (int r = 0; r < static_cast<int>(mReads.size()); ++r) {
      if (!IsPlacedRead(r)) continue;
      const ReadView read(*this, r);
      const int64_t q0 = read.Offset(first);
      PrintRowHead(out, nameWidth, mReads[r].mName, q0);
      for (int64_t q = q0; q < q0 + width; ++q) row.Put(read.Mark(q));
      row.EndLine();
    }
    out << '\n';
  });
}

void Contig::PrintAlignmentWithQuality(std::ostream& out, int start, int end, int nameWidth) const {
  // Read quality rows carry no name or offset.
  const int readQualityIndent = ClampToInt(int64_t{nameWidth} + kIndexWidth + 1);
  const ConsensusView consensus(*this);
  ColumnWriter row(out);
  ForEachWindow(*this, start, end, [&](int64_t first, int64_t width) {
    PrintRowHead(out, nameWidth, mName, first);
    for (int64_t i = first; i < first + width; ++i) {
      row.Put(' ');
      row.Put(consensus.Mark(i));
      row.Put(' ');
    }
    row.EndLine();
    PrintRowHead(out, nameWidth, " ", first);
    for (int64_t i = first; i < first + width; ++i) consensus.PutQuality(row, i);
    row.EndLine();
    out << '\n';
    for (int r = 0; r < static_cast<int>(mReads.size()); ++r) {
      if (!IsPlacedRead(r)) continue;
      const ReadView read(*this, r);
      const int64_t q0 = read.Offset(first);
      PrintRowHead(out, nameWidth, mReads[r].mName, q0);
      for (int64_t q = q0; q < q0 + width; ++q) {
        row.Put(' ');
        row.Put(read.Mark(q));
        row.Put(' ');
      }
      row.EndLine();
      PrintSpacePaddedString(out, readQualityIndent, " ");
      for (int64_t q = q0; q < q0 + width; ++q) read.PutQuality(row, q);
      row.EndLine();
    }
    out << "\n\n";
  });
}

char Contig::GetAlignedCharacter(int read, int column) const {
  if (!IsPlacedRead(read)) return '#';
  if (column >= static_cast<int64_t>(mBases.size())) return '@';
  const ReadView view(*this, read);
  return view.Mark(view.Offset(column));
}

}  // namespace ostrel
