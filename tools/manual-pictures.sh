#!/usr/bin/env bash
# Draws the pictures of the user's manual again from the program itself, with
# a copy of the example site open (no display needed), into resources/help/images/.
# Usage: tools/manual-pictures.sh   (VELORA_PRESET selects the build, default "default")
# Review the pictures and commit them; tests/help checks that every picture a
# page shows exists and is shown at its own size.
set -euo pipefail
cd "$(dirname "$0")/.."
PRESET="${VELORA_PRESET:-default}"
cmake --build "build/$PRESET" --target manual_screenshots -- -j2 >/dev/null
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" \
  "build/$PRESET/tests/help/manual_screenshots" examples/site/site.vlr resources/help/images
# The editor options dialog's pages, drawn by its own test program.
cmake --build "build/$PRESET" --target memo_options_tests -- -j2 >/dev/null
shots=$(mktemp -d)
(cd "build/$PRESET/tests/memo_options" && QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" \
  VELORA_SCREENSHOTS="$shots" ./memo_options_tests --gtest_filter='OptionsTest.ScreenshotsOfThePages' >/dev/null)
cp "$shots/editor-options-1-options.png" resources/help/images/editoroptions.png
cp "$shots/editor-options-2-highlighting.png" resources/help/images/editorhighlighting.png
rm -rf "$shots"
