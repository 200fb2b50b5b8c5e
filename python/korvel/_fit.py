"""The lines of the data's groups: korvel.fit and what it returns."""
from dataclasses import dataclass, field
from typing import Any, Dict, Optional, Tuple

import pandas as pd

from . import _korvel
from ._common_slope import CommonSlopeTest, test_common_slope
from ._data import DataLike, Group, load
from ._document import Result, frame
from ._notes import read

# The settings of the results file that a fit is made with.
FIT_SETTINGS = ("method", "transformation", "intercept", "robust", "confidence_percent", "min_group_size",
                "hypothesised_slope", "hypothesised_intercept", "measurement_error")


@dataclass(frozen=True, repr=False, eq=False)
class Fit(Result):
    """Each group's line with its confidence limits and tests.

    settings: the fit's settings, as the results file names them.
    data: the variables, the lines read and left out (and why) and the
        groups and points analysed.
    groups: one row per group analysed, by name, with the results file's
        group fields as columns (group, n, r2, p, slope, slope_low,
        slope_high, intercept, intercept_low, intercept_high, y_mean,
        x_mean; slope_test_F, slope_test_p ... when a slope or intercept is
        hypothesised); numbers that are not defined are NaN.
    removed: the groups removed, with their reason and size.
    """

    settings: Dict[str, Any]
    data: Dict[str, Any]
    groups: pd.DataFrame
    removed: pd.DataFrame
    _engine: _korvel.Fit = field(repr=False)

    def common_slope_test(self, chi_squared: bool = False, iterations: int = 1000, seed: Optional[int] = None,
                          critical_p: float = 0.05) -> Optional[CommonSlopeTest]:
        """The test of the groups for a common slope: the likelihood-ratio
        statistic with a chi-squared p-value, or one from `iterations`
        resamples drawn from the stream of `seed` (None: the default stream,
        the same on every call); the groups share the slope when p is above
        `critical_p`. None, with a warning saying why, with fewer than two
        groups."""
        return test_common_slope(self._engine, chi_squared, iterations, seed, critical_p)

    def plot(self, ax: Any = None) -> Any:
        """Draws the groups' points and lines on the matplotlib axes (the
        current ones when None), on log axes in the original units when the
        data were log-transformed; returns the axes."""
        from ._plot import plot_fit

        return plot_fit(self, ax)


def fit(data: DataLike, y: str, x: str, group: Group = None, *, method: str = "sma", transform: str = "none",
        origin: bool = False, robust: bool = False, error: Optional[Tuple[float, float]] = None,
        confidence: float = 0.95, min_group_size: int = 6, slope_h0: Optional[float] = None,
        intercept_h0: Optional[float] = None) -> Fit:
    """Fits the line of Y on X of each group.

    data: a pandas DataFrame, any mapping of column names to arrays, or the
        path of a data file (tab-separated, or comma-separated when its name
        ends in .csv). Rows whose Y or X is missing (NaN) are left out and
        counted.
    group: the grouping column's name, a list of names (their values joined
        by a blank), or None for one group.
    method: "sma", "ma" or "ols". transform: "none", "log10" or "ln", of Y
        and X. origin: lines through the origin. robust: each group's location
        and scatter by Huber M-estimation, so that a few wild points move no
        line (fit.groups then counts each group's downweighted_points).
    error: the measurement-error variances (of X, of Y), when included.
    confidence: of the limits, a fraction in whole percents.
    min_group_size: smaller groups are removed.
    slope_h0, intercept_h0: hypothesised slope and intercept, each tested.

    ValueError for a value out of its range or a column that is not there;
    OSError when the data file cannot be read.
    """
    error_x, error_y = error if error is not None else (None, None)
    options = {"method": method, "transform": transform, "through_origin": origin, "robust": robust, "error_x": error_x,
               "error_y": error_y, "confidence": confidence, "min_group_size": min_group_size,
               "slope_h0": slope_h0, "intercept_h0": intercept_h0}
    engine = _korvel.Fit(load(data, y, x, group), options)
    found = read(engine.outcome())
    data_found = {k: v for k, v in found["data"].items() if k != "groups_removed"}
    return Fit({k: found["settings"][k] for k in FIT_SETTINGS}, data_found, frame(found["groups"]),
               frame(found["data"]["groups_removed"]), engine)
