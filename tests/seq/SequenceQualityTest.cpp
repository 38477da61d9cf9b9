#include "seq/SequenceQuality.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace ostrel {
namespace {

SequenceQuality Make(const std::vector<int>& values) {
  SequenceQuality q;
  q.mQualities = values;
  return q;
}

// The printed lines after the header, as counts of values per line.
std::vector<int> ValuesPerLine(const std::string& printed) {
  std::vector<int> counts;
  std::istringstream in(printed.substr(printed.find('\n') + 1));
  std::string line;
  while (std::getline(in, line)) counts.push_back(static_cast<int>(std::count(line.begin(), line.end(), ' ')));
  return counts;
}

std::string Printed(const SequenceQuality& q) {
  std::ostringstream out;
  q.Print(out);
  return out.str();
}

TEST(SequenceQuality, FirstLineHoldsFiftyOneValues) {
  SequenceQuality q = Make(std::vector<int>(120, 30));
  EXPECT_EQ((std::vector<int>{51, 50, 19}), ValuesPerLine(Printed(q)));
  const std::string exact = Printed(Make(std::vector<int>(101, 7)));
  EXPECT_EQ((std::vector<int>{51, 50}), ValuesPerLine(exact));
  EXPECT_EQ("7 \n", exact.substr(exact.size() - 3));  // one line end, not two
  EXPECT_EQ((std::vector<int>{51}), ValuesPerLine(Printed(Make(std::vector<int>(51, 7)))));
  EXPECT_EQ((std::vector<int>{50}), ValuesPerLine(Printed(Make(std::vector<int>(50, 7)))));
}

TEST(SequenceQuality, PrintOfShortRecords) {
  SequenceQuality q = Make({42});
  q.mName = "read1";
  q.mDescription = "d";
  EXPECT_EQ(">read1 d\n42 \n", Printed(q));
  EXPECT_EQ("> \n\n", Printed(SequenceQuality()));
  test::CaptureStdout captured;
  q.Print();
  EXPECT_EQ(">read1 d\n42 \n", captured.Text());
}

TEST(SequenceQuality, Phred20Searches) {
  SequenceQuality low = Make({5, 5, 5});
  EXPECT_EQ(2, low.FindPhred20(0));
  EXPECT_EQ(0, low.RFindPhred20());
  EXPECT_EQ(0, low.CountPhred20());
  SequenceQuality mid = Make({5, 25, 5});
  EXPECT_EQ(1, mid.FindPhred20(0));
  EXPECT_EQ(1, mid.RFindPhred20());
  EXPECT_EQ(2, mid.FindPhred20(2));
  EXPECT_EQ(2, mid.FindPhred20(7));
  EXPECT_EQ(0, mid.RFindPhred20(-1));
  EXPECT_EQ(1, Make({19, 20}).CountPhred20());
}

TEST(SequenceQuality, SearchesOutsideTheValuesStayInside) {
  SequenceQuality q = Make({30, 5});
  EXPECT_EQ(0, q.FindPhred20(-10));
  EXPECT_EQ(0, q.RFindPhred20(1000));
  EXPECT_EQ(-1, SequenceQuality().FindPhred20(0));
  EXPECT_EQ(0, SequenceQuality().RFindPhred20());
}

TEST(SequenceQuality, TrimZeroesEndsWithinTheValues) {
  SequenceQuality q = Make({1, 2, 3, 4, 5, 6});
  q.Trim(0, 4);
  EXPECT_EQ((std::vector<int>{0, 2, 3, 4, 0, 0}), q.mQualities);
  q = Make({1, 2, 3});
  q.Trim(-1, 3);
  EXPECT_EQ((std::vector<int>{1, 2, 3}), q.mQualities);
  q.Trim(-50, 99);
  EXPECT_EQ((std::vector<int>{1, 2, 3}), q.mQualities);
  q.Trim(99, -50);
  EXPECT_EQ((std::vector<int>{0, 0, 0}), q.mQualities);
}

TEST(SequenceQuality, ConcatenateAndReverse) {
  SequenceQuality q = Make({1, 2});
  q.mName = "n";
  q.Concatenate(Make({3}));
  q.Concatenate(q);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 1, 2, 3}), q.mQualities);
  q.Reverse();
  EXPECT_EQ((std::vector<int>{3, 2, 1, 3, 2, 1}), q.mQualities);
  EXPECT_EQ("n", q.mName);
}

}  // namespace
}  // namespace ostrel
