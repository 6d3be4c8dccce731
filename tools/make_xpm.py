#!/usr/bin/env python3
"""Generate Pelk's XPM images (program icon and toolbar images).

Every image is drawn from simple geometric shapes given as signed distance
functions (negative inside).  Shapes are painted in order onto a
supersampled grid of palette keys; each output pixel is then reduced to one
palette colour.  Edge pixels may take an intermediate "step" colour declared
for the pair of colours that meet there, which gives anti-aliasing by
palette steps while keeping the palette small.

Run:  python3 tools/make_xpm.py  (writes the .xpm files into src/resources
                                  and checks them)
"""

import math
import os
import re
import sys

SIZE = 32          # output width and height in pixels
SS = 8             # supersampling factor per axis
HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "resources")

# --------------------------------------------------------------------------
# Palette family shared by all images
# --------------------------------------------------------------------------
COLOURS = {
    # outline and neutrals
    "K":  "#263445",   # outline, dark slate
    "W":  "#FFFFFF",   # paper white
    "P1": "#E4EAF1",   # paper shade
    "P2": "#B4C0CE",   # rule lines / soft grey
    "KW": "#7D8B9C",   # outline/white step
    "M1": "#CDD5DE",   # metal light
    "M2": "#8E9AA8",   # metal dark
    # blues
    "B0": "#D6ECFB",   # pale blue highlight
    "B1": "#9ACCF3",   # light blue
    "B2": "#4C93DA",   # mid blue
    "B3": "#2A64A6",   # dark blue
    # yellows
    "Y1": "#FFF3A6",
    "Y2": "#FFD23F",
    "Y3": "#D98E10",
    # greens
    "G1": "#A6E585",
    "G2": "#4DAF3B",
    "G3": "#2F7A25",
    # reds
    "R1": "#F59A88",
    "R2": "#D8432F",
    # browns (wood)
    "N1": "#E3AE70",
    "N2": "#B9763A",
    "N3": "#7B4B22",
    # skin
    "S1": "#FFDDBE",
    "S2": "#E9AD85",
    # night sky (program icon)
    "D0": "#0B1530",   # sky outline / darkest
    "D1": "#142A5C",   # sky top
    "D2": "#21428A",   # sky middle
    "D3": "#3460AE",   # sky low, near horizon
    "H1": "#070D1E",   # hill silhouette
    "SB": "#BFD9FF",   # faint star blue-white
    "GL": "#6E7FA8",   # glow around the bright star
    "M3": "#5D6978",   # metal shadow
}


def hex_rgb(h):
    return tuple(int(h[i:i + 2], 16) for i in (1, 3, 5))


RGB = {k: hex_rgb(v) for k, v in COLOURS.items()}


# --------------------------------------------------------------------------
# Shapes: signed distance functions with bounding boxes
# --------------------------------------------------------------------------
class Shape:
    def __init__(self, f, bbox):
        self.f = f
        self.bbox = bbox          # (x0, y0, x1, y1) in pixel units

    def __call__(self, x, y):
        return self.f(x, y)

    def __or__(self, other):
        a, b = self, other
        return Shape(lambda x, y: min(a.f(x, y), b.f(x, y)),
                     (min(a.bbox[0], b.bbox[0]), min(a.bbox[1], b.bbox[1]),
                      max(a.bbox[2], b.bbox[2]), max(a.bbox[3], b.bbox[3])))

    def __and__(self, other):
        a, b = self, other
        return Shape(lambda x, y: max(a.f(x, y), b.f(x, y)),
                     (max(a.bbox[0], b.bbox[0]), max(a.bbox[1], b.bbox[1]),
                      min(a.bbox[2], b.bbox[2]), min(a.bbox[3], b.bbox[3])))

    def __sub__(self, other):
        a, b = self, other
        return Shape(lambda x, y: max(a.f(x, y), -b.f(x, y)), a.bbox)

    def grow(self, d):
        a = self
        x0, y0, x1, y1 = a.bbox
        return Shape(lambda x, y: a.f(x, y) - d,
                     (x0 - d, y0 - d, x1 + d, y1 + d))

    def shift(self, dx, dy):
        a = self
        x0, y0, x1, y1 = a.bbox
        return Shape(lambda x, y: a.f(x - dx, y - dy),
                     (x0 + dx, y0 + dy, x1 + dx, y1 + dy))


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r,
                 (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    # approximate distance, good enough for small shapes
    def f(x, y):
        dx, dy = (x - cx) / rx, (y - cy) / ry
        k = math.hypot(dx, dy)
        return (k - 1.0) * min(rx, ry)
    return Shape(f, (cx - rx, cy - ry, cx + rx, cy + ry))


def box(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hw, hh = (x1 - x0) / 2.0, (y1 - y0) / 2.0

    def f(x, y):
        qx = abs(x - cx) - hw + r
        qy = abs(y - cy) - hh + r
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        ins = min(max(qx, qy), 0.0)
        return out + ins - r
    return Shape(f, (x0, y0, x1, y1))


def _seg_dist(x, y, ax, ay, bx, by):
    px, py = x - ax, y - ay
    dx, dy = bx - ax, by - ay
    L = dx * dx + dy * dy
    t = 0.0 if L == 0 else max(0.0, min(1.0, (px * dx + py * dy) / L))
    return math.hypot(px - dx * t, py - dy * t)


def segment(ax, ay, bx, by, r):
    """Capsule of radius r (line of width 2r with round caps)."""
    return Shape(lambda x, y: _seg_dist(x, y, ax, ay, bx, by) - r,
                 (min(ax, bx) - r, min(ay, by) - r,
                  max(ax, bx) + r, max(ay, by) + r))


def polyline(pts, r):
    s = None
    for (ax, ay), (bx, by) in zip(pts, pts[1:]):
        c = segment(ax, ay, bx, by, r)
        s = c if s is None else (s | c)
    return s


def polygon(pts):
    n = len(pts)

    def f(x, y):
        d = float("inf")
        inside = False
        j = n - 1
        for i in range(n):
            xi, yi = pts[i]
            xj, yj = pts[j]
            d = min(d, _seg_dist(x, y, xj, yj, xi, yi))
            if (yi > y) != (yj > y):
                xc = xj + (y - yj) * (xi - xj) / (yi - yj)
                if x < xc:
                    inside = not inside
            j = i
        return -d if inside else d
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(f, (min(xs), min(ys), max(xs), max(ys)))


def arc(cx, cy, r, a0, a1, w):
    """Stroke of width w along a circle, from angle a0 to a1 (degrees,
    y pointing down, 0 = right, 90 = down), round caps."""
    ra0, ra1 = math.radians(a0), math.radians(a1)
    e0 = (cx + r * math.cos(ra0), cy + r * math.sin(ra0))
    e1 = (cx + r * math.cos(ra1), cy + r * math.sin(ra1))
    span = (a1 - a0) % 360.0

    def f(x, y):
        ang = math.degrees(math.atan2(y - cy, x - cx))
        if (ang - a0) % 360.0 <= span:
            return abs(math.hypot(x - cx, y - cy) - r) - w / 2.0
        return min(math.hypot(x - e0[0], y - e0[1]),
                   math.hypot(x - e1[0], y - e1[1])) - w / 2.0
    R = r + w
    return Shape(f, (cx - R, cy - R, cx + R, cy + R))


def star_points(cx, cy, ro, ri, n=5, rot=-90.0):
    pts = []
    for i in range(2 * n):
        r = ro if i % 2 == 0 else ri
        a = math.radians(rot + i * 180.0 / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def gear_points(cx, cy, ro, ri, teeth, tip=0.35, base=0.55, rot=0.0):
    """Outline of a gear: 'teeth' teeth; tip/base are the angular widths
    (as a fraction of one tooth pitch) at the tip and at the root."""
    pts = []
    pitch = 360.0 / teeth
    for i in range(teeth):
        c = rot + i * pitch
        for a, r in ((c - base * pitch / 2, ri), (c - tip * pitch / 2, ro),
                     (c + tip * pitch / 2, ro), (c + base * pitch / 2, ri)):
            ra = math.radians(a)
            pts.append((cx + r * math.cos(ra), cy + r * math.sin(ra)))
    return pts


# --------------------------------------------------------------------------
# Canvas
# --------------------------------------------------------------------------
class Canvas:
    def __init__(self, steps=None):
        self.n = SIZE * SS
        self.grid = [None] * (self.n * self.n)
        # steps: {frozenset((a, b)): c} intermediate colour for edges a|b
        self.steps = {}
        for (a, b), c in (steps or {}).items():
            self.steps[frozenset((a, b))] = c

    def paint(self, shape, fill, outline=None, w=1.0, clip=None):
        """Paint shape.  fill is a key or a function (x, y, d) -> key where
        d is the signed distance.  With outline, the band of width w just
        inside the shape's edge gets the outline key.  clip limits painting
        to the inside of another shape."""
        x0, y0, x1, y1 = shape.bbox
        if clip is not None:
            cx0, cy0, cx1, cy1 = clip.bbox
            x0, y0, x1, y1 = max(x0, cx0), max(y0, cy0), min(x1, cx1), min(y1, cy1)
        i0 = max(0, int(math.floor((x0 - 1) * SS)))
        j0 = max(0, int(math.floor((y0 - 1) * SS)))
        i1 = min(self.n, int(math.ceil((x1 + 1) * SS)))
        j1 = min(self.n, int(math.ceil((y1 + 1) * SS)))
        f = shape.f
        g = self.grid
        n = self.n
        fixed = None if callable(fill) else fill
        for j in range(j0, j1):
            y = (j + 0.5) / SS
            row = j * n
            for i in range(i0, i1):
                x = (i + 0.5) / SS
                d = f(x, y)
                if d >= 0:
                    continue
                if clip is not None and clip.f(x, y) >= 0:
                    continue
                if outline is not None and d > -w:
                    g[row + i] = outline
                else:
                    g[row + i] = fixed if fixed is not None else fill(x, y, d)

    def pixels(self):
        """Reduce to SIZE x SIZE keys (None = transparent)."""
        out = []
        half = SS * SS / 2.0
        for py in range(SIZE):
            row = []
            for px in range(SIZE):
                counts = {}
                for j in range(py * SS, py * SS + SS):
                    base = j * self.n
                    for i in range(px * SS, px * SS + SS):
                        k = self.grid[base + i]
                        counts[k] = counts.get(k, 0) + 1
                if counts.get(None, 0) > half:
                    row.append(None)
                    continue
                opaque = {k: c for k, c in counts.items() if k is not None}
                tot = float(sum(opaque.values()))
                avg = [sum(RGB[k][ch] * c for k, c in opaque.items()) / tot
                       for ch in range(3)]
                cands = set(opaque)
                keys = list(opaque)
                for a in range(len(keys)):
                    for b in range(a + 1, len(keys)):
                        s = self.steps.get(frozenset((keys[a], keys[b])))
                        if s:
                            cands.add(s)

                def dist(k):
                    c = RGB[k]
                    # weight green more: closer to perceived brightness
                    return (2 * (c[0] - avg[0]) ** 2 + 4 * (c[1] - avg[1]) ** 2
                            + 3 * (c[2] - avg[2]) ** 2)
                # tie-break on coverage so that the dominant colour wins
                row.append(min(cands, key=lambda k: (dist(k), -opaque.get(k, 0))))
            out.append(row)
        return out


# --------------------------------------------------------------------------
# XPM output and checks
# --------------------------------------------------------------------------
CHARS = ".#+@$%&*=-;:>,<1234567890abcdefghijklmnopqrstuvwxyzABCDEFGHIJ"


def write_xpm(name, pix):
    used = []
    for row in pix:
        for k in row:
            if k not in used:
                used.append(k)
    # transparent first, then by brightness (dark to light) for readability
    opaque = sorted([k for k in used if k is not None],
                    key=lambda k: sum(RGB[k]))
    order = ([None] if None in used else []) + opaque
    cmap = {}
    ci = 0
    for k in order:
        if k is None:
            cmap[k] = " "
        else:
            cmap[k] = CHARS[ci]
            ci += 1
    lines = ["/* XPM */",
             "static const char* const %s_xpm[] = {" % name,
             '"%d %d %d 1",' % (SIZE, SIZE, len(order))]
    for k in order:
        lines.append('"%s c %s",' % (cmap[k], "None" if k is None else COLOURS[k]))
    for y, row in enumerate(pix):
        sep = "," if y < SIZE - 1 else ""
        lines.append('"%s"%s' % ("".join(cmap[k] for k in row), sep))
    lines.append("};")
    path = os.path.join(HERE, name + ".xpm")
    with open(path, "w") as fh:
        fh.write("\n".join(lines) + "\n")
    return path


def check_xpm(path, name, min_colours, max_colours):
    """Parse the written file and assert the image is well formed."""
    text = open(path).read()
    assert re.search(r"static const char\* const %s_xpm\[\] = \{" % name, text), \
        "%s: wrong variable name" % path
    strings = re.findall(r'"((?:[^"\\]|\\.)*)"', text)
    m = re.fullmatch(r"(\d+) (\d+) (\d+) 1", strings[0])
    assert m, "%s: bad header %r" % (path, strings[0])
    w, h, ncol = map(int, m.groups())
    assert (w, h) == (SIZE, SIZE), "%s: size %dx%d" % (path, w, h)
    assert min_colours <= ncol <= max_colours, \
        "%s: %d colours, want %d..%d" % (path, ncol, min_colours, max_colours)
    defined = {}
    for s in strings[1:1 + ncol]:
        m = re.fullmatch(r"(.) c (None|#[0-9A-Fa-f]{6})", s)
        assert m, "%s: bad colour line %r" % (path, s)
        assert m.group(1) not in defined, "%s: duplicate char" % path
        defined[m.group(1)] = m.group(2)
    rows = strings[1 + ncol:]
    assert len(rows) == h, "%s: %d rows" % (path, len(rows))
    seen = set()
    for r in rows:
        assert len(r) == w, "%s: row length %d" % (path, len(r))
        for c in r:
            assert c in defined, "%s: undefined pixel char %r" % (path, c)
            seen.add(c)
    assert seen == set(defined), "%s: unused colours %s" % (
        path, set(defined) - seen)
    return ncol


# --------------------------------------------------------------------------
# Shared pieces
# --------------------------------------------------------------------------
# Light comes from the top left: surfaces facing up/left are lighter, the
# bottom/right side gets a darker shade.  Outlines are 1 px of "K".

PAPER_STEPS = {("K", "W"): "KW", ("K", "P1"): "KW", ("P1", "W"): "P1"}


def sheet(cv, x0, y0, x1, y1, fold=6):
    """A sheet of paper with a folded top-right corner."""
    pts = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    s = polygon(pts)

    def fill(x, y, d):
        # shaded band along the right and bottom edges
        if d > -2.0 and (x > x1 - 2.0 or y > y1 - 2.0):
            return "P1"
        return "W"
    cv.paint(s, fill, outline="K")
    corner = polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)])
    cv.paint(corner, "P1", outline="K")
    return s


def lin_shade(x, y, d, light, mid, dark, a=1.0, b=1.0, c0=0.0, c1=0.0):
    """Three shades along direction (a, b): value below c0 -> light, above
    c1 -> dark."""
    t = a * x + b * y
    if t < c0:
        return light
    if t > c1:
        return dark
    return mid


# --------------------------------------------------------------------------
# Images
# --------------------------------------------------------------------------
def draw_exit():
    cv = Canvas({("K", "N2"): "N3", ("K", "N1"): "N2", ("N1", "N2"): "N2",
                 ("K", "G2"): "G3", ("K", "G1"): "G3", ("G1", "G2"): "G2",
                 ("K", "Y2"): "Y3", ("N1", "Y2"): "Y3"})
    # door frame (wood) with the dark opening
    frame = box(3, 3, 20, 30)
    cv.paint(frame, "N2", outline="K")
    opening = box(6, 6, 17, 30)
    cv.paint(opening, "K")
    # the door leaf, swung open towards the viewer, hinged on the left
    leaf = polygon([(6, 6), (13.5, 3.5), (13.5, 30.5), (6, 30)])
    cv.paint(leaf, lambda x, y, d: "N2" if x > 11.5 else "N1", outline="K")
    # two sunken panels on the leaf
    cv.paint(polygon([(8, 9.3), (10.5, 8.4), (10.5, 16), (8, 16.2)]), "N2")
    cv.paint(polygon([(8, 20), (10.5, 20), (10.5, 27.4), (8, 27.2)]), "N2")
    # knob
    cv.paint(circle(12, 18.2, 1.2), "Y2")
    # green arrow pointing out to the right
    arrow = polygon([(14, 13.5), (22, 13.5), (22, 8.5), (30, 16.5),
                     (22, 24.5), (22, 19.5), (14, 19.5)])
    cv.paint(arrow, lambda x, y, d: "G1" if (y < 16.5 and d > -2.6) else "G2",
             outline="K")
    return cv


def draw_properties():
    cv = Canvas({("K", "S1"): "S2", ("K", "S2"): "S2", ("S1", "S2"): "S2",
                 ("K", "B2"): "B3", ("K", "B1"): "B3", ("B1", "B2"): "B2",
                 ("B2", "B3"): "B3", ("K", "N3"): "N3",
                 ("K", "M1"): "M2", ("M1", "M2"): "M2"})
    # shoulders / shirt
    body = box(2, 17.5, 22, 40, r=8) & box(0, 0, 32, 30)
    cv.paint(body, lambda x, y, d: lin_shade(x, y, d, "B1", "B2", "B3",
                                             1.0, 0.6, 16.0, 26.0)
             if d < -1.0 and d > -3.0 else "B2", outline="K")
    # collar
    cv.paint(polygon([(8.5, 18.0), (12, 22.5), (15.5, 18.0)]), "W", outline="K")
    # face and hair
    head = circle(12, 10.5, 6.5)
    cv.paint(head, lambda x, y, d: "S2" if (d > -2.0 and x + 0.5 * y > 20)
             else "S1", outline="K")
    hair = head & (circle(12, 3.0, 6.6) | box(5, 3, 6.8, 11))
    cv.paint(hair, "N3", outline="K")
    # gear on the lower right
    g = polygon(gear_points(23, 23, 7.8, 6.0, 7, tip=0.42, base=0.62, rot=-90)) \
        - circle(23, 23, 2.3)
    cv.paint(g, lambda x, y, d: "M1" if (x + y) < 46 or d > -1.5 and x + y < 44
             else "M2", outline="K")
    return cv


def draw_newobs():
    steps = dict(PAPER_STEPS)
    steps.update({("Y3", "Y2"): "Y3", ("Y3", "W"): "Y2", ("Y1", "Y2"): "Y2",
                  ("K", "G2"): "G3", ("K", "G1"): "G3", ("G1", "G2"): "G2",
                  ("P2", "W"): "P2"})
    cv = Canvas(steps)
    sheet(cv, 4, 2, 25, 30)
    # rule lines under the star
    for y in (24, 27):
        cv.paint(box(7, y, 16, y + 1), "P2")
    # the star
    st = polygon(star_points(13.5, 13.5, 8.2, 3.4))
    cv.paint(st, lambda x, y, d: "Y1" if (x + 1.2 * y) < 26 and d < -1.5 else "Y2",
             outline="Y3")
    # green plus
    plus = box(17, 21.5, 31, 26.5) | box(21.5, 17, 26.5, 31)
    cv.paint(plus, lambda x, y, d: "G1" if (x + y < 45 and d > -2.5
                                            and d < -1.0) else "G2",
             outline="K")
    return cv


def draw_browse():
    steps = dict(PAPER_STEPS)
    steps.update({("P2", "W"): "P2", ("B2", "W"): "B2",
                  ("K", "B1"): "B3", ("B1", "B0"): "B1", ("K", "N2"): "N3",
                  ("K", "M2"): "K", ("M2", "B1"): "M2", ("B1", "B3"): "B2",
                  ("B2", "B1"): "B2"})
    cv = Canvas(steps)
    sheet(cv, 3, 2, 24, 29)
    # list rows: bullet + text line
    for y in (7, 11, 15, 19, 23):
        cv.paint(box(6, y - 1, 8, y + 1), "B2")
        cv.paint(box(10, y - 0.5, 20 if y < 15 else 13, y + 0.5), "P2")
    # magnifying glass: handle, then lens
    cv.paint(segment(25, 25, 28.8, 28.8, 2.2), "N2", outline="K")
    lens = circle(20, 20, 7.2)
    cv.paint(lens, "M2", outline="K")
    inner = circle(20, 20, 5.2)
    cv.paint(inner, "B1", outline="K")
    # highlight glint (top left)
    cv.paint(arc(20, 20, 3.3, 190, 260, 1.5), "B0")
    return cv


def draw_report():
    steps = dict(PAPER_STEPS)
    steps.update({("P2", "W"): "P2", ("B3", "W"): "B2", ("R2", "W"): "R1",
                  ("M2", "W"): "P2", ("R2", "M2"): "R2", ("R2", "P1"): "R1"})
    cv = Canvas(steps)
    sheet(cv, 4, 2, 27, 30)
    # title and text lines
    cv.paint(box(7, 5, 17, 7), "B3")
    for y, x1 in ((9, 20), (12, 24)):
        cv.paint(box(7, y, x1, y + 1), "P2")
    # chart axes
    cv.paint(box(7, 15, 8, 27), "M2")
    cv.paint(box(7, 26, 24, 27), "M2")
    # light curve of a variable star: brightness rising and falling
    def lc(x):
        return 20.5 - 4.3 * math.sin((x - 9) / 15.0 * 2 * math.pi * 1.1 + 0.3)
    pts = [(9 + i * 15.0 / 40, lc(9 + i * 15.0 / 40)) for i in range(41)]
    cv.paint(polyline(pts, 0.7), "R2")
    # individual estimates marked on the curve (2 x 2 pixel dots)
    for x, dy in ((10, 0), (14, 0), (18, 0), (22, 0)):
        y = int(round(lc(x + 1))) + dy
        cv.paint(box(x, y - 1, x + 2, y + 1), "B3")
    return cv


def draw_help():
    cv = Canvas({("K", "B3"): "B3", ("B3", "B2"): "B3", ("B2", "B1"): "B2",
                 ("B1", "B0"): "B1", ("W", "B2"): "B1", ("W", "B3"): "B2",
                 ("W", "B1"): "B0", ("K", "B2"): "B3"})
    ball = circle(16, 16, 14)

    def shade(x, y, d):
        r = math.hypot(x - 11, y - 10)
        if r < 4.0:
            return "B1"
        if r < 14.5:
            return "B2"
        return "B3"
    cv.paint(ball, shade, outline="K")

    def qmark(dx, dy):
        hook = arc(16 + dx, 12 + dy, 4.4, 180, 45, 3.4)
        stem = polyline([(16 + dx + 4.4 * math.cos(math.radians(45)),
                          12 + dy + 4.4 * math.sin(math.radians(45))),
                         (16 + dx, 18.3 + dy), (16 + dx, 19.5 + dy)], 1.7)
        dot = circle(16 + dx, 24.2 + dy, 2.0)
        return hook | stem | dot
    # soft shadow to the lower right, then the white mark
    cv.paint(qmark(0.9, 0.9), "B3", clip=ball.grow(-1))
    cv.paint(qmark(0, 0), "W")
    return cv


def draw_icon():
    cv = Canvas({("D1", "D2"): "D2", ("D2", "D3"): "D3",
                 ("SB", "D1"): "GL", ("SB", "D2"): "GL",
                 ("Y2", "D1"): "GL", ("Y2", "D2"): "GL",
                 ("Y2", "GL"): "Y2", ("Y1", "Y2"): "Y2", ("W", "Y1"): "Y1",
                 ("M1", "M2"): "M2", ("M2", "M3"): "M3",
                 ("Y3", "D2"): "Y3", ("Y3", "D1"): "Y3"})
    # night sky: rounded square, lighter in a dome above the horizon
    sky = box(1, 1, 31, 31, r=5)

    def skyfill(x, y, d):
        r = math.hypot(x - 16, y - 46)
        if r < 23:
            return "D3"
        if r < 33:
            return "D2"
        return "D1"
    cv.paint(sky, skyfill, outline="D0")
    inner = sky.grow(-1)
    # dark hills on the horizon
    hill = circle(9, 44, 17.5) | circle(30, 50, 22)
    cv.paint(hill, "H1", clip=inner)
    # the variable star: soft glow, thin sparkle rays, bright core
    sx, sy = 22.5, 9.5
    cv.paint(circle(sx, sy, 4.4), "GL")

    def rayfill(x, y, d):
        r = max(abs(x - sx), abs(y - sy))
        return "Y2" if r < 6.0 else "GL"
    rays = box(sx - 0.5, sy - 8.0, sx + 0.5, sy + 8.0) | \
        box(sx - 8.0, sy - 0.5, sx + 8.0, sy + 0.5)
    cv.paint(rays, rayfill, clip=inner)
    cv.paint(polygon(star_points(sx, sy, 4.4, 1.5, n=4, rot=-45)), "Y2")
    cv.paint(circle(sx, sy, 2.6), "Y1")
    cv.paint(circle(sx, sy, 1.3), "W")
    # comparison stars: white-blue ones and a reddish one
    for (x, y, r) in ((7.5, 6.5, 1.05), (14.5, 4.5, 0.6), (27.5, 21.5, 0.75),
                      (5.5, 13.5, 0.6), (15.5, 11.5, 0.6)):
        cv.paint(circle(x, y, r), "SB")
    cv.paint(circle(28.5, 16.5, 0.95), "Y3")
    # telescope on a wooden tripod, aimed at the star
    for b in ((6.0, 29.6), (11.0, 29.8), (16.0, 29.6)):
        cv.paint(segment(11, 21.5, b[0], b[1], 0.75), "N2")
    ax, ay, bx, by = 5.0, 23.2, 15.0, 15.6
    tube = segment(ax, ay, bx, by, 2.2)
    # unit normal pointing to the upper left of the tube axis
    nx, ny = (ay - by), -(ax - bx)
    L = math.hypot(nx, ny)
    nx, ny = nx / L, ny / L
    if nx + ny > 0:
        nx, ny = -nx, -ny

    def side(x, y, cx=ax, cy=ay):
        return (x - cx) * nx + (y - cy) * ny
    cv.paint(tube, lambda x, y, d: "M1" if side(x, y) > 0.2 else "M2",
             outline="D0", w=0.9)
    # dew cap at the front end, a little wider
    cap = segment(bx - 0.9, by + 0.7, bx + 1.6, by - 1.25, 2.75)
    cv.paint(cap, lambda x, y, d: "W" if side(x, y) > 0.6 else
             ("M1" if side(x, y) > -1.0 else "M2"), outline="D0", w=0.9)
    # mount and eyepiece
    cv.paint(box(9.4, 19.2, 12.6, 22.4, r=0.8), "M3", outline="D0", w=0.7)
    cv.paint(segment(7.0, 20.2, 6.2, 18.8, 0.9), "M3")
    return cv


IMAGES = [
    # name, drawing function, min colours, max colours
    ("pelk", draw_icon, 16, 16),
    ("tb_exit", draw_exit, 5, 13),
    ("tb_properties", draw_properties, 5, 13),
    ("tb_newobs", draw_newobs, 5, 13),
    ("tb_browse", draw_browse, 5, 13),
    ("tb_report", draw_report, 5, 13),
    ("tb_help", draw_help, 5, 13),
]


def main(argv):
    only = set(argv[1:])
    ok = True
    for name, fn, lo, hi in IMAGES:
        if only and name not in only:
            continue
        pix = fn().pixels()
        path = write_xpm(name, pix)
        try:
            n = check_xpm(path, name, lo, hi)
            print("%-16s %2d colours  ok" % (name + ".xpm", n))
        except AssertionError as e:
            ok = False
            print("FAILED:", e)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
