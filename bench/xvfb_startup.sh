#!/bin/bash
# Start-up seen from outside, under Xvfb: the time from starting the process
# to the first paint of its window, and the resident memory with the title
# screen shown. Palcomir is compared with a bare Qt widget window and with
# Tipp10 (Debian's tipp10 package), both measured in the same run the same
# way; targets: at most 1.5 times the bare window's time, and no more resident
# memory than Tipp10.
#
#   bench/xvfb_startup.sh [BUILD_DIR] [RUNS]     (defaults: build, 21)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build=$(cd "${1:-$source_dir/build}" && pwd)
runs=${2:-21}

source "$here/ensure_packages.sh"
ensure_packages xvfb libxdamage-dev libx11-dev gcc tipp10

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

gcc -O2 -o "$work/xstartup" "$here/xstartup.c" -lX11 -lXdamage
[ -x "$build/bench/bare_window" ] || cmake --build "$build" --target bare_window >/dev/null

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
export QT_QPA_PLATFORM=xcb

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
    "$work/xstartup" 0 "${command[@]}" >/dev/null 2>&1 || true # the first start fills the caches
done
for _ in $(seq "$runs"); do
    for program in bare palcomir tipp10; do
        declare -n command=$program
        "$work/xstartup" 1000 "${command[@]}" >>"$work/$program" 2>/dev/null || true
    done
done

median() { # column file
    sort -n -k"$1","$1" "$2" | awk -v c="$1" '{ v[NR] = $c } END { if (NR) print v[int((NR + 1) / 2)]; else print 0 }'
}
summary() { # file -> "median_ms median_rss_kb count"
    echo "$(median 1 "$1") $(median 2 "$1") $(wc -l <"$1")"
}
read -r bare_ms bare_kb bare_n < <(summary "$work/bare")
read -r app_ms app_kb app_n < <(summary "$work/palcomir")
read -r tipp_ms tipp_kb tipp_n < <(summary "$work/tipp10")
if [ "$bare_n" -eq 0 ] || [ "$app_n" -eq 0 ] || [ "$tipp_n" -eq 0 ]; then
    echo "start-up: no window was painted" >&2
    exit 1
fi
ratio=$(awk -v a="$app_ms" -v b="$bare_ms" 'BEGIN { printf "%.2f", a / b }')
tipp_ratio=$(awk -v a="$tipp_ms" -v b="$bare_ms" 'BEGIN { printf "%.2f", a / b }')
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
printf 'start to first paint (median of %d): palcomir %s ms, bare Qt window %s ms, ratio %s (target <= 1.5); tipp10 %s ms, ratio %s\n' \
    "$app_n" "$app_ms" "$bare_ms" "$ratio" "$tipp_ms" "$tipp_ratio"
printf 'resident memory with the title screen: palcomir %s MB, tipp10 %s MB (target: at most tipp10), bare window %s MB\n' \
    "$(mb "$app_kb")" "$(mb "$tipp_kb")" "$(mb "$bare_kb")"
awk -v r="$ratio" -v a="$app_kb" -v t="$tipp_kb" 'BEGIN { exit !(r <= 1.5 && a <= t) }' && echo "MET" || { echo "MISSED"; exit 1; }
