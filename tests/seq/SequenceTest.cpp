#include "seq/Sequence.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <unordered_map>

namespace ostrel {
namespace {

Sequence Make(const char* bases, const char* name = "", const char* description = "") {
  Sequence s;
  s.InitFromCString(bases);
  s.mName = name;
  s.mDescription = description;
  return s;
}

std::string Text(const Sequence& s) { return std::string(s.mBases.begin(), s.mBases.end()); }

TEST(Sequence, FillingKeepsOrReplacesBases) {
  Sequence s = Make("AC");
  std::string text = " g t\n*\t";
  s.InitFromString(text);
  EXPECT_EQ("ACgt*", Text(s));
  EXPECT_EQ("gt*", text);  // the caller's string is left stripped
  s.InitFromCString("TT");
  EXPECT_EQ("TT", Text(s));
  s.ConcatenateNonWhiteSpace("a b\tc\r\n");
  EXPECT_EQ("TTabc\r", Text(s));
  s.Concatenate(s);
  EXPECT_EQ("TTabc\rTTabc\r", Text(s));
}

TEST(Sequence, ConcatenateStringSafeZeroesNonBases) {
  Sequence s;
  s.ConcatenateStringSafe("AXc*");
  ASSERT_EQ(4u, s.mBases.size());
  EXPECT_EQ(std::string("A\0c\0", 4), Text(s));
}

TEST(Sequence, PrintWritesHeaderAndBases) {
  Sequence s = Make("ACGT", "read1", "chem=term");
  std::ostringstream out;
  s.Print(out);
  s.PrintSeq(out);
  EXPECT_EQ("read1 chem=term\nACGT\nACGT\n", out.str());
  std::string copied = "x";
  s.CopyToString(copied);
  EXPECT_EQ("xACGT", copied);
  char buffer[5] = {'?', '?', '?', '?', '?'};
  s.CopyToCString(buffer);
  EXPECT_STREQ("ACGT", buffer);
  for (const auto& [width, fasta] : {std::pair{2, ">read1 chem=term\nAC\nGT\n"}, {3, ">read1 chem=term\nACG\nT\n"},
                                     {4, ">read1 chem=term\nACGT\n"}, {0, ">read1 chem=term\nACGT\n"}}) {
    std::ostringstream record;
    s.PrintFASTA(record, width);
    EXPECT_EQ(fasta, record.str()) << width;
  }
  std::ostringstream empty;
  Make("", "none").PrintFASTA(empty, 60);
  EXPECT_EQ(">none\n", empty.str());
}

TEST(Sequence, SubSequenceClampsAndSuffixesBounds) {
  Sequence s = Make("ACGTACGTAC", "r", "d");
  Sequence out = Make("TT", "old", "keep");
  s.GetSubSequence(out, -5, 1000);
  EXPECT_EQ("ACGTACGTAC", Text(out));
  EXPECT_EQ("d[0,9]", out.mDescription);
  EXPECT_EQ("r", out.mName);

  s.GetSubSequence(out, 2, 4);
  EXPECT_EQ("GTA", Text(out));
  EXPECT_EQ("d[2,4]", out.mDescription);

  out = Make("TT", "old", "keep");
  s.GetSubSequence(out, 0, -1);
  EXPECT_TRUE(out.mBases.empty());
  EXPECT_EQ("old", out.mName);
  EXPECT_EQ("keep", out.mDescription);

  s.GetSubSequence(out, 12, 20);  // starts past the end
  EXPECT_TRUE(out.mBases.empty());
  EXPECT_EQ("old", out.mName);

  s.GetSubSequence(s, 1, 2);  // into itself
  EXPECT_EQ("CG", Text(s));
  EXPECT_EQ("d[1,2]", s.mDescription);
}

TEST(Sequence, CharacterClasses) {
  EXPECT_TRUE(Sequence::IsBase('g'));
  EXPECT_FALSE(Sequence::IsBase('N'));
  EXPECT_FALSE(Sequence::IsBase('*'));
  EXPECT_TRUE(Sequence::IsBaseNX('x'));
  EXPECT_FALSE(Sequence::IsBaseNX('-'));

  EXPECT_TRUE(Make("").OnlyUpperCaseBases());
  EXPECT_TRUE(Make("ACGT").OnlyUpperCaseBases());
  for (const char* fails : {"ACgT", "ACNT", "AXT", "A*T", "A-T"})
    EXPECT_FALSE(Make(fails).OnlyUpperCaseBases()) << fails;
  EXPECT_TRUE(Make("ACGTn").OnlyUpperCaseBases(1, 3));
  EXPECT_TRUE(Make("n").OnlyUpperCaseBases(0, 0));
  EXPECT_TRUE(Make("acgt").ContainsOnlyBasesSafe());
  EXPECT_FALSE(Make("acNt").ContainsOnlyBasesSafe());
  EXPECT_TRUE(Make("N*acgt").ContainsOnlyBasesSafe(2, 4));
  EXPECT_TRUE(Make("N*acgt").ContainsNonBaseSafe(1, 2));
}

TEST(Sequence, RangeTestsStayInsideTheSequence) {
  Sequence s = Make("ACGT");
  EXPECT_TRUE(s.OnlyUpperCaseBases(-3, 100));
  EXPECT_TRUE(s.OnlyUpperCaseBases(2, 2147483647));
  EXPECT_TRUE(s.ContainsOnlyBasesSafe(-2147483647 - 1, 2147483647));
  EXPECT_FALSE(s.ContainsNonBaseSafe(3, 10));
  EXPECT_FALSE(s.ContainsNonBaseSafe(50, 10));
  EXPECT_TRUE(Make("ACGn").ContainsNonBaseSafe(2, 10));
  EXPECT_FALSE(Make("ACGa").OnlyUpperCaseBases(-1, 5));
  EXPECT_TRUE(Make("").ContainsOnlyBasesSafe(0, 10));
}

TEST(Sequence, ReverseComplementKeepsNonBasesAndCase) {
  Sequence s = Make("AcgTNx*");
  s.ReverseComplement();
  EXPECT_EQ("*xNAcgT", Text(s));
  s.ReverseComplement();
  EXPECT_EQ("AcgTNx*", Text(s));
  s.Complement();
  EXPECT_EQ("TgcANx*", Text(s));
  s.Nify();
  EXPECT_EQ("TgcAnnn", Text(s));
  s.ToUpperCase();
  EXPECT_EQ("TGCANNN", Text(s));
  // Ambiguity codes pair up; S, W and N are their own complements.
  Sequence ambiguous = Make("RYKMBVDHSWNrykmbvdhswn");
  ambiguous.Complement();
  EXPECT_EQ("YRMKVBHDSWNyrmkvbhdswn", Text(ambiguous));
}

TEST(Sequence, TrimMarksEndsAndIgnoresWhatLiesOutside) {
  Sequence s = Make("ACGTACGT");
  s.Trim(1, 4);
  EXPECT_EQ("XXGTXXXX", Text(s));
  s = Make("ACGTACGT");
  s.Trim(-1, 8);
  EXPECT_EQ("ACGTACGT", Text(s));
  s.Trim(-100, 1000);
  EXPECT_EQ("ACGTACGT", Text(s));
  s.Trim(1000, -5);
  EXPECT_EQ("XXXXXXXX", Text(s));
  Sequence empty;
  empty.Trim(3, 0);
  EXPECT_TRUE(empty.mBases.empty());
}

TEST(Sequence, FindGivesFirstOccurrence) {
  Sequence s = Make("ttcgttcg");
  const char tag[] = "cg";
  EXPECT_EQ(2, s.Find(tag, tag + 2));
  EXPECT_EQ(-1, s.Find(Make("aa")));
  EXPECT_EQ(0, s.Find(Make("")));
}

TEST(Sequence, FindEndOfTriesBothOrientationsAndLowerCases) {
  Sequence s = Make("TTCGTT");
  bool reversed = false;
  EXPECT_EQ(4, s.FindEndOf(Make("ACG"), reversed));  // cgt at 2
  EXPECT_TRUE(reversed);
  EXPECT_EQ("ttcgtt", Text(s));

  EXPECT_EQ(3, s.FindEndOf(Make("TCG"), reversed));
  EXPECT_FALSE(reversed);

  reversed = false;
  EXPECT_EQ(-1, s.FindEndOf(Make("GGG"), reversed));
  EXPECT_FALSE(reversed);  // untouched when nothing matches
  EXPECT_EQ(-1, s.FindEndOf(Make(""), reversed));
  EXPECT_TRUE(reversed);
}

TEST(Sequence, FindEndOfTagReportsEndForwardAndStartReversed) {
  Sequence s = Make("AACCGGTTAA");
  Sequence tag = Make("xCCGx");
  long pos = 99;
  bool reversed = true;
  s.FindEndOfTag(tag, 1, 4, pos, reversed);
  EXPECT_EQ(5, pos);  // just past ccg at 2
  EXPECT_FALSE(reversed);
  EXPECT_EQ("xccgx", Text(tag));
  EXPECT_EQ("aaccggttaa", Text(s));

  s = Make("TTGGGTATT");
  tag = Make("xTACCCx");  // part [1,6) is taccc, its reverse complement gggta at 2
  s.FindEndOfTag(tag, 1, 6, pos, reversed);
  EXPECT_EQ(2, pos);
  EXPECT_TRUE(reversed);
  EXPECT_EQ("xtacccx", Text(tag));  // order restored, left lower case

  s.FindEndOfTag(tag, 0, 3, pos, reversed);  // xta, tax: neither occurs
  EXPECT_EQ(-1, pos);
  EXPECT_TRUE(reversed);
}

TEST(Sequence, FindEndOfTagIgnoresRangesOutsideTheTag) {
  Sequence s = Make("ACGT");
  Sequence tag = Make("AC");
  for (auto range : {std::pair<int, int>{0, 3}, {3, 3}, {-1, 2}, {2, 1}}) {
    long pos = 77;
    bool reversed = true;
    s.FindEndOfTag(tag, range.first, range.second, pos, reversed);
    EXPECT_EQ(77, pos);
    EXPECT_FALSE(reversed);
  }
  EXPECT_EQ("AC", Text(tag));
}

TEST(Sequence, GCStatsCountAndLowerCase) {
  Sequence s = Make("ACGCG");
  int length = 0, gc = 0, cpg = 0;
  s.ComputeGCStats(length, gc, cpg);
  EXPECT_EQ(5, length);
  EXPECT_EQ(4, gc);
  EXPECT_EQ(2, cpg);
  EXPECT_EQ("acgcg", Text(s));
  s = Make("C*G");
  s.ComputeGCStats(length, gc, cpg);
  EXPECT_EQ(3, length);
  EXPECT_EQ(2, gc);
  EXPECT_EQ(0, cpg);
  s = Make("c");
  s.ComputeGCStats(length, gc, cpg);
  EXPECT_EQ(0, cpg);
}

TEST(Sequence, HashAndEqualityLookAtBasesOnly) {
  Sequence a = Make("ACGT", "one");
  Sequence b = Make("ACGT", "two", "other");
  EXPECT_TRUE(eqSeq()(a, b));
  EXPECT_FALSE(eqSeq()(a, Make("acgt")));
  EXPECT_EQ(BasicSequenceHashF()(a), BasicSequenceHashF()(b));
  // ((65 * 5 + 67) * 5 + 71) * 5 + 84
  EXPECT_EQ(10239u, BasicSequenceHashF()(a));
  EXPECT_EQ(BasicStringHashF()("\xe9z"), BasicSequenceHashF()(Make("\xe9z")));
  std::unordered_map<Sequence, int, BasicSequenceHashF, eqSeq> samples{{a, 3}};
  EXPECT_EQ(3, samples.at(b));
  EXPECT_EQ(0u, samples.count(Make("acgt")));
}

}  // namespace
}  // namespace ostrel
