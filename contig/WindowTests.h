// Sliding-window tests over a contig's per-position coverage profiles (one
// int per 0-based padded consensus index): low-coverage tails, coverage
// crashes, and runs of low values around a point.
//
// Window means. The forward mean at index i is the sum of the profile
// values at i .. i + trimWindow - 1 that lie inside the profile, divided by
// trimWindow; the backward mean at k sums k - trimWindow + 1 .. k that are
// >= 0. The divisor stays trimWindow where the profile's end cuts the window
// short, so a short profile needs proportionally higher values to pass.
#ifndef OSTREL_CONTIG_WINDOWTESTS_H
#define OSTREL_CONTIG_WINDOWTESTS_H

#include <vector>

namespace ostrel {

// Process-wide state (one thread).
// trimWindow, trimHeight: the window length in positions and the mean
//   coverage threshold of every window test below. Written by the user of
//   the library (tail trimming, crash searches) before a test; read by the
//   window tests at every call, never written by them. A trimWindow below 1
//   is taken as 1.
extern int trimWindow;     // default 20
extern float trimHeight;   // default 1.5

// Tail boundaries: `left` becomes the first index whose forward mean is
// >= trimHeight and `right` the last index whose backward mean is; both -1
// when none qualifies. Indexes before `left` and after `right` are the
// low-coverage tails.
void FindTail(std::vector<int>& profile, int& left, int& right);
// The two halves of FindTail alone; each leaves its argument unchanged when
// no index qualifies.
void FindLeftTail(std::vector<int>& profile, int& left);
void FindRightTail(std::vector<int>& profile, int& right);

// The first coverage crash: `start` is the first index whose forward mean is
// below trimHeight, -1 when there is none or it lies within the first 20
// indexes (a tail, not a crash); `end` is the first index from `start` on
// whose mean is strictly above trimHeight, -1 when there is none or it lies
// in the last 20 indexes.
void FindCrash(std::vector<int>& profile, int& start, int& end);
// A crash after `from`: `start` is the first index in [from + 20,
// limit - 20) whose forward mean is below trimHeight (-1 when none, or when
// it is below 20); `end` the first index from `start` to limit - 1 whose
// mean reaches trimHeight, -1 when none or within the last 20 indexes.
// Indexes outside the profile are never tested.
void FindCrash2(int from, int limit, std::vector<int>& profile, int& start, int& end);

// Widens a region over values <= `threshold`: `left` moves down while it is
// >= 0 and its value is <= threshold, `right` up while it is inside the
// profile and its value is <= threshold. Called with left = right = p, it
// gives the bounds just outside the run of low values around p (-1 and the
// profile size at the ends). An index that starts outside the profile
// stays where it is.
void ExpandFeature(std::vector<int> profile, int threshold, int& left, int& right);

// True, with `pos` the first such index, when a value <= `threshold` lies at
// indexes max(from, 0) .. min(to, size - 1); a negative `to` means the last
// index. Otherwise false with `pos` -1 (also for an empty range).
bool FeatureBetween(std::vector<int>& profile, int threshold, int from, int to, int& pos);

}  // namespace ostrel

#endif
