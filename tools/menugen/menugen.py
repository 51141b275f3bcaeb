#!/usr/bin/env python3
"""Draws the lobby's animated picture buttons in the skin's hand: for each
button its base image (name_off.bmp), hit mask (name_mask.bmp), pressed
image (name_click.bmp) and numbered frames (name00.bmp ...), a maple plate
in a brass rim with its caption engraved; the frames pulse the rim's light.
Pixels outside the plate are the key colour (magenta).

Also writes the lobby's three background dialog templates (tiny 60, small
25, large 26), whose buttons stand where menus.LAYOUT draws their places.

usage: menugen.py <frames folder> <resource script>
"""
import importlib.util
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "skingen"))
import skingen as kit  # noqa: E402


def _load_menus():
    path = os.path.join(HERE, "..", "skingen", "widgets", "menus.py")
    spec = importlib.util.spec_from_file_location("skin_widgets_menus", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


menus = _load_menus()

# (file stem, caption, size, frames)
PICTURE_FRAMES = 8
BUTTONS = [("play", "Play", menus.PICTURE, PICTURE_FRAMES),
           ("training", "Training", menus.PICTURE, PICTURE_FRAMES),
           ("library", "Library", menus.PICTURE, PICTURE_FRAMES),
           ("tournament", "Tournament", menus.PICTURE, PICTURE_FRAMES),
           ("network", "Network", menus.PICTURE, PICTURE_FRAMES),
           ("load", "Load", menus.SMALL, 1), ("options", "Options", menus.SMALL, 1),
           ("credits", "Credits", menus.SMALL, 1), ("profiles", "Profiles", menus.SMALL, 1),
           ("exit", "Exit", menus.SMALL, 1)]


def inside(x, y, w, h, r):
    """Inside a rounded rectangle of corner radius r (pixel centres)."""
    px, py = x + 0.5, y + 0.5
    cx = min(max(px, r), w - r)
    cy = min(max(py, r), h - r)
    return math.hypot(px - cx, py - cy) <= r


def plate(font, caption, size, rim, pressed, seed):
    w, h = size
    r = min(w, h) // 4
    base = kit.WALNUT if pressed else kit.MAPLE
    grain = kit.wood(w, h, base, seed, light=0.1 if pressed else 0.5)
    img = kit.Image(w, h, kit.MAGENTA)
    for y in range(h):
        for x in range(w):
            if not inside(x, y, w, h, r):
                continue
            edge = not inside(x, y, w, h, r) or any(
                not inside(x + dx, y + dy, w, h, r) for dx, dy in ((3, 0), (-3, 0), (0, 3), (0, -3)))
            img.px[y][x] = rim if edge else grain.px[y][x]
    px = 22 if h > 60 else 15
    while px > 9 and menus.ttfglyph.text_mask(font, caption, px)[0] > w - 2 * r // 2 - 10:
        px -= 1
    ink = (246, 236, 212) if pressed else kit.INK
    menus.paint_text(img, font, caption, px, w / 2 + (1 if pressed else 0),
                     h / 2 + (1 if pressed else 0), ink,
                     engrave=None if pressed else ((226, 186, 130), kit.WALNUT_DARK))
    return img


def mask(size):
    w, h = size
    r = min(w, h) // 4
    img = kit.Image(w, h, kit.MAGENTA)
    for y in range(h):
        for x in range(w):
            if inside(x, y, w, h, r):
                img.px[y][x] = (0, 0, 0)
    return img


# Control ids per template (tiny, small, large), in the order of BUTTONS.
CONTROL_IDS = [(1421, 1374, 1368), (1422, 1375, 1367), (1423, 1376, 1370), (1424, 1377, 1369),
               (1428, 1380, 1373), (1170, 1168, 1165), (1624, 1623, 1622), (1171, 1169, 1167),
               (1427, 1394, 1392), (1429, 1395, 1393)]
TEMPLATES = (("TINY", 60), ("SMALL", 25), ("LARGE", 26))


def resource_script():
    lines = ["// The lobby's background dialogs, drawn by tools/menugen: each button is",
             "// an animated picture button whose caption places it in pixels and names",
             "// its images in the \"anim\" pack; the dialog takes its picture's size.",
             "#include <windows.h>", ""]
    for k, (key, template) in enumerate(TEMPLATES):
        layout = menus.LAYOUT[key]
        w, h = layout["size"]
        lines += ["%d DIALOGEX 0, 0, %d, %d" % (template, w * 4 // 7, h * 8 // 15),
                  "STYLE DS_SETFONT | WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS",
                  "FONT 8, \"MS Shell Dlg\"", "BEGIN"]
        places = layout["rows"] + [(x, layout["small_y"]) for x in menus.small_row(layout)]
        for (stem, caption, size, frames), ids, (x, y) in zip(BUTTONS, CONTROL_IDS, places):
            rate = 10 if frames > 1 else 1
            lines.append("  CONTROL \"%s {p:%d,%d s:%d,%d d:anim n:%s%%02d.bmp #:%d r:%d}\", %d, "
                         "\"AnimButton\", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10"
                         % (caption, x, y, size[0], size[1], stem, frames, rate, ids[k]))
        lines += ["END", ""]
    return "\n".join(lines)


def main():
    out = sys.argv[1]
    with open(sys.argv[2], "w") as f:
        f.write(resource_script())
    os.makedirs(out, exist_ok=True)
    font = menus.ttfglyph.Font(menus.FONT)
    for i, (stem, caption, size, frames) in enumerate(BUTTONS):
        seed = 5000 + 17 * i
        files = {"%s_off.bmp" % stem: plate(font, caption, size, kit.BRASS, False, seed),
                 "%s_click.bmp" % stem: plate(font, caption, size, kit.shade(kit.BRASS, 0.6),
                                              True, seed),
                 "%s_mask.bmp" % stem: mask(size)}
        for f in range(frames):
            # The rim brightens and fades once over the frames.
            glow = 0.5 - 0.5 * math.cos(2 * math.pi * f / max(1, frames))
            rim = kit.mix(kit.BRASS, (255, 240, 190), glow)
            files["%s%02d.bmp" % (stem, f)] = plate(font, caption, size, rim, False, seed)
        for name, img in files.items():
            with open(os.path.join(out, name), "wb") as fh:
                fh.write(img.bmp())


if __name__ == "__main__":
    main()
