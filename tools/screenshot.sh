#!/usr/bin/env bash
# Starts the built program under a virtual X display and saves a screenshot of
# the whole screen: tools/screenshot.sh OUT.png [seconds] [program arguments...]
# With QT_SCALE_FACTOR (e.g. 2 for a high-resolution screen) the virtual screen
# grows by the same factor unless VELORA_SCREEN (WIDTHxHEIGHTxDEPTH) is given.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-shot.png}"
wait_s="${2:-4}"
shift $(( $# > 2 ? 2 : $# ))
PRESET="${VELORA_PRESET:-default}"
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
scale="${QT_SCALE_FACTOR:-1}"
screen="${VELORA_SCREEN:-$(awk -v s="$scale" 'BEGIN { printf "%dx%dx24", 1280 * s, 800 * s }')}"
xvfb-run -a -s "-screen 0 $screen" bash -c '
  "$0" "${@:3}" &
  pid=$!
  sleep "$2"
  import -window root "$1"
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
' "build/$PRESET/Velora/velora" "$out" "$wait_s" "$@"
echo "saved $out"
