"""MText contents drawn from a grammar of every inline code the host reads, deterministic from a seed.

A case is a base height and a list of pieces, each a (kind, text) pair whose texts joined give the
contents. The judge shrinks a failing case by dropping and simplifying pieces, so a piece is the
smallest unit that still reads as it was meant: a whole code, a word, one brace of a group.
Texts are UTF-8; characters outside code page 1251 become \\U+XXXX at the edge, as a drawing
stores them.
"""
import random

# Base heights of the entity: the small and large ends, the control's old limit (273 is the last
# height it showed at 6 points per unit) and the heights of drawings in millimetres.
BASE_HEIGHTS = ["0.0001", "0.001", "0.05", "0.35", "1", "2.5", "3.5", "10", "100", "273", "274",
                "350", "1000", "10000", "250000", "1000000"]

LATIN = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
CYRILLIC = "абвгдежзийклмнопрстуфхцчшщъыьэюяёАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯЁ"
GREEK = "αβγδεζηθικλμνξοπρστυφχψωΑΒΓΔΘΛΞΠΣΦΨΩ"
CJK = "中文字体黑宋图纸测试标高钢筋混凝土墙"
DIGITS = "0123456789"
SCRIPTS = {"latin": LATIN, "cyrillic": CYRILLIC, "greek": GREEK, "cjk": CJK, "digits": DIGITS}
# Characters that other codes give a meaning to, written as plain text.
PUNCTUATION = [" ", " ", ",", ".", "-", "(", ")", ";", "/", "#", "^", "|", "=", "+", "x", "%", "'",
               "^I", "^J", "^ ", "^^"]

# Faces as drawings name them, one Chinese face spelled in \U+ codes as an ANSI drawing stores it.
FACES = ["Arial", "Times New Roman", "Courier New", "Arial Narrow", "ISOCPEUR", "Calibri", "SimSun",
         "\\U+9ED1\\U+4F53", "宋体", "Symbol", "Tahoma"]
FONT_FIELDS = {"b": ["0", "1"], "i": ["0", "1"], "c": ["0", "204", "134", "161", "238"],
               "p": ["0", "2", "7", "18", "34", "49"]}
SHAPE_FONTS = ["txt.shx", "simplex.shx,gbcbig.shx", "cdm|c0", "romans", "isocp.shx"]
PARAGRAPHS = ["\\pi1;", "\\pxi-3,l3,t3;", "\\pxqc;", "\\pql;", "\\pxqr,i0;", "\\pt4,8;",
              "\\pi0,l0,t0;", "\\pi-2,l2;"]
SPECIALS = ["%%c", "%%d", "%%p", "%%C", "%%176", "%%216", "%%%"]
# Characters written as \U+ codes: in code page 1251 and outside it.
UNICODE_CHARS = "ДЖяΩαβ⌀°±Ø中黑€№\u2205\u00b2\u2264"
CONTROL_CHARS = ["\t", "\t", "\x07", "\x1f", "\x01", "\n"]


def format_number(rng, value):
    """A number as drawings spell it, never with an exponent: integer, four or six decimals, or
    six significant digits, each with or without trailing zeros."""
    style = rng.randrange(4)
    if style == 0 and value >= 1:
        return str(int(round(value)))
    if style == 1 and value >= 0.001:
        text = "%.4f" % value
    elif style == 2 or value < 0.001:
        text = "%.6f" % value
    else:
        text = "%.6g" % value
        text = text if "e" not in text else "%.0f" % value
    return text if rng.random() < 0.2 else text.rstrip("0").rstrip(".")


class Grammar:
    """One seeded stream of cases."""

    def __init__(self, seed):
        self.rng = random.Random(seed)

    def case(self):
        rng = self.rng
        height = rng.choice(BASE_HEIGHTS)
        pieces = self.items(depth=0, count=rng.randint(1, 9))
        return height, pieces

    def items(self, depth, count):
        rng = self.rng
        pieces = []
        for _ in range(count):
            roll = rng.random()
            if roll < 0.34:
                pieces.append(self.text())
            elif roll < 0.84:
                pieces.append(self.code())
            elif roll < 0.96 and depth < 3:
                inner = self.items(depth + 1, rng.randint(0, 5))
                pieces.extend([("open", "{")] + inner + [("close", "}")])
            else:
                pieces.append(rng.choice([("open", "{"), ("close", "}")]))  # an unbalanced brace
        return pieces

    def text(self):
        rng = self.rng
        roll = rng.random()
        if roll < 0.12:
            return ("punctuation", rng.choice(PUNCTUATION))
        if roll < 0.18:
            return ("special", rng.choice(SPECIALS))
        if roll < 0.23:
            return ("control", rng.choice(CONTROL_CHARS))
        script = rng.choice(["latin", "latin", "cyrillic", "cyrillic", "greek", "cjk", "digits"])
        alphabet = SCRIPTS[script]
        return (script, "".join(rng.choice(alphabet) for _ in range(rng.randint(1, 6))))

    def height(self):
        rng = self.rng
        if rng.random() < 0.4:
            factor = rng.choice([0.1, 0.25, 0.5, 0.7, 0.75, 1, 1.5, 2, 3, 10, rng.uniform(0.05, 20)])
            return ("relative height", "\\H%sx;" % format_number(rng, factor))
        value = 10 ** rng.uniform(-4, 6)
        return ("height", "\\H%s;" % format_number(rng, value))

    def font(self):
        rng = self.rng
        face = rng.choice(FACES)
        names = list(FONT_FIELDS)
        rng.shuffle(names)
        fields = "".join("|%s%s" % (n, rng.choice(FONT_FIELDS[n])) for n in names[:rng.randint(0, 4)])
        return ("font", "\\f%s%s;" % (face, fields))

    def stack(self):
        rng = self.rng

        def part():
            alphabet = rng.choice([DIGITS, DIGITS, LATIN, CYRILLIC, GREEK])
            chars = [rng.choice(alphabet) for _ in range(rng.randint(0, 3))]
            if rng.random() < 0.3:  # an escaped delimiter or semicolon, anywhere in the part
                chars.insert(rng.randint(0, len(chars)), rng.choice(["\\/", "\\#", "\\^", "\\;"]))
            return "".join(chars)

        delimiter = rng.choice(["/", "#", "^", "^ "])
        return ("stack", "\\S%s%s%s;" % (part(), delimiter, part()))

    def code(self):
        rng = self.rng
        roll = rng.randrange(20)
        if roll < 3:
            return self.height()
        if roll < 5:
            return self.font()
        if roll < 7:
            return self.stack()
        if roll == 7:
            return ("shape font", "\\F%s;" % rng.choice(SHAPE_FONTS))
        if roll == 8:
            return ("colour", "\\C%d;" % rng.choice([0, 1, 2, 3, 7, 18, 250, 256, rng.randrange(257)]))
        if roll == 9:
            return ("true colour", "\\c%d;" % rng.randrange(1 << 24))
        if roll == 10:
            return ("stroke", rng.choice(["\\L", "\\l", "\\O", "\\o", "\\K", "\\k"]))
        if roll == 11:
            return ("break", rng.choice(["\\P", "\\P", "\\N", "\\~", "\\X"]))
        if roll == 12:
            return ("escape", rng.choice(["\\\\", "\\{", "\\}"]))
        if roll == 13:
            return ("alignment", "\\A%d;" % rng.randrange(3))
        if roll == 14:
            return ("paragraph", rng.choice(PARAGRAPHS))
        if roll == 15:
            code = rng.choice(["Q", "T", "W"])
            value = {"Q": rng.uniform(-45, 45), "T": rng.uniform(0.75, 4), "W": rng.uniform(0.3, 3)}[code]
            relative = "x" if code != "Q" and rng.random() < 0.25 else ""
            return ("width" if code == "W" else "tracking" if code == "T" else "oblique",
                    "\\%s%s%s;" % (code, format_number(rng, abs(value)) if code != "Q" else "%g" % round(value, 2),
                                   relative))
        if roll == 16:
            return ("unicode", "\\U+%04X" % ord(rng.choice(UNICODE_CHARS)))
        if roll == 17:
            return ("special", rng.choice(SPECIALS))
        if roll == 18:
            return ("control", rng.choice(CONTROL_CHARS))
        return self.height()


def cases(seed, count):
    """The first count cases of the seed's stream: (number, base height, pieces)."""
    grammar = Grammar(seed)
    for number in range(count):
        height, pieces = grammar.case()
        yield number, height, pieces


def contents(pieces):
    return "".join(text for _, text in pieces)
