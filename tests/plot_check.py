"""Runs korvel from options on data written here, renders each figure in each
format (SVG with rsvg-convert, PDF with pdftoppm, PNG as written) and checks
the pixels, and the PDF's words with their boxes (pdftotext), against the data,
the report and the saved scores by the layout documented in src/plot/plot.h.
    python3 plot_check.py KORVEL"""
import atexit, io, json, math, os, random, re, shutil, subprocess, sys, tempfile
import numpy
from PIL import Image, ImageDraw
from scipy.stats import norm

KORVEL, WORK = os.path.abspath(sys.argv[1]), tempfile.mkdtemp()
atexit.register(shutil.rmtree, WORK, True)
COLOURS = [(0, 114, 178), (213, 94, 0), (0, 158, 115), (204, 121, 167), (86, 180, 233), (230, 159, 0), (0, 0, 0)]
GREY, WHITE, BLACK = (102, 102, 102), (255, 255, 255), (0, 0, 0)
faults = []

def light(c): return tuple(round(v + 0.55 * (255 - v)) for v in c)
def near(c, t, tol=45): return max(abs(u - v) for u, v in zip(c, t)) <= tol
def between(c, a, b, tol=30):  # c is a mix of colours a and b
    k = max(range(3), key=lambda i: abs(b[i] - a[i]))
    t = max(0, min(1, (c[k] - a[k]) / (b[k] - a[k])))
    return near(c, [u + t * (v - u) for u, v in zip(a, b)], tol)
def dist(p, a, b):  # from p to the segment a-b
    t = max(0, min(1, ((p[0] - a[0]) * (b[0] - a[0]) + (p[1] - a[1]) * (b[1] - a[1])) / (math.dist(a, b) ** 2 or 1)))
    return math.dist(p, (a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])))
def check(ok, what):
    if not ok: faults.append(what)

def run(data, name, *options, group='group', yname='y'):
    with open(os.path.join(WORK, name), 'w') as f:
        f.write(f'{group}\t{yname}\tx\n' + ''.join(f'{g}\t{y:.6g}\t{x:.6g}\n' for g, y, x in data))
    subprocess.run([KORVEL, '-y', yname, '-x', 'x', '--chi-squared', '-o', 'report.txt', '--json', 'results.json', *options,
                    name], cwd=WORK, check=True, capture_output=True)
    return [line.rstrip('\n').split('\t') for line in open(os.path.join(WORK, 'report.txt'))]

def fitted():  # each group's (intercept, slope) of the last run, at full precision
    return {g['group']: (g['intercept'], g['slope']) for g in json.load(open(os.path.join(WORK, 'results.json')))['groups']}

def render(name, width, zoom=1):  # the image and its pixels per unit, of the documented size
    path = os.path.join(WORK, name)
    if name.endswith('.svg'):
        img = Image.open(io.BytesIO(subprocess.run(['rsvg-convert', '-z', str(zoom), path], check=True, capture_output=True).stdout))
    elif name.endswith('.pdf'):
        subprocess.run(['pdftoppm', '-r', '72', '-png', '-singlefile', path, path], check=True)
        img = Image.open(path + '.png')
    else:
        img = Image.open(path)
    s = 2 if name.endswith('.png') else zoom
    check(img.size == (width * s, 480 * s), f'{name}: {img.size}, not {width} x 480 units')
    img = img.convert('RGB')
    return lambda x, y: img.getpixel((min(int(x * s), img.width - 1), min(int(y * s), img.height - 1))), img, s

def words(name):  # (text, xMin, yMin, xMax, yMax, size, baseline) of the PDF; DejaVu Sans: ascent 0.928, descent 0.236
    out = subprocess.run(['pdftotext', '-bbox', os.path.join(WORK, name), '-'], check=True, capture_output=True, text=True).stdout
    found = []
    for x0, y0, x1, y1, t in re.findall(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)<', out):
        x0, y0, x1, y1 = map(float, (x0, y0, x1, y1))
        found.append((t, x0, y0, x1, y1, (y1 - y0) / 1.164, y0 + 0.928 * (y1 - y0) / 1.164))
    return found

def frame(xs, ys, left=80, right=500, zero=False, ends=()):  # value -> units, by the documented ranges, lines' (x, y) ends too
    xs, ys = list(xs) + [e[0] for e in ends], list(ys) + [e[1] for e in ends]
    def rng(v):
        lo, hi = min(v + [0] * zero), max(v + [0] * zero)
        pad = 0.05 * (hi - lo) if hi > lo else max(1, 0.05 * abs(lo))
        return lo - pad, hi + pad
    (xlo, xhi), (ylo, yhi) = rng(xs), rng(ys)
    return lambda x, y: (left + (right - left) * (x - xlo) / (xhi - xlo), 410 - 360 * (y - ylo) / (yhi - ylo))

def ticks(ws, at, log, left=80, right=500):  # tick labels below and left of the box, at the value they read
    xs = [w for w in ws if 418 < w[2] < 422 and left - 30 < w[1] and w[3] < right + 30]
    ys = [w for w in ws if abs(w[3] - (left - 8)) < 0.1 and 40 < w[2] < 420]
    check(len(xs) >= 3 and len(ys) >= 3, f'{len(xs)} X and {len(ys)} Y tick labels')
    for w in xs + ys:
        v = float(w[0].replace('\u2212', '-'))
        px, py = at(log(v) if log else v, log(v) if log else v)
        if w in xs:
            check(abs((w[1] + w[3]) / 2 - round(px) - 0.5) < 0.1 and abs(w[6] - 429) < 0.1, f'X label {w[0]} at {w[1:3]}, tick at {px:.1f}')
        else:
            check(abs((w[2] + w[4]) / 2 - round(py) - 0.5) < 0.6, f'Y label {w[0]} at {w[2]:.1f}, tick at {py:.1f}')
        check(abs(w[5] - 11) < 0.05 and float(f'{v:.2g}') == v, f'tick label {w[0]}: size {w[5]:.2f} or not round')
        # Decimals, or a short exponent ("2e5", "1.5e-6") for values from 1e5 up or below 1e-4 (on a log axis: only those).
        big = abs(v) >= 1e5 or 0 < abs(v) < 1e-4
        form = re.fullmatch('\\u2212?(\\d+(\\.\\d+)?|[1-9](\\.\\d+)?e\\u2212?[1-9]\\d*)', w[0])
        check(form and (('e' in w[0]) == big if log else big <= ('e' in w[0])), f'tick label {w[0]}: not of its form')
    return [w[0] for w in xs], [w[0] for w in ys]

def outline(pixel, what, *boxes):  # each box's outline where plot.h puts it, and nothing drawn just outside
    for left, right in boxes:
        check(all(near(pixel(left - 1, y), BLACK, 60) and near(pixel(right, y), BLACK, 60) for y in (100, 230, 370)) and
              all(near(pixel(x, 49), BLACK, 60) and near(pixel(x, 410), BLACK, 60) for x in (left + 30, right - 30)),
              f'{what}: no box from {left} to {right}')
        outside = [(x, y) for y in range(40, 48) for x in range(left, right + 1, 5)] + [
            (x, y) for x in range(right + 2, right + 11) for y in range(50, 411)]  # every row: no stray line crosses
        check(all(pixel(*p) == WHITE for p in outside), f'{what}: something drawn just outside the box {left}-{right}')

def legend_text(ws, x, what):  # the rows F and M 30 right of the column, centred on their rows (capitals: 0.2 low)
    rows = [(w[1], (w[2] + w[4]) / 2, w[5]) for w in ws if w[0] in ('F', 'M') and w[1] > x - 1]
    check(len(rows) == 2 and all(abs(r[0] - x) < 0.1 and abs(r[1] - 58.2 - 15 * i) < 0.3 and abs(r[2] - 11) < 0.05
                                 for i, r in enumerate(rows)), f'{what}: legend rows (left, centre, size) at {rows}')

def points_in_colour(pixel, pts, lines, what, avoid=4):  # (x, y, colour) in units; lines as segments
    for x, y, c in pts:
        if all(dist((x, y), a, b) > avoid for a, b in lines) and all(math.dist((x, y), q[:2]) > 9 for q in pts if q[2] != c):
            check(near(pixel(x, y), c), f'{what}: point at {x:.1f},{y:.1f} is {pixel(x, y)}, not {c}')

MARKERS = [None, [(-3.5, -3.5), (3.5, -3.5), (3.5, 3.5), (-3.5, 3.5)], [(0, -5), (4.33, 2.5), (-4.33, 2.5)],
           [(0, -5), (4.5, 0), (0, 5), (-4.5, 0)], [(0, 5), (4.33, -2.5), (-4.33, -2.5)]]  # radius 4, as plot.h draws them
def coverage(k, x, y, bar):  # of the 24 x 24 pixels around (x, y) of a PNG by marker k there (and a legend row's line)
    ox, oy, n = 2 * x - int(2 * x) + 12, 2 * y - int(2 * y) + 12, 16  # the centre in the window's pixels; n x n samples each
    m = Image.new('L', (24 * n, 24 * n))
    d = ImageDraw.Draw(m)
    if k == 0:
        d.ellipse(((ox - 8) * n, (oy - 8) * n, (ox + 8) * n, (oy + 8) * n), fill=255)
    else:
        d.polygon([((ox + 2 * u) * n, (oy + 2 * v) * n) for u, v in MARKERS[k]], fill=255)
    if bar:
        d.rectangle((0, (oy - 2) * n, 24 * n, (oy + 2) * n), fill=255)
    return [v / 255 for v in m.resize((24, 24), Image.BOX).getdata()]
def shape(img, x, y, c, bar=False):  # the documented marker nearest to what is drawn at (x, y), and its distance
    i = max(range(3), key=lambda i: 255 - c[i])
    got = [max(0, min(1, (255 - img.getpixel((int(2 * x) - 12 + u, int(2 * y) - 12 + v))[i]) / (255 - c[i])))
           for v in range(24) for u in range(24)]
    far = [sum(abs(a - b) for a, b in zip(got, coverage(k, x, y, bar))) for k in range(5)]
    return min(range(5), key=far.__getitem__), min(far)

# A: two groups of log data with nearly the same slope, lines with the common slope compared, slope 1.5 hypothesised;
# Y from about 1e4 and X from about 2e-5, so that some ticks read with an exponent.
random.seed(7)
data = [(g, 10 ** (3.5 + s + 1.3 * lx + random.gauss(0, 0.06)), 10 ** (lx - 5)) for g, n, s in (('F', 14, 0), ('M', 12, 0.18))
        for lx in (math.log10(2) + 1.3 * (i + random.random()) / n for i in range(n))]
for ext in ('svg', 'pdf', 'png'):
    report = run(data, 'a.txt', '-g', 'group', '-t', 'log10', '-p', '0', '--slope-h0', '1.5', '--save', 'scores.txt',
                 '--plot-file', 'a.' + ext, '--residual-plot', 'r.' + ext)
    common = next(float(r[1]) for r in report if r[0] == 'Common slope:')
    fits = {r[0].strip(): [float(v) for v in r[1:12]] for r in report if len(r) > 11 and r[0].strip() in ('F', 'M')}
    pts = [(g, math.log10(float(x)), math.log10(float(y))) for g, y, x in data]
    doc = json.load(open(os.path.join(WORK, 'results.json')))
    B = doc['lines_with_common_slope']['common_slope']
    span = {g: (min(p[1] for p in pts if p[0] == g), max(p[1] for p in pts if p[0] == g)) for g in fits}
    ends = [(x, y) for g in doc['groups'] for x in span[g['group']]
            for y in (g['intercept'] + g['slope'] * x, g['y_mean'] + B * (x - g['x_mean']))]
    check(min(e[1] for e in ends) < min(p[2] for p in pts), 'a: no line ends below the points, as the check of the range needs')
    at = frame([p[1] for p in pts], [p[2] for p in pts], ends=ends)
    pixel, img, s = render('a.' + ext, 690)
    groups, lines = {}, []
    for i, g in enumerate(('F', 'M')):
        f, xs = fits[g], [p[1] for p in pts if p[0] == g]
        own = lambda x, f=f: at(x, f[6] + f[3] * x)
        com = lambda x, f=f: at(x, f[9] + common * (x - f[10]))
        groups[g] = (COLOURS[i], own, com, min(xs), max(xs), f[10])
        lines += [(own(min(xs)), own(max(xs))), (com(min(xs)), com(max(xs)))]
    gx, gy = sum(p[1] for p in pts) / len(pts), sum(p[2] for p in pts) / len(pts)
    h0 = lambda x: at(x, gy + 1.5 * (x - gx))
    marks = [(*at(p[1], p[2]), groups[p[0]][0]) for p in pts]
    points_in_colour(pixel, marks, lines + [(h0(-9), h0(9))], f'a.{ext}')
    for g, (c, own, com, lo, hi, xm) in groups.items():
        full = pale = seen = 0
        for k in range(2, 199):  # along the own line; both kinds where it and the common-slope line coincide
            x = lo + (hi - lo) * k / 200
            p, q = own(x), com(x)
            if min(math.dist(p, m[:2]) for m in marks) < 6 or dist(p, h0(-9), h0(9)) < 4 or not 52 < p[1] < 408:
                continue
            seen, got = seen + 1, pixel(*p)
            check(between(got, c, light(c)), f'a.{ext} group {g}: own line missing at {p[0]:.0f},{p[1]:.0f}: {got}')
            if abs(p[1] - q[1]) < 0.4:
                full, pale = full + near(got, c, 30), pale + near(got, light(c), 30)
        check(seen > 40 and full >= 3 and pale >= 3, f'a.{ext} group {g}: {seen} samples, {full} dash and {pale} pale where they coincide')
    dots = [pixel(*h0(x)) for x in (v / 100 for v in range(-600, 100))
            if 82 < h0(x)[0] < 498 and 52 < h0(x)[1] < 408 and min(math.dist(h0(x), m[:2]) for m in marks) > 6
            and all(dist(h0(x), a, b) > 4 for a, b in lines)]
    check(sum(near(d, GREY, 40) for d in dots) >= 5 and sum(near(d, WHITE, 30) for d in dots) >= 5, f'a.{ext}: no dotted grey line')
    blank = [(x, y) for x in range(90, 491, 10) for y in range(60, 401, 10) if min(math.dist((x, y), m[:2]) for m in marks) > 12
             and all(dist((x, y), a, b) > 8 for a, b in lines + [(h0(-9), h0(9))])]
    check(len(blank) > 100 and all(pixel(*p) == WHITE for p in blank), f'a.{ext}: the background is not white')
    for row, (c, first) in enumerate([(COLOURS[0], light(COLOURS[0])), (COLOURS[1], light(COLOURS[1])), (GREY, GREY)]):
        check(near(pixel(524, 58 + 15 * row), c) and near(pixel(513, 58 + 15 * row), first), f'a.{ext}: legend row {row}')
    check(sum(pixel(512 + k, 103) == WHITE for k in range(24)) > 5, f'a.{ext}: the hypothesis row is not dotted')
    outline(pixel, f'a.{ext}', (80, 500))
    if ext == 'pdf':
        ws = words('a.pdf')
        xs, ys = ticks(ws, at, math.log10)
        for x in xs:  # the tick marks outside the box, at the labels
            px = round(at(math.log10(float(x.replace('\u2212', '-'))), 0)[0]) + 0.5
            check(all(near(pixel(px, 410 + k), BLACK, 90) for k in (1.5, 3.5)), f'a.pdf: no tick mark under {x}')
        for y in ys:
            py = round(at(0, math.log10(float(y.replace('\u2212', '-'))))[1]) + 0.5
            check(all(near(pixel(80 - k, py), BLACK, 90) for k in (1.5, 3.5)), f'a.pdf: no tick mark at {y}')
        text = ' '.join(w[0] for w in ws)
        for t in ('SMA lines of y on x by group', 'x (log10 scale)', 'y (log10 scale)', 'F M common slope slope 1.5 (hypothesis)'):
            check(t in text, f'a.pdf: no "{t}" in {text}')
        legend_text(ws, 542, 'a.pdf')
        title = [w for w in ws if abs(w[6] - 32) < 0.1 and abs(w[5] - 15) < 0.05]
        check(abs(title[0][1] + title[-1][3] - 580) < 0.2, 'a.pdf: the title not centred over the box')
        inked = [pixel(x, y) for w in title for x in range(int(w[1]), int(w[3])) for y in range(int(w[2]), int(w[4]))]
        check(near(min(inked, key=sum), BLACK, 30), 'a.pdf: the title is not written in black')
        check(all(abs(w[5] - 13) < 0.05 and abs(w[6] - 452) < 0.1 for w in ws if w[0] == 'scale)' and w[2] > 430),
              'a.pdf: X title size or place')
    # The residual plot: the saved scores in box A, their normal quantile plot in box B.
    scores = [line.rstrip('\n').split('\t') for line in list(open(os.path.join(WORK, 'scores.txt')))[1:]]
    pixel, img, s = render('r.' + ext, 950)
    colour = {'F': COLOURS[0], 'M': COLOURS[1]}
    mean = {g: sum(float(r[3]) for r in scores if r[0] == g) / sum(r[0] == g for r in scores) for g in colour}
    at = frame([float(r[4]) for r in scores], [float(r[3]) for r in scores], 80, 380)
    marks = [(*at(float(r[4]), float(r[3])), colour[r[0]]) for r in scores]
    points_in_colour(pixel, marks, [(at(-99, mean[g]), at(99, mean[g])) for g in colour], f'r.{ext} box A', 2.5)
    for g, c in colour.items():  # each group's mean residual score across its fitted scores
        fs = [float(r[4]) for r in scores if r[0] == g]
        on = [pixel(*p) for p in (at(min(fs) + (max(fs) - min(fs)) * k / 50, mean[g]) for k in range(1, 50))
              if min(math.dist(p, m[:2]) for m in marks) > 6 and all(abs(p[1] - at(0, mean[h])[1]) > 3 for h in colour if h != g)]
        check(len(on) >= 10 and all(near(q, c) for q in on), f'r.{ext}: the mean line of {g} missing at {len(on)} samples')
    pooled = sorted((float(r[3]) - mean[r[0]], r[0]) for r in scores)
    z = [norm.ppf((i + 0.5) / len(pooled)) for i in range(len(pooled))]
    at = frame(z, [r for r, _ in pooled], 460, 760)
    q1, q3 = numpy.percentile([r for r, _ in pooled], [25, 75])  # between order statistics at (n - 1) p
    qq = lambda x: at(x, q1 + (q3 - q1) / (norm.ppf(0.75) - norm.ppf(0.25)) * (x - norm.ppf(0.25)))
    marks = [(*at(q, r), colour[g]) for q, (r, g) in zip(z, pooled)]
    points_in_colour(pixel, marks, [(qq(-9), qq(9))], f'r.{ext} box B', 1.5)
    on = [pixel(*qq(x / 10)) for x in range(-30, 31) if 462 < qq(x / 10)[0] < 758 and 52 < qq(x / 10)[1] < 408
          and min(math.dist(qq(x / 10), m[:2]) for m in marks) > 6]  # the grey line through the quartiles
    check(len(on) > 10 and all(max(c) < 235 and max(c) - min(c) < 25 for c in on), f'r.{ext}: the quartile line {on}')
    for row in (0, 1):
        check(near(pixel(784, 58 + 15 * row), COLOURS[row]), f'r.{ext}: legend row {row}')
    outline(pixel, f'r.{ext}', (80, 380), (460, 760))
    if ext == 'pdf':
        text = ' '.join(w[0] for w in words('r.pdf'))
        legend_text(words('r.pdf'), 802, 'r.pdf')
        slope = re.search(r'Residuals of SMA lines of log y on log x by group, b the common slope ([\d.]+) ', text)
        check(slope and abs(float(slope[1]) - common) < 0.001, f'r.pdf: the title in {text}')
        title = [w for w in words('r.pdf') if abs(w[6] - 32) < 0.1]
        check(abs(title[0][1] + title[-1][3] - 840) < 1, f'r.pdf: the title not centred over the two boxes: {title[0][1]} to {title[-1][3]}')
        for t in ('fitted-axis score F = Y+BX', 'residual-axis score R = Y-Bx', 'standard normal quantile',
                  'residual from the group mean'):
            check(t in text, f'r.pdf: no "{t}" in {text}')

# B: 30 groups on a grid (Y in millions, X in millionths: ticks with exponents), each of three points, two of them a
# thousandth of a step from the first (drawn as one), with long names alike but for their middle; a title too long.
names = sorted(f'F\u00e9lis catus, population {k:02d} of the long study (\u00b5)' for k in range(30))
variable = 'population of Felis catus sampled in the long-term study of the northern and southern forests and islands'
for ext in ('pdf', 'png'):
    run([(n, (k // 6 + d) * 1e6, (k % 6 + d) * 1e-6) for k, n in enumerate(names) for d in (0, 0.001, 0.001)], 'b.txt',
        '-g', variable,
        '--min-group-size', '1', '--plot-file', 'b.' + ext, group=variable, yname='heart weight ' + variable)
    pixel, img, s = render('b.' + ext, 860)
    at = frame([(k % 6 + d) * 1e-6 for k in range(30) for d in (0, 0.001)], [(k // 6 + d) * 1e6 for k in range(30) for d in (0, 0.001)])
    seen = set()
    for k in range(30):
        c, (x, y), (lx, ly) = COLOURS[k % 7], at(k % 6 * 1e-6, k // 6 * 1e6), (512 + 170 * (k // 15) + 12, 58 + 15 * (k % 15))
        check(near(pixel(x, y), c, 30) and near(pixel(lx, ly), c, 30), f'b.{ext}: group {k} not in its colour')
        if ext == 'png':
            (m, far), (lm, lfar) = shape(img, x, y, c), shape(img, lx, ly, c, True)
            seen.add((k % 7, m))
            # A point's marker is drawn three times, the last two a thousandth from the first: its edges are a little denser than the legend's.
            check(m == lm == k % 5 and far < 20 and lfar < 4, f'b.png: group {k} not marker {k % 5} ({m}, {lm}: {far:.1f}, {lfar:.1f})')
    check(ext == 'pdf' or len(seen) == 30, f'b.png: {len(seen)} colour-marker pairs for 30 groups')
    if ext == 'pdf':
        ws = words('b.pdf')
        rows = {}
        for w in sorted(ws, key=lambda w: w[1]):
            if w[1] >= 542 and 45 < w[2] < 300:
                rows.setdefault((int((w[1] - 512) / 170), round(w[6])), []).append(w)
        shown = [''.join((' ' if i and r[i][1] - r[i - 1][3] > 2 else '') + w[0] for i, w in enumerate(r)) for r in
                 (rows[key] for key in sorted(rows))]
        check(len(shown) == 30 and len(set(shown)) == 30, f'b.pdf: legend rows {shown}')
        for n, t in zip(names, shown):
            check(re.fullmatch('.*?'.join(map(re.escape, t.split('\u2026'))), n) and '\u2026\u2026' not in t and t[0] + t[-1] == n[0] + n[-1],
                  f'b.pdf: "{t}" does not shorten "{n}"')
        check(all(r[-1][3] < 676.1 + 170 * key[0] for key, r in rows.items()), 'b.pdf: legend text wider than its column')
        title = [w for w in ws if abs(w[6] - 32) < 0.1]
        check(abs(title[0][1] - 8) < 0.1 and title[-1][3] < 852.1 and title[-1][0].endswith('\u2026'), 'b.pdf: the title does not fit')
        upwards = [w for w in ws if w[3] < 70 and w[4] - w[2] > w[3] - w[1]]  # the Y title, read upwards
        check(upwards and min(w[2] for w in upwards) >= 50 and max(w[4] for w in upwards) <= 410 and upwards[-1][0].endswith('\u2026'),
              f'b.pdf: the Y title does not fit the box\'s height: {[w[:5] for w in upwards]}')
        ticks(ws, at, None)

# D: 3000 points on a grid, none overlapping: markers of radius 4 (300 / 3000)^(1/4), opacity (300 / 3000)^(1/2).
report = run([('ab'[(i + j) % 2], j, i) for i in range(60) for j in range(50)], 'd.txt', '-g', 'group', '--plot-file', 'd.png')
fits = [(b, a) for a, b in fitted().values()]
pixel, img, s = render('d.png', 690)
at = frame(list(range(60)), list(range(50)), ends=[(x, a + b * x) for b, a in fits for x in (0, 59)])
r, alpha = 4 * 0.1 ** 0.25, 0.1 ** 0.5
lines = [(at(-9, a - 9 * b), at(69, a + 69 * b)) for b, a in fits]
for i in range(0, 60, 3):
    for j in range(0, 50, 3):
        x, y = at(i, j)
        c = tuple(255 - alpha * (255 - v) for v in COLOURS[(i + j) % 2])
        if all(dist((x, y), a, b) > r + 3 for a, b in lines):
            check(near(pixel(x, y), c, 12) and near(pixel(x + r - 1, y), c, 12) and pixel(x + r + 0.5, y) == WHITE,
                  f'd.png: point {i},{j} is {pixel(x, y)} to {pixel(x + r + 0.5, y)}, not {c} of radius {r:.2f}')

# E: 20,000 points on one spot and 400 on a grid, which an SVG holds as an image, or with --vector as 20,400 vector
# markers; rendered at 4 pixels a unit.
for vector in ((), ('--vector',)):
    run([('a', 0, 0)] * 20000 + [('a', j, i) for i in range(1, 21) for j in range(1, 21)], 'e.txt', '--plot-file', 'e.svg', *vector)
    svg = open(os.path.join(WORK, 'e.svg')).read()
    check(('<image' in svg) != bool(vector) and (svg.count('<path') > 20400) == bool(vector), f'e.svg {vector}: markers as drawn')
    a, b = fitted()["none"]
    pixel, img, s = render('e.svg', 520, 4)
    at = frame([0] + list(range(1, 21)), [0] + list(range(1, 21)), ends=[(0, a), (20, a + 20 * b)])
    r, alpha = 4 * (300 / 20400) ** 0.25, (300 / 20400) ** 0.5
    c = tuple(255 - alpha * (255 - v) for v in COLOURS[0])
    for i in range(1, 21, 2):
        for j in range(1, 21, 2):
            x, y = at(i, j)
            if dist((x, y), at(-1, a - b), at(21, a + 21 * b)) > r + 2:
                check(near(pixel(x, y), c, 12) and pixel(x + r + 0.5, y) == WHITE, f'e.svg {vector}: point {i},{j} is {pixel(x, y)}, not {c}')

# C: one group, no grouping variable, ln scales, lines through the origin: the axes take in 0 (1 in the units), the
# line runs over the group's own X range.
data = [('a', 4 * x * math.exp(random.gauss(0, 0.05)), x) for x in (2 + 1.9 * k / 19 for k in range(20))]
report = run(data, 'c.txt', '-t', 'ln', '--through-origin', '--plot-file', 'c.pdf', '--residual-plot', 'cr.pdf')
title = [w for w in words('cr.pdf') if abs(w[6] - 32) < 0.1]
check(abs(title[0][1] + title[-1][3] - 780) < 1, f'cr.pdf: the title not centred over the figure: {title[0][1]} to {title[-1][3]}')
b = fitted()['none'][1]
pixel, img, s = render('c.pdf', 520)
lo, hi = math.log(2), math.log(3.9)
at = frame([math.log(x) for _, _, x in data], [math.log(y) for _, y, _ in data], zero=True, ends=[(lo, b * lo), (hi, b * hi)])
ws = words('c.pdf')
labels = ticks(ws, at, math.log)[0]
text = ' '.join(w[0] for w in ws)
check('1' in labels and 'none' not in text and 'through the origin' in text and 'x (ln scale)' in text, f'c.pdf: {text}')
check(all(near(pixel(*at(v, b * v)), COLOURS[0]) for v in (lo + 0.01, (lo + hi) / 2, hi - 0.01)) and
      all(pixel(*at(v, b * v)) == WHITE for v in (0.05, 0.2, lo - 0.05)), 'c.pdf: the line not over the group\'s X range alone')

# F: --robust, one group of 40 points near a line and one far from it: that point, whose location weight is below 0.5, is
# drawn hollow (white inside its colour), every other point filled.
data = [('a', 2 * x + 0.3 * math.sin(x), x) for x in range(40)] + [('a', 10.0, 35.0)]
run(data, 'f.txt', '--robust', '--plot-file', 'f.png')
a, b = fitted()['none']
pixel, img, s = render('f.png', 520)
at = frame([x for _, _, x in data], [y for _, y, _ in data], ends=[(0, a), (39, a + 39 * b)])
x, y = at(35, 10)
check(pixel(x, y) == WHITE and near(pixel(x + 4, y), COLOURS[0], 80), f'f.png: the wild point is {pixel(x, y)} inside, {pixel(x + 4, y)} on its ring: not hollow')
x, y = at(5, 2 * 5 + 0.3 * math.sin(5))
check(near(pixel(x, y), COLOURS[0]), f'f.png: a point on the line is {pixel(x, y)}, not filled')

print('\n'.join(faults) or 'ok: every figure in every format')
sys.exit(1 if faults else 0)
