#!/usr/bin/env python3
"""The report of a real assembly, opened in headless Chromium: the page loads
with no console message, fetches nothing, and each plot's SVG holds the
points it should, judged against figures computed here from the assembly as
Biopython's ACE parser reads it. A screenshot of the page is saved under the
build folder.

Exits 77 (skipped) when chromium is not installed."""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

from Bio.Sequencing import Ace

SKIP = 77

# Run in the page once it has loaded: what the browser made of each plot,
# written into the page, which --dump-dom then prints.
CHECKER = """<script>
window.addEventListener("load", () => {
  const points = (svg, kind) => Array.from(svg.querySelectorAll("polyline." + kind),
      line => Array.from(line.points, p => [p.x, p.y]));
  const result = {resources: performance.getEntriesByType("resource").map(e => e.name), plots: {}};
  for (const svg of document.querySelectorAll("svg.plot")) {
    const box = svg.getBoundingClientRect();
    result.plots[svg.id] = {
      width: box.width, height: box.height,
      nx: points(svg, "nx"), cumulative: points(svg, "cumulative"),
      read: points(svg, "read-depth"), template: points(svg, "template-depth"),
      bars: Array.from(svg.querySelectorAll("rect.bar"), r => r.height.baseVal.value),
      low: svg.querySelectorAll("rect.low").length, trims: svg.querySelectorAll("line.trim").length,
      caption: svg.closest("figure").querySelector("figcaption").textContent,
    };
  }
  result.contigRows = document.querySelectorAll("table.contigs tr").length - 1;
  const pre = document.createElement("pre");
  pre.id = "checks";
  pre.textContent = JSON.stringify(result);
  document.body.appendChild(pre);
});
</script>"""


def chromium(browser, profile, *args):
    return subprocess.run([browser, "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                           "--allow-file-access-from-files", "--user-data-dir=" + profile,
                           "--enable-logging=stderr", "--v=0", *args],
                          capture_output=True, text=True, timeout=120)


def nx(lengths, percent, total):
    """The length at which the running sum, largest first, reaches percent % of total."""
    running = 0
    for length in sorted(lengths, reverse=True):
        running += length
        if running >= total * percent / 100:
            return length
    return 0


def depth(contig):
    """Reads covering each padded column, from the AF placements."""
    columns = [0] * len(contig.sequence)
    for placement, read in zip(contig.af, contig.reads):
        first = placement.padded_start - 1
        for p in range(max(first, 0), min(first + len(read.rd.sequence), len(columns))):
            columns[p] += 1
    return columns


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--acetool", required=True)
    parser.add_argument("--ace", required=True)
    parser.add_argument("--out", required=True, help="folder for the report and its screenshot")
    args = parser.parse_args()
    browser = shutil.which("chromium") or shutil.which("chromium-browser")
    if browser is None:
        print("chromium not found: the report's browser test is skipped (Debian package chromium)")
        return SKIP
    os.makedirs(args.out, exist_ok=True)
    report = os.path.join(args.out, "report.html")
    profiles = 5
    subprocess.run([args.acetool, "report", "-m", "0", "-n", str(profiles), "-g", "30k", args.ace, report],
                   check=True, stderr=subprocess.DEVNULL)
    with open(args.ace) as handle:
        contigs = list(Ace.parse(handle))
    lengths = [len(c.sequence) - c.sequence.count("*") - c.sequence.count("-") for c in contigs]
    failures = []

    def expect(ok, what):
        if not ok:
            failures.append(what)

    with tempfile.TemporaryDirectory() as scratch:
        # The page itself: nothing said on the console, and its picture.
        shot = os.path.join(args.out, "report.png")
        run = chromium(browser, os.path.join(scratch, "a"), "--window-size=900,2400", "--screenshot=" + shot,
                       "file://" + os.path.abspath(report))
        console = [line for line in run.stderr.splitlines() if "CONSOLE" in line]
        expect(not console, "console messages: %s" % console)
        expect(os.path.getsize(shot) > 10000, "no screenshot")
        # A copy with the checker, read back through the DOM.
        checked = os.path.join(scratch, "checked.html")
        with open(report) as src, open(checked, "w") as dst:
            dst.write(src.read().replace("</body>", CHECKER + "</body>"))
        run = chromium(browser, os.path.join(scratch, "b"), "--dump-dom", "file://" + checked)
        found = re.search(r'<pre id="checks">(.*?)</pre>', run.stdout, re.S)
        if found is None:
            print(run.stderr[-3000:])
            sys.exit("the checked page never finished loading")
        result = json.loads(found.group(1).replace("&quot;", '"').replace("&lt;", "<").replace("&gt;", ">")
                            .replace("&amp;", "&"))

    expect(result["resources"] == [], "resources fetched: %s" % result["resources"])
    plots = result["plots"]
    for name, plot in plots.items():
        expect(plot["width"] > 100 and plot["height"] > 100, "%s is not drawn" % name)
    total = sum(lengths)
    want_nx = [[x, nx(lengths, x, total)] for x in range(101)]
    expect(plots["nx"]["nx"] == [want_nx], "Nx curve %s, not %s" % (plots["nx"]["nx"], want_nx))
    cumulative = plots["cumulative"]["cumulative"][0]
    expect(cumulative[0] == [0, 0] and cumulative[-1] == [len(lengths), total], "cumulative ends %s %s" %
           (cumulative[0], cumulative[-1]))
    expect(all(b[1] >= a[1] for a, b in zip(cumulative, cumulative[1:])), "cumulative length falls")
    expect(sum(plots["histogram"]["bars"]) == len(lengths), "histogram counts %s" % plots["histogram"]["bars"])
    expect(result["contigRows"] == len(contigs), "%d contig rows" % result["contigRows"])
    # The largest contigs, earlier first among equals, each with its read
    # depth whole (these contigs are shorter than the thinning bound).
    largest = sorted(range(len(contigs)), key=lambda c: -len(contigs[c].sequence))[:profiles]
    for rank, c in enumerate(largest, 1):
        plot = plots.get("depth-%d" % rank)
        if plot is None:
            failures.append("no depth profile %d" % rank)
            continue
        expect(plot["caption"].startswith(contigs[c].name + ":"), "profile %d is of %s" % (rank, plot["caption"]))
        want = [[p, d] for p, d in enumerate(depth(contigs[c]))]
        expect(plot["read"] == [want], "read depth of %s" % contigs[c].name)
        expect(len(plot["template"]) == 1 and len(plot["template"][0]) == len(want), "template depth")
        expect(plot["trims"] == 2, "trims of %s" % contigs[c].name)
    expect("depth-%d" % (profiles + 1) not in plots, "more profiles than asked for")
    for failure in failures:
        print("FAILED:", failure)
    print("report %s: %d contigs, %d plots checked; screenshot %s" % (report, len(contigs), len(plots), shot))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
