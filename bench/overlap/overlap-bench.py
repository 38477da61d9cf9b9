#!/usr/bin/env python3
"""All-against-all overlap benchmark: ostrel-overlap against minimap2's
ava-pb and ava-ont presets on simulated Sanger-like reads.

For each coverage the data (genome.fa, reads.fa, reads.truth from
`overlap-bench make`, see bench/overlap/OverlapBench.cpp) is made once under
bench/out/overlap-<cov>x/ and reused while its coverage and seed stay the
same. The three tools then run side by side in the same run, one after the
other, each under /usr/bin/time for its wall seconds and peak resident
memory, writing PAF to a file there; each output is scored by
overlap-eval.py. With --repeats N the three run in turn N times and the
shortest wall time and the highest peak of each count.

The table gives per coverage and tool: wall seconds, peak MB, recall,
precision, the share of reported pairs placed right, the number of reported
pairs and of those not true; then ostrel's wall time against the faster
minimap2 preset.

minimap2 runs with -t 2 (the machine's cores); ostrel-overlap gets -q and
whatever --opts adds (e.g. --opts="-t 2"), so its defaults can be tuned
here. Without an ostrel-overlap binary only minimap2 runs.

Usage: bench/overlap/overlap-bench.py [--ostrel BIN] [--generator BIN]
           [--coverages 10,30] [--opts="OPTIONS"] [--repeats N] [--seed S]
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
MIN_TRUE = 400


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
    (wall seconds, peak MB), or None when it failed."""
    times = log + ".time"
    with open(paf, "wb") as out, open(log, "wb") as err:
        status = subprocess.run(["/usr/bin/time", "-f", "%e %M", "-o", times] + command,
                                cwd=cwd, stdout=out, stderr=err).returncode
    if status != 0:
        print("bench: %s exited with status %d (see %s)" % (" ".join(command), status, log), flush=True)
        return None
    with open(times) as f:
        wall, kb = f.read().split()[-2:]
    return float(wall), int(kb) / 1024


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--ostrel", default=os.path.join(ROOT, "build-bench", "overlap", "ostrel-overlap"),
                        help="the ostrel-overlap binary (skipped when absent)")
    parser.add_argument("--generator", default=os.path.join(ROOT, "build-bench", "bench", "overlap", "overlap-bench"),
                        help="the overlap-bench binary that makes the data")
    parser.add_argument("--coverages", default="10,30", help="comma-separated coverages (default 10,30)")
    parser.add_argument("--opts", default="", help="extra ostrel-overlap options, one string")
    parser.add_argument("--repeats", type=int, default=1, help="runs of each tool; the shortest counts")
    parser.add_argument("--seed", type=int, default=SEED)
    parser.add_argument("--out", default=os.path.join(ROOT, "bench", "out"), help="where the data goes")
    args = parser.parse_args()
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("bench: /usr/bin/time is needed (Debian package time)")
    evaluator = load_evaluator()

    tools = []
    if os.access(args.ostrel, os.X_OK):
        tools.append(("ostrel-overlap", [os.path.abspath(args.ostrel), "-q"] + shlex.split(args.opts) + ["reads.fa"]))
    else:
        print("bench: no ostrel-overlap at %s: skipped" % args.ostrel, flush=True)
    minimap2 = shutil.which("minimap2")
    if minimap2:
        for preset in ("ava-pb", "ava-ont"):
            tools.append(("minimap2 " + preset, [minimap2, "-x", preset, "-t", "2", "reads.fa", "reads.fa"]))
    else:
        print("bench: minimap2 not installed: skipped", flush=True)
    for name, command in tools:
        print("%-16s %s" % (name + ":", " ".join(command)), flush=True)

    rows = []
    for coverage in args.coverages.split(","):
        coverage = coverage.strip()
        data = dataset(os.path.abspath(args.generator), os.path.abspath(args.out), coverage, args.seed)
        best = {}
        for _ in range(max(1, args.repeats)):
            for name, command in tools:
                stem = os.path.join(data, name.replace(" ", "-"))
                got = timed(command, data, stem + ".paf", stem + ".log")
                if got is None:
                    best[name] = None
                elif best.get(name, 0) is not None:
                    wall, mb = best.get(name, (float("inf"), 0.0))
                    best[name] = (min(wall, got[0]), max(mb, got[1]))
        walls = {}
        for name, _ in tools:
            if best.get(name) is None:
                rows.append((coverage, name, None, None, None))
                continue
            score = evaluator.evaluate(os.path.join(data, "reads.truth"),
                                       os.path.join(data, name.replace(" ", "-") + ".paf"), MIN_TRUE)
            walls[name] = best[name][0]
            rows.append((coverage, name, best[name][0], best[name][1], score))
            print("%sx %s done in %.1f s" % (coverage, name, best[name][0]), flush=True)
        fastest = min((walls[n] for n in walls if n.startswith("minimap2")), default=None)
        if "ostrel-overlap" in walls and fastest:
            rows.append((coverage, "ratio", walls["ostrel-overlap"] / fastest, None, None))

    print()
    print("%-5s %-16s %8s %8s %8s %9s %8s %10s %7s" % ("cov", "tool", "wall s", "peak MB", "recall", "precision",
                                                       "placed", "pairs", "false"))
    for coverage, name, wall, mb, score in rows:
        if name == "ratio":
            print("%-5s ostrel-overlap wall / faster minimap2 preset: %.2f" % (coverage + "x", wall))
        elif wall is None:
            print("%-5s %-16s failed" % (coverage + "x", name))
        else:
            print("%-5s %-16s %8.1f %8.0f %8.4f %9.4f %8.4f %10d %7d" % (
                coverage + "x", name, wall, mb, score["recall"], score["precision"], score["placed_share"],
                score["reported"], score["reported"] - score["correct"]))
    print("recall: true overlaps share >= %d genome bases; precision: reported pairs that share >= 1 base, "
          "strand right; placed: aligned stretches on the same genome stretch" % MIN_TRUE)


if __name__ == "__main__":
    main()
