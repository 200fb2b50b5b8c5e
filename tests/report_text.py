"""A report read from its text as a reader would, the one home of that reading: the checks
that recompute a report (reference/check_reports.py), compare it with its results file
(json_check.py) and with the report of changed data (metamorphic_check.py) share it.

Every value is kept as the text printed; kinds name the numbers ('slope low', 'common p',
'elevation pair se', ...), the same kinds in every check."""
import math
import re
from types import SimpleNamespace

SEP = '-' * 100  # ends each analysis of a report file
METHODS = {'OLS': 0, 'SMA': 1, 'MA': 2}
LINE_COLUMNS = {'n': 'n', 'R2': 'r2', 'p': 'p', 'Slope': 'slope', 'Interc': 'intercept', 'Ymean': 'y mean',
                'Xmean': 'x mean', 'H0_b': 'slope H0', 'F': 'slope F', 'H0_a': 'intercept H0', 'T': 'intercept T'}
COMMON_ROW = ('common groups', 'common points', 'common slope', 'common low', 'common high', 'common H0',
              'common X2', 'common H0 p')
GRAND = ('lines slope', 'grand x', 'grand y', 'grand f', 'grand r')
LINES_ROW = ('lines n', 'lines r2', 'lines intercept', 'y at grand x', 'x at grand y', 'lines y mean', 'lines x mean',
             'fitted mean', 'residual mean')
WALD_ROW = ('df', 'W', 'p', 'common')
PAIR_CELL = {'slope pairs': ('pair slope', 'pair T', 'pair cell p'),
             'wald': ('pair difference', 'pair se', 'pair df', 'pair cell p')}


def printed(text):
    """A printed number as (value, half a unit of its last digit)."""
    t = text.strip()
    if t in ('nan', '-nan', 'inf', '-inf'):
        return float(t.lstrip('-')) * (-1 if t == '-inf' else 1), 0.0
    return float(t), 0.5 * 10.0 ** -(len(t.split('.')[1]) if '.' in t else 0)


def agree(shown, value, slack=1e-9):
    """The number value, rounded as shown (value, half unit), is what is shown."""
    (v, h) = shown
    if not (math.isfinite(v) and math.isfinite(value)):
        return str(v) == str(value) or (math.isnan(v) and math.isnan(value))
    return abs(v - value) <= h + slack * max(1.0, abs(value))


def analyses(text):
    """The lines of each analysis of a report file's text; none when the text is no report."""
    if not re.match(r'(OLS|SMA|MA) analysis', text):
        return []
    return [a.strip('\n').split('\n') for a in text.split(SEP) if a.strip()]


def line_columns(header):
    """The kind of each column of the lines table, by its label and what came before it."""
    kinds, last = [], None
    for label in (c.strip() for c in header.split('\t')[1:]):
        kind = {'LowCI': last + ' low', 'UppCI': last + ' high'}.get(label) if last else None
        if label == 'p' and kinds and kinds[-1] in ('slope F', 'intercept T'):
            kind = kinds[-1].split()[0] + ' test p'
        kind = kind or LINE_COLUMNS.get(label)
        last = kind if kind in ('slope', 'intercept') else last
        kinds.append(kind)
    return kinds


def block(lines, start):
    """The lines from start to the next empty one."""
    return lines[start:lines.index('', start) if '' in lines[start:] else len(lines)]


def listed(text):
    """The names a header line lists, separated by tabs."""
    return [name for name in (text or '').split('\t') if name]


def cells(line, kinds):
    """{kind: cell} of a table row's cells that are not blank."""
    return {k: c for k, c in zip(kinds, line.split('\t')) if k and c.strip()}


def row(line, kinds):
    """A row that starts with its group's name: the name and its cells."""
    name, rest = (line + '\t').split('\t', 1)
    return name.rstrip(' '), cells(rest, kinds)


def pair_table(lines, i, read):
    """{(group, other): read(cell)} of the table of pairs whose heading is lines[i], in the order
    printed (row by row), the cells of a group with itself included."""
    names = [n.rstrip(' ') for n in lines[i + 1].split('\t')[1:] if n.strip()]
    found = {}
    for line in block(lines, i + 2):
        name, *texts = line.split('\t')
        found.update(((name.rstrip(' '), other), read(text)) for other, text in zip(names, texts))
    return found


def pairs(lines, i, kinds):
    """A table of pairs and what follows it: cells {(group, other): [numbers, p-value last]}, the
    adjustment said above it (comparisons, method) or None, p_values {(group, other): p} of the
    p-values only and the sorted significance matrix [[code, group, value, n, marks]]."""
    said = re.fullmatch(r'P-values adjusted for (\d+) comparisons \((\w+)\)', lines[i - 1])
    return SimpleNamespace(kinds=kinds, adjusted=said.groups() if said else None, p_values={}, matrix=[],
                           cells=pair_table(lines, i, lambda cell: cell.strip()[1:-1].split(',')))


class Analysis:
    """One analysis of a report read from its lines: the settings of its header, the fields of the
    header block, the lines table, the common-slope block, the comparison of the lines with the
    common slope, the Wald tests and the tables of pairs."""

    def __init__(self, lines):
        self.head = block(lines, 0)
        self.settings = self.read_settings(lines)
        self.columns, self.groups, self.next_block = [], [], None
        self.common, self.grand, self.at_common, self.wald = None, None, [], []
        self.slope_pairs, self.transformed, table = None, [], None
        for i, line in enumerate(lines):
            if line.endswith(' results'):
                self.columns = line_columns(lines[i + 1])
                self.groups = [row(r, self.columns) for r in block(lines, i + 2)]
                self.next_block = (lines + ['', ''])[i + 3 + len(self.groups)]
            elif line == 'TEST FOR COMMON SLOPE ACROSS GROUPS':
                self.common = cells(lines[i + 2], COMMON_ROW)
                self.common.update(zip(('T', 'common p'), lines[i + 4].split('\t')[1::2]))
            elif line.startswith('Common slope:\t'):
                self.grand = dict(zip(GRAND, line.split('\t')[1::2]))
                self.at_common = [row(r, LINES_ROW) for r in block(lines, i + 3)]
            elif line.startswith('Testing for shifts'):
                self.wald.append(dict(cells(lines[i + 2], WALD_ROW), verdict=lines[i + 3], pairs=None,
                                      test='elevation' if 'elevation' in line else 'shift'))
            elif line.startswith('Common slope, test stat'):
                table = self.slope_pairs = pairs(lines, i, PAIR_CELL['slope pairs'])
            elif line.startswith('Difference, standard error'):
                table = self.wald[-1]['pairs'] = pairs(lines, i, PAIR_CELL['wald'])
            elif line == 'p-values only':
                table.p_values = pair_table(lines, i, str)
            elif line.startswith('Sorted pair-wise'):
                table.matrix = [r.split('\t') for r in block(lines, i + 2)]
            elif line.startswith('Data transformed'):
                self.transformed.append(line.rsplit('= ', 1)[1])

    def field(self, prefix):
        """The rest of the header block's line that starts with prefix, or None."""
        return next((line[len(prefix):] for line in self.head if line.startswith(prefix)), None)

    def read_settings(self, lines):
        """The settings the header block states: method, file, variables, transformation, filters ..."""
        y, x = lines[2].split('\t')[2:4]
        transform, skip = next((t, 3 + len(pre)) for t, pre in enumerate(('log ', 'ln ', ''))
                               if y[3:].startswith(pre) and x[3:].startswith(pre))
        settings, filters, k = lines[3].split('\t'), [], 5
        while not lines[k].startswith('Filtered or empty'):
            name, *entries = lines[k].split('\t')
            filters.append((name, {e.rsplit(' (', 1)[0]: not e.endswith('(0)') for e in entries if e}))
            k += 1
        me = self.field('Measurement Error: ')
        return dict(method=METHODS[lines[0].split(' ')[0]], origin='fitted through origin' in lines[0],
                    me_on='Methods of Moments' in lines[0], robust='robust (Huber' in lines[0],
                    file=lines[1].split('\t', 1)[1],
                    grp=lines[2].split('\t')[1], y=y[skip:], x=x[skip:], transform=transform,
                    iterations=int(settings[1]), crit=float(settings[3]), conf=float(settings[5].rstrip('%')),
                    filters=filters, min_size=int(re.search(r'less than (-?\d+)', lines[k + 1])[1]), me_text=me,
                    me=(0.0, 0.0) if me in (None, 'Not included') else [float(p.rsplit(' = ')[-1])
                                                                         for p in me.split('\t')])


def values(report):
    """{(kind, groups): printed value} of every number in the report of one analysis."""
    a = Analysis(analyses(report)[0])
    heads = {'left out': 'Filtered or empty data points:\t', 'groups analysed': 'No. groups:\t',
             'points analysed': 'No. datapoints:\t'}
    found = [(kind, [], a.field(head)) for kind, head in heads.items() if a.field(head) is not None]
    found += [(kind, [name], text) for name, row_cells in a.groups + a.at_common for kind, text in row_cells.items()]
    found += [(kind, [], text) for kind, text in {**(a.common or {}), **(a.grand or {})}.items()]
    found += [(f"{w['test']} {k}", [], w[k]) for w in a.wald for k in WALD_ROW if w.get(k, 'na').strip() != 'na']
    for table, pairs in [('slope pairs', a.slope_pairs)] + [(w['test'], w['pairs']) for w in a.wald]:
        for (name, other), cell in (pairs.cells.items() if pairs else ()):
            found += [(f'{table} {kind}', [name, other], text) for kind, text in zip(pairs.kinds, cell) if other != name]
            if other != name and pairs.p_values:
                found.append((f'{table} pair p', [name, other], pairs.p_values[name, other]))
    return {(kind, frozenset(groups)): printed(text) for kind, groups, text in found}
