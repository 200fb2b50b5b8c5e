"""Runs korvel from options on a data file (columns group, y, x; SMA, lines
with a common slope compared), renders its plot with rsvg-convert and checks
the pixels against the data and the lines its report gives, by the mapping
documented in src/report/plot.h: every point shows its group's colour, so do
the fitted lines, the common-slope lines show gaps, and the box far from every
point and line is white.
    python3 plot_check.py KORVEL DATA"""
import math, os, struct, subprocess, sys, tempfile, zlib

COLOURS = [(0, 114, 178), (213, 94, 0), (0, 158, 115), (204, 121, 167), (86, 180, 233), (230, 159, 0), (0, 0, 0)]

def pixels(png):  # rows of (r, g, b) of an 8-bit RGB or RGBA PNG without interlace
    chunks, pos = {}, 8
    while pos < len(png):
        n, kind = struct.unpack('>I4s', png[pos:pos + 8])
        chunks[kind] = chunks.get(kind, b'') + png[pos + 8:pos + 8 + n]
        pos += 12 + n
    w, h, depth, ctype, _, _, interlace = struct.unpack('>IIBBBBB', chunks[b'IHDR'])
    assert (w, h, depth, interlace) == (640, 480, 8, 0) and ctype in (2, 6), (w, h, depth, ctype)
    bpp, raw, rows, prev = 3 if ctype == 2 else 4, zlib.decompress(chunks[b'IDAT']), [], bytearray(w * 4)
    for y in range(h):
        kind, line = raw[y * (w * bpp + 1)], bytearray(raw[y * (w * bpp + 1) + 1:(y + 1) * (w * bpp + 1)])
        for i in range(len(line)):
            a, b, c = line[i - bpp] if i >= bpp else 0, prev[i], prev[i - bpp] if i >= bpp else 0
            p = a + b - c
            line[i] = (line[i] + [0, a, b, (a + b) // 2, a if abs(p - a) <= min(abs(p - b), abs(p - c)) else b if abs(p - b) <= abs(p - c) else c][kind]) & 255
        rows.append([tuple(line[i:i + 3]) for i in range(0, len(line), bpp)])
        prev = line
    return rows

work = tempfile.mkdtemp()
subprocess.run([os.path.abspath(sys.argv[1]), '--chi-squared', '-y', 'y', '-x', 'x', '-g', 'group', '--min-group-size', '5', '-p', '0',
                '--shift', '-o', 'report.txt', '--plot-file', 'plot.svg', os.path.abspath(sys.argv[2])], cwd=work, check=True, capture_output=True)
report = [line.split('\t') for line in open(os.path.join(work, 'report.txt'))]
common = next(float(r[1]) for r in report if r[0] == 'Common slope:')
fits = {r[0].strip(): r for r in report if len(r) > 11 and r[0].strip() not in ('Group', '')}
groups = {}
for name, y, x in (line.rstrip('\n').split('\t') for line in list(open(sys.argv[2]))[1:]):
    f = fits[name]
    groups.setdefault(name, dict(b=float(f[4]), a=float(f[7]), ym=float(f[10]), xm=float(f[11]), pts=[]))['pts'].append(
        (float(x), float(y)))
groups = [groups[name] for name in sorted(groups)]
def axis(v):
    pad = 0.05 * (max(v) - min(v)) if max(v) > min(v) else max(1, 0.05 * abs(v[0]))
    return min(v) - pad, max(v) + pad
(xlo, xhi), (ylo, yhi) = (axis([p[k] for g in groups for p in g['pts']]) for k in (0, 1))
def at(x, y): return 80 + 420 * (x - xlo) / (xhi - xlo), 410 - 360 * (y - ylo) / (yhi - ylo)
def near(c, t, tol): return max(abs(u - v) for u, v in zip(c, t)) <= tol
def dist(p, a, b):  # from p to the segment a-b
    t = max(0, min(1, ((p[0] - a[0]) * (b[0] - a[0]) + (p[1] - a[1]) * (b[1] - a[1])) / (math.dist(a, b) ** 2 or 1)))
    return math.dist(p, (a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])))

img = pixels(subprocess.run(['rsvg-convert', os.path.join(work, 'plot.svg')], check=True, capture_output=True).stdout)
def pixel(p, dy=0): return img[int(p[1]) + dy][int(p[0])]
points, segments, faults, dashed = [], [], [], 0
for i, g in enumerate(groups):
    g['colour'], g['xs'] = COLOURS[i % 7], sorted({x for x, _ in g['pts']})
    g['fit'] = lambda x, g=g: at(x, g['a'] + g['b'] * x)
    g['com'] = lambda x, g=g: at(x, g['ym'] + common * (x - g['xm']))
    points += [at(x, y) for x, y in g['pts']]
    segments += [(g[k](g['xs'][0]), g[k](g['xs'][-1]), i, k) for k in ('fit', 'com')[:1 + (common is not None)]]
for i, g in enumerate(groups):
    xs = g['xs']
    faults += [f'group {i}: point {p} is not in its colour' for p in g['pts'] if not near(pixel(at(*p)), g['colour'], 30)]
    for x in ((u + v) / 2 for u, v in zip(xs, xs[1:])):  # between the points
        if not any(near(pixel(g['fit'](x), dy), g['colour'], 60) for dy in (-1, 0, 1)):
            faults.append(f'group {i}: fitted line missing at x {x}')
    on = gaps = seen = 0
    for c in range(int(at(xs[0], 0)[0]) + 2, int(at(xs[-1], 0)[0]) - 1) if common is not None else ():
        p = g['com'](xlo + (c + 0.5 - 80) / 420 * (xhi - xlo))
        if not 52 < p[1] < 408 or min(math.dist(p, q) for q in points) < 9 or any(
                dist(p, a, b) < 6 for a, b, j, k in segments if (j, k) != (i, 'com')):
            continue
        seen, on = seen + 1, on + any(near(pixel(p, dy), g['colour'], 60) for dy in (-1, 0, 1))
        gaps += all(near(pixel(p, dy), (255, 255, 255), 30) for dy in (-2, -1, 0, 1, 2))
    dashed += seen  # a common line lying on the group's own line cannot be told apart
    if seen and (on < 5 or gaps < 3):
        faults.append(f'group {i}: common-slope line with {on} dash and {gaps} gap columns')
blank = [(x, y) for x in range(90, 491, 10) for y in range(60, 401, 10) if min(math.dist((x, y), q) for q in points) > 12
         and all(dist((x, y), a, b) > 8 for a, b, _, _ in segments)]
faults += [f'pixel {p} is {pixel(p)}, not white' for p in blank if pixel(p) != (255, 255, 255)]
print('\n'.join(faults) or f'ok: {len(points)} points, {len(groups)} groups, {len(blank)} background pixels')
sys.exit(1 if faults or len(blank) < 100 or dashed < 20 else 0)
