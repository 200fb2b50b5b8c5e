#!/usr/bin/python3
"""Usage: check_reports.py SESSION_DIR...  (recorded sessions, see tests/sessions/run)

Recomputes the numbers of the sessions' report files independently of the program
(numpy, scipy) from each analysis's header block and data file, and compares them
at the printed decimals. Only resampling is replayed, with the C library's rand().
"""
import csv
import ctypes
import io
import re
import subprocess
import sys
import warnings
from pathlib import Path

import numpy as np
from scipy import integrate, optimize, stats
from statsmodels.stats.multitest import multipletests

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from report_text import LINES_ROW, Analysis, analyses, listed, printed  # noqa: E402

np.seterr(all='ignore')
warnings.simplefilter('ignore', RuntimeWarning)  # degenerate groups give nan on purpose
LIBC = ctypes.CDLL('libc.so.6')
LIBC.atof.restype = ctypes.c_double
NUMBER = re.compile(r'[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?')
SCALAR = re.compile(r'< (\S+)|> (\S+) & < (\S+)|> (\S+)')
STEP = 1e-4  # the program's common slope iteration stops at steps below this (relative below 1)
ROOT = Path(__file__).resolve().parents[2]  # the repository, where a session's shared data files are


class Checker:
    def __init__(self):
        self.count, self.bad, self.where = 0, [], ''

    def fail(self, item, printed, expected):
        self.bad.append(f'{self.where}: {item}: printed {printed!r}, expected {expected}')

    def num(self, item, text, x, slack=0.0):
        """x, rounded as printed, is the printed value (give or take slack); x None: unknown."""
        if x is None:
            return
        self.count += 1
        (v, h) = printed(text)
        if not (np.isfinite(v) and np.isfinite(x)):
            ok = not (np.isfinite(v) or np.isfinite(x))
        else:
            ok = abs(v - x) <= h + slack + 1e-9 * (1 + abs(x))
        if not ok:
            self.fail(item, text.strip(), f'{x:.8g}')

    def zero(self, item, text, g, tol=0.0):
        """g comes within tol of 0 in the rounding interval of the printed value."""
        self.count += 1
        (v, h) = printed(text)
        ends = [g(v - h), g(v + h)] if np.isfinite(v) else [np.inf]
        if not (min(ends) <= tol and max(ends) >= -tol):
            self.fail(item, text.strip(), f'{g.__doc__} within {tol} of 0 there')

    def text(self, item, printed, expected):
        if printed != expected:
            self.fail(item, printed, expected)


# ---- data ----------------------------------------------------------------------

def shared_data(session):
    """{name: file} of the shared data files a session starts with (tests/sessions/run copies them
    in): its file 'data' holds lines NAME SOURCE, SOURCE from the repository's root."""
    manifest = session / 'data'
    lines = manifest.read_text().splitlines() if manifest.is_file() else []
    return {name: ROOT / source for name, source in (line.rsplit(' ', 1) for line in lines)}


def data_file(session, name):
    """The file a session's run reads as name: its own in/name, else a shared one; None if neither."""
    own = session / 'in' / name
    return own if own.is_file() else shared_data(session).get(name)


def read_rows(path):
    text = path.read_bytes().decode('latin-1')
    if path.suffix.lower() == '.csv':  # no row for a blank line; line ends and tabs in a cell read as blanks
        rows = csv.reader(io.StringIO(text.removeprefix('\xef\xbb\xbf'), newline=''), strict=True)
        return [[re.sub('[\t\r\n]', ' ', c) for c in row] for row in rows if row]
    lines = text.removesuffix('\n').split('\n')
    return [line.removesuffix('\r').split('\t') for line in lines]


def number(cell):
    """A Y or X cell holds one decimal number, blanks around it allowed."""
    c = cell.strip()
    return float(c) if NUMBER.fullmatch(c) and np.isfinite(float(c)) else None


def atof(text):
    return LIBC.atof(text.encode('latin-1'))


def filter_keep(entries):
    """Keep test from report entries {label: keep}; scalar labels ('> 5 & < 7') give min and max."""
    found = [SCALAR.fullmatch(label) for label in entries]
    if not entries or not all(found):
        return lambda cell: entries.get(cell, True)
    lo = next((m[1] or m[2] for m in found if m[1] or m[2]), None)
    hi = next((m[3] or m[4] for m in found if m[3] or m[4]), None)

    def keep(cell):
        v = atof(cell)
        return entries.get(f'> {hi}' if hi is not None and v > atof(hi) else f'< {lo}'
                           if lo is not None and atof(lo) > v else f'> {lo} & < {hi}', True)
    return keep


# Huber M-estimation of location and scatter (robust analyses): the weights of a point at squared
# Mahalanobis distance s, min(1, c / sqrt(s)) and min(1, c^2 / s) / beta, c^2 the 0.9 quantile of
# chi-squared(2), beta = E[min(s, c^2)] / 2 at the normal; the asymptotic variance factors of the
# scatter's shape and of the location at the normal, by numerical integration.
C2 = stats.chi2.ppf(0.9, 2)


def _normal_mean(f):
    """E[f(s)] for s ~ chi-squared(2), integrated on each side of C2."""
    return sum(integrate.quad(lambda s: f(s) * stats.chi2.pdf(s, 2), a, b)[0] for a, b in ((0, C2), (C2, np.inf)))


BETA = _normal_mean(lambda s: min(s, C2)) / 2
SIGMA1 = 8 * _normal_mean(lambda s: (min(s, C2) / BETA) ** 2) / (8 + 2 * _normal_mean(
    lambda s: -C2 / BETA if s > C2 else 0.0)) ** 2
# The location's: psi(r) = min(r, c), r = sqrt(s); E[psi^2] / (2 D^2), D = (E[psi'] + E[psi / r]) / 2.
_D = (_normal_mean(lambda s: float(s < C2)) + _normal_mean(lambda s: min(1.0, np.sqrt(C2 / s)))) / 2
SIGMA0 = _normal_mean(lambda s: min(s, C2)) / (2 * _D ** 2)


def huber(X, origin):
    """Location and scatter of the rows of X, from the coordinatewise median and the covariance."""
    mu = np.zeros(2) if origin else np.median(X, axis=0)
    S = X.T @ X / len(X) if origin else np.cov(X.T)
    if not np.linalg.det(S) > 0:
        return (np.zeros(2) if origin else X.mean(0)), S
    for _ in range(2000):
        D = X - mu
        s = np.einsum('ij,jk,ik->i', D, np.linalg.inv(S), D)
        w1 = np.where(s <= C2, 1.0, np.sqrt(C2 / np.maximum(s, 1e-300)))
        w2 = np.where(s <= C2, 1.0, C2 / np.maximum(s, 1e-300)) / BETA
        mu2 = mu if origin else (w1[:, None] * X).sum(0) / w1.sum()
        D2 = X - mu2
        S2 = (w2[:, None, None] * np.einsum('ij,ik->ijk', D2, D2)).sum(0) / len(X)
        done = np.allclose(S2, S, rtol=1e-13, atol=0) and np.allclose(mu2, mu, rtol=0, atol=1e-13 * np.sqrt(S2.max()))
        mu, S = mu2, S2
        if done:
            break
    return mu, S


class Group:
    def __init__(self, name, x, y, h):
        self.name, self.x, self.y, self.n, self.mx, self.my = name, x, y, len(x), x.mean(), y.mean()
        S = np.array([[x @ x, x @ y], [x @ y, y @ y]]) / self.n if h['origin'] else np.cov(x, y)
        # The effective sizes: of the scatter's shape (slopes) and of the location (means).
        self.ns = self.nl = float(self.n)
        if h.get('robust'):
            (self.mx, self.my), S = huber(np.c_[x, y], h['origin'])
            self.ns, self.nl = self.n / SIGMA1, self.n / SIGMA0
        self.df = self.ns - (1 if h['origin'] else 2)  # degrees of freedom of the line
        self.raw_r2 = S[0, 1] ** 2 / (S[0, 0] * S[1, 1])  # of the data as analysed, no correction
        self.S = S - np.diag(h['me'])  # (co)variances less the measurement error
        self.r2 = self.S[0, 1] ** 2 / (self.S[0, 0] * self.S[1, 1])


def correlation_p(g):
    """The correlation's p of the data as analysed (about the origin through it), uncorrected; an
    exact line has r^2 1 (rounding may take it above) and F infinite."""
    F = g.df * g.raw_r2 / max(0.0, 1 - g.raw_r2)
    return stats.f.sf(F, 1, g.df) if g.df > 0 else np.nan


def varies(v, h):
    return np.any(v != (0.0 if h['origin'] else v[0]))


def load(session, h):
    """Rejected lines, small groups, groups whose Y or X does not vary, groups without a residual
    degree of freedom, groups (points in reverse file order), groups with too large errors."""
    rows = read_rows(data_file(session, h['file']))
    names, gcols, part = rows[0], [], None
    for word in ([] if h['grp'] == 'none' else h['grp'].split(' ')):
        part = word if part is None else f'{part} {word}'
        if part in names:
            gcols.append(names.index(part))
            part = None
    filters = [(names.index(name), filter_keep(entries)) for name, entries in h['filters']]
    iy, ix = names.index(h['y']), names.index(h['x'])
    points, rejected = {}, 0
    for row in rows[1:]:
        cell = lambda k: row[k] if k < len(row) else ''
        g = ' '.join(cell(k) for k in gcols) if gcols else 'none'
        y, x = number(cell(iy)), number(cell(ix))
        if (g in ('', ' ') or y is None or x is None or not all(keep(cell(k)) for k, keep in filters)
                or h['transform'] < 2 and min(x, y) <= 0):
            rejected += 1
        else:
            points.setdefault(g, []).insert(0, (x, y))
    small = [g for g in sorted(points) if len(points[g]) < h['min_size']]
    log = (np.log10, np.log, lambda v: v)[h['transform']]
    xy = {g: log(np.array(points[g]).T) for g in sorted(points) if g not in small}
    flat = [g for g, (x, y) in xy.items() if not (varies(x, h) and varies(y, h))]
    groups = [Group(g, *xy[g], h) for g in xy if g not in flat]
    no_df = [g.name for g in groups if g.df < 1]
    groups = [g for g in groups if g.df >= 1]
    too_large = [g.name for g in groups if h['me_on'] and not (g.S[0, 0] > 0 and g.S[1, 1] > 0 and g.r2 <= 1)]
    return rejected, small, flat, no_df, groups, too_large


# ---- lines -----------------------------------------------------------------------

def axes(method, b):
    """Residual-axis and fitted-axis scores at slope b, as coefficients of (x, y)."""
    return np.array([[-b, 1.0], [[1.0, 0.0], [b, 1.0], [1.0, b]][method]])


def scores(g, method, b, axis):
    return axes(method, b)[axis] @ np.vstack([g.x, g.y])


def mean_score(g, method, b, axis):
    """The mean of the group's scores: the score of its means (the robust ones with robust moments)."""
    return axes(method, b)[axis] @ np.array([g.mx, g.my])


def score_variance(g, h, b, axis):
    """The variance of the group's scores less what the measurement errors add: of the scores
    themselves, or from the (robust) scatter, which already has the errors taken off."""
    a = axes(h['method'], b)[axis]
    if h['robust']:
        return a @ g.S @ a
    return np.var(scores(g, h['method'], b, axis), ddof=1) - a ** 2 @ h['me']


def rfc(S, method, b):
    """Residual variance, fitted variance and their covariance at slope b."""
    M = axes(method, b) @ S @ axes(method, b).T
    return M[..., 0, 0], M[..., 1, 1], M[..., 0, 1]


def rho2(S, method, b):
    r, f, c = rfc(S, method, b)
    return c * c / (r * f)


def scale(method, b):
    return (1.0, 2 * abs(b), 1 + b * b)[method]


def slope(S, method):
    if method < 2:
        return S[0, 1] / S[0, 0] if method == 0 else (-1 if S[0, 1] < 0 else 1) * np.sqrt(S[1, 1] / S[0, 0])
    axis = np.linalg.eigh(S)[1][:, 1] if np.isfinite(S).all() else [np.nan, np.nan]  # the major axis
    return axis[1] / axis[0]


def var_slope(g, method, b):
    """The slope's sampling variance, over the line's degrees of freedom (n - 1 through the origin)."""
    if method < 2:
        return g.S[1, 1] / g.S[0, 0] * (1 - g.r2) / g.df
    r, f, _ = rfc(g.S, method, b)
    return (1 + b * b) ** 2 * r * f / (g.df * (f - r) ** 2)


def check_lines(ck, h, gs, rows, columns, with_r):
    """The lines table, rows {kind: cell}; OLS lines of uncorrected data are also handed to R's lm (with_r)."""
    method, alpha = h['method'], 1 - h['conf'] / 100
    for g, (_, c) in zip(gs, rows):
        S, n, b, df = g.S, g.n, slope(g.S, method), g.df
        at = lambda item: f'{g.name} {item}'
        for kind, x in (('n', n), ('r2', g.r2), ('p', correlation_p(g)), ('slope', b)):
            ck.num(at(kind), c[kind], x)
        # The slope limits are where the test of slope = beta (correlation of residual
        # and fitted scores) meets its F quantile.
        k, fq = df, stats.f.ppf(1 - alpha, 1, df)
        # An MA interval through the vertical (LowCI above UppCI) has its upper limit past it, below b.
        vertical = method == 2 and float(c['slope low']) > float(c['slope high'])
        for side, text in ((-1, c['slope low']), (1, c['slope high'])):
            def limit(beta, side=side):
                """the slope test less its quantile"""
                q = rho2(S, method, beta)
                return k * q - fq * (1 - q) if (beta - b) * side > 0 or (vertical and side > 0) else np.inf
            if text.strip() in ('inf', '-inf'):  # no slope at all is rejected
                q = rho2(S, method, np.tan(np.linspace(-np.pi / 2, np.pi / 2, 4001)[1:-1]))
                ck.text(at('slope limit unbounded'), max(k * q - fq * (1 - q)) < 0, True)
            elif np.isfinite(b) and abs(1 - g.r2) > 1e-9 and df > 0:
                ck.zero(at('slope limit'), text, limit)
            else:  # an exact line has its slope as limits; no degrees of freedom, none
                ck.num(at('slope limit'), text, b if np.isfinite(g.r2) and df > 0 else np.nan)
        a = 0.0 if h['origin'] else g.my - b * g.mx
        n = g.nl  # the intercept is a location
        K = (n - 1) / (n - 2)  # the residual variance SSE / (n - 2)
        va = 0.0 if h['origin'] else g.mx ** 2 * var_slope(g, method, b) + rfc(S, method, b)[0] * K / n
        ha = np.sqrt(va) * stats.t.ppf(1 - alpha / 2, n - 2)
        for kind, x in zip(('intercept', 'intercept low', 'intercept high', 'y mean', 'x mean'),
                           (a, a - ha, a + ha, g.my, g.mx)):
            ck.num(at(kind), c[kind], x)
        if 'slope H0' in columns:
            q = rho2(S, method, float(c['slope H0']))
            ck.num(at('F of H0_b'), c['slope F'], df * q / (1 - q))
            ck.num(at('p of H0_b'), c['slope test p'], stats.f.sf(df * q / (1 - q), 1, df))
        if 'intercept H0' in columns:
            T = (a - float(c['intercept H0'])) / np.sqrt(va)
            ck.num(at('T of H0_a'), c['intercept T'], T)
            ck.num(at('p of H0_a'), c['intercept test p'], 2 * stats.t.sf(abs(T), n - 2))
        if method == 0 and not h['me_on'] and not h['robust']:
            with_r.append((ck, ck.where, g, h, c, columns))


# ---- R's lm --------------------------------------------------------------------------

R_LM = r'''
lines <- readLines(file("stdin"))
for (i in seq(1, length(lines), by = 3)) {
  job <- scan(text = lines[i], quiet = TRUE)  # id, origin, confidence, H0 slope, H0 intercept (NA: none)
  x <- scan(text = lines[i + 1], quiet = TRUE); y <- scan(text = lines[i + 2], quiet = TRUE)
  fit <- if (job[2] == 1) lm(y ~ x - 1) else lm(y ~ x)
  s <- suppressWarnings(summary(fit)); co <- coef(s); ci <- suppressWarnings(confint(fit, level = job[3]))
  f <- s$fstatistic
  p <- if (is.null(f)) NA else pf(f[1], f[2], f[3], lower.tail = FALSE)
  tb <- (co["x", 1] - job[4]) / co["x", 2]
  a <- if (job[2] == 1) rep(NA, 4) else c(co["(Intercept)", 1], ci["(Intercept)", ], (co["(Intercept)", 1] - job[5]) / co["(Intercept)", 2])
  v <- c(co["x", 1], ci["x", ], a[1:3], s$r.squared, p, tb^2, 2 * pt(-abs(tb), df.residual(fit)), a[4],
         2 * pt(-abs(a[4]), df.residual(fit)))
  cat(job[1], format(v, digits = 17), "\n")
}
'''


def check_with_r(jobs):
    """Every OLS line of the jobs against R: coefficients and confint(lm(y ~ x)) or lm(y ~ x - 1),
    R2 and the F test's p from summary(), and the tests of H0 slope (t^2) and H0 intercept (t)."""
    if not jobs:
        return
    text = ''.join(f"{k} {int(h['origin'])} {h['conf'] / 100!r} {float(c['slope H0']) if 'slope H0' in columns else 'NA'} "
                   f"{float(c['intercept H0']) if 'intercept H0' in columns else 'NA'}\n"
                   f"{' '.join(map(repr, g.x))}\n{' '.join(map(repr, g.y))}\n"
                   for k, (_, _, g, h, c, columns) in enumerate(jobs))
    run = subprocess.run(['Rscript', '--vanilla', '-e', R_LM], input=text, capture_output=True, text=True, check=True)
    for line in run.stdout.splitlines():
        k, *v = line.split()
        ck, where, g, h, c, columns = jobs[int(k)]
        v = [float(x.replace('NA', 'nan').replace('Inf', 'inf')) for x in v]
        ck.where, at = where, lambda item: f'{g.name} {item} (lm)'
        for kind, x in zip(('slope', 'slope low', 'slope high', 'r2', 'p'), v[0:3] + v[6:8]):
            ck.num(at(kind), c[kind], x)
        if not h['origin']:
            for kind, x in zip(('intercept', 'intercept low', 'intercept high'), v[3:6]):
                ck.num(at(kind), c[kind], x)
        if 'slope H0' in columns:
            ck.num(at('F of H0_b'), c['slope F'], v[8])
            ck.num(at('p of H0_b'), c['slope test p'], v[9])
        if 'intercept H0' in columns:
            ck.num(at('T of H0_a'), c['intercept T'], v[10])
            ck.num(at('p of H0_a'), c['intercept test p'], v[11])


# ---- common slope ------------------------------------------------------------------

def objective(gs, method, beta):
    """Minimised by the common slope: the sum of n ln(r f / d^2) for SMA and MA; for OLS
    the sum of n ln r, the likelihood of groups that each have their own residual variance."""
    total = 0.0
    for g in gs:
        r, f, _ = rfc(g.S, method, beta)
        total += g.ns * (np.log(r) if method == 0 else np.log(r * f / scale(method, beta) ** 2))
    return total


def common_slope(gs, method):
    """The minimiser of the objective nearest the slope of the pooled groups."""
    start = slope(np.tensordot([g.ns - 1.0 for g in gs], [g.S for g in gs], 1), method)
    L = lambda beta: objective(gs, method, beta)
    if not np.isfinite(L(start)):
        return np.nan
    return optimize.minimize_scalar(L, bracket=(start, start * 1.001), tol=1e-12).x


def stat(gs, h, b):
    return -sum((g.df - 0.5) * np.log(1 - rho2(g.S, h['method'], b)) for g in gs)


def stat2(gs, h, b, beta):
    """Likelihood-ratio statistic of the common slope beta, given the estimate b."""
    q = lambda g, t: np.log(np.prod(rfc(g.S, h['method'], t)[:2]) / scale(h['method'], t) ** 2)
    return sum((g.df - 0.5) * (q(g, beta) - q(g, b)) for g in gs)


def common_limits(gs, h, B):
    """On each side of B the nearest slope where the statistic of that common slope reaches the
    chi-squared quantile: walked out from B (SMA by factors within B's sign, the others by steps
    of 1 + |B|) until it does, then solved; the walk's end (inf, or 0 for SMA) when it never does."""
    chi = stats.chi2.ppf(h['conf'] / 100, 1)
    T = lambda beta: stat2(gs, h, B, beta) - chi
    limits = []
    for side in (-1, 1):
        at = (lambda t: B * np.exp(side * np.sign(B) * t)) if h['method'] == 1 else (lambda t: B + side * t * (1 + abs(B)))
        t0, t = 0.0, 1e-7
        while np.isfinite(at(t)) and at(t) != at(t0) and not T(at(t)) >= 0:
            t0, t = t, t * 1.05
        done = not np.isfinite(at(t)) or at(t) == at(t0)
        limits.append(at(t) if done else at(optimize.brentq(lambda s: T(at(s)), t0, t, xtol=1e-300, rtol=1e-14)))
    return limits


def chisq(T, df):
    return stats.chi2.sf(T, df) if np.isfinite(T) else np.nan  # the program gives none for T = inf


def rescue(update, b, b2):
    """After 200 iterations: the fixed point from the last iterates b, b2 by Steffensen's method from b2,
    else by bisection of update(x) - x over [b, b2] widened by doubling distances; None if neither
    passes |update(x) - x| <= 1e-10 max(1, |x|)."""
    fixed = lambda x: np.isfinite(x) and abs(update(x) - x) <= 1e-10 * max(1, abs(x))
    x = b2
    for _ in range(100):
        u1 = update(x)
        u2 = update(u1)
        x2 = x - (u1 - x) ** 2 / (u2 - 2 * u1 + x)
        if not np.isfinite(x2):
            break
        done, x = abs(x2 - x) < 1e-13 * max(1, abs(x)), x2
        if done:
            break
    if fixed(x):
        return x
    gap = lambda x: update(x) - x
    lo, hi = min(b, b2), max(b, b2)
    w = hi - lo
    for _ in range(40):
        if gap(lo) * gap(hi) <= 0:
            break
        lo, hi, w = lo - w, hi + w, 2 * w
    if not gap(lo) * gap(hi) <= 0:
        return None
    while hi - lo >= 1e-15 * max(1, abs(lo)) and lo < (lo + hi) / 2 < hi:
        mid = (lo + hi) / 2
        lo, hi = (mid, hi) if (gap(mid) <= 0) == (gap(lo) <= 0) else (lo, mid)
    return (lo + hi) / 2 if fixed((lo + hi) / 2) else None


def iterate_common(gs, method, limit):
    """The program's common slope iteration, to replay resamples: (counted, slope, settled). Counted:
    converged before step limit, or its fixed point found after the 200 steps. A stop short of the
    fixed point (by the next step's ratio) goes on to the fixed point."""
    S, n = np.array([g.S for g in gs]), np.array([g.ns for g in gs], float)

    def update(b):
        r, f, _ = rfc(S, method, b)
        return slope(np.tensordot(n / r if method == 0 else n * (1 / r + (-1 if method == 2 else 1) / f), S, 1),
                     method)
    b = slope(np.tensordot(n - 1, S, 1), method)
    for step in range(1, 201):
        b2 = update(b)
        if abs(b - b2) < STEP:
            d, d2 = b2 - b, update(b2) - b2
            if d != 0 and not (abs(d2 / d) < 1 and abs(d2 / (1 - d2 / d)) <= STEP * min(1, abs(b2))):
                for _ in range(100000):
                    b3 = update(b2)
                    if not np.isfinite(b3) or abs(b3 - b2) <= 1e-10 * max(1, abs(b2)):
                        break
                    b2 = b3
            return limit > step, b2, True
        b = b2
    found = rescue(update, b, b2)
    return (True, found, True) if found is not None else (limit > 200, b2, False)


def replay(gs, h):
    """Resampling p-value: the residuals at the common slope, pooled, are shuffled with rand() and
    the points rebuilt at their fitted scores; p = count(T* > T, data included) / (1 + resamples)."""
    N, method = max(h['iterations'], 1), h['method']
    b = iterate_common(gs, method, N)[1]
    T0, A = stat(gs, h, b), axes(method, b)
    if not np.isfinite(T0):
        return np.nan
    shift = [0.0 if h['origin'] else g.my - b * g.mx for g in gs]
    pool = list(np.concatenate([scores(g, method, b, 0) - a for g, a in zip(gs, shift)]))
    starts = np.cumsum([0] + [g.n for g in gs])
    count, done, attempts = 1, 0, 0
    while done < N - 1 and attempts < 100 * N:
        attempts += 1
        for i in range(1, len(pool)):
            j = LIBC.rand() % (i + 1)
            pool[i], pool[j] = pool[j], pool[i]
        copies = [Group(g.name, *np.linalg.solve(A, np.vstack(
            [np.array(pool[s:s + g.n]) + a, scores(g, method, b, 1)])), h) for g, a, s in zip(gs, shift, starts)]
        converged, bs, _ = iterate_common(copies, method, N)
        if converged:
            done += 1
            count += stat(copies, h, bs) > T0
    return count / (1 + done)


def wald(gs, h, B, axis):
    """Wald test of equal mean scores on axis 0 (residual) or 1 (fitted): W, p, common mean, means."""
    method = h['method']
    m = np.array([mean_score(g, method, B, axis) for g in gs])
    v = np.array([score_variance(g, h, B, axis) / (g.nl - 2) * (g.nl - 1) / g.nl for g in gs])
    d = np.array([(mean_score(g, method, B + 1, axis) - mean_score(g, method, B - 1, axis)) / 2 for g in gs])
    Vi = np.linalg.inv(np.diag(v) + np.outer(d, d) / sum(1 / var_slope(g, method, B) for g in gs))
    one = np.ones(len(gs))
    W = m @ Vi @ m - (one @ Vi @ m) ** 2 / (one @ Vi @ one)
    return W, chisq(W, len(gs) - 1), (one @ Vi @ m) / (one @ Vi @ one), m


# ---- report ------------------------------------------------------------------------

def pair_cells(gs, numbers):
    """cells[r][c] = cells[c][r] = numbers(pair map of groups c and r), in the program's order of pairs."""
    cells = [[None] * len(gs) for _ in gs]
    for r in range(len(gs)):
        for c in range(r):
            cells[r][c] = cells[c][r] = numbers([gs[c], gs[r]])
    return cells


def adjusted(cells, method):
    """The cells with their p-values (last) adjusted within the table by statsmodels' method."""
    pairs = [(r, c) for r in range(len(cells)) for c in range(r) if np.isfinite(cells[r][c][-1])]
    if method == 'none' or not pairs:
        return cells
    p = multipletests([cells[r][c][-1] for r, c in pairs], method=method)[1]
    out = [row[:] for row in cells]
    for (r, c), q in zip(pairs, p):
        out[r][c] = out[c][r] = tuple(cells[r][c][:-1]) + (q,)
    return out


def check_pairs(ck, h, table, gs, cells, values, label):
    """A table of pairs as read (report_text.pairs) against cells (a pair's numbers, p-value last): its
    p-values only and sorted matrix too; the p-values adjusted as the line above it says, when it says so."""
    ck.text(f'{label} adjustment', table.adjusted[1] if table.adjusted else 'none', h['adjust'])
    if table.adjusted:
        ck.num(f'{label} comparisons', table.adjusted[0],
               sum(np.isfinite(cells[r][c][-1]) for r in range(len(gs)) for c in range(r)))
    cells = adjusted(cells, h['adjust'])
    pairs = [(a.name, b.name) for a in gs for b in gs]  # rows and columns in the groups' order
    ck.text(f'{label} pairs in order', list(table.cells), pairs)
    ck.text(f'{label} p-values in order', list(table.p_values or pairs), pairs)
    for r, c in ((r, c) for r in range(len(gs)) for c in range(len(gs)) if c != r):
        pair = f'{gs[r].name}/{gs[c].name}'
        for k, (text, x) in enumerate(zip(table.cells[gs[r].name, gs[c].name], cells[r][c])):
            ck.num(f'{label} pair {pair} #{k + 1}', text, x, STEP if label == 'slope' and k == 0 else 0)
        if table.p_values:
            ck.num(f'{label} p-value {pair}', table.p_values[gs[r].name, gs[c].name], cells[r][c][-1])
    # Each group in map order goes before the first listed one whose value is >= its own,
    # else last (false for nan): ascending, the later of equal values first.
    order = []
    for k in range(len(gs)):
        order.insert(next((i for i, j in enumerate(order) if values[j] >= values[k]), len(order)), k)
    ck.text(f'{label} matrix rows', len(table.matrix or gs), len(gs))
    for pos, (k, row) in enumerate(zip(order, table.matrix)):
        code, name, value, n, marks = row
        ck.text(f'{label} matrix row {pos + 1}', (code, name.rstrip(' ')), (chr(ord('1') + pos), gs[k].name))
        ck.num(f'{label} matrix {gs[k].name} value', value, values[k])
        ck.num(f'{label} matrix {gs[k].name} n', n, gs[k].n)
        ps = [cells[k][c][-1] if c != k else 0 for c in order]
        if None not in ps:
            ck.text(f'{label} matrix {gs[k].name} marks', marks, '|' + ''.join(
                '0' if c == k else '?' if np.isnan(p) else ' ' if p < h['crit'] else 'x'
                for c, p in zip(order, ps)) + '|')


def check_analysis(ck, session, lines, pvalue, adjust, with_r):
    a = Analysis(lines)
    h = dict(a.settings, adjust=adjust)
    if not data_file(session, h['file']):
        return  # data the session made itself: nothing to recompute from
    method, (rejected, small, flat, no_df, gs, too_large) = h['method'], load(session, h)
    ck.num('filtered or empty data points', a.field('Filtered or empty data points:\t'), rejected)
    ck.text('groups removed as small', listed(a.field('Groups with less than ').split(':', 1)[1]), small)
    ck.text('groups that do not vary', listed(a.field('Groups whose Y or X does not vary (removed):\t')), flat)
    ck.text('groups without residual freedom',
            listed(a.field('Groups without a residual degree of freedom (removed):\t')), no_df)
    ck.num('groups', a.field('No. groups:\t'), len(gs))
    ck.num('data points', a.field('No. datapoints:\t'), sum(g.n for g in gs))
    if h['me_text'] is None:
        return
    ck.text('removed for measurement error', listed(a.field('Measurement error too large, removed:\t')), too_large)
    gs = [g for g in gs if g.name not in too_large]
    ck.text('groups of the lines table', [name for name, _ in a.groups], [g.name for g in gs])
    check_lines(ck, h, gs, a.groups, a.columns, with_r)
    ck.text('common slope block', a.next_block, ('No groups: no test for common slope',
            'Single group: no test for common slope', 'TEST FOR COMMON SLOPE ACROSS GROUPS')[min(len(gs), 2)])
    if a.common is not None:
        # A common slope that did not settle is the iteration's last step, as the console says.
        _, last, settled = iterate_common(gs, method, h['iterations'])
        c, B = a.common, common_slope(gs, method) if settled else last
        p = pvalue(gs, h, stat(gs, h, B))
        for kind, x, slack in (('common groups', len(gs), 0), ('common points', sum(g.n for g in gs), 0),
                               ('common slope', B, STEP * min(1, abs(B))), ('T', stat(gs, h, B), 0), ('common p', p, 0)):
            ck.num(kind, c[kind], x, slack)
        # Common when p is above the critical p; printed p-values are rounded, so the p itself decides.
        agree = (p if p is not None else float(c['common p'])) > h['crit']
        ck.text('common slope interval shown', 'common low' in c, agree)
        if agree:
            # The program's slope may stop short by STEP (relative below 1): the limits may
            # move as much as they do over that stretch of slopes.
            limits = common_limits(gs, h, B)
            near = [common_limits(gs, h, B + d * STEP * min(1, abs(B))) for d in (-1, 1)]
            for k, item in enumerate(('low', 'high')):
                slack = max(abs(v[k] - limits[k]) for v in near) if np.isfinite(limits[k]) else 0
                ck.num(f'common slope limit {item}', c[f'common {item}'], limits[k], slack)
        if agree and 'common H0' in c:
            ck.num('common slope X2 of H0_b', c['common X2'], stat2(gs, h, B, float(c['common H0'])))
            ck.num('common slope p of H0_b', c['common H0 p'], stats.chi2.sf(stat2(gs, h, B, float(c['common H0'])), 1))
    if a.slope_pairs:
        def slope_pair(pg):
            s = common_slope(pg, method)
            return s, stat(pg, h, s), pvalue(pg, h, stat(pg, h, s))
        check_pairs(ck, h, a.slope_pairs, gs, pair_cells(gs, slope_pair), [slope(g.S, method) for g in gs], 'slope')
    if a.grand:
        N = sum(g.n for g in gs)
        grand = lambda f: sum(g.n * f(g) for g in gs) / N  # of every point, or the groups' robust means weighed
        X, Y = grand(lambda g: g.mx), grand(lambda g: g.my)
        F, R = grand(lambda g: mean_score(g, method, B, 1)), grand(lambda g: mean_score(g, method, B, 0))
        for item, kind, x in zip(('slope', 'X', 'Y', 'F', 'R'), ('lines slope', 'grand x', 'grand y', 'grand f', 'grand r'),
                                 (B, X, Y, F, R)):
            ck.num(f'comparison {item}', a.grand[kind], x, STEP * min(1, abs(B)) if item == 'slope' else 0)
        ck.text('groups of the lines at the common slope', [name for name, _ in a.at_common], [g.name for g in gs])
        for g, (_, row) in zip(gs, a.at_common):
            a0 = g.my - B * g.mx
            for kind, x in zip(LINES_ROW, (g.n, g.r2, a0, a0 + B * X, (Y - a0) / B, g.my, g.mx,
                                           mean_score(g, method, B, 1), mean_score(g, method, B, 0))):
                ck.num(f'comparison {g.name} {kind}', row[kind], x)
    for w in a.wald:
        label, axis = w['test'], 0 if w['test'] == 'elevation' else 1
        W, p, common, means = wald(gs, h, B, axis)
        # The program's common slope may stop short by STEP (relative below 1): the
        # statistics may move as much as they do over that stretch of slopes.
        near = [wald(gs, h, B + d * STEP * min(1, abs(B)), axis)[:3] for d in (-1, 1)]
        slack = [max(abs(v[k] - x) for v in near) if np.isfinite(x) else 0 for k, x in enumerate((W, p, common))]
        for item, kind, x, d in zip(('df', 'stat', 'p'), ('df', 'W', 'p'), (len(gs) - 1, W, p), [0] + slack):
            ck.num(f'{label} Wald {item}', w[kind], x, d)
        if p > h['crit']:
            ck.num(f'{label} Wald A_com', w['common'], common, slack[2])
        else:
            ck.text(f'{label} A_com', w.get('common'), 'na')
        ck.text(f'{label} verdict', w['verdict'].startswith('Significant'), p < h['crit'])
        if w['pairs']:
            def shift_pair(pg):
                W2, p2, _, m = wald(pg, h, B, axis)
                return abs(m[1] - m[0]), abs(m[1] - m[0]) / np.sqrt(W2), 1, p2
            check_pairs(ck, h, w['pairs'], gs, pair_cells(gs, shift_pair), means, label)
    for text in a.transformed:
        ck.num('slope of the transformed data', text, B, STEP * min(1, abs(B)))


# ---- sessions ------------------------------------------------------------------------

def resampling_tests(stdout):
    """(report file, resampled?) of each common-slope test of a dialogue: the settings
    screen shown last before it on the console tells; a report holds the last
    analyses sent to it."""
    out, resample, tests = 'output.txt', True, []
    for m in re.finditer(r'O - Output File: *(.*)|R - Resample: *(\w+)|TEST FOR COMMON SLOPE ACROSS GROUPS',
                         stdout.read_bytes().decode('latin-1') if stdout.exists() else ''):
        if m[1] is not None:
            out = m[1].strip()
        elif m[2]:
            resample = m[2] == 'Yes'
        else:
            tests.append((out, resample))
    return tests


def check_session(session, with_r):
    files, folder = {}, session / 'out' / 'files'
    for f in sorted(folder.rglob('*')) + [session / 'out' / 'stdout']:
        found = analyses(f.read_bytes().decode('latin-1') if f.is_file() else '')
        if found:
            files['stdout' if f.parent.name == 'out' else f.relative_to(folder).as_posix()] = found
    if not files:
        return None
    given = [session / 'args', session / 'command']  # options one per line, or a command line
    args = next((f.read_text().split() for f in given if f.exists()), [])
    seed = int(args[args.index('--seed') + 1]) if '--seed' in args else 1
    adjust = next((a.split('=')[1] for a in args if a.startswith('--adjust=')),
                  args[args.index('--adjust') + 1] if '--adjust' in args else 'none')
    if {'-y', '--y'} & set(args):  # one analysis from options: its report file and p-value source
        out = args[args.index('-o') + 1] if '-o' in args else 'stdout'
        tests = [(out, '--chi-squared' not in args)]
    else:
        tests = resampling_tests(session / 'out' / 'stdout')
    jobs = []
    for name, blocks in files.items():
        tested = [k for k, a in enumerate(blocks) if 'TEST FOR COMMON SLOPE ACROSS GROUPS' in a]
        run = [k for k, t in enumerate(tests) if t[0] == name][-len(tested):] if tested else []
        at = dict(zip(tested, run)) if len(run) == len(tested) else {}
        jobs += [(at.get(k, -1), f'{name} analysis {k + 1}', a) for k, a in enumerate(blocks)]
    # Past a resampling test whose report is gone, the generator's state is unknown.
    lost = min((k for k, t in enumerate(tests) if t[1] and k not in {j[0] for j in jobs}), default=len(tests))
    ck = Checker()
    LIBC.srand(seed)
    for run, where, lines in sorted(jobs, key=lambda j: j[0]):
        ck.where, resampled = where, 0 <= run < len(tests) and tests[run][1]

        def pvalue(gs, h, T):
            return replay(gs, h) if resampled and run < lost else None if resampled else chisq(T, len(gs) - 1)
        try:
            check_analysis(ck, session, lines, pvalue, adjust, with_r)
        except Exception as e:  # a report that does not read as the program writes it
            ck.fail('report', type(e).__name__, f'a readable analysis ({e})')
    return ck


def main(args):
    failed, checked, with_r = False, [], []
    for session in (s for s in map(Path, args) if s.is_dir()):
        ck = check_session(session, with_r)
        if ck:
            checked.append((session, ck))
    check_with_r(with_r)
    for session, ck in checked:
        failed |= bool(ck.bad)
        print(f'FAIL {session.name}: {len(ck.bad)} of {ck.count} numbers differ' if ck.bad
              else f'ok {session.name}: {ck.count} numbers checked')
        print(''.join(f'  {line}\n' for line in ck.bad), end='')
    print(f'{len(with_r)} OLS lines compared with R\'s lm')
    return int(failed)


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
