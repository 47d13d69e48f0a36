#!/usr/bin/env bash
# The checks after the default test run: under AddressSanitizer and
# UndefinedBehaviorSanitizer (build/asan) every test that runs the game's code (not the
# install, package, web page, format and layer tests, nor the real songs against the
# outside players: the asan test preset), the sound tests under ThreadSanitizer
# (build/tsan), and valgrind memcheck on a headless game of the normal build that
# passes every phase (scripts/valgrind_game.script).
# Usage: scripts/sanitizers.sh [NORMAL_BUILD_DIR]   (default build/check; built if missing)
# Exits non-zero on any finding. At most two compile jobs and two tests at a time.
set -euo pipefail
cd "$(dirname "$0")/.."
normal="${1:-build/check}"
jobs=2
status=0
started=$SECONDS

step() { echo "== $* ($((SECONDS - started)) s)"; }
fail() { echo "!! $*"; status=1; }

# Findings stop the program at once, with a stack; leaks count as findings.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"

step "AddressSanitizer and UndefinedBehaviorSanitizer: the tests that run the game's code"
cmake --preset asan >/dev/null
cmake --build build/asan -j"$jobs"
ctest --preset asan -j"$jobs" || fail "a test failed under ASan/UBSan"

step "ThreadSanitizer: the sound tests"
cmake --preset tsan >/dev/null
sound_tests=()
targets="$(cmake --build build/tsan --target help)"
for t in sound_tests sound_sdl_tests module_tests; do
  grep -qxF "... $t" <<<"$targets" && sound_tests+=("$t")
done
cmake --build build/tsan -j"$jobs" --target "${sound_tests[@]}"
# Without address-space randomisation, so the sanitizer's fixed shadow layout always fits.
norandom=()
if command -v setarch >/dev/null && setarch "$(uname -m)" -R true 2>/dev/null; then norandom=(setarch "$(uname -m)" -R); fi
# The comparisons with outside players render offline on one thread: ASan covers them.
(cd build/tsan && "${norandom[@]}" ctest --output-on-failure -j"$jobs" --timeout 900 \
  -L "^($(IFS='|'; echo "${sound_tests[*]}"))\$" -E '^ModuleReference') \
  || fail "a sound test failed under TSan"

step "valgrind memcheck: a headless game through every phase, 35 s of virtual time"
if [ ! -x "$normal/run/glimmo" ]; then
  cmake --preset check -B "$normal" >/dev/null
  cmake --build "$normal" -j"$jobs" --target glimmo
fi
scratch="$(mktemp -d)"
valgrind --suppressions=scripts/valgrind.supp --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
  --show-leak-kinds=definite,indirect --track-origins=yes --quiet \
  "$normal/run/glimmo" --headless --script scripts/valgrind_game.script --until-tick 35000 \
  --state-log "$scratch/state.jsonl" --config-dir "$scratch" \
  || fail "valgrind found an error or a leak"
# The game must still pass every phase (title, play, READY!, level clear, GAME OVER, a
# ghost eaten, the intermission and its end), the pause, and end on the title.
for seen in '"phase":0,' '"phase":1,' '"phase":2,' '"phase":4,' '"phase":5,' '"phase":6,' '"phase":8,' \
  '"phase":9,' '"paused":1,'; do
  grep -qF "$seen" "$scratch/state.jsonl" || fail "valgrind's game never showed $seen"
done
tail -n 1 "$scratch/state.jsonl" | grep -qF '"screen":"title"' || fail "valgrind's game did not end on the title"
rm -rf "$scratch"

step "done"
exit $status
