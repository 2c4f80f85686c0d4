#!/bin/bash
# Keystroke latency seen from outside, under Xvfb: a key is sent with XTest
# and timed until the window's contents change (DAMAGE). Palcomir running
# lesson 1213 is compared with a bare Qt widget that only draws the typed
# text; the lesson should reach the screen within 1.5 times the bare
# widget's time.
#
#   bench/xvfb_keylatency.sh [BUILD_DIR]     (default: build)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build=$(cd "${1:-$source_dir/build}" && pwd)
lesson=1213

# Tools only this measurement needs.
source "$here/ensure_packages.sh"
ensure_packages xvfb xdotool libxtst-dev libxdamage-dev gcc

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

gcc -O2 -o "$work/xkeylatency" "$here/xkeylatency.c" -lX11 -lXtst -lXdamage

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
export QT_QPA_PLATFORM=xcb

# The exercise lines of the lesson, without the instruction and the final line break.
text=$(tail -n +2 "$source_dir/data/lessons/$lesson.txt")

window_named() {
    for _ in $(seq 100); do
        local id
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
        if [ -n "$id" ]; then echo "$id"; return 0; fi
        sleep 0.1
    done
    echo "no window named $1" >&2
    return 1
}

stats() { # name file
    sort -n "$2" | awk -v name="$1" '{ v[NR] = $1 } END {
        if (NR == 0) { printf "%-28s no samples\n", name; exit }
        p99 = int(NR * 0.99); if (p99 < 1) p99 = 1
        printf "%-28s median %7.3f ms   p99 %7.3f ms   (%d keys)\n", name, v[int((NR + 1) / 2)], v[p99], NR }'
}

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR ? v[int((NR + 1) / 2)] : 0) }'; }

for round in 1 2; do
    # The lesson: close its instruction box, then type the exercise.
    "$build/palcomir" --data-dir "$work/data" --lesson $lesson >/dev/null 2>&1 &
    pids+=($!)
    box=$(window_named '^Instrukcja$')
    xdotool windowfocus --sync "$box" key Return 2>/dev/null || xdotool key Return
    frame=$(window_named '^Palcomir$')
    xdotool windowfocus --sync "$frame"
    sleep 0.5
    # Only changes in the text area count (the status bar's clock ticks on its own).
    "$work/xkeylatency" "$frame" "$text" 265 >>"$work/lesson.txt"
    kill "${pids[-1]}"

    "$build/bench/bare_typing_widget" >/dev/null 2>&1 &
    pids+=($!)
    bare=$(window_named '^Bare typing widget$')
    xdotool windowfocus --sync "$bare"
    sleep 0.5
    "$work/xkeylatency" "$bare" "$text" >>"$work/bare.txt"
    kill "${pids[-1]}"
done

stats "lesson $lesson in palcomir" "$work/lesson.txt"
stats "bare Qt widget" "$work/bare.txt"
awk -v l="$(median "$work/lesson.txt")" -v b="$(median "$work/bare.txt")" 'BEGIN {
    r = b > 0 ? l / b : 0
    printf "%-28s %.2f   target: at most 1.5   %s\n", "ratio of the medians", r, (r > 0 && r <= 1.5) ? "MET" : "MISSED"
    exit !(r > 0 && r <= 1.5) }'
