#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs each installed program from there, with no
# LD_LIBRARY_PATH: the programs must find the module and the stand-ins' libraries through their
# run path, and the prefix must hold exactly the files listed below.
# installed-programs.sh <build dir> <source dir> <version> <program>...
set -u
build=$1 src=$2 version=$3
shift 3
programs=("$@")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unset LD_LIBRARY_PATH
prefix=$tmp/prefix
status=0
fail() { echo "FAIL: $1"; status=1; }

cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log"; exit 1; }

# What is installed where.
{
  for p in "${programs[@]}"; do echo "bin/$p"; echo "share/man/man1/$p.1.gz"; done
  for l in Quillon.arx libqarx.so libqbase.so libqcolor.so libqcstring.so libqmfc.so libqwin32.so; do
    echo "lib/quillon/$l"
  done
  for d in README.md THIRD-PARTY.md copyright changelog.Debian.gz; do echo "share/doc/quillon/$d"; done
  (cd "$src" && find docs -type f | sed 's|^|share/doc/quillon/|')
} | sort >"$tmp/expected"
(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort) >"$tmp/installed"
diff -u "$tmp/expected" "$tmp/installed" >"$tmp/diff" || { fail "the prefix holds other files than expected"; cat "$tmp/diff"; }

# Run paths relative to the files themselves, never the build tree's.
for f in "${programs[@]/#/bin/}" lib/quillon/*; do
  [ -e "$prefix/$f" ] || continue
  runpath=$(readelf -d "$prefix/$f" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
  case "$f" in
    bin/*) want='$ORIGIN/../lib/quillon' ;;
    *) want='$ORIGIN' ;;
  esac
  [ "$runpath" = "$want" ] || fail "$f: run path '$runpath', wanted '$want'"
done

for p in "${programs[@]}"; do
  out=$("$prefix/bin/$p" --version 2>&1)
  [ "$out" = "$p (Quillon) $version" ] || fail "$p --version said: $out"
done

# A conversion each way gives the build tree's bytes.
printf '%s' 'Пояснение\P{\fArial|b1|i0|c204|p34;Текст}' | iconv -f UTF-8 -t CP1251 >"$tmp/note.mtext"
for conversion in "mtext-to-rtf $tmp/note.mtext" "rtf-to-mtext $src/examples/notes-latin.rtf"; do
  # shellcheck disable=SC2086
  "$prefix/bin/qconvert" $conversion >"$tmp/installed.out" || fail "installed qconvert $conversion failed"
  # shellcheck disable=SC2086
  "$build/apps/qconvert/qconvert" $conversion >"$tmp/built.out"
  [ -s "$tmp/installed.out" ] || fail "installed qconvert $conversion wrote nothing"
  cmp -s "$tmp/installed.out" "$tmp/built.out" || fail "installed qconvert $conversion differs from the build's"
done

# qhost draws the sample, and a session finds the installed module (not the build's) and runs it.
cp "$src/examples/sample.dxf" "$tmp/sample.dxf"
"$prefix/bin/qhost" "$tmp/sample.dxf" --render "$tmp/sample.svg" >"$tmp/render.log" 2>&1 || { fail "qhost --render failed"; cat "$tmp/render.log"; }
head -c 200 "$tmp/sample.svg" 2>/dev/null | grep -q '<svg' || fail "qhost --render wrote no SVG"
printf 'command ARX\ntype ?\n' >"$tmp/session.txt"
(cd "$tmp" && "$prefix/bin/qhost" --script session.txt) >"$tmp/session.log" 2>&1 || { fail "qhost --script failed"; cat "$tmp/session.log"; }
grep -qF "$prefix/lib/quillon/Quillon.arx" "$tmp/session.log" || { fail "qhost did not load the installed module"; cat "$tmp/session.log"; }

# qtext finds a text of the sample as the build's qtext does.
if [ -x "$prefix/bin/qtext" ]; then
  "$prefix/bin/qtext" find -j1 "строка" "$tmp/sample.dxf" >"$tmp/qtext.out" 2>"$tmp/qtext.log" || { fail "installed qtext find failed"; cat "$tmp/qtext.log"; }
  "$build/apps/qtext/qtext" find -j1 "строка" "$tmp/sample.dxf" >"$tmp/qtext-built.out" 2>&1
  grep -q ':MTEXT:' "$tmp/qtext.out" || fail "installed qtext found nothing"
  cmp -s "$tmp/qtext.out" "$tmp/qtext-built.out" || fail "installed qtext find differs from the build's"
fi

[ $status -eq 0 ] && echo "installed: ${programs[*]} run from $prefix"
exit $status
