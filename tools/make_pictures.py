#!/usr/bin/env python3
"""Draws the meadow game's pictures and writes them as PNG files.

Usage: make_pictures.py OUTDIR

Writes into OUTDIR:
  title.png                      128 x 96, shown at eight times its size
  bee.png, bee2.png              10 x 7, the bee and the rare bee, facing left
  cloud.png                      4 cells of 18 x 24 in a row: two at rest, two raining
  flower01.png .. flower04.png   8 cells of 9 x 18 in a row, sprout to grown flower

Sprites are pixel art written below as rows of palette letters ('.' is transparent);
the growth stages of the flowers and the title's meadow are put together from them.
Only the standard library is used: the PNG encoder is the few lines at the end.
"""
import os
import struct
import sys
import zlib

CLEAR = (0, 0, 0, 0)


class Canvas:
    def __init__(self, width, height, fill=CLEAR):
        self.width = width
        self.height = height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height and color[3] > 0:
            self.pixels[y][x] = color

    def art(self, x, y, rows, palette):
        """Draws rows of palette letters with their top-left corner at (x, y)."""
        for dy, row in enumerate(rows):
            for dx, letter in enumerate(row):
                if letter != ".":
                    self.put(x + dx, y + dy, palette[letter])

    def paste(self, x, y, other):
        for dy in range(other.height):
            for dx in range(other.width):
                self.put(x + dx, y + dy, other.pixels[dy][dx])

    def mirrored(self):
        out = Canvas(self.width, self.height)
        out.pixels = [list(reversed(row)) for row in self.pixels]
        return out


def strip(cells):
    """The cells side by side, one row of a grid."""
    out = Canvas(sum(c.width for c in cells), cells[0].height)
    x = 0
    for cell in cells:
        out.paste(x, 0, cell)
        x += cell.width
    return out


# --- bees --------------------------------------------------------------------------

BEE = [
    "....WW.WW.",
    "...WwwWww.",
    ".kkyykyyk.",
    "kekyykyykk",
    "kkkyykyyk.",
    ".kkyykyyk.",
    "..k..k....",
]
BEE_COLORS = {"W": (235, 250, 255, 220), "w": (170, 220, 255, 170), "k": (40, 30, 25, 255),
              "y": (255, 205, 40, 255), "e": (255, 255, 255, 255)}
# The rare bee: violet and silver with golden wings.
BEE2_COLORS = {"W": (255, 235, 140, 230), "w": (255, 200, 60, 190), "k": (60, 20, 90, 255),
               "y": (200, 215, 255, 255), "e": (255, 255, 255, 255)}


def bee(colors):
    c = Canvas(10, 7)
    c.art(0, 0, BEE, colors)
    return c


# --- cloud -------------------------------------------------------------------------

CLOUD = [
    "......hhhh........",
    "...hh.hWWWh.hh....",
    "..hWWhWWWWWhWWh...",
    ".hWWWWWWWWWWWWWh..",
    "hWWWWWWWWWWWWWWWh.",
    "hWWWWWWWWWWWWWWWWh",
    ".sWWWWWWWWWWWWWWs.",
    "..ssssWWWWWsssss..",
    "....ssss.ssss.....",
]
CLOUD_BRIGHT = {"h": (225, 235, 245, 255), "W": (255, 255, 255, 255), "s": (200, 210, 225, 255)}
CLOUD_GREY = {"h": (170, 180, 195, 255), "W": (205, 212, 222, 255), "s": (140, 150, 168, 255)}
RAIN = (70, 120, 230, 230)
RAIN_LIGHT = (140, 180, 255, 170)


def cloud(bob, raining, phase):
    c = Canvas(18, 24)
    c.art(0, bob, CLOUD, CLOUD_GREY if raining else CLOUD_BRIGHT)
    if raining:
        # Streaks of two pixels every four rows, staggered by column, falling to the
        # ground (the cell's bottom row); the second frame is moved two rows on.
        for x in range(2, 17, 2):
            for y in range(9, 24):
                if (y + phase + x * 3 // 2) % 4 == 0:
                    c.put(x, y, RAIN)
                    c.put(x, y + 1, RAIN_LIGHT)
        for x in (5, 12):  # splashes where drops meet the ground
            c.put(x - 1 + phase // 2, 23, RAIN_LIGHT)
    return c


# --- flowers -----------------------------------------------------------------------

GREENS = {"g": (40, 150, 50, 255), "G": (110, 205, 70, 255), "d": (25, 100, 35, 255)}

# Open heads, 9 x 7; p petal, P petal light, s petal shade, c centre, C centre light.
HEADS = {
    "daisy": [
        ".pp...pp.",
        ".pPp.pPp.",
        "..pcccp..",
        "pPpcCcpPp",
        "..pcccs..",
        ".psp.psp.",
        ".ss...ss.",
    ],
    "sunflower": [
        "..p.P.p..",
        ".pPpppPp.",
        "ppccccc.p",
        "PpcCcccpP",
        "p.cccccpp",
        ".pspppsp.",
        "..s.s.s..",
    ],
    "tulip": [
        ".P..p..p.",
        ".Pp.p.pp.",
        ".Pppppps.",
        ".PPpppps.",
        ".pPppPps.",
        "..ppppp..",
        "...sss...",
    ],
    "cornflower": [
        "..P...p..",
        ".Pp.p.ps.",
        "..ppppp..",
        "PppcCcpps",
        "..ppppp..",
        ".pp.s.ss.",
        "..p...s..",
    ],
}
COLORS = {
    "daisy": {"p": (250, 250, 250, 255), "P": (255, 255, 255, 255), "s": (205, 210, 230, 255),
              "c": (250, 190, 20, 255), "C": (255, 235, 120, 255)},
    "sunflower": {"p": (255, 200, 20, 255), "P": (255, 235, 110, 255), "s": (225, 150, 10, 255),
                  "c": (120, 70, 25, 255), "C": (170, 110, 40, 255)},
    "tulip": {"p": (255, 120, 20, 255), "P": (255, 190, 90, 255), "s": (200, 60, 10, 255),
              "c": (0, 0, 0, 255), "C": (0, 0, 0, 255)},
    "cornflower": {"p": (70, 90, 235, 255), "P": (140, 160, 255, 255), "s": (40, 50, 170, 255),
                   "c": (40, 20, 110, 255), "C": (120, 80, 200, 255)},
}
# Half open (frame 6) and bud (frame 5), 9 wide, drawn above the stem.
HALF_OPEN = [
    "..p.p.p..",
    "..pPpps..",
    "...pps...",
    "...GgG...",
]
BUD = [
    "...pP....",
    "...pps...",
    "...GgG...",
]
GREEN_BUD = [
    "....p....",
    "...GgG...",
    "...gGg...",
]


def stem(c, top):
    for y in range(top, 18):
        c.put(4, y, GREENS["g"])


def leaves(c, stage):
    """Leaves that grow with the plant: a pair of nubs, then a leaf on each side."""
    if stage == 0:
        c.art(3, 16, ["G.G"], GREENS)
        return
    if stage == 1:
        c.art(2, 14, ["G...G", ".G.G."], GREENS)
        return
    c.art(1, 12, ["GG.....", ".Gg....", "..Gg..."], GREENS)
    c.art(5, 10, ["..GG", ".gG.", "gG.."], GREENS)
    if stage >= 4:
        c.art(0, 14, ["GG..", ".dGg"], GREENS)


def flower(kind):
    head_colors = dict(COLORS[kind], **GREENS)
    cells = []
    for frame in range(8):
        c = Canvas(9, 18)
        top = [15, 13, 11, 9, 8, 7, 7, 7][frame]
        stem(c, top)
        leaves(c, min(frame, 5))
        if frame < 3:
            c.put(4, top - 1, GREENS["G"])  # the growing tip
        elif frame == 3:
            c.art(0, top - 2, ["....G....", "...GgG..."], GREENS)
        elif frame == 4:
            c.art(0, top - 3, GREEN_BUD, head_colors)
        elif frame == 5:
            c.art(0, top - 3, BUD, head_colors)
        elif frame == 6:
            c.art(0, top - 4, HALF_OPEN, head_colors)
        else:
            c.art(0, 0, HEADS[kind], head_colors)
        cells.append(c)
    return strip(cells)


# --- title -------------------------------------------------------------------------

BIG_LETTERS = {
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "V": ["#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
}
SMALL_LETTERS = {
    "P": ["##.", "#.#", "##.", "#..", "#.."],
    "R": ["##.", "#.#", "##.", "#.#", "#.#"],
    "E": ["###", "#..", "##.", "#..", "###"],
    "S": [".##", "#..", ".#.", "..#", "##."],
    "A": [".#.", "#.#", "###", "#.#", "#.#"],
    "C": [".##", "#..", "#..", "#..", ".##"],
    " ": ["...", "...", "...", "...", "..."],
}
SKY_TOP = (60, 150, 245)
SKY = (100, 200, 255)
GROUND = (240, 60, 150)
GROUND_DARK = (205, 40, 125)
INK = (60, 20, 70, 255)
GOLD = (255, 220, 60, 255)
GOLD_LIGHT = (255, 250, 200, 255)


def text(c, x, y, word, letters, scale, color, light=None):
    for letter in word:
        rows = letters[letter]
        for gy, row in enumerate(rows):
            for gx, mark in enumerate(row):
                if mark == "#":
                    shade = light if light and gy < len(rows) // 2 else color
                    for sy in range(scale):
                        for sx in range(scale):
                            c.put(x + gx * scale + sx, y + gy * scale + sy, shade)
        x += (len(rows[0]) + 1) * scale


def outlined(c, x, y, word, letters, scale, color, light, outline):
    """The word with a one-pixel outline and a drop shadow two pixels down."""
    for ox, oy in ((0, 2), (1, 2), (-1, 2)):
        text(c, x + ox, y + oy, word, letters, scale, outline)
    for ox in (-1, 0, 1):
        for oy in (-1, 0, 1):
            text(c, x + ox, y + oy, word, letters, scale, outline)
    text(c, x, y, word, letters, scale, color, light)


def width_of(word, letters, scale):
    return sum((len(letters[l][0]) + 1) * scale for l in word) - scale


def title(flowers, bees, clouds):
    c = Canvas(128, 96)
    horizon = 60
    for y in range(96):
        for x in range(128):
            if y < horizon:
                t = y / horizon
                color = tuple(round(a + (b - a) * t) for a, b in zip(SKY_TOP, SKY))
            else:
                # Rows of darker ground that close up towards the horizon.
                depth = y - horizon
                color = GROUND_DARK if depth in (1, 3, 6, 10, 15, 21, 28) and (x + depth) % 3 else GROUND
            c.put(x, y, color + (255,))
    # The sun, with a soft ring.
    for y in range(-9, 10):
        for x in range(-9, 10):
            d = x * x + y * y
            if d <= 36:
                c.put(117 + x, 9 + y, (255, 240, 120, 255))
            elif d <= 64 and (x + y) % 2 == 0:
                c.put(117 + x, 9 + y, (255, 250, 190, 255))
    c.paste(6, 30, crop(clouds[0], 0, 0, 18, 9))
    c.paste(84, 36, crop(clouds[1], 0, 0, 18, 9))
    # The meadow: grown flowers far (small and high) to near, and a few buds.
    for x, y, kind, frame in ((4, 44, 0, 7), (18, 46, 2, 7), (31, 45, 1, 5), (44, 47, 3, 7), (58, 44, 0, 6),
                              (71, 46, 1, 7), (86, 45, 2, 7), (99, 47, 3, 4), (112, 44, 0, 7), (10, 60, 1, 7),
                              (25, 66, 3, 7), (40, 62, 2, 6), (62, 64, 0, 7), (80, 68, 3, 7), (95, 61, 1, 7),
                              (116, 65, 2, 7), (3, 76, 2, 7), (50, 77, 1, 7), (105, 78, 0, 7)):
        c.paste(x, y, crop(flowers[kind], frame * 9, 0, 9, 18))
    # Two bees and their looping flight.
    for x, y in ((30, 84), (34, 82), (39, 81), (44, 82), (48, 84), (51, 87), (55, 89), (60, 88), (64, 85)):
        c.put(x, y, (255, 255, 255, 200))
    c.paste(66, 80, bees[0])
    c.paste(20, 86, bees[0].mirrored())
    word = "TARVOLIN"
    outlined(c, (128 - width_of(word, BIG_LETTERS, 2)) // 2, 12, word, BIG_LETTERS, 2, GOLD, GOLD_LIGHT, INK)
    hint = "PRESS SPACE"
    outlined(c, (128 - width_of(hint, SMALL_LETTERS, 1)) // 2, 34, hint, SMALL_LETTERS, 1,
             (255, 255, 255, 255), None, INK)
    return c


def crop(c, x, y, width, height):
    out = Canvas(width, height)
    for dy in range(height):
        for dx in range(width):
            out.pixels[dy][dx] = c.pixels[y + dy][x + dx]
    return out


# --- PNG ---------------------------------------------------------------------------

def write_png(path, canvas):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in canvas.pixels)
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                chunk(b"IEND", b""))


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    bees = [bee(BEE_COLORS), bee(BEE2_COLORS)]
    clouds = [cloud(0, False, 0), cloud(1, False, 0), cloud(0, True, 0), cloud(1, True, 2)]
    flowers = [flower(kind) for kind in ("daisy", "sunflower", "tulip", "cornflower")]
    pictures = {"title.png": title(flowers, bees, clouds), "bee.png": bees[0], "bee2.png": bees[1],
                "cloud.png": strip(clouds)}
    for number, picture in enumerate(flowers, 1):
        pictures[f"flower{number:02d}.png"] = picture
    for name, picture in pictures.items():
        write_png(os.path.join(out, name), picture)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
