#!/bin/sh
# Runs the presenting benchmark on its own Xvfb, large enough for the biggest screen measured.
# Usage: bench/run_present_bench.sh [build folder] [benchmark options...]
set -eu
build=${1:-build}
[ $# -gt 0 ] && shift
display=:$(( $$ % 200 + 300 ))
Xvfb "$display" -screen 0 3840x2160x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb' EXIT INT TERM
for _ in $(seq 50); do
  DISPLAY=$display xset q >/dev/null 2>&1 && break
  sleep 0.1
done
DISPLAY=$display SDL_AUDIODRIVER=dummy DBUS_SESSION_BUS_ADDRESS=disabled: "$build/bench/present_bench" "$@"
