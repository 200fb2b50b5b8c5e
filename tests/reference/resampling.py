#!/usr/bin/python3
"""Independent replay of the resampling p-value of the common-slope test.

The program shuffles the pooled residuals with the C library's rand(), never
seeded, in a fresh process.  This script calls the same C library generator
(through ctypes, in its own fresh process, so the sequence starts from the
same state) and redoes every resample from the formulas: pool the residuals
(residual-axis score less the group's intercept), shuffle, rebuild each
group's points from its fitted-axis scores, refit, re-estimate the common
slope and count the statistics that exceed the observed one.

Run:  /usr/bin/python3 resampling.py N METHOD...   (one p-value per test)
"""

import ctypes
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import reference as ref  # noqa: E402

libc = ctypes.CDLL("libc.so.6")

HERE = os.path.dirname(os.path.abspath(__file__))
CATS = os.path.join(HERE, "..", "..", "examples", "input.txt")


def fitted_score(method, x, y, b):
    return x if method == 0 else (y + b * x if method == 1 else x + b * y)


def refit(X, Y, method, has_int):
    n = len(X)
    g = {"n": n, "Xmean": sum(X) / n, "Ymean": sum(Y) / n}
    g["SXX"] = ref.variance(X, X, has_int)
    g["SYY"] = ref.variance(Y, Y, has_int)
    g["SXY"] = ref.variance(X, Y, has_int)
    return g


def resampling_p(names, data, method, has_int, N):
    groups = [ref.fit_group(list(data[k][0]), list(data[k][1]), method, has_int, 95.0) for k in names]
    b, _, _ = ref.fit_common(groups, method, limit=N)
    T0 = ref.common_stat(groups, method, has_int, b)
    # Pool, groups in name order, points in stored order.
    fitted, interc, pool = [], [], []
    for g in groups:
        a = g["Ymean"] - b * g["Xmean"] if has_int else 0.0
        interc.append(a)
        fitted.append([fitted_score(method, x, y, b) for x, y in zip(g["X"], g["Y"])])
        pool += [y - b * x - a for x, y in zip(g["X"], g["Y"])]
    count, done, attempts = 1, 0, 0
    while done < N - 1:
        if attempts == 100 * N:
            # Bounded: at most 100 N attempts; p over the resamples that counted.
            return count, 1 + done
        attempts += 1
        for i in range(1, len(pool)):
            j = libc.rand() % (i + 1)
            pool[i], pool[j] = pool[j], pool[i]
        m = 0
        copies = []
        for gi, g in enumerate(groups):
            X, Y = list(g["X"]), list(g["Y"])
            a = interc[gi]
            for k in range(len(X)):
                F, r = fitted[gi][k], pool[m]
                if method == 0:
                    Y[k] = b * F + r + a
                elif method == 1:
                    Y[k] = (F + r + a) * 0.5
                    X[k] = (0.5 / b) * (F - r - a)
                else:
                    Y[k] = (b * F + r + a) / (b * b + 1)
                    X[k] = (F - b * (r + a)) / (b * b + 1)
                m += 1
            copies.append(refit(X, Y, method, has_int))
        bstar, _, iterations = ref.fit_common(copies, method, limit=N)
        if not N > iterations:
            continue
        done += 1
        if ref.common_stat(copies, method, has_int, bstar) > T0:
            count += 1
    return count, N


def main():
    """Arguments: N, then the methods of consecutive tests in one run (the
    generator's state carries over from one test to the next)."""
    N = int(sys.argv[1]) if len(sys.argv) > 1 else 99
    methods = [int(a) for a in sys.argv[2:]] or [1]
    names, data, _ = ref.load_groups(CATS, 0, 2, 1, "none")
    for method in methods:
        count, divisor = resampling_p(names, data, method, True, N)
        print("method %d N %d count %d divisor %d p %.10g" % (method, N, count, divisor, count / divisor))


if __name__ == "__main__":
    main()
