"""Scroll bars: maple arrow buttons with brass chevrons, a felt groove for the
track and a brass-banded walnut thumb. Vertical pieces are 16 wide,
horizontal ones 16 high; the thumb is drawn as start, middle and end caps."""

BAR = 16
CAP = 5


def _arrow(kit, direction, pressed):
    img = kit.wood(BAR, BAR, kit.MAPLE if not pressed else kit.shade(kit.MAPLE, 0.8),
                   500 + len(direction) * 7 + pressed, vertical=direction in ("up", "down"),
                   light=0.4 if not pressed else -0.2)
    kit.bevel(img, (236, 200, 150) if not pressed else (90, 60, 30),
              (70, 42, 22) if not pressed else (236, 200, 150))
    c = BAR / 2 + (0.7 if pressed else 0)
    s = 3.6
    pts = {"up": ((c - s, c + s / 2), (c, c - s / 2), (c + s, c + s / 2)),
           "down": ((c - s, c - s / 2), (c, c + s / 2), (c + s, c - s / 2)),
           "left": ((c + s / 2, c - s), (c - s / 2, c), (c + s / 2, c + s)),
           "right": ((c - s / 2, c - s), (c + s / 2, c), (c - s / 2, c + s))}[direction]
    colour = kit.shade(kit.BRASS, 0.55) if not pressed else kit.INK
    kit.thick_line(img, pts[0][0], pts[0][1], pts[1][0], pts[1][1], colour, 2.2)
    kit.thick_line(img, pts[1][0], pts[1][1], pts[2][0], pts[2][1], colour, 2.2)
    return img


def _track(kit, vertical, pressed):
    base = kit.FELT_DARK if not pressed else kit.shade(kit.FELT_DARK, 0.75)
    w, h = (BAR, 32) if vertical else (32, BAR)
    img = kit.felt(w, h, base, 610 + vertical * 3 + pressed)
    # a groove shadow along both long edges
    for i in range(w if not vertical else h):
        for j, a in ((0, 0.6), (1, 0.3)):
            if vertical:
                img.blend(j, i, (8, 24, 12), a)
                img.blend(w - 1 - j, i, (90, 150, 100), a * 0.5)
            else:
                img.blend(i, j, (8, 24, 12), a)
                img.blend(i, h - 1 - j, (90, 150, 100), a * 0.5)
    return img


def _thumb(kit, vertical, part, pressed):
    length = 8 if part == "center" else CAP
    w, h = (BAR, length) if vertical else (length, BAR)
    base = kit.WALNUT if not pressed else kit.shade(kit.WALNUT, 1.2)
    img = kit.wood(w, h, base, 700 + length + pressed, vertical=vertical, light=0.3)
    hi, lo = (214, 170, 120), (40, 24, 10)
    for i in range(h if vertical else w):
        # the long edges of the thumb carry the bevel on every piece
        if vertical:
            img.blend(0, i, hi, 0.6)
            img.blend(w - 1, i, lo, 0.6)
        else:
            img.blend(i, 0, hi, 0.6)
            img.blend(i, h - 1, lo, 0.6)
    if part != "center":
        # the caps close the thumb with a brass band
        for i in range(w if vertical else h):
            for k in range(2):
                at = k if part in ("top", "left") else (length - 1 - k)
                colour = kit.BRASS if k == 1 else (hi if part in ("top", "left") else lo)
                if vertical:
                    img.blend(i, at, colour, 0.8)
                else:
                    img.blend(at, i, colour, 0.8)
    else:
        for i in range(2, (w if vertical else h) - 2):
            c = length // 2
            if vertical:
                img.blend(i, c, kit.BRASS, 0.7)
            else:
                img.blend(c, i, kit.BRASS, 0.7)
    return img


def build(kit, skin, skin_dir, config):
    res = []

    def r(key, img):
        res.append((key, skin.add("scroll_" + key, img)))

    for state, pressed in (("up", False), ("down", True)):
        r("v_top_button_" + state, _arrow(kit, "up", pressed))
        r("v_bottom_button_" + state, _arrow(kit, "down", pressed))
        r("h_left_button_" + state, _arrow(kit, "left", pressed))
        r("h_right_button_" + state, _arrow(kit, "right", pressed))
        r("h_track_" + state, _track(kit, False, pressed))
        for part in ("top", "center", "bottom"):
            r("v_thumb_%s_%s" % (part, state), _thumb(kit, True, part, pressed))
        for part in ("left", "center", "right"):
            r("h_thumb_%s_%s" % (part, state), _thumb(kit, False, part, pressed))
    r("v_track_up", _track(kit, True, False))
    kit.write_ini(kit.os.path.join(skin_dir, "scroll.ini"), [("resources", res)])
    config.append(("scroll", "scroll.ini"))
