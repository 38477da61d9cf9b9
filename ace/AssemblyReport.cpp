// The report page: HTML with inline CSS and SVG plots.
#include "ace/AssemblyReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ace/Contig.h"

namespace ostrel {

namespace {

// The picture of a plot, in pixels: the data area and the margins around
// it. Length plots go two to a row, depth profiles one.
constexpr double kLengthPlotWidth = 470, kDepthPlotWidth = 960, kHeight = 270;
constexpr double kLeft = 70, kRight = 16, kTop = 10, kBottom = 46;
constexpr double kPlotHeight = kHeight - kTop - kBottom;

constexpr const char* kStyle = R"(body{font-family:sans-serif;margin:1.5em auto;max-width:64em;color:#222;padding:0 1em}
h1{font-size:1.4em}h2{font-size:1.15em;margin-top:1.6em;border-bottom:1px solid #ccc}
table{border-collapse:collapse;font-size:.9em}td,th{padding:.15em .7em;text-align:right}
td:first-child,th:first-child{text-align:left}tr:nth-child(even){background:#f3f3f3}
figure{margin:.8em 0;display:inline-block}figcaption{font-size:.9em;margin-bottom:.2em}
svg{font-size:11px;background:#fff}.axis{stroke:#444}.grid{stroke:#e4e4e4}
.series{fill:none;stroke-width:1.5}.nx,.read-depth{stroke:#1f5fa8}.cumulative{stroke:#2a8a4a}
.template-depth{stroke:#d9822b}.bar{fill:#6a8fc7}.low{fill:#e0524a;fill-opacity:.18}
.trim{stroke:#7b3fa0;stroke-dasharray:4 3}.key{font-size:.85em}.key span{margin-right:1.2em}
.swatch{display:inline-block;width:1.4em;height:.6em;margin-right:.3em;vertical-align:middle}
.plots{display:flex;flex-wrap:wrap;gap:0 2.5em;align-items:flex-start})";

std::string Number(double value, const char* format = "%.6g") {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// A tick label: whole numbers, thousands as k and millions as M past 10,000.
std::string TickLabel(double value) {
  if (std::fabs(value) >= 1e7) return Number(value / 1e6, "%.4gM");
  if (std::fabs(value) >= 1e4) return Number(value / 1e3, "%.4gk");
  return Number(value, "%.4g");
}

// A step of 1, 2 or 5 times a power of ten that cuts `range` into about
// five parts.
double TickStep(double range) {
  if (!(range > 0)) return 1;
  const double rough = range / 5;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (double factor : {1.0, 2.0, 5.0})
    if (factor * power >= rough) return factor * power;
  return 10 * power;
}

// An axis's end: `top` rounded up to a whole step (1 for nothing to show).
double AxisEnd(double top, double& step) {
  step = TickStep(top);
  return top > 0 ? std::ceil(top / step - 1e-9) * step : 1;
}

// Opens a plot of data from (0, 0) to (xEnd, yEnd), with its axes, ticks
// and labels; what follows, up to ClosePlot, is drawn in data units.
// `xTicks` false leaves the x axis unlabelled (the caller labels it).
// Returns the y axis's end, in data units.
double OpenPlot(std::ostream& out, double width, const std::string& id, const std::string& caption,
                const std::string& xLabel, const std::string& yLabel, double xTop, double yTop, bool xTicks = true) {
  const double plotWidth = width - kLeft - kRight;
  double xStep = 1, yStep = 1;
  const double xEnd = AxisEnd(xTop, xStep), yEnd = AxisEnd(yTop, yStep);
  const double sx = plotWidth / xEnd, sy = kPlotHeight / yEnd;
  out << "<figure><figcaption>" << HtmlEscape(caption) << "</figcaption>\n<svg id=\"" << HtmlEscape(id)
      << "\" class=\"plot\" width=\"" << width << "\" height=\"" << kHeight << "\" viewBox=\"0 0 " << width << " "
      << kHeight << "\" role=\"img\" aria-label=\"" << HtmlEscape(caption)
      << "\" data-x-end=\"" << Number(xEnd) << "\" data-y-end=\"" << Number(yEnd) << "\">\n";
  for (int t = 0; t * yStep <= yEnd + 1e-9 * yEnd; ++t) {
    const double y = kTop + kPlotHeight - t * yStep * sy;
    out << "<line class=\"grid\" x1=\"" << kLeft << "\" x2=\"" << kLeft + plotWidth << "\" y1=\"" << Number(y)
        << "\" y2=\"" << Number(y) << "\"/><text x=\"" << kLeft - 5 << "\" y=\"" << Number(y + 4)
        << "\" text-anchor=\"end\">" << TickLabel(t * yStep) << "</text>\n";
  }
  if (xTicks)
    for (int t = 0; t * xStep <= xEnd + 1e-9 * xEnd; ++t) {
      const double x = kLeft + t * xStep * sx;
      out << "<line class=\"axis\" x1=\"" << Number(x) << "\" x2=\"" << Number(x) << "\" y1=\""
          << kTop + kPlotHeight << "\" y2=\"" << kTop + kPlotHeight + 4 << "\"/><text x=\"" << Number(x) << "\" y=\""
          << kTop + kPlotHeight + 16 << "\" text-anchor=\"middle\">" << TickLabel(t * xStep) << "</text>\n";
    }
  out << "<line class=\"axis\" x1=\"" << kLeft << "\" x2=\"" << kLeft + plotWidth << "\" y1=\"" << kTop + kPlotHeight
      << "\" y2=\"" << kTop + kPlotHeight << "\"/><line class=\"axis\" x1=\"" << kLeft << "\" x2=\"" << kLeft
      << "\" y1=\"" << kTop << "\" y2=\"" << kTop + kPlotHeight << "\"/>\n"
      << "<text x=\"" << kLeft + plotWidth / 2 << "\" y=\"" << kHeight - 8 << "\" text-anchor=\"middle\">"
      << HtmlEscape(xLabel) << "</text><text transform=\"translate(14 " << kTop + kPlotHeight / 2
      << ") rotate(-90)\" text-anchor=\"middle\">" << HtmlEscape(yLabel) << "</text>\n"
      << "<g class=\"data\" transform=\"matrix(" << Number(sx, "%.9g") << " 0 0 " << Number(-sy, "%.9g") << " "
      << kLeft << " " << kTop + kPlotHeight << ")\">\n";
  return yEnd;
}

void ClosePlot(std::ostream& out) { out << "</g>\n</svg></figure>\n"; }

void Polyline(std::ostream& out, const std::string& kind, const std::vector<PlotPoint>& points) {
  out << "<polyline class=\"series " << kind << "\" vector-effect=\"non-scaling-stroke\" points=\"";
  for (size_t i = 0; i < points.size(); ++i)
    out << (i > 0 ? " " : "") << Number(points[i].mX, "%.10g") << "," << Number(points[i].mY, "%.10g");
  out << "\"/>\n";
}

double HighestY(const std::vector<PlotPoint>& points) {
  double top = 0;
  for (const PlotPoint& point : points) top = std::max(top, point.mY);
  return top;
}

// The figures in two tables side by side, the first holding the lengths.
void WriteFiguresTable(std::ostream& out, const AssemblyFigures& figures) {
  const std::vector<FigureRow> rows = FigureRows(figures);
  const size_t half = (rows.size() + 1) / 2;
  out << "<div class=\"plots\">\n";
  for (size_t from : {size_t{0}, half}) {
    out << "<table class=\"figures\">\n";
    for (size_t r = from; r < std::min(rows.size(), from + half); ++r)
      out << "<tr><td>" << HtmlEscape(rows[r].mLabel) << "</td><td>" << rows[r].mValue << "</td></tr>\n";
    out << "</table>\n";
  }
  out << "</div>\n";
}

void WriteLengthPlots(std::ostream& out, const std::vector<int>& lengths) {
  out << "<div class=\"plots\">\n";
  const std::vector<PlotPoint> nx = NxPoints(lengths);
  OpenPlot(out, kLengthPlotWidth, "nx", "Nx: the length at which contigs, largest first, reach x % of the total", "x (%)",
           "contig length", 100, HighestY(nx));
  Polyline(out, "nx", nx);
  ClosePlot(out);
  const std::vector<PlotPoint> cumulative = CumulativeLengthPoints(lengths);
  OpenPlot(out, kLengthPlotWidth, "cumulative", "Cumulative length, largest contigs first", "contigs", "total length",
           cumulative.empty() ? 0 : cumulative.back().mX, HighestY(cumulative));
  Polyline(out, "cumulative", cumulative);
  ClosePlot(out);
  // The bins are drawn one unit wide each; the x axis names their bounds.
  const std::vector<HistogramBin> bins = LengthHistogram(lengths);
  double highest = 0;
  for (const HistogramBin& bin : bins) highest = std::max(highest, static_cast<double>(bin.mContigs));
  OpenPlot(out, kLengthPlotWidth, "histogram", "Contig lengths", "contig length (bins of equal width on a log scale)", "contigs",
           static_cast<double>(std::max<size_t>(bins.size(), 1)), highest, false);
  for (size_t b = 0; b < bins.size(); ++b)
    out << "<rect class=\"bar\" x=\"" << b + 0.08 << "\" width=\"0.84\" y=\"0\" height=\"" << bins[b].mContigs
        << "\" data-from=\"" << bins[b].mFrom << "\" data-to=\"" << bins[b].mTo << "\"><title>" << bins[b].mFrom
        << " to " << bins[b].mTo - 1 << ": " << bins[b].mContigs << " contigs</title></rect>\n";
  out << "</g>\n";
  // Bounds under every bin edge, as many as fit.
  const double width = (kLengthPlotWidth - kLeft - kRight) / static_cast<double>(std::max<size_t>(bins.size(), 1));
  const size_t every = static_cast<size_t>(std::ceil(44 / width));
  for (size_t b = 0; b <= bins.size(); b += every) {
    const int64_t bound = b < bins.size() ? bins[b].mFrom : bins.empty() ? 0 : bins.back().mTo;
    out << "<text x=\"" << Number(kLeft + static_cast<double>(b) * width) << "\" y=\"" << kTop + kPlotHeight + 16
        << "\" text-anchor=\"middle\">" << TickLabel(static_cast<double>(bound)) << "</text>\n";
  }
  out << "</svg></figure>\n</div>\n";
}

void WriteDepthProfile(std::ostream& out, const DepthProfile& profile, size_t rank) {
  const ContigFigures& f = profile.mFigures;
  const double top = std::max(HighestY(profile.mReadDepth), HighestY(profile.mTemplateDepth));
  const double yEnd = OpenPlot(out, kDepthPlotWidth, "depth-" + std::to_string(rank), f.mName + ": " + std::to_string(f.mPadded) + " padded columns, " +
                    std::to_string(f.mLength) + " bases, " + std::to_string(f.mReads) + " reads",
           "padded column", "depth", static_cast<double>(std::max<int64_t>(f.mPadded - 1, 1)), top);
  for (const auto& [from, to] : profile.mLowStretches)
    out << "<rect class=\"low\" x=\"" << from << "\" width=\"" << to - from + 1 << "\" y=\"0\" height=\""
        << Number(yEnd) << "\" data-from=\"" << from << "\" data-to=\"" << to << "\"/>\n";
  Polyline(out, "template-depth", profile.mTemplateDepth);
  Polyline(out, "read-depth", profile.mReadDepth);
  for (int trim : {profile.mTrimStart, profile.mTrimEnd})
    if (trim >= 0)
      out << "<line class=\"trim\" vector-effect=\"non-scaling-stroke\" x1=\"" << trim << "\" x2=\"" << trim
          << "\" y1=\"0\" y2=\"" << Number(yEnd) << "\"/>\n";
  ClosePlot(out);
}

void WriteKey(std::ostream& out) {
  out << "<p class=\"key\"><span><i class=\"swatch\" style=\"background:#1f5fa8\"></i>read depth</span>"
         "<span><i class=\"swatch\" style=\"background:#d9822b\"></i>template depth (good mate pairs)</span>"
         "<span><i class=\"swatch\" style=\"background:#e0524a;opacity:.35\"></i>low-coverage tails and crashes"
         "</span><span><i class=\"swatch\" style=\"border-top:2px dashed #7b3fa0;height:0\"></i>consensus-quality "
         "trims</span></p>\n";
}

}  // namespace

AssemblyReport::~AssemblyReport() {
  if (mRows != nullptr) std::fclose(mRows);
}

bool AssemblyReport::Open() {
  mRows = std::tmpfile();
  return mRows != nullptr;
}

void AssemblyReport::Add(const Contig& contig) {
  mLargest.Add(contig);
  if (mRows == nullptr) return;
  const ContigFigures f = FiguresOf(contig);
  const std::string row = "<tr><td>" + HtmlEscape(f.mName) + "</td><td>" + std::to_string(f.mPadded) + "</td><td>" +
                          std::to_string(f.mLength) + "</td><td>" + std::to_string(f.mReads) + "</td><td>" +
                          Number(f.MeanDepth(), "%.2f") + "</td><td>" + Number(f.GCPercent(), "%.2f") +
                          "</td></tr>\n";
  std::fwrite(row.data(), 1, row.size(), mRows);
  ++mContigs;
}

bool AssemblyReport::Write(std::ostream& out, const std::string& assemblyName, const AssemblyFigures& figures,
                           const std::vector<int>& lengths) {
  const std::string name = HtmlEscape(assemblyName);
  out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Assembly report: " << name
      << "</title>\n<style>\n" << kStyle << "\n</style>\n</head>\n<body>\n<h1>Assembly report: " << name << "</h1>\n"
      << "<h2>Figures</h2>\n<p>Over the contigs of at least " << figures.mMinContigSize
      << " padded columns; lengths count bases, pads left out.</p>\n";
  WriteFiguresTable(out, figures);
  out << "<h2>Contig lengths</h2>\n";
  WriteLengthPlots(out, lengths);
  const std::vector<DepthProfile>& profiles = mLargest.Profiles();
  out << "<h2>Depth along the " << profiles.size() << " largest contigs</h2>\n";
  WriteKey(out);
  for (size_t p = 0; p < profiles.size(); ++p) WriteDepthProfile(out, profiles[p], p + 1);
  out << "<h2>Every contig (" << mContigs << ")</h2>\n<table class=\"contigs\">\n<tr><th>name</th><th>padded</th>"
      << "<th>length</th><th>reads</th><th>mean depth</th><th>GC %</th></tr>\n";
  bool rowsRead = mRows != nullptr && std::fflush(mRows) == 0 && std::fseek(mRows, 0, SEEK_SET) == 0;
  char chunk[1 << 16];
  size_t got;
  while (rowsRead && (got = std::fread(chunk, 1, sizeof chunk, mRows)) > 0) out.write(chunk, static_cast<std::streamsize>(got));
  rowsRead = rowsRead && !std::ferror(mRows);
  out << "</table>\n</body>\n</html>\n";
  return rowsRead && out.good();
}

std::string HtmlEscape(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

}  // namespace ostrel
