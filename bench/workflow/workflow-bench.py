#!/usr/bin/env python3
"""Sharded extraction benchmark: the extraction dataset of bench/extract cut
into FASTA files of consecutive reads (each with its quality file), extracted
by one ostrel-extractbins run and by the workflow (workflow/Snakefile) with a
number of shards, and the outputs checked byte for byte against each other.

Reported: both wall times, the speed-up, and the workflow's own overhead:
everything but the longest shard job (Snakemake start-up, the
list split, the concatenation), as a share of the workflow's time. One run of
each, the command first; the page cache is warmed beforehand.

Usage: bench/workflow/workflow-bench.py [--preset large] [--files 8] [--shards 2]
           [--cores 2] [--build DIR] [--data DIR]
"""
import argparse
import array
import filecmp
import importlib.util
import json
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))


def extract_bench():
    source = importlib.util.spec_from_file_location("extract_bench",
                                                    os.path.join(ROOT, "bench", "extract", "extract-bench.py"))
    module = importlib.util.module_from_spec(source)
    source.loader.exec_module(module)
    return module


def copy_range(source, dest, start, end):
    with open(source, "rb") as inp, open(dest, "wb") as out:
        while start < end:
            start += os.sendfile(out.fileno(), inp.fileno(), start, end - start)


def cut(data, parts_dir, files, fastaindex):
    """parts_dir/partK.fa and .qual, K = 1..files, each a run of consecutive
    reads, indexed, and parts.list naming the FASTA ones; made once."""
    stamp = os.path.join(parts_dir, "complete.json")
    wanted = {"data": os.path.abspath(data), "files": files}
    if os.path.exists(stamp) and json.load(open(stamp)) == wanted:
        return
    shutil.rmtree(parts_dir, ignore_errors=True)
    os.makedirs(parts_dir)
    names = []
    for kind in ("fa", "qual"):
        starts = array.array("q")
        with open(os.path.join(data, f"reads.{kind}.starts"), "rb") as f:
            starts.frombytes(f.read())
        reads = len(starts) - 1
        for k in range(files):
            first, last = reads * k // files, reads * (k + 1) // files
            name = f"part{k + 1}.{kind}"
            copy_range(os.path.join(data, f"reads.{kind}"), os.path.join(parts_dir, name), starts[first], starts[last])
            names.append(name)
    subprocess.run([fastaindex, *names], cwd=parts_dir, check=True, stdout=subprocess.DEVNULL)
    with open(os.path.join(parts_dir, "parts.list"), "w") as f:
        f.writelines(f"part{k + 1}.fa\n" for k in range(files))
    json.dump(wanted, open(stamp, "w"))


def same_trees(a, b):
    names = sorted(os.listdir(a))
    if names != sorted(os.listdir(b)):
        return False
    return all(filecmp.cmp(os.path.join(a, n), os.path.join(b, n), shallow=False) for n in names)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--preset", default="large")
    parser.add_argument("--files", type=int, default=8)
    parser.add_argument("--shards", type=int, default=2)
    parser.add_argument("--cores", type=int, default=2)
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--data", help="an extraction dataset made already (default: made or reused under bench/out/extract)")
    args = parser.parse_args()
    if shutil.which("snakemake") is None:
        sys.exit("snakemake is not installed")
    build = os.path.abspath(args.build)
    fastaindex = os.path.join(build, "fastaindex", "ostrel-fastaindex")
    extractbins = os.path.join(build, "extractbins", "ostrel-extractbins")
    extract = extract_bench()
    data = os.path.abspath(args.data) if args.data else extract.dataset(os.path.join(ROOT, "bench", "out", "extract"), args.preset)
    bins = [extract.bin_name(b) for b in range(extract.PRESETS[args.preset]["bins"])]
    work = os.path.join(ROOT, "bench", "out", "workflow", args.preset)
    parts = os.path.join(work, "parts")
    cut(data, parts, args.files, fastaindex)
    for b in bins:  # by their plain names, so that the outputs are flat
        if not os.path.lexists(os.path.join(parts, b)):
            os.symlink(os.path.join(data, b), os.path.join(parts, b))
    bin_paths = [os.path.join(parts, b) for b in bins]
    extract.warm([os.path.join(parts, n) for n in os.listdir(parts) if n.startswith("part")] + bin_paths)

    single, flow = os.path.join(work, "single"), os.path.join(work, "flow")
    for folder in (single, flow):
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
    started = time.perf_counter()
    subprocess.run([extractbins, "-i", "parts.list", "-o", single + "/", *bins], cwd=parts,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    single_time = time.perf_counter() - started

    stats = os.path.join(work, "stats.json")
    config = ["fasta_list=parts.list", f"outroot={flow}/", f"shards={args.shards}", f"extractbins={extractbins}",
              f"bins=[{','.join(bins)}]", f"scratch={work}/scratch/"]
    started = time.perf_counter()
    subprocess.run(["snakemake", "-s", os.path.join(ROOT, "workflow", "Snakefile"), "--cores", str(args.cores),
                    "--quiet", "--stats", stats, "--config", *config], cwd=parts, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    flow_time = time.perf_counter() - started

    files = json.load(open(stats))["files"]
    shard_runs = [v for k, v in files.items() if k.endswith(".status")]
    shard_span = max(v["duration"] for v in shard_runs)  # they run side by side
    gather = next(v["duration"] for k, v in files.items() if k.endswith("/gathered"))
    overhead = flow_time - shard_span
    out_mb = sum(os.path.getsize(os.path.join(flow, n)) for n in os.listdir(flow)) / 1e6

    print(f"{args.preset} preset cut into {args.files} FASTA files with quality files; {len(bins)} bins, {out_mb:.0f} MB written")
    print(f"single command run:              {single_time:6.2f} s")
    print(f"workflow, {args.shards} shards, --cores {args.cores}: {flow_time:6.2f} s  (speed-up {single_time / flow_time:.2f}x)")
    print(f"  longest shard job:             {shard_span:6.2f} s")
    print(f"  overhead: {overhead:6.2f} s = {100 * overhead / flow_time:.0f}% of the run"
          f" (concatenation {gather:.2f} s, start-up and scheduling {overhead - gather:.2f} s)")
    print("outputs identical:", same_trees(single, flow))
    shutil.rmtree(single)
    shutil.rmtree(flow)


if __name__ == "__main__":
    main()
