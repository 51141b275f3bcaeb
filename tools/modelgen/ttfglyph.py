"""Reads glyph outlines from a TrueType font and fills them into coverage
masks: enough of the format (cmap 4, loca, glyf simple and composite glyphs,
hmtx) to engrave letters and numbers on the board's textures.
"""
import struct

# Symbols the textures use beyond Latin: arrows and the star.
EXTRA_CHARS = {0x2190, 0x2191, 0x2192, 0x2193, 0x2605}


class Font:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        count = struct.unpack(">H", d[4:6])[0]
        self.tables = {}
        for i in range(count):
            tag, _, off, length = struct.unpack(">4sIII", d[12 + 16 * i:28 + 16 * i])
            self.tables[tag.decode("latin-1")] = (off, length)
        head = self.tables["head"][0]
        self.units = struct.unpack(">H", d[head + 18:head + 20])[0]
        self.loca_long = struct.unpack(">h", d[head + 50:head + 52])[0] == 1
        hhea = self.tables["hhea"][0]
        self.ascent, self.descent = struct.unpack(">hh", d[hhea + 4:hhea + 8])
        self.hmetrics = struct.unpack(">H", d[hhea + 34:hhea + 36])[0]
        self.cmap = self._read_cmap()

    def _read_cmap(self):
        d = self.data
        base = self.tables["cmap"][0]
        n = struct.unpack(">H", d[base + 2:base + 4])[0]
        for i in range(n):
            pid, eid, off = struct.unpack(">HHI", d[base + 4 + 8 * i:base + 12 + 8 * i])
            sub = base + off
            if struct.unpack(">H", d[sub:sub + 2])[0] == 4 and pid in (0, 3):
                return self._cmap4(sub)
        raise ValueError("no format 4 character map")

    def _cmap4(self, sub):
        d = self.data
        segs = struct.unpack(">H", d[sub + 6:sub + 8])[0] // 2
        ends = struct.unpack(">%dH" % segs, d[sub + 14:sub + 14 + 2 * segs])
        p = sub + 16 + 2 * segs
        starts = struct.unpack(">%dH" % segs, d[p:p + 2 * segs])
        deltas = struct.unpack(">%dh" % segs, d[p + 2 * segs:p + 4 * segs])
        ro_at = p + 4 * segs
        offsets = struct.unpack(">%dH" % segs, d[ro_at:ro_at + 2 * segs])
        table = {}
        for s in range(segs):
            for c in range(starts[s], ends[s] + 1):
                if c == 0xFFFF or (c > 0x2FF and c not in EXTRA_CHARS):
                    continue
                if offsets[s] == 0:
                    g = (c + deltas[s]) & 0xFFFF
                else:
                    at = ro_at + 2 * s + offsets[s] + 2 * (c - starts[s])
                    g = struct.unpack(">H", d[at:at + 2])[0]
                    if g:
                        g = (g + deltas[s]) & 0xFFFF
                table[c] = g
        return table

    def advance(self, glyph):
        d = self.data
        base = self.tables["hmtx"][0]
        i = min(glyph, self.hmetrics - 1)
        return struct.unpack(">H", d[base + 4 * i:base + 4 * i + 2])[0]

    def _glyph_range(self, glyph):
        d = self.data
        loca = self.tables["loca"][0]
        if self.loca_long:
            a, b = struct.unpack(">II", d[loca + 4 * glyph:loca + 4 * glyph + 8])
        else:
            a, b = struct.unpack(">HH", d[loca + 2 * glyph:loca + 2 * glyph + 4])
            a, b = a * 2, b * 2
        return self.tables["glyf"][0] + a, b - a

    def contours(self, glyph):
        """The glyph's closed contours as lists of (x, y, on-curve) in font units."""
        start, length = self._glyph_range(glyph)
        if length == 0:
            return []
        d = self.data
        n = struct.unpack(">h", d[start:start + 2])[0]
        if n < 0:
            return self._composite(start + 10)
        ends = struct.unpack(">%dH" % n, d[start + 10:start + 10 + 2 * n])
        p = start + 10 + 2 * n
        ilen = struct.unpack(">H", d[p:p + 2])[0]
        p += 2 + ilen
        total = ends[-1] + 1 if n else 0
        flags = []
        while len(flags) < total:
            f = d[p]
            p += 1
            flags.append(f)
            if f & 8:
                r = d[p]
                p += 1
                flags.extend([f] * r)
        xs, ys = [], []
        for coords, short_bit, same_bit in ((xs, 2, 16), (ys, 4, 32)):
            v = 0
            for f in flags[:total]:
                if f & short_bit:
                    dv = d[p]
                    p += 1
                    v += dv if f & same_bit else -dv
                elif not f & same_bit:
                    v += struct.unpack(">h", d[p:p + 2])[0]
                    p += 2
                coords.append(v)
        out, first = [], 0
        for e in ends:
            out.append([(xs[i], ys[i], bool(flags[i] & 1)) for i in range(first, e + 1)])
            first = e + 1
        return out

    def _composite(self, p):
        d = self.data
        out = []
        while True:
            flags, glyph = struct.unpack(">HH", d[p:p + 4])
            p += 4
            if flags & 1:
                dx, dy = struct.unpack(">hh", d[p:p + 4])
                p += 4
            else:
                dx, dy = struct.unpack(">bb", d[p:p + 2])
                p += 2
            if flags & 8:
                p += 2
            elif flags & 0x40:
                p += 4
            elif flags & 0x80:
                p += 8
            for c in self.contours(glyph):
                out.append([(x + dx, y + dy, on) for x, y, on in c])
            if not flags & 0x20:
                return out


def _flatten(contour):
    """Line segments of a contour, quadratic arcs cut into short lines."""
    pts = contour
    n = len(pts)
    # Start on an on-curve point (or the midpoint of two off-curve ones).
    start = next((i for i in range(n) if pts[i][2]), None)
    if start is None:
        a, b = pts[0], pts[1]
        pts = [((a[0] + b[0]) / 2, (a[1] + b[1]) / 2, True)] + pts[1:] + [pts[0]]
        start, n = 0, len(pts)
    seq = pts[start:] + pts[:start]
    out = []
    cur = seq[0][:2]
    i = 1
    while i <= n:
        p = seq[i % n]
        if p[2]:
            out.append((cur, p[:2]))
            cur = p[:2]
            i += 1
            continue
        q = seq[(i + 1) % n]
        end = q[:2] if q[2] else ((p[0] + q[0]) / 2, (p[1] + q[1]) / 2)
        steps = 8
        prev = cur
        for k in range(1, steps + 1):
            t = k / steps
            x = (1 - t) ** 2 * cur[0] + 2 * (1 - t) * t * p[0] + t * t * end[0]
            y = (1 - t) ** 2 * cur[1] + 2 * (1 - t) * t * p[1] + t * t * end[1]
            out.append((prev, (x, y)))
            prev = (x, y)
        cur = end
        i += 2 if q[2] else 1
    return out


def text_mask(font, text, px):
    """Coverage (0..1) of a line of text set at px pixels per em: returns
    (width, height, rows, baseline)."""
    scale = px / font.units
    segs, pen = [], 0.0
    for ch in text:
        g = font.cmap.get(ord(ch), 0)
        for c in font.contours(g):
            for (x0, y0), (x1, y1) in _flatten(c):
                segs.append(((x0 + pen) * scale, y0 * scale, (x1 + pen) * scale, y1 * scale))
        pen += font.advance(g)
    if not segs:
        return 0, 0, [], 0
    minx = min(min(s[0], s[2]) for s in segs)
    maxx = max(max(s[0], s[2]) for s in segs)
    miny = min(min(s[1], s[3]) for s in segs)
    maxy = max(max(s[1], s[3]) for s in segs)
    w, h = int(maxx - minx) + 3, int(maxy - miny) + 3
    ox, oy = 1 - minx, maxy + 1  # image y = oy - font y
    sub = 4
    rows = [[0.0] * w for _ in range(h)]
    edges = [(x0 + ox, oy - y0, x1 + ox, oy - y1) for x0, y0, x1, y1 in segs if y0 != y1]
    for yi in range(h * sub):
        sy = (yi + 0.5) / sub
        xs = []
        for x0, y0, x1, y1 in edges:
            if (y0 <= sy < y1) or (y1 <= sy < y0):
                t = (sy - y0) / (y1 - y0)
                xs.append((x0 + (x1 - x0) * t, 1 if y1 > y0 else -1))
        xs.sort()
        wind = 0
        row = rows[yi // sub]
        for k in range(len(xs) - 1):
            wind += xs[k][1]
            if wind == 0:
                continue
            a, b = xs[k][0], xs[k + 1][0]
            for xs_i in range(max(0, int(a * sub)), min(w * sub, int(b * sub + 0.999))):
                cx = (xs_i + 0.5) / sub
                if a <= cx < b:
                    row[xs_i // sub] += 1.0 / (sub * sub)
    return w, h, rows, oy


def paint_text(img, font, text, px, cx, cy, colour, engrave=None):
    """Centred text blended into an image (anything with blend(x, y, c, a));
    with engrave=(light, dark) a light edge below right and a dark one above
    left make the letters look cut into the surface."""
    w, h, rows, _ = text_mask(font, text, px)
    x0, y0 = int(round(cx - w / 2)), int(round(cy - h / 2))
    passes = [(1, 1, engrave[0]), (-1, -1, engrave[1])] if engrave else []
    passes.append((0, 0, colour))
    for dx, dy, c in passes:
        for y in range(h):
            for x in range(w):
                a = rows[y][x]
                if a > 0:
                    img.blend(x0 + x + dx, y0 + y + dy, c, min(1.0, a))
