#!/usr/bin/python3
"""Usage: metamorphic_check.py KORVEL CATS IRIS

Metamorphic relations of the statistics, run on the program by its options: each data
set is analysed as it is and again changed (units, translation, Y and X swapped, groups
renamed, lines duplicated or shuffled), for each method, with and without an intercept,
with chi-squared p-values. Every printed statistic must move as the mathematics says,
within the rounding of the printed digits."""
import math
import random
import subprocess
import sys
import tempfile
from pathlib import Path

from report_text import values

# Data set: file, Y, X, grouping variable, new names of its groups (which reverse their order).
SETS = [('cats', 'Hwt', 'Bwt', 'Sex', {'F': 'zF', 'M': 'aM'}),
        ('iris', 'Petal.Width', 'Petal.Length', 'Species',
         {'setosa': 'z-setosa', 'versicolor': 'm-versicolor', 'virginica': 'a-virginica'})]


def scaled(k):
    return lambda v: v * k


same = scaled(1)
SLOPES = {'slope', 'slope low', 'slope high', 'common slope', 'common low', 'common high', 'slope pairs pair slope',
          'lines slope'}
INTERCEPTS = {'intercept', 'intercept low', 'intercept high'}
FREE = {'n', 'r2', 'p', 'T', 'common p', 'common groups', 'common points', 'groups analysed', 'points analysed',
        'left out', 'lines n', 'lines r2', 'slope pairs pair T', 'slope pairs pair p', 'slope pairs pair cell p'} | {
    f'{test} {kind}' for test in ('elevation', 'shift') for kind in ('df', 'W', 'p', 'pair df', 'pair p', 'pair cell p')}
SCALED = SLOPES | INTERCEPTS | FREE  # the kinds of value compared when units change
# Relation: name, applies(method, origin), change of the rows (y, x, group), map of slopes,
# map of intercepts (None: not compared), the kinds of value compared (None: all, unchanged
# but for slopes and intercepts). The Wald tests are not invariant when Y and X swap: the
# slope enters their scores nonlinearly.
RELATIONS = [
    ('X times 1000', lambda m, o: m != 'ma', lambda y, x, g: (y, x * 1000, g), scaled(1e-3), same, SCALED),
    ('Y times 1000', lambda m, o: m != 'ma', lambda y, x, g: (y * 1000, x, g), scaled(1e3), scaled(1e3), SCALED),
    ('X plus 10', lambda m, o: not o, lambda y, x, g: (y, x + 10, g), same, None, SCALED),
    ('Y plus 10', lambda m, o: not o, lambda y, x, g: (y + 10, x, g), same, None, SCALED),
    ('Y and X swapped', lambda m, o: m == 'sma', lambda y, x, g: (x, y, g), lambda v: 1 / v, None,
     {'r2', 'p', 'slope', 'slope low', 'slope high', 'common slope', 'common low', 'common high', 'T', 'common p',
      'slope pairs pair slope', 'slope pairs pair T', 'slope pairs pair p'}),
    ('groups renamed', lambda m, o: True, None, same, same, None),
    ('lines duplicated', lambda m, o: True, None, same, same, {'slope', 'r2'}),
    ('lines shuffled', lambda m, o: True, None, same, same, None),
]
# The Wald tests are taken at the common slope, which stops within 1e-4 of its fixed point
# (relative below 1): their statistics may move by about as much, more than their digits.
AT_COMMON_SLOPE = 2e-3
LIMITS = {'slope low': 'slope high', 'slope high': 'slope low', 'common low': 'common high', 'common high': 'common low'}


def agree(expected, f, got, relative):
    """The printed interval of got meets f over the printed interval of expected, give or
    take relative |got|."""
    (v, h), (w, k) = expected, got
    if not (math.isfinite(v) and math.isfinite(w)):
        return str(f(v)) == str(w) or (math.isnan(v) and math.isnan(w))
    ends = sorted((f(v - h), f(v + h)))
    slack = relative * abs(w)
    return ends[0] - slack <= w + k and w - k <= ends[1] + slack


def run(korvel, folder, name, header, rows, y, x, g, method, origin):
    path = folder / f'{name}.txt'
    path.write_text('\n'.join('\t'.join(map(str, r)) for r in [header] + rows) + '\n')
    args = [korvel, '-y', y, '-x', x, '-g', g, '-m', method, '--chi-squared', '--slope-pairs', '--shift-pairs']
    args += ['--through-origin'] if origin else ['--elevation-pairs']
    out = subprocess.run(args + [str(path)], capture_output=True, text=True, check=True).stdout
    return values(out)


def main(korvel, cats, iris):
    failures, checked = [], 0
    files = {'cats': cats, 'iris': iris}
    with tempfile.TemporaryDirectory() as tmp:
        folder = Path(tmp)
        for data, y, x, g, names in SETS:
            header, *rows = [line.split('\t') for line in Path(files[data]).read_text().splitlines()]
            iy, ix, ig = header.index(y), header.index(x), header.index(g)
            triples = [(float(r[iy]), float(r[ix]), r[ig]) for r in rows]
            for method in ('ols', 'sma', 'ma'):
                for origin in (False, True):
                    base = run(korvel, folder, 'base', [y, x, g], triples, y, x, g, method, origin)
                    for label, applies, change, fslope, finterc, kinds in RELATIONS:
                        if not applies(method, origin):
                            continue
                        new = [change(*t) for t in triples] if change else list(triples)
                        rename = names if label == 'groups renamed' else {}
                        new = [(a, b, rename.get(c, c)) for a, b, c in new]
                        if label == 'lines duplicated':
                            new = new + new
                        if label == 'lines shuffled':
                            random.Random(7).shuffle(new)
                        other = run(korvel, folder, 'changed', [y, x, g], new, y, x, g, method, origin)
                        where = f'{data} {method}{" through the origin" if origin else ""}, {label}'
                        compared = {k for k in base if kinds is None or k[0] in kinds}
                        if kinds is None and len(base) != len(other):
                            failures.append(f'{where}: {len(base)} values printed, then {len(other)}')
                        for kind, groups in sorted(compared, key=str):
                            f = fslope if kind in SLOPES else finterc if kind in INTERCEPTS else same
                            if f is None:
                                continue
                            moved = LIMITS.get(kind, kind) if label == 'Y and X swapped' else kind
                            key = (moved, frozenset(rename.get(n, n) for n in groups))
                            checked += 1
                            wald = kind.startswith(('elevation', 'shift'))
                            relative = AT_COMMON_SLOPE if wald else 1e-9
                            if key not in other or not agree(base[(kind, groups)], f, other[key], relative):
                                failures.append(f'{where}: {kind} {sorted(groups)}: {base[(kind, groups)][0]} '
                                                f'became {other.get(key, ("missing",))[0]}')
    print(f'{checked} values compared, {len(failures)} do not move as they should')
    print(''.join(f'  {f}\n' for f in failures), end='')
    return int(bool(failures))


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:4]))
