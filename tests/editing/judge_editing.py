#!/usr/bin/python3
"""The editing run over real drawings, judged by a DXF reader that is not ours (ezdxf).

For every drawing of the corpus, qhost with the module opens texts and leaves them:
  (a) each MText and dimension, left by Escape, by the exit button and by the close box: the drawing
      saved afterwards must be byte-identical to the original;
  (b) each MText, with two characters typed at the end of its text: every other entity must read
      as before, the edited text must read as before plus the two characters, with every
      character's format and every property of the entity as before.
Prints one line per failing case and the figures; exits 1 when a case fails, 77 (skipped) when the
corpus is absent. Usage: judge_editing.py QHOST MODULE CORPUS_DIR [--only (a)|(b)]
"""
import os
import subprocess
import sys
import tempfile

TYPED = "ab"
# How the user leaves the editor: the session events of each way.
LEAVING = {"escape": ["escape"], "exit button": ["click 2"], "close box": ["close"]}


def texts_of(doc):
    """Handles of the MTexts and dimensions of model and paper space, in file order."""
    mtexts, dimensions = [], []
    for layout in doc.layouts:
        for e in layout:
            if e.dxftype() == "MTEXT":
                mtexts.append(e.dxf.handle)
            elif e.dxftype() == "DIMENSION":
                dimensions.append(e.dxf.handle)
    return mtexts, dimensions


def run_qhost(qhost, module, drawing, events, work):
    script = os.path.join(work, "session.txt")
    with open(script, "w", encoding="utf-8") as f:
        f.write("\n".join(events) + "\n")
    return subprocess.run([qhost, drawing, "--load", module, "--script", script], cwd=work,
                          stdin=subprocess.DEVNULL, capture_output=True, timeout=600)


def open_text(handle):
    return ["command CQuillon", "enter", "pick handle " + handle]


def judge_leaving(qhost, module, path, handles, work, failures):
    """(a): one qhost run per way of leaving; the drawing is saved after each text."""
    original = open(path, "rb").read()
    tried = passed = 0
    for way, events in LEAVING.items():
        script, outputs = [], []
        for i, handle in enumerate(handles):
            out = os.path.join(work, "a%d.dxf" % i)
            outputs.append(out)
            script += open_text(handle) + events + ["command SAVEAS " + out]
        run = run_qhost(qhost, module, path, script, work)
        for handle, out in zip(handles, outputs):
            tried += 1
            saved = open(out, "rb").read() if os.path.exists(out) else None
            if saved == original:
                passed += 1
            else:
                failures.append("(a) %s %s by %s: %s" % (os.path.basename(path), handle, way,
                                "not saved (status %d)" % run.returncode if saved is None else "the drawing changed"))
            if saved is not None:
                os.remove(out)
    return tried, passed


def described(entity):
    """Every DXF attribute an entity has, the MText's text apart."""
    attribs = dict(entity.dxf.all_existing_dxf_attribs())
    attribs.pop("text", None)
    return {k: tuple(v) if hasattr(v, "__iter__") and not isinstance(v, str) else v for k, v in attribs.items()}


def characters(mtext):
    """Each character of an MText's text with its format, as ezdxf's parser reads it."""
    from ezdxf.tools.text import MTextParser, MTextContext, TokenType
    ctx = MTextContext()
    ctx.cap_height = mtext.dxf.char_height
    out = []
    for token in MTextParser(mtext.text, ctx):
        if token.type == TokenType.WORD:
            chars = token.data
        elif token.type in (TokenType.SPACE, TokenType.NBSP):
            chars = " "
        elif token.type == TokenType.NEW_PARAGRAPH:
            chars = "\n"
        elif token.type == TokenType.TABULATOR:
            chars = "\t"
        else:
            continue
        c = token.ctx
        look = (round(c.cap_height, 3), c.aci, c.rgb, c.underline, c.italic, c.bold, c.font_face.family)
        out += [(ch, look) for ch in chars]
    return out


def judge_typing(qhost, module, path, handles, work, failures):
    """(b): one qhost run per MText; each typed text is checked against the original drawing."""
    import ezdxf
    before = ezdxf.readfile(path)
    entities = {e.dxf.handle: e for layout in before.layouts for e in layout}
    tried = passed = 0
    name = os.path.basename(path)
    for handle in handles:
        tried += 1
        out = os.path.join(work, "b.dxf")
        if os.path.exists(out):
            os.remove(out)
        run = run_qhost(qhost, module, path, open_text(handle) + ["key ctrl+end", "type " + TYPED, "escape",
                                                                  "command SAVEAS " + out], work)
        if not os.path.exists(out):
            failures.append("(b) %s %s: not saved (status %d)" % (name, handle, run.returncode))
            continue
        after = ezdxf.readfile(out)
        found = {e.dxf.handle: e for layout in after.layouts for e in layout}
        wrong = []
        for h, e in entities.items():
            if h not in found:
                wrong.append("%s %s is gone" % (e.dxftype(), h))
            elif described(found[h]) != described(e):
                wrong.append("%s %s has other properties" % (e.dxftype(), h))
            elif h != handle and e.dxftype() == "MTEXT" and found[h].text != e.text:
                wrong.append("MTEXT %s has another text" % h)
        if handle in found and not wrong:
            old, new = entities[handle], found[handle]
            was, now = old.plain_text(), new.plain_text()
            if now != was + TYPED:
                wrong.append("reads %r, expected %r" % (now, was + TYPED))
            else:
                kept = characters(old)
                got = characters(new)[:len(kept)]
                for i, (a, b) in enumerate(zip(kept, got)):
                    if a != b:
                        wrong.append("character %d %r: format %s became %s" % (i, a[0], a[1], b[1]))
                        break
        if wrong:
            failures.append("(b) %s %s: %s" % (name, handle, "; ".join(wrong[:3])))
        else:
            passed += 1
    return tried, passed


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    qhost, module, corpus = sys.argv[1:4]
    only = sys.argv[5] if len(sys.argv) > 5 and sys.argv[4] == "--only" else None
    if not os.path.isdir(corpus):
        print("skipped: the corpus %s is not there" % corpus)
        return 77
    import ezdxf
    failures = []
    figures = {"(a)": [0, 0], "(b)": [0, 0]}
    texts = 0
    with tempfile.TemporaryDirectory(prefix="quillon-judge-") as work:
        for name in sorted(os.listdir(corpus)):
            if not name.endswith(".dxf"):
                continue
            path = os.path.join(corpus, name)
            mtexts, dimensions = texts_of(ezdxf.readfile(path))
            texts += len(mtexts) + len(dimensions)
            if only in (None, "(a)"):
                t, p = judge_leaving(qhost, module, path, mtexts + dimensions, work, failures)
                figures["(a)"][0] += t
                figures["(a)"][1] += p
            if only in (None, "(b)"):
                t, p = judge_typing(qhost, module, path, mtexts, work, failures)
                figures["(b)"][0] += t
                figures["(b)"][1] += p
    for f in failures:
        print(f)
    print("texts tried: %d" % texts)
    for key, (tried, passed) in figures.items():
        if tried:
            print("%s %d of %d cases pass (%.1f %%)" % (key, passed, tried, 100.0 * passed / tried))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
