"""The numbers of a report of one analysis, read from its text as a reader would: the
checks that compare reports (metamorphic_check.py) and a report with its results file
(json_check.py) share this reading."""
import math

LINE_COLUMNS = {'n': 'n', 'R2': 'r2', 'p': 'p', 'Slope': 'slope', 'Interc': 'intercept', 'Ymean': 'y mean',
                'Xmean': 'x mean', 'H0_b': 'slope H0', 'F': 'slope F', 'H0_a': 'intercept H0', 'T': 'intercept T'}
LINES_ROW = ('lines n', 'lines r2', 'lines intercept', 'y at grand x', 'x at grand y', 'lines y mean', 'lines x mean',
             'fitted mean', 'residual mean')


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


def values(report):
    """{(kind, groups): printed value} of every number in the report of one analysis."""
    lines, found, table = report.split('\n'), {}, None
    add = lambda kind, groups, text: found.__setitem__((kind, frozenset(groups)), printed(text))
    named = lambda row: (row.split('\t')[0].strip(), row.split('\t')[1:])
    for i, line in enumerate(lines):
        for label, kind in (('Filtered or empty data points:', 'left out'), ('No. groups:', 'groups analysed'),
                            ('No. datapoints:', 'points analysed')):
            if line.startswith(label + '\t'):
                add(kind, [], line.split('\t')[1])
        if line.endswith(' results'):
            kinds = line_columns(lines[i + 1])
            for row in lines[i + 2:lines.index('', i + 2)]:
                name, cells = named(row)
                for kind, text in zip(kinds, cells):
                    if kind and text.strip():
                        add(kind, [name], text)
        elif line.startswith('Grps'):
            for kind, text in zip(('common groups', 'common points', 'common slope', 'common low', 'common high',
                                   'common H0', 'common X2', 'common H0 p'), lines[i + 1].split('\t')):
                if text.strip():
                    add(kind, [], text)
        elif line.startswith('Test statistic:'):
            add('T', [], line.split('\t')[1])
            add('common p', [], line.split('\t')[3])
        elif line.startswith('Common slope:\t'):
            for kind, text in zip(('lines slope', 'grand x', 'grand y', 'grand f', 'grand r'), line.split('\t')[1::2]):
                add(kind, [], text)
            for row in lines[i + 3:lines.index('', i + 3)]:
                name, cells = named(row)
                for kind, text in zip(LINES_ROW, cells):
                    add(kind, [name], text)
        elif line.startswith('Testing for shifts'):
            table = 'elevation' if 'elevation' in line else 'shift'
            for kind, text in zip(('df', 'W', 'p', 'common'), lines[i + 2].split('\t')):
                if text.strip() != 'na':
                    add(f'{table} {kind}', [], text)
        elif line.startswith(('Common slope, test stat', 'Difference, standard error')):
            table = 'slope pairs' if line.startswith('Common') else table
            kinds = ('pair slope', 'pair T', 'pair cell p') if table == 'slope pairs' else (
                'pair difference', 'pair se', 'pair df', 'pair cell p')
            names = [n.strip() for n in lines[i + 1].split('\t')[1:] if n.strip()]
            for row in lines[i + 2:i + 2 + len(names)]:
                name, cells = named(row)
                for other, cell in zip(names, cells):
                    for kind, text in zip(kinds, cell.strip()[1:-1].split(',') if other != name else ()):
                        add(f'{table} {kind}', [name, other], text)
        elif line == 'p-values only':
            names = [n.strip() for n in lines[i + 1].split('\t')[1:] if n.strip()]
            for row in lines[i + 2:i + 2 + len(names)]:
                name, cells = named(row)
                for other, text in zip(names, cells):
                    if other != name:
                        add(f'{table} pair p', [name, other], text)
    return found
