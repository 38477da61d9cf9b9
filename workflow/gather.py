"""Appends each bin's shard outputs, in shard order, to the bin's outputs
(with --fresh, puts them in place of the outputs, as the command's -r does:
all written beside them first, then renamed into place),
then removes the shards' folders. An output that cannot be opened (a missing
folder) is reported on standard output and its bin skipped, as the command
does; the others are still written.

  gather.py --outroot ROOT --shard PREFIX... [--fresh] [--bin-fof FILE] [BIN...]"""
import argparse
import os
import shutil

from appendcopy import append_files, write_beside
from shardplan import bin_names

# The command's outputs: FASTA and quality, or FASTQ.
SUFFIXES = ("_out.fa", "_out.fa.qual", "_out.fq")


def gather(outroot, shard_prefixes, bins, fresh=False):
    failures, written, seen = [], [], set()
    for name in bins:
        for suffix in SUFFIXES:
            parts = [p + name + suffix for p in shard_prefixes if os.path.exists(p + name + suffix)]
            # Two names of one output (binA, ./binA) wrote to one file in each shard.
            output = os.path.realpath(outroot + name + suffix)
            if parts and output not in seen:
                seen.add(output)
                try:
                    if fresh:
                        written.append((write_beside(parts, outroot + name + suffix), outroot + name + suffix))
                    else:
                        append_files(parts, outroot + name + suffix)
                except OSError as error:
                    failures.append(f"{outroot + name + suffix}: {error.strerror}")
    for temporary, output in written:
        try:
            os.replace(temporary, output)
        except OSError as error:
            os.unlink(temporary)
            failures.append(f"{output}: {error.strerror}")
    for prefix in shard_prefixes:
        shutil.rmtree(prefix, ignore_errors=True)
    return failures


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--outroot", default="")
    parser.add_argument("--shard", action="append", default=[])
    parser.add_argument("--fresh", action="store_true")
    parser.add_argument("--bin-fof", default="")
    parser.add_argument("bins", nargs="*")
    args = parser.parse_args()
    for line in gather(args.outroot, args.shard, bin_names(args.bin_fof, args.bins), args.fresh):
        print(line)
