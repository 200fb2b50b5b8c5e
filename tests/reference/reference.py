#!/usr/bin/python3
"""Independent reference calculation for KORVEL's line fitting and line comparisons.

Written from the formulas only (NumPy / SciPy for distribution functions and
linear algebra); nothing here comes from running KORVEL.  The values printed
are meant to be hard-coded into the C++ tests.

Covered, for every data set / method (OLS, SMA, MA) / intercept (yes, no) /
transform (none, log10) combination at 95 % confidence:
  * per-group summary statistics, correlation test, slope and intercept with
    confidence limits;
  * the iterative common slope, its likelihood-ratio statistic, chi-squared
    p-value and the bracketing-search confidence interval;
  * the Wald tests among group means at the common slope (elevation on the
    residual axis, only with an intercept; shift along the common slope on the
    fitted axis), with every pair of groups as well;
  * the pairwise common slopes with chi-squared(1) p-values;
  * for the cats data, the tests against a hypothesised slope 1 and
    intercept 1 and the common slope against a hypothesised slope 1.
A cross-check section compares OLS with scipy.stats.linregress, the MA slope
with the principal eigenvector of the 2x2 (co)variance matrix and the SMA
slope with sign*sqrt(SYY/SXX); it raises on any mismatch.

Run:  /usr/bin/python3 reference.py > reference_output.txt
"""

import math
import sys

import numpy as np
from scipy import stats

import os

REPO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
DATA_FILES = {"cats.txt": os.path.join(REPO, "examples", "input.txt"),
              "iris.txt": os.path.join(REPO, "tests", "data", "iris.txt")}
CONF = 95.0
METHOD_NAMES = {0: "OLS", 1: "SMA", 2: "MA"}
CONVERGE_TOL = 1e-4
CONVERGE_MAX_ITER = 200
N_ITERATIONS = 1000          # the program's default iteration limit
CRIT_P = 0.05                # default critical p-value (only labels A_com)


def fmt(v):
    """10 significant digits."""
    if isinstance(v, (int, np.integer)):
        return str(int(v))
    if v is None:
        return "none"
    if math.isnan(v):
        return "nan"
    if math.isinf(v):
        return "inf" if v > 0 else "-inf"
    return "%.10g" % v


# ---------------------------------------------------------------- data input

def read_table(path):
    with open(path, "r") as fh:
        text = fh.read()
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines = lines[:-1]
    header = lines[0].split("\t")
    rows = [ln.split("\t") for ln in lines[1:]]
    return header, rows


def load_groups(path, gcol, ycol, xcol, transform):
    """Groups keyed by name; each group's points are held in reverse order of
    the data lines (new points go to the front).  Returns names in byte-wise
    order and a dict name -> (X, Y) lists."""
    header, rows = read_table(path)
    groups = {}
    for row in rows:
        g, y, x = row[gcol], row[ycol], row[xcol]
        if g == "" or y == "" or x == "" or g == " " or y == " " or x == " ":
            continue
        xv, yv = float(x), float(y)
        if g not in groups:
            groups[g] = ([xv], [yv])
        else:
            groups[g][0].insert(0, xv)
            groups[g][1].insert(0, yv)
    out = {}
    for g, (X, Y) in groups.items():
        if transform == "log10":
            X = [math.log10(v) for v in X]
            Y = [math.log10(v) for v in Y]
        out[g] = (X, Y)
    names = sorted(out.keys(), key=lambda s: s.encode("utf-8"))
    return names, out, header


# ------------------------------------------------------------ line estimators

def sign(v):
    return -1.0 if v < 0 else 1.0


def sum_sq(x, y, centred):
    n = len(x)
    if centred:
        mx = sum(x) / n
        my = sum(y) / n
        return sum((x[i] - mx) * (y[i] - my) for i in range(n))
    return sum(x[i] * y[i] for i in range(n))


def variance(x, y, centred):
    d = len(x) - 1 if centred else len(x)
    return sum_sq(x, y, centred) / d


def Kfac(n, has_intercept):
    """Intercept correction: integer quotient (n-1) div (n-2); n = 2 taken as 1."""
    if not has_intercept:
        return 1.0
    if n == 2:
        return 1.0
    return float((n - 1) // (n - 2))


def B_est(method, syy, sxx, sxy):
    if method == 0:
        return sxy / sxx
    if method == 1:
        return sign(sxy) * math.sqrt(syy / sxx)
    return ((syy - sxx) + math.sqrt((syy - sxx) ** 2 + 4.0 * sxy * sxy)) / (2.0 * sxy)


def var_fitted(method, syy, sxx, sxy, b, n, has_int):
    if method == 0:
        return sxx
    if method == 1:
        return (syy + 2 * b * sxy + b * b * sxx) * Kfac(n, has_int)
    return (b * b * syy + 2 * b * sxy + sxx) * Kfac(n, has_int)


def var_resid(method, syy, sxx, sxy, b, n, has_int):
    return (syy - 2 * b * sxy + b * b * sxx) * Kfac(n, has_int)


def covar_rf(method, syy, sxx, sxy, b, n, has_int):
    if method == 0:
        v = sxy - b * sxx
    elif method == 1:
        v = syy - b * b * sxx
    else:
        v = b * (syy - sxx) + sxy - b * b * sxy
    return v * Kfac(n, has_int)


def var_slope(method, syy, sxx, sxy, vf, vr, b, n):
    if method in (0, 1):
        return (syy / sxx) * (1 - sxy * sxy / (syy * sxx)) / (n - 2)
    return (1 + b * b) ** 2 / (n - 2) / (vf / vr + vr / vf - 2)


def fitted_axis(method, y, x, b):
    if method == 0:
        return x
    if method == 1:
        return y + b * x
    return b * y + x


# ------------------------------------------------------- individual line fits

def fit_group(X, Y, method, has_int, conf):
    n = len(X)
    g = {"X": X, "Y": Y, "n": n}
    g["Xmean"] = sum(X) / n
    g["Ymean"] = sum(Y) / n
    sxx = variance(X, X, has_int)
    syy = variance(Y, Y, has_int)
    sxy = variance(X, Y, has_int)
    g["SXX"], g["SYY"], g["SXY"] = sxx, syy, sxy
    g["R2"] = sxy * sxy / (syy * sxx)
    b = B_est(method, syy, sxx, sxy)
    g["slope"] = b
    g["interc"] = g["Ymean"] - b * g["Xmean"] if has_int else 0.0
    g["varFitted"] = var_fitted(method, syy, sxx, sxy, b, n, has_int)
    g["varResid"] = var_resid(method, syy, sxx, sxy, b, n, has_int)
    g["covarRF"] = covar_rf(method, syy, sxx, sxy, b, n, has_int)
    g["varSlope"] = var_slope(method, syy, sxx, sxy, g["varFitted"], g["varResid"], b, n)

    alpha = 1 - conf / 100.0
    # test of no correlation: always by OLS, F with (1, n-2) df
    b0 = sxy / sxx
    a0 = g["Ymean"] - b0 * g["Xmean"]
    sst = sum((Y[i] - g["Ymean"]) ** 2 for i in range(n))
    ssr = sum((b0 * X[i] + a0 - g["Ymean"]) ** 2 for i in range(n))
    sse = sst - ssr
    F = ssr / (sse / (n - 2))
    g["F_corr"] = F
    g["p"] = stats.f.sf(F, 1, n - 2)

    df = n - 2 if has_int else n - 1
    g["df"] = df
    if method == 0:
        h = math.sqrt(g["varSlope"]) * stats.t.ppf(1 - alpha / 2, df)
        lo, up = b - h, b + h
    elif method == 1:
        B = (1 - g["R2"]) / df * stats.f.ppf(1 - alpha, 1, df)
        l1 = b * (math.sqrt(B + 1) - math.sqrt(B))
        l2 = b * (math.sqrt(B + 1) + math.sqrt(B))
        lo, up = (l2, l1) if l2 < l1 else (l1, l2)
    else:
        Q = (sxx * syy - sxy * sxy) / df * stats.f.ppf(1 - alpha, 1, df)
        inner = (syy - sxx) ** 2 + 4 * sxy * sxy - 4 * Q
        D = (syy - sxx) + (math.sqrt(inner) if inner >= 0 else float("nan"))
        lo = D / (2 * (sxy + math.sqrt(Q)))
        up = D / (2 * (sxy - math.sqrt(Q)))
    g["slopeLowCI"], g["slopeUppCI"] = lo, up

    if has_int:
        vi = g["Xmean"] ** 2 * g["varSlope"] + g["varResid"] / n
        h = math.sqrt(vi) * stats.t.ppf(1 - alpha / 2, n - 2)
        g["varInterc"] = vi
        g["intercLowCI"] = g["interc"] - h
        g["intercUppCI"] = g["interc"] + h
    else:
        g["varInterc"] = g["intercLowCI"] = g["intercUppCI"] = 0.0
    return g


# ------------------------------------------------------------- common slope

def rfcd(method, g, beta):
    syy, sxx, sxy = g["SYY"], g["SXX"], g["SXY"]
    r = syy - 2 * beta * sxy + beta * beta * sxx
    if method == 0:
        f = sxx
        c = sxy - beta * sxx
        d = 1.0
    elif method == 1:
        f = syy + 2 * beta * sxy + beta * beta * sxx
        c = syy - beta * beta * sxx
        d = 2 * abs(beta)
    else:
        f = sxx + 2 * beta * sxy + beta * beta * syy
        c = sxy + beta * (syy - sxx) - beta * beta * sxy
        d = beta * beta + 1
    return r, f, c, d


def fit_common(glist, method, limit=N_ITERATIONS):
    """Iterative weighted common slope.  Returns (slope, converged, iterations)."""
    syy = sum((g["n"] - 1) * g["SYY"] for g in glist)
    sxx = sum((g["n"] - 1) * g["SXX"] for g in glist)
    sxy = sum((g["n"] - 1) * g["SXY"] for g in glist)
    b = B_est(method, syy, sxx, sxy)
    for it in range(1, CONVERGE_MAX_ITER + 1):
        wyy = wxx = wxy = 0.0
        for g in glist:
            r, f, _, _ = rfcd(method, g, b)
            w = g["n"] * (1 / r - 1 / f) if method == 2 else g["n"] * (1 / r + 1 / f)
            wyy += w * g["SYY"]
            wxx += w * g["SXX"]
            wxy += w * g["SXY"]
        bn = B_est(method, wyy, wxx, wxy)
        if abs(b - bn) < CONVERGE_TOL:
            return bn, True, it
        if it == CONVERGE_MAX_ITER:
            return bn, False, it
        b = bn
    raise RuntimeError("unreachable")


def common_stat(glist, method, has_int, b, b2=0.0):
    """b2 == 0: common-slope likelihood-ratio statistic at b;
    otherwise the two-slope statistic of 'common slope = b2' given estimate b."""
    T = 0.0
    for g in glist:
        df = g["n"] - 2 if has_int else g["n"] - 1
        if b2 == 0.0:
            r, f, c, _ = rfcd(method, g, b)
            T += -(df - 0.5) * math.log(1 - c * c / (r * f))
        else:
            r2, f2, _, d2 = rfcd(method, g, b2)
            r1, f1, _, d1 = rfcd(method, g, b)
            T += (df - 0.5) * math.log((f2 * r2 / d2 ** 2) / (f1 * r1 / d1 ** 2))
    return T


def common_ci(glist, method, has_int, conf, b):
    """Bracketing search for the common-slope confidence limits; returns
    (lower, upper, info) with lower/upper as the two searches return them."""
    N = sum(g["n"] for g in glist)
    Sxx = sum(g["SXX"] for g in glist)
    Syy = sum(g["SYY"] for g in glist)
    Sxy = sum(g["SXY"] for g in glist)
    ng = len(glist)
    alpha = 1 - conf / 100.0
    dfF = float(N - ng - 1)
    F = stats.f.isf(alpha, 1, dfF)
    B = F * (1 - Sxy * Sxy / (Sxx * Syy)) / dfF
    s = -1.0 if Sxy < 0 else 1.0
    q = math.sqrt(Syy / Sxx)
    c1 = math.sqrt(B + 1) - math.sqrt(B)
    c2 = math.sqrt(B + 1) + math.sqrt(B)
    hiF, loF = max(c1, c2), min(c1, c2)
    U0 = b + s * q * (hiF - 1)
    L0 = b - s * q * (1 - loF)
    chi = stats.chi2.isf(alpha, 1)

    def T(beta):
        return common_stat(glist, method, has_int, b, beta)

    def search(lo, hi, start, upper):
        Tlo, Thi = T(lo), T(hi)
        mid = lo + (hi - lo) * 0.5
        Tmid = T(mid)
        for pss in range(102):
            if abs(Tmid - chi) < 0.01:
                return mid, True, pss
            moved = True
            if Tlo < chi and Tmid > chi:
                hi, Thi = mid, Tmid
            elif Tmid < chi and Thi > chi:
                lo, Tlo = mid, Tmid
            elif Tlo < chi and Thi < chi:
                lo, Tlo = mid, Tmid
                hi = 2 * hi if upper else 0.5 * hi
                Thi = T(hi)
            elif Tlo > chi and Thi > chi:
                hi, Thi = mid, Tmid
                lo = 0.5 * lo if upper else 2 * lo
                Tlo = T(lo)
            else:
                moved = False
            if moved:
                mid = lo + (hi - lo) * 0.5
                Tmid = T(mid)
        return start, False, 102

    d = U0 / b - 1
    upp, upp_ok, upp_pass = search(U0 * (1 - d / 2), U0 * (1 + 2 * d), U0, True)
    low, low_ok, low_pass = search(b, L0 + (L0 - b) * 0.5, L0, False)
    info = {"U0": U0, "L0": L0, "chi": chi, "F": F, "B": B,
            "upp_converged": upp_ok, "upp_pass": upp_pass,
            "low_converged": low_ok, "low_pass": low_pass}
    return low, upp, info


# --------------------------------------------------------------- Wald tests

def prepare_common(glist, method, has_int, B):
    """Axis scores, their means and the slope variance recomputed at the common slope B."""
    out = []
    for g in glist:
        h = dict(g)
        n = g["n"]
        h["residAxis"] = [g["Y"][i] - B * g["X"][i] for i in range(n)]
        h["fittedAxis"] = [fitted_axis(method, g["Y"][i], g["X"][i], B) for i in range(n)]
        h["fittedMean"] = sum(h["fittedAxis"]) / n
        h["residMean"] = sum(h["residAxis"]) / n
        a = (g["SYY"], g["SXX"], g["SXY"], B, n, has_int)
        h["varFitted"] = var_fitted(method, *a)
        h["varResid"] = var_resid(method, *a)
        h["covarRF"] = covar_rf(method, *a)
        h["varSlope"] = var_slope(method, g["SYY"], g["SXX"], g["SXY"],
                                  h["varFitted"], h["varResid"], B, n)
        out.append(h)
    return out


def wald(glist, method, test, B):
    """Wald test among group means of the residual-axis (test 3) or fitted-axis
    (test 2) scores; contrasts against the first group.  Returns dict."""
    g = len(glist)
    k = g - 1
    m = np.zeros(g)
    v = np.zeros(g)
    h = np.zeros(g)
    w = 0.0
    for i, grp in enumerate(glist):
        n = grp["n"]
        w += 1.0 / grp["varSlope"]
        if test == 3:
            m[i] = grp["Ymean"] - B * grp["Xmean"]
            s = variance(grp["residAxis"], grp["residAxis"], True)
            h[i] = grp["Xmean"]
        else:
            s = variance(grp["fittedAxis"], grp["fittedAxis"], True)
            if method == 0:
                m[i] = grp["Xmean"]
                h[i] = 0.0
            elif method == 1:
                m[i] = grp["Ymean"] + B * grp["Xmean"]
                h[i] = grp["Xmean"]
            else:
                m[i] = B * grp["Ymean"] + grp["Xmean"]
                h[i] = grp["Ymean"]
        v[i] = s * float(n - 1) / float(n - 2) / float(n)
    varB = 1.0 / w
    V = np.diag(v) + varB * np.outer(h, h)
    L = np.zeros((k, g))
    for r in range(k):
        L[r, 0] = 1.0
        L[r, r + 1] = -1.0
    d = L @ m
    Kmat = L @ (V @ L.T)
    W = float(d @ (np.linalg.inv(Kmat) @ d))
    p = float(stats.chi2.sf(W, k))
    Vi = np.linalg.inv(V)
    A_com = float(np.sum(Vi @ m) / np.sum(Vi @ np.ones(g)))
    return {"W": W, "df": k, "p": p, "A_com": A_com, "m": m, "V": V, "varB": varB}


# ------------------------------------------------------------- cross-checks

N_CHECKS = [0]


def check(label, got, want, rtol=1e-9, atol=1e-12):
    N_CHECKS[0] += 1
    if not (abs(got - want) <= atol + rtol * abs(want)):
        raise AssertionError("cross-check failed: %s: got %r, want %r" % (label, got, want))


def cross_check_group(label, g, method, has_int, conf):
    X = np.array(g["X"])
    Y = np.array(g["Y"])
    n = g["n"]
    # correlation p-value: OLS F test on the raw data, with intercept always equals linregress
    if has_int:
        lr = stats.linregress(X, Y)
        check(label + " R2 vs linregress", g["R2"], lr.rvalue ** 2)
        check(label + " p vs linregress", g["p"], lr.pvalue, rtol=1e-7, atol=1e-300)
        pr = stats.pearsonr(X, Y)
        check(label + " p vs pearsonr", g["p"], pr[1], rtol=1e-7, atol=1e-300)
        if method == 0:
            tq = stats.t.ppf(1 - (1 - conf / 100) / 2, n - 2)
            check(label + " OLS slope", g["slope"], lr.slope)
            check(label + " OLS intercept", g["interc"], lr.intercept, atol=1e-10)
            check(label + " OLS slope low CI", g["slopeLowCI"], lr.slope - tq * lr.stderr)
            check(label + " OLS slope upp CI", g["slopeUppCI"], lr.slope + tq * lr.stderr)
            check(label + " OLS varSlope", g["varSlope"], lr.stderr ** 2)
        cov = np.cov(np.vstack([X, Y]), ddof=1)
    else:
        # through the origin: raw second moments over n
        cov = np.array([[np.mean(X * X), np.mean(X * Y)], [np.mean(X * Y), np.mean(Y * Y)]])
        if method == 0:
            slope0 = float(np.sum(X * Y) / np.sum(X * X))
            check(label + " OLS origin slope (lstsq)", g["slope"],
                  float(np.linalg.lstsq(X[:, None], Y, rcond=None)[0][0]))
            check(label + " OLS origin slope", g["slope"], slope0)
    check(label + " SXX", g["SXX"], cov[0, 0])
    check(label + " SYY", g["SYY"], cov[1, 1])
    check(label + " SXY", g["SXY"], cov[0, 1])
    if method == 2:
        evals, evecs = np.linalg.eigh(cov)
        vec = evecs[:, np.argmax(evals)]
        check(label + " MA slope vs principal eigenvector", g["slope"], vec[1] / vec[0])
    if method == 1:
        check(label + " SMA slope", g["slope"],
              math.copysign(1.0, cov[0, 1]) * math.sqrt(cov[1, 1] / cov[0, 0]))


# ---------------------------------------------------------------- analysis

def print_group(name, g):
    P = "  [%s] " % name
    for key in ("n", "Xmean", "Ymean", "SXX", "SYY", "SXY", "R2", "p",
                "slope", "slopeLowCI", "slopeUppCI",
                "interc", "intercLowCI", "intercUppCI",
                "varSlope", "varInterc", "varFitted", "varResid", "covarRF"):
        print("%s%-12s= %s" % (P, key, fmt(g[key])))


def analyse(title, names, data, method, has_int, conf, pairwise_wald=False,
            H0_b=None, H0_a=None, cross=True):
    mname = METHOD_NAMES[method]
    print("=" * 78)
    print("%s | method=%s | intercept=%s | confidence=%g" % (
        title, mname, "yes" if has_int else "no", conf))
    print("=" * 78)
    glist = []
    for nm in names:
        X, Y = data[nm]
        g = fit_group(X, Y, method, has_int, conf)
        g["name"] = nm
        glist.append(g)
        if cross:
            cross_check_group("%s %s %s int=%d" % (title, mname, nm, has_int), g, method, has_int, conf)
    print("Individual lines (slope limits df = %s; correlation p uses F(1, n-2))" %
          ("n-2" if has_int else "n-1"))
    for g in glist:
        print_group(g["name"], g)

    if H0_b is not None:
        print("Test of each slope = H0_b = %s (F formed with n-2; p = Q_F(F, 1, %s))" %
              (fmt(H0_b), "n-2" if has_int else "n-1"))
        for g in glist:
            n = g["n"]
            a = (g["SYY"], g["SXX"], g["SXY"], H0_b, n, has_int)
            rF, vF, vR = covar_rf(method, *a), var_fitted(method, *a), var_resid(method, *a)
            r2 = rF * rF / (vF * vR)
            F = (n - 2) * r2 / (1 - r2)
            p = stats.f.sf(F, 1, n - 2 if has_int else n - 1)
            print("  [%s] H0_b r2 = %s  F = %s  p = %s" % (g["name"], fmt(r2), fmt(F), fmt(p)))
    if H0_a is not None and has_int:
        print("Test of each intercept = H0_a = %s (T = (a - H0_a)/sqrt(varInterc), two-sided t, n-2 df)"
              % fmt(H0_a))
        for g in glist:
            T = (g["interc"] - H0_a) / math.sqrt(g["varInterc"])
            p = 2 * stats.t.cdf(-abs(T), g["n"] - 2)
            print("  [%s] H0_a T = %s  p = %s" % (g["name"], fmt(T), fmt(p)))

    if len(glist) < 2:
        return glist

    b, conv, iters = fit_common(glist, method)
    T = common_stat(glist, method, has_int, b, 0.0)
    pchi = stats.chi2.sf(T, len(glist) - 1)
    low, upp, info = common_ci(glist, method, has_int, conf, b)
    print("Common slope across all groups")
    print("  common slope b      = %s  (converged=%s after %d iterations)" % (fmt(b), conv, iters))
    print("  N total             = %d   groups = %d" % (sum(g["n"] for g in glist), len(glist)))
    print("  LR statistic T      = %s" % fmt(T))
    print("  chi2 p (df=%d)       = %s" % (len(glist) - 1, fmt(pchi)))
    print("  CI lower (search 2) = %s  (converged=%s, passes=%d, start L0=%s)" % (
        fmt(low), info["low_converged"], info["low_pass"], fmt(info["L0"])))
    print("  CI upper (search 1) = %s  (converged=%s, passes=%d, start U0=%s)" % (
        fmt(upp), info["upp_converged"], info["upp_pass"], fmt(info["U0"])))
    print("  CI chi2 critical    = %s  F quantile = %s  B = %s" % (
        fmt(info["chi"]), fmt(info["F"]), fmt(info["B"])))
    if H0_b is not None:
        T0 = common_stat(glist, method, has_int, b, H0_b)
        p0 = stats.chi2.sf(T0, 1)
        print("  common slope vs H0_b = %s: T0 = %s  p0 = Q_chi2(T0,1) = %s" % (fmt(H0_b), fmt(T0), fmt(p0)))

    # Pairwise common slopes (pairs (i, j) with j before i in name order)
    print("Pairwise common slopes (chi-squared, 1 df)")
    for i in range(len(glist)):
        for j in range(i):
            pair = [glist[j], glist[i]]
            bp, convp, _ = fit_common(pair, method)
            Tp = common_stat(pair, method, has_int, bp, 0.0)
            pp = stats.chi2.sf(Tp, 1)
            print("  [%s & %s] slope = %s  T = %s  p = %s%s" % (
                glist[i]["name"], glist[j]["name"], fmt(bp), fmt(Tp), fmt(pp),
                "" if convp else "  (NOT CONVERGED)"))

    # Wald tests at the common slope
    cg = prepare_common(glist, method, has_int, b)
    print("Lines with the common slope B = %s (varSlope recomputed at B)" % fmt(b))
    for g in cg:
        print("  [%s] varSlope@B = %s  residMean = %s  fittedMean = %s  interc@B = %s" % (
            g["name"], fmt(g["varSlope"]), fmt(g["residMean"]), fmt(g["fittedMean"]),
            fmt(g["Ymean"] - b * g["Xmean"])))
    tests = [(3, "Wald test of elevation (residual axis, test 3)"),
             (2, "Wald test of shift along common slope (fitted axis, test 2)")]
    for test, label in tests:
        if test == 3 and not has_int:
            print("%s: not possible through the origin" % label)
            continue
        r = wald(cg, method, test, b)
        # cross-check: the statistic does not depend on which group is the reference
        r_rev = wald(list(reversed(cg)), method, test, b)
        check(title + " Wald reference invariance", r_rev["W"], r["W"], rtol=1e-8)
        print("%s: all groups" % label)
        print("  W = %s  df = %d  p = %s  A_com = %s%s" % (
            fmt(r["W"]), r["df"], fmt(r["p"]), fmt(r["A_com"]),
            "" if r["p"] > CRIT_P else "  (A_com shown by the program only when p > crit_p)"))
        if pairwise_wald or len(cg) == 2:
            key = "residMean" if test == 3 else "fittedMean"
            for i in range(len(cg)):
                for j in range(i):
                    pair = [cg[j], cg[i]]
                    rp = wald(pair, method, test, b)
                    # closed form for two groups
                    V = rp["V"]
                    W2 = (rp["m"][0] - rp["m"][1]) ** 2 / (V[0, 0] + V[1, 1] - 2 * V[0, 1])
                    check(title + " two-group Wald closed form", rp["W"], W2, rtol=1e-8)
                    print("  pair [%s & %s]: diff = %s  W = %s  df = 1  p = %s  A_com = %s" % (
                        cg[i]["name"], cg[j]["name"], fmt(abs(cg[i][key] - cg[j][key])),
                        fmt(rp["W"]), fmt(rp["p"]), fmt(rp["A_com"])))
    return glist


def worked_example():
    print("=" * 78)
    print("Worked example: points (1,2),(2,4),(3,5),(4,4),(5,5), intercept, 95%")
    print("=" * 78)
    X = [5.0, 4.0, 3.0, 2.0, 1.0]    # reverse order of the data lines
    Y = [5.0, 4.0, 5.0, 4.0, 2.0]
    expect_slope = {0: 0.6, 1: math.sqrt(0.6), 2: ((1.5 - 2.5) + math.sqrt(10.0)) / 3.0}
    for method in (0, 1, 2):
        g = fit_group(X, Y, method, True, CONF)
        check("example SXX", g["SXX"], 2.5)
        check("example SYY", g["SYY"], 1.5)
        check("example SXY", g["SXY"], 1.5)
        check("example R2", g["R2"], 0.6)
        check("example slope %d" % method, g["slope"], expect_slope[method])
        if method == 0:
            check("example intercept", g["interc"], 2.2)
        cross_check_group("example %s" % METHOD_NAMES[method], g, method, True, CONF)
        print("%s:" % METHOD_NAMES[method])
        print_group("one", g)
        # two identical groups
        g2 = fit_group(list(X), list(Y), method, True, CONF)
        pair = [dict(g, name="A"), dict(g2, name="B")]
        b, conv, it = fit_common(pair, method)
        T = common_stat(pair, method, True, b, 0.0)
        check("example identical-groups common slope", b, g["slope"], rtol=1e-12)
        check("example identical-groups T", T, 0.0, atol=1e-10)
        low, upp, info = common_ci(pair, method, True, CONF, b)
        print("  two identical groups: common slope = %s (iterations %d)  T = %s  chi2 p = %s" % (
            fmt(b), it, fmt(T), fmt(stats.chi2.sf(T, 1))))
        print("  two identical groups: CI lower = %s (converged=%s)  CI upper = %s (converged=%s)" % (
            fmt(low), info["low_converged"], fmt(upp), info["upp_converged"]))
        cg = prepare_common(pair, method, True, b)
        for test in (3, 2):
            r = wald(cg, method, test, b)
            print("  two identical groups: Wald test %d  W = %s  p = %s  A_com = %s" % (
                test, fmt(r["W"]), fmt(r["p"]), fmt(r["A_com"])))


def main():
    print("KORVEL independent reference values (Python %s, NumPy %s, SciPy %s)" % (
        sys.version.split()[0], np.__version__, __import__("scipy").__version__))
    print("Numbers have 10 significant digits.  Groups are in byte-wise name order.")
    print("Per-group moments: divisor n-1 with an intercept, raw moments / n through the origin.")
    print()
    worked_example()

    datasets = [
        ("cats.txt", 0, 2, 1, "cats Hwt~Bwt by Sex", False, True),
        ("iris.txt", 4, 2, 0, "iris Petal.Length~Sepal.Length grouped by column 4 (iris kind)", True, False),
        ("iris.txt", 4, 1, 0, "iris Sepal.Width~Sepal.Length grouped by column 4 (iris kind)", True, False),
    ]
    for fname, gcol, ycol, xcol, label, pw, hyp in datasets:
        for transform in ("none", "log10"):
            names, data, header = load_groups(DATA_FILES[fname], gcol, ycol, xcol, transform)
            for method in (0, 1, 2):
                for has_int in (True, False):
                    title = "%s | transform=%s" % (label, transform)
                    print()
                    analyse(title, names, data, method, has_int, CONF, pairwise_wald=pw,
                            H0_b=1.0 if hyp else None, H0_a=1.0 if hyp else None)
    print()
    print("All %d cross-checks passed." % N_CHECKS[0])


if __name__ == "__main__":
    main()
