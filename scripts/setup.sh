#!/usr/bin/env bash
# Installs the Debian packages of scripts/packages.txt that are not installed yet, npm when the
# node packaging lacks it, and the browser tests' node packages (tests/browser, from its lock
# file) when they are missing; does nothing when all are there.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
missing=()
while read -r pkg; do
  case "$pkg" in ''|'#'*) continue ;; esac
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done < "$here/packages.txt"
# Debian's nodejs comes without npm; other builds of node carry their own.
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
"$here/browser-packages.sh"
