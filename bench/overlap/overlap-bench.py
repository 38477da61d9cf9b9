#!/usr/bin/env python3
"""All-against-all overlap benchmark: ostrel-overlap against minimap2's
ava-pb and ava-ont presets on simulated Sanger-like reads.

For each coverage the data (genome.fa, reads.fa, reads.truth from
`overlap-bench make`, see bench/overlap/OverlapBench.cpp) is made once under
bench/out/overlap-<cov>x/ and reused while its coverage and seed stay the
same. The tools then run side by side in the same run: ostrel-overlap once
per least score (-s, --scores), and the two minimap2 presets, each under
/usr/bin/time for its wall seconds and peak resident memory, writing PAF to
a file there. With --repeats N they run in turn N times (interleaved, so a
busy spell on the shared machine weighs on all of them alike) and the
shortest wall time, the least CPU time and the highest peak of each count.
With --baseline BIN another ostrel-overlap build (today's, say) runs
alongside as "baseline", scored and compared the same way.

Each output is scored by overlap-eval.py: for the least score s, recall over
the true pairs sharing at least max(150, 4 s / 3) genome bases (400 for the
default 300, 150 for 100), precision over the reported pairs, a pair being
right when its reads share at least 100 genome bases on the strand given.
minimap2 does not take a least score: its rows are scored for each one.

The table gives per coverage, least score and tool: recall, precision, the
share placed right, wall seconds, CPU seconds (user and system, which a
loaded machine stretches less than the wall time), peak MB, reported pairs
and false ones; then ostrel-overlap's wall time, CPU time and peak memory
against minimap2 -x ava-pb, and the growth of each from the first coverage
to the last. The load
average of the machine is printed before and after.

Every tool runs with --threads threads (default 2, the machine's cores);
ostrel-overlap gets -q and whatever --opts adds. Without an ostrel-overlap
binary only minimap2 runs.

Usage: bench/overlap/overlap-bench.py [--ostrel BIN] [--baseline BIN] [--generator BIN]
           [--coverages 10,30] [--scores 300,100] [--opts="OPTIONS"]
           [--repeats N] [--threads N] [--seed S]
"""

import argparse
import importlib.util
import os
import shlex
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
SEED = 20261209
MIN_PRECISE = 100


def min_true(score):
    """The genome bases a true overlap shares at the least score."""
    return max(150, 4 * score // 3)


def load_evaluator():
    location = importlib.util.spec_from_file_location("overlap_eval", os.path.join(HERE, "overlap-eval.py"))
    module = importlib.util.module_from_spec(location)
    location.loader.exec_module(module)
    return module


def dataset(generator, out, coverage, seed):
    """The data folder of a coverage, made unless a complete one exists."""
    data = os.path.join(out, "overlap-%sx" % coverage)
    stamp = os.path.join(data, "complete")
    wanted = "coverage %s seed %d\n" % (coverage, seed)
    try:
        with open(stamp) as f:
            if f.read() == wanted:
                print("dataset: reusing", data, flush=True)
                return data
    except OSError:
        pass
    if not os.access(generator, os.X_OK):
        sys.exit("bench: no generator at %s (make bench-build)" % generator)
    shutil.rmtree(data, ignore_errors=True)
    os.makedirs(data)
    print("dataset: making %sx in %s" % (coverage, data), flush=True)
    subprocess.run([generator, "make", data, str(coverage), str(seed)], check=True)
    with open(stamp, "w") as f:
        f.write(wanted)
    return data


def timed(command, cwd, paf, log):
    """Runs command under /usr/bin/time with its output in `paf`; returns
    (wall seconds, peak MB, CPU seconds), or None when it failed."""
    times = log + ".time"
    with open(paf, "wb") as out, open(log, "wb") as err:
        status = subprocess.run(["/usr/bin/time", "-f", "%e %M %U %S", "-o", times] + command,
                                cwd=cwd, stdout=out, stderr=err).returncode
    if status != 0:
        print("bench: %s exited with status %d (see %s)" % (" ".join(command), status, log), flush=True)
        return None
    with open(times) as f:
        wall, kb, user, system = f.read().split()[-4:]
    return float(wall), int(kb) / 1024, float(user) + float(system)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--ostrel", default=os.path.join(ROOT, "build-bench", "overlap", "ostrel-overlap"),
                        help="the ostrel-overlap binary (skipped when absent)")
    parser.add_argument("--baseline", help="another ostrel-overlap binary, run alongside as baseline")
    parser.add_argument("--generator", default=os.path.join(ROOT, "build-bench", "bench", "overlap", "overlap-bench"),
                        help="the overlap-bench binary that makes the data")
    parser.add_argument("--coverages", default="10,30", help="comma-separated coverages (default 10,30)")
    parser.add_argument("--scores", default="300,100", help="comma-separated least scores (default 300,100)")
    parser.add_argument("--opts", default="", help="extra ostrel-overlap options, one string")
    parser.add_argument("--repeats", type=int, default=1, help="runs of each tool; the shortest counts")
    parser.add_argument("--threads", type=int, default=2, help="threads of every tool (default 2)")
    parser.add_argument("--seed", type=int, default=SEED)
    parser.add_argument("--out", default=os.path.join(ROOT, "bench", "out"), help="where the data goes")
    args = parser.parse_args()
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("bench: /usr/bin/time is needed (Debian package time)")
    evaluator = load_evaluator()
    scores = [int(x) for x in args.scores.split(",")]
    threads = str(args.threads)

    # (name, least score or None for every one, command)
    tools = []
    if os.access(args.ostrel, os.X_OK):
        for score in scores:
            tools.append(("ostrel-overlap", score, [os.path.abspath(args.ostrel), "-q", "-t", threads, "-s",
                                                    str(score)] + shlex.split(args.opts) + ["reads.fa"]))
    else:
        print("bench: no ostrel-overlap at %s: skipped" % args.ostrel, flush=True)
    if args.baseline:
        if not os.access(args.baseline, os.X_OK):
            sys.exit("bench: no baseline binary at %s" % args.baseline)
        for score in scores:
            tools.append(("baseline", score, [os.path.abspath(args.baseline), "-q", "-t", threads, "-s", str(score)]
                          + shlex.split(args.opts) + ["reads.fa"]))
    minimap2 = shutil.which("minimap2")
    if minimap2:
        for preset in ("ava-pb", "ava-ont"):
            tools.append(("minimap2 " + preset, None, [minimap2, "-x", preset, "-t", threads, "reads.fa", "reads.fa"]))
    else:
        print("bench: minimap2 not installed: skipped", flush=True)
    for name, score, command in tools:
        print("%-16s %s" % (name + ":", " ".join(command)), flush=True)
    print("load average before: %.2f %.2f %.2f" % os.getloadavg(), flush=True)

    def stem_of(data, name, score):
        return os.path.join(data, name.replace(" ", "-") + ("" if score is None else "-s%d" % score))

    rows = []
    measured = {}  # (coverage, name, score) -> (wall, MB)
    coverages = [c.strip() for c in args.coverages.split(",")]
    for coverage in coverages:
        data = dataset(os.path.abspath(args.generator), os.path.abspath(args.out), coverage, args.seed)
        best = {}
        for _ in range(max(1, args.repeats)):
            for name, score, command in tools:
                stem = stem_of(data, name, score)
                got = timed(command, data, stem + ".paf", stem + ".log")
                key = (name, score)
                if got is None:
                    best[key] = None
                elif best.get(key, 0) is not None:
                    wall, mb, cpu = best.get(key, (float("inf"), 0.0, float("inf")))
                    best[key] = (min(wall, got[0]), max(mb, got[1]), min(cpu, got[2]))
                print("%sx %s%s: %s" % (coverage, name, "" if score is None else " -s %d" % score,
                                       "failed" if got is None else "%.1f s, %.0f MB, %.1f CPU s" % got), flush=True)
        for (name, score), got in best.items():
            if got is not None:
                measured[(coverage, name, score)] = got
        for least in scores:
            for name, score, _ in tools:
                if score not in (None, least):
                    continue
                got = best.get((name, score))
                if got is None:
                    rows.append((coverage, least, name, None, None))
                    continue
                result = evaluator.evaluate(os.path.join(data, "reads.truth"), stem_of(data, name, score) + ".paf",
                                            min_true(least), min_precise=MIN_PRECISE)
                rows.append((coverage, least, name, got, result))

    print()
    print("%-5s %5s %-16s %8s %9s %8s %8s %8s %8s %9s %7s" % ("cov", "-s", "tool", "recall", "precision", "placed",
                                                              "wall s", "cpu s", "peak MB", "pairs", "false"))
    for coverage, least, name, got, r in rows:
        if got is None:
            print("%-5s %5d %-16s failed" % (coverage + "x", least, name))
            continue
        print("%-5s %5d %-16s %8.4f %9.4f %8.4f %8.1f %8.1f %8.0f %9d %7d" % (
            coverage + "x", least, name, r["recall"], r["precision"], r["placed_share"], got[0], got[2], got[1],
            r["reported"], r["reported"] - r["correct"]))
    print("recall: true pairs sharing >= max(150, 4 x least score / 3) genome bases (400 at 300, 150 at 100); "
          "precision: reported pairs sharing >= %d bases, strand right; placed: aligned stretches on the same "
          "genome stretch" % MIN_PRECISE)
    reference = "minimap2 ava-pb"
    ours_names = ["ostrel-overlap"] + (["baseline"] if args.baseline else [])
    for coverage in coverages:
        pb = measured.get((coverage, reference, None))
        for name in ours_names:
            for score in scores:
                ours = measured.get((coverage, name, score))
                if ours and pb:
                    print("%-5s %s -s %d against %s: wall %.2f x, cpu %.2f x, peak memory %.2f x" % (
                        coverage + "x", name, score, reference, ours[0] / pb[0], ours[2] / pb[2], ours[1] / pb[1]))
    if len(coverages) > 1:
        low, high = coverages[0], coverages[-1]
        for name, score in [(n, s) for n in ours_names for s in scores] + [(reference, None)]:
            a, b = measured.get((low, name, score)), measured.get((high, name, score))
            if a and b:
                print("growth %sx -> %sx, %s%s: wall %.2f x, cpu %.2f x, peak memory %.2f x" % (
                    low, high, name, "" if score is None else " -s %d" % score, b[0] / a[0], b[2] / a[2],
                    b[1] / a[1]))
    print("load average after: %.2f %.2f %.2f" % os.getloadavg())


if __name__ == "__main__":
    main()
