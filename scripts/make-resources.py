#!/usr/bin/env python3
"""Draws Tapewright's icons and menu bitmaps from vector shapes.

Every icon is drawn on a 16-unit grid and rasterised with exact area coverage
at 16, 32 and (for the application icon) 48 pixels, so edges that lie on whole
units stay sharp at every size. Only the Python standard library is used, so
the output is the same byte for byte on every machine.

  scripts/make-resources.py               writes resources/icons/*.ico,
                                          resources/bitmaps/*.bmp and the
                                          toolbar strips resources/toolbar/*.bmp
  scripts/make-resources.py --sheet F.png also writes a contact sheet of all
                                          icons on light and dark backgrounds
"""
import argparse
import os
import struct
import sys
import zlib

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
# The drawing code and the icon designs live beside the files they make.
sys.path.insert(0, os.path.join(ROOT, "resources", "art"))
import shapes as rs  # noqa: E402
import icons as ri  # noqa: E402


# ---------------------------------------------------------------- file formats

def ico_image(canvas):
    """One icon image as a 32-bit DIB with its AND mask (bottom-up rows)."""
    n = canvas.n
    rows = canvas.rows()
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    color = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            color += bytes((b, g, r, a))
    mask_stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                line[x >> 3] |= 0x80 >> (x & 7)
        mask += line
    return header + bytes(color) + bytes(mask)


def ico_file(canvases):
    images = [ico_image(c) for c in canvases]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        size_byte = c.n if c.n < 256 else 0
        out += struct.pack("<BBBBHHII", size_byte, size_byte, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    return bytes(out)


def bmp24_file(rows):
    """A bottom-up 24-bit BMP from rows of (r, g, b)."""
    h = len(rows)
    w = len(rows[0])
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + bytes(pixels)


def png_file(width, height, rgb_rows):
    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    raw = bytearray()
    for row in rgb_rows:
        raw.append(0)
        for r, g, b in row:
            raw += bytes((r, g, b))
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def write_if_changed(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return False
    except FileNotFoundError:
        pass
    with open(path, "wb") as f:
        f.write(data)
    return True


# ---------------------------------------------------------------- menu bitmaps

def menu_bitmap(draw):
    """An 11x11 black-on-white bitmap: coverage of at least one half is ink."""
    c = rs.Canvas(11, unit=1.0)
    draw(c)
    rows = []
    for row in c.rows():
        rows.append([(0, 0, 0) if a >= 128 else (255, 255, 255) for _, _, _, a in row])
    return rows


def draw_check(c):
    # Both arms are 45-degree bands three pixels tall whose edges run between
    # pixel centres, so thresholding gives clean steps.
    short = rs.poly([(2, 3.5), (4.5, 6), (4.5, 9), (2, 6.5)])
    long_arm = rs.poly([(4.5, 6), (9, 1.5), (9, 4.5), (4.5, 9)])
    c.paint(rs.union(short, long_arm), "#000000")


def draw_bullet(c):
    c.paint(rs.ellipse(5.5, 5.5, 2.6, 2.6), "#000000")


# ---------------------------------------------------------------- toolbar strips

# The toolbar's image index of each command icon (the order of its strips);
# the gaps stay empty. Drawn from the same designs as the menu icons.
TOOLBAR_IMAGES = {
    0: 100, 1: 191, 2: 143, 3: 144, 6: 182, 9: 102, 10: 103, 11: 105, 12: 106,
    13: 107, 14: 108, 15: 111, 16: 112, 17: 114, 18: 115, 19: 116, 20: 142,
    22: 145, 23: 1156, 24: 1153, 25: 1155, 26: 1154, 27: 1157, 28: 162,
}
TOOLBAR_COUNT = 29
TOOLBAR_SIZES = (16, 24, 32, 48, 64)
MASK = (0xC0, 0xC0, 0xC0)  # the toolbar's transparent colour


def bmp32_file(rows):
    """A bottom-up 32-bit BMP from rows of (r, g, b, a), alpha premultiplied."""
    h = len(rows)
    w = len(rows[0])
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + bytes(pixels)


def toolbar_pixel(px, hot):
    """Premultiplied; a transparent pixel carries the mask colour so that the
    mask also works where alpha is ignored. Hot images are lightened."""
    r, g, b, a = px
    if a == 0:
        return MASK + (0,)
    if hot:
        r, g, b = (v + (255 - v) * 30 // 100 for v in (r, g, b))
    rgb = tuple((v * a + 127) // 255 for v in (r, g, b))
    if rgb == MASK:  # never the mask colour by chance
        rgb = (0xC0, 0xC0, 0xC1)
    return rgb + (a,)


def toolbar_strips(draw_by_number, n):
    """The normal and the hot strip at n pixels: TOOLBAR_COUNT images in a row."""
    blank = [(0, 0, 0, 0)] * n
    images = []
    for index in range(TOOLBAR_COUNT):
        number = TOOLBAR_IMAGES.get(index)
        if number is None:
            images.append([blank] * n)
            continue
        c = rs.Canvas(n)
        draw_by_number[number](c)
        images.append(c.rows())
    strips = []
    for hot in (False, True):
        rows = []
        for y in range(n):
            row = []
            for image in images:
                row.extend(toolbar_pixel(px, hot) for px in image[y])
            rows.append(row)
        strips.append(rows)
    return strips


# ---------------------------------------------------------------- contact sheet

DIGITS = {  # 3x5 pixel digits for the sheet's labels
    "0": "111101101101111", "1": "010110010010111", "2": "111001111100111",
    "3": "111001111001111", "4": "101101111001001", "5": "111100111001111",
    "6": "111100111101111", "7": "111001010010010", "8": "111101111101111",
    "9": "111101111001111",
}


def contact_sheet(icons):
    """Each icon at 16 and 32 px on light and dark, plus 16 px enlarged 4x."""
    backgrounds = [(249, 249, 249), (43, 43, 43)]
    cell_w = 16 + 6 + 32 + 6 + 64 + 10
    cell_h = 2 * (64 + 6)
    label_w = 20
    columns = 4
    lines = (len(icons) + columns - 1) // columns
    width = columns * (label_w + cell_w) + 10
    height = lines * (cell_h + 10) + 10
    img = [[(200, 200, 200)] * width for _ in range(height)]

    def put(x0, y0, canvas, bg, zoom=1):
        for y, row in enumerate(canvas.rows()):
            for x, (r, g, b, a) in enumerate(row):
                px = tuple((v * a + bv * (255 - a) + 127) // 255 for v, bv in zip((r, g, b), bg))
                for dy in range(zoom):
                    for dx in range(zoom):
                        img[y0 + y * zoom + dy][x0 + x * zoom + dx] = px

    for i, (number, sizes) in enumerate(icons):
        col, line = i % columns, i // columns
        x0 = 10 + col * (label_w + cell_w)
        y0 = 10 + line * (cell_h + 10)
        for d, ch in enumerate(str(number)):
            bits = DIGITS[ch]
            for k, bit in enumerate(bits):
                if bit == "1":
                    img[y0 + k // 3][x0 + d * 4 + k % 3] = (0, 0, 0)
        by_size = {c.n: c for c in sizes}
        for j, bg in enumerate(backgrounds):
            yb = y0 + j * (64 + 6)
            for yy in range(yb, yb + 64 + 6):
                for xx in range(x0 + label_w - 4, x0 + label_w + cell_w - 4):
                    img[yy][xx] = bg
            xb = x0 + label_w
            put(xb, yb + 3 + 24, by_size[16], bg)
            put(xb + 22, yb + 3 + 16, by_size[32], bg)
            put(xb + 60, yb + 3, by_size[16], bg, zoom=4)
    return png_file(width, height, img)


# ---------------------------------------------------------------- main

def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sheet", help="also write a contact sheet PNG here")
    parser.add_argument("--out", default=os.path.join(ROOT, "resources"),
                        help="resources folder (default: the repository's)")
    args = parser.parse_args()

    rendered = []
    changed = 0
    for number, draw, sizes in ri.ICONS:
        canvases = []
        for n in sizes:
            c = rs.Canvas(n)
            draw(c)
            canvases.append(c)
        name = "app.ico" if number == 1 else "%d.ico" % number
        changed += write_if_changed(os.path.join(args.out, "icons", name), ico_file(canvases))
        rendered.append((number, canvases))
    for number, draw in ((5, draw_check), (6, draw_bullet)):
        path = os.path.join(args.out, "bitmaps", "%d.bmp" % number)
        changed += write_if_changed(path, bmp24_file(menu_bitmap(draw)))
    draw_by_number = {number: draw for number, draw, _ in ri.ICONS}
    for n in TOOLBAR_SIZES:
        normal, hot = toolbar_strips(draw_by_number, n)
        changed += write_if_changed(os.path.join(args.out, "toolbar", "normal%d.bmp" % n), bmp32_file(normal))
        changed += write_if_changed(os.path.join(args.out, "toolbar", "hot%d.bmp" % n), bmp32_file(hot))
    print("%d icons, 2 bitmaps, %d toolbar strips, %d files changed"
          % (len(rendered), 2 * len(TOOLBAR_SIZES), changed))
    if args.sheet:
        write_if_changed(args.sheet, contact_sheet(rendered))
        print(args.sheet)
    return 0


if __name__ == "__main__":
    sys.exit(main())
