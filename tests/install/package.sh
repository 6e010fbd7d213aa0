#!/usr/bin/env bash
# Builds the Debian package from the build tree as it is (CPack installs it; nothing is rebuilt),
# unpacks it with dpkg -x and runs qhost --version from there. The package stays in <out> for the
# lintian test.
# package.sh <build dir> <out dir> <version>
set -u
build=$1 out=$2 version=$3
rm -rf "$out"
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unset LD_LIBRARY_PATH
status=0
fail() { echo "FAIL: $1"; status=1; }

cpack --config "$build/CPackConfig.cmake" -B "$out" >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; exit 1; }
deb=$(ls "$out"/quillon_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { cat "$tmp/cpack.log"; echo "FAIL: cpack made no quillon_*.deb"; exit 1; }
dpkg-deb --field "$deb" Package Version Section Maintainer Depends

[ "$(dpkg-deb --field "$deb" Version)" = "$version-1" ] || fail "the package's version is not $version-1"
# dpkg-shlibdeps found the libraries the programs link: the C library and cpp-httplib at least.
depends=$(dpkg-deb --field "$deb" Depends)
for needed in libc6 libstdc++6 libcpp-httplib; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

dpkg -x "$deb" "$tmp/root"
said=$("$tmp/root/usr/bin/qhost" --version 2>&1)
[ "$said" = "qhost (Quillon) $version" ] || fail "the unpacked qhost --version said: $said"
for f in copyright changelog.Debian.gz; do
  [ -f "$tmp/root/usr/share/doc/quillon/$f" ] || fail "no /usr/share/doc/quillon/$f"
done
for f in "$tmp"/root/usr/bin/* "$tmp"/root/usr/lib/quillon/*; do
  file "$f" | grep -q ', stripped' || fail "${f#"$tmp/root"} is not stripped"
done
exit $status
