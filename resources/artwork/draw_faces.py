#!/usr/bin/env python3
"""Draws the editor's button faces (16-colour BMP), its icon (ICO) and the link cursor (CUR).

The generated files are committed beside this script, so the build never runs it; run it again
after changing a picture:  python3 resources/artwork/draw_faces.py
Faces are 23 x 21 pixels: a 15 x 13 dialog-unit button at the dialog font's base units (6 x 13,
MS Sans Serif 8 pt). The button's edges cover about two pixels all round, so every picture is drawn
in the 17 x 15 area inside them.
"""
import math
import os
import struct

# The standard 16-colour palette, with the letter that names each colour in the pictures below.
PALETTE = [
    ("k", (0x00, 0x00, 0x00)),  # black
    ("r", (0x80, 0x00, 0x00)),  # dark red
    ("g", (0x00, 0x80, 0x00)),  # dark green
    ("o", (0x80, 0x80, 0x00)),  # olive
    ("n", (0x00, 0x00, 0x80)),  # navy
    ("p", (0x80, 0x00, 0x80)),  # purple
    ("t", (0x00, 0x80, 0x80)),  # teal
    ("s", (0xC0, 0xC0, 0xC0)),  # silver, the button face
    ("d", (0x80, 0x80, 0x80)),  # grey
    ("R", (0xFF, 0x00, 0x00)),  # red
    ("G", (0x00, 0xFF, 0x00)),  # green
    ("Y", (0xFF, 0xFF, 0x00)),  # yellow
    ("B", (0x00, 0x00, 0xFF)),  # blue
    ("M", (0xFF, 0x00, 0xFF)),  # magenta
    ("C", (0x00, 0xFF, 0xFF)),  # cyan
    ("w", (0xFF, 0xFF, 0xFF)),  # white
]
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}
FACE_W, FACE_H = 23, 21
AREA_X, AREA_Y = 3, 3  # top left of the 17 x 15 drawing area
TRANSPARENT = -1


class Canvas:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = INDEX[colour] if isinstance(colour, str) else colour

    def sprite(self, x, y, rows):
        """Draws rows of colour letters; '.' leaves the pixel as it is."""
        for dy, row in enumerate(rows):
            for dx, letter in enumerate(row):
                if letter != ".":
                    self.put(x + dx, y + dy, letter)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0))
        for i in range(steps + 1):
            t = i / steps if steps else 0
            self.put(round(x0 + (x1 - x0) * t), round(y0 + (y1 - y0) * t), colour)

    def fill_rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)


def face(rows):
    """A button face: the picture (17 x 15 letters) on the button colour."""
    assert len(rows) == 15 and all(len(r) == 17 for r in rows), rows
    c = Canvas(FACE_W, FACE_H, INDEX["s"])
    c.sprite(AREA_X, AREA_Y, rows)
    return c


def lines_face(layout):
    """Justification faces: six text lines of alternating length, placed by `layout`."""
    c = Canvas(FACE_W, FACE_H, INDEX["s"])
    for i in range(6):
        y = AREA_Y + 2 + i * 2
        length = 15 if i % 2 == 0 else 9
        x0 = layout(length)
        c.fill_rect(AREA_X + x0, y, AREA_X + x0 + length - 1, y, "k")
    return c


# ---- The faces ----

CUT = face([
    "....k.......k....",
    "....kk.....kk....",
    ".....k.....k.....",
    ".....kk...kk.....",
    "......k...k......",
    "......kk.kk......",
    ".......k.k.......",
    ".......kdk.......",
    "........k........",
    ".......r.r.......",
    "...rrrr...rrrr...",
    "..r...r...r...r..",
    "..r...r...r...r..",
    "..r...r...r...r..",
    "...rrr.....rrr...",
])

COPY = face([
    ".kkkkkkkkk.......",
    ".kwwwwwwwk.......",
    ".kwnnnnnwk.......",
    ".kwwwwwwwk.......",
    ".kwnnnkkkkkkkkkk.",
    ".kwwwwkwwwwwwwwk.",
    ".kwnnnkwnnnnnnwk.",
    ".kwwwwkwwwwwwwwk.",
    ".kwnnnkwnnnnnnwk.",
    ".kwwwwkwwwwwwwwk.",
    ".kkkkkkwnnnnnnwk.",
    "......kwwwwwwwwk.",
    "......kwnnnnnnwk.",
    "......kwwwwwwwwk.",
    "......kkkkkkkkkk.",
])

PASTE = face([
    ".....kkkkk.......",
    ".kkkkkdwdkkkkk...",
    ".kooookkkkkoook..",
    ".koooooooooooook.",
    ".koooooooooooook.",
    ".kooooookkkkkkkkk",
    ".kooooookwwwwwwwk",
    ".kooooookwnnnnnwk",
    ".kooooookwwwwwwwk",
    ".kooooookwnnnnnwk",
    ".kooooookwwwwwwwk",
    ".kooooookwnnnnnwk",
    ".kooooookwwwwwwwk",
    ".kooooookwnnnnwwk",
    ".kkkkkkkkkkkkkkkk",
])

JUSTIFY_LEFT = lines_face(lambda length: 1)
JUSTIFY_CENTRE = lines_face(lambda length: 1 + (15 - length) // 2)
JUSTIFY_RIGHT = lines_face(lambda length: 16 - length)


def about_face():
    c = Canvas(FACE_W, FACE_H, INDEX["s"])
    cx, cy = AREA_X + 8, AREA_Y + 7
    for y in range(AREA_Y, AREA_Y + 15):
        for x in range(AREA_X, AREA_X + 17):
            d = math.hypot(x - cx, y - cy)
            if d <= 7.4:
                c.put(x, y, "n" if d > 6.4 else "B")
    c.sprite(cx - 2, cy - 5, [
        ".ww..",
        ".ww..",
        ".....",
        "www..",
        ".ww..",
        ".ww..",
        ".ww..",
        ".ww..",
        "wwww.",
    ])
    return c


EXIT = face([
    ".kkkkkkkkk.......",
    ".kokkkkkkk.......",
    ".kookkkkkk.......",
    ".koookkkkk.......",
    ".kooookkkk.......",
    ".kooookkkk...R...",
    ".kooookkkk...RR..",
    ".kooookRRRRRRRRR.",
    ".kokookRRRRRRRRRR",
    ".kooookRRRRRRRRR.",
    ".kooookkkk...RR..",
    ".kooookkkk...R...",
    ".kooookkkk.......",
    ".kooookkkk.......",
    ".kkkkkkkkk.......",
])

EDIT_TEXT = face([
    "nnnnnnnnnnn......",
    "nnnnnnnnnnn......",
    "n...nnn...n......",
    "....nnn..........",
    "....nnn..........",
    "....nnn..........",
    "....nnn..........",
    "....nnn..........",
    "....nnn..........",
    "....nnn...kkkkkkk",
    "....nnn...k.....k",
    "...nnnnn..k.....k",
    "..........k..R..k",
    "..........k.....k",
    "..........kkkkkkk",
])


def undo_face():
    """An arrow turning back: an arc over the top whose left end points down."""
    c = Canvas(FACE_W, FACE_H, INDEX["s"])
    cx, cy = AREA_X + 9.5, AREA_Y + 9.0
    for y in range(AREA_Y, AREA_Y + 10):
        for x in range(AREA_X + 2, AREA_X + 17):
            if 4.5 <= math.hypot(x - cx, y - cy) <= 6.6:
                c.put(x, y, "n")
    c.sprite(AREA_X, AREA_Y + 9, [
        "nnnnnnnnn",
        ".nnnnnnn.",
        "..nnnnn..",
        "...nnn...",
        "....n....",
    ])
    return c


PICK_POINT = face([
    "........k........",
    "........k........",
    "........k........",
    "........k........",
    "........k........",
    "......kkkkk......",
    "......k...k......",
    "kkkkkkk.R.kkkkkkk",
    "......k...k......",
    "......kkkkk......",
    "........k........",
    "........k........",
    "........k........",
    "........k........",
    "........k........",
])

BOLD = face([
    ".................",
    ".kk.....kk.....kk",
    "..kk....kk....kk.",
    "...kk...kk...kk..",
    "....kk..kk..kk...",
    ".....kk.kk.kk....",
    "......kkkkkk.....",
    "......kkkkkk.....",
    ".....kk.kk.kk....",
    "....kk..kk..kk...",
    "...kk...kk...kk..",
    "..kk....kk....kk.",
    ".kk.....kk.....kk",
    ".................",
    ".................",
])

ITALIC = face([
    ".................",
    "........kk....kk.",
    "........kk...kk..",
    ".......kk...kk...",
    ".......kk..kk....",
    "......kk..kk.....",
    "......kkkkk......",
    ".....kkkkk.......",
    ".....kk..kk......",
    "....kk...kk......",
    "....kk....kk.....",
    "...kk.....kk.....",
    "...kk......kk....",
    ".................",
    ".................",
])

UNDERLINE = face([
    "....kk.....kk....",
    "....kk.....kk....",
    "....kk.....kk....",
    "....kk.....kk....",
    "....kk.....kk....",
    ".....kk...kkk....",
    "......kkkkkkk....",
    "...........kk....",
    "...........kk....",
    "...........kk....",
    "...........kk....",
    ".................",
    "..kkkkkkkkkkkkk..",
    "..kkkkkkkkkkkkk..",
    ".................",
])

TEXT_COLOUR = face([
    "......kkkk.......",
    "......kkkk.......",
    ".....kk..kk......",
    ".....kk..kk......",
    "....kk....kk.....",
    "....kk....kk.....",
    "...kkkkkkkkkk....",
    "...kk......kk....",
    "..kk........kk...",
    "..kk........kk...",
    ".................",
    "RRRRRRRRRRRRRRRRR",
    "RRRRRRRRRRRRRRRRR",
    "RRRRRRRRRRRRRRRRR",
    ".................",
])

SPACING_UP = face([
    "..k..............",
    ".kkk...kkkkkkkkkk",
    "kkkkk............",
    "..k..............",
    "..k....kkkkkkkkkk",
    "..k..............",
    "..k..............",
    "..k....kkkkkkkkkk",
    "..k..............",
    "..k..............",
    "..k....kkkkkkkkkk",
    "..k..............",
    "kkkkk............",
    ".kkk...kkkkkkkkkk",
    "..k..............",
])

SPACING_DOWN = face([
    "..k..............",
    "..k..............",
    "..k..............",
    "kkkkk............",
    ".kkk.............",
    "..k....kkkkkkkkkk",
    ".................",
    ".......kkkkkkkkkk",
    ".................",
    "..k....kkkkkkkkkk",
    ".kkk.............",
    "kkkkk............",
    "..k..............",
    "..k..............",
    "..k..............",
])

SYMBOL = face([
    ".................",
    "......nnnnn......",
    "....nnn...nnn....",
    "...nn.......nn...",
    "..nn.........nn..",
    "..nn.........nn..",
    "..nn.........nn..",
    "..nn.........nn..",
    "...nn.......nn...",
    "....nn.....nn....",
    ".....nn...nn.....",
    "..nnnnn...nnnnn..",
    "..nnnnn...nnnnn..",
    ".................",
    ".................",
])

OFFSET_X = face([
    "..kk.....kk......",
    "...kk...kk.......",
    "....kk.kk........",
    ".....kkk.........",
    "....kk.kk........",
    "...kk...kk.......",
    "..kk.....kk......",
    "...........n.....",
    "...........nn....",
    "nnnnnnnnnnnnnn...",
    "nnnnnnnnnnnnnnn..",
    "nnnnnnnnnnnnnn...",
    "...........nn....",
    "...........n.....",
    ".................",
])

OFFSET_Y = face([
    "....n............",
    "...nnn...........",
    "..nnnnn..........",
    ".nnnnnnn.........",
    "...nnn...kk...kk.",
    "...nnn....kk.kk..",
    "...nnn.....kkk...",
    "...nnn......k....",
    "...nnn......k....",
    "...nnn......k....",
    "...nnn......k....",
    "...nnn...........",
    "...nnn...........",
    "...nnn...........",
    "...nnn...........",
])

OFFSET_DIRECTION = face([
    ".................",
    "...........r.....",
    "...........rr....",
    "rrrrrrrrrrrrrr...",
    "rrrrrrrrrrrrrrr..",
    "rrrrrrrrrrrrrr...",
    "...........rr....",
    "...........r.....",
    ".....n...........",
    "....nn...........",
    "...nnnnnnnnnnnnnn",
    "..nnnnnnnnnnnnnnn",
    "...nnnnnnnnnnnnnn",
    "....nn...........",
    ".....n...........",
])

DYNAMIC_MODE = face([
    ".......kkkkkk....",
    "......kYYYYYk....",
    "......kYYYYk.....",
    ".....kYYYYk......",
    ".....kYYYk.......",
    "....kYYYYkkkkk...",
    "....kYYYYYYYYk...",
    "...kkkkkYYYYk....",
    ".......kYYYk.....",
    "......kYYYk......",
    "......kYYk.......",
    ".....kYYk........",
    ".....kYk.........",
    "....kYk..........",
    "....kk...........",
])


def icon_image():
    """32 x 32: a quill writing on a sheet of text."""
    c = Canvas(32, 32, TRANSPARENT)
    c.fill_rect(3, 3, 22, 29, "k")
    c.fill_rect(4, 4, 21, 28, "w")
    for y, (x0, x1) in zip(range(7, 27, 3), [(6, 19), (6, 17), (6, 19), (6, 15), (6, 18), (6, 12), (6, 9)]):
        c.fill_rect(x0, y, x1, y, "n")
    # The feather: a vane either side of the shaft, widest two thirds of the way up.
    x0, y0, x1, y1 = 10.0, 27.0, 30.0, 1.0
    length = math.hypot(x1 - x0, y1 - y0)
    ux, uy = (x1 - x0) / length, (y1 - y0) / length
    for y in range(32):
        for x in range(32):
            along = (x - x0) * ux + (y - y0) * uy
            across = -(x - x0) * uy + (y - y0) * ux
            t = along / length
            if 0.25 <= t <= 1.0:
                half = 5.0 * math.sin(math.pi * (t - 0.25) / 0.75) ** 0.7
                if abs(across) <= half:
                    edge = abs(across) > half - 1.0
                    c.put(x, y, "n" if edge else ("t" if across > 0 else "C"))
    c.line(10, 27, 28, 3, "k")
    c.line(8, 30, 10, 27, "k")
    c.put(8, 30, "n")
    return c


HAND = [
    ".....kk..........",
    "....kwwk.........",
    "....kwwk.........",
    "....kwwk.........",
    "....kwwk.........",
    "....kwwkkk.......",
    "....kwwkwwkkk....",
    "....kwwkwwkwwkk..",
    ".kk.kwwkwwkwwkwk.",
    "kwwkkwwkwwkwwkwwk",
    "kwwwkwwwwwwwwwwwk",
    ".kwwkwwwwwwwwwwwk",
    "..kwwwwwwwwwwwwwk",
    "..kwwwwwwwwwwwwwk",
    "...kwwwwwwwwwwwk.",
    "...kwwwwwwwwwwwk.",
    "....kwwwwwwwwwk..",
    "....kwwwwwwwwwk..",
    ".....kwwwwwwwk...",
    ".....kwwwwwwwk...",
    ".....kkkkkkkkk...",
]
HAND_AT = (8, 2)  # where the picture sits in the 32 x 32 cursor
HOTSPOT = (HAND_AT[0] + 5, HAND_AT[1])  # the tip of the pointing finger


def hand_image():
    c = Canvas(32, 32, TRANSPARENT)
    c.sprite(HAND_AT[0], HAND_AT[1], HAND)
    return c


# ---- File formats ----

def bitmap_info(width, height, bits, colours):
    size = ((width * bits + 31) // 32) * 4 * height
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, size, 0, 0, colours, 0)


def palette_bytes(entries):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in entries)


def packed_rows(rows, bits):
    """Bottom-up rows of `bits`-wide values, each padded to four bytes."""
    out = bytearray()
    for row in reversed(rows):
        value, count, line = 0, 0, bytearray()
        for v in row:
            value = (value << bits) | v
            count += bits
            if count == 8:
                line.append(value)
                value, count = 0, 0
        if count:
            line.append(value << (8 - count))
        while len(line) % 4:
            line.append(0)
        out += line
    return bytes(out)


def bmp_bytes(canvas):
    info = bitmap_info(canvas.width, canvas.height, 4, 16)
    pal = palette_bytes([rgb for _, rgb in PALETTE])
    bits = packed_rows(canvas.pixels, 4)
    offset = 14 + len(info) + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return header + info + pal + bits


def icon_file_bytes(canvas, kind, bits, palette, colour_of, hotspot=(0, 0)):
    """An .ico (kind 1) or .cur (kind 2) file holding one image with its AND mask."""
    w, h = canvas.width, canvas.height
    xor = packed_rows([[colour_of(v) for v in row] for row in canvas.pixels], bits)
    mask = packed_rows([[1 if v == TRANSPARENT else 0 for v in row] for row in canvas.pixels], 1)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bits, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + palette_bytes(palette) + xor + mask
    if kind == 1:
        planes_or_x, bits_or_y = 1, bits
    else:
        planes_or_x, bits_or_y = hotspot
    entry = struct.pack("<BBBBHHII", w, h, len(palette) if len(palette) < 256 else 0, 0, planes_or_x,
                        bits_or_y, len(image), 6 + 16)
    return struct.pack("<HHH", 0, kind, 1) + entry + image


def ico_bytes(canvas):
    return icon_file_bytes(canvas, 1, 4, [rgb for _, rgb in PALETTE], lambda v: 0 if v == TRANSPARENT else v)


def cur_bytes(canvas, hotspot):
    white = INDEX["w"]
    return icon_file_bytes(canvas, 2, 1, [(0, 0, 0), (255, 255, 255)], lambda v: 1 if v == white else 0, hotspot)


FACES = {
    "cut": CUT,
    "copy": COPY,
    "paste": PASTE,
    "justify_left": JUSTIFY_LEFT,
    "justify_centre": JUSTIFY_CENTRE,
    "justify_right": JUSTIFY_RIGHT,
    "about": about_face(),
    "exit": EXIT,
    "edit_text": EDIT_TEXT,
    "undo": undo_face(),
    "pick_point": PICK_POINT,
    "bold": BOLD,
    "italic": ITALIC,
    "underline": UNDERLINE,
    "text_colour": TEXT_COLOUR,
    "spacing_up": SPACING_UP,
    "spacing_down": SPACING_DOWN,
    "symbol": SYMBOL,
    "offset_direction": OFFSET_DIRECTION,
    "offset_x": OFFSET_X,
    "offset_y": OFFSET_Y,
    "dynamic_mode": DYNAMIC_MODE,
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outputs = {name + ".bmp": bmp_bytes(canvas) for name, canvas in FACES.items()}
    outputs["quillon.ico"] = ico_bytes(icon_image())
    outputs["link_hand.cur"] = cur_bytes(hand_image(), HOTSPOT)
    for name, data in outputs.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
