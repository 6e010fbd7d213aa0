#!/usr/bin/python3
"""A relative height through `qconvert mtext-roundtrip --height H`, read by ezdxf's MText parser:
`{\\H2x;a}b` comes back with a at 2H and b at H and its `\\H2x;` as written, for base heights from
0.0001 to 1,000,000 and on both sides of 273, the largest height today's scale can show.
Prints one line per failing height; exits 1 when one fails.
Usage: relative_height_judge.py QCONVERT
"""
import subprocess
import sys

from ezdxf.tools.text import MTextContext, MTextParser, TokenType

MTEXT = "{\\H2x;a}b"
HEIGHTS = ["%g" % 10.0 ** k for k in range(-4, 7)] + ["273", "274"]


def heights_of_letters(mtext, height):
    ctx = MTextContext()
    ctx.cap_height = height
    return {t.data: t.ctx.cap_height for t in MTextParser(mtext, ctx) if t.type == TokenType.WORD}


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    failures = 0
    for text in HEIGHTS:
        height = float(text)
        run = subprocess.run([sys.argv[1], "mtext-roundtrip", "--height", text], input=MTEXT.encode("cp1251"),
                             capture_output=True)
        back = run.stdout.decode("cp1251")
        got = heights_of_letters(back, height)
        wrong = []
        if run.returncode != 0:
            wrong.append("status %d" % run.returncode)
        if "\\H2x;" not in back:
            wrong.append("\\H2x; is gone")
        for letter, expected in (("a", 2 * height), ("b", height)):
            if letter not in got or abs(got[letter] - expected) > 1e-6 * expected:
                wrong.append("%s at %s, expected %s" % (letter, got.get(letter), expected))
        if wrong:
            failures += 1
            print("--height %s: %r came back as %r: %s" % (text, MTEXT, back, "; ".join(wrong)))
    print("%d of %d heights pass" % (len(HEIGHTS) - failures, len(HEIGHTS)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
