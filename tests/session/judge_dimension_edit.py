#!/usr/bin/python3
"""Judges one edited dimension with ezdxf, a reader that is not ours.

Usage: judge_dimension_edit.py ORIGINAL SAVED HANDLE TYPED

Passes (exit 0) when, in SAVED against ORIGINAL:
- the dimension HANDLE's override text holds TYPED, and every height code in it was in the
  original override;
- the text entity of the dimension's block, when the block has one, shows TYPED;
- every other object is byte-identical, and the dimension and the block's text differ only in
  their text groups (1 and 3).
Prints one line: "ok" or "FAIL", then what was found, and "block-text" when the block has a text.
"""
import re
import sys

import ezdxf
from ezdxf.lldxf.tagger import ascii_tags_loader
from ezdxf.tools.text import plain_mtext

HEIGHT_CODE = re.compile(r"(?<!\\)\\H[0-9.+-]+x?")


def records(path):
    """The file's objects as (type, groups) in file order; a group is (code, value)."""
    with open(path, "rb") as f:
        text = f.read().decode("latin-1")  # byte for byte: values compare as the bytes do
    out = []
    for tag in ascii_tags_loader(_Lines(text)):
        if tag.code == 0:
            out.append([str(tag.value).strip(), []])
        elif out:
            out[-1][1].append((tag.code, str(tag.value)))
    return out


class _Lines:
    """A text as the stream the tag loader reads."""

    def __init__(self, text):
        # Lines end at line feeds only: a value may hold other control characters.
        lines = text.split("\n")
        if lines and lines[-1] == "":
            lines.pop()
        self._lines = iter(line + "\n" for line in lines)

    def readline(self):
        return next(self._lines, "")


def handle_of(groups):
    for code, value in groups:
        if code in (5, 105):
            return value.strip().upper()
    return None


def text_of(groups):
    return "".join(v for c, v in groups if c == 3) + "".join(v for c, v in groups if c == 1)


def block_text_handle(recs, block_name):
    """The handle of the first MTEXT or TEXT of block `block_name` in the BLOCKS section."""
    inside = False
    for kind, groups in recs:
        if kind == "BLOCK":
            inside = any(c == 2 and v.strip().upper() == block_name.upper() for c, v in groups)
        elif kind == "ENDBLK":
            inside = False
        elif inside and kind in ("MTEXT", "TEXT"):
            return handle_of(groups)
    return None


def main():
    original, saved, handle, typed = sys.argv[1:5]
    handle = handle.upper()
    before, after = records(original), records(saved)
    problems = []

    dims = [g for k, g in before if k == "DIMENSION" and handle_of(g) == handle]
    if not dims:
        print("FAIL no dimension", handle)
        return 1
    block_name = next((v.strip() for c, v in dims[0] if c == 2), "")
    text_handle = block_text_handle(before, block_name) if block_name else None

    # Objects: the same ones in the same order; only the two texts may differ, in groups 1 and 3.
    if len(before) != len(after):
        problems.append("object count %d -> %d" % (len(before), len(after)))
    for (k1, g1), (k2, g2) in zip(before, after):
        if (k1, g1) == (k2, g2):
            continue
        h = handle_of(g1)
        if k1 != k2 or h not in (handle, text_handle):
            problems.append("%s %s changed" % (k1, h))
        elif [x for x in g1 if x[0] not in (1, 3)] != [x for x in g2 if x[0] not in (1, 3)]:
            problems.append("%s %s changed beyond its text" % (k1, h))

    # The override text and the block's text as ezdxf reads them.
    old_override = text_of(dims[0])
    try:
        doc = ezdxf.readfile(saved)
        dim = doc.entitydb[handle]
        override = dim.dxf.get("text", "")
        block = dim.get_geometry_block()
        shown = None
        if block is not None:
            texts = [e for e in block if e.dxftype() in ("MTEXT", "TEXT")]
            if texts:
                e = texts[0]
                shown = e.plain_text() if e.dxftype() == "MTEXT" else e.dxf.text
        reader = "ezdxf"
    except (ezdxf.DXFError, KeyError, LookupError) as error:
        # ezdxf refuses some drawings as a whole (the original too): read the tags instead.
        reader = "ezdxf tags (%s)" % type(error).__name__
        saved_dim = [g for k, g in after if k == "DIMENSION" and handle_of(g) == handle][0]
        override = text_of(saved_dim)
        shown = None
        if text_handle:
            for k, g in after:
                if handle_of(g) == text_handle:
                    shown = plain_mtext(text_of(g)) if k == "MTEXT" else text_of(g)
    if typed not in override:
        problems.append("override %r lacks %r" % (override, typed))
    new_heights = [h for h in HEIGHT_CODE.findall(override) if h not in old_override]
    if new_heights:
        problems.append("new height codes %s in %r" % (new_heights, override))
    if text_handle and (shown is None or typed not in shown):
        problems.append("block text %r lacks %r" % (shown, typed))

    print("FAIL" if problems else "ok", handle, reader, "override=%r" % override,
          "block-text=%r" % shown if text_handle else "no-block-text", "; ".join(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
