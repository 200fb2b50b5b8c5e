"""Fit.plot: the groups' points and lines with matplotlib."""
from typing import Any

import matplotlib.pyplot as plt
import numpy as np
from matplotlib.ticker import LogFormatter

# Back from the transformed scale to the original units.
ORIGINAL_UNITS = {"log10": lambda v: 10.0 ** v, "ln": np.exp, "none": lambda v: v}


def plot_fit(fit: Any, ax: Any = None) -> Any:
    """Each group's points and its line over the group's X range, in the
    group's colour; log axes in the original units for log-transformed data."""
    ax = ax if ax is not None else plt.gca()
    transformation = fit.settings["transformation"]
    original = ORIGINAL_UNITS[transformation]
    for i, line in enumerate(fit.groups.itertuples()):
        x, y = fit._engine.points(i)
        ends = np.array([x.min(), x.max()])
        ax.scatter(original(x), original(y), s=12, color=f"C{i % 10}", label=line.group)
        ax.plot(original(ends), original(line.intercept + line.slope * ends), color=f"C{i % 10}")
    if transformation != "none":
        ax.set_xscale("log")
        ax.set_yscale("log")
        for axis in (ax.xaxis, ax.yaxis):  # ticks as plain numbers in the original units
            axis.set_major_formatter(LogFormatter(labelOnlyBase=False))
            axis.set_minor_formatter(LogFormatter(labelOnlyBase=False, minor_thresholds=(2, 0.5)))
    ax.set_xlabel(fit.data["x"])
    ax.set_ylabel(fit.data["y"])
    if fit.data["grouping"] is not None:
        ax.legend(title=fit.data["grouping"])
    return ax
