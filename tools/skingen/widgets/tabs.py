"""Tab strips: walnut tabs with a brass rim on the selected one, a faded
tab for the disabled state, and a cream ivory page texture."""

H = 28
SIDE = 6


def _piece(kit, part, state):
    w = 32 if part == "center" else SIDE
    base = {"down": kit.MAPLE, "up": kit.WALNUT,
            "disabled": kit.mix(kit.WALNUT, (170, 150, 130), 0.5)}[state]
    img = kit.wood(w, H, base, 800 + w + len(state), light=0.5 if state == "down" else 0.2)
    hi, lo = (236, 200, 150), (40, 24, 10)
    for x in range(w):
        img.blend(x, 0, hi if state == "down" else (150, 110, 70), 0.8)
        if state == "down":
            img.blend(x, 1, kit.BRASS, 0.7)
    for y in range(H):
        if part == "left":
            img.blend(0, y, hi, 0.6)
        if part == "right":
            img.blend(w - 1, y, lo, 0.7)
    # rounded top corners: blend toward the page colour
    if part != "center":
        x0 = 0 if part == "left" else w - 1
        step = 1 if part == "left" else -1
        for k, a in ((0, 0.9), (1, 0.5)):
            img.blend(x0 + step * k, 0, kit.CREAM, a)
            img.blend(x0, k, kit.CREAM, a)
    return img


def build(kit, skin, skin_dir, config):
    res = []
    for state in ("up", "down", "disabled"):
        for part in ("left", "center", "right"):
            key = "tab_%s_%s" % (part, state)
            res.append((key, skin.add(key, _piece(kit, part, state))))
    page = kit.felt(64, 64, kit.IVORY, 820)
    res.append(("background", skin.add("tab_background", page)))
    colors = [("text_color_up", kit.hexc((246, 236, 212))),
              ("text_color_down", kit.hexc(kit.INK)),
              ("text_color_disabled", kit.hexc((200, 186, 168))),
              ("top_left_border_color", kit.hexc(kit.BRASS)),
              ("bottom_right_border_color", kit.hexc(kit.WALNUT_DARK))]
    dims = [("down_offset_x", "0"), ("down_offset_y", "1"), ("up_offset_x", "0"),
            ("up_offset_y", "1"), ("disabled_offset_x", "0"), ("disabled_offset_y", "1"),
            ("border_width", "2")]
    kit.write_ini(kit.os.path.join(skin_dir, "tab.ini"),
                  [("resources", res), ("colors", colors), ("dimensions", dims)])
    config.append(("tab", "tab.ini"))
