#!/bin/sh
# Runs the presenting benchmark on an Xvfb of its own, large enough for the biggest screen measured.
# Usage: bench/run_present_bench.sh [build folder] [benchmark options...]
set -eu
build=${1:-build}
[ $# -gt 0 ] && shift
number=$(mktemp)
# SDL looks for a Wayland display first and complains where no session gives it a runtime folder.
runtime=$(mktemp -d)
# Xvfb picks a free display and writes its number into the file.
Xvfb -displayfd 3 -screen 0 3840x2160x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb; rm -rf "$number" "$runtime"' EXIT INT TERM
for _ in $(seq 100); do
  [ -s "$number" ] && break
  sleep 0.1
done
[ -s "$number" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(cat "$number") XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$runtime} SDL_AUDIODRIVER=dummy "$build/bench/present_bench" "$@"
