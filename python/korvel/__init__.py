"""KORVEL from Python: OLS, SMA and MA lines fitted to grouped bivariate data,
the test for a common slope with its pairs of slopes, and the Wald tests of
the lines with the common slope for a shift in elevation or along the slope.

    import pandas as pd
    import korvel

    cats = pd.read_csv("examples/input.txt", sep="\\t")
    fit = korvel.fit(cats, y="Hwt", x="Bwt", group="Sex", transform="log10")
    test = fit.common_slope_test(chi_squared=True)
    test.elevation_test().pairs

``korvel.analyse`` runs one analysis as the command line's options ask for it;
its ``to_dict()`` is the document ``korvel --json`` writes.
"""
from ._analysis import Analysis, analyse
from ._common_slope import CommonSlopeTest, WaldTest
from ._fit import Fit, fit
from ._korvel import version as __version__
from ._notes import KorvelWarning

__all__ = ["Analysis", "CommonSlopeTest", "Fit", "KorvelWarning", "WaldTest", "analyse", "fit", "__version__"]
