#!/usr/bin/env bash
# The main job: opens the sample drawing in qhost, interactively at a terminal (and in a browser
# page served beside it), otherwise with a sample session. First converts each example RTF document
# of examples/ to MText when qconvert is built, to show what the converter does on its own.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
if [ -x "$build/apps/qconvert/qconvert" ]; then
  for doc in "$root"/examples/*.rtf; do
    [ -e "$doc" ] || continue
    echo "== $(basename "$doc")"
    "$build/apps/qconvert/qconvert" rtf-to-mtext "$doc" | iconv -f CP1251 -t UTF-8
    echo
  done
fi
# The person works on a copy, made once in a work folder of their own and kept from run to run, so
# that the clone's sample (which the tests read) is never saved over.
work=${QUILLON_WORK:-${XDG_DATA_HOME:-$HOME/.local/share}/quillon}
mkdir -p "$work"
[ -e "$work/sample.dxf" ] || cp "$root/examples/sample.dxf" "$work/sample.dxf"
echo "== the drawing: $work/sample.dxf (a copy of examples/sample.dxf; SAVE writes it there)"
args=("$work/sample.dxf")
module=$(find "$build" -maxdepth 3 -name Quillon.arx -print -quit 2>/dev/null || true)
if [ -n "$module" ]; then args+=(--load "$module"); fi
if [ -t 0 ]; then
  echo "qhost: $work/sample.dxf. Type commands (VIEW, LIST, MTEXT, LINE, DIMALIGNED, SAVE, QUIT, ...);"
  echo "a line starting with ! is a script line (!pick 15 58, !escape). Or open the page whose address"
  echo "follows in a browser and work there with the mouse and keyboard. QUIT ends (it asks before it"
  echo "drops unsaved changes); Ctrl-C ends at once."
  exec "$build/apps/qhost/qhost" "${args[@]}" --serve
fi
# Without a terminal: the editor's sample session when the module is built, else the host's own.
session="$root/examples/sample-session.txt"
if [ -n "$module" ]; then session="$root/examples/editor-session.txt"; fi
exec "$build/apps/qhost/qhost" "${args[@]}" --script "$session"
