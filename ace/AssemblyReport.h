// An assembly report: one self-contained HTML page (inline SVG and CSS,
// nothing fetched, no script) with the assembly's figures, its Nx and
// cumulative-length curves, a histogram of contig lengths, the depth
// profiles of the largest contigs, and a table of every contig.
//
// Contigs are added one at a time in file order; the table's rows wait in
// a temporary file, so memory holds only the largest contigs' thinned
// profiles (ace/ReportPlots.h), whatever the number of contigs.
//
// The plots' data lie in each SVG as drawn, in data units: every plot's
// <g class="data"> maps data to the picture by its transform, so the points
// of its <polyline> elements are the plotted values themselves (x, y), its
// <rect class="bar"> elements span [bin, bin + 1) by count in a histogram,
// and <rect class="low"> (low stretches) and <line class="trim"> (trims)
// elements are placed at padded columns in a depth profile.
#ifndef OSTREL_ACE_ASSEMBLYREPORT_H
#define OSTREL_ACE_ASSEMBLYREPORT_H

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "ace/AssemblyFigures.h"
#include "ace/ReportPlots.h"

namespace ostrel {

class AssemblyReport {
public:
  // Profiles of the `largest` largest contigs.
  explicit AssemblyReport(size_t largest) : mLargest(largest) {}
  ~AssemblyReport();
  AssemblyReport(const AssemblyReport&) = delete;
  AssemblyReport& operator=(const AssemblyReport&) = delete;

  // Makes the temporary file of the table's rows; false when it cannot.
  bool Open();
  void Add(const Contig& contig);
  // Writes the page: `figures` and the contig `lengths` they count
  // (AssemblyTally), then the contigs added. False when the rows cannot be
  // read back or `out` fails.
  bool Write(std::ostream& out, const std::string& assemblyName, const AssemblyFigures& figures,
             const std::vector<int>& lengths);

private:
  LargestProfiles mLargest;
  std::FILE* mRows = nullptr;
  int64_t mContigs = 0;
};

// Text made safe inside HTML elements and attribute values.
std::string HtmlEscape(const std::string& text);

}  // namespace ostrel

#endif
