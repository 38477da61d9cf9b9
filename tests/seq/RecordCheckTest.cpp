#include "seq/RecordCheck.h"

#include <gtest/gtest.h>

#include <string>

#include "seq/IndexLine.h"

namespace ostrel {
namespace {

TEST(RecordCheck, RecordStartsWithRead) {
  struct Case {
    const char* record;
    int64_t available;  // -1: the whole record
    const char* name;
    bool starts;
  };
  const Case cases[] = {
      {">readA\nAC", -1, "readA", true},     {">readA desc\nAC", -1, "readA", true},
      {">readA\tdesc", -1, "readA", true},   {">readA\r\nAC", -1, "readA", true},
      {">readA", -1, "readA", true},          {">readAB\nAC", -1, "readA", false},
      {"> \treadA x\n", -1, "readA", true},   {">  \n", -1, "readA", false},
      {">  readA\n", 4, "readA", true},
      {">read\nAC", -1, "readA", false},     {"readA\nAC", -1, "readA", false},
      {"AC\n>readA\n", -1, "readA", false}, {">rea", -1, "readA", false},
      {"", -1, "readA", false},              {">readA\nAC", 4, "readA", true},
      {">reaX\nAC", 5, "readA", false},      {">readAB", 6, "readA", true},
      {"@readA 1\nAC\n+\nII", -1, "readA", true}, {"@readAB\nAC", -1, "readA", false},
      {"+readA\n", -1, "readA", false},        {">readA\rB\n", -1, "readA", false},
      {">readA\r", -1, "readA", true},
  };
  for (const Case& c : cases) {
    const int64_t length = static_cast<int64_t>(std::string(c.record).size());
    EXPECT_EQ(c.starts, RecordStartsWithRead(c.record, c.available < 0 ? length : c.available, length, c.name))
        << c.record;
  }
  for (char next : std::string(">@\n\r")) EXPECT_TRUE(EndsRecord(next));
  for (char next : std::string("A \t*0")) EXPECT_FALSE(EndsRecord(next));
}

TEST(RecordCheck, WhatQualityRangeHolds) {
  struct Case {
    const char* record;
    char next;
    RangeHolds holds;
  };
  const Case cases[] = {
      {">readA\n10 20\n", '>', RangeHolds::kTheRead},    {">readA x\n10 20", '\n', RangeHolds::kTheRead},
      {">readA\n10 2", '0', RangeHolds::kNoRecord},       {">readB\n10", '0', RangeHolds::kAnotherRead},
      {"10 20\n>readA\n", '>', RangeHolds::kNoRecord},   {"@readA\nAC\n+\nII\n", '@', RangeHolds::kNoRecord},
      {"", '\n', RangeHolds::kNoRecord},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.holds, WhatQualityRangeHolds(c.record, static_cast<int64_t>(std::string(c.record).size()), c.next,
                                             "readA"))
        << c.record;
}

TEST(IndexLine, WrittenLinesReadBackAndLooseFormsRead) {
  std::string text;
  AppendIndexLine(text, "read/1", 6, 1, 9876543210LL);
  EXPECT_EQ("read/1\t1\t9876543210\n", text);
  struct Case {
    const char* mLine;
    const char* mName;
    int64_t mStart, mEnd;
  };
  const Case cases[] = {
      {"read/1\t1\t9876543210", "read/1", 1, 9876543210LL}, {"  read7 120 455", "read7", 120, 455},
      {"read7 start=120 end=455 x 9", "read7", 120, 455},   {"read7 -5 3", "read7", -5, 3},
      {"read7", "read7", 0, 0},                             {"", "", 0, 0},
  };
  for (const Case& c : cases) {
    std::string name;
    int64_t start = -1, end = -1;
    ParseIndexLine(c.mLine, name, start, end);
    EXPECT_EQ(c.mName, name) << c.mLine;
    EXPECT_EQ(c.mStart, start) << c.mLine;
    EXPECT_EQ(c.mEnd, end) << c.mLine;
  }
}

}  // namespace
}  // namespace ostrel
