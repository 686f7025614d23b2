"""Tapewright's icons, drawn on a 16-unit grid (one unit = one pixel at 16 px).

Edges lie on whole units and 1-unit strokes on half units, so they stay sharp
at 16 and 32 px. Light comes from the top left; fills are flat with an outline
one shade darker, so each shape reads on light and on dark menus alike.
ICONS lists (resource number, drawing routine, pixel sizes).
"""
import math

from shapes import (arc_points, ellipse, line, move, offset, poly, polyline, rect,
                    ring, rotate, union)

# Palette.
PAPER, PAPER_EDGE, PAPER_LINE, PAPER_FOLD = "#FFFFFF", "#66717F", "#9AA4B0", "#DCE2E9"
BLUE, BLUE_EDGE, BLUE_LIGHT = "#3D8EE0", "#135EA8", "#BFDDF8"
FOLDER, FOLDER_BACK, FOLDER_EDGE = "#FFCD55", "#EDAA2A", "#A8750A"
GREEN, GREEN_EDGE = "#43B05C", "#1D7335"
RED, RED_EDGE = "#E5484D", "#A21F28"
METAL, METAL_EDGE = "#C3CAD3", "#5C6877"
DARK, DARK_EDGE = "#56616E", "#2C343E"
WOOD, WOOD_EDGE = "#D49557", "#88521E"
KEY = "#E8ECF0"
WHITE = "#FFFFFF"


# ---------------------------------------------------------------- parts

def text_lines(c, x0, x1, ys, color=PAPER_LINE):
    for y in ys:
        c.paint(line(x0, y, x1, y, 1.0), color)


def page(c, x0, y0, x1, y1, fold=0):
    """A sheet of paper, optionally with its top right corner turned down."""
    if fold <= 0:
        c.solid(rect(x0, y0, x1, y1), PAPER, PAPER_EDGE)
        return
    c.solid(poly([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]),
            PAPER, PAPER_EDGE)
    c.paint(poly([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]), PAPER_FOLD)
    h = c.edge / 2
    c.paint(polyline([(x1 - fold + h, y0), (x1 - fold + h, y0 + fold - h), (x1, y0 + fold - h)],
                     c.edge), PAPER_EDGE)


def folder_back(c, x0, y0, x1, y1, tab=5):
    c.solid(poly([(x0, y0), (x0 + tab, y0), (x0 + tab + 2, y0 + 2), (x1, y0 + 2),
                  (x1, y1), (x0, y1)]), FOLDER_BACK, FOLDER_EDGE)


def open_folder(c, right=16):
    folder_back(c, 0, 2, right - 1, 14)
    c.paint(rect(2, 5, right - 3, 9), PAPER)  # a sheet inside
    c.solid(poly([(0, 14), (3, 7), (right, 7), (right - 3, 14)]), FOLDER, FOLDER_EDGE)


def disk(c, x0, y0, x1, y1):
    w, h = x1 - x0, y1 - y0
    c.solid(poly([(x0, y0), (x1 - 2, y0), (x1, y0 + 2), (x1, y1), (x0, y1)]), BLUE, BLUE_EDGE)
    sx0, sx1 = x0 + round(w * 3 / 14), x1 - round(w * 4 / 14)
    sh = round(h * 5 / 14)
    c.solid(rect(sx0, y0, sx1, y0 + sh), METAL, BLUE_EDGE)
    c.paint(rect(sx1 - 2 - c.edge, y0 + 1, sx1 - 1 - c.edge, y0 + sh - 1), BLUE_EDGE)
    lh = round(h * 6 / 14)
    c.solid(rect(x0 + 2, y1 - lh, x1 - 2, y1), PAPER, BLUE_EDGE)
    if c.big:
        text_lines(c, x0 + 3.5, x1 - 3.5, [y1 - lh + 2.5])


def pencil_shape(tip_x, tip_y, length, width, angle):
    """Body, wood cone and lead of a pencil lying along `angle` (tip at the end)."""
    cone = width * 1.1
    half = width / 2
    body = poly([(0, -half), (length - cone, -half), (length - cone, half), (0, half)])
    wood = poly([(length - cone, -half), (length, 0), (length - cone, half)])
    lead = poly([(length - cone * 0.4, -half * 0.4), (length, 0), (length - cone * 0.4, half * 0.4)])
    parts = []
    for s in (body, wood, lead):
        s = rotate(s, 0, 0, angle)
        dx, dy = math.cos(math.radians(angle)) * length, math.sin(math.radians(angle)) * length
        parts.append(move(s, tip_x - dx, tip_y - dy))
    return parts


def pencil(c, tip_x, tip_y, length, width=3.6, angle=135, gap=True):
    body, wood, lead = pencil_shape(tip_x, tip_y, length, width, angle)
    if gap:
        c.erase(offset(union(body, wood), -c.edge))
    c.solid(body, "#F5A623", "#9A5B00")
    c.solid(wood, "#F6D9B0", "#9A5B00")
    c.paint(lead, DARK_EDGE)


def magnifier(c, cx, cy, r, handle_end, ring_w=2.0):
    c.paint(ellipse(cx, cy, r - ring_w / 2, r - ring_w / 2), BLUE_LIGHT)
    hx, hy = handle_end
    ux, uy = (hx - cx) / math.hypot(hx - cx, hy - cy), (hy - cy) / math.hypot(hx - cx, hy - cy)
    c.paint(polyline([(cx + ux * (r - 0.5), cy + uy * (r - 0.5)), (hx, hy)], 3.0, cap="round"),
            "#6E7A88")
    c.paint(ring(cx, cy, r, r - ring_w), DARK)


def arrow_right(x0, y, x1, shaft_half, head_half, head_len):
    xh = x1 - head_len
    return poly([(x0, y - shaft_half), (xh, y - shaft_half), (xh, y - head_half), (x1, y),
                 (xh, y + head_half), (xh, y + shaft_half), (x0, y + shaft_half)])


def arrow_head(px, py, dx, dy, length, half):
    """A triangle whose base is centred on (px, py), pointing along (dx, dy)."""
    n = math.hypot(dx, dy)
    dx, dy = dx / n, dy / n
    return poly([(px - dy * half, py + dx * half), (px + dx * length, py + dy * length),
                 (px + dy * half, py - dx * half)])


def gap_then(c, shape, width=None):
    c.erase(offset(shape, -(c.edge if width is None else width)))


def blue_disc(c):
    c.solid(ellipse(8, 8, 7.5, 7.5), BLUE, BLUE_EDGE)


# ---------------------------------------------------------------- icons

def icon_app(c):
    # A cassette whose label is being written on.
    c.solid(rect(0, 2, 16, 14, 1.5), DARK, DARK_EDGE)
    c.paint(rect(2, 4, 14, 10, 0.5), "#F3E6C4")
    for x in (5, 11):
        c.paint(ellipse(x, 7, 2, 2), DARK_EDGE)
        c.paint(ellipse(x, 7, 1, 1), WHITE)
    c.paint(line(7, 7, 9, 7, 1), DARK_EDGE)
    c.paint(poly([(3, 14), (4, 11), (12, 11), (13, 14)]), "#7A8694")
    pencil(c, 8, 16, 11, 4.0, angle=135)


def icon_exit(c):
    c.solid(rect(1, 1, 10, 15), WOOD, WOOD_EDGE)
    c.paint(rect(7, 8, 8, 9) if not c.big else rect(6.5, 7.5, 8, 9), WOOD_EDGE)
    arrow = arrow_right(5, 8, 16, 2, 6, 6)
    gap_then(c, arrow)
    c.solid(arrow, GREEN, GREEN_EDGE)


def icon_new(c):
    page(c, 2, 0, 14, 16, fold=4)


def icon_open(c):
    open_folder(c)


def icon_save(c):
    disk(c, 1, 1, 15, 15)


def icon_save_as(c):
    disk(c, 0, 0, 12, 12)
    pencil(c, 6.5, 15.5, 12.5)


def icon_print(c):
    page(c, 4, 1, 12, 7)
    c.solid(rect(0, 5, 16, 12, 1), "#8C97A4", DARK_EDGE)
    c.paint(rect(12, 7, 14, 8), GREEN)
    page(c, 3, 10, 13, 16)
    text_lines(c, 5, 11, [12.5])


def icon_mail(c):
    c.solid(rect(0, 3, 16, 13), PAPER, PAPER_EDGE)
    c.paint(polyline([(0.5, 3.5), (8, 9), (15.5, 3.5)], c.edge), PAPER_EDGE)


def icon_undo(c):
    path = [(5, 6), (10, 6)] + arc_points(10, 9.5, 3.5, 3.5, -90, 90)[1:] + [(5, 13)]
    c.paint(polyline(path, 2.0), BLUE)
    c.paint(poly([(0, 6), (6, 0.5), (6, 11.5)]), BLUE)


def icon_cut(c):
    c.paint(line(5.6, 10.2, 11.8, 0.5, 2.0), "#7C8896")
    c.paint(line(10.4, 10.2, 4.2, 0.5, 2.0), "#95A0AD")
    c.paint(ring(4, 12.5, 3.2, 1.6), RED)
    c.paint(ring(12, 12.5, 3.2, 1.6), RED)
    c.paint(ellipse(8, 7, 0.8, 0.8), DARK_EDGE)


def icon_copy(c):
    page(c, 1, 0, 10, 11)
    text_lines(c, 3, 8, [2.5, 4.5])
    page(c, 6, 5, 15, 16)
    text_lines(c, 8, 13, [7.5, 9.5, 11.5, 13.5])


def icon_paste(c):
    c.solid(rect(1, 2, 13, 16, 1), WOOD, WOOD_EDGE)
    c.solid(rect(4, 0, 10, 4, 0.5), METAL, METAL_EDGE)
    page(c, 6, 6, 15, 16)
    text_lines(c, 8, 13, [8.5, 10.5, 12.5])


def icon_clear(c):
    x = union(line(3, 3, 13, 13, 3.4, cap="square"), line(13, 3, 3, 13, 3.4, cap="square"))
    c.solid(x, RED, RED_EDGE)


def icon_find(c):
    magnifier(c, 6.5, 6.5, 5.5, (14, 14))


def icon_find_next(c):
    magnifier(c, 6, 6, 5, (10.5, 10.5))
    arrow = arrow_right(6, 12.5, 16, 1.5, 3.5, 3.5)
    gap_then(c, arrow)
    c.solid(arrow, GREEN, GREEN_EDGE)


def icon_replace(c):
    magnifier(c, 6, 6, 5, (10.5, 10.5))
    pencil(c, 7, 16, 11)


def icon_goto(c):
    mark = poly([(10, 0), (16, 0), (16, 16), (13, 13), (10, 16)])
    c.solid(mark, RED, RED_EDGE)
    arrow = arrow_right(0, 8, 12, 2, 6, 6)
    gap_then(c, arrow)
    c.solid(arrow, BLUE, BLUE_EDGE)


def icon_font(c):
    a = poly([(6, 1), (10, 1), (15, 15), (11.5, 15), (10.6, 12), (5.4, 12), (4.5, 15), (1, 15)])
    hole = poly([(8, 4.8), (9.7, 9.5), (6.3, 9.5)], -1)
    c.solid(a + hole, BLUE, BLUE_EDGE)


def gear_shape(cx, cy, r_out, r_root, teeth, width, start=0.0):
    pts = []
    half = width / 2
    for k in range(teeth):
        t = math.radians(start + 360.0 * k / teeth)
        ax, ay = math.cos(t), math.sin(t)
        px, py = -ay, ax
        for r, s in ((r_root, -1), (r_out, -1), (r_out, 1), (r_root, 1)):
            along = math.sqrt(max(r * r - half * half, 0.0))
            pts.append((cx + ax * along + px * half * s, cy + ay * along + py * half * s))
        # the root circle up to the next tooth
        a0 = math.degrees(t) + math.degrees(math.asin(half / r_root))
        a1 = math.degrees(t) + 360.0 / teeth - math.degrees(math.asin(half / r_root))
        pts += arc_points(cx, cy, r_root, r_root, a0, a1)[1:-1]
    return poly(pts)


def icon_config(c):
    g = gear_shape(8, 8, 8, 5.6, 8, 3.0)
    c.solid(g + ellipse(8, 8, 2.2, 2.2, -1), METAL, METAL_EDGE)


def bubble(x0, y0, x1, y1, tail):
    return union(rect(x0, y0, x1, y1, 1.5), poly(tail))


def icon_language(c):
    back = bubble(0, 0, 11, 8, [(2, 7), (2, 11), (6, 7)])
    front = bubble(5, 5, 16, 13, [(10, 12), (14, 16), (14, 12)])
    c.solid(back, BLUE, BLUE_EDGE)
    text_lines(c, 2.5, 8.5, [2.5], WHITE)
    gap_then(c, front)
    c.solid(front, PAPER, PAPER_EDGE)
    text_lines(c, 7.5, 13.5, [7.5, 9.5])


def icon_help(c):
    blue_disc(c)
    path = arc_points(8, 6, 2.5, 2.5, 180, 405) + [(8, 8.6), (8, 10)]
    c.paint(polyline(path, 2.0), WHITE)
    c.paint(rect(7, 11, 9, 13), WHITE)


def icon_keys(c):
    c.solid(rect(0, 3, 15, 12, 1), DARK, DARK_EDGE)
    for y in (5, 7):
        for x in range(2, 13, 2):
            c.paint(rect(x, y, x + 1, y + 1), KEY)
    c.paint(rect(4, 9, 11, 10), KEY)


def globe(c, cx, cy, r):
    disc = ellipse(cx, cy, r, r)
    c.solid(disc, BLUE, BLUE_EDGE)
    inner = ellipse(cx, cy, r - c.edge, r - c.edge)
    w = c.edge
    c.paint(polyline(arc_points(cx, cy, r * 0.45, r, 0, 360), w, closed=True), BLUE_EDGE, clip=inner)
    c.paint(line(cx - r, cy, cx + r, cy, w), BLUE_EDGE, clip=inner)
    if c.big:
        c.paint(line(cx, cy - r, cx, cy + r, w), BLUE_EDGE, clip=inner)


def icon_online(c):
    globe(c, 7, 9, 6.5)
    shaft = line(7.5, 8.5, 13, 3, 2.2)
    head = poly([(9, 1), (15, 1), (15, 7)])
    gap_then(c, union(shaft, head))
    c.paint(shaft, GREEN)
    c.paint(head, GREEN)


def icon_update(c):
    r = 5.5
    for a0, a1 in ((195, 320), (15, 140)):
        c.paint(polyline(arc_points(8, 8, r, r, a0, a1), 2.0), GREEN)
        t = math.radians(a1)
        c.paint(arrow_head(8 + r * math.cos(t), 8 + r * math.sin(t), -math.sin(t), math.cos(t),
                           3.6, 3.4), GREEN)


def icon_info(c):
    blue_disc(c)
    c.paint(rect(7, 3, 9, 5), WHITE)
    c.paint(rect(7, 6, 9, 13), WHITE)


def icon_play(c):
    c.solid(poly([(3, 1), (15, 8), (3, 15)]), BLUE, BLUE_EDGE)


def icon_stop(c):
    c.solid(rect(2, 2, 14, 14, 1), BLUE, BLUE_EDGE)


def icon_pause(c):
    c.solid(union(rect(2, 2, 7, 14, 0.5), rect(9, 2, 14, 14, 0.5)), BLUE, BLUE_EDGE)


def icon_rew(c):
    c.solid(union(poly([(1, 8), (8, 2), (8, 14)]), poly([(8, 8), (15, 2), (15, 14)])),
            BLUE, BLUE_EDGE)


def icon_ff(c):
    c.solid(union(poly([(15, 8), (8, 2), (8, 14)]), poly([(8, 8), (1, 2), (1, 14)])),
            BLUE, BLUE_EDGE)


def icon_open_audio(c):
    open_folder(c, right=14)
    head = rotate(ellipse(11.5, 12.5, 2.3, 1.7), 11.5, 12.5, -20)
    stem = line(13.2, 12, 13.2, 2.5, 1.5)
    flag = polyline([(13.2, 3), (15.5, 5), (15.5, 7)], 1.5)
    note = union(head, stem, flag)
    gap_then(c, note)
    c.paint(note, "#2D7CD0")


ICONS = [
    (1, icon_app, (16, 32, 48)),
    (100, icon_exit, (16, 32)),
    (102, icon_new, (16, 32)),
    (103, icon_open, (16, 32)),
    (105, icon_save, (16, 32)),
    (106, icon_save_as, (16, 32)),
    (107, icon_print, (16, 32)),
    (108, icon_mail, (16, 32)),
    (111, icon_undo, (16, 32)),
    (112, icon_cut, (16, 32)),
    (114, icon_copy, (16, 32)),
    (115, icon_paste, (16, 32)),
    (116, icon_clear, (16, 32)),
    (142, icon_find, (16, 32)),
    (143, icon_find_next, (16, 32)),
    (144, icon_replace, (16, 32)),
    (145, icon_goto, (16, 32)),
    (162, icon_open_audio, (16, 32)),
    (182, icon_font, (16, 32)),
    (184, icon_config, (16, 32)),
    (185, icon_language, (16, 32)),
    (191, icon_help, (16, 32)),
    (192, icon_keys, (16, 32)),
    (193, icon_online, (16, 32)),
    (194, icon_update, (16, 32)),
    (196, icon_info, (16, 32)),
    (1153, icon_play, (16, 32)),
    (1154, icon_stop, (16, 32)),
    (1155, icon_pause, (16, 32)),
    (1156, icon_rew, (16, 32)),
    (1157, icon_ff, (16, 32)),
]
