#!/usr/bin/python3
"""Usage: json_check.py KORVEL SCHEMA SESSION_DIR...

The results file (--json) of every recorded run from options (tests/sessions/*/args):
each is run again with --json. The report must be the recorded one byte for byte, the
document must validate against the schema, every number of the report must be the
document's as printed, and the document must hold the reference's independent values
(reference/check_reports.py) at full precision: the lines of the groups, and the tests
at the common slope the document gives."""
import json
import math
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

import jsonschema

from report_text import LINES_ROW, Analysis, agree, analyses, values

sys.path.insert(0, str(Path(__file__).parent / 'reference'))
import check_reports as ref  # noqa: E402

GROUP_KEYS = {'n': 'n', 'r2': 'r2', 'p': 'p', 'slope': 'slope', 'slope low': 'slope_low', 'slope high': 'slope_high',
              'intercept': 'intercept', 'intercept low': 'intercept_low', 'intercept high': 'intercept_high',
              'y mean': 'y_mean', 'x mean': 'x_mean'}
TEST_KEYS = {'slope_test': ('slope H0', 'slope F', 'slope test p'), 'intercept_test': ('intercept H0', 'intercept T',
                                                                                     'intercept test p')}
LINE_KEYS = ('n', 'r2', 'intercept', 'y_at_grand_mean_x', 'x_at_grand_mean_y', 'y_mean', 'x_mean', 'fitted_mean',
             'residual_mean')


def number(obj, key):
    """obj[key], its kind restored when it is not finite."""
    return float(obj[f'{key}_note']) if obj[key] is None else obj[key]


def shown(obj, key):
    """obj[key] as the report shows it: a Wald pair's difference by its size."""
    return abs(number(obj, key)) if key == 'difference' else number(obj, key)


def document_values(doc):
    """{(kind, groups): value} of the document, in the report's kinds (report_text.py)."""
    found = {}
    put = lambda kind, groups, obj, key: found.__setitem__((kind, frozenset(groups)), shown(obj, key))
    for kind, key in (('left out', 'total'),):
        put(kind, [], doc['data']['lines_left_out'], key)
    for kind, key in (('groups analysed', 'groups_analysed'), ('points analysed', 'points_analysed')):
        put(kind, [], doc['data'], key)
    for g in doc['groups']:
        for kind, key in GROUP_KEYS.items():
            put(kind, [g['group']], g, key)
        for test, kinds in TEST_KEYS.items():
            for kind, key in zip(kinds, ('hypothesis', 'F' if test == 'slope_test' else 'T', 'p')):
                if test in g:
                    put(kind, [g['group']], g[test], key)
    t = doc['common_slope_test'] or {}
    for kind, key in (('common groups', 'groups'), ('common points', 'points'), ('common slope', 'slope'),
                      ('common low', 'slope_low'), ('common high', 'slope_high'), ('T', 'statistic'), ('common p', 'p')):
        if key in t:
            put(kind, [], t, key)
    for kind, key in zip(('common H0', 'common X2', 'common H0 p'), ('hypothesis', 'chi_squared', 'p')):
        if 'hypothesised_slope_test' in t:
            put(kind, [], t['hypothesised_slope_test'], key)
    lines = doc['lines_with_common_slope'] or {'groups': []}
    for kind, key in (('lines slope', 'common_slope'), ('grand x', 'grand_mean_x'), ('grand y', 'grand_mean_y'),
                      ('grand f', 'grand_mean_fitted'), ('grand r', 'grand_mean_residual')):
        if key in lines:
            put(kind, [], lines, key)
    for g in lines['groups']:
        for kind, key in zip(LINES_ROW, LINE_KEYS):
            put(kind, [g['group']], g, key)
    tables = [('slope pairs', {'pairs': doc['slope_pairs'] or []})]
    for w in doc['wald_tests']:
        for kind, key in (('df', 'df'), ('W', 'statistic'), ('p', 'p'), ('common', 'common_value')):
            if w[key] is not None:
                put(f"{w['test']} {kind}", [], w, key)
        tables.append((w['test'], {'pairs': w['pairs'] or []}))
    for table, t in tables:
        for pair in t['pairs']:
            groups = [pair['group_a'], pair['group_b']]
            p = 'adjusted_p' if 'adjusted_p' in pair else 'p'
            for kind, key in (('pair slope', 'common_slope'), ('pair T', 'statistic'), ('pair difference', 'difference'),
                              ('pair se', 'standard_error'), ('pair df', 'df'), ('pair cell p', p), ('pair p', p)):
                if key in pair:
                    put(f'{table} {kind}', groups, pair, key)
    return found


def close(ck, item, got, expected, rtol):
    ck.count += 1
    if not math.isclose(got, expected, rel_tol=rtol, abs_tol=1e-300) and not (math.isnan(got) and math.isnan(expected)):
        ck.fail(item, repr(got), f'{expected!r} within {rtol}')


def check_reference(ck, session, report, doc):
    """The reference's values of the lines and of the tests at the document's common slope."""
    h = Analysis(analyses(report)[0]).settings
    if not ref.data_file(session, h['file']):
        return
    *_, gs, too_large = ref.load(session, h)
    gs, method = [g for g in gs if g.name not in too_large], h['method']
    # Robust moments are iterated to 1e-10 of their size, by the program and the reference alike.
    loose = 1e3 if h['robust'] else 1
    for g, d in zip(gs, doc['groups']):
        for item, expected in (('r2', g.r2), ('slope', ref.slope(g.S, method)), ('y_mean', g.my), ('x_mean', g.mx),
                               ('p', ref.correlation_p(g))):
            close(ck, f"{g.name} {item}", number(d, item), expected, (1e-7 if item == 'p' else 1e-9) * loose)
    t = doc['common_slope_test']
    if t and t['slope'] is not None:
        B = t['slope']
        close(ck, 'common slope statistic', number(t, 'statistic'), ref.stat(gs, h, B), 1e-9 * loose)
        if t['p_value_from'] == 'chi-squared':
            close(ck, 'common slope p', number(t, 'p'), ref.chisq(ref.stat(gs, h, B), len(gs) - 1), 1e-7)
        for w in doc['wald_tests']:
            W, p, _, _ = ref.wald(gs, h, B, 0 if w['test'] == 'elevation' else 1)
            close(ck, f"{w['test']} statistic", number(w, 'statistic'), W, 1e-7)
            close(ck, f"{w['test']} p", number(w, 'p'), p, 1e-6)


def check_session(korvel, validator, session):
    args = (session / 'args').read_text().split('\n')[:-1]
    if not {'-y', '--y'} & set(args) or (session / 'out' / 'status').read_text().strip() == '2':
        return None
    ck = ref.Checker()
    ck.where = session.name
    with tempfile.TemporaryDirectory() as tmp:
        for name, source in ref.shared_data(session).items():
            shutil.copyfile(source, Path(tmp) / name)
        if (session / 'in').is_dir():
            shutil.copytree(session / 'in', tmp, dirs_exist_ok=True, symlinks=True)
        stdin = (session / 'stdin').open('rb') if (session / 'stdin').exists() else subprocess.DEVNULL
        run = subprocess.run([korvel] + args + ['--json', 'results.json'], cwd=tmp, stdin=stdin, capture_output=True)
        out = args[args.index('-o') + 1] if '-o' in args and args[args.index('-o') + 1] != '-' else None
        if not (Path(tmp) / 'results.json').exists():
            return None  # a run that ends before its analysis: no report to compare with
        report = (Path(tmp) / out).read_bytes() if out else run.stdout
        recorded = (session / 'out' / ('files/' + out if out else 'stdout')).read_bytes()
        ck.text('report beside the results file', report == recorded, True)
        doc = json.loads((Path(tmp) / 'results.json').read_text())
    for error in validator.iter_errors(doc):
        ck.fail('schema', error.message, '/'.join(map(str, error.absolute_path)))
    # The lines left out by kind: as the warnings count them, and together the report's total.
    out, warned = doc['data']['lines_left_out'], run.stderr.decode('latin-1')
    for key, why in (('not_a_number', 'is not a number'), ('not_above_zero', 'is not above 0')):
        said = re.search(rf'Warning: (\d+) line\(s\) left out: Y or X {why}', warned)
        ck.num(f'lines left out, {key}', str(out[key]), int(said[1]) if said else 0)
    ck.num('lines left out, in all', str(out['total']), out['not_a_number'] + out['not_above_zero'] + out['blank_or_filtered'])
    found = document_values(doc)
    for key, shown in values(report.decode('latin-1')).items():
        ck.count += 1
        if key not in found or not agree(shown, found[key]):
            ck.fail(f'{key[0]} {sorted(key[1])}', shown[0], found.get(key, 'missing'))
    check_reference(ck, session, report.decode('latin-1'), doc)
    # Each Wald pair's difference is signed: group_a's mean score less group_b's.
    means = {g['group']: g for g in (doc['lines_with_common_slope'] or {'groups': []})['groups']}
    for w in doc['wald_tests']:
        score = 'residual_mean' if w['test'] == 'elevation' else 'fitted_mean'
        for pair in w['pairs'] or []:
            a, b = means[pair['group_a']], means[pair['group_b']]
            close(ck, f"{w['test']} difference of {pair['group_a']} and {pair['group_b']}", number(pair, 'difference'),
                  number(a, score) - number(b, score), 1e-15)
    return ck


def main(korvel, schema, *sessions):
    validator = jsonschema.Draft202012Validator(json.loads(Path(schema).read_text()))
    failed = False
    for session in (Path(s) for s in sessions if (Path(s) / 'args').is_file()):
        ck = check_session(korvel, validator, session)
        if ck:
            failed |= bool(ck.bad)
            print(f'{"FAIL" if ck.bad else "ok"} {session.name}: {ck.count} numbers, {len(ck.bad)} differ')
            print(''.join(f'  {line}\n' for line in ck.bad), end='')
    return int(failed)


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
