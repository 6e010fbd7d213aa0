#!/usr/bin/env bash
# Checks the layers of the stand-ins by reading every #include under platform/ and apps/qhost:
#  - a layer includes only the public headers (platform/<layer>/include) of the layers it stands on:
#      base   -> base
#      win32  -> base win32
#      mfc    -> base win32 mfc
#      arx    -> base win32 mfc arx
#      qhost  -> base win32 mfc arx qhost cli spell (apps/cli: the options every program answers
#                alike; spell/: the spelling checker, a library of its own that marks misspelt
#                words in the terminal's picture of a rich edit, as qtext uses it)
#  - nothing includes another layer's private files (anything outside its include/ folder);
#  - every quoted header is found, and no header name is published by two layers.
# Each include is resolved as the compiler would find it: beside the including file, under
# platform/ (the "win32/src/..." form the layers use for their own private headers), then in the
# layers' include folders. Prints each violation and exits 1 when there is any.
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

layers="base win32 mfc arx"
declare -A allowed=(
  [base]="base"
  [win32]="base win32"
  [mfc]="base win32 mfc"
  [arx]="base win32 mfc arx"
  [qhost]="base win32 mfc arx qhost cli spell"
)
status=0
fail() { echo "layers: $1"; status=1; }

includes() {  # file -> one included name per line
  sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^">]+)[">].*/\1/p' "$1"
}

layer_of() {  # path -> the layer that owns it, or "" when it is no stand-in's
  case "$1" in
    apps/qhost/*) echo qhost ;;
    apps/cli/*) echo cli ;;
    spell/*) echo spell ;;
    platform/*/*) local rest=${1#platform/}; echo "${rest%%/*}" ;;
    *) echo "" ;;
  esac
}

is_private() {  # path -> whether it lies outside its layer's include/ folder
  case "$1" in
    apps/qhost/*) return 0 ;;
    apps/cli/*.h) return 1 ;;
    spell/Spelling.h) return 1 ;;
    platform/*/include/*) return 1 ;;
    *) return 0 ;;
  esac
}

resolve() {  # file include -> the repository path the include names, "" when none, "ambiguous:..."
  local file=$1 inc=$2 found=() candidate layer
  candidate=$(realpath -m --relative-to=. "$(dirname "$file")/$inc")
  if [ -f "$candidate" ]; then echo "$candidate"; return; fi
  candidate=$(realpath -m --relative-to=. "platform/$inc")
  if [ -f "$candidate" ]; then echo "$candidate"; return; fi
  case "$inc" in apps/cli/*|spell/*) [ -f "$inc" ] && { echo "$inc"; return; } ;; esac
  for layer in $layers; do
    [ -f "platform/$layer/include/$inc" ] && found+=("platform/$layer/include/$inc")
  done
  case ${#found[@]} in
    0) echo "" ;;
    1) echo "${found[0]}" ;;
    *) echo "ambiguous:${found[*]}" ;;
  esac
}

while IFS= read -r file; do
  from=$(layer_of "$file")
  [ -n "${allowed[$from]+x}" ] || { fail "$file is in no known layer ($from)"; continue; }
  while IFS= read -r inc; do
    [ -n "$inc" ] || continue
    target=$(resolve "$file" "$inc")
    case "$target" in
      ambiguous:*) fail "$file includes $inc, which more than one layer publishes: ${target#ambiguous:}"; continue ;;
      "")
        # Not ours: it must be the language's or the system's own header.
        case "$inc" in
          *.h|*.hpp|*.def)
            [ -f "/usr/include/$inc" ] || [ -f "/usr/include/x86_64-linux-gnu/$inc" ] ||
              fail "$file includes an unknown header: $inc" ;;
        esac
        continue ;;
    esac
    to=$(layer_of "$target")
    if [ -z "$to" ]; then
      fail "$file includes $target, which belongs to no stand-in"
    elif ! grep -qw "$to" <<<"${allowed[$from]}"; then
      fail "$file ($from) includes $target from $to, a layer above or beside it"
    elif [ "$to" != "$from" ] && is_private "$target"; then
      fail "$file ($from) includes $target, a private file of $to"
    fi
  done < <(includes "$file")
done < <(find platform apps/qhost -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.def' \) 2>/dev/null | sort)

[ $status -eq 0 ] && echo "layers: hold"
exit $status
