#!/usr/bin/env python3
"""Builds the standard skin: bitmaps, the image description file, the skin
and theme files and the per-class ini files. Wood and felt tones.

usage: skingen.py <data folder>
writes <data>/Skin/..., <data>/Themes/standard_theme.ini, <data>/Wallpaper/...
"""
import math
import os
import random
import struct
import sys

MAGENTA = (255, 0, 255)


class Image:
    def __init__(self, w, h, fill=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[fill for _ in range(w)] for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def blend(self, x, y, c, a):
        if 0 <= x < self.w and 0 <= y < self.h and a > 0:
            o = self.px[y][x]
            self.px[y][x] = tuple(int(o[i] * (1 - a) + c[i] * a + 0.5) for i in range(3))

    def bmp(self):
        stride = (self.w * 3 + 3) & ~3
        rows = bytearray()
        for y in range(self.h - 1, -1, -1):
            row = bytearray()
            for r, g, b in self.px[y]:
                row += bytes((b, g, r))
            row += b"\0" * (stride - len(row))
            rows += row
        header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(rows), 2835, 2835,
                           0, 0)
        return header + info + bytes(rows)


def clamp(v):
    return max(0, min(255, int(v)))


def shade(c, f):
    return tuple(clamp(v * f) for v in c)


def mix(a, b, t):
    return tuple(clamp(a[i] + (b[i] - a[i]) * t) for i in range(3))


WALNUT = (112, 70, 38)
WALNUT_DARK = (70, 42, 22)
MAPLE = (176, 128, 78)
FELT = (36, 104, 62)
FELT_DARK = (22, 70, 40)
CREAM = (246, 236, 212)
IVORY = (250, 244, 226)
BRASS = (204, 164, 84)
INK = (59, 36, 18)


def wood(w, h, base, seed, vertical=False, light=0.0):
    """Wood with long grain along the run and a soft top light."""
    rnd = random.Random(seed)
    img = Image(w, h)
    phase = [rnd.uniform(0, 6.28) for _ in range(4)]
    for y in range(h):
        for x in range(w):
            u, v = (y, x) if vertical else (x, y)
            along = h if vertical else w
            across = w if vertical else h
            grain = (math.sin(v * 0.9 + math.sin(u * 0.045 + phase[0]) * 2.2 + phase[1]) * 0.5 +
                     math.sin(v * 2.3 + u * 0.011 + phase[2]) * 0.25)
            t = v / max(1, across - 1)
            lightf = 1.0 + light * (0.5 - t)
            f = (1.0 + grain * 0.09) * lightf
            img.px[y][x] = shade(base, f)
    return img


def bevel(img, hi, lo, width=1):
    for i in range(width):
        for x in range(img.w):
            img.blend(x, i, hi, 0.55)
            img.blend(x, img.h - 1 - i, lo, 0.55)
        for y in range(img.h):
            img.blend(i, y, hi, 0.55)
            img.blend(img.w - 1 - i, y, lo, 0.55)


def felt(w, h, base, seed):
    rnd = random.Random(seed)
    img = Image(w, h)
    for y in range(h):
        for x in range(w):
            n = rnd.uniform(-0.07, 0.07)
            img.px[y][x] = shade(base, 1 + n)
    return img


def disc(img, cx, cy, r, colour_at):
    """An anti-aliased disc whose colour comes from colour_at(dx, dy)."""
    for y in range(img.h):
        for x in range(img.w):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            a = max(0.0, min(1.0, r - d + 0.5))
            if a > 0:
                if img.px[y][x] == MAGENTA:
                    img.px[y][x] = colour_at(x - cx, y - cy)
                    if a < 1:
                        # the key colour stays transparent: blend toward the rim colour instead
                        img.px[y][x] = mix(shade(colour_at(x - cx, y - cy), 0.7),
                                           colour_at(x - cx, y - cy), a)
                else:
                    img.blend(x, y, colour_at(x - cx, y - cy), a)


def thick_line(img, x0, y0, x1, y1, colour, width):
    steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 4) + 1
    for i in range(steps + 1):
        t = i / steps
        cx, cy = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
        for y in range(int(cy - width) - 1, int(cy + width) + 2):
            for x in range(int(cx - width) - 1, int(cx + width) + 2):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                a = max(0.0, min(1.0, width / 2 - d + 0.5))
                if a > 0 and 0 <= x < img.w and 0 <= y < img.h:
                    o = img.px[y][x]
                    if o == MAGENTA:
                        # over the key colour a stroke is opaque or absent, never pink
                        if a >= 0.5:
                            img.px[y][x] = colour
                        continue
                    c = tuple(clamp(o[k] * (1 - a) + colour[k] * a) for k in range(3))
                    img.px[y][x] = c


def button(kind, pressed, size=18):
    img = Image(size, size, MAGENTA)
    top, bottom = (BRASS, shade(BRASS, 0.62)) if not pressed else (shade(BRASS, 0.7),
                                                                   shade(BRASS, 0.95))
    c = size / 2
    disc(img, c, c, c - 0.5, lambda dx, dy: mix(top, bottom, (dy + c) / size))
    glyph = INK if not pressed else (40, 20, 8)
    s = size * 0.28
    o = 0.8 if pressed else 0.0
    if kind == "close":
        thick_line(img, c - s + o, c - s + o, c + s + o, c + s + o, glyph, 2.2)
        thick_line(img, c + s + o, c - s + o, c - s + o, c + s + o, glyph, 2.2)
    elif kind == "min":
        thick_line(img, c - s + o, c + s * 0.7 + o, c + s + o, c + s * 0.7 + o, glyph, 2.2)
    elif kind == "max":
        for a, b, d, e in ((-1, -1, 1, -1), (1, -1, 1, 1), (1, 1, -1, 1), (-1, 1, -1, -1)):
            thick_line(img, c + a * s + o, c + b * s + o, c + d * s + o, c + e * s + o, glyph, 1.6)
    elif kind == "restore":
        q = s * 0.8
        for dx, dy in ((-0.35, 0.35), (0.35, -0.35)):
            for a, b, d, e in ((-1, -1, 1, -1), (1, -1, 1, 1), (1, 1, -1, 1), (-1, 1, -1, -1)):
                thick_line(img, c + (a + dx) * q + o, c + (b + dy) * q + o, c + (d + dx) * q + o,
                           c + (e + dy) * q + o, glyph, 1.3)
    elif kind in ("up", "down"):
        sgn = -1 if kind == "up" else 1
        thick_line(img, c - s + o, c - sgn * s * 0.4 + o, c + o, c + sgn * s * 0.6 + o, glyph, 2)
        thick_line(img, c + o, c + sgn * s * 0.6 + o, c + s + o, c - sgn * s * 0.4 + o, glyph, 2)
    return img


def tile_icon(size=16):
    img = Image(size, size, MAGENTA)
    for y in range(1, size - 1):
        for x in range(1, size - 1):
            img.px[y][x] = mix(IVORY, shade(IVORY, 0.8), (x + y) / (2 * size))
    bevel(img, (255, 255, 255), (150, 130, 100))
    thick_line(img, 4, 4.5, 11, 4.5, INK, 1.8)
    thick_line(img, 7.5, 4.5, 7.5, 12, INK, 1.8)
    return img


def pill(w, h, colour, part):
    """A piece of a rounded highlight: 'left', 'center' or 'right'."""
    img = Image(w, h, MAGENTA)
    r = h / 2 - 1
    for y in range(h):
        for x in range(w):
            t = y / max(1, h - 1)
            c = mix(shade(colour, 1.15), shade(colour, 0.85), t)
            if part == "center":
                inside = 1 <= y < h - 1
                a = 1.0 if inside else 0.0
            else:
                cx = w if part == "left" else 0
                d = math.hypot(x + 0.5 - cx, y + 0.5 - h / 2)
                a = max(0.0, min(1.0, r - d + 0.5))
            if a >= 0.5:
                img.px[y][x] = c
    return img


def solid(w, h, colour):
    return Image(w, h, colour)


class Skin:
    def __init__(self, folder):
        self.folder = folder
        self.entries = []  # (NAME, file, id)
        self.next_id = 30100
        # Numbers that bitmap buttons look up by their control id.
        self.reserved = set(range(30480, 30640))

    def add(self, name, img, ident=None):
        """Registers a bitmap under the next free number, or under `ident`
        for images the program finds by a fixed number (bitmap buttons)."""
        fname = name + ".bmp"
        with open(os.path.join(self.folder, fname), "wb") as f:
            f.write(img.bmp())
        taken = {e[2] for e in self.entries}
        if ident is None:
            while self.next_id in taken or self.next_id in self.reserved:
                self.next_id += 1
            ident = self.next_id
            self.next_id += 1
        self.entries.append((name.upper(), fname, ident))
        return name


def write_ini(path, sections):
    with open(path, "w", newline="\r\n") as f:
        for name, values in sections:
            f.write("[%s]\n" % name)
            for k, v in values:
                f.write("%s=%s\n" % (k, v))
            f.write("\n")


def hexc(c):
    return "%02X%02X%02X" % c


def frame_class(skin, prefix, border, caption_h, bottom_h, seed, status=False):
    """One frame kind: borders, corners, caption, buttons, background."""
    res = []
    r = lambda key, img: res.append((key, skin.add("%s_%s" % (prefix, key), img)))
    edge = lambda img: (bevel(img, (214, 170, 120), (40, 24, 10)), img)[1]
    r("top_left_frame", wood(border, border, WALNUT_DARK, seed + 1))
    r("top_center_frame", wood(64, border, WALNUT_DARK, seed + 2, light=0.3))
    r("top_right_frame", wood(border, border, WALNUT_DARK, seed + 3))
    for side, s in (("left", 10), ("right", 20)):
        for part, k in (("top", 1), ("center", 2), ("bottom", 3)):
            r("%s_%s_frame" % (side, part), wood(border, 64 if part == "center" else border,
                                                 WALNUT_DARK, seed + s + k, vertical=True))
    if status:
        def strip(w):
            img = felt(w, bottom_h, FELT_DARK, seed + 40 + w)
            for x in range(w):
                img.blend(x, 0, (10, 30, 16), 0.8)
                img.blend(x, 1, (90, 150, 100), 0.35)
                img.blend(x, bottom_h - 1, (12, 30, 18), 0.7)
            return img
        r("bottom_left_frame", strip(border))
        r("bottom_center_frame", strip(64))
        r("bottom_right_frame", strip(border))
    else:
        r("bottom_left_frame", wood(border, bottom_h, WALNUT_DARK, seed + 31))
        r("bottom_center_frame", wood(64, bottom_h, WALNUT_DARK, seed + 32, light=-0.3))
        r("bottom_right_frame", wood(border, bottom_h, WALNUT_DARK, seed + 33))
    for corner in ("top_left", "top_right"):
        r(corner + "_corner", edge(wood(border, border, WALNUT_DARK, seed + 50)))
    for corner in ("bottom_left", "bottom_right"):
        r(corner + "_corner", wood(border, bottom_h, WALNUT_DARK, seed + 51) if not status
          else felt(border, bottom_h, FELT_DARK, seed + 52))

    def caption(w, base, light):
        img = wood(w, caption_h, base, seed + 60 + w, light=light)
        for x in range(w):
            img.blend(x, caption_h - 1, (30, 16, 6), 0.8)
            img.blend(x, 0, (230, 190, 140), 0.35)
        return img
    r("caption_left_frame", caption(8, WALNUT, 0.5))
    r("caption_center_frame", caption(64, WALNUT, 0.5))
    r("caption_right_frame", caption(8, WALNUT, 0.5))
    faded = mix(WALNUT, (150, 130, 110), 0.45)
    r("caption_left_frame_inactive", caption(8, faded, 0.3))
    r("caption_center_frame_inactive", caption(64, faded, 0.3))
    r("caption_right_frame_inactive", caption(8, faded, 0.3))
    size = max(12, min(18, caption_h - 6))
    for key, kind in (("close", "close"), ("minimize", "min"), ("maximize", "max"),
                      ("restore", "restore"), ("speaker", "up"), ("speaker1", "down")):
        r(key + "_up", button(kind, False, size))
        r(key + "_down", button(kind, True, size))
    r("sysmenu_up", tile_icon(16))
    r("sysmenu_down", tile_icon(16))
    r("background", felt(64, 64, FELT, seed + 70))
    r("altbackground", felt(64, 64, mix(FELT, CREAM, 0.15), seed + 71))
    r("resize_corner", felt(bottom_h, bottom_h, FELT_DARK, seed + 72))
    colors = [("active_caption_text_color", hexc((255, 243, 214))),
              ("inactive_caption_text_color", hexc((222, 208, 186)))]
    dims = [("center_caption", "0"), ("close_button_offset_x", "0"),
            ("close_button_offset_y", "0"), ("min_button_offset_x", "0"),
            ("min_button_offset_y", "0"), ("max_button_offset_x", "0"),
            ("max_button_offset_y", "0"), ("caption_offset_x", "0"),
            ("caption_offset_y", "0"), ("shrink_button_offset_x", "0"),
            ("shrink_button_offset_y", "0"), ("minimized_window_size", "220")]
    res += [("caption_font_name", FONT_FACE), ("caption_font_size", "10"),
            ("caption_font_style", "bold")]
    return [("resources", res), ("colors", colors), ("dimensions", dims)]


def menu_class(skin):
    res = []
    r = lambda key, img: res.append((key, skin.add("menu_" + key, img)))
    bar_h = 24

    def bar(w):
        img = wood(w, bar_h, MAPLE, 900 + w, light=0.4)
        for x in range(w):
            img.blend(x, bar_h - 1, (70, 44, 20), 0.8)
        return img
    r("menu_bar_left", bar(4))
    r("menu_bar_center", bar(64))
    r("menu_bar_right", bar(4))
    for state, colour in (("up", None), ("down", FELT)):
        for part, w in (("left", 10), ("center", 16), ("right", 10)):
            img = bar(w) if colour is None else pill(w, bar_h - 4, colour, part)
            r("menubar_item_%s_%s" % (part, state), img)
    check = lambda hot: mark("check", hot)
    r("menu_item_check_up", mark("check", False))
    r("menu_item_check_down", mark("check", True))
    r("menu_item_popup_up", mark("arrow", False))
    r("menu_item_popup_down", mark("arrow", True))
    for key, w, h in (("top_left", 3, 3), ("top_center", 16, 3), ("top_right", 3, 3),
                      ("right", 3, 16), ("bottom_left", 3, 3), ("bottom_center", 16, 3),
                      ("bottom_right", 3, 3), ("left", 3, 16)):
        img = wood(w, h, WALNUT_DARK, 950 + w * h, vertical=key in ("left", "right"))
        r("menu_border_" + key, img)
    for part, w in (("left", 4), ("center", 16), ("right", 4)):
        img = solid(w, 8, CREAM)
        for x in range(w):
            img.set(x, 3, (190, 170, 140))
            img.set(x, 4, (255, 252, 240))
        r("menu_separator_" + part, img)
    fonts = [("menu_font_name", FONT_FACE), ("menu_font_size", "10"), ("menu_font_style", "bold"),
             ("popupmenu_font_name", FONT_FACE), ("popupmenu_font_size", "10"),
             ("popupmenu_font_style", "normal")]
    dims = [("menubar_item_inset_x_active", "10"), ("menubar_item_inset_x_inactive", "10"),
            ("menubar_item_inset_y_active", "3"), ("menubar_item_inset_y_inactive", "3"),
            ("menubar_item_spacing", "2")]
    colors = [("menubar_text_color_active", hexc((48, 28, 10))),
              ("menubar_text_color_inactive", hexc((120, 92, 62))),
              ("menu_text_color_up", hexc(INK)), ("menu_text_color_down", hexc((255, 246, 224))),
              ("menu_background_color_up", hexc(CREAM)), ("menu_background_color_down", hexc(FELT)),
              ("menu_grayed_color_up", hexc((160, 144, 128))),
              ("menu_grayed_color_down", hexc((150, 190, 160))),
              ("border_color", hexc(WALNUT_DARK))]
    return [("resources", res + fonts), ("colors", colors), ("dimensions", dims)]


def mark(kind, hot):
    img = Image(12, 12, MAGENTA)
    colour = (255, 246, 224) if hot else INK
    if kind == "check":
        thick_line(img, 2, 6.5, 5, 9.5, colour, 2)
        thick_line(img, 5, 9.5, 10, 2.5, colour, 2)
    else:
        thick_line(img, 4, 2.5, 8, 6, colour, 1.8)
        thick_line(img, 8, 6, 4, 9.5, colour, 1.8)
    # anti-aliasing blends only over non-key pixels; paint the strokes opaque
    for y in range(12):
        for x in range(12):
            if img.px[y][x] != MAGENTA and img.px[y][x] != colour:
                pass
    return img


def status_class(skin):
    img = Image(2, 16)
    for y in range(16):
        img.set(0, y, (12, 40, 22))
        img.set(1, y, (100, 160, 110))
    name = skin.add("status_divider", img)
    return [("resources", [("statusbar_divider", name), ("statusbar_font_name", FONT_FACE),
                           ("statusbar_font_size", "9")]),
            ("colors", [("statusbar_progress_color", hexc(BRASS)),
                        ("statusbar_text_color", hexc((236, 226, 200)))])]


FONT_FACE = "DejaVu Sans"

COLOR_CLASSES = {
    "static": [("text_color", INK), ("text_highlite_color", (140, 60, 20)),
               ("alt_text_color", CREAM), ("alt_text_highlite_color", (255, 220, 150)),
               ("tooltip_text_color", INK)],
    "global": [("border_color1", (214, 170, 120)), ("border_color2", WALNUT_DARK)],
    "combo_box": [("combo_text_color", INK)],
    "track_bar": [("trackbar_ticks_color", WALNUT_DARK), ("trackbar_thumb_color", BRASS),
                  ("trackbar_background_color", CREAM), ("trackbar_channel_color", FELT_DARK),
                  ("trackbar_thumb_bordercolor", WALNUT_DARK),
                  ("trackbar_channel_bordercolor", WALNUT_DARK)],
    "splitter": [("spliter_background_color", MAPLE),
                 ("spliter_top_left_border_color", (214, 170, 120)),
                 ("spliter_bottom_right_border_color", WALNUT_DARK)],
    "list_view": [("background_color", CREAM), ("selected_background_color", FELT),
                  ("focused_background_color", mix(FELT, CREAM, 0.5)), ("text_color", INK),
                  ("selected_text_color", (255, 246, 224)),
                  ("disabled_text_color", (160, 144, 128)),
                  ("selected_disabled_text_color", (200, 220, 200)),
                  ("selected_disabled_background_color", FELT_DARK)],
    "control_header": [("header_btnface_color", MAPLE),
                       ("header_btnhighlight_color", (214, 170, 120)),
                       ("header_btnshadow_color", WALNUT), ("header_btndarkshadow_color", INK),
                       ("header_background_color", MAPLE), ("header_text_color", INK)],
}


def build_widget_classes(skin, skin_dir, config):
    """Each module of widgets/ draws one widget family: its bitmaps go into
    the skin's registry and its per-class ini files into the skin folder.
    A module's build(kit, skin, skin_dir, config) gets this module as kit,
    for the shared drawing helpers and palette."""
    import glob
    import importlib.util
    here = os.path.dirname(os.path.abspath(__file__))
    for path in sorted(glob.glob(os.path.join(here, "widgets", "*.py"))):
        name = "skin_widgets_" + os.path.splitext(os.path.basename(path))[0]
        spec = importlib.util.spec_from_file_location(name, path)
        module = importlib.util.module_from_spec(spec)
        spec.loader.exec_module(module)
        module.build(sys.modules[__name__], skin, skin_dir, config)


def main():
    data = sys.argv[1]
    skin_dir = os.path.join(data, "Skin")
    for d in (skin_dir, os.path.join(data, "Themes"), os.path.join(data, "Wallpaper")):
        os.makedirs(d, exist_ok=True)
    skin = Skin(skin_dir)
    config = []
    frames = {"thick_frame": ("thick", 5, 26, 22, True),
              "thin_frame": ("thin", 3, 22, 3, False),
              "dialog_frame": ("dialog", 4, 24, 4, False),
              "tooltip_frame": ("tooltip", 1, 0, 1, False)}
    for key, (prefix, border, cap, bottom, status) in frames.items():
        sections = frame_class(skin, prefix, border, max(cap, 12), bottom, len(config) * 100,
                               status)
        write_ini(os.path.join(skin_dir, key + ".ini"), sections)
        config.append((key, key + ".ini"))
    config.append(("app_frame", "thick_frame.ini"))
    write_ini(os.path.join(skin_dir, "menu.ini"), menu_class(skin))
    config.append(("menu", "menu.ini"))
    write_ini(os.path.join(skin_dir, "status_bar.ini"), status_class(skin))
    config.append(("status_bar", "status_bar.ini"))
    for key, colours in COLOR_CLASSES.items():
        write_ini(os.path.join(skin_dir, key + ".ini"),
                  [("colors", [(k, hexc(c)) for k, c in colours])])
        config.append((key, key + ".ini"))
    preview = felt(96, 72, FELT, 5)
    for y in range(14):
        for x in range(96):
            preview.px[y][x] = shade(WALNUT, 1 + 0.05 * math.sin(x * 0.7 + y))
    with open(os.path.join(skin_dir, "standard_preview.bmp"), "wb") as f:
        f.write(preview.bmp())
    with open(os.path.join(data, "Wallpaper", "standard_felt.bmp"), "wb") as f:
        f.write(felt(128, 128, FELT, 11).bmp())
    build_widget_classes(skin, skin_dir, config)
    with open(os.path.join(skin_dir, "guiresources.txt"), "w", newline="\r\n") as f:
        for name, fname, ident in skin.entries:
            f.write("%s %s %d\n" % (name, fname, ident))
    config.append(("GUIResources", "guiresources.txt"))
    # The palette pack start-up opens in its slot: the same image registry.
    config.append(("TS256Data", "guiresources.txt"))
    write_ini(os.path.join(skin_dir, "standard_skin.ini"),
              [("properties", [("name", "Standard"), ("previewbmp", "standard_preview.bmp"),
                               ("backgroundbmp", "standard_felt.bmp")]),
               ("configuration files", config)])
    write_ini(os.path.join(data, "Themes", "standard_theme.ini"),
              [("settings", [("skin", "standard_skin.ini"), ("ambiance", "AStandard01.wav")])])


if __name__ == "__main__":
    main()
