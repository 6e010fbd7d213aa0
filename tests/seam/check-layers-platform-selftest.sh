#!/usr/bin/env bash
# The stand-ins' layer check must pass a tree that keeps the layers and fail on each kind of
# violation it is there to catch.
set -u
check=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
make_tree() {
  rm -rf "$tmp/t"
  local layer
  for layer in base win32 mfc arx; do mkdir -p "$tmp/t/platform/$layer/include/qplatform" "$tmp/t/platform/$layer/src"; done
  mkdir -p "$tmp/t/apps/qhost"
  echo '#pragma once' > "$tmp/t/platform/base/include/qplatform/InputQueue.h"
  echo '#pragma once' > "$tmp/t/platform/win32/include/windows.h"
  echo '#pragma once' > "$tmp/t/platform/win32/src/Internal.h"
  echo '#pragma once' > "$tmp/t/platform/mfc/include/afxwin.h"
  echo '#pragma once' > "$tmp/t/platform/mfc/src/AfxState.h"
  echo '#pragma once' > "$tmp/t/platform/arx/include/qplatform/Host.h"
  printf '#include "qplatform/InputQueue.h"\n#include <string>\n' > "$tmp/t/platform/base/src/Queue.cpp"
  printf '#include <windows.h>\n#include "win32/src/Internal.h"\n#include "qplatform/InputQueue.h"\n' > "$tmp/t/platform/win32/src/Window.cpp"
  printf '#include <afxwin.h>\n#include "mfc/src/AfxState.h"\n#include <windows.h>\n' > "$tmp/t/platform/mfc/src/Wnd.cpp"
  printf '#include "qplatform/Host.h"\n#include <afxwin.h>\n#include "qplatform/InputQueue.h"\n' > "$tmp/t/platform/arx/src/Editor.cpp"
  printf '#include "qplatform/Host.h"\n#include "qplatform/InputQueue.h"\n#include <windows.h>\n#include "Local.h"\n' > "$tmp/t/apps/qhost/main.cpp"
  echo '#pragma once' > "$tmp/t/apps/qhost/Local.h"
}
expect() {  # expect <0|1> <what>
  bash "$check" "$tmp/t" >/dev/null; rc=$?
  if [ "$rc" != "$1" ]; then echo "FAIL: $2 (exit $rc, wanted $1)"; bash "$check" "$tmp/t"; exit 1; fi
  echo "ok: $2"
}
plant() {  # plant <file> <include line>
  make_tree; echo "$2" >> "$tmp/t/$1"
}
make_tree; expect 0 "a tree that keeps the layers passes"
plant platform/base/src/Queue.cpp '#include <windows.h>'; expect 1 "the base including the window stand-in"
plant platform/win32/src/Window.cpp '#include "qplatform/Host.h"'; expect 1 "the window stand-in including the host stand-in above it"
plant platform/win32/src/Window.cpp '#include <afxwin.h>'; expect 1 "the window stand-in including MFC above it"
plant platform/mfc/src/Wnd.cpp '#include "qplatform/Host.h"'; expect 1 "MFC including the host stand-in above it"
plant platform/mfc/src/Wnd.cpp '#include "win32/src/Internal.h"'; expect 1 "MFC including a private file of the window stand-in"
plant platform/arx/src/Editor.cpp '#include "../../mfc/src/AfxState.h"'; expect 1 "a private file reached by a relative path"
plant apps/qhost/main.cpp '#include "mfc/src/AfxState.h"'; expect 1 "qhost including a stand-in's private file"
plant platform/arx/src/Editor.cpp '#include "WebState.h"'; expect 1 "a header that no layer has (qhost's, from below)"
make_tree; echo '#pragma once' > "$tmp/t/platform/arx/include/qplatform/InputQueue.h"; expect 1 "a header name published by two layers"
