#!/usr/bin/env python3
"""Draws RawBench's icons and writes them as PNG files.

Every image is drawn here from simple shapes (polygons, strokes, circles, arcs) with 4x4 supersampling, so
the icons need no drawing program and no image library: only the Python standard library.

    python3 scripts/make_icons.py            # writes app/resources/icon/*.png and app/rawbench.png
"""
import math
import os
import struct
import sys
import zlib

SS = 4  # samples per pixel along each axis


# ---------------------------------------------------------------- shapes: each answers "is (x, y) inside?"
def _seg_dist2(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    len2 = dx * dx + dy * dy
    t = 0.0 if len2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / len2))
    qx, qy = ax + t * dx - px, ay + t * dy - py
    return qx * qx + qy * qy


def poly(points, color):
    def inside(x, y):
        c = False
        n = len(points)
        for i in range(n):
            (x1, y1), (x2, y2) = points[i], points[(i + 1) % n]
            if (y1 > y) != (y2 > y) and x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
                c = not c
        return c

    return inside, color


def stroke(points, width, color, closed=False):
    pts = list(points) + ([points[0]] if closed else [])
    h2 = (width / 2.0) ** 2

    def inside(x, y):
        for i in range(len(pts) - 1):
            if _seg_dist2(x, y, pts[i][0], pts[i][1], pts[i + 1][0], pts[i + 1][1]) <= h2:
                return True
        return False

    return inside, color


def rect(x0, y0, x1, y1, color, radius=0.0):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        if radius <= 0:
            return True
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius

    return inside, color


def circle(cx, cy, r, color):
    return (lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r), color


def ring(cx, cy, r, width, color, a0=0.0, a1=360.0):
    """Circular arc of radius r from angle a0 to a1 (degrees, counter-clockwise on screen, 0 = east)."""

    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > width / 2.0:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360.0
        lo, hi = a0 % 360.0, a1 % 360.0
        if a1 - a0 >= 360.0:
            return True
        return lo <= a <= hi if lo <= hi else (a >= lo or a <= hi)

    return inside, color


def polar(cx, cy, r, deg):
    return cx + r * math.cos(math.radians(deg)), cy - r * math.sin(math.radians(deg))


# ---------------------------------------------------------------- rendering and PNG output
def render(w, h, shapes, background=(0, 0, 0, 0)):
    pixels = []
    step = 1.0 / SS
    offs = [(i + 0.5) * step for i in range(SS)]
    for py in range(h):
        row = []
        for px in range(w):
            r, g, b, a = [c / 255.0 for c in background]
            r, g, b = r * a, g * a, b * a  # premultiplied
            for inside, color in shapes:
                hits = 0
                for oy in offs:
                    for ox in offs:
                        if inside(px + ox, py + oy):
                            hits += 1
                if hits == 0:
                    continue
                ca = hits / float(SS * SS) * (color[3] / 255.0 if len(color) > 3 else 1.0)
                r = color[0] / 255.0 * ca + r * (1 - ca)
                g = color[1] / 255.0 * ca + g * (1 - ca)
                b = color[2] / 255.0 * ca + b * (1 - ca)
                a = ca + a * (1 - ca)
            if a > 0:
                r, g, b = r / a, g / a, b / a
            row.append(tuple(int(round(max(0.0, min(1.0, v)) * 255)) for v in (r, g, b, a)))
        pixels.append(row)
    return pixels


def write_png(path, pixels):
    h, w = len(pixels), len(pixels[0])
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in pixels)

    def chunk(tag, data):
        c = struct.pack(">I", len(data)) + tag + data
        return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


# ---------------------------------------------------------------- palette
INK = (40, 40, 40)
WHITE = (255, 255, 255)
PAPER = (250, 250, 245)
PAPER_EDGE = (90, 90, 100)
RED = (210, 30, 30)
GREEN = (30, 150, 50)
BLUE = (40, 90, 180)
FOLDER = (240, 190, 60)
FOLDER_DARK = (170, 120, 20)
MARKER_GREY = (98, 98, 98)


def sheet(x0, y0, x1, y1, fold=5.0):
    """A sheet of paper with a folded top-right corner."""
    outline = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    return [
        poly(outline, PAPER),
        stroke(outline, 1.2, PAPER_EDGE, closed=True),
        poly([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], (200, 200, 200)),
        stroke([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], 1.0, PAPER_EDGE),
    ]


def floppy(x0, y0, s, body=BLUE):
    x1, y1 = x0 + s, y0 + s
    outline = [(x0, y0), (x1 - 3, y0), (x1, y0 + 3), (x1, y1), (x0, y1)]
    return [
        poly(outline, body),
        stroke(outline, 1.0, (20, 40, 90), closed=True),
        rect(x0 + 3.5, y0 + 1, x1 - 5, y0 + s * 0.36, (210, 215, 225)),
        rect(x1 - 8.5, y0 + 2, x1 - 6.5, y0 + s * 0.30, (50, 60, 80)),
        rect(x0 + 2.5, y0 + s * 0.52, x1 - 2.5, y1 - 1, WHITE, 1.0),
        stroke([(x0 + 4.5, y0 + s * 0.66), (x1 - 4.5, y0 + s * 0.66)], 1.0, (150, 150, 170)),
        stroke([(x0 + 4.5, y0 + s * 0.82), (x1 - 4.5, y0 + s * 0.82)], 1.0, (150, 150, 170)),
    ]


def red_cross(cx, cy, r, width=3.0):
    return [
        stroke([(cx - r, cy - r), (cx + r, cy + r)], width + 2.0, WHITE),
        stroke([(cx - r, cy + r), (cx + r, cy - r)], width + 2.0, WHITE),
        stroke([(cx - r, cy - r), (cx + r, cy + r)], width, RED),
        stroke([(cx - r, cy + r), (cx + r, cy - r)], width, RED),
    ]


def arrow_right(x0, y, x1, color, shaft=3.0, head=5.0):
    return [
        stroke([(x0, y), (x1 - head, y)], shaft, color),
        poly([(x1 - head - 1.5, y - head), (x1, y), (x1 - head - 1.5, y + head)], color),
    ]


def gear(cx, cy, r_out, r_in, teeth, color, hole):
    pts = []
    for i in range(teeth * 4):
        ang = 360.0 * i / (teeth * 4) + 360.0 / (teeth * 8)
        rr = r_out if (i % 4) in (0, 1) else r_in
        pts.append(polar(cx, cy, rr, ang))
    return [poly(pts, color), circle(cx, cy, hole, WHITE), ring(cx, cy, hole, 1.0, (60, 60, 60))]


# ---------------------------------------------------------------- the icons
def icon_base():
    # Plan marker of a base station: grey outlined triangle, dot at the image centre.
    tri = [(9.5, 1.2), (17.8, 15.6), (1.2, 15.6)]
    return 19, 19, [stroke(tri, 1.6, MARKER_GREY, closed=True), circle(9.5, 10.6, 1.9, MARKER_GREY)], (0, 0, 0, 0)


def icon_rover():
    # Plan marker of a rover point: black filled circle on a white square.
    return 12, 12, [circle(6.0, 6.0, 4.6, (0, 0, 0))], (255, 255, 255, 255)


def icon_open():
    back = [(2, 5), (9, 5), (11, 7), (20, 7), (20, 19), (2, 19)]
    front = [(5.5, 10.5), (23, 10.5), (19.5, 20), (2, 20)]
    return 24, 24, [
        poly(back, FOLDER_DARK),
        stroke(back, 1.0, (110, 75, 10), closed=True),
        rect(4, 8.5, 18, 14, PAPER),
        poly(front, FOLDER),
        stroke(front, 1.0, (120, 85, 15), closed=True),
    ], (0, 0, 0, 0)


def icon_save():
    return 24, 24, floppy(2.5, 2.5, 19.0), (0, 0, 0, 0)


def icon_saveas():
    pen = [(12.5, 20.5), (13.5, 16.5), (21, 9), (23.5, 11.5), (16, 19)]
    return 24, 24, floppy(0.5, 0.5, 17.0) + [
        stroke(pen, 3.0, WHITE, closed=True),
        poly(pen, (240, 170, 40)),
        stroke(pen, 1.0, (120, 70, 0), closed=True),
        poly([(12.5, 20.5), (13.5, 16.5), (16, 19)], INK),
    ], (0, 0, 0, 0)


def icon_export():
    # A table sheet (CSV) with a green arrow leaving it.
    shapes = sheet(2, 2, 16, 22)
    for y in (8, 12, 16):
        shapes.append(stroke([(4.5, y), (13.5, y)], 1.0, (120, 140, 180)))
    shapes.append(stroke([(9, 6), (9, 19.5)], 1.0, (120, 140, 180)))
    shapes += [stroke([(10, 14), (17, 14)], 6.0, WHITE)] + arrow_right(10, 14, 23.5, GREEN, 3.2, 5.0)
    return 24, 24, shapes, (0, 0, 0, 0)


def icon_close():
    return 24, 24, sheet(3, 2, 19, 22) + red_cross(14, 15, 5.0, 3.0), (0, 0, 0, 0)


def icon_exit():
    door = [(3, 2), (14, 2), (14, 22), (3, 22)]
    return 24, 24, [
        poly(door, (150, 95, 50)),
        stroke(door, 1.2, (80, 45, 15), closed=True),
        circle(11.5, 12.5, 1.2, (250, 220, 120)),
        stroke([(11, 12), (20, 12)], 6.0, (0, 0, 0, 0)),
    ] + arrow_right(9, 12, 23, RED, 3.2, 5.0), (0, 0, 0, 0)


def icon_copy():
    return 24, 24, sheet(2, 2, 15, 17, 4) + sheet(8, 7, 21, 22, 4), (0, 0, 0, 0)


def icon_cut():
    return 24, 24, [
        stroke([(8, 2), (15.5, 15)], 2.2, (110, 110, 120)),
        stroke([(16, 2), (8.5, 15)], 2.2, (140, 140, 150)),
        circle(12, 10.5, 1.0, INK),
        ring(7, 18.5, 3.3, 2.2, RED),
        ring(17, 18.5, 3.3, 2.2, RED),
    ], (0, 0, 0, 0)


def icon_paste():
    board = [(3, 4), (19, 4), (19, 22), (3, 22)]
    return 24, 24, [
        rect(3, 4, 19, 22, (180, 130, 70), 1.5),
        stroke(board, 1.0, (100, 60, 20), closed=True),
        rect(7, 2, 15, 6.5, (120, 120, 130), 1.0),
    ] + sheet(10, 9, 22, 23, 4), (0, 0, 0, 0)


def _base_triangle(color, width=2.2):
    return [
        stroke([(10, 3), (18, 17), (2, 17)], width, color, closed=True),
        circle(10, 12.3, 2.0, color),
    ]


def icon_deletebase():
    return 24, 24, _base_triangle((80, 80, 80)) + red_cross(17.5, 17.5, 4.0, 2.8), (0, 0, 0, 0)


def icon_deleterover():
    return 24, 24, [
        rect(1.5, 1.5, 17.5, 17.5, WHITE),
        stroke([(1.5, 1.5), (17.5, 1.5), (17.5, 17.5), (1.5, 17.5)], 1.0, (150, 150, 150), closed=True),
        circle(9.5, 9.5, 6.0, (0, 0, 0)),
    ] + red_cross(17.5, 17.5, 4.0, 2.8), (0, 0, 0, 0)


def icon_config():
    # Antenna catalogue: a GNSS antenna on its pole, signals arriving from above.
    return 24, 24, [
        ring(12, 9, 8.5, 1.6, BLUE, 45, 135),
        ring(12, 9, 5.0, 1.6, BLUE, 50, 130),
        rect(10.8, 12, 13.2, 23, (90, 90, 90)),
        poly([(3, 15.5), (21, 15.5), (18, 11.5), (6, 11.5)], (235, 235, 235)),
        stroke([(3, 15.5), (21, 15.5), (18, 11.5), (6, 11.5)], 1.2, INK, closed=True),
        rect(4, 15.5, 20, 17.5, (60, 60, 60)),
    ], (0, 0, 0, 0)


def icon_setting():
    return 24, 24, gear(12, 12, 10.5, 7.5, 8, (100, 110, 130), 3.2), (0, 0, 0, 0)


def icon_recalculate():
    # Two arrows chasing each other round a circle.
    shapes = [ring(12, 12, 8, 3.0, GREEN, 20, 160), ring(12, 12, 8, 3.0, BLUE, 200, 340)]
    for ang, col in ((20, GREEN), (200, BLUE)):
        tip_x, tip_y = polar(12, 12, 8, ang - 18)
        b1 = polar(12, 12, 12.5, ang + 4)
        b2 = polar(12, 12, 3.5, ang + 4)
        shapes.append(poly([b1, (tip_x, tip_y), b2], col))
    return 24, 24, shapes, (0, 0, 0, 0)


def icon_app():
    # Desktop entry icon: a plan with a base, two rovers and their lines.
    s = 2.0
    shapes = [rect(1, 1, 47, 47, (245, 248, 252), 6), stroke([(1, 1), (47, 1), (47, 47), (1, 47)], 1.5,
                                                              (120, 130, 150), closed=True)]
    base = (16, 30)
    rovers = [(36, 12), (38, 38), (10, 10)]
    for r in rovers:
        shapes.append(stroke([base, r], 1.6, RED))
    for r in rovers:
        shapes += [rect(r[0] - 3.5, r[1] - 3.5, r[0] + 3.5, r[1] + 3.5, WHITE), circle(r[0], r[1], 3.0, (0, 0, 0))]
    tri = [(base[0], base[1] - 8 * s / 2), (base[0] + 7, base[1] + 5), (base[0] - 7, base[1] + 5)]
    shapes += [poly(tri, (255, 255, 255, 200)), stroke(tri, 2.2, MARKER_GREY, closed=True),
               circle(base[0], base[1] + 1, 1.8, MARKER_GREY)]
    return 48, 48, shapes, (0, 0, 0, 0)


ICONS = {
    "base": icon_base, "rover": icon_rover, "open": icon_open, "save": icon_save, "saveas": icon_saveas,
    "export": icon_export, "close": icon_close, "exit": icon_exit, "copy": icon_copy, "cut": icon_cut,
    "paste": icon_paste, "deletebase": icon_deletebase, "deleterover": icon_deleterover,
    "config": icon_config, "setting": icon_setting, "recalculate": icon_recalculate,
}


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app")
    outdir = os.path.join(root, "resources", "icon")
    os.makedirs(outdir, exist_ok=True)
    for name, make in ICONS.items():
        w, h, shapes, bg = make()
        write_png(os.path.join(outdir, name + ".png"), render(w, h, shapes, bg))
    w, h, shapes, bg = icon_app()
    write_png(os.path.join(root, "rawbench.png"), render(w, h, shapes, bg))
    return 0


if __name__ == "__main__":
    sys.exit(main())
