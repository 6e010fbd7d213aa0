#!/usr/bin/python3
"""qtext spell end to end, on drawings made by ezdxf.

usage: qtext_spell_test.py QTEXT drawings   -- lines, suggestions, exit statuses, options, -j
       qtext_spell_test.py QTEXT corpus     -- every corpus MText string as a text of one drawing:
                                               each word marked is listed below with its reason
Exits 0 when all holds, 1 otherwise, 77 (skipped) for the corpus when ../shared is absent.
"""
import os
import shutil
import subprocess
import sys
import tempfile

import ezdxf

QTEXT = sys.argv[1]
SKIP = 77
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def run(config, *args):
    env = dict(os.environ, XDG_CONFIG_HOME=config)
    r = subprocess.run([QTEXT, *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
    return r.returncode, r.stdout.decode("utf-8", "replace"), r.stderr.decode("utf-8", "replace")


def drawings(tmp):
    config = os.path.join(tmp, "config")
    os.makedirs(os.path.join(config, "quillon"))
    doc = ezdxf.new("R2000")
    doc.encoding = "cp1251"
    msp = doc.modelspace()
    mtext = msp.add_mtext("{\\L Спе}цификайия и {\\C1;Pannel} 1200 mm, ГОСТ 21.101")
    text = doc.layout("Layout1").add_text("%%uПланн этажа")
    dim = msp.add_linear_dim(base=(0, 5), p1=(0, 0), p2=(10, 0), text="Растояние <>")
    dim.dimension.dxf.text = "Растояние <>"
    block = doc.blocks.new("TAG")
    in_block = block.add_mtext("Recieve \\S1/2;")
    msp.add_blockref("TAG", (20, 20))
    plan = os.path.join(tmp, "plan.dxf")
    doc.saveas(plan)
    doc = ezdxf.new("R2018")
    doc.modelspace().add_mtext("Стена из кирпича {\\H2x;толщиной} 250 мм\\PWall of brick, see plan.dxf")
    clean = os.path.join(tmp, "clean.dxf")
    doc.saveas(clean)

    rc, out, err = run(config, "spell", plan, clean)
    lines = out.splitlines()
    check(rc == 1, "a misspelt word: exit 1: %d %s" % (rc, err))
    words = [(l.split(":")[1], l.split(":")[2]) for l in lines]
    expected = [(mtext.dxf.handle, "Спецификайия"), (mtext.dxf.handle, "Pannel"),
                (dim.dimension.dxf.handle, "Растояние"), (text.dxf.handle, "Планн"), (in_block.dxf.handle, "Recieve")]
    check(words == expected, "file:handle:word, in the order of the texts: %r" % lines)
    check(all(l.startswith(plan + ":") for l in lines), "each line names its file: %r" % lines)
    offered = {w: l.split(": ", 1)[1].split(", ") if ": " in l else [] for (_, w), l in zip(words, lines)}
    intended = {"Спецификайия": "Спецификация", "Pannel": "Panel", "Растояние": "Расстояние", "Планн": "План",
                "Recieve": "Receive"}
    check(all(intended[w] in offered[w] and len(offered[w]) <= 5 for w in intended),
          "the intended word among at most five suggestions: %r" % lines)
    check(not any(len(part) == 1 for o in offered.values() for s in o for part in s.split()),
          "no suggestion splits off a single letter: %r" % offered)
    check(lines[0] == "%s:%s:Спецификайия: Спецификация" % (plan, mtext.dxf.handle), "one line exactly: %r" % lines[0])
    for jobs in ("1", "2"):
        check(run(config, "spell", "-j", jobs, plan, clean)[1] == out, "-j %s: the same lines in the same order" % jobs)
    rc, out, err = run(config, "spell", clean)
    check(rc == 0 and out == "" and err == "", "nothing misspelt: exit 0, no output: %d %r %r" % (rc, out, err))

    # The personal dictionary: its words are right.
    with open(os.path.join(config, "quillon", "dictionary.txt"), "w", encoding="utf-8") as f:
        f.write("Спецификайия\npannel\nРастояние\nПланн\nRecieve\n")
    rc, out, _ = run(config, "spell", plan)
    check(rc == 0 and out == "", "personal words are right (pannel takes Pannel): %d %r" % (rc, out))
    os.remove(os.path.join(config, "quillon", "dictionary.txt"))

    # Capitals checked when the options say so; a dictionary that is nowhere is an error.
    options = os.path.join(config, "quillon", "spelling.conf")
    with open(options, "w") as f:
        f.write("capitals = check\n")
    rc, out, _ = run(config, "spell", plan)
    check(rc == 1 and ":ГОСТ:" not in out and len(out.splitlines()) == 5, "ГОСТ is in the dictionary: %r" % out)
    with open(options, "w") as f:
        f.write("cyrillic = xx_XX\n")
    rc, out, err = run(config, "spell", plan)
    check(rc == 2 and "xx_XX" in err, "a missing dictionary: exit 2 and its name: %d %r" % (rc, err))
    check(all(":Pannel:" in l or ":Recieve:" in l for l in out.splitlines()) and out, "Latin words still checked: %r" % out)
    os.remove(options)

    # Errors: bad files named, the others checked; usage.
    junk = os.path.join(tmp, "junk.dxf")
    open(junk, "wb").write(b"not a drawing\n")
    rc, out, err = run(config, "spell", junk, os.path.join(tmp, "missing.dxf"), plan)
    check(rc == 2 and "junk.dxf" in err and "missing.dxf" in err and len(out.splitlines()) == 5,
          "bad files: exit 2, named, the good one checked: %d %r" % (rc, err))
    check(run(config, "spell")[0] == 2, "spell without a file: exit 2")
    check(run(config, "spell", "-i", plan)[0] == 2, "-i is no option of spell: exit 2")
    check(run(config, "spell", plan, "--in-place")[0] == 2, "--in-place is no option of spell: exit 2")


# Every word qtext spell marks in the corpus, by why it is not in the dictionaries. A word marked
# that is not listed here fails the test, and so does a word listed here that is not marked.
CORPUS_MARKS = {
    "Lorem ipsum, the placeholder text, is Latin, not English":
        "Lorem ipsum amet consetetur sadipscing elitr sed nonumy eirmod tempor invidunt labore dolore magna "
        "aliquyam erat voluptua vero eos accusam justo dolores rebum clita kasd gubergren takimata sanctus",
    "German, Slovene and Portuguese: Latin script goes to en_US unless the options choose more":
        "Pregledal Šola Ime Priimek Vezana plošča Tehnološki za izdelek Čas Pripomočki Blätter FuErde "
        "Planungsbüro Gebäude Bezeichnung Zeichnungs Musterplatz Musterweg Einfügepunkt Blattrand Anleitung "
        "fuer das Einfuegen von Planköpfen Nordpfeile Änderung Übersichtsplan Fachtechnisch geprüft "
        "Schutzvermerk nach beachten Titel zusätzlicher quer Plankopf groß gelbe wird bei Bedarf über "
        "Abbruch Infoschild Notaus Einbindung ehem Staubsauger Minas Gerais São Paulo Mato Grosso Sul",
    "names of people, firms and streets":
        "Rajko Grčar Jože Horvat Torro Glaswerk Ernstthal Paolo Caroni Пермякова Корсис ВирКрафт Инжиниринг "
        "Теплоконтроль",
    "names of programs, fonts and settings":
        "ezdxf Arial Qcad Calibri Consolas ByLayer Mtext mText txt gdt BeginApex EndApex GeoClosed",
    "placeholders and labels of test drawings": "abc abcd Xxp Xpc xxxxx ap kp ge",
    "words written together, or run into one by a code with no space (\\f, \\X)":
        "wordword wordwordword textFont SecondLine",
    "a stack inside a word cuts it (tex\\St^b;lah)": "tex lah",
    "British spelling; the dictionary is en_US": "behaviour coloured",
    "misspelt in the drawing": "Allways ommitted travers Baumanagment Еденица еденицы",
    "terms of the trade the dictionaries lack":
        "Wipeout wipeout overstrike stepsize multiline helvetica-like скруглить расцепитель Расцепитель "
        "расцепителя уставка теплосчетчика Термореле Дифманометр перепадометр Дифманометр-перепадометр "
        "Металлорукав Термореобразователь погружной",
    "a Latin letter with a Cyrillic index, as electrical drawings write currents, voltages and power":
        "Iном Iрасч Iпуск Uном Рр",
    "shortenings without their full stop, and lux with a capital": "Изм напряж Лк",
    "a word broken over two lines with no hyphen": "измере ния",
    "%%o and %%u are codes of single-line text only: multiline text shows them as written": "oover oonover ooff utext",
    "Latin and Greek letters in one word": "abcΛΑΓΕΡxyz",
}


def corpus(tmp):
    shared = os.environ.get("QUILLON_SHARED_DIR", os.path.join(os.path.dirname(__file__), "..", "..", "..", "shared"))
    path = os.path.join(shared, "corpus", "mtext_strings.txt")
    if not os.path.exists(path):
        print("SKIPPED: the corpus (../shared/corpus/mtext_strings.txt) is absent")
        return SKIP
    with open(path, encoding="utf-8") as f:
        strings = [line.rstrip("\n") for line in f if line.rstrip("\n") and "\r" not in line]
    doc = ezdxf.new("R2018")
    msp = doc.modelspace()
    handles = {}
    for k, s in enumerate(strings):
        handles[msp.add_mtext(s).dxf.handle] = k
    drawing = os.path.join(tmp, "corpus.dxf")
    doc.saveas(drawing)
    config = os.path.join(tmp, "config")
    os.makedirs(config, exist_ok=True)
    rc, out, err = run(config, "spell", drawing)
    check(rc in (0, 1) and err == "", "qtext spell over the corpus: %d %r" % (rc, err))
    marked = {}
    for line in out.splitlines():
        handle, word = line[len(drawing) + 1:].split(":")[:2]
        marked.setdefault(word, []).append(strings[handles[handle]])
    listed = {w: reason for reason, words in CORPUS_MARKS.items() for w in words.split()}
    for word in sorted(set(marked) - set(listed)):
        check(False, "marked without a reason: %r in %r" % (word, marked[word][0][:100]))
    for word in sorted(set(listed) - set(marked)):
        check(False, "listed (%s) but not marked: %r" % (listed[word], word))
    print("%d distinct words marked in %d corpus strings" % (len(marked), len(strings)))


def main():
    tmp = tempfile.mkdtemp(prefix="qtext-spell-test-")
    try:
        if (drawings if sys.argv[2] == "drawings" else corpus)(tmp) == SKIP:
            return SKIP
    finally:
        shutil.rmtree(tmp, ignore_errors=True)
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
