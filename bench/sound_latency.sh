#!/bin/bash
# Key sounds on a sound server: a private PulseAudio server with a null sink
# (no sound card needed) is started, the lesson's keys are timed to the first
# sound of their clicks in what the sink plays, and the cost of starting a
# clip is measured with the audio output open.
#
#   bench/sound_latency.sh [BUILD_DIR] [KEYS_PER_PASS]   (default: build, 150)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build=$(cd "${1:-$source_dir/build}" && pwd)
keys=${2:-150}

# Tools only this measurement needs.
source "$here/ensure_packages.sh"
ensure_packages pulseaudio pulseaudio-utils

# Everything of the server stays in one folder of its own and goes with it.
work=$(mktemp -d)
server=""
cleanup() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/runtime" "$work/home"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" PULSE_RUNTIME_PATH="$work/runtime/pulse" PULSE_STATE_PATH="$work/state"
export HOME="$work/home"
socket="$work/native"

HOME="$work/home" pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
    --realtime=no --high-priority=no --log-target=file:"$work/server.log" \
    -L "module-native-protocol-unix socket=$socket auth-anonymous=1" \
    -L "module-null-sink sink_name=palcomir_null rate=48000 channels=2" \
    -L "module-remap-source master=palcomir_null.monitor source_name=palcomir_null_recording" &
server=$!
export PULSE_SERVER="unix:$socket"
for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
if ! pactl info >/dev/null 2>&1; then
    echo "the sound server did not start:" >&2
    cat "$work/server.log" >&2
    exit 1
fi
pactl set-default-sink palcomir_null
# Qt lists no monitor sources; the remapped copy of the monitor stands in for it.
pactl set-default-source palcomir_null_recording

export QT_QPA_PLATFORM=offscreen
status=0
echo "== sound_latency"
"$build/bench/sound_latency" "$keys" || status=1
echo "== bench_keysounds (with the audio output open)"
"$build/bench/bench_keysounds" || status=1
exit $status
