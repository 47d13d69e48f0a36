#!/usr/bin/env bash
# Builds the Debian package from a build folder with cpack, reads its control data and
# file list, unpacks it into a scratch root and checks that root as an install under /usr;
# then judges it as a distribution would: lintian, pedantic, and appstreamcli on the
# metainfo it installs (any error or warning of either fails; said and passed over, in one
# line, where lintian is missing).
# Usage: check_deb.sh BUILD_DIR SOURCE_DIR SCRATCH VERSION
set -uo pipefail
build="$1" source="$2" scratch="$3" version="$4"
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$scratch" && mkdir -p "$scratch"
if ! (cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1); then
  cat "$scratch/cpack.log"
  echo "FAIL: cpack did not make a package"
  exit 1
fi
arch="$(dpkg --print-architecture)"
deb="$scratch/out/glimmo_${version}_${arch}.deb"
[ -f "$deb" ] || { ls "$scratch/out"; echo "FAIL: no $(basename "$deb")"; exit 1; }

info="$(dpkg-deb -I "$deb")"
field() { sed -n "s/^ $1: //p" <<<"$info"; }
[ "$(field Package)" = glimmo ] || fail "the package is called '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "the package's version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "the package is for '$(field Architecture)'"
[ "$(field Section)" = games ] || fail "the package is in section '$(field Section)'"
depends="$(field Depends)"
# Worked out by dpkg-shlibdeps from what the programs link: the C library and SDL at least.
grep -q 'libc6 (>= ' <<<"$depends" || fail "the dependencies lack the C library: '$depends'"
grep -q 'libsdl2-2.0-0 (>= ' <<<"$depends" || fail "the dependencies lack SDL: '$depends'"
[ -n "$(field Description)" ] || fail "the package has no description"

# Every file under /usr, owned by root, and nothing outside it.
listing="$(dpkg-deb -c "$deb")"
outside="$(awk '{print $6}' <<<"$listing" | grep -vE '^\./(usr/.*)?$')"
[ -z "$outside" ] || fail "files outside /usr: $outside"
owners="$(awk '{print $2}' <<<"$listing" | sort -u)"
[ "$owners" = root/root ] || fail "files not owned by root: $owners"

root="$scratch/root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x could not unpack the package"
bash "$source/tests/install/check_install.sh" "$build" "$source" "$root/usr" "$version" --installed \
  || failures=$((failures + 1))

if command -v lintian >/dev/null && command -v appstreamcli >/dev/null; then
  # lintian warns on stderr that it runs as root; its tags are on stdout.
  lintian --pedantic --display-info --display-experimental --fail-on error,warning "$deb" 2>/dev/null \
    >"$scratch/lintian.txt"
  code=$?
  cat "$scratch/lintian.txt"
  if [ $code -ne 0 ] || grep -qE '^[EW]: ' "$scratch/lintian.txt"; then
    fail "lintian finds errors or warnings in $(basename "$deb") (exit $code)"
  fi
  appstreamcli validate --pedantic --no-net "$root/usr/share/metainfo/io.github.glimmo.glimmo.metainfo.xml" \
    || fail "appstreamcli refuses the package's metainfo"
else
  echo "lintian or appstreamcli is not installed: the package is not judged as a distribution would"
fi

[ $failures -eq 0 ] && echo "package $(basename "$deb") checked, lintian and AppStream clean"
exit $((failures > 0))
