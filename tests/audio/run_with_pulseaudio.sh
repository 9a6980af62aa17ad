#!/usr/bin/env bash
# Runs a test binary with a private PulseAudio server and a null sink, so that the sound output
# is tested without a sound card. Where the server cannot start, the test runs anyway and skips.
set -u
test_binary=$1
shift
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime PULSE_RUNTIME_PATH=$runtime/pulse HOME=${HOME:-$runtime}
cleanup() {
  [[ -n ${keepalive:-} ]] && kill "$keepalive" 2>/dev/null
  pulseaudio --kill 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT
if command -v pulseaudio >/dev/null &&
   pulseaudio -D -n --exit-idle-time=-1 --load=module-native-protocol-unix \
     --load="module-null-sink sink_name=null" 2>/dev/null; then
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  # A stream kept open spares each new stream a slow start.
  pacat -p --latency-msec=20 --rate=8000 --channels=1 --format=s16le /dev/zero &
  keepalive=$!
fi
"$test_binary" "$@"
