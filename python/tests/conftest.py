"""The paths the tests share: the bundled data and the built command line,
whose results file every number is checked against (KORVEL_EXE, else the
clone's build/korvel); the tests fail when it is missing."""
import os
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
CATS = ROOT / "examples" / "input.txt"
IRIS = ROOT / "tests" / "data" / "iris.txt"


@pytest.fixture(scope="session")
def korvel_exe():
    exe = os.environ.get("KORVEL_EXE", str(ROOT / "build" / "korvel"))
    assert os.access(exe, os.X_OK), f"the built command line is needed (KORVEL_EXE={exe})"
    return exe
