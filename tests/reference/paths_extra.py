#!/usr/bin/python3
"""Reference values for tests/e2e_paths_test.cpp that reference.py does not
print: the cats data (Hwt ~ Bwt by Sex) with the natural-logarithm
transformation, and with measurement error (method of moments).

Written from the formulas only; the estimators of reference.py are reused
where they apply unchanged (fit_group, fit_common, common_stat, common_ci,
prepare_common, wald).  Measurement error needs its own fit and Wald test:
SXX and SYY are reduced by the typed error variances before everything else,
SXY is not, and the Wald test subtracts them from the axis-score variances.

Cross-checks (raise on mismatch):
  * ln: slopes, R2 and correlation p-values equal those of log10 (a change of
    logarithm base scales X and Y alike); intercepts and means scale by ln 10;
  * measurement error with both variances 0 reproduces fit_group and wald.

Run:  /usr/bin/python3 paths_extra.py
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import reference as ref  # noqa: E402
from scipy import stats  # noqa: E402

CATS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples", "input.txt")


def fit_group_me(X, Y, method, has_int, conf, ex, ey):
    n = len(X)
    g = {"X": X, "Y": Y, "n": n, "Xmean": sum(X) / n, "Ymean": sum(Y) / n}
    sxx = ref.variance(X, X, has_int) - ex
    syy = ref.variance(Y, Y, has_int) - ey
    sxy = ref.variance(X, Y, has_int)
    g["SXX"], g["SYY"], g["SXY"] = sxx, syy, sxy
    g["R2"] = sxy * sxy / (syy * sxx)
    b = ref.B_est(method, syy, sxx, sxy)
    g["slope"] = b
    g["interc"] = g["Ymean"] - b * g["Xmean"] if has_int else 0.0
    a = (syy, sxx, sxy, b, n, has_int)
    g["varFitted"] = ref.var_fitted(method, *a)
    g["varResid"] = ref.var_resid(method, *a)
    g["varSlope"] = ref.var_slope(method, syy, sxx, sxy, g["varFitted"], g["varResid"], b, n)
    b0 = sxy / sxx  # correlation test by OLS on the corrected SXX
    a0 = g["Ymean"] - b0 * g["Xmean"]
    sst = sum((y - g["Ymean"]) ** 2 for y in Y)
    ssr = sum((b0 * x + a0 - g["Ymean"]) ** 2 for x in X)
    F = ssr / ((sst - ssr) / (n - 2))
    g["p"] = stats.f.sf(F, 1, n - 2) if F >= 0 else float("nan")
    alpha = 1 - conf / 100.0
    df = n - 2 if has_int else n - 1
    if method == 0:
        h = math.sqrt(g["varSlope"]) * stats.t.ppf(1 - alpha / 2, df)
        g["slopeLowCI"], g["slopeUppCI"] = b - h, b + h
    elif method == 1:
        B = (1 - g["R2"]) / df * stats.f.ppf(1 - alpha, 1, df)
        l1, l2 = b * (math.sqrt(B + 1) - math.sqrt(B)), b * (math.sqrt(B + 1) + math.sqrt(B))
        g["slopeLowCI"], g["slopeUppCI"] = min(l1, l2), max(l1, l2)
    else:
        Q = (sxx * syy - sxy * sxy) / df * stats.f.ppf(1 - alpha, 1, df)
        D = (syy - sxx) + math.sqrt((syy - sxx) ** 2 + 4 * sxy * sxy - 4 * Q)
        g["slopeLowCI"], g["slopeUppCI"] = D / (2 * (sxy + math.sqrt(Q))), D / (2 * (sxy - math.sqrt(Q)))
    vi = g["Xmean"] ** 2 * g["varSlope"] + g["varResid"] / n if has_int else 0.0
    h = math.sqrt(vi) * stats.t.ppf(1 - alpha / 2, n - 2) if has_int else 0.0
    g["intercLowCI"], g["intercUppCI"] = g["interc"] - h, g["interc"] + h
    g["varInterc"] = vi
    return g


def wald_me(cg, method, test, B, ex, ey):
    """Two groups: W = (m0 - m1)^2 / (V00 + V11 - 2 V01)."""
    m, v, h, w = [], [], [], 0.0
    for g in cg:
        n = g["n"]
        w += 1.0 / g["varSlope"]
        if test == 3:
            m.append(g["Ymean"] - B * g["Xmean"])
            s = ref.variance(g["residAxis"], g["residAxis"], True) - ey - B * B * ex
            h.append(g["Xmean"])
        else:  # MA only here
            m.append(B * g["Ymean"] + g["Xmean"])
            s = ref.variance(g["fittedAxis"], g["fittedAxis"], True) - (ex + B * B * ey)
            h.append(g["Ymean"])
        v.append(s * (n - 1) / (n - 2) / n)
    varB = 1.0 / w
    W = (m[0] - m[1]) ** 2 / (v[0] + v[1] + varB * (h[0] - h[1]) ** 2)
    return W, stats.chi2.sf(W, 1)


def show(label, glist, method, has_int, H0=None):
    print(label)
    for g in glist:
        print("  [%s] R2 %.10g p %.10g slope %.10g (%.10g, %.10g) interc %.10g (%.10g, %.10g) Ymean %.10g Xmean %.10g"
              % (g["name"], g["R2"], g["p"], g["slope"], g["slopeLowCI"], g["slopeUppCI"], g["interc"],
                 g["intercLowCI"], g["intercUppCI"], g["Ymean"], g["Xmean"]))
        if H0:
            n = g["n"]
            a = (g["SYY"], g["SXX"], g["SXY"], H0, n, has_int)
            rF, vF, vR = ref.covar_rf(method, *a), ref.var_fitted(method, *a), ref.var_resid(method, *a)
            r2 = rF * rF / (vF * vR)
            F = (n - 2) * r2 / (1 - r2)
            T = (g["interc"] - H0) / math.sqrt(g["varInterc"])
            print("  [%s] H0_b F %.10g p %.10g  H0_a T %.10g p %.10g" % (
                g["name"], F, stats.f.sf(F, 1, n - 2), T, 2 * stats.t.cdf(-abs(T), n - 2)))
    b, conv, _ = ref.fit_common(glist, method)
    T = ref.common_stat(glist, method, has_int, b)
    low, upp, _ = ref.common_ci(glist, method, has_int, 95.0, b)
    print("  common %.10g (converged %s) CI (%.10g, %.10g) T %.10g chi2 p %.10g" % (
        b, conv, low, upp, T, stats.chi2.sf(T, len(glist) - 1)))
    if H0:
        T0 = ref.common_stat(glist, method, has_int, b, H0)
        print("  common vs H0_b: T0 %.10g p0 %.10g" % (T0, stats.chi2.sf(T0, 1)))
    return b


def main():
    names, raw, _ = ref.load_groups(CATS, 0, 2, 1, "none")
    # ln, SMA, intercept, H0 slope and intercept 1
    ln = [dict(ref.fit_group([math.log(x) for x in raw[nm][0]], [math.log(y) for y in raw[nm][1]], 1, True, 95.0),
               name=nm) for nm in names]
    l10 = [ref.fit_group([math.log10(x) for x in raw[nm][0]], [math.log10(y) for y in raw[nm][1]], 1, True, 95.0)
           for nm in names]
    for a, b in zip(ln, l10):
        for key in ("slope", "slopeLowCI", "slopeUppCI", "R2", "p"):
            ref.check("ln vs log10 " + key, a[key], b[key], rtol=1e-8)
        for key in ("interc", "intercLowCI", "intercUppCI", "Xmean", "Ymean"):
            ref.check("ln vs log10 " + key, a[key], b[key] * math.log(10), rtol=1e-8)
    show("cats ln | SMA | intercept | H0 1, 1", ln, 1, True, H0=1.0)

    # measurement error: MA, intercept, no transformation, Bwt 0.01, Hwt 0.1
    ex, ey, method = 0.01, 0.1, 2
    plain = [dict(fit_group_me(raw[nm][0], raw[nm][1], method, True, 95.0, 0.0, 0.0), name=nm) for nm in names]
    for nm, g in zip(names, plain):
        other = ref.fit_group(raw[nm][0], raw[nm][1], method, True, 95.0)
        for key in ("slope", "slopeLowCI", "slopeUppCI", "p", "intercLowCI", "intercUppCI"):
            ref.check("no error " + key, g[key], other[key])
    b0 = ref.fit_common(plain, method)[0]
    cg0 = ref.prepare_common(plain, method, True, b0)
    for test in (3, 2):
        ref.check("two-group Wald without error", wald_me(cg0, method, test, b0, 0.0, 0.0)[0],
                  ref.wald(cg0, method, test, b0)["W"], rtol=1e-8)
    me = [dict(fit_group_me(raw[nm][0], raw[nm][1], method, True, 95.0, ex, ey), name=nm) for nm in names]
    b = show("cats measurement error Bwt 0.01 Hwt 0.1 | MA | intercept | H0 1, 1", me, method, True, H0=1.0)
    cg = ref.prepare_common(me, method, True, b)
    for test in (3, 2):
        W, p = wald_me(cg, method, test, b, ex, ey)
        print("  Wald test %d: W %.10g p %.10g" % (test, W, p))
    print("All %d cross-checks passed." % ref.N_CHECKS[0])


if __name__ == "__main__":
    main()
