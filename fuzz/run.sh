#!/usr/bin/env bash
# Runs the fuzz targets one after another, SECONDS each, and fails when any
# of them finds something (a crash, a sanitizer report, a leak, a timeout, an
# allocation beyond the limit). The corpus grows in BUILD/fuzz/corpus/, a
# finding is kept in BUILD/fuzz/findings/, each run's output in BUILD/fuzz/logs/.
#
#   fuzz/run.sh BUILD SECONDS [TARGET...]     (default: every target)
set -uo pipefail

build=$(cd "$1" && pwd)
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(gif studentlist inifile optionsprofile lessonlibrary lessontext owntext waveclip)

# Inputs a little beyond the largest real file of each kind.
declare -A maxlen=([gif]=20000 [studentlist]=8192 [inifile]=4096 [optionsprofile]=4096
    [lessonlibrary]=16384 [lessontext]=32768 [owntext]=8192 [waveclip]=24000)
declare -A dict=([gif]=gif [studentlist]=studentlist [inifile]=ini [optionsprofile]=ini
    [lessonlibrary]=lessonlibrary [lessontext]=lessontext [owntext]=owntext [waveclip]=waveclip)

mkdir -p "$build/fuzz/logs" "$build/fuzz/findings"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
failed=()
for t in "${targets[@]}"; do
    exe=$build/fuzz/fuzz_$t
    if [ ! -x "$exe" ] || [ -z "${maxlen[$t]:-}" ]; then
        echo "no fuzz target '$t'" >&2
        failed+=("$t")
        continue
    fi
    corpus=$build/fuzz/corpus/$t
    mkdir -p "$corpus"
    log=$build/fuzz/logs/$t.log
    echo "== fuzz_$t for ${seconds}s"
    "$exe" "$corpus" "$build/fuzz/seeds/$t" \
        -dict="$here/${dict[$t]}.dict" -max_len="${maxlen[$t]}" \
        -max_total_time="$seconds" -malloc_limit_mb=64 -rss_limit_mb=1024 -timeout=10 \
        -artifact_prefix="$build/fuzz/findings/$t-" -print_final_stats=1 >"$log" 2>&1
    status=$?
    grep -E '^#[0-9]+[[:space:]]+DONE|^Done [0-9]+ runs' "$log" | tail -2
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log"
    echo "corpus: $(find "$corpus" -type f | wc -l) files"
    if [ $status -ne 0 ]; then
        echo "FINDING in fuzz_$t (exit $status):"
        grep -E 'ERROR|SUMMARY|check failed|Test unit written' "$log" | head -5
        failed+=("$t")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: findings in ${failed[*]}" >&2
    exit 1
fi
echo "fuzz: no findings"
