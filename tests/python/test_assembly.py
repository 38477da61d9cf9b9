"""ostrel.Assembly: each edit written back gives the file the ostrel-ace
subcommand writes, and the errors arrive as exceptions."""
import io
import subprocess
import threading

import pytest

from conftest import ACE_FILES, DATA
import ostrel

ACE = str(DATA / "ace" / "acefile.ace.1")

# (subcommand, its options, the words after in.ace and out.ace, the same
# edit on an Assembly)
EDITS = [
    ("revcomp", [], ["Contig53", "Contig7"], lambda a: a.reverse("Contig53", "Contig7")),
    ("remove", [], ["Contig52", "Contig1"], lambda a: a.remove("Contig52", "Contig1")),
    ("merge", [], ["Contig51", "Contig50", "300"], lambda a: a.merge("Contig51", "Contig50", 300)),
    ("split", ["-m", "100"], ["Contig53:200-260"], lambda a: a.split("Contig53", [(200, 260)], min_size=100)),
    ("trim-tails", ["-w", "20", "-H", "1.5"], [], lambda a: a.trim_tails(window=20, height=1.5)),
    ("trim-tails", ["--remove-marked"], [], lambda a: a.trim_tails(remove_marked=True)),
]


@pytest.mark.parametrize("sub,options,words,edit", EDITS, ids=[" ".join([e[0], *e[1], *e[2]]) for e in EDITS])
def test_edit_writes_what_the_command_writes(tmp_path, command, sub, options, words, edit):
    by_command = tmp_path / "command.ace"
    subprocess.run([command("acetool", "ostrel-ace"), sub, *options, ACE, str(by_command), *words],
                   check=True, capture_output=True)
    assembly = ostrel.Assembly(ACE)
    edit(assembly)
    by_module = tmp_path / "module.ace"
    assembly.write(by_module)
    assert by_module.read_bytes() == by_command.read_bytes()


def test_contents_and_figures():
    assembly = ostrel.Assembly(ACE)
    assert len(assembly) == 53 and assembly.names[0] == "Contig1"
    assert assembly["Contig53"].name == assembly[52].name == assembly[-1].name == "Contig53"
    assert len(assembly["Contig53"].reads) == 7
    stats = assembly.stats()
    assert stats["contigs"] == 53 and stats["reads"] == 114
    assert stats["max_contig_length"] >= 984
    assert assembly.merge("Contig51", "Contig50", 300) == 3
    assert "Contig50" not in assembly.names and assembly.stats()["reads"] == 114


@pytest.mark.parametrize("name", ACE_FILES)
def test_contigs_carry_their_tags(name):
    """Each contig of an assembly carries the tags on it and on its reads, as
    Bio.Sequencing.Ace.read sorts them (which leaves an empty list on the
    read a moved tag followed)."""
    from test_ace import FACETS, differences
    Ace = pytest.importorskip("Bio.Sequencing.Ace")
    assembly = ostrel.Assembly(DATA / "ace" / name)
    with open(DATA / "ace" / name) as handle:
        theirs = Ace.read(handle).contigs
    for read in (read for contig in theirs for read in contig.reads):
        read.rt = read.rt or None
    for facet in ("ct", "rt", "wr"):
        take = FACETS[facet]
        assert differences([take(assembly[k]) for k in range(len(assembly))], [take(c) for c in theirs]) == []


def test_errors_are_exceptions(tmp_path):
    with pytest.raises(FileNotFoundError):
        ostrel.Assembly(tmp_path / "absent.ace")
    (tmp_path / "notes.txt").write_text("no assembly\n")
    with pytest.raises(ValueError, match="no ACE records"):
        ostrel.Assembly(tmp_path / "notes.txt")
    (tmp_path / "short.ace").write_text("AS 3 2\n\nCO c1 4 1 1 U\nACGT\n\nBQ\n20 20 20 20\n\n"
                                        "AF r1 U 1\nBS 1 4 r1\n\nRD r1 4 0 0\nACGT\n\nQA 1 4 1 4\nDS \n")
    with pytest.raises(ValueError, match="INCONSISTENT ACE FILE"):
        ostrel.Assembly(tmp_path / "short.ace")
    assembly = ostrel.Assembly(ACE)
    with pytest.raises(KeyError):
        assembly.reverse("NoSuchContig")
    with pytest.raises(IndexError):
        assembly[53]
    with pytest.raises(ValueError):
        assembly.merge("Contig7", "Contig7", 0)
    with pytest.raises(OSError):
        assembly.write(tmp_path / "absent-folder" / "out.ace")


def test_threads_read_alike():
    """Calls from several threads take turns in the library and give what one
    thread gives."""
    expected = [c.name for c in ostrel.ace.parse(ACE)]
    results = []

    def work():
        results.append([c.name for c in ostrel.ace.parse(ACE)])
    threads = [threading.Thread(target=work) for _ in range(4)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert results == [expected] * 4


def test_an_object_busy_in_one_thread_refuses_another():
    started, go = threading.Event(), threading.Event()

    class Slow(io.StringIO):
        def read(self, size=-1):
            started.set()
            go.wait()
            return super().read(size)
    contigs = ostrel._ostrel.AceContigs(Slow(open(ACE).read()))
    worker = threading.Thread(target=lambda: next(contigs))
    worker.start()
    started.wait()
    with pytest.raises(RuntimeError, match="in use by another thread"):
        next(contigs)
    go.set()
    worker.join()
    assert next(contigs)[0] == "Contig2"
