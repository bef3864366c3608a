#!/usr/bin/env bash
# Installs what is missing, builds Velora and runs every test. Exits non-zero
# on any failure. VELORA_PRESET=asan runs the suite under the sanitizers;
# VELORA_SKIP_FUZZ=1 leaves out the short fuzzing run.
set -euo pipefail
cd "$(dirname "$0")"
# Compiler cache entries are shared between clones in other folders: paths
# below the project are hashed relative to it.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
PRESET="${VELORA_PRESET:-default}"
./tools/install-deps.sh
# The include layering (LAYERS) is checked before anything is built.
./tools/check-layers.sh
cmake --preset "$PRESET" >/dev/null
cmake --build --preset "$PRESET" -- -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
export VELORA_PROMPTS=log

# The fuzz targets (clang, libFuzzer) run for a short, bounded time.
if [ "${VELORA_SKIP_FUZZ:-0}" != "1" ]; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz --target fuzz/all -- -j"$(nproc)"
  ctest --test-dir build/fuzz --output-on-failure -R _fuzz_ --timeout 300
fi

ctest --test-dir "build/$PRESET" --output-on-failure -j"$(nproc)" --timeout 600

# The installed program: a temporary prefix, a fresh home folder, nothing written into the prefix.
./tools/install-check.sh
