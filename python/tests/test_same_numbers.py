"""Every analysis run from Python gives the numbers of the command line's
--json for the same run, at full precision: korvel.analyse's document, from a
data file and from a data frame, and the fit and test objects."""
import json
import subprocess
import warnings

import numpy as np
import pandas as pd
import pytest

import korvel
from conftest import CATS, IRIS

pytestmark = pytest.mark.filterwarnings("ignore::korvel.KorvelWarning")

CAT = (CATS, "Hwt", "Bwt", ["Sex"])
ANALYSES = [
    (*CAT, dict(transform="log10", chi_squared=True, elevation_pairs=True)),
    (*CAT, dict(iterations=200, elevation=True, shift_pairs=True)),
    (*CAT, dict(method="ols", seed=7, iterations=300, critical_p=0.9, slope_pairs=True)),
    (*CAT, dict(method="ma", transform="ln", slope_h0=1, intercept_h0=0, chi_squared=True)),
    (*CAT, dict(through_origin=True, chi_squared=True, shift_pairs=True, adjust="holm")),
    (*CAT, dict(error_x=0.01, error_y=0.1, confidence=0.9, chi_squared=True, elevation=True, slope_pairs=True)),
    (IRIS, "Petal.Width", "Petal.Length", ["Species"], dict(seed=11, iterations=200, critical_p=0.2, slope_pairs=True, adjust="sidak")),
    (IRIS, "Sepal.Width", "Sepal.Length", ["Species"],
     dict(method="ma", chi_squared=True, critical_p=1e-7, elevation_pairs=True, shift_pairs=True, adjust="bonferroni")),
    (IRIS, "Petal.Width", "Petal.Length", None, dict(transform="log10", slope_h0=0.5, elevation=True)),
    (*CAT, dict(remove={"Sex": "F"}, slope_pairs=True)),
    (IRIS, "Petal.Width", "Petal.Length", ["Species"], dict(method="ols", robust=True, error_x=0.001, error_y=0.0005,
                                                          iterations=19, seed=5, critical_p=0.1, slope_pairs=True)),
    (*CAT, dict(range={"Bwt": (2.2, 3.5)}, remove={"Bwt": "above"}, min_group_size=50, chi_squared=True)),
]
FILTERED = ("remove", "range")
UNFILTERED = [a for a in ANALYSES if not any(k in a[4] for k in FILTERED)]


def command_line_json(exe, tmp_path, path, y, x, group, options):
    """The results file of the command line's run of the analysis."""
    args = [exe, "-y", y, "-x", x] + [a for g in group or [] for a in ("-g", g)]
    for key, value in options.items():
        option = "--" + key.replace("_", "-")
        if key in FILTERED:
            args += [a for variable, v in value.items()
                     for a in (option, f"{variable}={':'.join(map(str, v)) if key == 'range' else v}")]
        elif key == "confidence":
            args += [option, str(round(value * 100))]
        else:
            args += [option] if value is True else [option, str(value)]
    args += ["-o", str(tmp_path / "report.txt"), "--json", "-", str(path)]
    return json.loads(subprocess.run(args, capture_output=True, check=True, text=True).stdout)


def assert_rows(table, records):
    """The table holds the records' fields (nested ones flattened), value for value."""
    assert len(table) == len(records)
    for (_, row), record in zip(table.iterrows(), pd.json_normalize(records, sep="_").to_dict("records")):
        for key, value in record.items():
            if not key.endswith("_note"):
                assert row[key] == value or (pd.isna(value) and pd.isna(row[key])), key


@pytest.mark.parametrize("path, y, x, group, options", ANALYSES)
def test_analyse_gives_the_command_lines_document(korvel_exe, tmp_path, path, y, x, group, options):
    expected = command_line_json(korvel_exe, tmp_path, path, y, x, group, options)
    with warnings.catch_warnings(record=True) as said:
        warnings.simplefilter("always")
        found = korvel.analyse(str(path), y, x, group, **options).to_dict()
    assert found == expected
    assert len(said) == len(expected["not_done"])


@pytest.mark.parametrize("path, y, x, group, options", UNFILTERED)
def test_a_data_frame_gives_the_same_numbers(korvel_exe, tmp_path, path, y, x, group, options):
    expected = command_line_json(korvel_exe, tmp_path, path, y, x, group, options)
    frame = pd.read_csv(path, sep="\t", float_precision="round_trip")
    found = korvel.analyse(frame, y, x, group, **options).to_dict()
    assert found["data"].pop("file") == "data"
    expected["data"].pop("file")
    assert found == expected


def test_missing_values_and_two_grouping_columns(korvel_exe, tmp_path):
    cats = pd.read_csv(CATS, sep="\t", float_precision="round_trip")
    cats.loc[::9, "Hwt"] = np.nan
    cats["Size"] = pd.Categorical(np.where(cats.Bwt > 2.5, "big", "small"))
    cats.to_csv(tmp_path / "cats.txt", sep="\t", index=False)
    options = dict(chi_squared=True, slope_pairs=True, adjust="holm")
    expected = command_line_json(korvel_exe, tmp_path, tmp_path / "cats.txt", "Hwt", "Bwt", ["Sex", "Size"], options)
    found = korvel.analyse(cats, "Hwt", "Bwt", ["Sex", "Size"], **options).to_dict()
    found["data"]["file"] = expected["data"]["file"]
    assert found == expected and expected["data"]["lines_left_out"]["total"] == 16


def fit_keywords(options):
    keywords = {k: options[k] for k in ("method", "transform", "robust", "confidence", "slope_h0", "intercept_h0")
                if k in options}
    if "error_x" in options:
        keywords["error"] = (options["error_x"], options["error_y"])
    return dict(keywords, origin=options.get("through_origin", False))


@pytest.mark.parametrize("path, y, x, group, options", UNFILTERED)
def test_the_fit_and_test_objects_hold_the_same_numbers(korvel_exe, tmp_path, path, y, x, group, options):
    expected = command_line_json(korvel_exe, tmp_path, path, y, x, group, options)
    with warnings.catch_warnings(record=True) as said:
        warnings.simplefilter("always")
        fit = korvel.fit(str(path), y, x, group, **fit_keywords(options))
        assert_rows(fit.groups, expected["groups"])
        test = fit.common_slope_test(options.get("chi_squared", False), options.get("iterations", 1000),
                                     options.get("seed"), options.get("critical_p", 0.05))
        if expected["common_slope_test"] is None:
            assert test is None
        else:
            for key, value in expected["common_slope_test"].items():
                assert getattr(test, key) == value, key
        adjust = options.get("adjust", "none")
        if options.get("slope_pairs"):
            for _ in range(2):  # the test's stream, the same on every call
                pairs = test and test.slope_pairs(adjust)
                assert (pairs is None) == (expected["slope_pairs"] is None)
                if pairs is not None:
                    assert_rows(pairs, expected["slope_pairs"])
        wald_tests = iter(expected["wald_tests"])
        for name in ("elevation", "shift"):
            if options.get(name) or options.get(name + "_pairs"):
                wald = test and getattr(test, name + "_test")(options.get(name + "_pairs", False), adjust)
                check_wald_test(wald, next(wald_tests, None), expected["lines_with_common_slope"])
    reasons = [n["reason"] for n in expected["not_done"]]
    assert all(any(r in str(w.message) for w in said) for r in reasons)


def check_wald_test(wald, expected, lines):
    assert (wald is None) == (expected is None)
    if wald is not None:
        for key in ("test", "df", "statistic", "p", "common_value"):
            assert getattr(wald, key) == expected[key], key
        assert (wald.pairs is None) == (expected["pairs"] is None)
        if wald.pairs is not None:
            assert_rows(wald.pairs, expected["pairs"])
        assert_rows(wald.lines, lines["groups"])
