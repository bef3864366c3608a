#!/usr/bin/env bash
# Installs what is missing, builds Velora and starts it from its run folder.
# Arguments are passed to the program (files to open).
set -euo pipefail
# Paths given relative to where run.sh was called from stay valid after the cd.
args=()
for a in "$@"; do
  if [[ "$a" != -* && -e "$a" ]]; then args+=("$(realpath "$a")"); else args+=("$a"); fi
done
set -- "${args[@]+"${args[@]}"}"
cd "$(dirname "$0")"
PRESET="${VELORA_PRESET:-default}"
./tools/install-deps.sh
cmake --preset "$PRESET" >/dev/null
cmake --build --preset "$PRESET" -- -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: starting under the offscreen platform." >&2
  export QT_QPA_PLATFORM=offscreen
fi
exec "build/$PRESET/Velora/velora" "$@"
