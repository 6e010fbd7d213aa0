#!/usr/bin/python3
"""Every corpus MText string through `qconvert mtext-roundtrip`, compared with the original by
ezdxf's MText parser, a reader that is not ours.

usage: mtext_judge.py QCONVERT [--height H]

The corpus is UTF-8; the strings go in as code page 1251 bytes, a character the code page lacks
as the MText escape \\U+XXXX (as the DXF loader stores it). ezdxf leaves \\U+XXXX undecoded, so
unescaped ones are decoded on both sides before parsing. Every property the parser reports is
compared. Exits 0 when every string comes back equal or is listed below with its cause, and at
least LEAST_IDENTICAL per cent come back identical; 1 otherwise, 77 (skipped) when ../shared is
absent.
"""
import os
import re
import subprocess
import sys

from ezdxf.tools.text import MTextContext, MTextParser, TokenType

SKIP = 77
# The share of corpus strings that must come back identical in every property compared.
LEAST_IDENTICAL = 98.0

# Strings that do not come back equal yet, each with its cause. A string listed here that comes
# back equal fails the test too, so that the list shrinks with the causes.
KNOWN = {}


def known_cause(original):
    for name, (_, prefixes) in KNOWN.items():
        if any(original == p or (len(p) > 12 and original.startswith(p)) for p in prefixes):
            return name
    return None


def to_cp1251(text):
    out = bytearray()
    for ch in text:
        try:
            out += ch.encode("cp1251")
        except UnicodeEncodeError:
            out += ("\\U+%04X" % ord(ch)).encode("ascii")
    return bytes(out)


_UNICODE_CODE = re.compile(r"\\\\|\\U\+([0-9A-Fa-f]{4})")


def decode_unicode_codes(text):
    """Unescaped \\U+XXXX becomes its character; an escaped backslash stays as it is."""
    return _UNICODE_CODE.sub(lambda m: chr(int(m.group(1), 16)) if m.group(1) else m.group(0), text)


def tokens(mtext, height):
    """What the parser reports, token by token, with the formatting in force."""
    ctx = MTextContext()
    ctx.cap_height = height
    ctx.aci = 256
    out = []
    # The strings hold no caret escapes any more (a DXF matter): "^ " keeps a caret a caret.
    for token in MTextParser(decode_unicode_codes(mtext).replace("^", "^ "), ctx):
        out.append((token.type, token.data, token.ctx))
    return out


def text_of(token):
    kind, data, _ = token
    if kind == TokenType.WORD:
        return data
    if kind == TokenType.STACK:
        return "\\S%s%s%s;" % (data[0], data[2], data[1])
    return {TokenType.SPACE: " ", TokenType.NBSP: "\\~", TokenType.TABULATOR: "\\t",
            TokenType.NEW_PARAGRAPH: "\\P", TokenType.NEW_COLUMN: "\\N",
            TokenType.WRAP_AT_DIMLINE: "\\X"}.get(kind, "?")


def chars(toks):
    """The characters and stacks, one entry per character (a stack counts as one)."""
    out = []
    for token in toks:
        if token[0] == TokenType.WORD:
            out.extend((c, token[2]) for c in token[1])
        else:
            out.append((text_of(token), token[2]))
    return out


# The properties compared, each a function of the context in force at a character.
PROPERTIES = {
    "height": lambda ctx: round(ctx.cap_height, 3),
    "colour": lambda ctx: (ctx.aci, ctx.rgb),
    "font family": lambda ctx: ctx.font_face.family,
    "bold": lambda ctx: ctx.font_face.weight,
    "italic": lambda ctx: ctx.font_face.style,
    "underline": lambda ctx: ctx.underline,
    "overline": lambda ctx: ctx.overline,
    "strike-through": lambda ctx: ctx.strike_through,
    "alignment": lambda ctx: ctx.align,
    "paragraph properties": lambda ctx: ctx.paragraph,
    "width factor": lambda ctx: round(ctx.width_factor, 3),
    "tracking": lambda ctx: round(ctx.char_tracking_factor, 3),
    "oblique": lambda ctx: round(ctx.oblique, 3),
}


def compare(original, back, height):
    """The differences between two MText strings as lines of text; empty when they agree."""
    a = chars(tokens(original, height))
    b = chars(tokens(back, height))
    text_a = "".join(c for c, _ in a)
    text_b = "".join(c for c, _ in b)
    if text_a != text_b:
        return ["characters: %r -> %r" % (text_a, text_b)]
    diffs = []
    for name, value in PROPERTIES.items():
        for i, ((c, ctx_a), (_, ctx_b)) in enumerate(zip(a, b)):
            if value(ctx_a) != value(ctx_b):
                diffs.append("%s at %d (%r): %r -> %r" % (name, i, c, value(ctx_a), value(ctx_b)))
                break
    return diffs


def roundtrip(qconvert, height, text):
    result = subprocess.run([qconvert, "mtext-roundtrip", "--height", height], input=to_cp1251(text),
                            stdout=subprocess.PIPE, check=True, timeout=60)
    return result.stdout.decode("cp1251")


def main():
    qconvert = sys.argv[1]
    height = sys.argv[sys.argv.index("--height") + 1] if "--height" in sys.argv else "2.5"
    shared = os.environ.get("QUILLON_SHARED_DIR", "")
    corpus = os.path.join(shared, "corpus", "mtext_strings.txt")
    if not shared or not os.path.exists(corpus):
        print("SKIPPED: the corpus (../shared/corpus/mtext_strings.txt) is absent")
        return SKIP
    with open(corpus, encoding="utf-8") as f:
        strings = f.read().split("\n")
    if strings and strings[-1] == "":
        strings.pop()
    differing, unexpected, seen = 0, 0, {}
    for number, original in enumerate(strings, 1):
        back = roundtrip(qconvert, height, original)
        # RtfToMText works in code page 1251; the original compared is the one it was given.
        diffs = compare(to_cp1251(original).decode("cp1251"), back, float(height))
        cause = known_cause(original)
        if cause:
            seen.setdefault(cause, []).append(number if diffs else -number)
        if not diffs:
            continue
        differing += 1
        unexpected += 0 if cause else 1
        print("line %d%s: %r\n     -> %r" % (number, " (known: %s)" % cause if cause else "", original, back))
        for d in diffs:
            print("     " + d)
    gone = [n for lines in seen.values() for n in lines if n < 0]
    for n in gone:
        print("line %d is listed as a known difference but comes back equal: strike it off" % -n)
    print("%d of %d strings differ (%.1f %% identical); %d unexplained" %
          (differing, len(strings), 100.0 * (len(strings) - differing) / len(strings), unexpected))
    for name, (why, _) in KNOWN.items():
        print("known: %s: %s" % (name, why))
    share = 100.0 * (len(strings) - differing) / len(strings)
    if share < LEAST_IDENTICAL:
        print("fewer than %.1f %% of the strings come back identical" % LEAST_IDENTICAL)
    return 1 if unexpected or gone or share < LEAST_IDENTICAL else 0


if __name__ == "__main__":
    sys.exit(main())
