#!/usr/bin/env python3
"""ACE files read contig by contig from Python: ostrel.ace.parse against
Biopython's Bio.Sequencing.Ace.parse on the synthetic assembly of `make
bench-aceread`, side by side in one run. Each program iterates over every
contig and touches each read's sequence (its length summed), and runs under
/usr/bin/time for its wall time and peak memory, in rounds that run each row
once, the shortest wall and the largest peak of each row counting. The
targets: ostrel within a third of Biopython's time, and its peak within
64 MB plus the largest contig's model (as aceread-bench model gives it)."""
import argparse
import subprocess
import sys
import tempfile

TOUCH_READS = """
import sys
from {module} import {name} as Ace
contigs = reads = bases = 0
for contig in Ace.parse({source}):
    contigs += 1
    for read in contig.reads:
        reads += 1
        bases += len(read.rd.sequence)
print(contigs, reads, bases)
"""

ROWS = [
    ("Biopython Ace.parse", TOUCH_READS.format(module="Bio.Sequencing", name="Ace", source="open(sys.argv[1])")),
    ("ostrel.ace.parse", TOUCH_READS.format(module="ostrel", name="ace", source="sys.argv[1]")),
]


def run_once(python, program, ace):
    """(wall seconds, peak MB, what the program printed)."""
    with tempfile.NamedTemporaryFile("r") as times:
        run = subprocess.run(["/usr/bin/time", "-f", "%e %M", "-o", times.name, python, "-c", program, ace],
                             capture_output=True, text=True)
        wall, peak_kb = times.read().split()[-2:]
    if run.returncode != 0:
        sys.exit(run.stderr)
    return float(wall), int(peak_kb) / 1024.0, run.stdout.strip()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--python", default="/usr/bin/python3", help="a Python with Biopython and ostrel")
    parser.add_argument("--aceread", required=True, help="the aceread-bench binary")
    parser.add_argument("--ace", required=True)
    parser.add_argument("--qual", required=True)
    parser.add_argument("--repeats", type=int, default=3, help="rounds; the shortest wall counts")
    args = parser.parse_args()
    results, counts = {}, {}
    for _ in range(args.repeats):
        for label, program in ROWS:
            wall, peak, printed = run_once(args.python, program, args.ace)
            best_wall, best_peak = results.get(label, (wall, peak))
            results[label] = (min(best_wall, wall), max(best_peak, peak))
            counts[label] = printed
    for label, _ in ROWS:
        print("%-22s %8.2f s %9.1f MB   contigs, reads, bases: %s" % ((label,) + results[label] + (counts[label],)))
    if len(set(counts.values())) != 1:
        sys.exit("the two parsers disagree on the contigs, reads or bases")
    model = float(subprocess.run([args.aceread, "model", args.ace, args.qual], check=True, capture_output=True,
                                 text=True).stdout.split()[-2])
    ratio = results["ostrel.ace.parse"][0] / results["Biopython Ace.parse"][0]
    bound = 64 + model
    print("ostrel / Biopython time: %.2f (target at most 0.33)" % ratio)
    print("ostrel peak %.1f MB; bound 64 MB + largest contig %.1f MB = %.1f MB" %
          (results["ostrel.ace.parse"][1], model, bound))


if __name__ == "__main__":
    main()
