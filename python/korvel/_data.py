"""The data of a call: a data frame, any mapping of column names to arrays,
or the path of a data file whose variables are chosen by name."""
import os
from typing import Any, List, Mapping, Optional, Sequence, Union

import numpy as np
import pandas as pd

from . import _korvel
from ._notes import warn

DataLike = Union[pd.DataFrame, Mapping[str, Any], str, "os.PathLike[str]"]
Group = Union[None, str, Sequence[str]]


def group_names(group: Group) -> List[str]:
    """The grouping columns: none, one name, or several."""
    if group is None:
        return []
    return [group] if isinstance(group, str) else list(group)


def load(data: DataLike, y: str, x: str, group: Group = None, filters: Sequence[Sequence[str]] = (),
         format: Optional[str] = None) -> _korvel.Data:
    """The engine's data of Y, X and the grouping columns. Filters and the
    format apply to a data file, as the command line's --remove, --range and
    --format do."""
    if isinstance(data, (str, os.PathLike)):
        loaded = _korvel.file_data(os.fspath(data), y, x, group_names(group), [list(f) for f in filters],
                                   format or "")
    elif filters or format:
        raise ValueError("remove, range and format apply to a data file; select a data frame's rows before the call")
    else:
        groups = [_labels(data, name) for name in group_names(group)]
        loaded = _korvel.columns_data(y, _numbers(data, y), x, _numbers(data, x), groups, "data")
    warn(loaded.notes)
    return loaded


def _column(data: Mapping[str, Any], name: str) -> Any:
    try:
        return data[name]
    except KeyError:
        raise ValueError(f"{name}: no such column (the columns: {', '.join(map(str, data.keys()))})") from None


def _numbers(data: Mapping[str, Any], name: str) -> np.ndarray:
    """The column as doubles, missing values NaN."""
    try:
        return pd.Series(_column(data, name)).to_numpy(dtype=np.float64, na_value=np.nan)
    except (TypeError, ValueError) as e:
        raise ValueError(f"{name}: not a column of numbers ({e})") from None


def _labels(data: Mapping[str, Any], name: str) -> tuple:
    """The column as codes into its levels (missing: -1), as a categorical holds it."""
    labels = pd.Categorical(_column(data, name))
    return name, labels.codes.astype(np.int32), [str(level) for level in labels.categories]
