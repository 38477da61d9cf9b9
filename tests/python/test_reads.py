"""ostrel.fastaindex, ostrel.extract_bins and ostrel.overlaps give what
ostrel-fastaindex, ostrel-extractbins and ostrel-overlap give."""
import pathlib
import shutil
import subprocess

import pytest

from conftest import DATA
import ostrel

RUN = DATA / "extractbins" / "run"


def test_fastaindex_writes_the_commands_index(tmp_path, command):
    for name in ("reads.fa", "reads.qual"):
        shutil.copy(RUN / name, tmp_path / name)
        assert ostrel.fastaindex(tmp_path / name) == str(tmp_path / name) + "_idx"
    by_module = {n: (tmp_path / (n + "_idx")).read_bytes() for n in ("reads.fa", "reads.qual")}
    subprocess.run([command("fastaindex", "ostrel-fastaindex"), "reads.fa", "reads.qual"],
                   cwd=tmp_path, check=True, capture_output=True)
    assert by_module == {n: (tmp_path / (n + "_idx")).read_bytes() for n in ("reads.fa", "reads.qual")}
    with pytest.raises(FileNotFoundError):
        ostrel.fastaindex(tmp_path / "absent.fa")
    (tmp_path / "bad.fa").write_bytes(b"no header line\n")
    with pytest.raises(ValueError):
        ostrel.fastaindex(tmp_path / "bad.fa")


def test_extract_bins_writes_the_commands_outputs(tmp_path, command, monkeypatch):
    for mode in ("module", "command"):
        shutil.copytree(RUN, tmp_path / mode)
    bins = ["binA", "binB", "binC"]
    work = tmp_path / "module"
    monkeypatch.chdir(work)
    found = ostrel.extract_bins(["reads.fa"], bins, outroot="out_")
    subprocess.run([command("extractbins", "ostrel-extractbins"), "-i", "list", "-o", "out_", *bins],
                   cwd=tmp_path / "command", check=True, capture_output=True)
    outputs = sorted(p.name for p in (tmp_path / "command").glob("out_*"))
    assert outputs and outputs == sorted(p.name for p in work.glob("out_*"))
    for name in outputs:
        assert (work / name).read_bytes() == (tmp_path / "command" / name).read_bytes()
    # Every input (the FASTA file, then its quality file) against every bin.
    assert [(f.input, f.bin) for f in found] == [(i, b) for i in ("reads.fa", "reads.qual") for b in bins]
    for f in found:
        names = [line.strip() for line in (work / f.bin).read_text().split("\n") if line.strip()]
        index = {line.split()[0] for line in (work / (f.input + "_idx")).read_text().split("\n") if line.strip()}
        assert f.found == sum(name in index for name in names)
        assert f.output == "out_" + f.bin + ("_out.fa.qual" if f.input == "reads.qual" else "_out.fa")
    # Written afresh, the outputs stay as they are; appended to, they double.
    before = {name: (work / name).read_bytes() for name in outputs}
    ostrel.extract_bins(["reads.fa"], bins, outroot="out_", fresh=True)
    assert before == {name: (work / name).read_bytes() for name in outputs}
    ostrel.extract_bins(["reads.fa"], bins, outroot="out_")
    assert {name: data * 2 for name, data in before.items()} == {name: (work / name).read_bytes() for name in outputs}
    with pytest.raises(FileNotFoundError):
        ostrel.extract_bins([str(work / "reads.fa")], [str(work / "absent-bin")])


def test_overlaps_are_the_commands(tmp_path, command):
    reads = DATA / "overlap" / "reads.fa"
    paf = tmp_path / "reads.paf"
    for args, settings in ((["-t", "2"], dict(threads=2)),
                           (["-s", "100", "-k", "12"], dict(min_score=100, word_size=12))):
        subprocess.run([command("overlap", "ostrel-overlap"), "-q", *args, "-o", str(paf), str(reads)],
                       check=True, capture_output=True)
        lines = [line.split("\t") for line in paf.read_text().splitlines()]
        found = list(ostrel.overlaps(reads, **settings))
        assert len(found) == len(lines) > 0
        for record, fields in zip(found, lines):
            assert [str(v) for v in record[:12]] == fields[:12]
            assert (f"AS:i:{record.score}", f"ol:i:{record.overlap_length}") == tuple(fields[12:14])
    with pytest.raises(OSError):
        list(ostrel.overlaps(tmp_path / "absent.fa"))
    for bad in (dict(word_size=32), dict(error_pct=float("nan")), dict(threads=-1)):
        with pytest.raises(ValueError):
            list(ostrel.overlaps(reads, **bad))


def test_readme_example_runs(monkeypatch, capsys):
    root = pathlib.Path(__file__).parents[2]
    text = (root / "README.md").read_text()
    block = text.split("<!-- python-example -->\n```python\n", 1)[1].split("```", 1)[0]
    monkeypatch.chdir(root)
    exec(compile(block, "README.md", "exec"), {})
    printed = capsys.readouterr().out
    assert "Contig53" in printed and "moved: 3" in printed and "read01" in printed
