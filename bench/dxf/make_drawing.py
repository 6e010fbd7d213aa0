#!/usr/bin/python3
"""A large DXF drawing for the load and save benchmarks, the same bytes for the same seed.

Model space holds multiline texts (Russian and English words with font, height, colour and
paragraph codes, long ones split over groups 3), single-line texts, lines, circles, dimensions
with the blocks that draw them, and insertions of a few block definitions.

    make_drawing.py OUTPUT [--megabytes 50] [--seed 1] [--version AC1021]

AC1021 and later are written in UTF-8; earlier versions in code page 1251 ($DWGCODEPAGE ANSI_1251).
"""
import argparse
import random

WORDS = [
    "чертёж", "лист", "масштаб", "примечание", "размер", "отметка", "ось", "стена", "плита",
    "колонна", "фундамент", "разрез", "узел", "арматура", "бетон", "сталь", "Ø12", "±0.000",
    "drawing", "sheet", "scale", "note", "level", "A-3", "1:100", "B25", "C235", "№5",
]
CODES = ["\\fArial|b0|i0|c204|p34;", "\\fTimes New Roman|b1|i0|c204|p18;", "\\H2.5;", "\\H0.8x;",
         "\\C1;", "\\C5;", "\\C256;", "\\L", "\\l", "\\O", "\\o"]
LAYERS = ["0", "Текст", "Размеры", "Оси", "Стены"]
STYLES = ["Standard", "ГОСТ", "Arial"]


class Writer:
    def __init__(self, out, utf8):
        self.out = out
        self.encoding = "utf-8" if utf8 else "cp1251"
        self.size = 0
        self.handle = 0x100

    def group(self, code, value):
        text = "%3d\r\n%s\r\n" % (code, value)
        if self.encoding == "cp1251":
            # A character that code page 1251 lacks is written as the escape readers expect.
            text = "".join(c if c.encode("cp1251", "ignore") else "\\U+%04X" % ord(c) for c in text)
        data = text.encode(self.encoding)
        self.out.write(data)
        self.size += len(data)

    def groups(self, *pairs):
        for code, value in pairs:
            self.group(code, value)

    def new_handle(self):
        self.handle += 1
        return "%X" % self.handle


def real(rnd, low, high):
    """A coordinate as drawing programs write them: a few decimals, or every digit a double holds."""
    v = rnd.uniform(low, high)
    return repr(round(v, rnd.choice([0, 1, 3, 4]))) if rnd.random() < 0.6 else repr(v)


def mtext_contents(rnd, words):
    parts = []
    for i in range(words):
        if rnd.random() < 0.15:
            code = rnd.choice(CODES)
            parts.append("{" + code + rnd.choice(WORDS) + "}" if rnd.random() < 0.5 else code)
        parts.append(rnd.choice(WORDS))
        parts.append("\\P" if i % 9 == 8 else " ")
    return "".join(parts).rstrip()


def entity_head(w, kind, owner, layer, subclass):
    handle = w.new_handle()
    w.groups((0, kind), (5, handle), (330, owner), (100, "AcDbEntity"), (8, layer), (100, subclass))
    return handle


def write_mtext(w, rnd, owner):
    entity_head(w, "MTEXT", owner, rnd.choice(LAYERS), "AcDbMText")
    w.groups((10, real(rnd, 0, 10000)), (20, real(rnd, 0, 10000)), (30, "0.0"),
             (40, rnd.choice(["2.5", "3.5", "5.0", "1.8"])), (41, real(rnd, 0, 200)), (71, rnd.randint(1, 9)), (72, 5))
    text = mtext_contents(rnd, rnd.choice([3, 8, 20, 60, 150]))
    data = text.encode(w.encoding)
    # Groups 3 of 250 bytes and a last group 1, never cutting a character in two.
    while len(data) > 250:
        cut = 250
        while cut > 0 and w.encoding == "utf-8" and (data[cut] & 0xC0) == 0x80:
            cut -= 1
        w.group(3, data[:cut].decode(w.encoding))
        data = data[cut:]
    w.group(1, data.decode(w.encoding))
    w.groups((7, rnd.choice(STYLES)), (73, 1), (44, "1.0"))
    if rnd.random() < 0.3:
        w.groups((50, real(rnd, 0, 6.28)))


def write_text(w, rnd, owner):
    entity_head(w, "TEXT", owner, rnd.choice(LAYERS), "AcDbText")
    w.groups((10, real(rnd, 0, 10000)), (20, real(rnd, 0, 10000)), (30, "0.0"), (40, "2.5"),
             (1, " ".join(rnd.choice(WORDS) for _ in range(rnd.randint(1, 5)))), (50, real(rnd, 0, 90)),
             (7, rnd.choice(STYLES)), (100, "AcDbText"))


def write_line(w, rnd, owner, layer=None):
    entity_head(w, "LINE", owner, layer or rnd.choice(LAYERS), "AcDbLine")
    w.groups((10, real(rnd, 0, 10000)), (20, real(rnd, 0, 10000)), (30, "0.0"),
             (11, real(rnd, 0, 10000)), (21, real(rnd, 0, 10000)), (31, "0.0"))


def write_circle(w, rnd, owner):
    entity_head(w, "CIRCLE", owner, rnd.choice(LAYERS), "AcDbCircle")
    w.groups((10, real(rnd, 0, 10000)), (20, real(rnd, 0, 10000)), (30, "0.0"), (40, real(rnd, 0.5, 50)))


def write_insert(w, rnd, owner, blocks):
    entity_head(w, "INSERT", owner, rnd.choice(LAYERS), "AcDbBlockReference")
    w.groups((2, rnd.choice(blocks)), (10, real(rnd, 0, 10000)), (20, real(rnd, 0, 10000)), (30, "0.0"),
             (50, real(rnd, 0, 360)))


class Dimension:
    """An aligned dimension: its block name and points."""

    def __init__(self, rnd, number):
        self.block = "*D%d" % number
        x, y = rnd.uniform(0, 10000), rnd.uniform(0, 10000)
        length = rnd.uniform(100, 6000)
        self.p1, self.p2 = (x, y), (x + length, y)
        self.line = (x + length / 2, y + 300.0)
        self.measurement = length
        self.text = rnd.choice(["", "", "<> мм", "Ø<>", "%%c<>"])


def write_dimension(w, rnd, owner, dim):
    entity_head(w, "DIMENSION", owner, "Размеры", "AcDbDimension")
    w.groups((2, dim.block), (10, repr(dim.line[0])), (20, repr(dim.line[1])), (30, "0.0"),
             (11, repr(dim.line[0])), (21, repr(dim.line[1] + 50)), (31, "0.0"), (70, 33), (1, dim.text),
             (71, 5), (42, repr(dim.measurement)), (3, "Standard"), (100, "AcDbAlignedDimension"),
             (13, repr(dim.p1[0])), (23, repr(dim.p1[1])), (33, "0.0"),
             (14, repr(dim.p2[0])), (24, repr(dim.p2[1])), (34, "0.0"))


def write_block(w, name, record, draw):
    w.groups((0, "BLOCK"), (5, w.new_handle()), (330, record), (100, "AcDbEntity"), (8, "0"),
             (100, "AcDbBlockBegin"), (2, name), (70, 1 if name.startswith("*D") else 0),
             (10, "0.0"), (20, "0.0"), (30, "0.0"), (3, name), (1, ""))
    draw(record)
    w.groups((0, "ENDBLK"), (5, w.new_handle()), (330, record), (100, "AcDbEntity"), (8, "0"),
             (100, "AcDbBlockEnd"))


def table(w, name, records):
    handle = w.new_handle()
    w.groups((0, "TABLE"), (2, name), (5, handle), (330, "0"), (100, "AcDbSymbolTable"), (70, len(records)))
    for write in records:
        write(handle)
    w.group(0, "ENDTAB")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--megabytes", type=float, default=50)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--version", default="AC1021")
    args = parser.parse_args()
    rnd = random.Random(args.seed)
    target = int(args.megabytes * 1024 * 1024)
    utf8 = args.version >= "AC1021"

    # What model space holds is chosen first, so that the dimensions' blocks can be written before
    # it. Each kind counts with its average size in the file; the drawing ends near `target`.
    kinds = [(0.30, "mtext", 680), (0.45, "text", 330), (0.80, "line", 250), (0.87, "circle", 210),
             (0.93, "insert", 250), (1.00, "dimension", 1640)]
    user_blocks = ["Рамка", "Штамп", "Стрелка", "ОсьМарка"]
    body = []  # (kind, the dimension or None)
    size = 0
    dims = 0
    while size < target:
        roll = rnd.random()
        _, kind, average = next(k for k in kinds if roll < k[0])
        if kind == "dimension":
            dims += 1
        body.append((kind, Dimension(rnd, dims) if kind == "dimension" else None))
        size += average

    with open(args.output, "wb") as out:
        w = Writer(out, utf8)
        w.groups((999, "generated by make_drawing.py, seed %d" % args.seed), (0, "SECTION"), (2, "HEADER"),
                 (9, "$ACADVER"), (1, args.version), (9, "$DWGCODEPAGE"), (3, "ANSI_1251"),
                 (9, "$INSUNITS"), (70, 4), (9, "$TEXTSTYLE"), (7, "Standard"), (9, "$TEXTSIZE"), (40, "2.5"),
                 (9, "$HANDSEED"), (5, "FFFFFFF"), (0, "ENDSEC"))
        w.groups((0, "SECTION"), (2, "CLASSES"), (0, "ENDSEC"), (0, "SECTION"), (2, "TABLES"))

        def record(kind, subclass, name, *extra):
            def write(owner):
                w.groups((0, kind), (5, w.new_handle()), (330, owner), (100, "AcDbSymbolTableRecord"),
                         (100, subclass), (2, name), (70, 0), *extra)
            return write

        table(w, "VPORT", [record("VPORT", "AcDbViewportTableRecord", "*Active", (10, "0.0"), (20, "0.0"),
                                  (11, "1.0"), (21, "1.0"), (12, "5000.0"), (22, "5000.0"), (40, "10000.0"),
                                  (41, "1.5"))])
        table(w, "LTYPE", [record("LTYPE", "AcDbLinetypeTableRecord", n, (3, ""), (72, 65), (73, 0), (40, "0.0"))
                           for n in ("ByBlock", "ByLayer", "Continuous")])
        table(w, "LAYER", [record("LAYER", "AcDbLayerTableRecord", n, (62, i + 1), (6, "Continuous"))
                           for i, n in enumerate(LAYERS)])
        table(w, "STYLE", [record("STYLE", "AcDbTextStyleTableRecord", n, (40, "0.0"), (41, "1.0"), (50, "0.0"),
                                  (71, 0), (42, "2.5"), (3, "arial.ttf" if n != "ГОСТ" else "gost.shx"), (4, ""))
                           for n in STYLES])
        table(w, "VIEW", [])
        table(w, "UCS", [])
        table(w, "APPID", [record("APPID", "AcDbRegAppTableRecord", "ACAD")])
        table(w, "DIMSTYLE", [record("DIMSTYLE", "AcDbDimStyleTableRecord", "Standard", (40, "1.0"),
                                     (41, "2.5"), (140, "2.5"))])
        records = {name: None for name in ["*Model_Space", "*Paper_Space"] + user_blocks}
        for kind, dim in body:
            if kind == "dimension":
                records[dim.block] = None
        block_table = w.new_handle()
        w.groups((0, "TABLE"), (2, "BLOCK_RECORD"), (5, block_table), (330, "0"), (100, "AcDbSymbolTable"),
                 (70, len(records)))
        for name in records:
            records[name] = w.new_handle()
            w.groups((0, "BLOCK_RECORD"), (5, records[name]), (330, block_table), (100, "AcDbSymbolTableRecord"),
                     (100, "AcDbBlockTableRecord"), (2, name))
        w.groups((0, "ENDTAB"), (0, "ENDSEC"))

        w.groups((0, "SECTION"), (2, "BLOCKS"))
        write_block(w, "*Model_Space", records["*Model_Space"], lambda owner: None)
        write_block(w, "*Paper_Space", records["*Paper_Space"], lambda owner: None)
        for name in user_blocks:
            def draw(owner):
                for _ in range(6):
                    write_line(w, rnd, owner, "0")
                write_text(w, rnd, owner)
            write_block(w, name, records[name], draw)
        for kind, dim in body:
            if kind != "dimension":
                continue
            def draw(owner, dim=dim):
                for start, end in ((dim.p1, (dim.p1[0], dim.line[1])), (dim.p2, (dim.p2[0], dim.line[1])),
                                   ((dim.p1[0], dim.line[1]), (dim.p2[0], dim.line[1]))):
                    entity_head(w, "LINE", owner, "Размеры", "AcDbLine")
                    w.groups((10, repr(start[0])), (20, repr(start[1])), (30, "0.0"),
                             (11, repr(end[0])), (21, repr(end[1])), (31, "0.0"))
                entity_head(w, "MTEXT", owner, "Размеры", "AcDbMText")
                w.groups((10, repr(dim.line[0])), (20, repr(dim.line[1] + 50)), (30, "0.0"), (40, "2.5"),
                         (71, 8), (1, "%.0f" % dim.measurement), (7, "Standard"))
            write_block(w, dim.block, records[dim.block], draw)
        w.group(0, "ENDSEC")

        w.groups((0, "SECTION"), (2, "ENTITIES"))
        model = records["*Model_Space"]
        for kind, dim in body:
            if kind == "mtext":
                write_mtext(w, rnd, model)
            elif kind == "text":
                write_text(w, rnd, model)
            elif kind == "line":
                write_line(w, rnd, model)
            elif kind == "circle":
                write_circle(w, rnd, model)
            elif kind == "insert":
                write_insert(w, rnd, model, user_blocks)
            else:
                write_dimension(w, rnd, model, dim)
        w.groups((0, "ENDSEC"), (0, "SECTION"), (2, "OBJECTS"))
        root = w.new_handle()
        w.groups((0, "DICTIONARY"), (5, root), (330, "0"), (100, "AcDbDictionary"), (281, 1))
        w.groups((0, "ENDSEC"))
        # $HANDSEED holds the next free handle: written last, it is patched into its place.
        w.group(0, "EOF")
    with open(args.output, "r+b") as out:
        out.seek(out.read(4096).index(b"FFFFFFF"))
        out.write(("%07X" % (w.handle + 1)).encode())


if __name__ == "__main__":
    main()
