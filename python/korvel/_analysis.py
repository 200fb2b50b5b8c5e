"""korvel.analyse: one analysis as a run from the command line's options makes it."""
import json
from dataclasses import dataclass, field
from typing import Any, Dict, List, Optional

import pandas as pd

from . import _korvel
from ._data import DataLike, Group, load
from ._document import Result, frame
from ._notes import read


@dataclass(frozen=True, repr=False, eq=False)
class Analysis(Result):
    """What an analysis found, by the results file's names: its settings and
    data, each group's line (a table), the test for a common slope, the pairs
    of slopes (a table), the lines with the common slope, the Wald tests and
    what was asked for and not done. `to_dict()` is the whole document."""

    settings: Dict[str, Any]
    data: Dict[str, Any]
    groups: pd.DataFrame
    common_slope_test: Optional[Dict[str, Any]]
    slope_pairs: Optional[pd.DataFrame]
    lines_with_common_slope: Optional[Dict[str, Any]]
    wald_tests: List[Dict[str, Any]]
    not_done: List[Dict[str, str]]
    _document: str = field(repr=False)

    def to_dict(self) -> Dict[str, Any]:
        """The results file's JSON document that `korvel --json` writes for the same run."""
        return json.loads(self._document)


def _filters(options: Dict[str, Any]) -> List[List[str]]:
    """The filters of the keywords remove ({variable: value or [values]}) and
    range ({variable: (min, max)}), in the order given."""
    filters = []
    for keyword in [k for k in options if k in ("remove", "range")]:
        for variable, value in (options.pop(keyword) or {}).items():
            if keyword == "range":
                filters.append([variable, str(value[0]), str(value[1])])
            else:
                values = value if isinstance(value, (list, tuple)) else [value]
                filters += [[variable, str(v)] for v in values]
    return filters


def analyse(data: DataLike, y: str, x: str, group: Group = None, **options: Any) -> Analysis:
    """The analysis that `korvel -y Y -x X [-g GROUP]... DATAFILE` runs with
    the same options, each a keyword: the long option with "_" for "-"
    (method="ma", chi_squared=True, slope_h0=1, elevation_pairs=True,
    seed=7, save="scores.txt", ...), but confidence a fraction (0.95) and, for
    a data file only, remove={"Sex": "F"}, range={"Bwt": (2, 3)} and
    format="csv". What does not apply is said by a warning, as the command
    line says it on standard error. The outputs have their own calls:
    to_dict() is --json's document; korvel.fit(...).plot() draws the lines.
    """
    filters = _filters(options)
    loaded = load(data, y, x, group, filters, options.pop("format", None))
    seed = options.pop("seed", None)
    outcome = _korvel.analyse(loaded, options, seed)
    found = read(outcome)
    pairs = found["slope_pairs"]
    return Analysis(found["settings"], found["data"], frame(found["groups"]), found["common_slope_test"],
                    None if pairs is None else frame(pairs), found["lines_with_common_slope"], found["wald_tests"],
                    found["not_done"], outcome.document)
