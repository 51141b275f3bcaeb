"""Buttons, check boxes, radio buttons, group boxes, labels, edit fields and
the spin field's arrows: maple buttons with a brass rim and rounded caps,
ivory marks inked in walnut, cream labels on the dialogs' felt."""

H = 24
CAP = 8


def _inside(x, y, w, part):
    """Rounded outer corners of a cap; the middle is square."""
    if part == "center":
        return True
    r = H / 2 - 2
    cx = r + 0.5 if part == "left" else w - r - 0.5
    if (part == "left" and x >= cx) or (part == "right" and x <= cx):
        return True
    for cy in (r + 0.5, H - r - 0.5):
        if (y < cy and cy == r + 0.5) or (y > cy and cy != r + 0.5):
            return (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r
    return True


def _piece(kit, part, state):
    w = 32 if part == "center" else CAP
    base = {"up": kit.MAPLE, "down": kit.WALNUT, "focus": kit.MAPLE,
            "disabled": kit.mix(kit.MAPLE, (190, 180, 165), 0.6)}[state]
    wood = kit.wood(w, H, base, 900 + w + len(state), light=0.45 if state != "down" else 0.1)
    img = kit.Image(w, H, kit.MAGENTA)
    rim = kit.BRASS if state in ("up", "focus") else kit.shade(kit.BRASS, 0.6)
    for y in range(H):
        for x in range(w):
            if not _inside(x, y, w, part):
                continue
            edge = (y <= 1 or y >= H - 2 or (part == "left" and not _inside(x - 2, y, w, part))
                    or (part == "right" and not _inside(x + 2, y, w, part)))
            img.px[y][x] = rim if edge else wood.px[y][x]
    if state == "focus":
        for x in range(w):
            img.blend(x, 2, (255, 236, 180), 0.6)
    return img


def _box(kit, radio, checked, disabled):
    s = 13
    img = kit.Image(s, s, kit.MAGENTA)
    face = kit.IVORY if not disabled else (200, 194, 180)
    ink = kit.INK if not disabled else (120, 110, 96)
    if radio:
        kit.disc(img, s / 2, s / 2, s / 2 - 0.3, lambda dx, dy: kit.WALNUT_DARK)
        kit.disc(img, s / 2, s / 2, s / 2 - 1.6, lambda dx, dy: face)
        if checked:
            kit.disc(img, s / 2, s / 2, 2.6, lambda dx, dy: ink)
    else:
        for y in range(s):
            for x in range(s):
                border = x in (0, s - 1) or y in (0, s - 1)
                img.px[y][x] = kit.WALNUT_DARK if border else face
        if checked:
            kit.thick_line(img, 3, 6.5, 5.5, 9, ink, 1.8)
            kit.thick_line(img, 5.5, 9, 10, 3.5, ink, 1.8)
    return img


def _arrow(kit, up, pressed):
    w, h = 15, 11
    img = kit.wood(w, h, kit.WALNUT if pressed else kit.MAPLE, 950 + up * 2 + pressed,
                   light=0.4)
    kit.bevel(img, (236, 200, 150), (40, 24, 10))
    glyph = kit.INK if not pressed else kit.CREAM
    cx, cy = w / 2, h / 2 + (0.5 if pressed else 0)
    sgn = -1 if up else 1
    kit.thick_line(img, cx - 3.5, cy - sgn * 1.6, cx, cy + sgn * 1.8, glyph, 1.7)
    kit.thick_line(img, cx, cy + sgn * 1.8, cx + 3.5, cy - sgn * 1.6, glyph, 1.7)
    return img


def build(kit, skin, skin_dir, config):
    res = []
    for state in ("up", "down", "disabled", "focus"):
        for part in ("left", "center", "right"):
            key = "button_%s_%s" % (part, state)
            res.append((key, skin.add(key, _piece(kit, part, state))))
    for kind in ("check", "radio"):
        for name, checked, disabled in (("up", 0, 0), ("down", 1, 0), ("up_disabled", 0, 1),
                                        ("down_disabled", 1, 1)):
            key = "%s_%s" % (kind, name)
            res.append((key, skin.add(key, _box(kit, kind == "radio", checked, disabled))))
    res.append(("font_name", kit.FONT_FACE))
    hexc = kit.hexc
    colours = [("text_color_up", hexc(kit.INK)), ("text_color_down", hexc(kit.CREAM)),
               ("text_color_disabled", hexc((120, 104, 86))),
               ("text_shadow_color", hexc((236, 224, 200)))]
    for kind in ("chkbox", "radio"):
        colours += [(kind + "_text_color_up", hexc(kit.CREAM)),
                    (kind + "_text_color_down", hexc(kit.CREAM)),
                    (kind + "_text_color_disabled", hexc((150, 172, 150)))]
    colours += [("group_text_color_up", hexc(kit.CREAM)),
                ("group_border_color", hexc(kit.WALNUT))]
    dims = [("plain_text_colors", "1"), ("font_slot", "-1"), ("font_size", "9"), ("focus_image", "0"),
            ("bitmap_key_offset_1", "1"), ("bitmap_key_offset_5", "1")]
    for state in ("up", "down", "disabled", "focus"):
        dims += [("text_offset_x_" + state, "0"), ("text_offset_y_" + state, "0")]
    kit.write_ini(skin_dir + "/button.ini",
                  [("resources", res), ("colors", colours), ("dimensions", dims)])
    config.append(("button", "button.ini"))

    # The spin arrows are bitmap buttons: each arrow's pushed look is the
    # registry entry right after its normal one (key offset 1).
    spin = []
    for up in (1, 0):
        for pressed in (0, 1):
            key = "spin_%s_%s" % ("top" if up else "bottom", "down" if pressed else "up")
            spin.append((key, skin.add(key, _arrow(kit, up, pressed))))
    kit.write_ini(skin_dir + "/spin_edit.ini",
                  [("resources", spin), ("dimensions", [("edit_id", "1")])])
    config.append(("spin_edit", "spin_edit.ini"))

    kit.write_ini(skin_dir + "/edit.ini", [
        ("colors", [("background_color", hexc(kit.IVORY)),
                    ("selected_background_color", hexc(kit.FELT)),
                    ("focused_background_color", hexc(kit.IVORY)),
                    ("disabled_background_color", hexc((220, 210, 190))),
                    ("text_color", hexc(kit.INK)),
                    ("top_left_border_color", hexc(kit.WALNUT_DARK)),
                    ("bottom_right_border_color", hexc((214, 170, 120)))]),
        ("dimensions", [("border_width", "1")])])
    config.append(("edit", "edit.ini"))

    # Labels sit on the dialogs' felt: cream ink, the felt as their texture.
    kit.write_ini(skin_dir + "/static.ini", [
        ("resources", [("background", "dialog_background")]),
        ("colors", [("text_color", hexc(kit.CREAM)),
                    ("text_highlite_color", hexc((255, 220, 150))),
                    ("text_highlite_off_color", hexc(kit.CREAM)),
                    ("alt_text_color", hexc((255, 220, 150))),
                    ("alt_text_highlite_color", hexc((255, 236, 190))),
                    ("disabled_text_color", hexc((150, 172, 150))),
                    ("tooltip_text_color", hexc(kit.INK))])])
