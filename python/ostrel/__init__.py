"""ostrel, the genome-sequencing toolkit, from Python.

- ``ostrel.ace``: ACE assemblies read contig by contig (``parse``) or whole
  (``read``), in the classes and attributes of Bio.Sequencing.Ace.
- ``ostrel.Assembly``: an ACE assembly to edit (split, merge, reverse,
  remove, trim tails), write back and take the figures of.
- ``ostrel.fastaindex``, ``ostrel.extract_bins``: the "_idx" index of a FASTA
  or quality file, and the reads of each bin copied out of indexed files.
- ``ostrel.overlaps``: all-against-all overlaps of reads, as PAF records.

A file that cannot be read raises OSError; a damaged one ValueError, with
the library's message. What the library says along the way goes to
sys.stderr. Long work runs without the GIL.
"""

import os
from collections import namedtuple

from . import _ostrel
from . import ace

__version__ = _ostrel.__version__
__all__ = ["ace", "Assembly", "fastaindex", "extract_bins", "Extracted", "overlaps", "Overlap"]


class Assembly:
    """An ACE assembly (plain or gzip-compressed) read whole, with the read
    qualities of ``qual`` when given (otherwise the qualities are made up as
    ostrel-ace makes them). Contigs are named by their name or their index.
    Each edit drops the contigs it leaves without reads and returns their
    names, as the ostrel-ace editing subcommands do before writing."""

    def __init__(self, path, qual=None):
        self._held = _ostrel.Assembly(os.fspath(path), os.fspath(qual) if qual else "")

    def __len__(self):
        return len(self._held)

    @property
    def names(self):
        """The contig names, in assembly order."""
        return self._held.names

    def __getitem__(self, key):
        """The contig (by index or name) as an ``ostrel.ace.Contig``, with the
        tags on it and its reads."""
        return ace._contig(self._held.record(key))

    def __iter__(self):
        for index in range(len(self)):
            yield self[index]

    def reverse(self, *names):
        """Reverse-complements the named contigs."""
        return self._held.reverse(list(names))

    def remove(self, *names):
        """Removes the named contigs with their reads."""
        return self._held.remove(list(names))

    def merge(self, left, right, offset):
        """Merges contig ``right`` into ``left``, its reads shifted right by
        ``offset`` columns; returns how many reads moved."""
        return self._held.merge(left, right, offset)

    def split(self, contig, regions, min_size=_ostrel.DEFAULT_MIN_CONTIG_SIZE):
        """Cuts the contig at each region (FROM, TO), 1-based padded
        positions, as ostrel-ace split does; a piece without template
        coverage shorter than ``min_size`` columns is dropped."""
        return self._held.split(contig, [tuple(region) for region in regions], min_size)

    def trim_tails(self, window=_ostrel.DEFAULT_TRIM_WINDOW, height=_ostrel.DEFAULT_TRIM_HEIGHT,
                   remove_marked=False):
        """Removes the unmated reads reaching into each contig's low-coverage
        ends, as ostrel-ace trim-tails does; returns a dict of the reads
        ``removed``, the contigs ``marked`` for want of sound ends, and those
        ``dropped``."""
        return self._held.trim_tails(window, height, remove_marked)

    def write(self, path):
        """Writes the assembly (gzip-compressed when the name ends in .gz),
        whole or not at all; OSError when it cannot be written."""
        self._held.write(os.fspath(path))

    def stats(self):
        """The assembly's figures, as a dict."""
        return self._held.stats()

    @property
    def valid(self):
        return self._held.valid


def fastaindex(path):
    """Writes the "_idx" index beside a FASTA or quality file; returns its name."""
    return _ostrel.fastaindex(os.fspath(path))


Extracted = namedtuple("Extracted", "input bin found output")


def extract_bins(inputs, bins, outroot="", fresh=False):
    """Copies the reads of each bin file out of indexed FASTA files, as
    ostrel-extractbins does: ``inputs`` is a list of FASTA file names, each
    read with the quality file found beside it (as in an -i list), or one
    name alone (as with -I); ``bins`` the bin file names. Outputs are
    appended to under ``outroot``, or written afresh with ``fresh`` (as with
    -r). Returns, for every input and bin, inputs
    outermost, an Extracted(input, bin, found, output) with the number of
    records found."""
    single = isinstance(inputs, (str, os.PathLike))
    names = [os.fspath(inputs)] if single else [os.fspath(name) for name in inputs]
    bins = [os.fspath(name) for name in ([bins] if isinstance(bins, (str, os.PathLike)) else bins)]
    return [Extracted(*row) for row in _ostrel.extract_bins(names, bins, os.fspath(outroot), single, fresh)]


Overlap = namedtuple("Overlap", "query_name query_length query_start query_end strand "
                                "target_name target_length target_start target_end "
                                "matches alignment_length mapping_quality score overlap_length")


def overlaps(reads, word_size=_ostrel.DEFAULT_WORD_SIZE, density=_ostrel.DEFAULT_WORD_DENSITY,
             repeat_limit=_ostrel.DEFAULT_REPEAT_LIMIT, band_width=_ostrel.DEFAULT_BAND_WIDTH,
             error_pct=_ostrel.DEFAULT_ERROR_PCT, min_score=_ostrel.DEFAULT_MIN_SCORE,
             min_read_size=_ostrel.DEFAULT_MIN_READ_SIZE, threads=0):
    """Yields the end-to-end overlaps between the reads of the FASTA or FASTQ files
    ``reads`` (one name or a list), each pair once, as ostrel-overlap finds
    them and in its order: Overlap records in PAF's columns (0-based,
    half-open on each read's forward strand), with the alignment score and
    overlap length. The reads are compared (without the GIL) when the first
    record is asked for."""
    files = [os.fspath(reads)] if isinstance(reads, (str, os.PathLike)) else [os.fspath(r) for r in reads]
    found = _ostrel.find_overlaps(files, word_size, density, repeat_limit, band_width, error_pct, min_score,
                                  min_read_size, threads)
    for index in range(len(found)):
        yield Overlap._make(found.record(index))
