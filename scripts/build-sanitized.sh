#!/usr/bin/env bash
# Builds qhost, the module and qconvert with GCC, AddressSanitizer and UndefinedBehaviorSanitizer
# (the tests run the golden sessions and the corpus round trips with them).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-sanitize}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target qhost quillon_arx qconvert
