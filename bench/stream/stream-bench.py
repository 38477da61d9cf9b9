#!/usr/bin/env python3
"""Streaming extraction benchmark: ostrel-extractbins -S over plain gzip
FASTQ against `gzip -dc` alone, and over plain FASTA against `cat` alone,
every bin taking a share of the reads (5% by default).

The reads are those of the FASTQ benchmark's generator (bench/fastq), made
once under bench/out/stream, then kept as plain gzip FASTQ and as plain
FASTA. The rows are timed in turn, round after round, each writing into an
empty folder once the page cache is written back, and each gives its best
round. Before timing, the streamed outputs are checked equal, byte for byte,
to the indexed extraction's from the same reads (the bgzip FASTQ through its
index, the FASTA through its own).

Usage: bench/stream/stream-bench.py [--reads N] [--bins N] [--share F] [--rounds N] [--build DIR]
"""
import argparse
import filecmp
import os
import runpy
import shutil
import subprocess
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def fastq_generator():
    return runpy.run_path(os.path.join(HERE, "..", "fastq", "fastq-bench.py"))["generate"]


def make_dataset(data, reads, bins, bin_size):
    os.makedirs(os.path.join(data, "gzip"), exist_ok=True)
    fastq_generator()(data, reads, bins, bin_size)  # reads.fq.gz (bgzip) and the bins
    subprocess.run("bgzip -dc reads.fq.gz | gzip -c > gzip/reads.fq.gz", shell=True, cwd=data, check=True)
    subprocess.run("bgzip -dc reads.fq.gz | seqtk seq -A - > reads.fa", shell=True, cwd=data, check=True)


def timed(command, cwd):
    start = time.monotonic()
    subprocess.run(command, shell=True, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return time.monotonic() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--reads", type=int, default=1_000_000)
    parser.add_argument("--bins", type=int, default=20)
    parser.add_argument("--share", type=float, default=0.05, help="share of the reads each bin takes")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--build", default=os.path.join(HERE, "..", "..", "build"))
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    extract = os.path.join(build, "extractbins", "ostrel-extractbins")
    index = os.path.join(build, "fastaindex", "ostrel-fastaindex")
    bin_size = int(args.reads * args.share)
    data = os.path.normpath(os.path.join(HERE, "..", "out", "stream", "%d-%d-%d" % (args.reads, args.bins, bin_size)))
    if not os.path.exists(os.path.join(data, "reads.fa")):
        print("dataset: generating %d reads in %s ..." % (args.reads, data), flush=True)
        make_dataset(data, args.reads, args.bins, bin_size)
    bins = " ".join("bin%02d" % b for b in range(args.bins))
    runs = os.path.join(data, "runs")

    def fresh(name):
        folder = os.path.join(runs, name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        return folder

    # The outputs checked first: streamed against indexed, from the same reads.
    for streamed_input, indexed_input, suffix in (("gzip/reads.fq.gz", "reads.fq.gz", "_out.fq"),
                                                  ("reads.fa", "reads.fa", "_out.fa")):
        subprocess.run([index, indexed_input], cwd=data, stdout=subprocess.DEVNULL, check=True)
        streamed, indexed = fresh("streamed"), fresh("indexed")
        timed("%s -S -I %s -o %s/ %s" % (extract, streamed_input, streamed, bins), data)
        timed("%s -I %s -o %s/ %s" % (extract, indexed_input, indexed, bins), data)
        same = all(filecmp.cmp(os.path.join(streamed, b + suffix), os.path.join(indexed, b + suffix), shallow=False)
                   for b in bins.split())
        print("%-18s streamed outputs %s the indexed ones" % (streamed_input, "equal" if same else "DIFFER from"))
        if not same:
            raise SystemExit(1)

    out = fresh("timed")
    # The bins take about the whole input between them: writing a copy of
    # the text to a file is the floor of writing their outputs.
    copy = os.path.join(out, "copy")
    rows = [
        ("gzip -dc reads.fq.gz > /dev/null", "gzip -dc gzip/reads.fq.gz > /dev/null"),
        ("ostrel-extractbins -S reads.fq.gz", "%s -S -r -I gzip/reads.fq.gz -o %s/ %s" % (extract, out, bins)),
        ("gzip -dc reads.fq.gz > file", "gzip -dc gzip/reads.fq.gz > %s" % copy),
        ("cat reads.fa > /dev/null", "cat reads.fa > /dev/null"),
        ("ostrel-extractbins -S reads.fa", "%s -S -r -I reads.fa -o %s/ %s" % (extract, out, bins)),
        # One bin alone: the pass over the reads with little to write.
        ("ostrel-extractbins -S reads.fa bin00", "%s -S -r -I reads.fa -o %s/ bin00" % (extract, out)),
        ("cat reads.fa > file", "cat reads.fa > %s" % copy),
    ]
    references = {1: 0, 2: 0, 4: 3, 5: 3, 6: 3}  # each row's ratio is to the row named

    print("%d reads: plain gzip FASTQ %.0f MB, FASTA %.0f MB; %d bins of %d names (%.0f%% of the reads each)"
          % (args.reads, os.path.getsize(os.path.join(data, "gzip", "reads.fq.gz")) / 1e6,
             os.path.getsize(os.path.join(data, "reads.fa")) / 1e6, args.bins, bin_size, args.share * 100))
    load_before = os.getloadavg()
    best = [float("inf")] * len(rows)
    for _ in range(args.rounds):
        for k, (_, command) in enumerate(rows):
            # Every row writes into an empty folder, the last row's outputs
            # removed and written back first, so that no row waits on
            # another's files.
            fresh("timed")
            os.sync()
            best[k] = min(best[k], timed(command, data))
    load_after = os.getloadavg()
    for k, (what, _) in enumerate(rows):
        ratio = "  %.2f x %s" % (best[k] / best[references[k]], rows[references[k]][0]) if k in references else ""
        print("%-36s %8.2f s%s" % (what, best[k], ratio))
    print("best of %d rounds; load average %.1f before, %.1f after (%d cores)"
          % (args.rounds, load_before[0], load_after[0], os.cpu_count()))
    shutil.rmtree(runs)


if __name__ == "__main__":
    main()
