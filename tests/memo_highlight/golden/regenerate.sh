#!/usr/bin/env bash
# Rewrites the golden references of the HTML scheme (golden/reference/*.ref) from the pages in
# golden/input, with the scheme as it is now. Review `git diff` of the references afterwards.
#   BUILD_DIR  build directory (default build/default)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build/default}
cmake --build "$BUILD" --target memo_highlight_tests
VELORA_GOLDEN_REGENERATE=1 "$BUILD/tests/memo_highlight/memo_highlight_tests" --gtest_filter='GoldenFiles.*'
git -C "$ROOT" status --short tests/memo_highlight/golden/reference
