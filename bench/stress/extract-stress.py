#!/usr/bin/env python3
"""Stress run of ostrel-extractbins over many inputs and many bins.

Makes 200 small FASTA files (indexed by ostrel-fastaindex) and 5,000 bins of
read names spread over all of them, then runs ostrel-extractbins over all 200
files and over 10 of them, and checks:
  - the peak resident memory of the 200-file run is within 10% of that of
    the 10-file run (memory does not grow with the number of inputs);
  - the open file descriptors, sampled from /proc while each run goes on,
    stay a handful, and the 200-file run succeeds under a descriptor limit
    far below the number of bins;
  - the outputs are byte for byte those of reference runs over the same
    files one at a time (-I), appended in the same order.
Prints the figures; exits 1 when a check fails.

Usage: bench/stress/extract-stress.py [--build DIR] [--out DIR]
"""

import argparse
import filecmp
import os
import random
import resource
import shutil
import subprocess
import sys
import threading
import time

FILES = 200
FEW_FILES = 10
READS_PER_FILE = 250
BINS = 5000
NAMES_PER_BIN = 12
FD_LIMIT = 64  # far below BINS
SEED = 20261209


def make_data(out):
    """The inputs, their indexes, the bins and the lists naming them."""
    rng = random.Random(SEED)
    inputs = []
    names = []
    for f in range(FILES):
        path = os.path.join(out, "in", "reads%03d.fa" % f)
        with open(path, "w") as fasta:
            for r in range(READS_PER_FILE):
                name = "f%03dr%04d" % (f, r)
                names.append(name)
                bases = "".join(rng.choices("ACGT", k=rng.randint(40, 200)))
                lines = [bases[i:i + 60] for i in range(0, len(bases), 60)]
                fasta.write(">%s sample\n%s\n" % (name, "\n".join(lines)))
        inputs.append(path)
    bins = []
    for b in range(BINS):
        path = os.path.join(out, "bins", "bin%04d" % b)
        with open(path, "w") as bin_file:
            bin_file.write("".join(n + "\n" for n in rng.sample(names, NAMES_PER_BIN)))
        bins.append(os.path.basename(path))
    return [os.path.abspath(path) for path in inputs], bins


def write_list(path, lines):
    with open(path, "w") as out:
        out.write("".join(line + "\n" for line in lines))


def run(command, folder, fd_limit=None):
    """Runs `command` in `folder` with its output discarded (the names each
    bin lacks are expected): (exit status, peak RSS in KiB, most open
    descriptors seen, seconds)."""

    def limit():
        if fd_limit is not None:
            resource.setrlimit(resource.RLIMIT_NOFILE, (fd_limit, fd_limit))

    start = time.monotonic()
    child = subprocess.Popen(command, cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             preexec_fn=limit)
    most_fds = 0
    fd_dir = "/proc/%d/fd" % child.pid
    while True:
        pid, status, usage = os.wait4(child.pid, os.WNOHANG)
        if pid != 0:
            break
        try:
            most_fds = max(most_fds, len(os.listdir(fd_dir)))
        except OSError:
            pass
        time.sleep(0.002)
    return os.waitstatus_to_exitcode(status), usage.ru_maxrss, most_fds, time.monotonic() - start


def same_outputs(a, b):
    """True when folders a and b hold the same files with the same bytes."""
    names_a, names_b = sorted(os.listdir(a)), sorted(os.listdir(b))
    if names_a != names_b:
        return False
    _, mismatch, errors = filecmp.cmpfiles(a, b, names_a, shallow=False)
    return not mismatch and not errors


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--out", default="bench/out/stress")
    args = parser.parse_args()
    extract = os.path.join(args.build, "extractbins", "ostrel-extractbins")
    index = os.path.join(args.build, "fastaindex", "ostrel-fastaindex")
    extract, index = os.path.abspath(extract), os.path.abspath(index)
    out = os.path.abspath(args.out)
    bin_folder = os.path.join(out, "bins")  # the runs' folder: output names start with the bin names
    shutil.rmtree(out, ignore_errors=True)
    for folder in ("in", "bins", "all", "few", "ref", "ref-few"):
        os.makedirs(os.path.join(out, folder))

    start = time.monotonic()
    inputs, bins = make_data(out)
    subprocess.run([index] + inputs, check=True, stdout=subprocess.DEVNULL)
    print("data made and indexed: %.1f s" % (time.monotonic() - start))
    bin_list = os.path.join(out, "bins.fof")
    write_list(bin_list, bins)
    write_list(os.path.join(out, "all.list"), inputs)
    write_list(os.path.join(out, "few.list"), inputs[:FEW_FILES])
    print("%d inputs of %d reads, %d bins of %d names" % (FILES, READS_PER_FILE, BINS, NAMES_PER_BIN))

    def extract_run(list_name, folder, fd_limit=None):
        return run([extract, "-i", os.path.join(out, list_name), "-o", os.path.join(out, folder) + "/",
                    "-b", bin_list], bin_folder, fd_limit)

    status_all, rss_all, fds_all, secs_all = extract_run("all.list", "all", FD_LIMIT)
    status_few, rss_few, fds_few, secs_few = extract_run("few.list", "few")
    print("%3d inputs: status %d, peak RSS %6d KiB, at most %d descriptors open (limit %d), %.1f s"
          % (FILES, status_all, rss_all, fds_all, FD_LIMIT, secs_all))
    print("%3d inputs: status %d, peak RSS %6d KiB, at most %d descriptors open, %.1f s"
          % (FEW_FILES, status_few, rss_few, fds_few, secs_few))

    # The references, in two halves side by side (one per core), joined
    # after: each output is the first half's bytes, then the second's.
    start = time.monotonic()
    halves = [inputs[:FILES // 2], inputs[FILES // 2:]]
    statuses = [0, 0]

    def reference(half):
        folder = os.path.join(out, "ref%d" % half)
        os.makedirs(folder)
        for k, path in enumerate(halves[half]):
            status, _, _, _ = run([extract, "-I", path, "-o", folder + "/", "-b", bin_list], bin_folder)
            statuses[half] = statuses[half] or status
            if half == 0 and k + 1 == FEW_FILES:
                for name in os.listdir(folder):
                    shutil.copy(os.path.join(folder, name), os.path.join(out, "ref-few", name))

    workers = [threading.Thread(target=reference, args=(half,)) for half in (0, 1)]
    for worker in workers:
        worker.start()
    for worker in workers:
        worker.join()
    for name in set(os.listdir(os.path.join(out, "ref0"))) | set(os.listdir(os.path.join(out, "ref1"))):
        with open(os.path.join(out, "ref", name), "wb") as joined:
            for half in (0, 1):
                part = os.path.join(out, "ref%d" % half, name)
                if os.path.exists(part):
                    with open(part, "rb") as bytes_in:
                        shutil.copyfileobj(bytes_in, joined)
    print("reference runs one input at a time: status %d, %.1f s" % (max(statuses), time.monotonic() - start))

    checks = [
        ("every run succeeds", status_all == 0 and status_few == 0 and max(statuses) == 0),
        ("peak RSS over %d inputs within 10%% of that over %d" % (FILES, FEW_FILES),
         abs(rss_all - rss_few) <= 0.1 * rss_few),
        ("open descriptors do not grow with bins or inputs", fds_all <= fds_few + 1 and fds_all < 16),
        ("outputs of the %d-input run equal the references" % FILES,
         same_outputs(os.path.join(out, "all"), os.path.join(out, "ref"))),
        ("outputs of the %d-input run equal the references" % FEW_FILES,
         same_outputs(os.path.join(out, "few"), os.path.join(out, "ref-few"))),
    ]
    failed = 0
    for what, ok in checks:
        print("%s: %s" % ("ok  " if ok else "FAIL", what))
        failed += not ok
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
