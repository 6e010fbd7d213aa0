#!/usr/bin/python3
"""The README a newcomer reads: its first three lines say what the project is, the two commands
(make run, make test) follow at once, and every option `qhost --help` prints is documented in it
(written as `--option`). Usage: readme_options.py QHOST README.md"""
import re
import subprocess
import sys

qhost, readme_path = sys.argv[1], sys.argv[2]
usage = subprocess.run([qhost, "--help"], capture_output=True, text=True, check=True).stdout
options = sorted(set(re.findall(r"(?<![\w-])--[a-z][a-z-]*", usage)))
if not options:
    sys.exit("FAIL qhost --help printed no options:\n" + usage)
readme = open(readme_path, encoding="utf-8").read()
failures = ["%s: not documented in the README (as `%s ...`)" % (o, o) for o in options
            if not re.search(r"`%s[` ]" % re.escape(o), readme)]

lines = readme.split("\n")
if any(not line.strip() for line in lines[:3]):
    failures.append("the first three lines are not all text:\n" + "\n".join(lines[:3]))
block = lines[3:12]
commands = [line.split("#")[0].strip() for line in block]
if lines[3:5] != ["", "```"] or "make run" not in commands or "make test" not in commands:
    failures.append("make run and make test do not follow the first three lines:\n" + "\n".join(block))

for failure in failures:
    print("FAIL " + failure)
if failures:
    sys.exit(1)
print("README: %d options of qhost --help documented: %s" % (len(options), " ".join(options)))
