#!/usr/bin/python3
"""Rewrites session scripts so that user-interface events name the module's controls by their
resource names (click 5042 -> click IDC_BOLD), as the dialog pictures and `help` show them.

    scripts/name-controls.py FILE...     rewrites each file in place; prints what it changed

The names are the ids the dialogs of resources/Quillon.rc give their controls, with their values
from resources/resource.h (IDOK and IDCANCEL are Windows' 1 and 2). Only the control word of the
verbs that name a control is rewritten; a number that no dialog control has is left alone, as is
every other line, so running it twice changes nothing.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
VERBS = ("click", "dblclick", "rclick", "hover", "focus", "choose", "edit", "select")


def control_names():
    values = {"IDOK": 1, "IDCANCEL": 2}
    with open(os.path.join(ROOT, "resources", "resource.h"), encoding="utf-8") as header:
        for m in re.finditer(r"^#define\s+(\w+)\s+(0x[0-9A-Fa-f]+|\d+)", header.read(), re.M):
            values[m.group(1)] = int(m.group(2), 0)
    with open(os.path.join(ROOT, "resources", "Quillon.rc"), encoding="utf-8") as rc:
        text = rc.read()
    names = {}
    # The control statements of every dialog: the symbols written where an id goes.
    for block in re.findall(r"\bDIALOG(?:EX)?\b.*?\nBEGIN\n(.*?)\nEND", text, re.S):
        for symbol in re.findall(r"\b(ID[A-Z]*_\w+|IDOK|IDCANCEL)\b", block):
            if symbol in values and symbol != "IDC_STATIC":
                names.setdefault(values[symbol], symbol)
    return names


def rewrite(line, names):
    m = re.match(r"^(\s*!?)(%s)(\s+)(\d+)(?=\s|$)" % "|".join(VERBS), line)
    if not m or int(m.group(4)) not in names:
        return line
    return m.group(1) + m.group(2) + m.group(3) + names[int(m.group(4))] + line[m.end():]


def main(paths):
    names = control_names()
    for path in paths:
        with open(path, encoding="utf-8") as f:
            lines = f.read().split("\n")
        out = [rewrite(line, names) for line in lines]
        changed = sum(1 for a, b in zip(lines, out) if a != b)
        if changed:
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(out))
            print("%s: %d line(s) named" % (path, changed))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
