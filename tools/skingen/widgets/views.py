"""List box and tree view: a walnut frame with a brass inner line around an
ivory field (eight border pieces, two pixels wide), and the tree's expand
buttons as small brass-rimmed maple squares with a walnut plus or minus."""

BORDER = 2
BUTTON = 11


def _border_piece(kit, w, h, edges):
    """edges: which sides of the piece face outward ('t', 'b', 'l', 'r')."""
    img = kit.Image(w, h, kit.BRASS)
    for y in range(h):
        for x in range(w):
            outer = (("t" in edges and y == 0) or ("b" in edges and y == h - 1) or
                     ("l" in edges and x == 0) or ("r" in edges and x == w - 1))
            if outer:
                img.set(x, y, kit.WALNUT_DARK)
    return img


def _button(kit, minus):
    img = kit.wood(BUTTON, BUTTON, kit.MAPLE, 731 + minus, light=0.5)
    for i in range(BUTTON):
        for x, y in ((i, 0), (i, BUTTON - 1), (0, i), (BUTTON - 1, i)):
            img.set(x, y, kit.shade(kit.BRASS, 0.7))
    c = BUTTON // 2
    for i in range(2, BUTTON - 2):
        img.set(i, c, kit.WALNUT_DARK)
        if not minus:
            img.set(c, i, kit.WALNUT_DARK)
    return img


def build(kit, skin, skin_dir, config):
    import os
    b = BORDER
    pieces = [("border_top_left", b, b, "tl"), ("border_top", 8, b, "t"),
              ("border_top_right", b, b, "tr"), ("border_bottom_left", b, b, "bl"),
              ("border_bottom", 8, b, "b"), ("border_bottom_right", b, b, "br"),
              ("border_left", b, 8, "l"), ("border_right", b, 8, "r")]
    resources = []
    for key, w, h, edges in pieces:
        resources.append((key, skin.add("list_" + key, _border_piece(kit, w, h, edges))))
    kit.write_ini(os.path.join(skin_dir, "list_box.ini"),
                  [("resources", resources),
                   ("colors", [("background_color", kit.hexc(kit.IVORY)),
                               ("selected_background_color", kit.hexc(kit.FELT)),
                               ("focused_background_color",
                                kit.hexc(kit.mix(kit.FELT, kit.CREAM, 0.5))),
                               ("disabled_background_color", kit.hexc((220, 210, 190))),
                               ("text_color", kit.hexc(kit.INK)),
                               ("selected_text_color", kit.hexc((255, 246, 224)))]),
                   ("dimensions", [("border_width", str(BORDER))])])
    config.append(("list_box", "list_box.ini"))
    tree = [("tree_plus", skin.add("tree_plus", _button(kit, False))),
            ("tree_minus", skin.add("tree_minus", _button(kit, True)))]
    kit.write_ini(os.path.join(skin_dir, "tree_view.ini"),
                  [("resources", tree),
                   ("colors", [("tree_text_color", kit.hexc(kit.INK)),
                               ("tree_line_color", kit.hexc(kit.WALNUT)),
                               ("tree_background_color", kit.hexc(kit.IVORY))]),
                   ("dimensions", [("tree_prebutton_dx", "3"), ("tree_postbutton_dx", "3")])])
    config.append(("tree_view", "tree_view.ini"))
