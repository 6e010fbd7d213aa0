#!/usr/bin/python3
"""Judges a drawing that CQuillonFind or CQuillonSpell replaced in, with ezdxf, a reader that is not ours.

Usage: judge_find_replace.py ORIGINAL SAVED FROM TO [FROM TO]...

Passes (exit 0) when, in SAVED against ORIGINAL, every entity of every layout and block has the
same DXF attributes, and its text (MTEXT, TEXT, a dimension's override, as stored) is the
original's with every FROM replaced by its TO, pair after pair; and at least one text changed. Prints "ok" or "FAIL" and why.
"""
import sys

import ezdxf


def texts(doc):
    """Each entity of each block record by handle: (type, attributes without the text, text)."""
    out = {}
    for block in doc.blocks:
        for e in block:
            attribs = e.dxfattribs()
            text = attribs.pop("text", None)
            if e.dxftype() == "MTEXT":
                text = e.text
            out[e.dxf.handle] = (block.name, e.dxftype(), attribs, text)
    return out


def main(original, saved, *pairs):
    before, after = texts(ezdxf.readfile(original)), texts(ezdxf.readfile(saved))
    problems, changed = [], 0
    if before.keys() != after.keys():
        problems.append("entities differ: %s" % sorted(before.keys() ^ after.keys()))
    for handle in sorted(before.keys() & after.keys()):
        block, kind, attribs, text = before[handle]
        _, kind2, attribs2, text2 = after[handle]
        if kind != kind2 or attribs != attribs2:
            problems.append("%s %s: attributes differ" % (kind, handle))
        expected = text
        for old, new in zip(pairs[0::2], pairs[1::2]):
            expected = expected.replace(old, new) if expected is not None else None
        if text2 != expected:
            problems.append("%s %s in %s: %r, expected %r" % (kind, handle, block, text2, expected))
        changed += text2 != text
    if changed == 0:
        problems.append("no text changed")
    print("FAIL" if problems else "ok", "%d texts changed" % changed)
    for p in problems:
        print(" ", p)
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) < 5 or len(sys.argv) % 2 == 0:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
