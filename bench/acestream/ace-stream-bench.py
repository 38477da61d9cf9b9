#!/usr/bin/env python3
"""Assemblies read contig by contig: `ostrel-ace stats` (as text and as
TSV), `report`, `fasta` and `write`, with and without the quality file, on
the synthetic assembly of `make bench-aceread`, side by side in one run with the whole-assembly reads and
write (AceFile::Read, ReadAll with the qualities, WriteAce, through
aceread-bench) and a Python program that parses the same file with
Biopython's Bio.Sequencing.Ace.parse and counts contigs and reads. Each runs
under /usr/bin/time for its wall time and peak memory; the peaks are set
against 64 MB plus twice the model of the largest contig. With --large, the
runs that do not hold the whole assembly are repeated on one ten times
larger, made for the run and deleted after it."""
import argparse
import os
import subprocess
import sys
import tempfile

BIOPYTHON_COUNT = """
import sys
from Bio.Sequencing import Ace
contigs = reads = 0
with open(sys.argv[1]) as handle:
    for contig in Ace.parse(handle):
        contigs += 1
        reads += len(contig.reads)
print(contigs, reads)
"""


def run_once(args, label):
    """The wall seconds and peak MB of one run; the output is thrown away."""
    with tempfile.NamedTemporaryFile("r") as times:
        run = subprocess.run(["/usr/bin/time", "-f", "%e %M", "-o", times.name] + args,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wall, peak_kb = times.read().split()[-2:]
    if run.returncode not in (0, 2):
        sys.exit("%s failed with status %d" % (label, run.returncode))
    return float(wall), int(peak_kb) / 1024.0


def measure(ace, qual, tools, whole, out):
    """The runs on one assembly; `whole` adds those that hold it all in memory."""
    written = os.path.join(os.path.dirname(os.path.abspath(ace)), "written.ace")
    report = os.path.join(os.path.dirname(os.path.abspath(ace)), "report.html")
    rows = [
        ("ostrel-ace stats", [tools.acetool, "stats", ace]),
        ("ostrel-ace stats -f tsv", [tools.acetool, "stats", "-f", "tsv", ace]),
        ("ostrel-ace report", [tools.acetool, "report", ace, report]),
        ("ostrel-ace stats -q", [tools.acetool, "stats", "-q", qual, ace]),
        ("ostrel-ace fasta", [tools.acetool, "fasta", ace]),
        ("ostrel-ace write", [tools.acetool, "write", ace, written]),
        ("ostrel-ace write -q -c", [tools.acetool, "write", "-q", qual, "-c", ace, written]),
        ("Biopython Ace.parse", [tools.python, "-c", BIOPYTHON_COUNT, ace]),
    ]
    if whole:
        rows += [
            ("AceFile::Read (whole)", [tools.aceread, "read", ace]),
            ("ReadAll with -q (whole)", [tools.aceread, "readall", ace, qual]),
            ("Read + WriteAce (whole)", [tools.aceread, "read", ace, written]),
        ]
    # Each round runs every row once, so that a slow spell of the machine
    # weighs on all of them alike; the shortest wall and the largest peak
    # of each row count.
    results = {}
    for _ in range(tools.repeats):
        for label, args in rows:
            wall, peak = run_once(args, label)
            best_wall, best_peak = results.get(label, (wall, peak))
            results[label] = (min(best_wall, wall), max(best_peak, peak))
    for label, _ in rows:
        print("%-24s %8.2f s %9.1f MB" % ((label,) + results[label]), file=out, flush=True)
    for name in (written, report):
        if os.path.exists(name):
            os.remove(name)
    model = subprocess.run([tools.aceread, "model", ace, qual], check=True, capture_output=True,
                           text=True).stdout.split()[-2]
    bound = 64 + 2 * float(model)
    print("Largest contig model %s MB: peak bound %.1f MB; contig by contig, the largest peak %.1f MB" %
          (model, bound, max(results[label][1] for label, _ in rows[:7])), file=out)
    stats = results["ostrel-ace stats"]
    print("stats -f tsv / stats: %.2fx; report / stats: %.2fx (at most 1.5x), report peak %.1f MB (at most 64)" %
          (results["ostrel-ace stats -f tsv"][0] / stats[0], results["ostrel-ace report"][0] / stats[0],
           results["ostrel-ace report"][1]), file=out)
    bio = results["Biopython Ace.parse"][0]
    print("Biopython / stats: %.1fx; Biopython / stats -q: %.1fx" %
          (bio / results["ostrel-ace stats"][0], bio / results["ostrel-ace stats -q"][0]), file=out)
    if whole:
        print("whole read / stats: %.2fx; whole read with -q / stats -q: %.2fx; whole read and write / write: %.2fx" %
              (results["AceFile::Read (whole)"][0] / results["ostrel-ace stats"][0],
               results["ReadAll with -q (whole)"][0] / results["ostrel-ace stats -q"][0],
               results["Read + WriteAce (whole)"][0] / results["ostrel-ace write"][0]), file=out)
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--acetool", required=True)
    parser.add_argument("--aceread", required=True, help="the aceread-bench binary")
    parser.add_argument("--python", default="/usr/bin/python3", help="a Python with Biopython")
    parser.add_argument("--ace", required=True)
    parser.add_argument("--qual", required=True)
    parser.add_argument("--repeats", type=int, default=3, help="runs of each; the shortest counts")
    parser.add_argument("--large", type=int, default=0,
                        help="contigs of a larger assembly to make, measure and delete (0: none)")
    tools = parser.parse_args()
    print("%s (%.0f MB):" % (tools.ace, os.path.getsize(tools.ace) / 1e6))
    measure(tools.ace, tools.qual, tools, True, sys.stdout)
    if tools.large > 0:
        folder = os.path.dirname(os.path.abspath(tools.ace))
        big_ace, big_qual = os.path.join(folder, "large.ace"), os.path.join(folder, "large.qual")
        try:
            subprocess.run([tools.aceread, "make", big_ace, big_qual, str(tools.large)], check=True,
                           stdout=subprocess.DEVNULL)
            print("%s (%.0f MB):" % (big_ace, os.path.getsize(big_ace) / 1e6))
            measure(big_ace, big_qual, tools, False, sys.stdout)
        finally:
            for name in (big_ace, big_qual):
                if os.path.exists(name):
                    os.remove(name)


if __name__ == "__main__":
    main()
