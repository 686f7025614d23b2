"""Shapes and an exact-coverage rasteriser for the icon drawings.

A shape is a list of contours, each a (points, sign) pair: sign +1 adds area,
-1 cuts a hole. Points are in design units (16 units = the icon's width); the
canvas scales them to its pixel size. Filling uses the non-zero rule after
every contour has been turned to the direction its sign asks for, so
overlapping parts of one shape simply merge.
"""
import math

SUB_ROWS = 16  # sample rows per pixel; coverage along a row is exact
ARC_STEPS = 96  # segments of a full circle


def parse_color(color):
    """'#RRGGBB' or '#RRGGBBAA' to floats 0..1."""
    text = color.lstrip("#")
    values = [int(text[i:i + 2], 16) / 255.0 for i in range(0, len(text), 2)]
    if len(values) == 3:
        values.append(1.0)
    return values


def signed_area(points):
    total = 0.0
    for i, (xa, ya) in enumerate(points):
        xb, yb = points[(i + 1) % len(points)]
        total += xa * yb - xb * ya
    return total / 2.0


def coverage(shape, n, scale):
    """Fraction of each of the n*n pixels that the shape covers."""
    rows = n * SUB_ROWS
    crossings = [[] for _ in range(rows)]
    for points, sign in shape:
        pts = [(x * scale, y * scale) for x, y in points]
        area = signed_area(pts)
        if area == 0:
            continue
        flip = (area > 0) != (sign > 0)
        for i, (xa, ya) in enumerate(pts):
            xb, yb = pts[(i + 1) % len(pts)]
            if ya == yb:
                continue
            step = 1 if yb > ya else -1
            if flip:
                step = -step
            if ya > yb:
                xa, ya, xb, yb = xb, yb, xa, ya
            first = max(0, math.ceil(ya * SUB_ROWS - 0.5))
            last = min(rows, math.ceil(yb * SUB_ROWS - 0.5))
            slope = (xb - xa) / (yb - ya)
            for j in range(first, last):
                yc = (j + 0.5) / SUB_ROWS
                crossings[j].append((xa + (yc - ya) * slope, step))
    weight = 1.0 / SUB_ROWS
    out = [0.0] * (n * n)
    for py in range(n):
        part = [0.0] * (n + 1)
        runs = [0.0] * (n + 2)
        for j in range(py * SUB_ROWS, (py + 1) * SUB_ROWS):
            row = crossings[j]
            if not row:
                continue
            row.sort()
            winding = 0
            for k in range(len(row) - 1):
                winding += row[k][1]
                if winding == 0:
                    continue
                a = min(max(row[k][0], 0.0), float(n))
                b = min(max(row[k + 1][0], 0.0), float(n))
                if b <= a:
                    continue
                ia, ib = int(a), int(b)
                if ia == ib:
                    part[ia] += (b - a) * weight
                    continue
                part[ia] += (ia + 1 - a) * weight
                runs[ia + 1] += weight
                runs[ib] -= weight
                if ib < n:
                    part[ib] += (b - ib) * weight
        run = 0.0
        base = py * n
        for x in range(n):
            run += runs[x]
            out[base + x] = min(1.0, max(0.0, part[x] + run))
    return out


class Canvas:
    """Premultiplied RGBA in floats. unit: pixels per design unit."""

    def __init__(self, n, unit=None):
        self.n = n
        self.unit = unit if unit is not None else n / 16.0
        # Outline width in pixels: one at 16, two above (1.5 would blur).
        self.edge_px = 1 if n < 32 else 2
        self.big = n >= 32
        self.data = [0.0] * (4 * n * n)

    @property
    def edge(self):
        """Outline width in design units."""
        return self.edge_px / self.unit

    @property
    def px(self):
        """One pixel in design units."""
        return 1.0 / self.unit

    def paint(self, shape, color, clip=None):
        cov = coverage(shape, self.n, self.unit)
        if clip is not None:
            mask = coverage(clip, self.n, self.unit)
            cov = [a * b for a, b in zip(cov, mask)]
        r, g, b, alpha = parse_color(color)
        d = self.data
        for i, c in enumerate(cov):
            if c <= 0.0:
                continue
            a = c * alpha
            k = 4 * i
            keep = 1.0 - a
            d[k] = r * a + d[k] * keep
            d[k + 1] = g * a + d[k + 1] * keep
            d[k + 2] = b * a + d[k + 2] * keep
            d[k + 3] = a + d[k + 3] * keep

    def erase(self, shape):
        """Clears what lies under the shape (for gaps between overlapping parts)."""
        cov = coverage(shape, self.n, self.unit)
        d = self.data
        for i, c in enumerate(cov):
            if c <= 0.0:
                continue
            keep = 1.0 - c
            for k in range(4 * i, 4 * i + 4):
                d[k] *= keep

    def solid(self, shape, fill, edge_color, width=None):
        """Fills the shape with an outline of the canvas's edge width."""
        w = self.edge if width is None else width
        self.paint(shape, edge_color)
        self.paint(offset(shape, w), fill)

    def rows(self):
        n = self.n
        out = []
        for y in range(n):
            row = []
            for x in range(n):
                k = 4 * (y * n + x)
                a = self.data[k + 3]
                if a <= 0.0:
                    row.append((0, 0, 0, 0))
                    continue
                rgb = [min(255, max(0, int(self.data[k + c] / a * 255.0 + 0.5))) for c in range(3)]
                row.append((rgb[0], rgb[1], rgb[2], min(255, int(a * 255.0 + 0.5))))
            out.append(row)
        return out

    def pixels(self):
        return [px for row in self.rows() for px in row]


# ---------------------------------------------------------------- construction

def poly(points, sign=1):
    return [(list(points), sign)]


def rect(x0, y0, x1, y1, radius=0.0):
    if radius <= 0:
        return poly([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])
    pts = []
    corners = ((x1 - radius, y0 + radius, -90), (x1 - radius, y1 - radius, 0),
               (x0 + radius, y1 - radius, 90), (x0 + radius, y0 + radius, 180))
    steps = 8
    for cx, cy, start in corners:
        for s in range(steps + 1):
            a = math.radians(start + 90.0 * s / steps)
            pts.append((cx + radius * math.cos(a), cy + radius * math.sin(a)))
    return poly(pts)


def arc_points(cx, cy, rx, ry, a0, a1):
    """Points along an ellipse from angle a0 to a1 (degrees, y grows down)."""
    steps = max(2, int(math.ceil(abs(a1 - a0) / 360.0 * ARC_STEPS)))
    pts = []
    for s in range(steps + 1):
        a = math.radians(a0 + (a1 - a0) * s / steps)
        pts.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return pts


def ellipse(cx, cy, rx, ry, sign=1):
    return poly(arc_points(cx, cy, rx, ry, 0, 360)[:-1], sign)


def ring(cx, cy, r_out, r_in):
    return ellipse(cx, cy, r_out, r_out) + ellipse(cx, cy, r_in, r_in, -1)


def union(*shapes):
    out = []
    for s in shapes:
        out += s
    return out


def _unit(dx, dy):
    length = math.hypot(dx, dy)
    return (dx / length, dy / length) if length else (0.0, 0.0)


def _miter(n0, n1, d, limit=4.0):
    """Offset of a corner whose two edges have unit normals n0 and n1."""
    dot = n0[0] * n1[0] + n0[1] * n1[1]
    mx, my = n0[0] + n1[0], n0[1] + n1[1]
    denom = 1.0 + dot
    if denom < 1e-6:
        return (n0[0] * d, n0[1] * d)
    sx, sy = mx / denom * d, my / denom * d
    length = math.hypot(sx, sy)
    if length > abs(d) * limit:
        sx, sy = sx / length * abs(d) * limit, sy / length * abs(d) * limit
    return (sx, sy)


def _dedupe(points, closed):
    out = []
    for p in points:
        if not out or math.hypot(p[0] - out[-1][0], p[1] - out[-1][1]) > 1e-9:
            out.append(p)
    if closed and len(out) > 1 and math.hypot(out[0][0] - out[-1][0], out[0][1] - out[-1][1]) < 1e-9:
        out.pop()
    return out


def offset(shape, d):
    """Moves every edge d units into the material (negative d grows it)."""
    out = []
    for points, sign in shape:
        pts = _dedupe(points, True)
        m = len(pts)
        if m < 3:
            continue
        inward = 1.0 if signed_area(pts) > 0 else -1.0
        if sign < 0:
            inward = -inward
        normals = []
        for i in range(m):
            dx, dy = _unit(pts[(i + 1) % m][0] - pts[i][0], pts[(i + 1) % m][1] - pts[i][1])
            normals.append((-dy * inward, dx * inward))
        moved = []
        for i in range(m):
            sx, sy = _miter(normals[i - 1], normals[i], d)
            moved.append((pts[i][0] + sx, pts[i][1] + sy))
        out.append((moved, sign))
    return out


def polyline(points, width, closed=False, cap="butt"):
    """A stroke of the given width along the points, with mitred joins."""
    pts = _dedupe(points, closed)
    half = width / 2.0
    if closed:
        return offset(poly(pts), -half) + offset(poly(pts, -1), -half)
    m = len(pts)
    normals = []
    for i in range(m - 1):
        dx, dy = _unit(pts[i + 1][0] - pts[i][0], pts[i + 1][1] - pts[i][1])
        normals.append((-dy, dx))
    left, right = [], []
    for i in range(m):
        if i == 0:
            sx, sy = normals[0][0] * half, normals[0][1] * half
        elif i == m - 1:
            sx, sy = normals[-1][0] * half, normals[-1][1] * half
        else:
            sx, sy = _miter(normals[i - 1], normals[i], half)
        left.append((pts[i][0] + sx, pts[i][1] + sy))
        right.append((pts[i][0] - sx, pts[i][1] - sy))
    if cap == "square":
        for side in (left, right):
            for idx, nb in ((0, 1), (-1, -2)):
                dx, dy = _unit(side[idx][0] - side[nb][0], side[idx][1] - side[nb][1])
                side[idx] = (side[idx][0] + dx * half, side[idx][1] + dy * half)
    if cap == "round":
        end = pts[-1]
        a_end = math.degrees(math.atan2(normals[-1][1], normals[-1][0]))
        tail = arc_points(end[0], end[1], half, half, a_end, a_end - 180)[1:-1]
        start = pts[0]
        a_start = math.degrees(math.atan2(-normals[0][1], -normals[0][0]))
        head = arc_points(start[0], start[1], half, half, a_start, a_start - 180)[1:-1]
        return poly(left + tail + list(reversed(right)) + head)
    return poly(left + list(reversed(right)))


def line(x0, y0, x1, y1, width, cap="butt"):
    return polyline([(x0, y0), (x1, y1)], width, cap=cap)


def arc(cx, cy, r, a0, a1, width):
    """A stroke along a circle from angle a0 to a1 (degrees, y grows down)."""
    return polyline(arc_points(cx, cy, r, r, a0, a1), width)


def rotate(shape, cx, cy, degrees):
    a = math.radians(degrees)
    ca, sa = math.cos(a), math.sin(a)
    out = []
    for points, sign in shape:
        out.append(([(cx + (x - cx) * ca - (y - cy) * sa, cy + (x - cx) * sa + (y - cy) * ca)
                     for x, y in points], sign))
    return out


def move(shape, dx, dy):
    return [([(x + dx, y + dy) for x, y in points], sign) for points, sign in shape]


def scale(shape, f, cx=0.0, cy=0.0):
    return [([(cx + (x - cx) * f, cy + (y - cy) * f) for x, y in points], sign)
            for points, sign in shape]
