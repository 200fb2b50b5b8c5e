"""The compiled engine: data, fits and tests giving the results file's JSON
document with its notes (the engine's messages, what did not apply and why)."""
from typing import Any, Dict, List, Optional, Sequence, Tuple, Union

import numpy as np

version: str

class Outcome:
    """A call's results file document and its notes."""

    document: str
    notes: List[str]

class Data:
    """Data ready for an analysis."""

    notes: List[str]

def columns_data(y_name: str, y: np.ndarray, x_name: str, x: np.ndarray,
                 groups: Sequence[Tuple[str, np.ndarray, Sequence[str]]], source: str) -> Data:
    """The data of Y and X (doubles, NaN missing) and grouping columns (int32 codes into levels, -1 missing)."""

def file_data(path: str, y: str, x: str, groups: Sequence[str], filters: Sequence[Sequence[str]],
              format: str) -> Data:
    """A data file's variables by name, with its filters ([variable, value] or [variable, min, max])."""

def analyse(data: Data, options: Dict[str, Any], seed: Optional[int]) -> Outcome:
    """A run from options, the options by keyword."""

class Fit:
    """The lines of the data's groups."""

    def __init__(self, data: Data, options: Dict[str, Any]) -> None: ...
    def outcome(self) -> Outcome:
        """The fit's results."""
    def points(self, group: int) -> Tuple[np.ndarray, np.ndarray]:
        """A group's points as analysed (transformed): X and Y."""

class CommonSlope:
    """A test for a common slope and the stream it left."""

    def outcome(self) -> Outcome:
        """The test's results."""
    def slope_pairs(self, adjust: str) -> Outcome:
        """Every pair of slopes compared, continuing the test's stream."""
    def shift_test(self, test: str, pairs: bool, adjust: str) -> Outcome:
        """The Wald test "elevation" or "shift" of the lines with the common slope."""

def common_slope(fit: Fit, chi_squared: bool, iterations: int, critical_p: float,
                 seed: Optional[int]) -> Union[CommonSlope, str]:
    """The test of the fit's groups, or why there is none."""
