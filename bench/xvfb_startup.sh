#!/bin/bash
# Start-up seen from outside, under Xvfb with a window manager (openbox): the
# time from starting the process to the first paint of its window, to the
# settled window (its last drawing before 300 ms of quiet), and the resident
# memory with the title screen shown. Palcomir is compared with a bare Qt
# widget window and with Tipp10 (Debian's tipp10 package), all measured in
# the same run the same way; targets: a first paint at most 1.3 times the bare
# window's, a settled window no later than Tipp10's, and no more resident
# memory than Tipp10.
#
#   bench/xvfb_startup.sh [BUILD_DIR] [RUNS]     (defaults: build, 21)
#
# XVFB_DISPLAY=N runs the server on display :N; by default it takes a free one.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build=$(cd "${1:-$source_dir/build}" && pwd)
runs=${2:-21}

source "$here/ensure_packages.sh"
ensure_packages xvfb openbox x11-utils libxdamage-dev libx11-dev gcc tipp10

work=$(mktemp -d)
xvfb_pid=
wm_pid=
cleanup() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

gcc -O2 -o "$work/xstartup" "$here/xstartup.c" -lX11 -lXdamage
[ -x "$build/bench/bare_window" ] || cmake --build "$build" --target bare_window >/dev/null

if [ -n "${XVFB_DISPLAY:-}" ]; then
    Xvfb ":$XVFB_DISPLAY" -screen 0 800x600x24 -nolisten tcp 2>/dev/null &
    echo "$XVFB_DISPLAY" >"$work/display"
else
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
fi
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
export QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# The frame, its title and the icon in it are drawn as a learner's desktop draws them.
openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
sleep 1

# The learner's folder of a run that does not open the registration at start.
data="$work/data"
mkdir -p "$data"
printf '[Stukomat]\nShowAfaterStart=No\n' >"$data/pisarz.ini"

# The three programs take turns, so that a change in the machine's load
# between runs weighs on each of them alike.
tipp10_env=(env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share")
mkdir -p "$work/home"
bare=("$build/bench/bare_window")
palcomir=("$build/palcomir" --data-dir "$data")
# Tipp10 keeps its settings under HOME: a home of its own, the same for every
# run, so that each run after the first is a returning user's.
tipp10=("${tipp10_env[@]}" tipp10)
for program in bare palcomir tipp10; do
    declare -n command=$program
    "$work/xstartup" 300 "${command[@]}" >/dev/null 2>&1 || true # the first start fills the caches
done
for _ in $(seq "$runs"); do
    for program in bare palcomir tipp10; do
        declare -n command=$program
        "$work/xstartup" 300 "${command[@]}" >>"$work/$program" 2>/dev/null || true
    done
done

median() { # column file
    sort -n -k"$1","$1" "$2" | awk -v c="$1" '{ v[NR] = $c } END { if (NR) print v[int((NR + 1) / 2)]; else print 0 }'
}
summary() { # file -> "first_ms settled_ms rss_kb count", each the median
    echo "$(median 1 "$1") $(median 2 "$1") $(median 3 "$1") $(wc -l <"$1")"
}
read -r bare_first bare_settled bare_kb bare_n < <(summary "$work/bare")
read -r app_first app_settled app_kb app_n < <(summary "$work/palcomir")
read -r tipp_first tipp_settled tipp_kb tipp_n < <(summary "$work/tipp10")
if [ "$bare_n" -eq 0 ] || [ "$app_n" -eq 0 ] || [ "$tipp_n" -eq 0 ]; then
    echo "start-up: no window was painted" >&2
    exit 1
fi
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
printf 'medians of %d runs     first paint   settled   resident\n' "$app_n"
printf '  bare Qt window    %8s ms %8s ms %7s MB\n' "$bare_first" "$bare_settled" "$(mb "$bare_kb")"
printf '  palcomir          %8s ms %8s ms %7s MB\n' "$app_first" "$app_settled" "$(mb "$app_kb")"
printf '  tipp10            %8s ms %8s ms %7s MB\n' "$tipp_first" "$tipp_settled" "$(mb "$tipp_kb")"
first_ratio=$(ratio "$app_first" "$bare_first")
printf 'first paint: %s x the bare window (target <= 1.3); settled: %s x tipp10 (target <= 1); resident: %s x tipp10 (target <= 1)\n' \
    "$first_ratio" "$(ratio "$app_settled" "$tipp_settled")" "$(ratio "$app_kb" "$tipp_kb")"
awk -v r="$first_ratio" -v s="$app_settled" -v ts="$tipp_settled" -v a="$app_kb" -v t="$tipp_kb" \
    'BEGIN { exit !(r <= 1.3 && s <= ts && a <= t) }' && echo "MET" || { echo "MISSED"; exit 1; }
