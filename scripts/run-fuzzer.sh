#!/usr/bin/env bash
# run-fuzzer.sh <fuzzer binary> <seed corpus folder> <seconds>: runs the saved corpus once, then
# fuzzes for the given time with new inputs kept in a scratch folder. Fails on any crash,
# sanitizer report or hang (an input that takes over 10 s).
set -eu -o pipefail
bin=$1 corpus=$2 seconds=$3
if [ ! -x "$bin" ]; then echo "no fuzz binary $bin: build it with scripts/build-fuzz.sh"; exit 1; fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$corpus"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=65536 \
  -artifact_prefix="$scratch/" -print_final_stats=1 "$scratch" "$corpus" 2>&1 | tail -n 25
