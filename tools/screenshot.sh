#!/usr/bin/env bash
# Starts the built program under a virtual X display and saves a screenshot of
# the whole screen: tools/screenshot.sh OUT.png [seconds] [program arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-shot.png}"
wait_s="${2:-4}"
shift $(( $# > 2 ? 2 : $# ))
PRESET="${VELORA_PRESET:-default}"
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  "$0" "${@:3}" &
  pid=$!
  sleep "$2"
  import -window root "$1"
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
' "build/$PRESET/Velora/velora" "$out" "$wait_s" "$@"
echo "saved $out"
