#!/usr/bin/env bash
# run-sanitized.sh <sanitizer build folder> <command...>: runs the command (a test) with
# QUILLON_QHOST, QUILLON_MODULE_FILE and QUILLON_QCONVERT naming the sanitizer build's programs
# (scripts/build-sanitized.sh). Any sanitizer report ends the program with a failure.
set -eu
build=$1
shift
for program in apps/qhost/qhost Quillon.arx apps/qconvert/qconvert; do
  if [ ! -e "$build/$program" ]; then
    echo "no sanitizer build of $program in $build: build it with scripts/build-sanitized.sh"
    exit 1
  fi
done
export QUILLON_QHOST=$build/apps/qhost/qhost QUILLON_MODULE_FILE=$build/Quillon.arx
export QUILLON_QCONVERT=$build/apps/qconvert/qconvert
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")" && pwd)/lsan-suppressions.txt:print_suppressions=0
exec "$@"
