#!/usr/bin/env python3
"""Draws what the program shows before and around its rooms, in the standard
skin's hand (walnut, maple, brass, ivory and felt): the three splash pictures,
the application palette, the three pointer cursors and the animated busy
cursor, and the rooms' default wallpaper tiles.

usage: startgen.py <resource folder> <program folder>
writes
  <resource folder>/NORV.bmp, FENWORTH.bmp, SPLASH.bmp   splash pictures (400 x 280, 24-bit)
  <resource folder>/PAL.dib                             packed 8-bit DIB whose colour table is
                                                        the application palette
  <resource folder>/cursor3031.cur, 3032, 3033          pointer cursors (32 x 32, 32-bit)
  <resource folder>/tessarin_content.rc                 resource script naming all of the above
  <program folder>/busy.ani                             animated busy cursor (8 frames)
  <program folder>/Data/Wallpaper/tile.bmp, Standard.bmp, Tile_TrainingMenu.bmp,
      Tile_ReseauMenu.bmp, Tile_EncyclopediaMenu.bmp    wallpaper tiles (64 x 64, 24-bit)
"""
import math
import os
import random
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "skingen"))
import skingen as kit  # noqa: E402  (shared Image, wood, felt and palette)

SPLASH_W, SPLASH_H = 400, 280
TILE = 64

# --- a stroke alphabet for titles (4 x 6 grid, y down) ---------------------------


def _oval(cx, cy, rx, ry, n=20):
    return [(cx + rx * math.sin(2 * math.pi * i / n), cy - ry * math.cos(2 * math.pi * i / n))
            for i in range(n + 1)]


GLYPHS = {
    "A": [[(0, 6), (2, 0), (4, 6)], [(0.9, 3.6), (3.1, 3.6)]],
    "B": [[(0, 0), (0, 6), (3, 6), (4, 5.2), (4, 3.8), (3, 3), (0, 3)],
          [(0, 0), (2.8, 0), (3.7, 0.8), (3.7, 2.2), (2.8, 3)]],
    "D": [[(0, 0), (0, 6), (2.4, 6), (4, 4.6), (4, 1.4), (2.4, 0), (0, 0)]],
    "E": [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    "F": [[(4, 0), (0, 0), (0, 6)], [(0, 3), (3, 3)]],
    "H": [[(0, 0), (0, 6)], [(4, 0), (4, 6)], [(0, 3), (4, 3)]],
    "I": [[(2, 0), (2, 6)], [(1, 0), (3, 0)], [(1, 6), (3, 6)]],
    "L": [[(0, 0), (0, 6), (4, 6)]],
    "N": [[(0, 6), (0, 0), (4, 6), (4, 0)]],
    "O": [_oval(2, 3, 2, 3)],
    "P": [[(0, 6), (0, 0), (3, 0), (4, 0.8), (4, 2.2), (3, 3), (0, 3)]],
    "R": [[(0, 6), (0, 0), (3, 0), (4, 0.8), (4, 2.2), (3, 3), (0, 3)], [(2, 3), (4, 6)]],
    "S": [[(4, 0.9), (3, 0), (1, 0), (0, 0.9), (0, 2.1), (1, 3), (3, 3), (4, 3.9), (4, 5.1),
           (3, 6), (1, 6), (0, 5.1)]],
    "T": [[(0, 0), (4, 0)], [(2, 0), (2, 6)]],
    "U": [[(0, 0), (0, 5), (1, 6), (3, 6), (4, 5), (4, 0)]],
    "V": [[(0, 0), (2, 6), (4, 0)]],
    "W": [[(0, 0), (1, 6), (2, 2.4), (3, 6), (4, 0)]],
    " ": [],
}


def text(img, s, x, y, size, colour, width, spacing=1.6):
    """Draws s with its top-left corner at (x, y); size is the cap height."""
    k = size / 6.0
    for ch in s:
        for stroke in GLYPHS[ch]:
            for (x0, y0), (x1, y1) in zip(stroke, stroke[1:]):
                kit.thick_line(img, x + x0 * k, y + y0 * k, x + x1 * k, y + y1 * k, colour, width)
        x += (4 + spacing) * k


def text_width(s, size, spacing=1.6):
    return len(s) * (4 + spacing) * size / 6.0 - spacing * size / 6.0


# --- pictures ----------------------------------------------------------------------


def fill_rect(img, x0, y0, x1, y1, colour_at):
    for y in range(max(0, y0), min(img.h, y1)):
        for x in range(max(0, x0), min(img.w, x1)):
            img.px[y][x] = colour_at(x, y)


def frame(img, border, seed):
    """A walnut frame of the given width around the picture, with a brass
    inlay line on its inner edge."""
    wood = kit.wood(img.w, img.h, kit.WALNUT, seed, light=0.4)
    for y in range(img.h):
        for x in range(img.w):
            d = min(x, y, img.w - 1 - x, img.h - 1 - y)
            if d < border:
                img.px[y][x] = wood.px[y][x]
            elif d < border + 2:
                img.px[y][x] = kit.shade(kit.BRASS, 1.1 - 0.15 * (d - border))
    kit.bevel(img, (255, 236, 200), (30, 18, 8), 2)


def ivory_tile(img, x, y, size, letter):
    """A letter tile: ivory face, soft bevel, ink letter and its value."""
    for j in range(size):
        for i in range(size):
            t = (i + j) / (2.0 * size)
            img.set(x + i, y + j, kit.mix(kit.IVORY, kit.shade(kit.IVORY, 0.82), t))
    for i in range(size):
        img.blend(x + i, y, (255, 255, 255), 0.7)
        img.blend(x, y + i, (255, 255, 255), 0.7)
        img.blend(x + i, y + size - 1, (120, 96, 64), 0.7)
        img.blend(x + size - 1, y + i, (120, 96, 64), 0.7)
    cap = size * 0.46
    text(img, letter, x + (size - text_width(letter, cap)) / 2 - size * 0.06, y + size * 0.2, cap,
         kit.INK,
         max(1.6, size / 14))
    # every letter of the title is worth one point: a small "1" in the corner
    small = size * 0.16
    kit.thick_line(img, x + size - 5, y + size - 4 - small, x + size - 5, y + size - 4, kit.INK, 1.1)


def splash_norv():
    img = kit.felt(SPLASH_W, SPLASH_H, kit.FELT_DARK, 21)
    frame(img, 14, 22)
    cx, cy = SPLASH_W / 2, SPLASH_H / 2 - 14
    kit.disc(img, cx, cy, 78, lambda dx, dy: kit.mix(kit.BRASS, kit.shade(kit.BRASS, 0.6),
                                                      (dy + 78) / 156))
    kit.disc(img, cx, cy, 68, lambda dx, dy: kit.shade(kit.WALNUT, 1.0 + 0.002 * (-dy)))
    word = "NORV"
    size = 32
    text(img, word, cx - text_width(word, size) / 2, cy - size / 2, size, kit.BRASS, 4.2)
    sub = "SOFT"
    size = 20
    text(img, sub, cx - text_width(sub, size, 2.4) / 2, cy + 96, size, kit.IVORY, 2.2, 2.4)
    return img


def splash_fenworth():
    img = kit.wood(SPLASH_W, SPLASH_H, kit.MAPLE, 31, light=0.3)
    frame(img, 14, 32)
    word = "FENWORTH"
    size = 36
    x = (SPLASH_W - text_width(word, size)) / 2
    y = SPLASH_H / 2 - size / 2 - 16
    text(img, word, x + 2, y + 2, size, kit.shade(kit.WALNUT_DARK, 0.8), 4.0)
    text(img, word, x, y, size, kit.IVORY, 4.0)
    kit.thick_line(img, x, y + size + 16, x + text_width(word, size), y + size + 16, kit.BRASS, 3)
    sub = "PRESENTS"
    size = 16
    text(img, sub, (SPLASH_W - text_width(sub, size, 2.4)) / 2, y + size * 2 + 42, size,
         kit.WALNUT_DARK, 2.0, 2.4)
    return img


def splash_title():
    img = kit.felt(SPLASH_W, SPLASH_H, kit.FELT, 41)
    frame(img, 16, 42)
    # a faint board grid on the felt
    for y in range(16, SPLASH_H - 16):
        for x in range(16, SPLASH_W - 16):
            if (x - 16) % 24 == 0 or (y - 16) % 24 == 0:
                img.blend(x, y, kit.FELT_DARK, 0.5)
    word = "TESSARIN"
    size = 40
    gap = 4
    x0 = (SPLASH_W - (len(word) * (size + gap) - gap)) // 2
    y0 = SPLASH_H // 2 - size // 2 - 10
    for i, ch in enumerate(word):
        x = x0 + i * (size + gap)
        fill_rect(img, x + 3, y0 + 3, x + size + 3, y0 + size + 3,
                  lambda px, py: kit.shade(img.px[py][px], 0.6))
        ivory_tile(img, x, y0 + (4 if i % 2 else 0), size, ch)
    sub = "WORD BOARD"
    size = 16
    text(img, sub, (SPLASH_W - text_width(sub, size, 2.4)) / 2, y0 + 70, size, kit.BRASS, 2.0,
         2.4)
    return img


# --- palette -----------------------------------------------------------------------


def palette():
    """256 entries: the system's 20 colours stay at 0-9 and 246-255 (the
    program overwrites 10-245 only); 10-245 hold a 6 x 6 x 6 colour cube and
    ramps of the house tones."""
    system = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
              (0, 128, 128), (192, 192, 192), (192, 220, 192), (166, 202, 240)]
    system_hi = [(255, 251, 240), (160, 160, 164), (128, 128, 128), (255, 0, 0), (0, 255, 0),
                 (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    middle = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    tones = [kit.WALNUT, kit.WALNUT_DARK, kit.MAPLE, kit.FELT, kit.FELT_DARK, kit.CREAM,
             kit.IVORY, kit.BRASS, kit.INK]
    for i in range(236 - len(middle)):
        base = tones[i % len(tones)]
        middle.append(kit.shade(base, 0.75 + 0.25 * (i // len(tones))))
    return system + middle + system_hi


def packed_dib(pal):
    """A 16 x 16 8-bit DIB showing every entry once, without a file header."""
    w = h = 16
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, w * h, 2835, 2835, 256, 0)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in pal)
    bits = bytes(y * 16 + x for y in range(h - 1, -1, -1) for x in range(w))
    return info + table + bits


# --- cursors ------------------------------------------------------------------------


class Rgba:
    """A small picture with coverage: each pixel is (r, g, b, a)."""

    def __init__(self, size):
        self.size = size
        self.px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def paint(self, inside, colour_at, samples=4):
        """Paints where inside(x, y) holds, anti-aliased by supersampling."""
        n = self.size
        for y in range(n):
            for x in range(n):
                hits = sum(1 for j in range(samples) for i in range(samples)
                           if inside(x + (i + 0.5) / samples, y + (j + 0.5) / samples))
                if not hits:
                    continue
                a = hits / float(samples * samples)
                c = colour_at(x, y)
                r0, g0, b0, a0 = self.px[y][x]
                a0 /= 255.0
                out_a = a + a0 * (1 - a)
                mixc = tuple(int((c[k] * a + (r0, g0, b0)[k] * a0 * (1 - a)) / out_a + 0.5)
                             for k in range(3))
                self.px[y][x] = mixc + (int(out_a * 255 + 0.5),)


def polygon(points):
    def inside(x, y):
        hit = False
        for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                hit = not hit
        return hit
    return inside


def grow(points, d):
    """The polygon pushed out by d from its centre (an outline for the shape)."""
    cx = sum(p[0] for p in points) / len(points)
    cy = sum(p[1] for p in points) / len(points)
    out = []
    for x, y in points:
        dx, dy = x - cx, y - cy
        n = math.hypot(dx, dy) or 1
        out.append((x + dx / n * d, y + dy / n * d))
    return out


ARROW = [(1, 1), (1, 22), (6, 17), (10, 26), (13, 25), (9, 16), (16, 16)]


def cursor_pointer():
    c = Rgba(32)
    c.paint(polygon(grow(ARROW, 1.3)), lambda x, y: kit.IVORY)
    c.paint(polygon(ARROW), lambda x, y: kit.mix(kit.WALNUT, kit.WALNUT_DARK, y / 26.0))
    c.paint(polygon([(2.5, 4), (2.5, 10), (5, 8)]), lambda x, y: kit.BRASS)
    return c, (1, 1)


def cursor_carry():
    """The pointer carrying a tile."""
    c = Rgba(32)
    c.paint(lambda x, y: 14 <= x <= 29 and 14 <= y <= 29, lambda x, y: (120, 96, 64))
    c.paint(lambda x, y: 15 <= x <= 28 and 15 <= y <= 28,
            lambda x, y: kit.mix(kit.IVORY, kit.shade(kit.IVORY, 0.82), (x + y - 30) / 28.0))
    c.paint(lambda x, y: 18 <= x <= 25 and 18 <= y <= 19.6, lambda x, y: kit.INK)
    c.paint(lambda x, y: 20.7 <= x <= 22.3 and 18 <= y <= 26, lambda x, y: kit.INK)
    small = [(x * 0.8, y * 0.8) for x, y in ARROW]
    c.paint(polygon(grow(small, 1.3)), lambda x, y: kit.IVORY)
    c.paint(polygon(small), lambda x, y: kit.WALNUT)
    return c, (1, 1)


def cursor_cross():
    """A brass cross for aiming at a square."""
    c = Rgba(32)

    def bar(x0, y0, x1, y1):
        return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1

    for rect, colour in (((14.5, 2, 17.5, 30), kit.INK), ((2, 14.5, 30, 17.5), kit.INK),
                         ((15.2, 3, 16.8, 29), kit.BRASS), ((3, 15.2, 29, 16.8), kit.BRASS)):
        c.paint(bar(*rect), lambda x, y, colour=colour: colour)
    c.paint(lambda x, y: 4.5 < math.hypot(x - 16, y - 16) < 6.5, lambda x, y: kit.INK)
    return c, (16, 16)


def busy_frame(i, frames):
    """One frame of the busy spinner: a brass ring with a walnut bead going
    round."""
    c = Rgba(32)
    c.paint(lambda x, y: 9 < math.hypot(x - 16, y - 16) < 14.5, lambda x, y: kit.INK)
    c.paint(lambda x, y: 10 < math.hypot(x - 16, y - 16) < 13.5,
            lambda x, y: kit.mix(kit.BRASS, kit.shade(kit.BRASS, 0.6), y / 32.0))
    a = 2 * math.pi * i / frames
    bx, by = 16 + 11.7 * math.sin(a), 16 - 11.7 * math.cos(a)
    c.paint(lambda x, y: math.hypot(x - bx, y - by) < 4.2, lambda x, y: kit.IVORY)
    c.paint(lambda x, y: math.hypot(x - bx, y - by) < 3.2, lambda x, y: kit.WALNUT)
    return c, (16, 16)


def cur_bytes(c, hotspot):
    """A one-image .cur file: 32-bit colour with alpha and its AND mask."""
    n = c.size
    info = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    mask = bytearray()
    for y in range(n - 1, -1, -1):
        bits = 0
        for x in range(n):
            r, g, b, a = c.px[y][x]
            xor += bytes((b, g, r, a))
            bits = (bits << 1) | (1 if a == 0 else 0)
        mask += struct.pack(">I", bits)
    image = info + bytes(xor) + bytes(mask)
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", n, n, 0, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return head + entry + image


def ani_bytes(frames, jiffies):
    """An animated cursor: RIFF 'ACON' with the header and one icon chunk a
    frame."""
    def chunk(tag, data):
        pad = b"\0" if len(data) % 2 else b""
        return tag + struct.pack("<I", len(data)) + data + pad

    anih = struct.pack("<9I", 36, len(frames), len(frames), 0, 0, 0, 0, jiffies, 1)
    fram = b"fram" + b"".join(chunk(b"icon", f) for f in frames)
    body = b"ACON" + chunk(b"anih", anih) + chunk(b"LIST", fram)
    return b"RIFF" + struct.pack("<I", len(body)) + body


# --- wallpaper tiles ----------------------------------------------------------------


def periodic_wood(base, seed, rings):
    """Wood whose grain wraps at the tile's edges so the tile repeats."""
    rnd = random.Random(seed)
    p = [rnd.uniform(0, 6.28) for _ in range(3)]
    img = kit.Image(TILE, TILE)
    w = 2 * math.pi / TILE
    for y in range(TILE):
        for x in range(TILE):
            g = (math.sin(y * w * rings + math.sin(x * w + p[0]) * 1.8 + p[1]) * 0.5 +
                 math.sin(y * w * rings * 3 + x * w * 2 + p[2]) * 0.2)
            img.px[y][x] = kit.shade(base, 1.0 + g * 0.1)
    return img


def parquet():
    """Lobby floor: four walnut and maple boards laid crosswise."""
    a = periodic_wood(kit.WALNUT, 1, 6)
    b = periodic_wood(kit.MAPLE, 2, 6)
    img = kit.Image(TILE, TILE)
    h = TILE // 2
    for y in range(TILE):
        for x in range(TILE):
            quad = (x >= h) != (y >= h)
            src = b if quad else a
            img.px[y][x] = src.px[x][y] if quad else src.px[y][x]
            if x % h == 0 or y % h == 0:
                img.px[y][x] = kit.shade(img.px[y][x], 0.7)
    return img


def felt_tile(base, seed):
    return kit.felt(TILE, TILE, base, seed)


def training_tile():
    """Maple with a faint square grid, like an empty board."""
    img = periodic_wood(kit.MAPLE, 3, 4)
    for y in range(TILE):
        for x in range(TILE):
            if x % 16 == 0 or y % 16 == 0:
                img.blend(x, y, kit.WALNUT_DARK, 0.35)
    return img


def network_tile():
    """Felt with brass studs joined by fine threads."""
    img = felt_tile(kit.FELT_DARK, 4)
    for y in range(TILE):
        for x in range(TILE):
            if x == 16 or y == 48:
                img.blend(x, y, kit.BRASS, 0.35)
    for cx, cy in ((16, 48), (48, 16)):
        kit.disc(img, cx, cy, 3.5, lambda dx, dy: kit.mix(kit.BRASS, kit.shade(kit.BRASS, 0.6),
                                                         (dy + 3.5) / 7))
    kit.thick_line(img, 16, 48, 48, 16, kit.shade(kit.BRASS, 0.8), 1.0)
    return img


def paper_tile():
    """Ivory paper with ruled lines for the encyclopaedia."""
    rnd = random.Random(5)
    img = kit.Image(TILE, TILE)
    for y in range(TILE):
        for x in range(TILE):
            img.px[y][x] = kit.shade(kit.IVORY, 1 + rnd.uniform(-0.03, 0.02))
            if y % 16 == 12:
                img.px[y][x] = kit.mix(img.px[y][x], kit.MAPLE, 0.35)
    return img


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    res, program = sys.argv[1], sys.argv[2]
    wallpaper = os.path.join(program, "Data", "Wallpaper")
    for d in (res, wallpaper):
        os.makedirs(d, exist_ok=True)
    for name, make in (("NORV", splash_norv), ("FENWORTH", splash_fenworth),
                       ("SPLASH", splash_title)):
        write(os.path.join(res, name + ".bmp"), make().bmp())
    write(os.path.join(res, "PAL.dib"), packed_dib(palette()))
    cursors = {3031: cursor_pointer, 3032: cursor_carry, 3033: cursor_cross}
    for ident, make in cursors.items():
        write(os.path.join(res, "cursor%d.cur" % ident), cur_bytes(*make()))
    frames = [cur_bytes(*busy_frame(i, 8)) for i in range(8)]
    write(os.path.join(program, "busy.ani"), ani_bytes(frames, 6))
    for name, make in (("tile.bmp", parquet), ("Standard.bmp", lambda: felt_tile(kit.FELT, 6)),
                       ("Tile_TrainingMenu.bmp", training_tile),
                       ("Tile_ReseauMenu.bmp", network_tile),
                       ("Tile_EncyclopediaMenu.bmp", paper_tile)):
        write(os.path.join(wallpaper, name), make().bmp())
    here = os.path.abspath(res).replace("\\", "/")
    lines = ["// Generated by tools/startgen: splash pictures, palette and cursors."]
    for name in ("NORV", "FENWORTH", "SPLASH"):
        lines.append('%s BITMAP "%s/%s.bmp"' % (name, here, name))
    lines.append('PAL RCDATA "%s/PAL.dib"' % here)
    for ident in sorted(cursors):
        lines.append('%d CURSOR "%s/cursor%d.cur"' % (ident, here, ident))
    with open(os.path.join(res, "tessarin_content.rc"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
