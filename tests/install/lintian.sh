#!/usr/bin/env bash
# lintian's verdict on the package that Package.DebianPackageUnpacksAndRuns left in <dir>: no error.
# Warnings and notes are printed for the reader, not failed on.
set -u
dir=$1
deb=$(ls "$dir"/quillon_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "FAIL: no package in $dir"; exit 1; }
start=$(date +%s)
lintian --fail-on error --display-info "$deb"
status=$?
echo "lintian: status $status in $(($(date +%s) - start)) s"
exit $status
