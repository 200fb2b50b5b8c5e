"""Progress on a terminal, by the thresholds of src/cli/progress_line.h: a run
from options whose reading passes 2e7 bytes, or whose resampling passes 1e8
points times resamples, draws one line on standard error when it is a terminal
(a pseudo-terminal here), rewritten in place and erased at the end; nothing
when standard error is not a terminal, nor with --quiet.
    python3 progress_check.py KORVEL"""
import atexit, os, pty, random, re, shutil, subprocess, sys, tempfile

KORVEL, WORK = os.path.abspath(sys.argv[1]), tempfile.mkdtemp()
atexit.register(shutil.rmtree, WORK, True)
faults = []

def check(ok, what):
    if not ok:
        faults.append(what)

def run(args, terminal=True, stdin=None):
    """The report and what standard error got: a pseudo-terminal's bytes, or a pipe's."""
    master, slave = pty.openpty() if terminal else os.pipe()
    with open(os.path.join(WORK, 'report.txt'), 'wb') as out:
        p = subprocess.Popen([KORVEL, *args], cwd=WORK, stdin=stdin, stdout=out, stderr=slave)
    os.close(slave)
    got = b''
    while True:
        try:
            chunk = os.read(master, 1 << 16)
        except OSError:  # the terminal is gone with the program
            break
        if not chunk:
            break
        got += chunk
    os.close(master)
    check(p.wait() == 0, f'{args}: exit status {p.returncode}: {got[-300:]}')
    return open(os.path.join(WORK, 'report.txt')).read(), got.decode()

def shown(err, stage, amount):  # the amounts drawn for the stage, each a line rewritten in place
    drawn = re.findall(r'\rkorvel: ' + stage + r': (' + amount + r')(?:, (?:\d+ min )?\d+ s left)? *(?=\r)', err)
    check(drawn, f'no progress of {stage} in {err[:300]!r}')
    check(err.endswith('\r') and set(err[err.rfind('\r', 0, -1) + 1:-1]) <= {' '}, f'{stage}: the line not erased: {err[-100:]!r}')
    check('\n' not in err, f'{stage}: a line end on standard error: {err[:300]!r}')
    return drawn

random.seed(3)
big = os.path.join(WORK, 'big.txt')  # 1,000,000 lines of 22 bytes: past the threshold of reading
with open(big, 'w') as f:
    f.write('y\tx\n' + ''.join(f'{random.uniform(10, 20):.6f}\t{i % 1000 + 1:.6f}\n' for i in range(10 ** 6)))
size = os.path.getsize(big) / 1e6
for args, stdin in ((['big.txt'], None), (['-'], open(big))):
    report, err = run(['-y', 'y', '-x', 'x', '--chi-squared', *args], stdin=stdin)
    check(report.endswith('-' * 100 + '\n\n'), f'{args}: the report not whole')
    if stdin:
        got = shown(err, 'reading the data', r'[\d.]+ MB')
        check(float(got[-1].split()[0]) == round(size, 1), f'reading the data: last {got[-1]}, not {size:.1f} MB')
    for stage in ('counting the lines', 'reading the columns'):
        got = [float(a.split()[0]) for a in shown(err, stage, rf'[\d.]+ of {size:.1f} MB')]
        check(got == sorted(got) and len(got) > 5, f'{stage}: {got}')
for args, terminal in ((['--quiet'], True), ([], False)):
    report, err = run(['-y', 'y', '-x', 'x', '--chi-squared', *args, 'big.txt'], terminal)
    check(err == '', f'{args}, on a terminal {terminal}: {err[:200]!r}')

# 2 groups of 50,000 points resampled 1000 times: 1e8 points resampled, a few seconds.
with open(os.path.join(WORK, 'two.txt'), 'w') as f:
    f.write('g\ty\tx\n' + ''.join(f'{"ab"[i % 2]}\t{random.gauss(i % 97, 5):.5f}\t{i % 97 + 1}\n' for i in range(10 ** 5)))
report, err = run(['-y', 'y', '-x', 'x', '-g', 'g', '-n', '1001', 'two.txt'])
got = [int(a.split()[0]) for a in shown(err, 'resampling', r'\d+ of 1000')]
check(got == list(range(10, 1001, 10)), f'resampling: {got}')

print('\n'.join(faults) or 'ok: progress on a terminal only, erased, silenced by --quiet')
sys.exit(1 if faults else 0)
