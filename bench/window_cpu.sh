#!/usr/bin/env bash
# CPU use of the real window under Xvfb: 30 s on the title screen, then 30 s of
# autopilot play, as a percentage of one core (user + system time of the process),
# and beside it what the X server spent showing the frames over the same time.
# Usage: [SCALE=N] bench/window_cpu.sh PATH/TO/glimmo [SECONDS]
set -euo pipefail
exe="$1"
seconds="${2:-30}"
display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
ticks=$(getconf CLK_TCK)

measure() {
    local label="$1"
    shift
    local config
    config=$(mktemp -d)
    DISPLAY="$display" SDL_AUDIODRIVER=dummy "$exe" --config-dir "$config" "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep 2  # start-up is not part of the figure
    local a b xa xb
    a=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    xa=$(awk '{print $14 + $15}' "/proc/$xvfb/stat")
    sleep "$seconds"
    b=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    xb=$(awk '{print $14 + $15}' "/proc/$xvfb/stat")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -rf "$config"
    awk -v a="$a" -v b="$b" -v xa="$xa" -v xb="$xb" -v t="$ticks" -v s="$seconds" -v l="$label" \
        'BEGIN { printf "%-28s %5.1f %% of one core (X server: %.1f %%)\n", l, 100 * (b - a) / t / s, 100 * (xb - xa) / t / s }'
}

measure "title screen" --scale "${SCALE:-3}"
measure "autopilot play" --scale "${SCALE:-3}" --autopilot 1
