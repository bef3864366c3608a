#!/usr/bin/env bash
# Runs the real program on a virtual screen with a window manager and an
# accessibility bus, and reads its editor through AT-SPI (read_editor.py).
# Usage: atspi_test.sh PROGRAM
set -euo pipefail
program="$1"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" XDG_DATA_HOME="$work/data"
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '<!DOCTYPE html>\n<p>Première ligne</p>\n<p>Вторая строка</p>\n<p>third</p>\n' > "$work/page.html"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
export VELORA_PROMPTS=log
unset QT_QPA_PLATFORM

exec xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- bash -c '
  set -e
  openbox >/dev/null 2>&1 &
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  sleep 1
  "$0" "$1" >"$2/program.log" 2>&1 &
  pid=$!
  status=0
  /usr/bin/python3 "$3/read_editor.py" "<!DOCTYPE html>" || status=$?
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  if [ $status -ne 0 ]; then echo "--- program output"; cat "$2/program.log"; fi
  exit $status
' "$program" "$work/page.html" "$work" "$here"
