#!/usr/bin/env python3
"""Recall and precision of all-against-all overlaps (PAF) against the true
placements of simulated reads (reads.truth from overlap-bench).

Rules:
- A true overlap is an unordered pair of distinct reads whose genome
  intervals intersect by at least --min-true bases (default 400).
- A reported pair is an unordered pair of distinct reads named on at least
  one PAF line, in either order; several lines for one pair count once, and
  lines of a read against itself are ignored.
- The relative strand of a pair is right when the PAF strand is '+' for two
  reads from the same genome strand and '-' otherwise; a pair whose lines
  disagree counts as right when one of them is.
- recall: the share of true overlaps reported with the right strand.
- precision: the share of reported pairs whose genome intervals intersect by
  at least --min-precise bases (default 100) and whose strand is right.
- placed: the share of reported pairs with a line whose two stretches, each
  taken back to the genome through its read's placement (scaled by the read's
  length against its genome span, to absorb indels), intersect by at least
  half the shorter one: the tool aligned the right parts of the reads, not
  just reads that happen to touch.

Usage: overlap-eval.py reads.truth out.paf [--min-true 400] [--min-precise 100] [--show-missed N]
                        [--show-false N]
"""

import argparse
import sys


def load_truth(path):
    """Returns (names, starts, ends, reverse, lengths, index of each name)."""
    names, starts, ends, reverse, lengths = [], [], [], [], []
    with open(path) as f:
        for line in f:
            fields = line.split("\t")
            if len(fields) < 5:
                continue
            names.append(fields[0])
            starts.append(int(fields[1]))
            ends.append(int(fields[2]))
            reverse.append(fields[3] == "-")
            lengths.append(int(fields[4]))
    index = {name: i for i, name in enumerate(names)}
    return names, starts, ends, reverse, lengths, index


def true_pairs(starts, ends, min_true):
    """Keys i * n + j (i < j) of the pairs whose intervals share at least
    min_true bases: a sweep over the reads in order of start."""
    n = len(starts)
    order = sorted(range(n), key=starts.__getitem__)
    pairs = set()
    for a, i in enumerate(order):
        end_i = ends[i]
        last_start = end_i - min_true
        for b in range(a + 1, n):
            j = order[b]
            start_j = starts[j]
            if start_j > last_start:
                break
            if min(end_i, ends[j]) - start_j >= min_true:
                pairs.add(i * n + j if i < j else j * n + i)
    return pairs


def genome_stretch(i, lo, hi, starts, ends, reverse, lengths):
    """The genome interval that bases [lo, hi) of read i come from, roughly."""
    scale = (ends[i] - starts[i]) / max(1, lengths[i])
    if reverse[i]:
        lo, hi = lengths[i] - hi, lengths[i] - lo
    return starts[i] + lo * scale, starts[i] + hi * scale


def evaluate(truth_path, paf_path, min_true=400, show_missed=0, show_false=0, out=sys.stdout, min_precise=100):
    names, starts, ends, reverse, lengths, index = load_truth(truth_path)
    n = len(names)
    truth = true_pairs(starts, ends, min_true)

    # Reported pairs: key -> bits (1 strand right, 2 strand wrong, 4 placed).
    reported = {}
    unknown = 0
    with open(paf_path) as f:
        for line in f:
            fields = line.split("\t", 12)
            if len(fields) < 12:
                continue
            i, j = index.get(fields[0]), index.get(fields[5])
            if i is None or j is None:
                unknown += 1
                continue
            if i == j:
                continue
            right = (fields[4] == "-") == (reverse[i] != reverse[j])
            bits = 1 if right else 2
            if right:
                q0, q1 = genome_stretch(i, int(fields[2]), int(fields[3]), starts, ends, reverse, lengths)
                t0, t1 = genome_stretch(j, int(fields[7]), int(fields[8]), starts, ends, reverse, lengths)
                if min(q1, t1) - max(q0, t0) >= 0.5 * min(q1 - q0, t1 - t0):
                    bits |= 4
            key = i * n + j if i < j else j * n + i
            reported[key] = reported.get(key, 0) | bits

    found = sum(1 for key in truth if reported.get(key, 0) & 1)
    correct = placed = 0
    false_pairs = []
    for key, bits in reported.items():
        i, j = divmod(key, n)
        if bits & 1 and min(ends[i], ends[j]) - max(starts[i], starts[j]) >= max(1, min_precise):
            correct += 1
            placed += bits >> 2
        elif len(false_pairs) < show_false:
            false_pairs.append(key)

    result = {
        "reads": n,
        "true": len(truth),
        "found": found,
        "reported": len(reported),
        "correct": correct,
        "placed": placed,
        "unknown": unknown,
        "recall": found / len(truth) if truth else 0.0,
        "precision": correct / len(reported) if reported else 0.0,
        "placed_share": placed / len(reported) if reported else 0.0,
    }

    def describe(key):
        i, j = divmod(key, n)
        shared = min(ends[i], ends[j]) - max(starts[i], starts[j])
        return "%s %d-%d %s  %s %d-%d %s  genome bases shared %d" % (
            names[i], starts[i], ends[i], "-" if reverse[i] else "+",
            names[j], starts[j], ends[j], "-" if reverse[j] else "+", shared)

    if show_missed:
        shown = 0
        for key in sorted(truth):
            if not reported.get(key, 0) & 1:
                print("missed:", describe(key), file=out)
                shown += 1
                if shown == show_missed:
                    break
    for key in false_pairs:
        print("false: ", describe(key), file=out)
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("truth")
    parser.add_argument("paf")
    parser.add_argument("--min-true", type=int, default=400,
                        help="genome bases two reads must share to make a true overlap (default 400)")
    parser.add_argument("--min-precise", type=int, default=100,
                        help="genome bases a reported pair must share to count as right (default 100)")
    parser.add_argument("--show-missed", type=int, default=0, metavar="N", help="print N true pairs not reported")
    parser.add_argument("--show-false", type=int, default=0, metavar="N", help="print N reported pairs not true")
    args = parser.parse_args()
    r = evaluate(args.truth, args.paf, args.min_true, args.show_missed, args.show_false, min_precise=args.min_precise)
    print("reads %d, true overlaps (>= %d bases) %d, reported pairs %d%s"
          % (r["reads"], args.min_true, r["true"], r["reported"],
             ", lines naming unknown reads %d" % r["unknown"] if r["unknown"] else ""))
    print("recall %.4f (%d of %d)" % (r["recall"], r["found"], r["true"]))
    print("precision %.4f (%d of %d)" % (r["precision"], r["correct"], r["reported"]))
    print("placed %.4f (%d of %d)" % (r["placed_share"], r["placed"], r["reported"]))


if __name__ == "__main__":
    main()
