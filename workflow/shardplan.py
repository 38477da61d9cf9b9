"""The plan of a sharded extraction: the entries of the FASTA list split into
shards of consecutive lines, and the bins whose outputs are gathered."""


def list_entries(path):
    """The non-empty lines of a FASTA list as the command reads them (a
    carriage return ending a line dropped), with their bytes otherwise kept."""
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    entries = []
    for line in lines:
        if line.endswith(b"\r"):
            line = line[:-1]
        if line:
            entries.append(line)
    return entries


def split_consecutive(entries, shards):
    """Splits entries into min(shards, len) runs of consecutive entries; the
    first runs take one entry more when the count does not divide evenly."""
    count = max(1, min(shards, len(entries)))
    size, extra = divmod(len(entries), count)
    runs, start = [], 0
    for k in range(count):
        end = start + size + (1 if k < extra else 0)
        runs.append(entries[start:end])
        start = end
    return runs


def bin_names(bin_fof, bins):
    """The bins as the command takes them (the -b file's lines with blanks and
    tabs removed, then the named ones), each once, first place kept: a bin
    named twice appends twice within every shard's own output already."""
    names = []
    if bin_fof:
        with open(bin_fof, "rb") as f:
            for line in f.read().decode(errors="surrogateescape").split("\n"):
                line = line[:-1] if line.endswith("\r") else line
                name = "".join(c for c in line if c not in " \t")
                if name:
                    names.append(name)
    names.extend(bins)
    return list(dict.fromkeys(names))


if __name__ == "__main__":
    # shardplan.py FASTA_LIST SHARD_LIST...: writes the shards' lists.
    import sys

    outputs = sys.argv[2:]
    for path, entries in zip(outputs, split_consecutive(list_entries(sys.argv[1]), len(outputs))):
        with open(path, "wb") as f:
            f.writelines(entry + b"\n" for entry in entries)
