"""ostrel.ace against Bio.Sequencing.Ace on the real ACE files: every
attribute of every contig, read and tag."""
import gzip
import io
import shutil

import pytest

from conftest import ACE_FILES, DATA
import ostrel
from ostrel import ace

Ace = pytest.importorskip("Bio.Sequencing.Ace")

# What each facet compares: the contig's own attributes, or those of one
# kind of record or tag.
FACETS = {
    "contig": lambda c: [(a, getattr(c, a)) for a in ("name", "nbases", "nreads", "nsegments", "uorc",
                                                       "sequence", "quality")],
    "af": lambda c: c.af,
    "bs": lambda c: c.bs,
    "rd": lambda c: [r.rd for r in c.reads],
    "qa": lambda c: [r.qa for r in c.reads],
    "ds": lambda c: [r.ds for r in c.reads],
    "rt": lambda c: [r.rt for r in c.reads],
    "wr": lambda c: [r.wr for r in c.reads],
    "ct": lambda c: c.ct,
    "wa": lambda c: c.wa,
}

def differences(ours, theirs, where="", found=None):
    """The paths at which two values differ, every attribute of theirs
    compared."""
    found = [] if found is None else found
    if isinstance(theirs, (list, tuple)):
        if not isinstance(ours, (list, tuple)) or len(ours) != len(theirs):
            found.append(f"{where}: {ours!r} != {theirs!r}")
        else:
            for k, (a, b) in enumerate(zip(ours, theirs)):
                differences(a, b, f"{where}[{k}]", found)
    elif hasattr(theirs, "__dict__"):
        if ours is None or type(ours).__name__ != type(theirs).__name__ and not isinstance(ours, ace.Reads):
            found.append(f"{where}: {ours!r} != {theirs!r}")
        else:
            for name in vars(theirs):
                differences(getattr(ours, name), getattr(theirs, name), f"{where}.{name}", found)
    elif type(ours) is not type(theirs) or ours != theirs:
        found.append(f"{where}: {ours!r} != {theirs!r}")
    return found


CASES = [(name, facet) for name in ACE_FILES for facet in FACETS]


@pytest.mark.parametrize("name,facet", CASES)
def test_parse_equals_biopython(name, facet):
    path = DATA / "ace" / name
    with open(path) as handle:
        theirs = list(Ace.parse(handle))
    ours = list(ace.parse(str(path)))
    assert len(ours) == len(theirs)
    assert differences([FACETS[facet](c) for c in ours], [FACETS[facet](c) for c in theirs]) == []


@pytest.mark.parametrize("name,facet", CASES)
def test_read_equals_biopython(name, facet):
    path = DATA / "ace" / name
    with open(path) as handle:
        theirs = Ace.read(handle)
    ours = ace.read(str(path))
    assert (ours.ncontigs, ours.nreads) == (theirs.ncontigs, theirs.nreads)
    assert differences(ours.wa, theirs.wa) == []
    assert differences([FACETS[facet](c) for c in ours.contigs],
                       [FACETS[facet](c) for c in theirs.contigs]) == []


def complemented(tmp_path, name):
    """A copy of a real file whose first contig is complemented ("C" ending
    its CO line), as an editor writes one."""
    lines = (DATA / "ace" / name).read_text().split("\n")
    at = next(k for k, line in enumerate(lines) if line.startswith("CO "))
    lines[at] = lines[at].rstrip()[:-1] + "C"
    path = tmp_path / ("complemented-" + name)
    path.write_text("\n".join(lines))
    return path


@pytest.mark.parametrize("name", ACE_FILES)
def test_written_back_parses_as_the_original(tmp_path, name):
    """An assembly read whole and written back is, to Biopython, the file it
    came from: every contig, read and tag where it stood, the contig's
    strand included. A file without base segments has them made."""
    source = complemented(tmp_path, name)
    written = tmp_path / "written.ace"
    ostrel.Assembly(source).write(written)
    with open(source) as original, open(written) as back:
        theirs, ours = list(Ace.parse(original)), list(Ace.parse(back))
    assert ours[0].uorc == "C"
    read_back = list(ace.parse(written))
    for facet, take in FACETS.items():
        assert differences([take(c) for c in read_back], [take(c) for c in ours]) == [], facet
    if not any(c.bs for c in theirs):
        for mine, their in zip(ours, theirs):
            mine.bs, mine.nsegments = their.bs, their.nsegments
    for facet, take in FACETS.items():
        assert differences([take(c) for c in ours], [take(c) for c in theirs]) == [], facet


def test_sources_read_alike(tmp_path):
    """A path, a gzip-compressed path, and text and binary handles give the
    same contigs."""
    path = DATA / "ace" / "acefile.ace.1"
    packed = tmp_path / "acefile.ace.gz"
    with open(path, "rb") as plain, gzip.open(packed, "wb") as out:
        shutil.copyfileobj(plain, out)
    text = path.read_text()

    def summary(contigs):
        return [(c.name, c.sequence, c.quality, [(r.rd.name, r.rd.sequence, r.ds and r.ds.template)
                                                 for r in c.reads]) for c in contigs]
    expected = summary(ace.parse(path))
    assert len(expected) == 53
    assert summary(ace.parse(packed)) == expected
    assert summary(ace.parse(io.StringIO(text))) == expected
    with open(path, "rb") as handle:
        assert summary(ace.parse(handle)) == expected


def test_unreadable_and_damaged_files_raise(tmp_path):
    with pytest.raises(FileNotFoundError):
        list(ace.parse(tmp_path / "absent.ace"))
    with pytest.raises(OSError):
        ace.read(tmp_path)  # a folder
    (tmp_path / "notes.txt").write_text("no assembly here\n")
    with pytest.raises(ValueError, match="holds no ACE records"):
        ace.read(tmp_path / "notes.txt")
    # A gzip file cut short: the contigs before the cut come, then the error.
    data = gzip.compress((DATA / "ace" / "acefile.ace.1").read_bytes())
    (tmp_path / "cut.ace.gz").write_bytes(data[: len(data) // 2])
    contigs = []
    with pytest.raises(ValueError, match="damaged or truncated"):
        for contig in ace.parse(tmp_path / "cut.ace.gz"):
            contigs.append(contig.name)
    assert 0 < len(contigs) < 53

    with pytest.raises(ValueError, match="damaged or truncated"):
        ostrel.Assembly(tmp_path / "cut.ace.gz")

    class Strange:
        def read(self, size=-1):
            return 42
    with pytest.raises(TypeError):
        list(ace.parse(Strange()))

    class Failing(io.StringIO):
        def read(self, size=-1):
            raise RuntimeError("disk gone")
    with pytest.raises(RuntimeError, match="disk gone"):
        list(ace.parse(Failing()))
