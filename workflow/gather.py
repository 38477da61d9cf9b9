"""Appends each bin's shard outputs, in shard order, to the bin's outputs,
then removes the shards' folders. An output that cannot be opened (a missing
folder) is reported on standard output and its bin skipped, as the command
does; the others are still appended.

  gather.py --outroot ROOT --shard PREFIX... [--bin-fof FILE] [BIN...]"""
import argparse
import os
import shutil

from appendcopy import append_files
from shardplan import bin_names

SUFFIXES = ("_out.fa", "_out.fa.qual")


def gather(outroot, shard_prefixes, bins):
    failures = []
    for name in bins:
        for suffix in SUFFIXES:
            parts = [p + name + suffix for p in shard_prefixes if os.path.exists(p + name + suffix)]
            if parts:
                try:
                    append_files(parts, outroot + name + suffix)
                except OSError as error:
                    failures.append(f"{outroot + name + suffix}: {error.strerror}")
    for prefix in shard_prefixes:
        shutil.rmtree(prefix, ignore_errors=True)
    return failures


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--outroot", default="")
    parser.add_argument("--shard", action="append", default=[])
    parser.add_argument("--bin-fof", default="")
    parser.add_argument("bins", nargs="*")
    args = parser.parse_args()
    for line in gather(args.outroot, args.shard, bin_names(args.bin_fof, args.bins)):
        print(line)
