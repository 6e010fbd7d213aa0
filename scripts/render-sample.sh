#!/bin/sh
# Draws examples/sample.dxf as examples/editor-session.txt leaves it, for the README:
# docs/sample-edited.svg (qhost's renderer) and docs/sample-edited.png (rsvg-convert, librsvg2-bin).
set -eu
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/sample.dxf "$work/sample.dxf"
XDG_CONFIG_HOME="$work" build/apps/qhost/qhost "$work/sample.dxf" --script examples/editor-session.txt \
  --render docs/sample-edited.svg >/dev/null
rsvg-convert --width 900 docs/sample-edited.svg --output docs/sample-edited.png
