"""The Python package's speed: korvel.fit and a chi-squared common-slope test
on 10^6 rows in 2 groups, against statsmodels' OLS fit of y ~ x * g on the
same data frame (the per-group lines and the test of their slopes' difference).
Prints key=value lines (times in seconds, medians of the repetitions) that
bench/run reads:

    PYTHONPATH=DIR python3 bench/python_speed.py [ROWS] [REPS]

with DIR holding the installed package (bench/run installs it into
build-bench/python). Processor time counts every thread; wall time is printed
too."""
import statistics
import sys
import time

import numpy as np
import pandas as pd
import statsmodels.formula.api as smf

import korvel


def two_groups(rows):
    """Y on X in groups a and b, slopes 0.8 and 0.9, the same seed every run."""
    rng = np.random.default_rng(1)
    g = np.where(rng.random(rows) < 0.5, "a", "b")
    x = rng.normal(10, 2, rows)
    y = 1 + np.where(g == "a", 0.8, 0.9) * x + rng.normal(0, 1, rows)
    return pd.DataFrame({"y": y, "x": x, "g": g})


def korvel_run(df):
    return korvel.fit(df, "y", "x", "g").common_slope_test(chi_squared=True)


def statsmodels_run(df):
    return smf.ols("y ~ x * g", df).fit()


def timed(run, df, reps):
    """Medians of processor and wall time."""
    cpu, wall = [], []
    for _ in range(reps):
        c, w = time.process_time(), time.perf_counter()
        run(df)
        cpu.append(time.process_time() - c)
        wall.append(time.perf_counter() - w)
    return statistics.median(cpu), statistics.median(wall)


def main():
    rows = int(sys.argv[1]) if len(sys.argv) > 1 else 10**6
    reps = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    df = two_groups(rows)
    korvel_run(df)  # the first call imports and warms up
    statsmodels_run(df)
    k_cpu, k_wall = timed(korvel_run, df, reps)
    s_cpu, s_wall = timed(statsmodels_run, df, reps)
    print(f"rows={rows}\nkorvel_cpu={k_cpu:.4f}\nkorvel_wall={k_wall:.4f}")
    print(f"statsmodels_cpu={s_cpu:.4f}\nstatsmodels_wall={s_wall:.4f}")
    print(f"ratio={k_cpu / s_cpu:.4f}\nratio_wall={k_wall / s_wall:.4f}")


if __name__ == "__main__":
    main()
