#!/usr/bin/env bash
# Builds the libFuzzer programs with clang (the game's libraries instrumented too) and
# runs each on its seed corpus, one at a time: fuzz/run_fuzzers.sh [RUNS] [TARGET...]
# New inputs go to build-fuzz/corpus/<target>; crashes to build-fuzz/crashes/<target>.
# GLIMMO_FUZZ_SECONDS caps each target's time (the run count may then not be reached).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GLIMMO_FUZZ_BUILD:-$root/build-fuzz}"
runs="${1:-10000000}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/fuzz/*_fuzz.cpp; do
    name="$(basename "$source" _fuzz.cpp)"
    targets+=("$name")
  done
fi

. "$root/scripts/deps.sh"
need_packages "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
# The preset names the compiler and the sanitizers; only the folder may differ.
(cd "$root" && cmake --preset fuzz -B "$build" >/dev/null)
cmake --build "$build" -j2 --target "${targets[@]/%/_fuzzer}"

status=0
for name in "${targets[@]}"; do
  seeds="$name"
  [ "$name" = settings_load ] && seeds=settings
  mkdir -p "$build/corpus/$name" "$build/crashes/$name"
  found=()
  [ -d "$root/fuzz/found/$seeds" ] && found=("$root/fuzz/found/$seeds")
  # Text readers need no long inputs: long ones only slow the search down.
  case $name in script|settings|settings_load|command_line) max_len=4096 ;; replay) max_len=8192 ;; *) max_len=65536 ;; esac
  echo "== $name: $runs runs"
  before=$(find "$build/crashes/$name" -type f | wc -l)
  code=0
  "$build/fuzz/${name}_fuzzer" -runs="$runs" -max_total_time="${GLIMMO_FUZZ_SECONDS:-0}" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$build/crashes/$name/" \
       "$build/corpus/$name" "$root/fuzz/corpus/$seeds" "${found[@]}" 2>"$build/$name.log" || code=$?
  after=$(find "$build/crashes/$name" -type f | wc -l)
  if [ "$code" -ne 0 ] && [ "$after" -eq "$before" ] && grep -q "libFuzzer: run interrupted" "$build/$name.log"; then
    echo "   stopped by hand before the run count: no finding"
  elif [ "$code" -ne 0 ]; then
    status=1
    echo "   FOUND A FAULT: see $build/$name.log and $build/crashes/$name/"
  fi
  grep -E "^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|^Done" "$build/$name.log" || true
done
exit $status
