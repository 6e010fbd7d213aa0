#!/usr/bin/env bash
# The main job: converts each example RTF document of examples/ to MText and prints it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
for doc in "$root"/examples/*.rtf; do
  [ -e "$doc" ] || continue
  echo "== $(basename "$doc")"
  "$build/apps/qconvert/qconvert" rtf-to-mtext "$doc" | iconv -f CP1251 -t UTF-8
  echo
done
