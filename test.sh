#!/usr/bin/env bash
# Installs what is missing, builds Velora and runs every test. Exits non-zero
# on any failure. VELORA_PRESET=asan runs the suite under the sanitizers.
set -euo pipefail
cd "$(dirname "$0")"
PRESET="${VELORA_PRESET:-default}"
./tools/install-deps.sh
cmake --preset "$PRESET" >/dev/null
cmake --build --preset "$PRESET" -- -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export VELORA_PROMPTS=log
ctest --test-dir "build/$PRESET" --output-on-failure -j"$(nproc)" --timeout 600
