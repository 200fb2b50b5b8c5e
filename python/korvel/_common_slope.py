"""The test of a fit's groups for a common slope, and what follows it: the
pairs of slopes when the slopes differ, the Wald tests of the lines with the
common slope when they share it."""
from dataclasses import dataclass, field
from typing import Any, Dict, Optional

import pandas as pd

from . import _korvel
from ._document import Result, frame, result_of
from ._notes import read, warn


@dataclass(frozen=True, repr=False, eq=False)
class WaldTest(Result):
    """The Wald test of the lines with the common slope for a shift in
    elevation (their residual-axis means) or along the common slope (their
    fitted-axis means), as the results file names it.

    common_value: the means' common value, only when p is above the critical p.
    pairs: every pair of groups compared (difference, standard_error, df,
        statistic, p, adjusted_p when adjusted), when asked for and p is below
        the critical p; else None.
    lines: the lines with the common slope that the test compares, one row each.
    """

    test: str
    df: int
    statistic: float
    p: float
    common_value: Optional[float]
    pairs: Optional[pd.DataFrame]
    lines: pd.DataFrame


@dataclass(frozen=True, repr=False, eq=False)
class CommonSlopeTest(Result):
    """The test of the groups for a common slope, as the results file names
    it: the likelihood-ratio statistic and its p-value, the common slope (its
    limits only when the groups share it) and whether the iteration that
    found it settled. It keeps its settings and the resampling's stream as
    the test left it, so that its pairs of slopes continue that stream, as
    the command line's do.
    """

    groups: int
    points: int
    p_value_from: str
    iterations: int
    critical_p: float
    seed: Optional[int]
    statistic: float
    p: float
    slope: float
    slope_low: Optional[float]
    slope_high: Optional[float]
    common: bool
    settled: bool
    hypothesised_slope_test: Optional[Dict[str, Any]]
    _engine: _korvel.CommonSlope = field(repr=False)

    def slope_pairs(self, adjust: str = "none") -> Optional[pd.DataFrame]:
        """Every pair of groups tested for a common slope as this test was
        (group_a, group_b, common_slope, statistic, p, and adjusted_p when
        `adjust` is "holm", "bonferroni" or "sidak"). None, with a warning
        saying why, when the slopes do not differ."""
        pairs = read(self._engine.slope_pairs(adjust))["slope_pairs"]
        return None if pairs is None else frame(pairs)

    def elevation_test(self, pairs: bool = True, adjust: str = "none") -> Optional[WaldTest]:
        """The Wald test for a shift in elevation among the lines with the
        common slope, with its pairs (adjusted as `adjust` says) when asked
        for and the shift is significant. None, with a warning saying why,
        when the slopes differ."""
        return self._wald_test("elevation", pairs, adjust)

    def shift_test(self, pairs: bool = True, adjust: str = "none") -> Optional[WaldTest]:
        """The Wald test for a shift along the common slope, as elevation_test."""
        return self._wald_test("shift", pairs, adjust)

    def _wald_test(self, test: str, pairs: bool, adjust: str) -> Optional[WaldTest]:
        found = read(self._engine.shift_test(test, pairs, adjust))
        if not found["wald_tests"]:
            return None
        wald = found["wald_tests"][0]
        return result_of(WaldTest, wald, pairs=None if wald["pairs"] is None else frame(wald["pairs"]),
                         lines=frame(found["lines_with_common_slope"]["groups"]))


def test_common_slope(fit: _korvel.Fit, chi_squared: bool, iterations: int, seed: Optional[int],
                      critical_p: float) -> Optional[CommonSlopeTest]:
    """The test of the fit's groups, or None with a warning saying why."""
    engine = _korvel.common_slope(fit, chi_squared, iterations, critical_p, seed)
    if isinstance(engine, str):
        warn([engine])
        return None
    found = read(engine.outcome())
    settings = found["settings"]
    return result_of(CommonSlopeTest, found["common_slope_test"], iterations=settings["iterations"],
                     critical_p=settings["critical_p"], seed=settings["seed"], _engine=engine)
