#!/usr/bin/env python3
"""Builds the 3D board models: one text X file per board style with every
frame the scene looks up (board, rack, working area and their frames, the
bag, the ten buttons and their highlighted twins, the letter-tile templates,
the blank, the crossagram squares and the keyboard arrows), and the BMP
textures beside it (board squares, wood, felt, tiles with engraved letters
and values, buttons), in the skin's hand.

usage: modelgen.py <data folder> <tileset.cpp> <layouts.cpp> <font.ttf>
writes <data>/DAT/UK/{Standard,White,Deluxe}/tessarin_<style>.x and textures

Model space: +x to the left of the screen, +y up, +z towards the viewer;
a top-level transform turns the model half a turn about y, so that cell
(0, 0) of every grid (whose cells run from the mesh box's second corner)
shows at the top left. Sizes below are in view units (the scene's
orthographic view is 150 units across); the model is 25 times larger.
"""
import math
import os
import re
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "skingen"))
import skingen  # noqa: E402
from skingen import Image, mix, shade, clamp  # noqa: E402
import ttfglyph  # noqa: E402

SCALE = 25.0  # model units per view unit
CELL = 5.9    # a board square, in view units
TILE = 5.5    # a tile's face
TILE_Z = 0.4  # a tile's face above the surface it lies on

STYLES = {
    "Standard": dict(wood=skingen.WALNUT, board=(214, 196, 156), felt=skingen.FELT,
                     tile=skingen.IVORY, old=(232, 220, 190), ink=skingen.INK,
                     blank_ink=(150, 40, 30), brass=skingen.BRASS, seed=11),
    "White": dict(wood=skingen.MAPLE, board=(236, 232, 222), felt=(70, 96, 130),
                  tile=(255, 255, 250), old=(226, 228, 232), ink=(30, 34, 48),
                  blank_ink=(30, 80, 160), brass=(180, 184, 196), seed=23),
    "Deluxe": dict(wood=skingen.WALNUT_DARK, board=(196, 170, 120), felt=(110, 24, 36),
                   tile=skingen.CREAM, old=(222, 204, 164), ink=(40, 24, 10),
                   blank_ink=(140, 30, 20), brass=(222, 184, 96), seed=37),
}

PREMIUM = {  # code: (colour, label)
    8: ((176, 44, 40), "W\u00d73"),
    4: ((222, 150, 140), "W\u00d72"),
    2: ((46, 96, 168), "L\u00d73"),
    1: ((150, 192, 222), "L\u00d72"),
}

BUTTONS = ["Shuffle", "Exchange", "pass", "Cancel", "evaluate", "play", "trier", "contest", "hint",
           "submit"]
TWINS = ["Shuffle_selec", "Exchange_selec", "pass_selec", "Cancel_selec", "evaluate_selec",
         "play_selec", "trier_select", "contest_select", "hint_select", "submit_select"]
BUTTON_TEXT = ["Shuffle", "Exchange", "Pass", "Cancel", "Evaluate", "Play", "Sort", "Challenge",
               "Hint", "Submit"]


# --- sources ---------------------------------------------------------------

def int_lists(text):
    return [[int(v) for v in re.findall(r"-?\d+", m)] for m in re.findall(r"\{([-\d,\s]+)\}", text)]


def letter_values(tileset_cpp):
    """Tile set 0's values of A..Z (the blank first) from the rules' source."""
    src = open(tileset_cpp).read()
    block = src[src.index("// Set 0"):src.index("// Set 1")]
    values = int_lists(block)[1]
    if len(values) != 27:
        raise ValueError("unexpected tile set table")
    return values


def premium_map(layouts_cpp):
    src = open(layouts_cpp).read()
    m = re.search(r"k15\[8\]\[15\]\s*=\s*\{(.*?)\};", src, re.S)
    rows = int_lists(m.group(1))
    full = rows + [rows[6 - i] for i in range(7)]
    if len(full) != 15 or any(len(r) != 15 for r in full):
        raise ValueError("unexpected layout table")
    return full


# --- drawing ---------------------------------------------------------------

paint_text = ttfglyph.paint_text


def rect(img, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(img.h, y1)):
        for x in range(max(0, x0), min(img.w, x1)):
            img.px[y][x] = colour


def paste(dst, src, x0, y0):
    for y in range(src.h):
        for x in range(src.w):
            if 0 <= x0 + x < dst.w and 0 <= y0 + y < dst.h:
                dst.px[y0 + y][x0 + x] = src.px[y][x]


def tile_face(size, base, seed):
    """An ivory tile face: faint grain, rounded bevel, soft shadowed rim."""
    img = skingen.felt(size, size, base, seed)
    for y in range(size):
        for x in range(size):
            img.px[y][x] = mix(img.px[y][x], base, 0.6)
    skingen.bevel(img, (255, 255, 255), shade(base, 0.55), width=3)
    return img


def tile_atlas(style, font, values, kind):
    """8 x 4 cells of 64 pixels: the letters A..Z, then (kind "N" only) the
    unassigned blank, the two arrows and the two crossagram squares."""
    s = STYLES[style]
    cell = 64
    img = Image(8 * cell, 4 * cell, s["wood"])
    base = {"N": s["tile"], "V": s["old"], "R": s["tile"]}[kind]
    ink = s["blank_ink"] if kind == "R" else s["ink"]
    light, dark = shade(base, 1.08), shade(base, 0.6)
    for i in range(26):
        face = tile_face(cell, base, s["seed"] + i)
        letter = chr(ord("A") + i)
        paint_text(face, font, letter, 40, 30, 29, ink, (light, dark))
        if kind != "R":
            paint_text(face, font, str(values[i + 1]), 15, 51, 50, ink, (light, dark))
        paste(img, face, (i % 8) * cell, (i // 8) * cell)
    if kind == "N":
        extras = []
        extras.append(tile_face(cell, base, s["seed"] + 40))  # 26: the blank
        for ch in ("\u2192", "\u2193"):  # 27, 28: the keyboard arrows
            a = tile_face(cell, mix(base, (250, 210, 90), 0.5), s["seed"] + 41)
            paint_text(a, font, ch, 44, 32, 32, (150, 60, 10))
            extras.append(a)
        square = Image(cell, cell, (250, 250, 246))  # 29: a square to fill
        skingen.bevel(square, (255, 255, 255), (150, 150, 150), width=2)
        extras.append(square)
        extras.append(Image(cell, cell, (24, 20, 18)))  # 30: a given square
        for k, e in enumerate(extras):
            i = 26 + k
            paste(img, e, (i % 8) * cell, (i // 8) * cell)
    return img


def board_texture(style, font, premiums):
    s = STYLES[style]
    size = 512
    img = Image(size, size, s["board"])
    edge = [round(i * size / 15) for i in range(16)]
    line = shade(s["board"], 0.62)
    for r in range(15):
        for c in range(15):
            x0, x1, y0, y1 = edge[c], edge[c + 1], edge[r], edge[r + 1]
            code = premiums[r][c]
            if r == 7 and c == 7:
                colour, label = PREMIUM[4][0], "\u2605"
            elif code in PREMIUM:
                colour, label = PREMIUM[code]
            else:
                colour, label = shade(s["board"], 1.0 + ((r * 7 + c * 3) % 5 - 2) * 0.006), None
            rect(img, x0 + 1, y0 + 1, x1 - 1, y1 - 1, colour)
            if label:
                ink = (255, 255, 255) if sum(colour) < 420 else (40, 30, 30)
                paint_text(img, font, label, 22 if label == "\u2605" else 12,
                           (x0 + x1) / 2, (y0 + y1) / 2, ink)
    for i in edge:
        for k in range(size):
            for j in (i - 1, i):
                if 0 <= j < size:
                    img.px[k][j] = line
                    img.px[j][k] = line
    return img


def button_atlas(style, font):
    """Ten buttons and their lit twins, 128 x 24 each, in two columns."""
    s = STYLES[style]
    img = Image(256, 256, s["wood"])
    for i, text in enumerate(BUTTON_TEXT):
        for lit in (0, 1):
            base = mix(s["brass"], (255, 240, 200), 0.45) if lit else s["brass"]
            b = skingen.wood(128, 24, base, s["seed"] + i, light=0.5)
            skingen.bevel(b, (255, 250, 230), shade(base, 0.45), width=2)
            paint_text(b, font, text, 14, 64, 12, (50, 30, 10) if not lit else (120, 20, 10),
                       (shade(base, 1.15), shade(base, 0.6)))
            paste(img, b, lit * 128, i * 25)
    return img


# --- X files ---------------------------------------------------------------

class XWriter:
    def __init__(self):
        self.out = ["xof 0303txt 0032", ""]

    def quad_frame(self, name, sx0, sy0, sx1, sy1, sz, texture, uv, colour=(1, 1, 1)):
        """A frame holding one textured quad, given in view units (x to the
        right); uv = (u0, v0, u1, v1) maps the quad's top left to (u0, v0)."""
        # Model space: x = -25 sx (the model is turned half a turn), y = 25 sy, z = 25 sz.
        X0, X1 = -SCALE * sx0, -SCALE * sx1
        Y0, Y1 = SCALE * sy0, SCALE * sy1
        Z = SCALE * sz
        u0, v0, u1, v1 = uv
        verts = [(X0, Y1, Z, u0, v0), (X1, Y1, Z, u1, v0), (X1, Y0, Z, u1, v1), (X0, Y0, Z, u0, v1)]
        o = self.out
        o.append("Frame %s {" % name)
        o.append(" FrameTransformMatrix { 1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,"
                 "0.0,0.0,0.0,1.0;; }")
        o.append(" Mesh %s_mesh {" % name)
        o.append("  4;")
        o.append(",\n".join("  %.3f;%.3f;%.3f;" % v[:3] for v in verts) + ";")
        o.append("  2;")
        o.append("  3;0,1,2;,\n  3;0,2,3;;")
        o.append("  MeshNormals { 1; 0.0;0.0;1.0;; 2; 3;0,0,0;, 3;0,0,0;; }")
        o.append("  MeshTextureCoords { 4;")
        o.append(",\n".join("   %.5f;%.5f;" % v[3:] for v in verts) + ";")
        o.append("  }")
        o.append("  MeshMaterialList { 1; 2; 0, 0;")
        o.append("   Material { %.3f;%.3f;%.3f;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;;" % colour)
        o.append('    TextureFilename { "%s"; }' % texture)
        o.append("   }")
        o.append("  }")
        o.append(" }")
        o.append("}")

    def text(self):
        return "\n".join(self.out) + "\n"


def atlas_uv(i, inset=0.5):
    c, r = i % 8, i // 8
    return ((c * 64 + inset) / 512, (r * 64 + inset) / 256, ((c + 1) * 64 - inset) / 512,
            ((r + 1) * 64 - inset) / 256)


def build_model(style):
    lo = style.lower()
    x = XWriter()
    # The half turn about y of the whole model.
    x.out.append("FrameTransformMatrix { -1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,-1.0,0.0,"
                 "0.0,0.0,0.0,1.0;; }")
    x.out.append("")
    full = (0.0, 0.0, 1.0, 1.0)
    # Board: 15 squares from (-72, 54) down and to the right.
    bx0, by1 = -72.0, 54.0
    bx1, by0 = bx0 + 15 * CELL, by1 - 15 * CELL
    x.quad_frame("Board", bx0, by0, bx1, by1, 0.0, "board_%s.bmp" % lo, full)
    x.quad_frame("Board_frame", bx0 - 1.8, by0 - 1.8, bx1 + 1.8, by1 + 1.8, -0.2,
                 "wood_%s.bmp" % lo, full)
    # Rack: eight places wide, centred under the board.
    rw = 8 * CELL
    rcx = (bx0 + bx1) / 2
    ry1 = by0 - 5.0
    x.quad_frame("Rack", rcx - rw / 2, ry1 - CELL, rcx + rw / 2, ry1, 0.0, "felt_%s.bmp" % lo, full)
    x.quad_frame("Rack_frame", rcx - rw / 2 - 2.0, ry1 - CELL - 2.0, rcx + rw / 2 + 2.0, ry1 + 2.0,
                 -0.2, "wood_%s.bmp" % lo, full)
    # Working area: eight places at the top right.
    wx0, wy1 = bx1 + 6.0, by1
    x.quad_frame("workingarea", wx0, wy1 - CELL, wx0 + rw, wy1, 0.0, "felt_%s.bmp" % lo, full)
    x.quad_frame("workingarea_frame", wx0 - 1.5, wy1 - CELL - 1.5, wx0 + rw + 1.5, wy1 + 1.5, -0.2,
                 "wood_%s.bmp" % lo, full)
    # Buttons: two columns under the working area; the lit twin lies in front.
    bw, bh = 23.0, 4.4
    for i, (name, twin) in enumerate(zip(BUTTONS, TWINS)):
        col, row = i % 2, i // 2
        x0 = wx0 + col * (bw + 1.2)
        y1 = wy1 - CELL - 6.0 - row * (bh + 1.6)
        v0, v1 = (i * 25 + 0.5) / 256, (i * 25 + 23.5) / 256
        x.quad_frame(name, x0, y1 - bh, x0 + bw, y1, 0.3, "buttons_%s.bmp" % lo,
                     (0.5 / 256, v0, 127.5 / 256, v1))
        x.quad_frame(twin, x0, y1 - bh, x0 + bw, y1, 0.5, "buttons_%s.bmp" % lo,
                     (128.5 / 256, v0, 255.5 / 256, v1))
    # The bag, under the buttons.
    x.quad_frame("bag", wx0 + 8.0, by0 - 12.0, wx0 + rw - 8.0, by0 + 8.0, 0.0,
                 "bag_%s.bmp" % lo, full)
    # Templates: centred on their own origin, the face TILE_Z above it.
    h = TILE / 2
    for kind in ("N", "V", "R"):
        for i in range(26):
            x.quad_frame("%s_%s" % (kind, chr(ord("A") + i)), -h, -h, h, h, TILE_Z,
                         "tiles_%s_%s.bmp" % (kind.lower(), lo), atlas_uv(i))
    extras = [("BLANK", 26), ("ARROW_ACROSS", 27), ("ARROW__DOWN", 28), ("blanc", 29),
              ("Noir", 30)]
    for name, i in extras:
        x.quad_frame(name, -h, -h, h, h, TILE_Z, "tiles_n_%s.bmp" % lo, atlas_uv(i))
    return x.text()


def bag_texture(style, font):
    s = STYLES[style]
    img = skingen.felt(128, 128, s["felt"], s["seed"] + 5)
    for y in range(128):
        for x in range(128):
            d = math.hypot((x - 64) / 60.0, (y - 70) / 56.0)
            if d > 1.0:
                img.px[y][x] = s["wood"]
            else:
                img.px[y][x] = shade(img.px[y][x], 1.15 - 0.35 * d)
    skingen.thick_line(img, 34, 22, 94, 22, s["brass"], 5)
    paint_text(img, font, "BAG", 22, 64, 74, shade(s["felt"], 1.8))
    return img


def main():
    data, tileset_cpp, layouts_cpp, font_path = sys.argv[1:5]
    font = ttfglyph.Font(font_path)
    values = letter_values(tileset_cpp)
    premiums = premium_map(layouts_cpp)
    for style in STYLES:
        lo = style.lower()
        folder = os.path.join(data, "DAT", "UK", style)
        os.makedirs(folder, exist_ok=True)
        s = STYLES[style]
        files = {
            "board_%s.bmp" % lo: board_texture(style, font, premiums),
            "wood_%s.bmp" % lo: skingen.wood(256, 256, s["wood"], s["seed"], light=0.3),
            "felt_%s.bmp" % lo: skingen.felt(128, 128, s["felt"], s["seed"] + 1),
            "buttons_%s.bmp" % lo: button_atlas(style, font),
            "bag_%s.bmp" % lo: bag_texture(style, font),
        }
        for kind in ("n", "v", "r"):
            files["tiles_%s_%s.bmp" % (kind, lo)] = tile_atlas(style, font, values, kind.upper())
        for name, img in files.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(img.bmp())
        with open(os.path.join(folder, "tessarin_%s.x" % lo), "w", newline="\r\n") as f:
            f.write(build_model(style))


if __name__ == "__main__":
    main()
