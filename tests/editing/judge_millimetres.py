#!/usr/bin/python3
"""The editing run on a drawing in millimetres, judged by ezdxf: texts 250 to 1,000 units high with
relative heights, heights close together and faces, and dimensions with DIMTXT 2.5 x DIMSCALE 200.

The drawing is generated (ezdxf), then edited by qhost with the module, one session per case:
  (a) each MText and dimension opened and left: the saved drawing is byte-identical;
  (b) each MText and dimension with two characters typed at the end: every other entity reads as
      before; the text reads as before plus the characters, every character in the format it had,
      and every height code it had ("\\H2x;", "\\H255;") is still there as written;
  (c) each MText with its first word coloured red: every character keeps its height, face and
      underline, those behind the word their colour too, and every height code stays as written.
Prints one line per failing case and the figures; exits 1 when a case fails.
Usage: judge_millimetres.py QHOST MODULE [--keep DIR]
"""
import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from judge_editing import (characters, entities_of, open_text, others_unchanged, plain, properties,  # noqa: E402
                           run_qhost, text_of)

TYPED = "ab"
BASE = 350.0  # TEXTSIZE: 3.5 mm at 1:100

# (base height, contents): the millimetre drawing's texts.
TEXTS = [
    (250.0, "Plan"),
    (350.0, "{\\H2x;Plan} x"),
    (500.0, "{\\H0.7x;Room}\\Pb\\H350;c"),
    (1000.0, "Title {\\H0.25x;sub}"),
    (300.0, "Wall \\H255;a\\H258;b"),
    (750.0, "\\fArial|b0|i0|c0|p34;Door {\\H0.5x;\\C1;thin}"),
    (400.0, "Area\\P{\\H1.5x;12 m\\U+00B2}"),
    (274.0, "{\\H2x;a}b"),
]
# Override texts of the dimensions (DIMTXT 2.5 x DIMSCALE 200 = 500 units).
OVERRIDES = ["", "<> mm", "{\\H0.8x;<>}"]


def make_drawing(path):
    import ezdxf
    doc = ezdxf.new("R2010", setup=True)
    doc.header["$INSUNITS"] = 4  # millimetres
    doc.header["$TEXTSIZE"] = BASE
    doc.dimstyles.new("MM", dxfattribs={"dimtxt": 2.5, "dimscale": 200.0, "dimasz": 2.5})
    msp = doc.modelspace()
    y = 0.0
    for height, contents in TEXTS:
        msp.add_mtext(contents, dxfattribs={"char_height": height, "insert": (0, y), "width": 20000})
        y -= 3 * height
    for i, text in enumerate(OVERRIDES):
        dim = msp.add_linear_dim(base=(0, y - 1500 * (i + 1)), p1=(0, y - 2000 * (i + 1)),
                                 p2=(8000, y - 2000 * (i + 1)), dimstyle="MM", text=text)
        dim.render()
    doc.saveas(path)


def height_codes(text):
    """The values of the height codes of MText contents as written ("2x", "255"), escaped
    backslashes left out; a value ends at its ";" or, as RtfToMText writes it, at the next code."""
    return re.findall(r"(?<!\\)(?:\\\\)*\\H([^;\\{}]*)", text)


def first_word_length(text):
    return len(plain(text).split(" ")[0].split("\n")[0])


def judge_case(qhost, module, path, handle, kind, events, check, work, failures, name):
    before = {h: (t, g) for t, h, g in entities_of(path)}
    out = os.path.join(work, "out.dxf")
    if os.path.exists(out):
        os.remove(out)
    run = run_qhost(qhost, module, path, open_text(handle) + events + ["command SAVEAS " + out], work)
    if not os.path.exists(out):
        failures.append("%s %s: not saved (status %d)" % (name, handle, run.returncode))
        return False
    wrong = check(before, out)
    if wrong:
        failures.append("%s %s %s: %s" % (name, kind, handle, "; ".join(wrong[:3])))
    return not wrong


def text_groups(kind, groups):
    """The text a case edits: an MText's contents, a dimension's override (group 1)."""
    return text_of(groups) if kind == "MTEXT" else "".join(v for c, v in groups if c == 1)


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    qhost, module = (os.path.abspath(a) for a in sys.argv[1:3])
    options = dict(zip(sys.argv[3::2], sys.argv[4::2]))
    failures = []
    figures = {"(a)": [0, 0], "(b)": [0, 0], "(c)": [0, 0]}
    with tempfile.TemporaryDirectory(prefix="quillon-mm-") as work:
        path = os.path.join(options.get("--keep", work), "millimetres.dxf")
        make_drawing(path)
        original = open(path, "rb").read()
        found = entities_of(path)
        cases = [(h, t) for t, h, _ in found if t in ("MTEXT", "DIMENSION")]
        for handle, kind in cases:
            figures["(a)"][0] += 1

            def same_bytes(before, out):
                return [] if open(out, "rb").read() == original else ["the drawing changed"]
            figures["(a)"][1] += judge_case(qhost, module, path, handle, kind, ["escape"], same_bytes, work,
                                            failures, "(a)")

            def typed(before, out, handle=handle, kind=kind):
                after = {h: (t, g) for t, h, g in entities_of(out)}
                wrong = others_unchanged(before, after, handle)
                old, new = before[handle][1], after[handle][1]
                was, now = properties(old), properties(new)
                changed = sorted(c for c in was if c != 1 and was[c] != now.get(c))
                if changed:
                    wrong.append("groups %s changed" % changed)
                old_text, new_text = text_groups(kind, old), text_groups(kind, new)
                shown_old = old_text if old_text else "<>"
                if plain(new_text) != plain(shown_old) + TYPED:
                    wrong.append("reads %r, expected %r" % (plain(new_text), plain(shown_old) + TYPED))
                lost = [c for c in height_codes(old_text) if c not in height_codes(new_text)]
                if lost:
                    wrong.append("height codes %s lost from %r" % (lost, new_text))
                height = float(was.get(40, [str(BASE)])[0]) if kind == "MTEXT" else 500.0
                kept = characters(shown_old, height)
                for i, (a, b) in enumerate(zip(kept, characters(new_text, height))):
                    if a != b:
                        wrong.append("character %d %r: format %s became %s in %r" % (i, a[0], a[1], b[1], new_text))
                        break
                return wrong
            figures["(b)"][0] += 1
            figures["(b)"][1] += judge_case(qhost, module, path, handle, kind, ["key ctrl+end", "type " + TYPED, "escape"],
                                            typed, work, failures, "(b)")
            if kind != "MTEXT":
                continue
            text = text_groups(kind, dict((h, g) for _, h, g in found)[handle])
            word = first_word_length(text)

            def coloured(before, out, handle=handle, word=word):
                after = {h: (t, g) for t, h, g in entities_of(out)}
                wrong = others_unchanged(before, after, handle)
                old_text, new_text = text_of(before[handle][1]), text_of(after[handle][1])
                if plain(new_text) != plain(old_text):
                    wrong.append("reads %r, expected %r" % (plain(new_text), plain(old_text)))
                lost = [c for c in height_codes(old_text) if c not in height_codes(new_text)]
                if lost:
                    wrong.append("height codes %s lost from %r" % (lost, new_text))
                height = float(properties(before[handle][1]).get(40, [str(BASE)])[0])
                for i, (a, b) in enumerate(zip(characters(old_text, height), characters(new_text, height))):
                    # (height, aci, rgb, underline, family, style, weight): the word's colour changes
                    if i < word and b[1][1] != 1:
                        wrong.append("character %d %r is not red in %r" % (i, a[0], new_text))
                        break
                    if (a[1][:1] + a[1][2:] if i < word else a[1]) != (b[1][:1] + b[1][2:] if i < word else b[1]):
                        wrong.append("character %d %r: format %s became %s in %r" % (i, a[0], a[1], b[1], new_text))
                        break
                return wrong
            figures["(c)"][0] += 1
            figures["(c)"][1] += judge_case(qhost, module, path, handle, kind,
                                            ["select IDC_RICHEDIT 0 %d" % word, 'choose IDC_COLOR "Красный"', "escape"],
                                            coloured, work, failures, "(c)")
    for message in failures:
        print(message)
    for key, (tried, passed) in figures.items():
        print("%s %d of %d cases pass" % (key, passed, tried))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
