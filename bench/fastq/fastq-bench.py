#!/usr/bin/env python3
"""FASTQ benchmark: ostrel-fastaindex + ostrel-extractbins on bgzip-compressed
FASTQ against samtools fqidx (one index, one fqidx -r call per bin), seqkit
grep -f and seqtk subseq (one call per bin), on the same bins.

The dataset (made once under bench/out/fastq): reads of 100-1,000 bases
with Phred+33 qualities as bgzip-compressed FASTQ, and bins of names drawn
from them. Each tool runs on a cold output folder; ostrel's job is the best
of three, each peer runs once. Every output is checked equal to ostrel's in
records (the peers reorder and drop repeats: compared as sets of records).

Usage: bench/fastq/fastq-bench.py [--reads N] [--bins N] [--bin-size N] [--build DIR]
"""
import argparse
import os
import random
import shutil
import subprocess
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def generate(data, reads, bins, bin_size):
    rng = random.Random(27)
    pool = "".join(rng.choice("ACGT") for _ in range(1 << 16)) * 2
    quals = "".join(chr(33 + rng.randint(2, 41)) for _ in range(1 << 16)) * 2
    with open(os.path.join(data, "reads.fq"), "w") as f:
        for i in range(reads):
            n = rng.randint(100, 1000)
            at = rng.randrange(1 << 16)
            f.write("@r%d len=%d\n%s\n+\n%s\n" % (i, n, pool[at:at + n], quals[at:at + n]))
    subprocess.run(["bgzip", "-f", "-@", "2", "reads.fq"], cwd=data, check=True)
    for b in range(bins):
        with open(os.path.join(data, "bin%02d" % b), "w") as f:
            for i in rng.sample(range(reads), bin_size):
                f.write("r%d\n" % i)


def timed(commands, cwd, outputs=None):
    start = time.monotonic()
    for k, command in enumerate(commands):
        sink = open(outputs[k], "w") if outputs else subprocess.DEVNULL
        subprocess.run(command, cwd=cwd, stdout=sink, stderr=subprocess.DEVNULL, check=True)
        if outputs:
            sink.close()
    return time.monotonic() - start


def records(path):
    """The set of (name, bases, qualities) of a FASTQ file, any line width."""
    found = set()
    with open(path) as f:
        lines = f.read().split("\n")
    i = 0
    while i < len(lines):
        if not lines[i]:
            i += 1
            continue
        name = lines[i][1:].split()[0]
        i += 1
        bases = ""
        while not lines[i].startswith("+"):
            bases += lines[i]
            i += 1
        i += 1
        qualities = ""
        while len(qualities) < len(bases):
            qualities += lines[i]
            i += 1
        found.add((name, bases, qualities))
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--reads", type=int, default=1_000_000)
    parser.add_argument("--bins", type=int, default=20)
    parser.add_argument("--bin-size", type=int, default=5000)
    parser.add_argument("--rounds", type=int, default=2)
    parser.add_argument("--build", default=os.path.join(HERE, "..", "..", "build"))
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    data = os.path.normpath(os.path.join(HERE, "..", "out", "fastq", "%d-%d-%d" % (args.reads, args.bins, args.bin_size)))
    if not os.path.exists(os.path.join(data, "reads.fq.gz")):
        os.makedirs(data, exist_ok=True)
        print("dataset: generating %d reads in %s ..." % (args.reads, data), flush=True)
        generate(data, args.reads, args.bins, args.bin_size)
    bins = ["bin%02d" % b for b in range(args.bins)]
    runs = os.path.join(data, "runs")
    print("%d reads, bgzip FASTQ %.0f MB; %d bins of %d names"
          % (args.reads, os.path.getsize(os.path.join(data, "reads.fq.gz")) / 1e6, args.bins, args.bin_size))

    def fresh(name):
        folder = os.path.join(runs, name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        return folder

    def clear_indexes():
        for suffix in ("_idx", ".gzi", ".fai"):
            if os.path.exists(os.path.join(data, "reads.fq.gz" + suffix)):
                os.remove(os.path.join(data, "reads.fq.gz" + suffix))

    def ostrel():
        clear_indexes()
        out = fresh("ostrel")
        index = timed([[os.path.join(build, "fastaindex", "ostrel-fastaindex"), "reads.fq.gz"]], data)
        extract = timed([[os.path.join(build, "extractbins", "ostrel-extractbins"), "-I", "reads.fq.gz",
                          "-o", out + "/"] + bins], data)
        return index + extract, index, extract

    expected = {}

    def peer(name, commands, before=None):
        folder = fresh(name.split()[0])
        outputs = [os.path.join(folder, b + ".fq") for b in bins]
        seconds = timed(before, data) if before else 0.0
        seconds += timed(commands, data, outputs)
        return seconds, all(records(outputs[k]) == expected[b] for k, b in enumerate(bins))

    def samtools():
        clear_indexes()
        return peer("samtools", [["samtools", "fqidx", "-r", b, "reads.fq.gz"] for b in bins],
                    before=[["samtools", "fqidx", "reads.fq.gz"]])

    peers = [(what, run) for what, tool, run in [
        ("samtools fqidx + fqidx -r per bin", "samtools", samtools),
        ("seqkit grep -f per bin", "seqkit",
         lambda: peer("seqkit", [["seqkit", "grep", "-f", b, "reads.fq.gz"] for b in bins])),
        ("seqtk subseq per bin", "seqtk",
         lambda: peer("seqtk", [["seqtk", "subseq", "reads.fq.gz", b] for b in bins]))] if shutil.which(tool)]
    print("load average %.1f at the start" % os.getloadavg()[0], flush=True)
    best = (float("inf"), 0.0, 0.0)
    peer_best = {what: (float("inf"), True) for what, _ in peers}
    for _ in range(args.rounds):
        best = min(best, ostrel())
        if not expected:
            expected = {b: records(os.path.join(runs, "ostrel", b + "_out.fq")) for b in bins}
        for what, run in peers:
            seconds, same = run()
            peer_best[what] = (min(peer_best[what][0], seconds), peer_best[what][1] and same)
    print("load average %.1f at the end; best of %d rounds, the tools in turn" % (os.getloadavg()[0], args.rounds))
    print("ostrel-fastaindex + ostrel-extractbins        %8.2f s  (index %.2f s, extraction %.2f s)" % best)
    for what, (seconds, same) in peer_best.items():
        print("%-45s %8.2f s  %5.1f x ostrel  records %s" % (what, seconds, seconds / best[0],
                                                           "equal" if same else "DIFFER"), flush=True)
    clear_indexes()
    shutil.rmtree(runs)


if __name__ == "__main__":
    main()
