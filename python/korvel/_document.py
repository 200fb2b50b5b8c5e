"""The values of the results file's JSON document, as the package gives them."""
import dataclasses
import textwrap
from typing import Any, Dict, List

import pandas as pd

NOT_FINITE = ("inf", "-inf", "nan")


def number(part: Dict[str, Any], key: str) -> Any:
    """part[key]; a number that is not finite from its note; None when absent
    or undefined."""
    value = part.get(key)
    if value is None and part.get(key + "_note") in NOT_FINITE:
        return float(part[key + "_note"])
    return value


def frame(records: List[Dict[str, Any]]) -> pd.DataFrame:
    """Records as a table, one row each: nested objects flattened
    (slope_test_F), the numbers that are not finite back from their notes,
    whose columns are dropped when they hold nothing else."""
    table = pd.json_normalize(records, sep="_")
    for note in [c for c in table.columns if c.endswith("_note")]:
        column = note[: -len("_note")]
        not_finite = table[note].isin(NOT_FINITE)
        table[column] = table[column].mask(not_finite, pd.to_numeric(table[note], errors="coerce")).astype(float)
        if not_finite[table[note].notna()].all():
            table = table.drop(columns=note)
    return table


def result_of(cls: type, part: Dict[str, Any], **given: Any) -> Any:
    """A result of the class, each field the value of part by its name unless given."""
    return cls(**{f.name: given[f.name] if f.name in given else number(part, f.name)
                  for f in dataclasses.fields(cls)})


class Result:
    """A result with a readable repr: its fields by name, tables below their name."""

    def __repr__(self) -> str:
        shown = []
        for f in dataclasses.fields(self):
            value = getattr(self, f.name)
            if not f.repr:
                continue
            if isinstance(value, pd.DataFrame):
                table = value.to_string() if len(value) else "(none)"
                shown.append(f"{f.name}=\n" + textwrap.indent(table, "    "))
            else:
                shown.append(f"{f.name}={value!r}")
        return f"{type(self).__name__}(" + ",\n  ".join(shown) + ")"
