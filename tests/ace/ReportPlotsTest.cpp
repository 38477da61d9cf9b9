// The report's plot points against plain computations, and the page's
// promises that need no browser.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

#include "ContigBuilder.h"
#include "ace/AssemblyReport.h"
#include "ace/AssemblyTally.h"

namespace ostrel {
namespace {

// Thinned profiles stay within the bound, in index order, keep the
// values they had, and lose no extreme: every stretch of indexes a
// thinned point stands for has its lowest and highest value among the
// points.
TEST(ReportPlots, ThinningKeepsEveryStretchsExtremes) {
  std::mt19937 rng(7);
  for (size_t size : {0u, 1u, 2000u, 2001u, 4999u, 100000u})
    for (size_t maxPoints : {1u, 2u, 7u, 2000u}) {
      std::vector<int> profile(size);
      for (int& value : profile) value = static_cast<int>(rng() % 50) - (rng() % 997 == 0 ? 1000 : 0);
      const std::vector<PlotPoint> points = ThinProfile(profile, maxPoints);
      const std::string what = std::to_string(size) + " to " + std::to_string(maxPoints);
      ASSERT_LE(points.size(), std::max<size_t>(maxPoints, 2)) << what;
      if (size <= maxPoints) {
        ASSERT_EQ(size, points.size()) << what;
      }
      for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(profile[static_cast<size_t>(points[i].mX)], points[i].mY) << what;
        if (i > 0) {
          EXPECT_LT(points[i - 1].mX, points[i].mX) << what;
        }
      }
      if (size == 0) continue;
      const size_t stretches = size <= maxPoints ? size : std::max<size_t>(maxPoints / 2, 1);
      for (size_t s = 0; s < stretches; ++s) {
        const auto from = profile.begin() + static_cast<std::ptrdiff_t>(size * s / stretches);
        const auto to = profile.begin() + static_cast<std::ptrdiff_t>(size * (s + 1) / stretches);
        for (int extreme : {*std::min_element(from, to), *std::max_element(from, to)}) {
          const bool kept = std::any_of(points.begin(), points.end(), [&](const PlotPoint& p) {
            const auto at = profile.begin() + static_cast<std::ptrdiff_t>(p.mX);
            return at >= from && at < to && p.mY == extreme;
          });
          EXPECT_TRUE(kept) << what << " stretch " << s;
        }
      }
    }
}

// Every length lies in its bin, the bins follow each other without gaps
// from the smallest length's to the largest's, and they count every contig.
TEST(ReportPlots, HistogramBinsHoldEveryLength) {
  std::mt19937 rng(11);
  std::vector<std::vector<int>> cases = {{}, {0, 0}, {1}, {10, 100, 1000}, {99, 100, 101, 999999}};
  for (int round = 0; round < 5; ++round) {
    std::vector<int> lengths;
    for (int c = 0; c < 200; ++c) lengths.push_back(static_cast<int>(rng() % (round == 0 ? 10 : 2000000)));
    cases.push_back(lengths);
  }
  for (const std::vector<int>& lengths : cases) {
    const std::vector<HistogramBin> bins = LengthHistogram(lengths);
    int64_t counted = 0;
    for (size_t b = 0; b < bins.size(); ++b) {
      EXPECT_LT(bins[b].mFrom, bins[b].mTo);
      if (b > 0) {
        EXPECT_EQ(bins[b - 1].mTo, bins[b].mFrom);
      }
      const int64_t inside = std::count_if(lengths.begin(), lengths.end(), [&](int length) {
        return length >= bins[b].mFrom && length < bins[b].mTo;
      });
      EXPECT_EQ(inside, bins[b].mContigs) << b;
      counted += bins[b].mContigs;
    }
    EXPECT_EQ(static_cast<int64_t>(lengths.size()), counted);
    if (!bins.empty()) {
      EXPECT_GT(bins.front().mContigs, 0);
      EXPECT_GT(bins.back().mContigs, 0);
    }
  }
}

// The largest contigs' profiles, kept as contigs come, are those of the
// largest contigs of the whole list, earlier first among equals; a profile
// marks the trims and shades the low stretches of the read depth.
TEST(ReportPlots, LargestProfilesAndWhatTheyMark) {
  std::mt19937 rng(3);
  std::vector<std::pair<int, int>> sizes;  // (padded, file index)
  LargestProfiles largest(5);
  for (int c = 0; c < 60; ++c) {
    const int padded = 1 + static_cast<int>(rng() % 30);
    sizes.push_back({padded, c});
    largest.Add(test::MakeContig("c" + std::to_string(c), std::string(static_cast<size_t>(padded), 'A')));
  }
  std::stable_sort(sizes.begin(), sizes.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  ASSERT_EQ(5u, largest.Profiles().size());
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ("c" + std::to_string(sizes[i].second), largest.Profiles()[i].mFigures.mName);

  // 200 columns: depth 3 over 40 .. 99 and 130 .. 199, none elsewhere.
  Contig contig = test::MakeContig("c", std::string(200, 'A'));
  for (int r = 0; r < 3; ++r) {
    test::AddRead(contig, "a" + std::to_string(r), std::string(60, 'A'), 41);
    test::AddRead(contig, "b" + std::to_string(r), std::string(70, 'A'), 131);
  }
  contig.mTrimStart = 45;
  contig.mTrimEnd = 190;
  const DepthProfile profile = DepthProfileOf(contig);
  EXPECT_EQ(200u, profile.mReadDepth.size());
  EXPECT_EQ(45, profile.mTrimStart);
  ASSERT_EQ(2u, profile.mLowStretches.size());
  EXPECT_EQ(0, profile.mLowStretches[0].first);  // the left tail, up to the first full window
  EXPECT_EQ(29, profile.mLowStretches[0].second);
  EXPECT_LT(profile.mLowStretches[1].first, 100);  // the crash between the two runs of reads
  EXPECT_GT(profile.mLowStretches[1].second, 110);
  EXPECT_LT(profile.mLowStretches[1].second, 130);
}

// The page fetches nothing and runs nothing, escapes names, and lists
// every contig added.
TEST(ReportPlots, PageIsSelfContained) {
  AssemblyReport report(2);
  ASSERT_TRUE(report.Open());
  AssemblyTally tally(0);
  for (const char* name : {"<b>&one", "two", "three"}) {
    const Contig contig = test::MakeContig(name, "ACGTNACGT*");
    report.Add(contig);
    tally.Add(contig);
  }
  std::ostringstream page;
  ASSERT_TRUE(report.Write(page, "a\"<x>.ace", tally.Figures(), tally.FigureLengths()));
  const std::string html = page.str();
  for (const char* absent : {"<script", "http", "src=", "href=", "url(", "@import", "<b>&one", "\"<x>"})
    EXPECT_EQ(std::string::npos, html.find(absent)) << absent;
  EXPECT_NE(std::string::npos, html.find("<td>&lt;b&gt;&amp;one</td><td>10</td><td>9</td><td>0</td><td>0.00</td>"
                                         "<td>50.00</td>"));
  EXPECT_NE(std::string::npos, html.find("<h2>Every contig (3)</h2>"));
  EXPECT_NE(std::string::npos, html.find("id=\"depth-2\""));
  EXPECT_EQ(std::string::npos, html.find("id=\"depth-3\""));
}

}  // namespace
}  // namespace ostrel
