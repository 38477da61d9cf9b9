#!/usr/bin/env python3
"""Extraction benchmark: ostrel-fastaindex and ostrel-extractbins against the
physical floor and, when installed, samtools faidx, seqkit grep and seqtk
subseq on the same bins.

The dataset is synthetic and deterministic: a FASTA file of reads wrapped at
60 bases, its quality file (two-digit values, 60 to a line), and bins of read
names with a few names absent from the files and a few listed twice. It is
generated once per preset under bench/out/extract/<preset>/ and reused while its
parameters stay the same. Every ostrel output file is checked byte for byte
against the records the generator wrote. Each ostrel, wc and cat timing is
the best of three runs; each peer runs once, taking far longer.

With --baseline DIR, the whole job is also run by the ostrel-extractbins of
another build, alternating with this one appending and this one writing
fresh outputs (-r), and the best times are compared.

Usage: bench/extract/extract-bench.py [--preset small|large] [--build DIR] [--baseline DIR]
"""

import argparse
import array
import hashlib
import json
import mmap
import os
import random
import shutil
import subprocess
import sys
import threading
import time

PRESETS = {
    # reads, bins, names per bin (2% of them absent), names listed twice per bin
    "small": {"reads": 20_000, "bins": 5, "bin_size": 2_000, "twice": 5},
    "large": {"reads": 1_500_000, "bins": 50, "bin_size": 20_000, "twice": 10},
}
SEED = 20261208
REPEATS = 3  # runs of each ostrel, wc and cat measurement; the best one counts
LINE = 60
BASES = bytes(b"ACGT"[b & 3] for b in range(256))
HERE = os.path.dirname(os.path.abspath(__file__))


def read_name(i):
    return "run1_%07d" % i


# ---------------------------------------------------------------- dataset

def generate(data, preset):
    """Writes reads.fa, reads.qual, the bins, and the record starts of both
    files (the truth the outputs are checked against)."""
    rnd = random.Random(SEED)
    n = preset["reads"]
    # Quality text: values of exactly three bytes ("dd "), so any run of k
    # values is a slice of 3k - 1 bytes.
    values = rnd.choices(range(10, 41), k=1 << 20)
    qual_text = "".join("%02d " % v for v in values).encode()
    fa_starts, qual_starts = array.array("q"), array.array("q")
    fa_pos = qual_pos = 0
    with open(os.path.join(data, "reads.fa"), "wb", 1 << 22) as fa, \
         open(os.path.join(data, "reads.qual"), "wb", 1 << 22) as qual:
        for i in range(n):
            length = rnd.randint(100, 600)
            name = read_name(i).encode()
            seq = rnd.randbytes(length).translate(BASES)
            record = b">" + name + b" len=%d\n" % length + b"".join(
                seq[k:k + LINE] + b"\n" for k in range(0, length, LINE))
            at = 3 * rnd.randrange(len(values) - 600)
            qrecord = b">" + name + b"\n" + b"".join(
                qual_text[at + 3 * k:at + 3 * min(k + LINE, length) - 1] + b"\n"
                for k in range(0, length, LINE))
            fa_starts.append(fa_pos)
            qual_starts.append(qual_pos)
            fa.write(record)
            qual.write(qrecord)
            fa_pos += len(record)
            qual_pos += len(qrecord)
    fa_starts.append(fa_pos)
    qual_starts.append(qual_pos)
    with open(os.path.join(data, "reads.fa.starts"), "wb") as f:
        fa_starts.tofile(f)
    with open(os.path.join(data, "reads.qual.starts"), "wb") as f:
        qual_starts.tofile(f)

    order = list(range(n))
    rnd.shuffle(order)
    absent = preset["bin_size"] * 2 // 100
    present = preset["bin_size"] - absent - preset["twice"]
    for b in range(preset["bins"]):
        names = [read_name(i) for i in order[b * present:(b + 1) * present]]
        names += rnd.sample(names, preset["twice"])
        names += [read_name(n + b * absent + k) for k in range(absent)]
        rnd.shuffle(names)
        with open(os.path.join(data, bin_name(b)), "w") as f:
            f.write("".join(name + "\n" for name in names))
    with open(os.path.join(data, "fasta.list"), "w") as f:
        f.write("reads.fa\n")


def bin_name(b):
    return "bin%02d" % (b + 1)


def dataset(out, preset_name):
    """The data folder of a preset, generated unless a complete one exists."""
    preset = PRESETS[preset_name]
    data = os.path.join(out, preset_name, "data")
    stamp = os.path.join(data, "complete.json")
    wanted = dict(preset, seed=SEED, line=LINE)
    try:
        with open(stamp) as f:
            if json.load(f) == wanted:
                print("dataset: reusing", data)
                return data
    except (OSError, ValueError):
        pass
    shutil.rmtree(data, ignore_errors=True)
    os.makedirs(data)
    print("dataset: generating %d reads and %d bins in %s ..." % (preset["reads"], preset["bins"], data),
          flush=True)
    started = time.perf_counter()
    generate(data, preset)
    with open(stamp, "w") as f:
        json.dump(wanted, f)
    print("dataset: done in %.1f s" % (time.perf_counter() - started))
    return data


# ---------------------------------------------------------------- running

def run(command, cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL):
    """Runs a command; returns (seconds, peak resident MB). A failure ends
    the benchmark. The peak is sampled from /proc every few milliseconds:
    the rusage of a child counts the resident pages of the Python process it
    was forked from."""
    started = time.perf_counter()
    process = subprocess.Popen(command, cwd=cwd, stdout=stdout, stderr=stderr)
    peak = [0]
    sampler = threading.Thread(target=sample_peak, args=(process.pid, peak), daemon=True)
    sampler.start()
    _, status, _ = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - started
    sampler.join()
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        sys.exit("bench: %s exited with status %d" % (" ".join(command), code))
    return seconds, peak[0] / 1024


def sample_peak(pid, peak):
    """Keeps peak[0] at the process's high-water resident size in KiB
    (VmHWM) until the process is gone."""
    while True:
        try:
            with open("/proc/%d/status" % pid) as f:
                fields = [line for line in f if line.startswith("VmHWM:")]
        except OSError:
            return
        if not fields:
            return  # exited: the memory is released
        peak[0] = max(peak[0], int(fields[0].split()[1]))
        time.sleep(0.005)


def best_of(repeats, command, cwd, prepare=None, stdout_path=None):
    """The shortest of a few runs of a quick command (the machine is shared,
    so single timings of a second or less are noisy), and the highest peak
    memory. `prepare` runs untimed before each run."""
    best, peak = float("inf"), 0.0
    for _ in range(repeats):
        if prepare:
            prepare()
        if stdout_path:
            with open(stdout_path, "wb") as out:
                seconds, mb = run(command, cwd, stdout=out)
        else:
            seconds, mb = run(command, cwd)
        best, peak = min(best, seconds), max(peak, mb)
    return best, peak


def run_many(commands, cwd, outputs):
    """Runs commands one after the other, each writing one output file;
    returns the summed seconds."""
    total = 0.0
    for command, output in zip(commands, outputs):
        with open(output, "wb") as out, open(os.devnull, "wb") as err:
            total += run(command, cwd, stdout=out, stderr=err)[0]
    return total


def fresh(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


def warm(paths):
    """Reads the files once so that every timing starts from the page cache."""
    for path in paths:
        with open(path, "rb") as f:
            while f.read(1 << 24):
                pass


# ---------------------------------------------------------------- checking

def load_starts(path):
    starts = array.array("q")
    with open(path, "rb") as f:
        starts.frombytes(f.read())
    return starts


def check_index(data, input_name, starts):
    """The index lines must be the generator's records, in file order."""
    expected = "".join("%s\t%d\t%d\n" % (read_name(i), starts[i] + 1, starts[i + 1])
                       for i in range(len(starts) - 1))
    with open(os.path.join(data, input_name + "_idx")) as f:
        if f.read() != expected:
            sys.exit("bench: %s_idx does not match the records written" % input_name)


def selected_reads(data, b, n):
    """Read numbers of a bin in file order, each as often as the bin names it."""
    with open(os.path.join(data, bin_name(b))) as f:
        numbers = [int(line[5:]) for line in f if line.strip()]
    return sorted(i for i in numbers if i < n)


def digest_of_records(source, starts, reads):
    digest = hashlib.sha1()
    for i in reads:
        digest.update(source[starts[i]:starts[i + 1]])
    return digest.hexdigest()


def digest_of_file(path):
    digest = hashlib.sha1()
    with open(path, "rb") as f:
        while True:
            chunk = f.read(1 << 24)
            if not chunk:
                return digest.hexdigest()
            digest.update(chunk)


def check_outputs(data, out, preset, inputs):
    """Every output file holds exactly its bin's records, byte for byte, in
    file order. Returns the number of bytes checked."""
    checked = 0
    for input_name, suffix in inputs:
        starts = load_starts(os.path.join(data, input_name + ".starts"))
        with open(os.path.join(data, input_name), "rb") as f, \
             mmap.mmap(f.fileno(), 0, access=mmap.ACCESS_READ) as source:
            for b in range(preset["bins"]):
                reads = selected_reads(data, b, preset["reads"])
                path = os.path.join(out, bin_name(b) + suffix)
                if digest_of_records(source, starts, reads) != digest_of_file(path):
                    sys.exit("bench: %s does not hold exactly the bin's records" % path)
                checked += os.path.getsize(path)
    return checked


# ---------------------------------------------------------------- the benchmark

def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--preset", choices=sorted(PRESETS), default="small")
    parser.add_argument("--build", default=os.path.join(HERE, "..", "..", "build"))
    parser.add_argument("--baseline", help="another build to time the whole job against")
    args = parser.parse_args()
    preset = PRESETS[args.preset]
    build = os.path.abspath(args.build)
    fastaindex = os.path.join(build, "fastaindex", "ostrel-fastaindex")
    extractbins = os.path.join(build, "extractbins", "ostrel-extractbins")
    out = os.path.normpath(os.path.join(HERE, "..", "out", "extract"))
    data = dataset(out, args.preset)
    runs = os.path.join(out, args.preset, "runs")
    bins = [bin_name(b) for b in range(preset["bins"])]
    inputs = ["reads.fa", "reads.qual"]
    warm([os.path.join(data, name) for name in inputs])
    report = []

    def say(line):
        print(line, flush=True)
        report.append(line)

    say("preset %s: %d reads, %d bins of %d names, FASTA %.0f MB, quality %.0f MB"
        % (args.preset, preset["reads"], preset["bins"], preset["bin_size"],
           os.path.getsize(os.path.join(data, "reads.fa")) / 1e6,
           os.path.getsize(os.path.join(data, "reads.qual")) / 1e6))

    # Indexing, against wc -l on the same files.
    index_time = best_of(REPEATS, [fastaindex] + inputs, data)[0]
    wc_time = best_of(REPEATS, ["wc", "-l"] + inputs, data)[0]
    for name in inputs:
        check_index(data, name, load_starts(os.path.join(data, name + ".starts")))
    say("index   ostrel-fastaindex, both files  %7.2f s   wc -l %5.2f s   ratio %5.2f (large target <= 3)"
        % (index_time, wc_time, index_time / wc_time))

    # The whole job, FASTA and quality, every bin; outputs are appended to,
    # so each run starts from an empty folder.
    whole = os.path.join(runs, "ostrel")
    job_time, job_mb = best_of(REPEATS, [extractbins, "-i", "fasta.list", "-o", whole + "/"] + bins, data,
                               prepare=lambda: fresh(whole))
    selected = check_outputs(data, whole, preset, [("reads.fa", "_out.fa"), ("reads.qual", "_out.fa.qual")])

    # The physical floor: read both indexes, write the selected bytes once.
    floor_dir = fresh(os.path.join(runs, "floor"))
    selection = os.path.join(floor_dir, "selected")
    with open(selection, "wb") as sink:
        for name in sorted(os.listdir(whole)):
            with open(os.path.join(whole, name), "rb") as f:
                shutil.copyfileobj(f, sink, 1 << 24)
    floor_wc = best_of(REPEATS, ["wc", "-l", "reads.fa_idx", "reads.qual_idx"], data)[0]
    floor_cat = best_of(REPEATS, ["cat", selection], data, stdout_path=os.path.join(floor_dir, "copy"))[0]
    floor = floor_wc + floor_cat
    shutil.rmtree(floor_dir)
    say("job     ostrel-extractbins, FASTA + quality, %d bins: %.2f s, %.0f MB of records checked"
        % (preset["bins"], job_time, selected / 1e6))
    say("        floor (wc -l of both indexes %.2f s + cat of the selected bytes %.2f s) %.2f s"
        % (floor_wc, floor_cat, floor))
    say("        ratio to the floor %5.2f (large target <= 10)   peak memory %.0f MB (large target <= 250)"
        % (job_time / floor, job_mb))

    if args.baseline:
        compare_baseline(data, runs, bins, extractbins, args.baseline, preset, say)

    # The FASTA file alone, the work the peers can do.
    fasta_only = os.path.join(runs, "ostrel-fasta")
    fasta_time = best_of(REPEATS, [extractbins, "-I", "reads.fa", "-o", fasta_only + "/"] + bins, data,
                         prepare=lambda: fresh(fasta_only))[0]
    check_outputs(data, fasta_only, preset, [("reads.fa", "_out.fa")])
    say("fasta   ostrel-extractbins -I reads.fa, %d bins: %.2f s" % (preset["bins"], fasta_time))
    compare_peers(data, runs, bins, fasta_time, say)
    shutil.rmtree(runs)

    with open(os.path.join(out, args.preset, "report.txt"), "w") as f:
        f.write("\n".join(report) + "\n")


def compare_baseline(data, runs, bins, extractbins, baseline, preset, say):
    """Runs the whole job with the baseline build and with this build, the
    latter appending and writing fresh outputs (-r) into an empty folder and
    over the outputs of its last run, in turn, so that all meet the same
    load, and prints the best time of each. Each run starts with the page
    cache written back, so that none pays for the writing of another; the
    outputs that -r replaced must still hold each bin's records once."""
    other = os.path.join(os.path.abspath(baseline), "extractbins", "ostrel-extractbins")
    folder = os.path.join(runs, "baseline")
    replaced = fresh(os.path.join(runs, "baseline-r"))
    rows = [("baseline", [other], folder), ("this", [extractbins], folder),
            ("this -r", [extractbins, "-r"], folder), ("this -r, replacing", [extractbins, "-r"], replaced)]
    best = {name: float("inf") for name, _, _ in rows}
    for _ in range(REPEATS):
        for name, command, out in rows:
            if out == folder:
                fresh(folder)
            os.sync()
            best[name] = min(best[name], run(command + ["-i", "fasta.list", "-o", out + "/"] + bins, data)[0])
        for name, seconds in copy_outputs(replaced, os.path.join(runs, "copies")).items():
            best[name] = min(best.get(name, float("inf")), seconds)
    check_outputs(data, replaced, preset, [("reads.fa", "_out.fa"), ("reads.qual", "_out.fa.qual")])
    shutil.rmtree(folder)
    shutil.rmtree(replaced)
    for name, _, _ in rows[1:]:
        say("        against the baseline build: %-18s %6.2f s vs %6.2f s, ratio %.3f"
            % (name, best[name], best["baseline"], best[name] / best["baseline"]))
    say("        the storage alone: cp of the outputs beside an old copy %.2f s, into an empty folder %.2f s, "
        "ratio %.3f" % (best["copy beside"], best["copy"], best["copy beside"] / best["copy"]))


def copy_outputs(outputs, copies):
    """Times cp -r of the outputs into an empty folder, then beside that
    copy (the old one removed after, as -r over earlier outputs does): what
    replacing costs the storage without any program's work."""
    def timed_copy(target, then_remove=None):
        os.sync()
        started = time.perf_counter()
        subprocess.run(["cp", "-r", outputs, target], check=True)
        if then_remove:
            shutil.rmtree(then_remove)
        return time.perf_counter() - started

    fresh(copies)
    seconds = {"copy": timed_copy(os.path.join(copies, "old"))}
    seconds["copy beside"] = timed_copy(os.path.join(copies, "new"), os.path.join(copies, "old"))
    shutil.rmtree(copies)
    return seconds


def compare_peers(data, runs, bins, fasta_time, say):
    """Times the installed peers on the FASTA file and prints each as a ratio
    to ostrel's time on the same work."""
    peers = fresh(os.path.join(runs, "peers"))
    outputs = [os.path.join(peers, name + ".fa") for name in bins]

    def line(what, seconds, target=""):
        say("        %-42s %8.2f s  %6.1f x ostrel%s" % (what, seconds, seconds / fasta_time, target))

    if shutil.which("samtools"):
        faidx_time = run(["samtools", "faidx", "reads.fa"], data)[0]
        say("        samtools faidx index (not counted below) %.2f s" % faidx_time)
        with open(os.path.join(peers, "all-names"), "w") as sink:
            for name in bins:
                with open(os.path.join(data, name)) as f:
                    sink.write(f.read())
        one_call = run_many([["samtools", "faidx", "-c", "-r", os.path.join(peers, "all-names"), "reads.fa"]],
                            data, [os.path.join(peers, "all.fa")])
        line("samtools faidx -c -r, all bins in one call", one_call, "  (large target >= 10)")
        line("samtools faidx -c -r, one call per bin",
             run_many([["samtools", "faidx", "-c", "-r", name, "reads.fa"] for name in bins], data, outputs))
    else:
        say("        samtools not installed: skipped")
    if shutil.which("seqkit"):
        line("seqkit grep -f BIN, one call per bin",
             run_many([["seqkit", "grep", "-f", name, "reads.fa"] for name in bins], data, outputs))
    else:
        say("        seqkit not installed: skipped")
    if shutil.which("seqtk"):
        line("seqtk subseq, one call per bin",
             run_many([["seqtk", "subseq", "reads.fa", name] for name in bins], data, outputs))
    else:
        say("        seqtk not installed: skipped")


if __name__ == "__main__":
    main()
