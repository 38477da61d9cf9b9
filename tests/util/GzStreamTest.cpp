#include "util/GzStream.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <sstream>
#include <string>

#include "TestSupport.h"
#include "util/FileUtil.h"
#include "util/LineScan.h"

namespace ostrel {
namespace {

using test::CaptureStdout;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Writes `text` gzip-compressed, appending a new member when `append`.
void WriteGzip(const std::string& path, const std::string& text, bool append = false) {
  gzFile out = gzopen(path.c_str(), append ? "ab" : "wb");
  ASSERT_NE(nullptr, out);
  ASSERT_EQ(static_cast<int>(text.size()), gzwrite(out, text.data(), static_cast<unsigned>(text.size())));
  ASSERT_EQ(Z_OK, gzclose(out));
}

std::string ReadAll(std::istream& in) {
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Lines of varying length, `size` bytes or a line more.
std::string ManyLines(size_t size = 400000) {
  std::string text;
  for (int i = 0; text.size() < size; ++i) text += "read" + std::to_string(i) + std::string(i % 97, 'A') + "\n";
  return text;
}

// Megabytes of lines, one of them longer than any refill, and no final
// newline.
std::string ManyRefills() {
  return ManyLines(3000000) + std::string(1500000, 'L') + "\n" + ManyLines(2000000) + "end";
}

TEST(GzStream, ConcatenatedMembersAndNoFinalNewline) {
  TempDir dir;
  WriteGzip(dir.Path("two.gz"), "first\nsec");
  WriteGzip(dir.Path("two.gz"), "ond\nlast", true);
  igzstream in(dir.Path("two.gz"));
  EXPECT_EQ("first\nsecond\nlast", ReadAll(in));
}

TEST(GzStream, EmptyAndMissingFiles) {
  TempDir dir;
  WriteFile(dir.Path("empty"), "");
  igzstream empty(dir.Path("empty"));
  EXPECT_TRUE(empty.is_open());
  EXPECT_EQ(std::char_traits<char>::eof(), empty.get());
  EXPECT_TRUE(empty.eof());

  igzstream missing(dir.Path("nothing"));
  EXPECT_FALSE(missing.is_open());
  EXPECT_TRUE(missing.fail());
  missing.close();  // nothing open: only the state says so
  EXPECT_TRUE(missing.fail());
}

TEST(GzStream, ReopenClearsStateAndPutBackCrossesRefills) {
  TempDir dir;
  const std::string text = ManyLines();
  WriteGzip(dir.Path("a.gz"), text);
  igzstream in(dir.Path("none"));
  ASSERT_TRUE(in.fail());
  in.open(dir.Path("a.gz"));
  ASSERT_TRUE(in.good());
  // Read exactly one refill, then step back over its end.
  std::string head(1 << 17, '\0');
  in.read(&head[0], static_cast<std::streamsize>(head.size()));
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text[head.size()], in.get());
  EXPECT_TRUE(in.unget());
  EXPECT_TRUE(in.unget());
  EXPECT_EQ(text[head.size() - 1], in.get());
  EXPECT_EQ(text.substr(head.size()), ReadAll(in));
}

// A gzip file cut short or with a changed byte ends where its good data
// ends, and the stream is bad, not merely at its end; a sound file and a
// plain file (cut anywhere, or changed) read to their end.
TEST(GzStream, DamagedDataEndsTheInputAndMakesTheStreamBad) {
  TempDir dir;
  const std::string text = ManyLines();
  const std::string twice = text + text;
  WriteGzip(dir.Path("whole.gz"), text);
  const std::string packed = ReadFile(dir.Path("whole.gz"));
  auto flipped = [](std::string bytes, size_t at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 0x10);
    return bytes;
  };
  struct Case {
    const char* what;
    std::string bytes;
    bool damaged;
    const std::string* prefixOf;  // what the lines read must begin, or nullptr
  };
  const Case cases[] = {
      {"whole", packed, false, &text},
      {"cut in the header", packed.substr(0, 6), true, &text},
      {"cut after the header", packed.substr(0, 12), true, &text},
      {"cut in the middle", packed.substr(0, packed.size() / 2), true, &text},
      {"cut in the trailer", packed.substr(0, packed.size() - 3), true, &text},
      {"last byte cut", packed.substr(0, packed.size() - 1), true, &text},
      {"second member cut", packed + packed.substr(0, packed.size() / 3), true, &twice},
      {"byte changed in the data", flipped(packed, packed.size() / 3), true, nullptr},
      {"byte changed near the end of the data", flipped(packed, packed.size() - 12), true, nullptr},
      {"check value changed", flipped(packed, packed.size() - 6), true, &text},
      {"length changed", flipped(packed, packed.size() - 2), true, &text},
      {"plain cut", text.substr(0, text.rfind('\n', text.size() / 2) + 1), false, &text},
      {"plain byte changed", flipped(text, 10), false, nullptr},
  };
  for (const Case& c : cases) {
    WriteFile(dir.Path("case.gz"), c.bytes);
    igzstream in(dir.Path("case.gz"));
    std::string got;
    std::string line;
    while (GetLine(in, line)) got += line + "\n";
    EXPECT_EQ(c.damaged, in.bad()) << c.what;
    EXPECT_EQ(c.damaged, in.rdbuf()->damaged()) << c.what;
    EXPECT_TRUE(in.eof()) << c.what;
    if (c.prefixOf != nullptr) {
      EXPECT_EQ(0, c.prefixOf->compare(0, got.size(), got)) << c.what;
    }
  }
}

// Plain and compressed copies read alike, whole and line by line, across
// many refills.
// A small file is read in blocks of its own size: a few kilobytes of gzip
// that hold megabytes come in many such blocks.
TEST(GzStream, PlainAndCompressedReadAlike) {
  TempDir dir;
  const std::string refills = ManyRefills();
  const std::string repeats = std::string(3 << 20, 'A') + "\n" + ManyLines(20000);
  WriteFile(dir.Path("plain.txt"), refills);
  WriteGzip(dir.Path("packed.gz"), refills);
  WriteGzip(dir.Path("small.gz"), repeats);
  ASSERT_GT(64 << 10, FileSize(dir.Path("small.gz")));
  for (const auto& [name, text] : {std::pair{"plain.txt", &refills}, {"packed.gz", &refills}, {"small.gz", &repeats}}) {
    igzstream whole(dir.Path(name));
    EXPECT_TRUE(ReadAll(whole) == *text) << name;

    igzstream in(dir.Path(name));
    std::string lines, line;
    while (GetLine(in, line)) lines += line + "\n";
    EXPECT_TRUE(lines == (text->back() == '\n' ? *text : *text + "\n")) << name;  // the last line may have none
    EXPECT_TRUE(in.eof()) << name;
  }
}

TEST(GzStream, PutBackWorksAtEveryPossibleRefillEdge) {
  TempDir dir;
  const std::string text = ManyRefills();
  WriteGzip(dir.Path("packed.gz"), text);
  igzstream in(dir.Path("packed.gz"));
  std::string chunk(1 << 16, '\0');
  for (size_t at = chunk.size(); at + 1 < text.size(); at += chunk.size()) {
    in.read(&chunk[0], static_cast<std::streamsize>(chunk.size() - 1));
    ASSERT_EQ(text[at - 1], in.get()) << at;
    ASSERT_EQ(text[at], in.get()) << at;
    ASSERT_TRUE(in.unget() && in.unget()) << at;
    ASSERT_EQ(text[at - 1], in.get()) << at;
    ASSERT_EQ(text.substr(at - chunk.size(), chunk.size() - 1), chunk.substr(0, chunk.size() - 1)) << at;
  }
}

TEST(GzStream, CloseOrDestroyHalfWayThenReopen) {
  TempDir dir;
  const std::string text = ManyRefills();
  WriteGzip(dir.Path("packed.gz"), text);
  std::string line;
  {
    igzstream in(dir.Path("packed.gz"));
    ASSERT_TRUE(GetLine(in, line));
  }  // destroyed with most of the file unread

  igzstream in(dir.Path("packed.gz"));
  ASSERT_TRUE(GetLine(in, line));
  EXPECT_EQ("read0", line);
  in.close();
  EXPECT_FALSE(in.is_open());
  EXPECT_FALSE(in.fail());
  in.open(dir.Path("packed.gz"));
  ASSERT_TRUE(in.good());
  EXPECT_TRUE(ReadAll(in) == text);
}

TEST(GzStream, LargeTruncatedAndEmptyGzipFiles) {
  TempDir dir;
  const std::string text = ManyRefills();
  WriteGzip(dir.Path("whole.gz"), text);
  const std::string packed = ReadFile(dir.Path("whole.gz"));
  WriteFile(dir.Path("cut.gz"), packed.substr(0, packed.size() * 2 / 3));
  igzstream cut(dir.Path("cut.gz"));
  const std::string got = ReadAll(cut);
  EXPECT_GT(got.size(), text.size() / 3);
  EXPECT_LT(got.size(), text.size());
  EXPECT_TRUE(text.compare(0, got.size(), got) == 0);
  EXPECT_EQ(std::char_traits<char>::eof(), cut.get());  // the end stays the end

  WriteGzip(dir.Path("empty.gz"), "");
  igzstream empty(dir.Path("empty.gz"));
  EXPECT_TRUE(empty.is_open());
  EXPECT_EQ(std::char_traits<char>::eof(), empty.get());
  EXPECT_TRUE(empty.eof());
}

TEST(IcbtStream, OpensTheNameItself) {
  TempDir dir;
  WriteGzip(dir.Path("reads.fa.gz"), ">r1\nACGT\n");
  icbtstream in;
  CaptureStdout out;
  ASSERT_TRUE(in.open(dir.Path("reads.fa.gz")));
  EXPECT_EQ(">r1\nACGT\n", ReadAll(in));
  EXPECT_EQ("", out.Text());
}

TEST(IcbtStream, GzNameFallsBackToItsRoot) {
  TempDir dir;
  WriteFile(dir.Path("reads.fa"), ">plain\n");
  icbtstream in;
  CaptureStdout out;
  ASSERT_TRUE(in.open(dir.Path("reads.fa.gz")));
  EXPECT_EQ("FileRoot=" + dir.Path("reads.fa") + "\n", out.Text());
  EXPECT_EQ(">plain\n", ReadAll(in));
}

TEST(IcbtStream, RootIsCutAtTheLastGz) {
  TempDir dir;
  WriteFile(dir.Path("a.gz.b"), "root\n");
  icbtstream in;
  CaptureStdout out;
  ASSERT_TRUE(in.open(dir.Path("a.gz.b.gz.c")));
  EXPECT_EQ("FileRoot=" + dir.Path("a.gz.b") + "\n", out.Text());
  EXPECT_EQ("root\n", ReadAll(in));
}

TEST(IcbtStream, PlainNameFindsCompressedTwin) {
  TempDir dir;
  WriteGzip(dir.Path("reads.qual.gz"), ">r1\n20 30\n");
  icbtstream in;
  CaptureStdout out;
  ASSERT_TRUE(in.open(dir.Path("reads.qual")));
  EXPECT_EQ("", out.Text());
  EXPECT_EQ(">r1\n20 30\n", ReadAll(in));
}

TEST(IcbtStream, NothingToOpen) {
  TempDir dir;
  icbtstream in;
  CaptureStdout out;
  EXPECT_FALSE(in.open(dir.Path("reads.fa")));
  EXPECT_EQ("", out.Text());
  EXPECT_FALSE(in.open(dir.Path("reads.fa.gz")));
  EXPECT_EQ("FileRoot=" + dir.Path("reads.fa") + "\n", out.Text());
  EXPECT_FALSE(in.is_open());
}

}  // namespace
}  // namespace ostrel
