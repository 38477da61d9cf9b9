"""ACE assemblies read by ostrel, shaped as Bio.Sequencing.Ace shapes them.

``parse(source)`` yields the contigs of a file one at a time and
``read(source)`` gives the whole file as a record; ``source`` is a path
(plain or gzip-compressed) or an open handle (text or binary). The classes
and their attributes, types and values are those of Bio.Sequencing.Ace, so
a script changes its import line only::

    from ostrel import ace as Ace
    for contig in Ace.parse("assembly.ace"):
        print(contig.name, len(contig.reads))

Tags come as ostrel's reader keeps them (CT{, RT{, WR{ and WA{ records).
With ``parse`` a contig carries the tags that stand among its reads, after
its first read and before the next "CO" record: consensus and assembly tags
in ``ct`` and ``wa``, a read tag with the read it follows (a tag before a
contig's first read is passed over, as Bio.Sequencing.Ace passes it over).
``read`` then moves each consensus and read tag to the contigs and reads of
its name, leaving an empty list where one left, and gathers the assembly
tags in the record's ``wa``.
"""

import gc
from functools import cached_property

from . import _ostrel

__all__ = ["parse", "read", "ACEFileRecord", "Contig", "Reads",
           "rd", "qa", "ds", "af", "bs", "rt", "ct", "wa", "wr"]


class rd:
    """RD record: the read's name, padded length and bases."""

    def __init__(self):
        self.name = ""
        self.padded_bases = None
        self.info_items = None
        self.read_tags = None
        self.sequence = ""


class qa:
    """QA record: the read's quality and alignment clipping."""

    def __init__(self, line=None):
        self.qual_clipping_start = None
        self.qual_clipping_end = None
        self.align_clipping_start = None
        self.align_clipping_end = None
        if line:
            words = line.split()
            self.qual_clipping_start = int(words[1])
            self.qual_clipping_end = int(words[2])
            self.align_clipping_start = int(words[3])
            self.align_clipping_end = int(words[4])


_DS_WORDS = ("CHROMAT_FILE", "PHD_FILE", "TIME", "CHEM", "DYE", "TEMPLATE", "DIRECTION")


class ds:
    """DS record: the read's description, word by word."""

    def __init__(self, line=None):
        self.chromat_file = ""
        self.phd_file = ""
        self.time = ""
        self.chem = ""
        self.dye = ""
        self.template = ""
        self.direction = ""
        if line:
            # Each word's value runs to the next word found (the first
            # occurrence of each), blanks stripped.
            found = {line.find(word): word for word in _DS_WORDS}
            found.pop(-1, None)
            starts = sorted(found)
            for start, end in zip(starts, starts[1:] + [len(line) + 1]):
                word = found[start]
                setattr(self, word.lower(), line[start + len(word) + 1:end].strip())


class af:
    """AF record: where the read lies on the consensus, and its strand."""

    def __init__(self, line=None):
        self.name = ""
        self.coru = None
        self.padded_start = None
        if line:
            words = line.split()
            self.name = words[1]
            self.coru = words[2]
            self.padded_start = int(words[3])


class bs:
    """BS record: the read whose bases make up the consensus over a stretch."""

    def __init__(self, line=None):
        self.name = ""
        self.padded_start = None
        self.padded_end = None
        if line:
            words = line.split()
            self.padded_start = int(words[1])
            self.padded_end = int(words[2])
            self.name = words[3]


# The first line of an RT{ or CT{ tag: its words in order.
_TAG_FIELDS = (("name", str), ("tag_type", str), ("program", str), ("padded_start", int), ("padded_end", int),
               ("date", str))


def _take_words(record, line, fields, optional=0):
    """Sets the record's attributes named in `fields` from the line's words
    in order, each made its type; words past them are ignored, and a line
    short of all but the `optional` last ones is refused."""
    words = line.split()
    if len(words) < len(fields) - optional:
        raise ValueError("too few fields in tag line: " + line)
    for (name, kind), word in zip(fields, words):
        setattr(record, name, kind(word))


class rt:
    """RT{ tag: a read tag."""

    def __init__(self, line=None):
        self.name = ""
        self.tag_type = ""
        self.program = ""
        self.padded_start = None
        self.padded_end = None
        self.date = ""
        self.comment = []
        if line:
            _take_words(self, line, _TAG_FIELDS)


class ct:
    """CT{ tag: a consensus tag."""

    def __init__(self, line=None):
        self.name = ""
        self.tag_type = ""
        self.program = ""
        self.padded_start = None
        self.padded_end = None
        self.date = ""
        self.notrans = ""
        self.info = []
        self.comment = []
        if line:
            _take_words(self, line, _TAG_FIELDS + (("notrans", str),), optional=1)


class wa:
    """WA{ tag: an assembly tag (the program, its version and so on)."""

    def __init__(self, line=None):
        self.tag_type = ""
        self.program = ""
        self.date = ""
        self.info = []
        if line:
            _take_words(self, line, (("tag_type", str), ("program", str), ("date", str)))


class wr:
    """WR{ tag."""

    def __init__(self, line=None):
        self.name = ""
        self.aligned = ""
        self.program = ""
        self.date = []
        if line:
            _take_words(self, line, (("name", str), ("aligned", str), ("program", str), ("date", str)))


class Reads:
    """A read of a contig: its rd, qa and ds records and its rt and wr tags."""

    def __init__(self, line=None):
        self.rd = None
        self.qa = None
        self.ds = None
        self.rt = None
        self.wr = None
        if line:
            words = line.split()
            self.rd = rd()
            self.rd.name = words[1]
            self.rd.padded_bases = int(words[2])
            self.rd.info_items = int(words[3])
            self.rd.read_tags = int(words[4])


class _Itself:
    """An attribute that is the object itself until one is assigned: a read
    made from what the reader held is its own rd record."""

    def __get__(self, instance, owner=None):
        return self if instance is None else instance


class _HeldRead(Reads, rd):
    """A read made from what ostrel's reader held: one object that is the
    read and its rd record, its qa and ds records made on first use."""

    rd = _Itself()
    # The counts of most RD records; a read of a contig that counts other
    # ones has its own.
    info_items = 0
    read_tags = 0
    rt = None
    wr = None

    def __init__(self, name, sequence, qa_line, description):
        self.name = name
        self.sequence = sequence
        self._qa_line = qa_line
        self._description = description

    @cached_property
    def padded_bases(self):
        return len(self.sequence)

    @cached_property
    def qa(self):
        return qa(self._qa_line) if self._qa_line else None

    @cached_property
    def ds(self):
        # None: the read had no DS line.
        return None if self._description is None else ds("DS " + self._description)


class Contig:
    """A contig: its CO record, consensus, qualities, placements, base
    segments, reads and tags."""

    def __init__(self, line=None):
        self.name = ""
        self.nbases = None
        self.nreads = None
        self.nsegments = None
        self.uorc = None
        self.sequence = ""
        self.quality = []
        self.af = []
        self.bs = []
        self.reads = []
        self.ct = None
        self.wa = None
        if line:
            words = line.split()
            self.name = words[1]
            self.nbases = int(words[2])
            self.nreads = int(words[3])
            self.nsegments = int(words[4])
            self.uorc = words[5]


class ACEFileRecord:
    """A whole ACE file: its announced counts, its contigs and its assembly
    tags."""

    def __init__(self):
        self.ncontigs = None
        self.nreads = None
        self.contigs = []
        self.wa = None

    def sort(self):
        """Moves every consensus and read tag to the contigs and reads of the
        name it carries (a tag naming none is dropped), and gathers the
        assembly tags of all contigs in ``wa``."""
        moved_ct, moved_rt, moved_wr = [], [], []
        for contig in self.contigs:
            if contig.wa:
                self.wa = (self.wa or []) + contig.wa
            if contig.ct:
                moved_ct += _take_misplaced(contig.ct, contig.name)
            for read in contig.reads:
                if read.rt:
                    moved_rt += _take_misplaced(read.rt, read.rd.name)
                if read.wr:
                    moved_wr += _take_misplaced(read.wr, read.rd.name)
        for contig in self.contigs:
            for tag in moved_ct:
                if tag.name == contig.name:
                    contig.ct = (contig.ct or []) + [tag]
            if moved_rt or moved_wr:
                for read in contig.reads:
                    for tag in moved_rt:
                        if tag.name == read.rd.name:
                            read.rt = (read.rt or []) + [tag]
                    for tag in moved_wr:
                        if tag.name == read.rd.name:
                            read.wr = (read.wr or []) + [tag]


def _take_misplaced(tags, name):
    """Removes from ``tags`` those naming another than ``name``; returns them."""
    misplaced = [tag for tag in tags if tag.name != name]
    for tag in misplaced:
        tags.remove(tag)
    return misplaced


def _tag_lines(text):
    """The lines of a tag's text after its opening line, blanks stripped."""
    return [line.strip() for line in text.split("\n")[1:]]


def _comment_until_close(lines, at, into):
    """Appends lines from ``at`` up to the one ending in "C}" to ``into``;
    returns the index after that line."""
    while at < len(lines) and not lines[at].endswith("C}"):
        into.append(lines[at])
        at += 1
    return at + 1


def _consensus_tag(text):
    lines = _tag_lines(text)
    tag = ct(lines[0])
    at = 1
    while at < len(lines) and lines[at] != "}":
        if lines[at] == "COMMENT{":
            at = _comment_until_close(lines, at + 1, tag.comment)
        else:
            tag.info.append(lines[at])
            at += 1
    return tag


def _read_tags(text):
    tags = []
    lines = _tag_lines(text)
    at = 0
    while at < len(lines) and lines[at] != "}":
        line = lines[at]
        if line.startswith("COMMENT{"):
            if line[8:].strip():
                tags[-1].comment.append(line[8:])
            at = _comment_until_close(lines, at + 1, tags[-1].comment)
        else:
            tags.append(rt(line))
            at += 1
    return tags


def _whole_read_tags(text):
    tags = []
    for line in _tag_lines(text):
        if line == "}":
            break
        tags.append(wr(line))
    return tags


def _assembly_tag(text):
    lines = _tag_lines(text)
    tag = wa(lines[0])
    for line in lines[1:]:
        if line == "}":
            break
        tag.info.append(line)
    return tag


def _place_tags(contig, tags):
    """Gives the contig its tags, each a (text, place) pair: place is the
    index of the read it followed in the contig (-1 before the first, which
    passes it over), or None for a tag of an assembly held whole, which goes
    to the read it names (else the last read)."""
    names = None
    for text, place in tags:
        if place is not None and place < 0:
            continue
        kind = text.lstrip()[:3]
        if kind == "CT{":
            contig.ct = (contig.ct or []) + [_consensus_tag(text)]
        elif kind == "WA{":
            contig.wa = (contig.wa or []) + [_assembly_tag(text)]
        elif kind in ("WR{", "RT{") and contig.reads:
            kept = "wr" if kind == "WR{" else "rt"
            found = _whole_read_tags(text) if kind == "WR{" else _read_tags(text)
            if place is not None:
                # The read it follows gets a list, an empty one too.
                read = contig.reads[place]
                setattr(read, kept, (getattr(read, kept) or []) + found)
                continue
            if names is None:
                names = {read.rd.name: read for read in contig.reads}
            for tag in found:
                read = names.get(tag.name, contig.reads[-1])
                setattr(read, kept, (getattr(read, kept) or []) + [tag])


class _HeldContig(Contig):
    """A contig made from what ostrel's reader held, its placements and base
    segments made on first use."""

    ct = None
    wa = None

    def __init__(self, record):
        (self.name, self.nbases, self.nreads, self.nsegments, self.uorc, self.sequence, self.quality, self._starts,
         self._strands, self._segments, read_names, read_sequences, qa_lines, descriptions, counts, tags) = record
        qa_lines += [None] * (len(read_names) - len(qa_lines))
        self.reads = list(map(_HeldRead, read_names, read_sequences, qa_lines, descriptions))
        if counts:
            for read, (info_items, read_tags) in zip(self.reads, counts):
                read.info_items, read.read_tags = info_items, read_tags
        if tags:
            _place_tags(self, tags)

    @cached_property
    def af(self):
        placements = []
        for read, strand, start in zip(self.reads, self._strands, self._starts):
            placement = af()
            placement.name = read.rd.name
            placement.coru = strand
            placement.padded_start = start
            placements.append(placement)
        return placements

    @cached_property
    def bs(self):
        segments = []
        for start, end, read_name in self._segments:
            segment = bs()
            segment.padded_start = start
            segment.padded_end = end
            segment.name = read_name
            segments.append(segment)
        return segments


def _contig(record):
    """A contig from the tuple ostrel._ostrel gives; the garbage collector
    waits while its many objects, none of them in a cycle, are made."""
    collecting = gc.isenabled()
    gc.disable()
    try:
        return _HeldContig(record)
    finally:
        if collecting:
            gc.enable()


def parse(source):
    """Yields the contigs of an ACE file (a path or an open handle) one at a
    time. A file that cannot be opened raises OSError; a damaged one, or one
    without ACE records, ValueError."""
    for record in _ostrel.AceContigs(source):
        yield _contig(record)


def read(source):
    """The whole ACE file (a path or an open handle) as an ACEFileRecord,
    its tags moved to the contigs and reads they name."""
    record = ACEFileRecord()
    contigs = _ostrel.AceContigs(source)
    record.contigs = [_contig(fields) for fields in contigs]
    record.ncontigs, record.nreads = contigs.announced
    record.sort()
    return record
