#!/usr/bin/env bash
# The seam check must fail on each kind of violation it is there to catch.
set -u
check=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
make_tree() {
  rm -rf "$tmp/t"; mkdir -p "$tmp/t/converter" "$tmp/t/host" "$tmp/t/platform/mfc/include" "$tmp/t/platform/mfc/src" "$tmp/t/platform/arx/include/qplatform"
  echo '#pragma once' > "$tmp/t/platform/mfc/include/afx.h"
  echo '#pragma once' > "$tmp/t/platform/mfc/include/afxwin.h"
  echo '#pragma once' > "$tmp/t/platform/arx/include/qplatform/InputQueue.h"
  echo '#pragma once' > "$tmp/t/host/EditTarget.h"
  printf '#include <afx.h>\n#include <string>\n' > "$tmp/t/converter/A.cpp"
}
expect() {  # expect <0|1> <what>
  bash "$check" "$tmp/t" >/dev/null; rc=$?
  if [ "$rc" != "$1" ]; then echo "FAIL: $2 (exit $rc, wanted $1)"; bash "$check" "$tmp/t"; exit 1; fi
  echo "ok: $2"
}
make_tree; expect 0 "a clean tree passes"
make_tree; echo '#include <afxwin.h>' >> "$tmp/t/converter/A.cpp"; expect 1 "converter using a window header"
make_tree; echo '#include "platform/mfc/src/Impl.h"' >> "$tmp/t/host/B.cpp"; expect 1 "module reaching into a stand-in's private file"
make_tree; echo '#include <qplatform/InputQueue.h>' >> "$tmp/t/host/B.cpp"; expect 1 "module using the front-end API"
make_tree; echo '#include "host/EditTarget.h"' >> "$tmp/t/platform/mfc/src/C.cpp"; expect 1 "stand-in including a module header"
make_tree; echo '#include "host/Missing.h"' >> "$tmp/t/converter/A.cpp"; expect 1 "a module header that does not exist"
