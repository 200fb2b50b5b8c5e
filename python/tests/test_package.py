"""What the package does besides the numbers: its refusals, Ctrl-C during a
long call, the plot, and the warning of a test that does not apply."""
import os
import signal
import threading
import time

import matplotlib
import numpy as np
import pandas as pd
import pytest

import korvel
from conftest import CATS

matplotlib.use("Agg")
cats = pd.read_csv(CATS, sep="\t")


def fit(**keywords):
    return korvel.fit(cats, "Hwt", "Bwt", "Sex", **keywords)


@pytest.mark.parametrize("call, error, words", [
    (lambda: fit(method="rma"), ValueError, "method rma: not one of ols, sma, ma"),
    (lambda: fit(confidence=0.955), ValueError, "confidence 0.955: not a fraction in whole percents from 0.01 to 0.99"),
    (lambda: fit(confidence=1), ValueError, "confidence 1"),
    (lambda: fit(min_group_size=51), ValueError, "minimum group size 51"),
    (lambda: fit(error=(-1, 1)), ValueError, "error_x -1: not a number from 0 up"),
    (lambda: fit(origin=True, intercept_h0=1), ValueError, "intercept-h0"),
    (lambda: fit(origin=True).common_slope_test().elevation_test(), ValueError, "elevation"),
    (lambda: fit().common_slope_test(seed=0), ValueError, "seed 0"),
    (lambda: fit().common_slope_test(iterations=0), ValueError, "iterations 0"),
    (lambda: korvel.fit(cats, "Hwt", "Weight"), ValueError, "Weight: no such column"),
    (lambda: korvel.fit({"y": ["a", "b"], "x": [1, 2]}, "y", "x"), ValueError, "y: not a column of numbers"),
    (lambda: korvel.fit(CATS, "Hwt", "Weight"), ValueError, "-x Weight: no such variable"),
    (lambda: korvel.fit("no-such-file.txt", "Hwt", "Bwt"), OSError, "no-such-file.txt"),
    (lambda: korvel.analyse(cats, "Hwt", "Bwt", remove={"Sex": "F"}), ValueError, "apply to a data file"),
    (lambda: korvel.analyse(CATS, "Hwt", "Bwt", range={"Bwt": (3, 2)}), ValueError, "minimum below the maximum"),
    (lambda: korvel.analyse(cats, "Hwt", "Bwt", colour="red"), TypeError, "unknown option colour"),
    (lambda: korvel.analyse(cats, "Hwt", "Bwt", iterations=1.5), TypeError, "iterations"),
])
def test_refusals_name_the_value(call, error, words):
    with pytest.raises(error, match=words):
        call()


@pytest.mark.parametrize("call, said", [
    (lambda: fit().common_slope_test(chi_squared=True).slope_pairs(), "slope_pairs: the slopes do not differ"),
    (lambda: fit().common_slope_test(chi_squared=True, critical_p=0.9).shift_test(), "shift_pairs: the slopes differ"),
    (lambda: korvel.fit(cats, "Hwt", "Bwt").common_slope_test(), "common_slope_test: a single group"),
])
def test_a_test_that_does_not_apply_warns_why_at_the_caller(call, said):
    with pytest.warns(korvel.KorvelWarning, match=said) as warned:
        assert call() is None
    assert warned[0].filename == __file__


def test_the_pairs_of_a_test_that_found_no_shift_are_not_compared():
    test = fit().common_slope_test(chi_squared=True, critical_p=1e-9)
    with pytest.warns(korvel.KorvelWarning, match="elevation_pairs: no shift in elevation"):
        assert test.elevation_test().pairs is None


def test_ctrl_c_stops_a_resampling_with_keyboard_interrupt():
    test_fit = fit()
    threading.Timer(0.3, os.kill, (os.getpid(), signal.SIGINT)).start()
    started = time.monotonic()
    with pytest.raises(KeyboardInterrupt):
        test_fit.common_slope_test(iterations=10**7)  # some 20 s uninterrupted
    assert time.monotonic() - started < 5


def test_the_plot_draws_the_power_laws_in_grams_and_kilograms():
    found = fit(transform="log10")
    ax = found.plot()
    assert ax.get_xscale() == ax.get_yscale() == "log"
    for (_, line), drawn, points in zip(found.groups.iterrows(), ax.get_lines(), ax.collections):
        weights = cats[cats.Sex == line.group].Bwt
        np.testing.assert_allclose(drawn.get_xdata(), [weights.min(), weights.max()])
        np.testing.assert_allclose(drawn.get_ydata(), 10 ** line.intercept * drawn.get_xdata() ** line.slope)
        np.testing.assert_allclose(np.sort(points.get_offsets()[:, 0]), np.sort(weights))
