#!/usr/bin/python3
"""The editing run over real drawings, judged by a DXF reader that is not ours (ezdxf).

For every drawing of the corpus, qhost with the module opens texts and leaves them:
  (a) each MText and dimension, left by Escape, by the exit button and by the close box: the drawing
      saved afterwards must be byte-identical to the original;
  (b) each MText, with two characters typed at the end of its text: every other entity must read
      as before, the edited text must read as before plus the two characters, with every
      character's format and every property of the entity as before.
Prints one line per failing case and the figures. Cases listed in the file of known deviations
(--known: one "(a)|(b) drawing handle" a line, "#" comments) are reported but pass; a listed case
that passes fails the run, so that the list shrinks as the deviations go. Exits 1 when a case
fails, 77 (skipped) when the corpus is absent.
Usage: judge_editing.py QHOST MODULE CORPUS_DIR [--only (a)|(b)] [--known FILE]
"""
import os
import re
import subprocess
import sys
import tempfile

TYPED = "ab"
# How the user leaves the editor: the session events of each way.
LEAVING = {"escape": ["escape"], "exit button": ["click 2"], "close box": ["close"]}


def entities_of(path):
    """The entities of the ENTITIES section, in file order: (type, handle, groups), the groups
    as ezdxf's tag loader reads them, each value decoded in the file's encoding."""
    from ezdxf.filemanagement import dxf_file_info
    from ezdxf.lldxf.tagger import ascii_tags_loader
    encoding = dxf_file_info(path).encoding
    with open(path, encoding=encoding, errors="surrogateescape") as f:
        tags = list(ascii_tags_loader(f))
    out, section, current = [], None, None
    for i, tag in enumerate(tags):
        if tag.code == 2 and i > 0 and tags[i - 1] == (0, "SECTION"):
            section = tag.value
        if tag.code == 0:
            current = None
            if section == "ENTITIES" and tag.value not in ("SECTION", "ENDSEC"):
                current = [tag.value, None, []]
                out.append(current)
        if current is not None:
            current[2].append((tag.code, tag.value))
            if tag.code == 5 and current[1] is None:
                current[1] = tag.value
    return [tuple(e) for e in out]


def text_of(groups):
    """An MText's text: its groups 3 and its group 1, joined."""
    return "".join(v for c, v in groups if c == 3) + "".join(v for c, v in groups if c == 1)


def unescaped(text):
    return re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), text)


def run_qhost(qhost, module, drawing, events, work):
    script = os.path.join(work, "session.txt")
    with open(script, "w", encoding="utf-8") as f:
        f.write("\n".join(events) + "\n")
    env = dict(os.environ, XDG_CONFIG_HOME=work)  # the dialog's remembered size stays here
    return subprocess.run([qhost, drawing, "--load", module, "--script", script], cwd=work, env=env,
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
                failures.append(("(a) %s %s" % (os.path.basename(path), handle), "(a) %s %s by %s: %s" % (os.path.basename(path), handle, way,
                                "not saved (status %d)" % run.returncode if saved is None else "the drawing changed")))
            if saved is not None:
                os.remove(out)
    return tried, passed


def characters(text, height):
    """Each character of an MText's text with its format, as ezdxf's MText parser reads it."""
    from ezdxf.tools.text import MTextParser, MTextContext, TokenType
    ctx = MTextContext()
    ctx.cap_height = height
    out = []
    for token in MTextParser(unescaped(text), ctx):
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
        f = c.font_face
        look = (round(c.cap_height, 3), c.aci, c.rgb, c.underline, f.family, f.style, f.weight)
        out += [(ch, look) for ch in chars]
    return out


def plain(text):
    from ezdxf.tools.text import plain_mtext
    return plain_mtext(unescaped(text), split=False)


def properties(groups):
    """The groups of an entity but its text (groups 1 and 3), by code in file order."""
    found = {}
    for code, value in groups:
        if code not in (1, 3):
            found.setdefault(code, []).append(value)
    return found


def others_unchanged(before, after, handle):
    """What became of the entities but `handle`: each is there and reads as before."""
    wrong = []
    for h, (kind, groups) in before.items():
        if h not in after:
            wrong.append("%s %s is gone" % (kind, h))
        elif h != handle and after[h][1] != groups:
            wrong.append("%s %s changed" % (kind, h))
    return wrong


def judge_typing(qhost, module, path, handles, work, failures):
    """(b): one qhost run per MText; each typed text is checked against the original drawing."""
    before = {h: (t, g) for t, h, g in entities_of(path)}
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
            failures.append(("(b) %s %s" % (name, handle), "(b) %s %s: not saved (status %d)" % (name, handle, run.returncode)))
            continue
        after = {h: (t, g) for t, h, g in entities_of(out)}
        wrong = others_unchanged(before, after, handle)
        if not wrong:
            old, new = before[handle][1], after[handle][1]
            was, now = properties(old), properties(new)
            changed = sorted(c for c in was if was[c] != now.get(c))
            if changed:
                wrong.append("groups %s changed" % changed)
            # The text as read, then the characters; or, where the text ends in a break (which
            # reads as nothing until something follows it), the text with the characters behind it.
            expected = [plain(text_of(old)) + TYPED, plain(text_of(old) + TYPED)]
            if plain(text_of(new)) not in expected:
                wrong.append("reads %r, expected %r" % (plain(text_of(new)), expected[0]))
            else:
                height = float(was.get(40, ["1"])[0])
                kept = characters(text_of(old), height)
                got = characters(text_of(new), height)[:len(kept)]
                for i, (a, b) in enumerate(zip(kept, got)):
                    if a != b:
                        wrong.append("character %d %r%s: format %s became %s" % (
                            i, a[0], "" if a[0] == b[0] else " became %r" % b[0], a[1], b[1]))
                        break
        if wrong:
            failures.append(("(b) %s %s" % (name, handle), "(b) %s %s: %s" % (name, handle, "; ".join(wrong[:3]))))
        else:
            passed += 1
    return tried, passed


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    qhost, module, corpus = (os.path.abspath(a) for a in sys.argv[1:4])
    options = dict(zip(sys.argv[4::2], sys.argv[5::2]))
    only = options.get("--only")
    known = set()
    if "--known" in options:
        with open(options["--known"], encoding="utf-8") as f:
            known = {line.split("#")[0].strip() for line in f} - {""}
        known = {k for k in known if only is None or k.startswith(only)}
    if not os.path.isdir(corpus):
        print("skipped: the corpus %s is not there" % corpus)
        return 77
    failures = []
    figures = {"(a)": [0, 0], "(b)": [0, 0]}
    texts = 0
    with tempfile.TemporaryDirectory(prefix="quillon-judge-") as work:
        for name in sorted(os.listdir(corpus)):
            if not name.endswith(".dxf"):
                continue
            path = os.path.join(corpus, name)
            found = entities_of(path)
            mtexts = [h for t, h, _ in found if t == "MTEXT"]
            dimensions = [h for t, h, _ in found if t == "DIMENSION"]
            texts += len(mtexts) + len(dimensions)
            if only in (None, "(a)"):
                t, p = judge_leaving(qhost, module, path, mtexts + dimensions, work, failures)
                figures["(a)"][0] += t
                figures["(a)"][1] += p
            if only in (None, "(b)"):
                t, p = judge_typing(qhost, module, path, mtexts, work, failures)
                figures["(b)"][0] += t
                figures["(b)"][1] += p
    failing = {key for key, _ in failures}
    for key, message in failures:
        print(("known: " if key in known else "") + message)
    fixed = sorted(known - failing)
    for key in fixed:
        print("passes now, remove it from the known deviations: " + key)
    print("texts tried: %d" % texts)
    for key, (tried, passed) in figures.items():
        if tried:
            print("%s %d of %d cases pass (%.1f %%)" % (key, passed, tried, 100.0 * passed / tried))
    return 1 if failing - known or fixed else 0


if __name__ == "__main__":
    sys.exit(main())
