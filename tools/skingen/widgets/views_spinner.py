"""The picture spinner's arrow buttons: walnut strips with a brass arrow,
darker while pressed. Tall enough for any spinner; the button shows the
strip's top part."""

W = 16
H = 64


def _arrow(kit, left, pressed):
    img = kit.wood(W, H, kit.WALNUT_DARK if pressed else kit.WALNUT, 611 + left + 2 * pressed,
                   vertical=True, light=0.1 if pressed else 0.4)
    kit.bevel(img, kit.shade(kit.BRASS, 0.8), kit.WALNUT_DARK)
    brass = kit.shade(kit.BRASS, 0.75) if pressed else kit.BRASS
    cy = 20  # the arrow sits where the smallest spinner shows it
    for i in range(6):
        x = 5 + i if left else 10 - i
        for y in range(cy - i, cy + i + 1):
            img.set(x, y, brass)
    return img


def build(kit, skin, skin_dir, config):
    for left, side in ((True, "left"), (False, "right")):
        skin.add("spin_list_%s_up" % side, _arrow(kit, left, False))
        skin.add("spin_list_%s_down" % side, _arrow(kit, left, True))
