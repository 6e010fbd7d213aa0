#!/usr/bin/python3
"""qtext end to end on small drawings made by ezdxf: find's lines and exit statuses, replace's
exact bytes (only the replaced characters change), ezdxf reading every other property and entity
unchanged, bad files, each file once, --out, --in-place, --dry-run and -j.

usage: qtext_test.py QTEXT
"""
import os
import shutil
import stat
import subprocess
import sys
import tempfile

import ezdxf

QTEXT = sys.argv[1]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def run(*args, cwd=None):
    r = subprocess.run([QTEXT, *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE, cwd=cwd)
    return r.returncode, r.stdout.decode("utf-8", "replace"), r.stderr.decode("utf-8", "replace")


def make_drawings(folder):
    """Three drawings: ANSI_1251 R2000 with texts everywhere, UTF-8 R2018, and one with no match."""
    os.makedirs(os.path.join(folder, "sub"))
    doc = ezdxf.new("R2000")
    doc.encoding = "cp1251"
    msp = doc.modelspace()
    msp.add_mtext("{\\C1;Комната} Room 12\\PRoom{\\H2x;s}", dxfattribs={"layer": "ROOMS"})
    msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "WALLS"})
    dim = msp.add_linear_dim(base=(0, 5), p1=(0, 0), p2=(10, 0), text="Room <>")
    dim.dimension.dxf.text = "Room <>"
    doc.layout("Layout1").add_text("Room 5%%d", dxfattribs={"layer": "NOTES", "height": 2.5})
    block = doc.blocks.new("TAG")
    block.add_mtext("Room in a block \\S1/2; \\U+2205")
    block.add_circle((0, 0), 1)
    msp.add_blockref("TAG", (20, 20))
    first = os.path.join(folder, "plan.dxf")
    doc.saveas(first)

    doc = ezdxf.new("R2018")
    doc.modelspace().add_mtext("Room ⌀5 Zimmer", dxfattribs={"layer": "Слой"})
    doc.modelspace().add_text("Nothing here")
    second = os.path.join(folder, "sub", "unicode.dxf")
    doc.saveas(second)

    doc = ezdxf.new("R2000")
    doc.modelspace().add_mtext("Nothing to see")
    third = os.path.join(folder, "sub", "other.dxf")
    doc.saveas(third)
    return first, second, third


def entities(path):
    """Every entity of every layout and block: handle -> (type, attributes without the texts)."""
    doc = ezdxf.readfile(path)
    out = {}
    for block in doc.blocks:
        for e in block:
            attribs = {k: v for k, v in e.dxf.all_existing_dxf_attribs().items() if k != "text"}
            out[e.dxf.handle] = (e.dxftype(), attribs, e.text if e.dxftype() == "MTEXT" else e.dxf.get("text") if e.dxf.hasattr("text") else None)
    return out


def main():
    tmp = tempfile.mkdtemp(prefix="qtext-test-")
    try:
        test(tmp)
    finally:
        shutil.rmtree(tmp, ignore_errors=True)
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


def test(tmp):
    src = os.path.join(tmp, "src")
    first, second, third = make_drawings(src)
    bytes_before = {p: open(p, "rb").read() for p in (first, second, third)}

    # find: one line per match, file:handle:type:layer: text; exit 0, 1
    rc, out, err = run("find", "Room", first, second, third)
    check(rc == 0, "find exits 0 on a match: %d %s" % (rc, err))
    lines = out.splitlines()
    check(len(lines) == 6, "find prints one line per match: %r" % lines)
    check(all(l.startswith(first + ":") or l.startswith(second + ":") for l in lines), "lines name the file: %r" % lines)
    types = {l.split(":")[2] for l in lines}
    check(types == {"MTEXT", "TEXT", "DIMENSION"}, "MTEXT, TEXT and DIMENSION found: %r" % types)
    check(any(":ROOMS: " in l and "Комната Room 12" in l for l in lines), "the layer and the text around: %r" % lines)
    check(any("Room in a block 1/2 ∅" in l for l in lines), "texts of blocks are searched: %r" % lines)
    check(any(":Слой: Room ⌀5 Zimmer" in l for l in lines), "UTF-8 drawings read: %r" % lines)
    rc, out, _ = run("find", "nowhere", first, second, third)
    check(rc == 1 and out == "", "find exits 1 without a match: %d %r" % (rc, out))
    rc, out, _ = run("find", "-i", "КОМНАТА", first)
    check(rc == 0 and len(out.splitlines()) == 1, "-i folds Cyrillic case: %r" % out)
    rc, out, _ = run("find", "-w", "Zimm", second)
    check(rc == 1, "-w matches whole words only: %r" % out)
    rc, out, _ = run("find", "-E", r"Room \d\d", first)
    check(rc == 0 and len(out.splitlines()) == 1, "-E: %r" % out)
    rc, out, _ = run("find", "12", first)
    check(rc == 0 and len(out.splitlines()) == 1, "codes (\\H2x) never match: %r" % out)
    for jobs in ("1", "3"):
        rc, out_j, _ = run("find", "-j", jobs, "Room", first, second, third)
        check(out_j == "\n".join(lines) + "\n", "-j %s prints the same lines in the same order" % jobs)

    # Bad files: a message naming each, the others processed, exit 2
    junk = os.path.join(tmp, "junk.dxf")
    open(junk, "wb").write(b"not a drawing\n")
    truncated = os.path.join(tmp, "truncated.dxf")
    open(truncated, "wb").write(bytes_before[first][: len(bytes_before[first]) // 2])
    folder = os.path.join(tmp, "folder.dxf")
    os.mkdir(folder)
    rc, out, err = run("find", "Room", junk, truncated, folder, os.path.join(tmp, "missing.dxf"), first)
    check(rc == 2, "bad files make exit 2: %d" % rc)
    for bad in (junk, truncated, folder, "missing.dxf"):
        check(bad in err, "the message names %s: %r" % (bad, err))
    check(len(out.splitlines()) == 5, "the good file is still searched: %r" % out)

    # Usage
    check(run("--frobnicate")[0] == 2, "an unknown option exits 2")
    check(run("find")[0] == 2, "find without a pattern exits 2")
    check(run("--help")[0] == 0 and "usage: qtext" in run("--help")[1], "--help")
    check(run("--version")[0] == 0, "--version")
    check(run("find", "-E", "a(", first)[0] == 2, "a bad regular expression exits 2")
    check(run("replace", "a", "b", first)[0] == 2, "replace needs --in-place or --out")

    # replace --out: only changed drawings written, under their path relative to the common folder
    out_dir = os.path.join(tmp, "out")
    rc, out, err = run("replace", "Room", "Hall", first, second, third, first, "--out", out_dir)
    check(rc == 0, "replace exits 0: %d %s" % (rc, err))
    check("changed 2 files, 5 texts, 6 replacements" in out, "the summary, each file once: %r" % out)
    written = sorted(os.path.relpath(os.path.join(d, f), out_dir) for d, _, fs in os.walk(out_dir) for f in fs)
    check(written == ["plan.dxf", "sub/unicode.dxf"], "only changed drawings, relative paths: %r" % written)
    # Exact bytes: only the replaced characters change.
    got = open(os.path.join(out_dir, "plan.dxf"), "rb").read()
    check(got == bytes_before[first].replace(b"Room", b"Hall"), "plan.dxf: only the replaced characters change")
    got = open(os.path.join(out_dir, "sub", "unicode.dxf"), "rb").read()
    check(got == bytes_before[second].replace(b"Room", b"Hall"), "unicode.dxf: only the replaced characters change")
    check(all(open(p, "rb").read() == b for p, b in bytes_before.items()), "the inputs are untouched")
    # ezdxf reads every other property and entity unchanged.
    for name, original in (("plan.dxf", first), ("sub/unicode.dxf", second)):
        before, after = entities(original), entities(os.path.join(out_dir, name))
        check(before.keys() == after.keys(), "%s: the same entities" % name)
        for handle in before:
            b, a = before[handle], after.get(handle)
            if a is None:
                continue
            check(b[:2] == a[:2], "%s %s: properties unchanged" % (name, handle))
            if b[2] is not None:
                check(a[2] == b[2].replace("Room", "Hall"), "%s %s: text %r -> %r" % (name, handle, b[2], a[2]))

    # Typed text is text; characters cp1251 lacks as \U+XXXX.
    out2 = os.path.join(tmp, "out2")
    rc, _, err = run("replace", "Комната", "{Зал}⌀", first, "--out", out2)
    got = open(os.path.join(out2, "plan.dxf"), "rb").read()
    expected = bytes_before[first].replace("Комната".encode("cp1251"), "\\{Зал\\}\\U+2300".encode("cp1251"))
    check(rc == 0 and got == expected, "braces escaped, \\U+2300 for a character cp1251 lacks: %s" % err)
    # A collision: --out onto the files' own folder is refused.
    rc, _, err = run("replace", "Room", "Hall", first, "--out", src)
    check(rc == 2 and "refused" in err and open(first, "rb").read() == bytes_before[first], "no write over itself: %r" % err)

    # --dry-run writes nothing and shows before and after.
    rc, out, _ = run("replace", "--dry-run", "Room", "Hall", first)
    check(rc == 0 and "- Комната Room 12" in out and "+ Комната Hall 12" in out, "--dry-run shows before/after: %r" % out)
    check(open(first, "rb").read() == bytes_before[first], "--dry-run writes nothing")

    # --in-place: the changed file rewritten, the unchanged one untouched; a read-only one refused.
    inplace = os.path.join(tmp, "inplace")
    shutil.copytree(src, inplace)
    changed, unchanged = os.path.join(inplace, "plan.dxf"), os.path.join(inplace, "sub", "other.dxf")
    mtime = os.stat(unchanged).st_mtime_ns
    rc, out, err = run("replace", "Room", "Hall", changed, unchanged, "--in-place")
    check(rc == 0 and open(changed, "rb").read() == bytes_before[first].replace(b"Room", b"Hall"), "--in-place: %s" % err)
    check(os.stat(unchanged).st_mtime_ns == mtime, "an unchanged drawing is not rewritten")
    os.chmod(changed, stat.S_IRUSR | stat.S_IRGRP)
    rc, out, err = run("replace", "Hall", "Room", changed, "--in-place")
    check(rc == 2 and changed in err, "a read-only file: a message with its name, exit 2: %r" % err)


if __name__ == "__main__":
    sys.exit(main())
