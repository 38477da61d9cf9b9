// FASTQ records made of FASTA and quality records.
#include "seq/FastqFromQuality.h"

#include "util/TokenScan.h"

namespace ostrel {

namespace {

// The part of a record after its header line's newline; empty when the
// record is its header alone.
std::string_view AfterHeader(std::string_view record) {
  const size_t newline = record.find('\n');
  return newline == std::string_view::npos ? std::string_view() : record.substr(newline + 1);
}

bool IsSequenceByte(char c) { return c != '\n' && c != '\r' && c != ' ' && c != '\t'; }

}  // namespace

FastqFromQuality::Result FastqFromQuality::Append(std::string_view fasta, std::string_view quality,
                                                  std::string& fastq) {
  const std::string_view sequence = AfterHeader(fasta);
  mBases = 0;
  for (char c : sequence) mBases += IsSequenceByte(c) ? 1 : 0;
  mValues = 0;
  if (quality.empty()) return Result::kNoQualityRecord;
  mQualities.clear();
  const std::string_view values = AfterHeader(quality);
  GetIntsFromLines(values.data(), values.data() + values.size(), mQualities);
  mValues = static_cast<int64_t>(mQualities.size());
  if (mValues != mBases) return Result::kCountsDiffer;

  std::string_view header = fasta.substr(0, fasta.size() - sequence.size());
  if (!header.empty()) header.remove_prefix(1);  // its '>'
  if (!header.empty() && header.back() == '\n') header.remove_suffix(1);
  if (!header.empty() && header.back() == '\r') header.remove_suffix(1);
  fastq.reserve(fastq.size() + header.size() + 2 * static_cast<size_t>(mBases) + 6);
  fastq += '@';
  fastq += header;
  fastq += '\n';
  for (char c : sequence)
    if (IsSequenceByte(c)) fastq += c;
  fastq += "\n+\n";
  for (int value : mQualities) {
    if (value < 0) {
      ++mRaisedValues;
      value = 0;
    } else if (value > kHighestValue) {
      ++mLoweredValues;
      value = kHighestValue;
    }
    fastq += static_cast<char>(value + kOffset);
  }
  fastq += '\n';
  return Result::kWritten;
}

}  // namespace ostrel
