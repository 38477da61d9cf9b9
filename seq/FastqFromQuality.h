// Writing a read's FASTA record and its quality record as one FASTQ record:
//
//   '@' and the FASTA header line after its '>' (a carriage return ending
//   it left out), the sequence lines joined into one (blanks, tabs and
//   carriage returns left out), a bare '+' line, and one character per
//   quality value, the value plus 33 (Phred + 33). FASTQ holds values 0 to
//   93: a value above 93 is written as 93, one below 0 as 0, and both are
//   counted, for a note after the run.
//
// A read is written only when its quality record holds one value per base.
#ifndef OSTREL_SEQ_FASTQFROMQUALITY_H
#define OSTREL_SEQ_FASTQFROMQUALITY_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel {

class FastqFromQuality {
public:
  static constexpr int kHighestValue = 93;  // '~', the last printable character
  static constexpr int kOffset = 33;

  enum class Result {
    kWritten,
    kNoQualityRecord,  // the read has no quality record: nothing written
    kCountsDiffer,     // mBases and mValues differ: nothing written
  };

  // Appends the FASTQ record of FASTA record `fasta` (its '>' header line
  // and sequence lines) with quality record `quality` (its '>' header line
  // and lines of values; empty when the read has none) to `fastq`.
  Result Append(std::string_view fasta, std::string_view quality, std::string& fastq);

  int64_t mBases = 0;   // of the last read given
  int64_t mValues = 0;  // of its quality record
  int64_t mRaisedValues = 0;   // values below 0 written as 0, over all reads
  int64_t mLoweredValues = 0;  // values above 93 written as 93, over all reads

private:
  std::vector<int> mQualities;
};

}  // namespace ostrel

#endif
