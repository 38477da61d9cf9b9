#include "search/SeqSampler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "search/RandomNumber.h"

namespace ostrel {
namespace {

using test::BasesOf;
using test::CaptureStdout;
using test::MakeSequence;

std::vector<std::string> AllBases(const SequenceVector& v) {
  std::vector<std::string> bases;
  for (const Sequence& s : v) bases.push_back(BasesOf(s));
  return bases;
}

std::vector<std::string> AllDescriptions(const SequenceVector& v) {
  std::vector<std::string> descriptions;
  for (const Sequence& s : v) descriptions.push_back(s.mDescription);
  return descriptions;
}

// A sequence of `length` bases cycling through ACGT.
Sequence Cycling(long length) {
  std::string bases;
  for (long i = 0; i < length; ++i) bases += "ACGT"[i % 4];
  return MakeSequence(bases, "src", "d");
}

class SeqSamplerTest : public ::testing::Test {
protected:
  void SetUp() override { RNG.Seed(4242); }
};

TEST_F(SeqSamplerTest, WindowsSkipNAndXInEitherCase) {
  SequenceVector out;
  SeqSampler::FastFragmentSeq(3, MakeSequence("ACGTA"), out);
  EXPECT_EQ((std::vector<std::string>{"ACG", "CGT", "GTA"}), AllBases(out));
  SeqSampler::FastFragmentSeq(3, MakeSequence("ACNTT"), out);
  EXPECT_EQ((std::vector<std::string>{"ACG", "CGT", "GTA"}), AllBases(out));  // left as they were
  SequenceVector fresh;
  SeqSampler::FastFragmentSeq(3, MakeSequence("ACNTT"), fresh);
  EXPECT_EQ((std::vector<std::string>{"", "", ""}), AllBases(fresh));
  SeqSampler::FastFragmentSeq(2, MakeSequence("AxGT*a"), fresh);
  EXPECT_EQ((std::vector<std::string>{"", "", "GT", "T*", "*a"}), AllBases(fresh));
  EXPECT_EQ((std::vector<char>{1, 0, 0, 0, 1}), SeqSampler::WindowsWithoutNX(3, MakeSequence("ACGnCGT")));
}

TEST_F(SeqSamplerTest, WindowCountAtTheEdges) {
  SequenceVector out;
  SeqSampler::FastFragmentSeq(4, MakeSequence("ACGT"), out);
  EXPECT_EQ((std::vector<std::string>{"ACGT"}), AllBases(out));
  for (int k : {5, 0, -2}) {
    SeqSampler::FastFragmentSeq(k, MakeSequence("ACGT"), out);
    EXPECT_TRUE(out.empty()) << k;
  }
  SeqSampler::FastFragmentSeq(1, MakeSequence(""), out);
  EXPECT_TRUE(out.empty());
}

TEST_F(SeqSamplerTest, TiledFragmentsShareTheOverlap) {
  SequenceVector out;
  std::vector<long> starts, ends;
  SeqSampler::FragmentSeq(100, 20, Cycling(250), out, starts, ends);
  EXPECT_EQ((std::vector<long>{0, 80}), starts);
  EXPECT_EQ((std::vector<long>{99, 179}), ends);
  EXPECT_EQ((std::vector<std::string>{"d[0,99]", "d[80,179]"}), AllDescriptions(out));
  EXPECT_EQ(BasesOf(out[0]).substr(80), BasesOf(out[1]).substr(0, 20));

  // A negative overlap leaves gaps; the last fragment may end on the last base.
  SequenceVector gaps;
  SeqSampler::FragmentSeq(10, -5, Cycling(40), gaps);
  EXPECT_EQ((std::vector<std::string>{"d[0,9]", "d[15,24]", "d[30,39]"}), AllDescriptions(gaps));
}

TEST_F(SeqSamplerTest, FirstFragmentAlwaysMadeAndClamped) {
  SequenceVector out;
  std::vector<long> starts, ends;
  SeqSampler::FragmentSeq(100, 20, Cycling(50), out, starts, ends);
  ASSERT_EQ(1u, out.size());
  EXPECT_EQ("d[0,49]", out[0].mDescription);
  EXPECT_EQ(50u, out[0].mBases.size());
  EXPECT_EQ((std::vector<long>{99}), ends);
}

TEST_F(SeqSamplerTest, OverlapAsLargeAsTheFragmentMakesNothing) {
  SequenceVector out;
  std::vector<long> starts, ends;
  SeqSampler::FragmentSeq(10, 10, Cycling(100), out, starts, ends);  // would never move on
  SeqSampler::FragmentSeq(10, 11, Cycling(100), out, starts, ends);
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(starts.empty());
}

TEST_F(SeqSamplerTest, RandomFragmentsWithTheOverlapCappedAtHalf) {
  SequenceVector out;
  std::vector<long> starts, ends, overlaps;
  CaptureStdout captured;
  SeqSampler::RndFragmentSeq(150, 100, Cycling(400), out, starts, ends, overlaps);
  EXPECT_EQ((std::vector<long>{0, 74, 147, 220}), starts);
  EXPECT_EQ((std::vector<long>{150, 223, 296, 369}), ends);
  EXPECT_EQ((std::vector<long>{75, 75, 75, 75}), overlaps);
  EXPECT_EQ(151u, out[0].mBases.size());
  EXPECT_EQ("d[74,223]", out[1].mDescription);
  EXPECT_EQ(
      "fStart=0 fEnd=150 seqSize=400overlap = 75\n"
      "fStart=74 fEnd=223 seqSize=400overlap = 75\n"
      "fStart=147 fEnd=296 seqSize=400overlap = 75\n"
      "fStart=220 fEnd=369 seqSize=400overlap = 75\n",
      captured.Text());
}

TEST_F(SeqSamplerTest, RandomOverlapsStayBetweenTheFloorAndTheCap) {
  std::vector<long> starts, ends, low, high;
  SequenceVector out;
  CaptureStdout captured;
  SeqSampler::RndFragmentSeq(1000, 40, Cycling(30000), out, starts, ends, low);
  SeqSampler::RndFragmentSeq(1000, 700, Cycling(30000), out, starts, ends, high);
  ASSERT_GT(low.size(), 20u);
  for (long ov : low) EXPECT_EQ(100, ov);
  bool capped = false, below = false;
  for (long ov : high) {
    EXPECT_GE(ov, 100);
    EXPECT_LE(ov, 500);
    capped |= ov == 500;
    below |= ov < 500;
  }
  EXPECT_TRUE(capped && below);
  for (size_t i = 1; i < low.size(); ++i) EXPECT_EQ(ends[i - 1] - low[i - 1] - 1, starts[i]) << i;
}

TEST_F(SeqSamplerTest, RandomFragmentsStopWhenTheyCannotMoveOn) {
  SequenceVector out;
  std::vector<long> starts, ends, overlaps;
  CaptureStdout captured;
  SeqSampler::RndFragmentSeq(4, 1, Cycling(100), out, starts, ends, overlaps);
  EXPECT_EQ((std::vector<long>{0, 1}), starts);
  EXPECT_EQ((std::vector<long>{2, 2}), overlaps);
  SeqSampler::RndFragmentSeq(4, 5, Cycling(100), out, starts, ends, overlaps);
  EXPECT_EQ(2u, out.size());  // a mean overlap above the fragment size makes nothing
}

TEST_F(SeqSamplerTest, EvenlySpacedSamples) {
  SequenceVector out;
  SeqSampler::SampleSeq(4, 10, Cycling(100), out);
  EXPECT_EQ((std::vector<std::string>{"d[0,9]", "d[25,34]", "d[50,59]", "d[75,84]"}), AllDescriptions(out));
  EXPECT_EQ("GTACGTACGT", BasesOf(out[2]));
  out.clear();
  SeqSampler::SampleSeq(2, 30, Cycling(40), out);  // the last one is cut at the end
  EXPECT_EQ(20u, out[1].mBases.size());
  EXPECT_EQ("d[20,49]", out[1].mDescription);
  SeqSampler::SampleSeq(0, 10, Cycling(40), out);
  SeqSampler::SampleSeq(-1, 10, Cycling(40), out);
  EXPECT_EQ(2u, out.size());
}

TEST_F(SeqSamplerTest, RandomSampleLiesInsideTheSource) {
  const Sequence src = Cycling(50);
  Sequence out;
  SeqSampler::GetRandomSample(50, src, out);
  EXPECT_EQ(BasesOf(src), BasesOf(out));
  const Sequence longer = MakeSequence("ACGTTGCAAGGCTTAACCGGTTAAGCTAGCTAGGATCC", "s", "d");
  for (int i = 0; i < 200; ++i) {
    SeqSampler::GetRandomSample(7, longer, out);
    ASSERT_EQ(7u, out.mBases.size());
    EXPECT_NE(std::string::npos, BasesOf(longer).find(BasesOf(out)));
  }
}

TEST_F(SeqSamplerTest, EmptyRandomSampleIsReported) {
  Sequence out;
  CaptureStdout captured;
  SeqSampler::GetRandomSample(0, MakeSequence(""), out);
  EXPECT_TRUE(out.mBases.empty());
  EXPECT_EQ("1start=0\n1end=-1\nmaxStart=0\nSource.size=0\n", captured.Text());
}

TEST_F(SeqSamplerTest, SampleLongerThanTheSourceEndsTheProcess) {
  EXPECT_EXIT(
      {
        std::cout.rdbuf(std::cerr.rdbuf());  // the death test sees the error stream only
        Sequence out;
        SeqSampler::GetRandomSample(50, Cycling(45), out);
      },
      ::testing::ExitedWithCode(1), "^maxStart < 0!!!!!-5\nSource.size\\(\\)=45\nsSize=50\n$");
}

// Cutting an element of the collection that receives the pieces: appending
// may move the elements, the one being cut included.
TEST_F(SeqSamplerTest, PiecesOfAnElementOfTheReceivingCollection) {
  // Cuts the first element of `from` into `v`.
  auto cutInto = [](SequenceVector& v, SequenceVector& from) {
    SeqSampler::FragmentSeq(10, 2, from[0], v);
    SeqSampler::SampleSeq(7, 12, from[0], v);
    std::vector<long> starts, ends, overlaps;
    RNG.Seed(4242);
    SeqSampler::RndFragmentSeq(30, 10, from[0], v, starts, ends, overlaps);
  };
  SequenceVector source, expected, v;
  source.push_back(Cycling(100));
  expected.push_back(source[0]);
  v.push_back(source[0]);
  CaptureStdout captured;
  cutInto(expected, source);
  cutInto(v, v);
  ASSERT_GT(expected.size(), 20u);
  EXPECT_EQ(AllBases(expected), AllBases(v));
  EXPECT_EQ(AllDescriptions(expected), AllDescriptions(v));

  SequenceVector windows;
  windows.assign({MakeSequence("GG"), MakeSequence("TT"), MakeSequence("ACNTTAC")});
  SeqSampler::FastFragmentSeq(3, windows[2], windows);  // windows with N leave elements as they were
  EXPECT_EQ((std::vector<std::string>{"GG", "TT", "ACNTTAC", "TTA", "TAC"}), AllBases(windows));
  windows.assign({MakeSequence("A"), MakeSequence("C"), MakeSequence("G"), MakeSequence("ACGT")});
  SeqSampler::FastFragmentSeq(3, windows[3], windows);  // the source itself is dropped
  EXPECT_EQ((std::vector<std::string>{"ACG", "CGT"}), AllBases(windows));
  windows.assign(1, MakeSequence("ACGTACGT"));
  SeqSampler::FastFragmentSeq(2, windows[0], windows);
  EXPECT_EQ((std::vector<std::string>{"AC", "CG", "GT", "TA", "AC", "CG", "GT"}), AllBases(windows));
}

TEST_F(SeqSamplerTest, OnlyBasesLooksInsideTheSequenceOnly) {
  const Sequence s = MakeSequence("ACG*NTxa");
  EXPECT_TRUE(SeqSampler::OnlyBases(s, 0, 4));
  EXPECT_FALSE(SeqSampler::OnlyBases(s, 0, 5));
  EXPECT_FALSE(SeqSampler::OnlyBases(s, 6, 1));
  EXPECT_TRUE(SeqSampler::OnlyBases(s, 7, 100));
  EXPECT_TRUE(SeqSampler::OnlyBases(s, -3, 6));
  EXPECT_FALSE(SeqSampler::OnlyBases(s, -3, 8));
  EXPECT_TRUE(SeqSampler::OnlyBases(s, 20, 5));
  EXPECT_TRUE(SeqSampler::OnlyBases(s, 4, 0));
}

TEST_F(SeqSamplerTest, AllSensesInOrder) {
  SequenceVector v;
  v.push_back(MakeSequence("AAcG*", "r1", "one"));
  v.push_back(MakeSequence("TTN", "r2", "two"));
  v[0].ComputePadded2Depadded();
  SeqSampler::AddAllSenses(v);
  std::vector<std::string> names;
  for (const Sequence& s : v) names.push_back(s.mName);
  EXPECT_EQ((std::vector<std::string>{"r1", "r2", "r1(-)", "r1(r)", "r1(c)", "r2(-)", "r2(r)", "r2(c)"}),
            names);
  EXPECT_EQ((std::vector<std::string>{"AAcG*", "TTN", "*CgTT", "*GcAA", "TTgC*", "NAA", "NTT", "AAN"}),
            AllBases(v));
  EXPECT_EQ("one", v[4].mDescription);
  EXPECT_TRUE(v[2].mPadded2Depadded.empty());  // the maps of the original do not fit the copy

  SequenceVector w;
  w.push_back(MakeSequence("ACC", "r"));
  SeqSampler::AddReverseComplements(w);
  EXPECT_EQ((std::vector<std::string>{"ACC", "GGT"}), AllBases(w));
  EXPECT_EQ("r(-)", w[1].mName);
}

TEST_F(SeqSamplerTest, CreateCopiesIntoAnEmptiedCollection) {
  SequenceVector src;
  src.push_back(MakeSequence("AACG", "a", "da"));
  src.push_back(MakeSequence("", "b"));
  SequenceVector dst;
  dst.push_back(MakeSequence("GONE"));
  SeqSampler::CreateReverse(src, dst);
  EXPECT_EQ((std::vector<std::string>{"GCAA", ""}), AllBases(dst));
  EXPECT_EQ("a(r)", dst[0].mName);
  EXPECT_EQ("da", dst[0].mDescription);
  SeqSampler::CreateComplement(src, dst);
  EXPECT_EQ((std::vector<std::string>{"TTGC", ""}), AllBases(dst));
  EXPECT_EQ("b(c)", dst[1].mName);
  SeqSampler::CreateReverseComplement(src, dst);
  EXPECT_EQ((std::vector<std::string>{"CGTT", ""}), AllBases(dst));
  EXPECT_EQ("a(-)", dst[0].mName);
  SeqSampler::CreateReverseComplement(src, src);  // in place: the source is read first
  EXPECT_EQ((std::vector<std::string>{"CGTT", ""}), AllBases(src));
}

}  // namespace
}  // namespace ostrel
