#!/usr/bin/env bash
# Builds the Debian package from a build folder with cpack and judges it as a distribution
# would: lintian, pedantic, and appstreamcli on the metainfo the package installs. Any
# error or warning of either fails; lintian's info and pedantic tags are shown.
# Usage: check_lint.sh BUILD_DIR SCRATCH VERSION
set -uo pipefail
build="$1" scratch="$2" version="$3"
for tool in lintian appstreamcli cpack dpkg-deb dpkg-shlibdeps; do
  command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
failures=0

rm -rf "$scratch" && mkdir -p "$scratch"
if ! (cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1); then
  cat "$scratch/cpack.log"
  echo "FAIL: cpack did not make a package"
  exit 1
fi
deb="$scratch/out/glimmo_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$scratch/out"; echo "FAIL: no $(basename "$deb")"; exit 1; }

# lintian warns on stderr that it runs as root; its tags are on stdout.
lintian --pedantic --display-info --display-experimental --fail-on error,warning "$deb" 2>/dev/null \
  >"$scratch/lintian.txt"
code=$?
cat "$scratch/lintian.txt"
if [ $code -ne 0 ] || grep -qE '^[EW]: ' "$scratch/lintian.txt"; then
  echo "FAIL: lintian finds errors or warnings in $(basename "$deb") (exit $code)"
  failures=$((failures + 1))
fi

dpkg-deb -x "$deb" "$scratch/root"
metainfo="$scratch/root/usr/share/metainfo/io.github.glimmo.glimmo.metainfo.xml"
if ! appstreamcli validate --pedantic --no-net "$metainfo"; then
  echo "FAIL: appstreamcli refuses the package's metainfo"
  failures=$((failures + 1))
fi

[ $failures -eq 0 ] && echo "package $(basename "$deb") is lintian and AppStream clean"
exit $((failures > 0))
