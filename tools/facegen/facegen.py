#!/usr/bin/env python3
"""Draws one portrait per computer opponent: a stylised face on a round felt
medallion framed in walnut, in the standard skin's hand. The face follows the
personality's sex and age; the rest (skin tone, hair colour and cut, eyes,
smile) comes from a generator seeded by its section name, so the same file
always gives the same pictures.

usage: facegen.py <personalities.ini> <output folder>
writes <output folder>/<section>.bmp (96 x 96, 24-bit) for every section.
"""
import configparser
import math
import os
import random
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "skingen"))
import skingen as kit  # noqa: E402  (shared Image, wood, felt and palette)

SIZE = 96
SKIN_TONES = [(241, 204, 170), (224, 172, 130), (198, 140, 98), (160, 104, 70), (112, 74, 50)]
HAIR = [(40, 28, 20), (92, 58, 32), (150, 98, 48), (196, 150, 84), (120, 44, 24), (30, 30, 34)]
GREY = [(150, 150, 150), (196, 196, 192), (224, 222, 216)]
EYES = [(60, 90, 130), (70, 110, 60), (90, 60, 40), (40, 40, 40)]
SHIRT = [kit.WALNUT, kit.MAPLE, (60, 92, 70), (92, 60, 84), (54, 70, 110)]


def ellipse(img, cx, cy, rx, ry, colour, clip=None):
    """Anti-aliased filled ellipse; clip(x, y) may refuse pixels."""
    for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
        for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
            if clip and not clip(x, y):
                continue
            d = math.hypot((x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry)
            edge = (1.0 - d) * min(rx, ry)
            if edge > 0:
                img.blend(x, y, colour, min(1.0, edge))


def arc(img, cx, cy, r, start, end, colour, width=1.6):
    steps = int(abs(end - start) * r * 2) + 4
    for i in range(steps + 1):
        a = start + (end - start) * i / steps
        ellipse(img, cx + r * math.cos(a), cy + r * math.sin(a), width / 2, width / 2, colour)


def medallion(rng):
    img = kit.wood(SIZE, SIZE, kit.WALNUT, rng.randint(0, 999))
    inside = kit.felt(SIZE, SIZE, kit.FELT, rng.randint(0, 999))
    c = SIZE / 2
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x + 0.5 - c, y + 0.5 - c)
            if d < 40:
                img.px[y][x] = inside.px[y][x]
            elif d < 43:
                img.px[y][x] = kit.shade(kit.BRASS, 1.15 - 0.1 * (d - 40))
    return img


def inside_circle(x, y):
    return math.hypot(x + 0.5 - SIZE / 2, y + 0.5 - SIZE / 2) < 39.5


def face(section, sex, age):
    rng = random.Random(section)
    img = medallion(rng)
    skin = rng.choice(SKIN_TONES)
    hair = rng.choice(GREY) if age >= 60 else rng.choice(HAIR)
    child = age < 13
    cx, cy = 48, 46 if child else 44
    head_rx, head_ry = (17, 19) if child else (16, 21)
    # Shoulders and shirt.
    ellipse(img, cx, 96, 30, 24, rng.choice(SHIRT), inside_circle)
    ellipse(img, cx, 68, 6, 8, kit.shade(skin, 0.9), inside_circle)
    # Hair behind the head: long for most women, a short cap otherwise.
    long_hair = sex == 0 and rng.random() < 0.8
    if long_hair:  # falls beside the face to the shoulders, never over the chin
        ellipse(img, cx, cy + 8, head_rx + 5, head_ry + 10, hair,
                lambda x, y: inside_circle(x, y) and (y < cy or abs(x + 0.5 - cx) > head_rx - 3))
    ellipse(img, cx, cy, head_rx, head_ry, skin, inside_circle)
    ellipse(img, cx - head_rx, cy + 2, 3, 5, kit.shade(skin, 0.92))
    ellipse(img, cx + head_rx, cy + 2, 3, 5, kit.shade(skin, 0.92))
    # Fringe or crown over the forehead.
    bald = sex == 1 and age >= 50 and rng.random() < 0.5
    top = cy - head_ry
    if not bald:
        ellipse(img, cx, top + 6, head_rx + 1, 9 if long_hair else 7, hair,
                lambda x, y: y < top + 9 + (x % 5 == 0))
    else:
        ellipse(img, cx - head_rx + 1, cy - 4, 4, 8, hair)
        ellipse(img, cx + head_rx - 1, cy - 4, 4, 8, hair)
    # Eyes, brows, nose and mouth.
    eye = rng.choice(EYES)
    for side in (-1, 1):
        ex = cx + side * 7
        ellipse(img, ex, cy, 3.2, 2.4, (250, 248, 240))
        ellipse(img, ex, cy + 0.3, 1.7, 1.9, eye)
        ellipse(img, ex, cy + 0.3, 0.7, 0.7, (20, 20, 20))
        brow = kit.shade(hair if not bald else (90, 80, 70), 0.8)
        arc(img, ex, cy + 3, 6, math.pi * 1.25, math.pi * 1.75, brow, 1.4)
    ellipse(img, cx, cy + 6, 1.6, 2.6, kit.shade(skin, 0.85))
    smile = rng.uniform(0.25, 0.45)
    arc(img, cx, cy + 6, 7, math.pi * (0.5 - smile), math.pi * (0.5 + smile), (150, 60, 60), 1.6)
    if age >= 45:  # laugh lines
        for side in (-1, 1):
            arc(img, cx + side * 10, cy + 9, 4, math.pi * (0.4 if side > 0 else 0.6),
                math.pi * (0.4 if side > 0 else 0.6) + 0.5 * side, kit.shade(skin, 0.8), 0.8)
    if sex == 1 and age >= 30 and rng.random() < 0.35:  # beard
        ellipse(img, cx, cy + 14, 11, 7, kit.shade(hair, 1.05), lambda x, y: y > cy + 10)
    if rng.random() < 0.25 or age >= 65:  # glasses
        for side in (-1, 1):
            arc(img, cx + side * 7, cy, 4.6, 0, 2 * math.pi, (50, 40, 30), 1.0)
        arc(img, cx, cy - 1, 2.2, math.pi * 1.1, math.pi * 1.9, (50, 40, 30), 1.0)
    return img


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: facegen.py <personalities.ini> <output folder>")
    config = configparser.ConfigParser(interpolation=None, comment_prefixes=(";", "#"))
    with open(sys.argv[1], encoding="utf-8") as f:
        config.read_file(f)
    os.makedirs(sys.argv[2], exist_ok=True)
    for section in config.sections():
        s = config[section]
        sex = 1 if s.get("sex", "male").strip().lower() == "male" else 0
        age = int(s.get("age", "30"))
        with open(os.path.join(sys.argv[2], section + ".bmp"), "wb") as out:
            out.write(face(section, sex, age).bmp())


if __name__ == "__main__":
    main()
