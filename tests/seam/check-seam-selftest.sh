#!/usr/bin/env bash
# The seam check must fail on each kind of violation it is there to catch.
set -u
check=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
make_tree() {
  rm -rf "$tmp/t"; mkdir -p "$tmp/t/converter" "$tmp/t/spell" "$tmp/t/host" "$tmp/t/dialog" "$tmp/t/controls" "$tmp/t/resources" \
    "$tmp/t/platform/mfc/include" "$tmp/t/platform/mfc/src" "$tmp/t/platform/arx/include/qplatform"
  echo '#pragma once' > "$tmp/t/platform/mfc/include/afx.h"
  echo '#pragma once' > "$tmp/t/platform/mfc/include/afxwin.h"
  echo '#pragma once' > "$tmp/t/platform/arx/include/qplatform/InputQueue.h"
  for h in host/EditTarget.h host/EditorCommand.h dialog/MTextEditorDialog.h controls/EditorRichEdit.h \
           converter/KeptCodes.h spell/Spelling.h resources/resource.h; do
    echo '#pragma once' > "$tmp/t/$h"
  done
  # Each folder with the includes its layer allows, and the command that runs the dialog.
  printf '#include "resources/resource.h"\n' > "$tmp/t/controls/EditorRichEdit.cpp"
  printf '#include "converter/KeptCodes.h"\n#include "resources/resource.h"\n' > "$tmp/t/host/EditTarget.cpp"
  printf '#include "dialog/MTextEditorDialog.h"\n#include "host/EditTarget.h"\n' > "$tmp/t/host/EditorCommand.cpp"
  printf '#include "controls/EditorRichEdit.h"\n#include "converter/KeptCodes.h"\n#include "host/EditTarget.h"\n#include "resources/resource.h"\n' \
    > "$tmp/t/dialog/MTextEditorDialog.cpp"
  printf '#include <afx.h>\n#include <string>\n' > "$tmp/t/converter/A.cpp"
  printf '#include "converter/KeptCodes.h"\n#include "spell/Spelling.h"\n' > "$tmp/t/spell/Checker.cpp"
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
# The module's layers: each include upwards or sideways that the table does not allow.
plant() {  # plant <file> <included header> <what>
  make_tree; echo "#include \"$2\"" >> "$tmp/t/$1"; expect 1 "$3"
}
plant converter/A.cpp host/EditTarget.h "converter including host"
plant converter/A.cpp resources/resource.h "converter including resources"
plant converter/A.cpp spell/Spelling.h "converter including spell"
plant spell/Checker.cpp host/EditTarget.h "spell including host"
plant resources/resource.h controls/EditorRichEdit.h "resources including controls"
plant controls/EditorRichEdit.cpp host/EditTarget.h "controls including host"
plant controls/EditorRichEdit.cpp converter/KeptCodes.h "controls including converter"
plant controls/EditorRichEdit.cpp dialog/MTextEditorDialog.h "controls including dialog"
plant host/EditTarget.cpp dialog/MTextEditorDialog.h "host including dialog outside the command"
plant host/EditorCommand.h dialog/MTextEditorDialog.h "the command's header including dialog"
plant host/EditTarget.cpp controls/EditorRichEdit.h "host including controls"
