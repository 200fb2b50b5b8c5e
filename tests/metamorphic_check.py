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

# Data set: file, Y, X, grouping variable, new names of its groups (which reverse their order).
SETS = [('cats', 'Hwt', 'Bwt', 'Sex', {'F': 'zF', 'M': 'aM'}),
        ('iris', 'Petal.Width', 'Petal.Length', 'Species',
         {'setosa': 'z-setosa', 'versicolor': 'm-versicolor', 'virginica': 'a-virginica'})]


def scaled(k):
    return lambda v: v * k


same = scaled(1)
# Relation: name, applies(method, origin), change of the rows (y, x, group), map of slopes,
# map of intercepts (None: not compared), the kinds of value compared (None: all). The Wald
# tests are not invariant when Y and X swap: the slope enters their scores nonlinearly.
RELATIONS = [
    ('X times 1000', lambda m, o: m != 'ma', lambda y, x, g: (y, x * 1000, g), scaled(1e-3), same, None),
    ('Y times 1000', lambda m, o: m != 'ma', lambda y, x, g: (y * 1000, x, g), scaled(1e3), scaled(1e3), None),
    ('X plus 10', lambda m, o: not o, lambda y, x, g: (y, x + 10, g), same, None, None),
    ('Y plus 10', lambda m, o: not o, lambda y, x, g: (y + 10, x, g), same, None, None),
    ('Y and X swapped', lambda m, o: m == 'sma', lambda y, x, g: (x, y, g), lambda v: 1 / v, None,
     {'R2', 'p', 'slope', 'low', 'upp', 'common slope', 'common low', 'common upp', 'T', 'common p', 'pair slope',
      'pair T', 'slope pairs pair p'}),
    ('groups renamed', lambda m, o: True, None, same, same, None),
    ('lines duplicated', lambda m, o: True, None, same, same, {'slope', 'R2'}),
    ('lines shuffled', lambda m, o: True, None, same, same, None),
]
SLOPES = {'slope', 'low', 'upp', 'common slope', 'common low', 'common upp', 'pair slope'}
INTERCEPTS = {'interc', 'interc low', 'interc upp'}
# The Wald tests are taken at the common slope, which stops within 1e-4 of its fixed point
# (relative below 1): their statistics may move by about as much, more than their digits.
AT_COMMON_SLOPE = 2e-3
LIMITS = {'low': 'upp', 'upp': 'low', 'common low': 'common upp', 'common upp': 'common low'}


def printed(text):
    """A printed number as (value, half a unit of its last digit)."""
    t = text.strip()
    if t in ('nan', '-nan', 'inf', '-inf'):
        return float(t.lstrip('-')) * (-1 if t == '-inf' else 1), 0.0
    return float(t), 0.5 * 10.0 ** -(len(t.split('.')[1]) if '.' in t else 0)


def values(report):
    """{(kind, groups): printed value} of every statistic in the report of one analysis."""
    lines, found, table = report.split('\n'), {}, None
    add = lambda kind, groups, text: found.__setitem__((kind, frozenset(groups)), printed(text))
    for i, line in enumerate(lines):
        if line.endswith(' results'):
            for row in lines[i + 2:]:
                if not row:
                    break
                c = row.split('\t')
                for kind, text in zip(('R2', 'p', 'slope', 'low', 'upp', 'interc', 'interc low', 'interc upp'), c[2:]):
                    add(kind, [c[0].strip()], text)
        elif line.startswith('Grps'):
            c = lines[i + 1].split('\t')
            for kind, text in zip(('common slope', 'common low', 'common upp'), c[2:5]):
                if text.strip():
                    add(kind, [], text)
        elif line.startswith('Test statistic:'):
            add('T', [], line.split('\t')[1])
            add('common p', [], line.split('\t')[3])
        elif line.startswith('Testing for shifts'):
            table = 'elevation' if 'elevation' in line else 'shift'
            c = lines[i + 2].split('\t')
            add(table + ' W', [], c[1])
            add(table + ' p', [], c[2])
        elif line.startswith('Common slope, test stat'):
            table = 'slope pairs'
            names = [n.strip() for n in lines[i + 1].split('\t')[1:] if n.strip()]
            for row in lines[i + 2:i + 2 + len(names)]:
                cells = row.split('\t')
                for name, cell in zip(names, cells[1:]):
                    if name != cells[0].strip():
                        s, t, _ = cell.strip()[1:-1].split(',')
                        add('pair slope', [name, cells[0].strip()], s)
                        add('pair T', [name, cells[0].strip()], t)
        elif line == 'p-values only':
            names = [n.strip() for n in lines[i + 1].split('\t')[1:] if n.strip()]
            for row in lines[i + 2:i + 2 + len(names)]:
                cells = row.split('\t')
                for name, text in zip(names, cells[1:]):
                    if name != cells[0].strip():
                        add(table + ' pair p', [name, cells[0].strip()], text)
    return found


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
