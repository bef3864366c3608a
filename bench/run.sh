#!/usr/bin/env bash
# Builds and runs every benchmark program with JSON output.
#   BUILD_DIR   build directory (default build/bench, RelWithDebInfo)
#   BENCH_PEERS_OUT  where the shared corpus lives (default /tmp/bench-peers, as the peers' harness)
#   CMAKE_ARGS  extra configure arguments (e.g. -DVELORA_WITH_GUI=OFF)
# Results: JSON on stdout, and one file per program in $BUILD_DIR/bench-results/.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
PEERS=$ROOT/../shared/bench-peers
BUILD=${BUILD_DIR:-$ROOT/build/bench}
OUT=${BENCH_PEERS_OUT:-/tmp/bench-peers}
mkdir -p "$OUT"
CORPUS=$OUT/corpus20.html
if [[ ! -f $CORPUS ]]; then
  echo "generating $CORPUS" >&2
  python3 "$PEERS/gen_corpus.py" "$CORPUS" 20000000 1 >&2
fi
# shellcheck disable=SC2086
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-} >&2
ninja -C "$BUILD" bench/all >&2
mkdir -p "$BUILD/bench-results"
export VELORA_CORPUS=$CORPUS
status=0
while IFS= read -r exe; do
  name=$(basename "$exe")
  echo "== $name" >&2
  "$exe" --benchmark_format=json --benchmark_out="$BUILD/bench-results/$name.json" \
    --benchmark_out_format=json || status=1
done < <(find "$BUILD/bench" -mindepth 2 -maxdepth 2 -type f -executable | sort)
exit $status
