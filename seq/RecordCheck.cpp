// The header and end tests of a record read by its range.
#include "seq/RecordCheck.h"

#include <algorithm>

namespace ostrel {

bool RecordStartsWithRead(const char* record, int64_t available, int64_t length, const std::string& name) {
  if (available < 1 || (record[0] != '>' && record[0] != '@')) return false;
  // The name is the first word after the '>' or '@', as the indexer takes it.
  int64_t at = 1;
  while (at < available && (record[at] == ' ' || record[at] == '\t')) ++at;
  const int64_t nameLength = static_cast<int64_t>(name.size());
  if (length - at < nameLength) return false;
  const int64_t compared = std::min(nameLength, available - at);
  if (name.compare(0, static_cast<size_t>(compared), record + at, static_cast<size_t>(compared)) != 0)
    return false;
  // The record ends after the name, or the rest is not at hand.
  if (available <= at + nameLength) return true;
  // A carriage return ends the name only where it ends the line.
  const int64_t after = at + nameLength;
  const char next = record[after];
  if (next == '\r') return after + 1 >= available || record[after + 1] == '\n';
  return next == ' ' || next == '\t' || next == '\n';
}

RangeHolds WhatQualityRangeHolds(const char* record, int64_t length, char next, const std::string& name) {
  if (length < 1 || record[0] != '>') return RangeHolds::kNoRecord;
  if (!RecordStartsWithRead(record, length, length, name)) return RangeHolds::kAnotherRead;
  return EndsRecord(next) ? RangeHolds::kTheRead : RangeHolds::kNoRecord;
}

}  // namespace ostrel
