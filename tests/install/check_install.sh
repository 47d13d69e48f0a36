#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the result: exactly the expected
# files, runnable programs with --help and --version, a menu entry that names them, the
# icon as a PNG at each size the desktop asks for, manual pages that list every option
# of --help, the copyright file with the license in it, the README with what it links
# to, and the software centres' metainfo. With --installed, PREFIX holds an install made
# already and is only checked.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR PREFIX VERSION [--installed]
set -uo pipefail
build="$1" source="$2" prefix="$3" version="$4" installed_already="${5:-}"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if [ "$installed_already" != "--installed" ]; then
  rm -rf "$prefix"
  if ! cmake --install "$build" --prefix "$prefix" >/dev/null; then
    echo "FAIL: cmake --install did not finish"
    exit 1
  fi
fi

expected="games/glimmo
games/glimmo-modplay
libexec/glimmo/glimmo-submit
share/applications/glimmo.desktop
share/doc/glimmo/README.md
share/doc/glimmo/changelog.gz
share/doc/glimmo/copyright
share/doc/glimmo/docs/layers.md
share/doc/glimmo/docs/quirks.md
share/doc/glimmo/docs/replays.md
share/doc/glimmo/docs/screenshot.png
share/doc/glimmo/docs/web_page.md
share/icons/hicolor/128x128/apps/glimmo.png
share/icons/hicolor/16x16/apps/glimmo.png
share/icons/hicolor/24x24/apps/glimmo.png
share/icons/hicolor/256x256/apps/glimmo.png
share/icons/hicolor/32x32/apps/glimmo.png
share/icons/hicolor/48x48/apps/glimmo.png
share/icons/hicolor/64x64/apps/glimmo.png
share/man/man1/glimmo-modplay.1.gz
share/man/man6/glimmo.6.gz
share/metainfo/io.github.glimmo.glimmo.metainfo.xml"
installed="$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort)"
if [ "$installed" != "$expected" ]; then
  fail "installed files differ from the expected layout:"
  diff -u <(echo "$expected") <(echo "$installed") | tail -n +3
fi

for program in glimmo glimmo-modplay; do
  exe="$prefix/games/$program"
  [ -x "$exe" ] || { fail "$program is not executable"; continue; }
  out="$("$exe" --version 2>&1)"; code=$?
  [ $code -eq 0 ] || fail "$program --version exits $code"
  [ "$out" = "$program $version" ] || fail "$program --version says '$out', not '$program $version'"
  help="$("$exe" --help 2>&1)"; code=$?
  [ $code -eq 0 ] || fail "$program --help exits $code"
  [ -n "$help" ] || fail "$program --help says nothing"

  # Every option of --help is in the manual page (compressed; its dashes are written \-).
  case $program in glimmo) page="$prefix/share/man/man6/glimmo.6.gz" ;; *) page="$prefix/share/man/man1/$program.1.gz" ;; esac
  [ -f "$page" ] || continue
  text="$(zcat "$page" | sed 's/\\-/-/g')"
  for option in $(grep -oE '(^|[[:space:]])--[a-z][a-z-]*' <<<"$help" | tr -d ' ' | sort -u); do
    grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$text" || fail "$option of $program --help is not in $(basename "$page")"
  done
  for option in $(grep -oE '(^|[^a-z-])--[a-z][a-z-]*' <<<"$text" | grep -oE -- '--[a-z-]+' | sort -u); do
    grep -qE -- "(^|[^a-z-])$option([^a-z-]|\$)" <<<"$help" || fail "$(basename "$page") names $option, which $program --help does not"
  done
  grep -q "^\.TH $(tr a-z A-Z <<<"$program") " <<<"$text" || fail "$(basename "$page") has no .TH line for $program"
  if command -v groff >/dev/null; then
    warnings="$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)"
    [ -z "$warnings" ] || fail "$(basename "$page") gives groff warnings: $warnings"
  fi
done

# The installed game plays from where it was put (its pictures and sounds are inside it).
config="$(mktemp -d)"
"$prefix/games/glimmo" --headless --autopilot 1 --until-tick 5000 --config-dir "$config" >/dev/null 2>&1 \
  || fail "the installed glimmo did not run a headless game"
rm -rf "$config"

desktop="$prefix/share/applications/glimmo.desktop"
if [ -f "$desktop" ]; then
  grep -qx '\[Desktop Entry\]' "$desktop" || fail "the menu entry has no [Desktop Entry] group"
  for key in Type=Application Name=Glimmo Exec=glimmo Icon=glimmo Terminal=false; do
    grep -qx "$key" "$desktop" || fail "the menu entry lacks $key"
  done
  grep -qE '^Categories=.*Game;' "$desktop" || fail "the menu entry is not in the Game category"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate refuses the menu entry"
  fi
fi

for size in 16 24 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/glimmo.png"
  [ -f "$icon" ] || continue
  # PNG signature, then the IHDR chunk: width and height as big-endian 32-bit numbers.
  header="$(head -c 24 "$icon" | od -An -tx1 | tr -d ' \n')"
  [ "${header:0:16}" = "89504e470d0a1a0a" ] || fail "the $size-pixel icon is not a PNG"
  [ "${header:32:16}" = "$(printf '%08x%08x' $size $size)" ] || fail "the $size-pixel icon is not $size x $size"
done

# What software centres read: valid, and launching the menu entry installed beside it.
metainfo="$prefix/share/metainfo/io.github.glimmo.glimmo.metainfo.xml"
if [ -f "$metainfo" ]; then
  grep -q '<launchable type="desktop-id">glimmo.desktop</launchable>' "$metainfo" \
    || fail "the metainfo does not launch glimmo.desktop"
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic "$metainfo" >/dev/null || {
      fail "appstreamcli refuses the metainfo:"
      appstreamcli validate --no-net --pedantic "$metainfo"
    }
  fi
fi

copyright="$prefix/share/doc/glimmo/copyright"
if [ -f "$copyright" ]; then
  head -n 1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' \
    || fail "the copyright file is not in Debian's machine-readable form"
  grep -q '^License: MIT$' "$copyright" || fail "the copyright file does not name the MIT license"
  # The license's own text, indented: the copyright file is where the package keeps it.
  sed -e 's/^ //' -e 's/^\.$//' "$copyright" | grep -qxF "$(sed -n 3p "$source/LICENSE")" \
    || fail "the copyright file lacks the license's text"
fi

# The README's links to files beside it lead to files that were installed.
readme="$prefix/share/doc/glimmo/README.md"
if [ -f "$readme" ]; then
  for link in $(grep -oE '\]\([^):#]+\)' "$readme" | sed -E 's/^\]\(//; s/\)$//' | sort -u); do
    [ -e "$(dirname "$readme")/$link" ] || fail "the installed README links to $link, which is not installed"
  done
fi

[ $failures -eq 0 ] && echo "install layout kept"
exit $((failures > 0))
