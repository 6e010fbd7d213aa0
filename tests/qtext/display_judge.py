#!/usr/bin/python3
"""The displayed text of every corpus MText string (mtext_display_tool) held to ezdxf's MText
parser (ezdxf.tools.text.plain_mtext), a reader that is not ours.

usage: display_judge.py MTEXT_DISPLAY_TOOL

The strings go in as the DXF loader keeps them: code page 1251, a character it lacks as \\U+XXXX.
Where the two readers differ by design, ezdxf's side is brought to ours first: \\U+XXXX and %%nnn
are characters to us and left as written by ezdxf, ezdxf widens a tab to four spaces, and it
drops the line break that ends a text (its paragraphs are joined, the last empty one left out).
Exits 0 when every string displays the same, 1 otherwise, 77 (skipped) when ../shared is absent.
"""
import os
import re
import subprocess
import sys

from ezdxf.tools.text import plain_mtext

SKIP = 77
# Strings shown differently on purpose, each with its cause. One that comes to display the same
# fails the test too, so that the list stays true.
KNOWN = {
    "a\\\\\\": "a backslash that ends the text shows nothing to us; ezdxf shows it as a space",
}


def to_cp1251(text):
    out = bytearray()
    for ch in text:
        try:
            out += ch.encode("cp1251")
        except UnicodeEncodeError:
            out += ("\\U+%04X" % ord(ch)).encode("ascii")
    return bytes(out)


_CHARACTER_CODES = re.compile(r"\\\\|\\U\+([0-9A-Fa-f]{4})|%%(\d{3})")


def characters_decoded(text):
    """\\U+XXXX and %%nnn as their characters; an escaped backslash stays as it is."""
    def one(m):
        if m.group(1):
            return chr(int(m.group(1), 16))
        if m.group(2) and int(m.group(2)) < 256:
            return bytes([int(m.group(2))]).decode("cp1251", errors="replace")
        return m.group(0)
    return _CHARACTER_CODES.sub(one, text)


def ezdxf_display(text):
    # The loader has decoded caret escapes already: a caret is a caret to ezdxf too.
    shown = plain_mtext(characters_decoded(text).replace("^", "^ "), tabsize=4)
    return shown


def main():
    tool = sys.argv[1]
    shared = os.environ.get("QUILLON_SHARED_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "..", "shared"))
    corpus = os.path.join(shared, "corpus", "mtext_strings.txt")
    if not os.path.exists(corpus):
        print("SKIPPED: the corpus (../shared/corpus/mtext_strings.txt) is absent")
        return SKIP
    with open(corpus, encoding="utf-8") as f:
        strings = [line.rstrip("\n") for line in f if line.rstrip("\n")]
    strings = [s for s in strings if "\r" not in s]
    result = subprocess.run([tool], input=b"\n".join(to_cp1251(s) for s in strings) + b"\n",
                            stdout=subprocess.PIPE, check=True)
    ours = result.stdout.decode("utf-8").split("\n")[:-1]
    assert len(ours) == len(strings), (len(ours), len(strings))
    failures = 0
    for original, shown in zip(strings, ours):
        shown = shown.replace("\\\\", "\x00").replace("\\n", "\n").replace("\x00", "\\").replace("\t", "    ")
        if shown.endswith("\n"):
            shown = shown[:-1]
        expected = ezdxf_display(original)
        if (shown != expected) != (original in KNOWN):
            failures += 1
            if failures <= 20:
                print("differs: %r\n  ours:  %r\n  ezdxf: %r" % (original, shown, expected))
    print("%d of %d strings display as ezdxf's parser shows them" % (len(strings) - failures, len(strings)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
