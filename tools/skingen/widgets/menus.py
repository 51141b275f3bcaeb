"""The lobby's backgrounds in three sizes (tiny, small, large) and the
overlay panels drawn over them: a felt table in a walnut frame with the
title engraved in brass, and a brass-rimmed felt panel behind the picture
buttons. tools/menugen lays out the buttons on the same geometry (LAYOUT)."""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "modelgen"))
import ttfglyph  # noqa: E402

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# Per size class: background size, overlay position and size, the two rows
# of picture buttons (x, y of each) and the row of small buttons (y, width).
PICTURE = (126, 101)
SMALL = (110, 34)
LAYOUT = {
    "TINY": {"size": (760, 540), "overlay": (262, 143), "panel": (420, 300), "suffix": "Tiny",
             "rows": [(271, 190), (409, 190), (547, 190), (340, 305), (478, 305)],
             "small_y": 470, "title_px": 40},
    "SMALL": {"size": (960, 640), "overlay": (273, 163), "panel": (414, 330), "suffix": "Small",
              "rows": [(279, 230), (417, 230), (555, 230), (348, 350), (486, 350)],
              "small_y": 540, "title_px": 48},
    "LARGE": {"size": (1200, 900), "overlay": (367, 313), "panel": (506, 360), "suffix": "",
              "rows": [(401, 350), (557, 350), (713, 350), (479, 500), (635, 500)],
              "small_y": 760, "title_px": 64},
}
SMALL_BUTTONS = 5


def small_row(layout):
    """x of each small button: centred with equal gaps."""
    w = layout["size"][0]
    gap = 16
    total = SMALL_BUTTONS * SMALL[0] + (SMALL_BUTTONS - 1) * gap
    x0 = (w - total) // 2
    return [x0 + i * (SMALL[0] + gap) for i in range(SMALL_BUTTONS)]


paint_text = ttfglyph.paint_text


def framed_felt(kit, w, h, border, seed):
    """Felt inside a walnut frame with a brass inner line."""
    img = kit.felt(w, h, kit.FELT, seed)
    frame = kit.wood(w, border, kit.WALNUT, seed + 1, light=0.4)
    side = kit.wood(border, h, kit.WALNUT, seed + 2, vertical=True, light=0.4)
    for y in range(h):
        for x in range(w):
            if y < border:
                img.px[y][x] = frame.px[y][x]
            elif y >= h - border:
                img.px[y][x] = kit.shade(frame.px[h - 1 - y][x], 0.8)
            elif x < border:
                img.px[y][x] = side.px[y][x]
            elif x >= w - border:
                img.px[y][x] = kit.shade(side.px[y][w - 1 - x], 0.8)
    for i in range(2):
        for x in range(border - 2, w - border + 2):
            img.set(x, border - 2 + i, kit.BRASS)
            img.set(x, h - border + 1 - i, kit.shade(kit.BRASS, 0.7))
        for y in range(border - 2, h - border + 2):
            img.set(border - 2 + i, y, kit.BRASS)
            img.set(w - border + 1 - i, y, kit.shade(kit.BRASS, 0.7))
    return img


def background(kit, font, key):
    layout = LAYOUT[key]
    w, h = layout["size"]
    img = framed_felt(kit, w, h, 18 if key != "TINY" else 14, 4100 + w)
    # A soft light in the middle of the table.
    cx, cy = w / 2, h * 0.45
    for y in range(h):
        for x in range(w):
            d = math.hypot((x - cx) / w, (y - cy) / h)
            if d < 0.6:
                img.blend(x, y, (90, 150, 100), 0.18 * (1 - d / 0.6))
    paint_text(img, font, "TESSARIN", layout["title_px"], w / 2, h * 0.13, kit.BRASS,
               engrave=((240, 214, 150), kit.FELT_DARK))
    return img


def overlay(kit, key):
    pw, ph = LAYOUT[key]["panel"]
    img = framed_felt(kit, pw, ph, 8, 4200 + pw)
    kit.bevel(img, (230, 200, 130), kit.WALNUT_DARK, 2)
    return img


def build(kit, skin, skin_dir, config):
    font = ttfglyph.Font(FONT)
    for key in LAYOUT:
        skin.add("LOBBY_BACKGROUND_%s" % key, background(kit, font, key))
        name = "neutre%s.bmp" % LAYOUT[key]["suffix"]
        with open(os.path.join(skin_dir, name), "wb") as f:
            f.write(overlay(kit, key).bmp())
