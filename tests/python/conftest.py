import os
import pathlib

import pytest

DATA = pathlib.Path(os.environ.get("OSTREL_TEST_DATA", pathlib.Path(__file__).parents[1] / "data"))
BUILD = pathlib.Path(os.environ.get("OSTREL_BUILD", pathlib.Path(__file__).parents[2] / "build"))
ACE_FILES = sorted(p.name for p in (DATA / "ace").iterdir() if ".ace" in p.name)


@pytest.fixture
def command():
    """The path of a built command, by its folder and name."""
    def find(folder, name):
        path = BUILD / folder / name
        if not path.exists():
            pytest.skip(f"{path} is not built")
        return str(path)
    return find
