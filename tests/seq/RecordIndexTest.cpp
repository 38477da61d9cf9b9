#include "seq/RecordIndex.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>

#include "TestSupport.h"
#include "seq/QualityRecordFile.h"

namespace ostrel {
namespace {

// Quality records: r2 twice (its first record holds no values), r3 with
// CR LF line ends.
const char* const kQualities = ">r1 one\n10 20\n30\n>r2\n\n>r2 again\n50\n\n>r3\r\n60 70\r\n\r\n>r4\n1\n";

std::vector<std::string> RecordsOf(const RecordIndex& index, int fd, const std::string& name) {
  const int64_t size = ::lseek(fd, 0, SEEK_END);
  std::vector<RecordIndex::Range> ranges;
  index.Find(name, ranges);
  std::vector<std::string> records;
  std::string record;
  for (const RecordIndex::Range& range : ranges)
    if (RecordIndex::ReadRecord(fd, size, range, record)) records.push_back(record);
  return records;
}

TEST(RecordIndex, ScansTheDataOrTakesACurrentIndexFile) {
  test::TempDir dir;
  const std::string data = dir.Path("reads.qual");
  test::WriteFile(data, kQualities);
  RecordIndex index;
  ASSERT_TRUE(index.Load(data));
  EXPECT_FALSE(index.mFromIndexFile);
  EXPECT_EQ(5u, index.Size());
  const int fd = ::open(data.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  using Records = std::vector<std::string>;
  EXPECT_EQ(Records{">r1 one\n10 20\n30\n"}, RecordsOf(index, fd, "r1"));
  EXPECT_EQ((Records{">r2\n", ">r2 again\n50\n"}), RecordsOf(index, fd, "r2"));  // in file order
  EXPECT_EQ(Records{">r3\r\n60 70\r\n"}, RecordsOf(index, fd, "r3"));
  EXPECT_EQ(Records{}, RecordsOf(index, fd, "r5"));
  // Ranges outside the data are refused, not read.
  const int64_t size = static_cast<int64_t>(std::strlen(kQualities));
  std::string record = "left over";
  for (const RecordIndex::Range& bad : {RecordIndex::Range{0, 3}, RecordIndex::Range{5, 4},
                                        RecordIndex::Range{1, 1000}, RecordIndex::Range{1, INT64_MAX}}) {
    EXPECT_FALSE(RecordIndex::ReadRecord(fd, size, bad, record));
    EXPECT_EQ("", record);
  }
  ::close(fd);

  // An index file as new as the data is taken as it stands, lines that
  // give no range left out; an older one is not.
  // Positions past the 64-bit range stop at its end.
  test::WriteFile(data + "_idx",
                  "r2\t1\t4\nr9 5 9\nr8 9 2\nr7 0 3\n\nrM 9223372036854775807 99999999999999999999\nr6 1");
  ASSERT_TRUE(index.Load(data));
  EXPECT_TRUE(index.mFromIndexFile);
  EXPECT_EQ(3u, index.Size());
  std::vector<RecordIndex::Range> ranges;
  index.Find("r9", ranges);
  ASSERT_EQ(1u, ranges.size());
  EXPECT_EQ(5, ranges[0].mStart);
  EXPECT_EQ(9, ranges[0].mEnd);
  index.Find("rM", ranges);
  ASSERT_EQ(1u, ranges.size());
  EXPECT_EQ(INT64_MAX, ranges[0].mStart);
  EXPECT_EQ(INT64_MAX, ranges[0].mEnd);
  index.Find("r1", ranges);
  EXPECT_TRUE(ranges.empty());
  std::filesystem::last_write_time(data + "_idx", std::filesystem::last_write_time(data) - std::chrono::hours(1));
  ASSERT_TRUE(index.Load(data));
  EXPECT_FALSE(index.mFromIndexFile);
  EXPECT_EQ(5u, index.Size());

  // Scanned in two parts, split at the first header past the middle (here
  // past a long record), the data gives the same index; a fault is found.
  std::string many;
  for (int r = 0; r < 200; ++r) many += ">n" + std::to_string(r) + "\n" + std::string(r % 7 * 40, '1') + "\n\n";
  test::WriteFile(data, many + ">long\n" + std::string(3000, '2') + "\n" + many);
  std::filesystem::remove(data + "_idx");
  RecordIndex whole, split;
  split.mSplitScanFrom = 1;
  ASSERT_TRUE(whole.Load(data));
  ASSERT_TRUE(split.Load(data));
  EXPECT_EQ(401u, split.Size());
  const int manyFd = ::open(data.c_str(), O_RDONLY);
  for (const std::string name : {"n0", "n3", "n199", "long"}) {
    EXPECT_EQ(name == "long" ? 1u : 2u, RecordsOf(split, manyFd, name).size()) << name;
    EXPECT_EQ(RecordsOf(whole, manyFd, name), RecordsOf(split, manyFd, name)) << name;
  }
  ::close(manyFd);
  // Many names at once give each name's first record, as Find does.
  std::vector<std::string> names = {"long", "none"};
  for (int r = 0; r < 200; r += 3) names.push_back("n" + std::to_string(r));
  for (const RecordIndex* each : {&whole, &split}) {
    std::vector<RecordIndex::Range> first;
    each->FindFirst(names, first);
    ASSERT_EQ(names.size(), first.size());
    for (size_t i = 0; i < names.size(); ++i) {
      each->Find(names[i], ranges);
      const RecordIndex::Range expected = ranges.empty() ? RecordIndex::Range{} : ranges[0];
      EXPECT_EQ(expected.mStart, first[i].mStart) << names[i];
      EXPECT_EQ(expected.mEnd, first[i].mEnd) << names[i];
    }
  }
  test::WriteFile(data, many + ">\n" + many);
  EXPECT_FALSE(split.Load(data));
  EXPECT_EQ(data + ": the header has no name at byte " + std::to_string(many.size() + 1), split.mError);

  // Text that is not '>' records, a record too long to index, and no data.
  test::WriteFile(dir.Path("bad.qual"), "10 20\n>r1\n");
  EXPECT_FALSE(index.Load(dir.Path("bad.qual")));
  EXPECT_EQ(0u, index.Size());
  EXPECT_FALSE(index.mError.empty());
  test::WriteFile(dir.Path("bad.qual_idx"), "r1 1 5000000000\n");
  EXPECT_FALSE(index.Load(dir.Path("bad.qual")));
  EXPECT_EQ("the record of r1 is longer than 4 GiB", index.mError);
  EXPECT_FALSE(index.Load(dir.Path("none.qual")));
  EXPECT_EQ("cannot read " + dir.Path("none.qual"), index.mError);
}

// Records fetched by name, alone or many at once (read ahead or as they
// are parsed), are read as the sequential quality reader reads them; a
// stale range is said and skipped.
TEST(QualityRecordFile, FetchesTheFirstRecordWithValues) {
  test::TempDir dir;
  const std::string data = dir.Path("reads.qual");
  // r6 lies too far past the others to be read with them.
  const std::string text = std::string(kQualities) + ">filler\n" + std::string(5000, '9') + "\n>r6\n7\n";
  test::WriteFile(data, text);
  QualityRecordFile file;
  ASSERT_TRUE(file.Open(data));
  struct Case {
    std::string name;
    bool found;
    std::vector<int> values;
    const char* description;
  };
  const std::vector<Case> cases = {{"r4", true, {1}, ""},  {"r1", true, {10, 20, 30}, "one"},
                                   {"r6", true, {7}, ""},  {"r2", true, {50}, "again"},
                                   {"r3", true, {60, 70}, ""}, {"r5", false, {}, ""}};
  std::vector<std::string> names;
  for (const Case& c : cases) names.push_back(c.name);
  std::ostringstream messages;
  std::vector<QualityRecordFile::Fetched> many;
  for (const size_t maxBatchText : {file.mMaxBatchText, size_t{1}}) {
    file.mMaxBatchText = maxBatchText;
    file.Fetch(names, many, messages);
    ASSERT_EQ(cases.size(), many.size());
    for (size_t i = 0; i < cases.size(); ++i) {
      const Case& c = cases[i];
      QualityRecordFile::Fetched one;
      file.Fetch(c.name, one, messages);
      for (const QualityRecordFile::Fetched& fetched : {one, many[i]}) {
        EXPECT_EQ(c.found, fetched.mFound) << c.name;
        if (!c.found) continue;
        EXPECT_EQ(c.values, fetched.mQuality.mQualities) << c.name;
        EXPECT_EQ(c.description, fetched.mQuality.mDescription) << c.name;
        EXPECT_EQ(text.find(">" + c.name + (c.name == "r2" ? " again" : "")) + 1, static_cast<size_t>(fetched.mStart));
      }
    }
  }
  // A batch parsed for fewer or other names than it was read for gives
  // each name its own record, and reads nothing past the names.
  QualityRecordFile::RecordBatch batch;
  file.ReadRecords(names, batch);
  for (size_t i : {0, 1}) {
    std::vector<std::vector<int>> taken;
    file.ParseRecords({names[i]}, batch, messages, [&](size_t k, QualityRecordFile::Fetched& record) {
      EXPECT_EQ(0u, k);
      taken.push_back(record.mQuality.mQualities);
    });
    EXPECT_EQ(std::vector<std::vector<int>>{cases[i].values}, taken);
  }
  EXPECT_EQ("", messages.str());
  EXPECT_FALSE(file.mStale);

  // The data rewritten under a current index: r1's range now starts
  // inside a record, r4's holds the start of r1's record, r3's the first
  // part of its own.
  test::WriteFile(data + "_idx", "r1 3 9\nr4 1 6\nr3 37 45\n");
  ASSERT_TRUE(file.Open(data));
  file.Fetch({"r1", "r4", "r3"}, many, messages);
  EXPECT_FALSE(many[0].mFound);
  EXPECT_FALSE(many[1].mFound);
  EXPECT_FALSE(many[2].mFound);
  const auto stale = [&data](const char* range, const char* read) {
    return data + " range " + range + " does not hold read " + read +
           ": the index looks stale (ostrel-fastaindex remakes it), record skipped.\n";
  };
  EXPECT_EQ(stale("3..9", "r1") + stale("37..45", "r3"), messages.str());
  EXPECT_TRUE(file.mStale);
  EXPECT_FALSE(file.Open(dir.Path("none.qual")));
}

}  // namespace
}  // namespace ostrel
