#!/usr/bin/env python3
"""The sharded extraction workflow writes the bytes of one ostrel-extractbins
run with the same arguments, for any number of shards and cores, appends as
the command does (or replaces, as -r does), and leaves the outputs alone when
a shard fails.

Exits 77 (skipped) when snakemake is not installed."""
import argparse
import os
import random
import shutil
import subprocess
import sys

SKIP = 77


def run_command(extractbins, folder, outroot, source, bin_fof, bins):
    subprocess.run([extractbins, *source, "-o", outroot, "-b", bin_fof, *bins],
                   cwd=folder, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def run_workflow(snakefile, folder, outroot, fasta_list, bin_fof, bins, shards, cores, command, fresh=False):
    config = [f"fasta_list={fasta_list}", f"outroot={outroot}", f"bin_fof={bin_fof}",
              f"bins=[{','.join(bins)}]", f"shards={shards}", f"extractbins={command}", f"fresh={fresh}"]
    done = subprocess.run(["snakemake", "-s", snakefile, "--cores", str(cores), "--quiet",
                           "--config", *config], cwd=folder, capture_output=True, text=True)
    return done.returncode, done.stderr


def tree(folder):
    """Every file under folder, by relative name, with its bytes."""
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, folder)] = f.read()
    return files


def fresh_outputs(folder, name, subfolders):
    path = os.path.join(folder, name)
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    for sub in subfolders:
        os.makedirs(os.path.join(path, sub))
    return name + "/"


def make_read_set(folder, fastaindex, files, bins, seed=7):
    """files read files, each with its index: FASTA named both ways the
    quality finder knows, each with its quality file, and every fifth FASTQ;
    bins in bins/, 15 listed in bins.fof and 5 named on their own, with names
    held by no file and names listed twice."""
    rng = random.Random(seed)
    fasta_names, all_reads = [], []
    for f in range(files):
        if f % 5 == 4:
            with open(os.path.join(folder, f"set{f}.fq"), "w") as fq:
                for r in range(rng.randint(1, 12)):
                    seq = "".join(rng.choice("ACGT") for _ in range(rng.randint(5, 90)))
                    fq.write(f"@f{f}_r{r} desc\n{seq}\n+\n" + "".join(rng.choice("#5?I") for _ in seq) + "\n")
                    all_reads.append(f"f{f}_r{r}")
            fasta_names += [f"set{f}.fq"]
            continue
        fasta, qual = (f"set{f}.fa", f"set{f}.qual") if f % 2 else (f"fasta.set{f}", f"qual.set{f}")
        with open(os.path.join(folder, fasta), "w") as fa, open(os.path.join(folder, qual), "w") as qu:
            for r in range(rng.randint(1, 12)):
                name = f"f{f}_r{r}"
                seq = "".join(rng.choice("ACGT") for _ in range(rng.randint(5, 90)))
                fa.write(f">{name} desc {r}\n" + "\n".join(seq[i:i + 30] for i in range(0, len(seq), 30)) + "\n")
                qu.write(f">{name}\n" + " ".join(str(rng.randint(10, 40)) for _ in seq) + "\n")
                all_reads.append(name)
        fasta_names += [fasta, qual]
    subprocess.run([fastaindex, *fasta_names], cwd=folder, check=True, stdout=subprocess.DEVNULL)
    with open(os.path.join(folder, "fasta.list"), "w") as f:
        f.writelines(n + "\n" for n in fasta_names if not n.startswith("qual.") and not n.endswith(".qual"))
    os.makedirs(os.path.join(folder, "bins"), exist_ok=True)
    bin_names = [f"bins/bin{b:02d}" for b in range(bins)]
    for name in bin_names:
        reads = rng.sample(all_reads, rng.randint(0, 30)) + ["no_such_read"]
        reads += reads[:2]
        with open(os.path.join(folder, name), "w") as f:
            f.writelines(r + "\n" for r in reads)
    with open(os.path.join(folder, "bins.fof"), "w") as f:
        f.writelines(n + "\n" for n in bin_names[:15])
    return fasta_names, bin_names[15:] + ["./" + bin_names[15]]


def main():
    parser = argparse.ArgumentParser()
    for option in ("extractbins", "fastaindex", "snakefile", "examples", "work"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    if shutil.which("snakemake") is None:
        print("snakemake is not installed: workflow test skipped")
        return SKIP
    failures = []

    def check(what, condition):
        if not condition:
            failures.append(what)
            print("FAILED:", what)

    shutil.rmtree(args.work, ignore_errors=True)
    example = os.path.join(args.work, "example")
    shutil.copytree(args.examples, example)
    subprocess.run([args.fastaindex, "plate1.fa", "plate1.qual", "fasta.plate2.run", "qual.plate2.run"],
                   cwd=example, check=True, stdout=subprocess.DEVNULL)
    with open(os.path.join(example, "bins.fof"), "w") as f:
        f.write("binA\nbinB\n")
    reads = os.path.join(args.work, "reads")
    os.makedirs(reads)
    fasta_names, named_bins = make_read_set(reads, args.fastaindex, files=50, bins=20)

    def flow(folder, outroot, bins, shards, cores, command=args.extractbins, fresh=False):
        return run_workflow(args.snakefile, folder, outroot, "fasta.list", "bins.fof", bins,
                            shards, cores, command, fresh)

    # The example: 7 shards are cut to one per file.
    ref = fresh_outputs(example, "ref", [])
    out = fresh_outputs(example, "out", [])
    run_command(args.extractbins, example, ref, ["-i", "fasta.list"], "bins.fof", ["binC"])
    status, err = flow(example, out, ["binC"], 7, 2)
    check(f"example: status {status}\n{err}", status == 0)
    check("example: same bytes", tree(os.path.join(example, "out")) == tree(os.path.join(example, "ref")))

    # The generated set, bins in a subfolder (one named twice, as bins/binX
    # and ./bins/binX), every shard count and both core counts; the fourth
    # run appends to the outputs of the one before it, the last replaces them.
    ref = fresh_outputs(reads, "ref", ["bins"])
    run_command(args.extractbins, reads, ref, ["-i", "fasta.list"], "bins.fof", named_bins)
    once = tree(os.path.join(reads, "ref"))
    check("reference run wrote outputs, FASTQ among them", len(once) > 20 and any(n.endswith(".fq") for n in once))
    twice = {name: data + data for name, data in once.items()}
    for shards, cores, empty, replace, expected in ((1, 1, True, False, once), (2, 2, True, False, once),
                                                    (3, 1, True, False, once), (7, 2, False, False, twice),
                                                    (3, 2, False, True, once)):
        out = fresh_outputs(reads, "out", ["bins"]) if empty else out
        status, err = flow(reads, out, named_bins, shards, cores, fresh=replace)
        check(f"{shards} shards, {cores} cores: status {status}\n{err}", status == 0)
        check(f"{shards} shards, {cores} cores: same bytes", tree(os.path.join(reads, "out")) == expected)

    # A missing index: reported and non-zero, the rest appended as the command does.
    missing = fasta_names[-1] + "_idx"
    os.rename(os.path.join(reads, missing), os.path.join(reads, "kept_idx"))
    ref = fresh_outputs(reads, "ref", ["bins"])
    run_command(args.extractbins, reads, ref, ["-i", "fasta.list"], "bins.fof", named_bins)
    out = fresh_outputs(reads, "out", ["bins"])
    status, err = flow(reads, out, named_bins, 3, 2)
    check(f"missing index: status {status}", status != 0)
    check(f"missing index named in\n{err}", missing in err)
    check("missing index: same bytes", tree(os.path.join(reads, "out")) == tree(os.path.join(reads, "ref")))
    os.rename(os.path.join(reads, "kept_idx"), os.path.join(reads, missing))

    # A shard that dies: the workflow fails and the outputs stay as they were.
    dying = os.path.join(args.work, "dies-on-shard1.sh")
    with open(dying, "w") as f:
        f.write(f'#!/bin/sh\ncase "$*" in *shard1/*) kill -KILL $$ ;; esac\nexec "{args.extractbins}" "$@"\n')
    os.chmod(dying, 0o755)
    before = tree(os.path.join(reads, "out"))
    status, err = flow(reads, out, named_bins, 3, 2, command=dying)
    check(f"dying shard: status {status}", status != 0)
    check(f"dying shard reported in\n{err}", "died of signal 9" in err)
    check("dying shard: outputs unchanged", tree(os.path.join(reads, "out")) == before)
    check("scratch removed", not os.listdir(os.path.join(reads, ".ostrel-flow")))

    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
