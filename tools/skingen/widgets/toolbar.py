"""The game room's toolbar pictures: 55-pixel maple tiles with a walnut
symbol, one pair per button (its normal look under the button's id, its
pushed or checked look under the id plus one: the buttons' key offset)."""
import math

SIZE = 55


def _tile(kit, pressed, seed):
    base = kit.WALNUT if pressed else kit.MAPLE
    img = kit.wood(SIZE, SIZE, base, seed, light=0.1 if pressed else 0.45)
    hi, lo = (236, 200, 150), (40, 24, 10)
    kit.bevel(img, lo if pressed else hi, hi if pressed else lo, 2)
    return img


def _line(kit, img, pts, colour, width=3.2):
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        kit.thick_line(img, x0, y0, x1, y1, colour, width)


def _rect(kit, img, x0, y0, x1, y1, colour, width=3.0):
    _line(kit, img, [(x0, y0), (x1, y0), (x1, y1), (x0, y1), (x0, y0)], colour, width)


def _fill(img, x0, y0, x1, y1, colour):
    for y in range(int(y0), int(y1)):
        for x in range(int(x0), int(x1)):
            img.set(x, y, colour)


def _arc(kit, img, cx, cy, r, a0, a1, colour, width=3.2):
    n = 24
    pts = [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / n)),
            cy - r * math.sin(math.radians(a0 + (a1 - a0) * i / n))) for i in range(n + 1)]
    _line(kit, img, pts, colour, width)


def _head(kit, img, cx, cy, r, colour):
    kit.disc(img, cx, cy, r, lambda dx, dy: colour)


def players(kit, img, c):
    for cx, s in ((20, 0.85), (35, 1.0)):
        _head(kit, img, cx, 20, 6 * s, c)
        _arc(kit, img, cx, 42, 11 * s, 0, 180, c, 4)


def moves(kit, img, c):
    for i, y in enumerate((16, 24, 32, 40)):
        kit.disc(img, 15, y, 2.2, lambda dx, dy: c)
        _line(kit, img, [(21, y), (41 - 4 * (i % 2), y)], c, 3)


def dictionary(kit, img, c):
    _line(kit, img, [(27.5, 16), (27.5, 42)], c, 2.5)
    _line(kit, img, [(27.5, 16), (17, 13), (11, 14), (11, 40), (17, 39), (27.5, 42)], c, 2.5)
    _line(kit, img, [(27.5, 16), (38, 13), (44, 14), (44, 40), (38, 39), (27.5, 42)], c, 2.5)
    for y in (21, 27, 33):
        _line(kit, img, [(15, y), (23, y + 1)], c, 1.6)
        _line(kit, img, [(32, y + 1), (40, y)], c, 1.6)


def bag(kit, img, c):
    _line(kit, img, [(21, 15), (27.5, 20), (34, 15)], c, 3)
    _line(kit, img, [(22, 21), (33, 21)], c, 3)
    _arc(kit, img, 27.5, 33, 13, 120, 420, c, 3.2)


def mentor(kit, img, c):
    _arc(kit, img, 27.5, 22, 10, -40, 220, c, 3.2)
    _line(kit, img, [(20, 28.5), (23, 36), (32, 36), (35, 28.5)], c, 3)
    _line(kit, img, [(23, 40), (32, 40)], c, 2.6)
    _line(kit, img, [(25, 44), (30, 44)], c, 2.6)


def bubble(kit, img, c, x0, y0, x1, y1, tail_left=True):
    _rect(kit, img, x0, y0, x1, y1, c, 2.8)
    tx = x0 + 6 if tail_left else x1 - 6
    _line(kit, img, [(tx, y1), (tx + (-3 if tail_left else 3), y1 + 7), (tx + (5 if tail_left else -5), y1)], c, 2.6)


def comments(kit, img, c):
    bubble(kit, img, c, 11, 13, 44, 35)
    for y in (20, 27):
        _line(kit, img, [(17, y), (38, y)], c, 2)


def chat(kit, img, c):
    bubble(kit, img, c, 9, 11, 34, 28)
    bubble(kit, img, c, 22, 27, 46, 42, tail_left=False)


def friends(kit, img, c):
    _head(kit, img, 23, 19, 6.5, c)
    _arc(kit, img, 23, 42, 12, 0, 180, c, 4)
    _line(kit, img, [(38, 20), (38, 32)], c, 3)
    _line(kit, img, [(32, 26), (44, 26)], c, 3)


def restart(kit, img, c):
    _arc(kit, img, 27.5, 28, 13, 100, 390, c, 3.6)
    _line(kit, img, [(24, 9.5), (30, 15), (23, 20)], c, 3.4)


def save(kit, img, c):
    _rect(kit, img, 13, 12, 42, 43, c, 3)
    _fill(img, 19, 13, 36, 22, c)
    _rect(kit, img, 18, 29, 37, 42, c, 2.4)


def load(kit, img, c):
    _line(kit, img, [(10, 40), (10, 15), (20, 15), (23, 19), (40, 19), (40, 25)], c, 3)
    _line(kit, img, [(10, 40), (16, 25), (46, 25), (40, 40), (10, 40)], c, 3)


def options(kit, img, c):
    for k in range(8):
        a = math.radians(k * 45)
        _line(kit, img, [(27.5 + 11 * math.cos(a), 27.5 + 11 * math.sin(a)),
                         (27.5 + 17 * math.cos(a), 27.5 + 17 * math.sin(a))], c, 5)
    _arc(kit, img, 27.5, 27.5, 11, 0, 360, c, 4)
    _arc(kit, img, 27.5, 27.5, 4.5, 0, 360, c, 2.6)


def previous(kit, img, c):
    _line(kit, img, [(42, 27.5), (14, 27.5)], c, 4)
    _line(kit, img, [(25, 16), (13, 27.5), (25, 39)], c, 4)


def main_menu(kit, img, c):
    _line(kit, img, [(10, 28), (27.5, 12), (45, 28)], c, 3.6)
    _line(kit, img, [(16, 24), (16, 43), (39, 43), (39, 24)], c, 3.2)
    _rect(kit, img, 24, 31, 31, 43, c, 2.4)


BUTTONS = [(30506, "players", players), (30488, "moves", moves), (30500, "dictionary", dictionary),
           (30512, "bag", bag), (30524, "mentor", mentor), (30530, "comments", comments),
           (30536, "chat", chat), (30542, "friends", friends), (30630, "restart", restart),
           (30606, "save", save), (30612, "load", load), (30618, "options", options),
           (30600, "previous", previous), (30624, "main_menu", main_menu)]


def build(kit, skin, skin_dir, config):
    for ident, name, draw in BUTTONS:
        for pressed in (0, 1):
            img = _tile(kit, pressed, ident + pressed)
            draw(kit, img, kit.CREAM if pressed else kit.INK)
            skin.add("toolbar_%s_%s" % (name, "down" if pressed else "up"), img, ident + pressed)
