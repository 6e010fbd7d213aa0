#!/usr/bin/env bash
# run-fuzzer.sh <fuzzer binary> <seed corpus folder> <seconds> [max input bytes]: runs the saved
# corpus once, then fuzzes for the given time with new inputs kept in a scratch folder. Fails on
# any crash, sanitizer report or hang (an input that takes over 10 s). Above the default 64 KiB,
# each seed is also given doubled up to the largest size, and inputs that size are tried from
# the start, so that a target that turns quadratic times out on them; an input may then take
# 30 s (a linear pass takes a few seconds on a megabyte under the sanitizers, a quadratic one
# minutes). memcmp is checked only as far as it compares: AddressSanitizer's default checks
# both whole ranges, which makes a plain search for a long pattern quadratic under it alone.
set -eu -o pipefail
bin=$1 corpus=$2 seconds=$3 max_len=${4:-65536}
if [ ! -x "$bin" ]; then echo "no fuzz binary $bin: build it with scripts/build-fuzz.sh"; exit 1; fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$corpus"
length_control=() timeout=10
if [ "$max_len" -gt 65536 ]; then
  length_control=(-len_control=0) timeout=30
  for seed in "$corpus"/*; do
    [ -s "$seed" ] || continue
    large=$scratch/large-$(basename "$seed")
    cp "$seed" "$large"
    while [ $(( $(stat -c %s "$large") * 2 )) -le "$max_len" ]; do
      cat "$large" "$large" >"$large.twice"
      mv "$large.twice" "$large"
    done
  done
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_memcmp=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$bin" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=4096 -max_len="$max_len" ${length_control[@]+"${length_control[@]}"} \
  -artifact_prefix="$scratch/" -print_final_stats=1 "$scratch" "$corpus" 2>&1 | tail -n 25
