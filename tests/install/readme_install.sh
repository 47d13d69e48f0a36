#!/usr/bin/env bash
# The README's way in, on a fresh copy of the source (nothing built): `./play`, given
# --version so that it returns instead of opening the window, then the commands of the
# README's Install section word for word, with HOME a scratch folder so that ~/.local is
# one too. What they installed is then checked as any install is (check_install.sh).
# Usage: readme_install.sh SOURCE_DIR SCRATCH VERSION
set -uo pipefail
source="$1" scratch="$2" version="$3"
here="$(cd "$(dirname "$0")" && pwd)"

rm -rf "$scratch"
mkdir -p "$scratch/src" "$scratch/home"
tar -C "$source" --exclude='./build*' --exclude=./.git --exclude=./out -cf - . | tar -C "$scratch/src" -xf -
cd "$scratch/src" || exit 1

grep -qx '\./play .*' README.md || { echo "FAIL: the README no longer opens with ./play"; exit 1; }
if ! out="$(HOME="$scratch/home" ./play --version 2>&1)"; then
  echo "FAIL: ./play --version on a fresh copy failed:"; tail -n 20 <<<"$out"; exit 1
fi
[ "$(tail -n 1 <<<"$out")" = "glimmo $version" ] || { echo "FAIL: ./play --version ends with '$(tail -n 1 <<<"$out")'"; exit 1; }

# The shell block under "## Install".
commands="$(awk '/^## /{section=$0; next} section=="## Install" && /^```sh/{inside=1; next}
                 inside && /^```/{exit} inside{print}' README.md)"
[ -n "$commands" ] || { echo "FAIL: no sh block under the README's ## Install"; exit 1; }
echo "README's install commands:"; sed 's/^/  /' <<<"$commands"
if ! HOME="$scratch/home" bash -eu -c "$commands"; then
  echo "FAIL: the README's install commands failed after ./play"
  exit 1
fi
bash "$here/check_install.sh" "$scratch/src/build/release" "$scratch/src" "$scratch/home/.local" "$version" --installed
code=$?
[ $code -eq 0 ] && rm -rf "$scratch"
exit $code
