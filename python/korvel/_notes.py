"""The engine's outcomes: their documents, their notes as warnings."""
import json
import sys
import warnings
from typing import Any, Dict, Iterable


class KorvelWarning(UserWarning):
    """What the engine said while it ran (a common slope that did not settle),
    or what was asked for and did not apply, with why."""


def warn(notes: Iterable[str]) -> None:
    """Each note as a KorvelWarning, shown at the first caller outside the package."""
    level, caller = 3, sys._getframe(1)
    while caller.f_back is not None and caller.f_back.f_globals.get("__package__") == __package__:
        level, caller = level + 1, caller.f_back
    for note in notes:
        warnings.warn(note, KorvelWarning, stacklevel=level)


def read(outcome: Any) -> Dict[str, Any]:
    """The document of an engine call's outcome, its notes warned."""
    warn(outcome.notes)
    return json.loads(outcome.document)
