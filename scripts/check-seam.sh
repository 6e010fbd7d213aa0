#!/usr/bin/env bash
# Checks the seam between the module and the platform stand-ins by reading every #include:
#  - the module (converter spell host dialog controls resources) reaches the platform only through
#    the public headers that carry the platform's own names (platform/*/include), never
#    through a stand-in's private files or its front-end API (qplatform/...);
#  - converter/ uses no platform header but the CString stand-in (afx.h, afxcoll.h with
#    windows.h's basic types) and its own colour-lookup interface;
#  - no platform file includes a module header;
#  - the module's folders include each other only downwards, as the table `layers` below lists;
#    the one exception is host/EditorCommand.cpp, the command that runs the dialog.
# Prints each violation and exits 1 when there is any.
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

modules="converter spell host dialog controls resources"
# folder: the other module folders it may include
layers="
converter:
spell: converter
resources:
controls: resources
host: converter resources spell
dialog: controls converter host resources
"
# file: the module folder it may include besides its own folder's allowed ones
exceptions="
host/EditorCommand.cpp: dialog
"
# headers the build generates (cmake/*.h.in) that any module folder may include
generated="QuillonVersion.h"
public=$(find platform/*/include -type f \( -name '*.h' -o -name '*.def' \) 2>/dev/null | sed -E 's|^platform/[^/]+/include/||' | sort -u)
status=0
fail() { echo "seam: $1"; status=1; }

includes() {  # file -> one included name per line
  sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^">]+)[">].*/\1/p' "$1"
}

is_public() { grep -qxF "$1" <<<"$public"; }

may_include() {  # may_include <file> <its folder> <included folder>
  [ "$2" = "$3" ] && return 0
  grep -qw "$3" <<<"$(sed -n "s|^$2:||p" <<<"$layers")" && return 0
  grep -qw "$3" <<<"$(sed -n "s|^$1:||p" <<<"$exceptions")"
}

for dir in $modules; do
  [ -d "$dir" ] || continue
  while IFS= read -r file; do
    while IFS= read -r inc; do
      [ -n "$inc" ] || continue
      case "$inc" in
        platform/*|*/src/*|qplatform/*) fail "$file includes stand-in internals: $inc"; continue ;;
      esac
      top=${inc%%/*}
      if [ "$top" != "$inc" ] && grep -qw "$top" <<<"$modules"; then
        [ -f "$inc" ] || fail "$file includes a missing module header: $inc"
        may_include "$file" "$dir" "$top" || fail "$file: $dir/ may not include $top/ ($inc)"
        continue
      fi
      if is_public "$inc"; then
        if [ "$dir" = converter ]; then
          case "$inc" in
            afx.h|afxcoll.h) ;;
            *) fail "$file: the converters may use only the CString stand-in, not $inc" ;;
          esac
        fi
        continue
      fi
      [ -f "$(dirname "$file")/$inc" ] && continue  # a header beside the file
      grep -qxF "$inc" <<<"$generated" && continue
      case "$inc" in
        *.h|*.hpp|*.def)
          # Any other named header must be the language's or the system's own.
          if [ -f "/usr/include/$inc" ] || [ -f "/usr/include/x86_64-linux-gnu/$inc" ]; then
            [ "$dir" = converter ] || continue
            case "$inc" in
              iconv.h|dlfcn.h|unistd.h|sys/*) fail "$file: the converters use no system service: $inc" ;;
            esac
          else
            fail "$file includes an unknown header: $inc"
          fi ;;
      esac
    done < <(includes "$file")
  done < <(find "$dir" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) | sort)
done

while IFS= read -r file; do
  while IFS= read -r inc; do
    top=${inc%%/*}
    if [ "$top" != "$inc" ] && grep -qw "$top" <<<"$modules"; then
      fail "$file (a stand-in) includes a module header: $inc"
    fi
  done < <(includes "$file")
done < <(find platform -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

[ $status -eq 0 ] && echo "seam: holds"
exit $status
