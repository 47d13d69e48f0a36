#!/usr/bin/env bash
# CPU use of the real window under Xvfb: on the title screen, then in autopilot play, as a
# percentage of one core (the run time the scheduler counted for every thread of the
# process), and beside it what the X server spent showing the frames over the same time,
# and how often the game's thread woke up.
# With a second program (another build), the two take turns, ROUNDS times each, so both
# meet the same load on a shared machine; each line then gives the medians.
# Usage: [SCALE=N] [RUN_SECONDS=30] [ROUNDS=3] bench/window_cpu.sh PATH/TO/glimmo [PATH/TO/baseline-glimmo]
#        bench/window_cpu.sh PATH/TO/glimmo SECONDS     (one program, one round)
set -euo pipefail
exe="$1"
baseline="${2:-}"
seconds="${RUN_SECONDS:-30}"
rounds="${ROUNDS:-3}"
if [[ "$baseline" =~ ^[0-9]+$ ]]; then
    seconds="$baseline"
    baseline=""
    rounds=1
fi
[ -z "$baseline" ] && [ -z "${ROUNDS:-}" ] && rounds=1
display=":$((90 + RANDOM % 9))"
while [ -e "/tmp/.X11-unix/X${display#:}" ]; do display=":$((90 + RANDOM % 9))"; done
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1

# Nanoseconds of run time: every thread of a process, or one thread.
process_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {print s + 0}'; }
thread_ns() { awk '{print $1}' /proc/"$1"/schedstat; }
thread_wakes() { awk '/^voluntary_ctxt_switches/ {print $2}' /proc/"$1"/task/"$1"/status; }

# One run: prints "cpu% x% wakes/s".
measure() {
    local program="$1"
    shift
    local config
    config=$(mktemp -d)
    DISPLAY="$display" SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$config" "$program" --config-dir "$config" \
        --scale "${SCALE:-3}" "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep 2  # start-up is not part of the figure
    local a b xa xb wa wb
    a=$(process_ns "$pid")
    xa=$(thread_ns "$xvfb")
    wa=$(thread_wakes "$pid")
    sleep "$seconds"
    b=$(process_ns "$pid")
    xb=$(thread_ns "$xvfb")
    wb=$(thread_wakes "$pid")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -rf "$config"
    awk -v a="$a" -v b="$b" -v xa="$xa" -v xb="$xb" -v wa="$wa" -v wb="$wb" -v s="$seconds" \
        'BEGIN { printf "%.2f %.2f %.0f\n", (b - a) / s / 1e7, (xb - xa) / s / 1e7, (wb - wa) / s }'
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

report() {
    local label="$1" file="$2"
    printf "%-32s %5.2f %% of one core (X server: %.2f %%; the game's thread wakes %4.0f times a second)\n" "$label" \
        "$(cut -d' ' -f1 "$file" | median)" "$(cut -d' ' -f2 "$file" | median)" "$(cut -d' ' -f3 "$file" | median)"
}

work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for ((round = 0; round < rounds; ++round)); do
    measure "$exe" >>"$work/title"
    [ -n "$baseline" ] && measure "$baseline" >>"$work/title.base"
    measure "$exe" --autopilot 1 >>"$work/play"
    [ -n "$baseline" ] && measure "$baseline" --autopilot 1 >>"$work/play.base"
done
report "title screen" "$work/title"
[ -n "$baseline" ] && report "title screen, baseline" "$work/title.base"
report "autopilot play" "$work/play"
[ -n "$baseline" ] && report "autopilot play, baseline" "$work/play.base"
exit 0
