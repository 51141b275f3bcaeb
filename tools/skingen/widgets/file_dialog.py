"""The file dialog's pictures: 16x16 list icons for each kind of entry (a
normal one on the list's ivory and a selected one on its felt), the drive
icons of the "Search in" combo, and the up-folder and new-folder tool
buttons (magenta is their transparent key)."""

SIZE = 16


def _page(kit, bg, badge=None, lines=False):
    """A sheet with a folded corner, ruled lines or a coloured badge."""
    img = kit.Image(SIZE, SIZE, bg)
    edge = kit.shade(kit.WALNUT, 0.9)
    for y in range(1, 15):
        for x in range(3, 13):
            fold = x - 9 > y - 1
            if fold:
                continue
            img.set(x, y, (255, 253, 246))
    for y in range(1, 15):
        img.set(3, y, edge)
        img.set(12, y if y >= 4 else 4, edge)
    for x in range(3, 13):
        img.set(x, 14, edge)
    for x in range(3, 10):
        img.set(x, 1, edge)
    for i in range(4):
        img.set(9 + i, 1 + i, edge)
        img.set(9, 1 + i, edge)
        img.set(9 + i, 4, edge)
    if lines:
        for y in (6, 8, 10, 12):
            for x in range(5, 11):
                img.set(x, y, kit.shade(kit.INK, 1.6))
    if badge:
        for y in range(7, 13):
            for x in range(5, 11):
                img.set(x, y, badge)
    return img


def _game(kit, bg, accent):
    """A tile board corner: four tiles on a felt square."""
    img = kit.Image(SIZE, SIZE, bg)
    for y in range(2, 14):
        for x in range(2, 14):
            img.set(x, y, kit.FELT_DARK)
    for ty in (3, 8):
        for tx in (3, 8):
            for y in range(ty, ty + 4):
                for x in range(tx, tx + 4):
                    img.set(x, y, kit.IVORY)
    for y in range(8, 12):
        for x in range(8, 12):
            img.set(x, y, accent)
    return img


def _folder(kit, bg, opened):
    img = kit.Image(SIZE, SIZE, bg)
    back = kit.MAPLE
    front = kit.shade(kit.BRASS, 1.05)
    for x in range(1, 7):
        img.set(x, 3, back)
    for y in range(4, 14):
        for x in range(1, 15):
            img.set(x, y, back)
    if opened:
        for y in range(7, 14):
            shift = (13 - y) // 3
            for x in range(3 - shift + 1, 15):
                img.set(min(x, 15), y, front)
    else:
        for y in range(6, 14):
            for x in range(1, 15):
                img.set(x, y, front)
    for x in range(1, 15):
        img.set(x, 13, kit.WALNUT_DARK)
    for y in range(3, 14):
        img.set(1, y, kit.WALNUT_DARK)
    return img


def _drive(kit, colour):
    img = kit.Image(SIZE, SIZE, kit.IVORY)
    for y in range(5, 12):
        for x in range(1, 15):
            img.set(x, y, colour)
    for x in range(1, 15):
        img.set(x, 5, kit.shade(colour, 1.3))
        img.set(x, 11, kit.shade(colour, 0.6))
    img.set(12, 9, (60, 200, 60))
    img.set(13, 9, (60, 200, 60))
    return img


def _tool(kit, pressed, glyph, disabled=False):
    w, h = 22, 20
    img = kit.Image(w, h, kit.MAGENTA)
    wood = kit.wood(w - 2, h - 2, kit.MAPLE, 913 + pressed, light=0.0 if pressed else 0.5)
    for y in range(h - 2):
        for x in range(w - 2):
            img.set(x + 1, y + 1, wood.px[y][x])
    kit.bevel(img, kit.shade(kit.MAPLE, 0.6) if pressed else (236, 200, 150),
              kit.WALNUT_DARK if not pressed else (236, 200, 150))
    ink = (150, 130, 110) if disabled else kit.INK
    o = 1 if pressed else 0
    folder = kit.shade(kit.BRASS, 1.05) if not disabled else (200, 186, 160)
    for y in range(9, 16):
        for x in range(4, 15):
            img.set(x + o, y + o, folder)
    for x in range(4, 8):
        img.set(x + o, 8 + o, folder)
    if glyph == "up":
        kit.thick_line(img, 15 + o, 15 + o, 15 + o, 5 + o, ink, 1.6)
        kit.thick_line(img, 12 + o, 8 + o, 15 + o, 4.5 + o, ink, 1.6)
        kit.thick_line(img, 18 + o, 8 + o, 15 + o, 4.5 + o, ink, 1.6)
    else:
        for dx, dy in ((0, -3), (0, 3), (-3, 0), (3, 0)):
            kit.thick_line(img, 16 + o, 6 + o, 16 + dx + o, 6 + dy + o, ink, 1.4)
    return img


def build(kit, skin, skin_dir, config):
    selected = kit.FELT
    normal = kit.IVORY
    pages = {
        "gen_file": {},
        "text_file": {"lines": True},
        "pgn_file": {"badge": kit.WALNUT},
        "database_file": {"badge": (70, 90, 150)},
        "tutor_file": {"badge": (180, 120, 40)},
        "person_file": {"badge": (150, 60, 60)},
        "tourn_file": {"badge": kit.BRASS},
        "book_file": {"badge": kit.FELT},
        "lay_file": {"badge": (100, 100, 100)},
    }
    for name, args in pages.items():
        skin.add(name, _page(kit, normal, **args))
        skin.add(name[:-1] + "s", _page(kit, selected, **args))
    accents = [(190, 60, 50), (60, 110, 190), (200, 160, 60), (130, 70, 160), (230, 220, 200)]
    for i, accent in enumerate(accents):
        n = 4 + i
        skin.add("game%d000" % n, _game(kit, normal, accent))
        skin.add("game%d00s" % n, _game(kit, selected, accent))
    skin.add("Cross_File", _page(kit, normal, badge=(190, 60, 50)))
    skin.add("clsfile", _folder(kit, normal, False))
    skin.add("clsfils", _folder(kit, selected, False))
    skin.add("opnfile", _folder(kit, normal, True))
    skin.add("opnfils", _folder(kit, selected, True))
    drives = {"floppydrive": (90, 90, 110), "harddrive": (120, 120, 120),
              "netdrive": (70, 110, 150), "cdromdrive": (170, 170, 180),
              "ramdrive": (90, 140, 90)}
    for name, colour in drives.items():
        skin.add(name, _drive(kit, colour))
    skin.add("IDD_FILE_DIRUP_U", _tool(kit, 0, "up"))
    skin.add("IDD_FILE_DIRUP_D", _tool(kit, 1, "up"))
    skin.add("IDD_FILE_DIRUP_I", _tool(kit, 0, "up", disabled=True))
    skin.add("IDD_FILE_NEWDIR_U", _tool(kit, 0, "new"))
    skin.add("IDD_FILE_NEWDIR_D", _tool(kit, 1, "new"))
