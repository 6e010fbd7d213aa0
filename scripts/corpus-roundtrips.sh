#!/usr/bin/env bash
# corpus-roundtrips.sh <shared folder>: with the programs QUILLON_QHOST and QUILLON_QCONVERT name,
# opens every drawing of the corpus, lists and draws it, saves it under another name and
# compares the bytes; converts the corpus's MText strings to RTF and through the control and
# back. Fails on a changed byte, a failed run or a sanitizer report.
set -u
shared=$1
corpus=$shared/corpus
if [ ! -d "$corpus/dxf" ]; then echo "no corpus in $shared: skipped"; exit 0; fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
check() {  # check <what> <status> <stderr file>
  if [ "$2" -ne 0 ] || grep -q -E 'Sanitizer|runtime error' "$3"; then
    echo "FAILED: $1 (exit status $2)"
    head -n 40 "$3"
    failed=1
  fi
}
for drawing in "$corpus"/dxf/*.dxf; do
  name=$(basename "$drawing")
  printf 'command SNAPSHOT\ncommand VIEW\ncommand SAVEAS "%s"\n' "$work/$name" >"$work/session.txt"
  "$QUILLON_QHOST" --no-module "$drawing" --script "$work/session.txt" </dev/null >"$work/out" 2>"$work/err"
  check "$name" $? "$work/err"
  cmp -s "$drawing" "$work/$name" || { echo "FAILED: $name saved unchanged is not the same bytes"; failed=1; }
done
for command in mtext-to-rtf mtext-roundtrip; do
  "$QUILLON_QCONVERT" "$command" "$corpus/mtext_strings.txt" >"$work/out" 2>"$work/err"
  check "qconvert $command mtext_strings.txt" $? "$work/err"
done
[ "$failed" -eq 0 ] && echo "every corpus round trip is clean"
exit "$failed"
