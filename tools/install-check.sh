#!/usr/bin/env bash
# Installs Velora into a temporary prefix and runs the installed program the
# way a user's first start would, headless and with a fresh home folder:
#  - it starts and closes, writing its preferences under ~/.config/velora/;
#  - a second start with a file hands it to the running program;
#  - it builds the shipped example site (copied to the user's folder) with --build;
#  - the prefix is byte for byte what was installed (listing before and after);
#  - the desktop entry and the AppStream file validate.
# Usage: tools/install-check.sh   (VELORA_PRESET selects the build, default "default")
set -euo pipefail
cd "$(dirname "$0")/.."
PRESET="${VELORA_PRESET:-default}"
BUILD="build/$PRESET"
work="$(mktemp -d)"
first_pid=""
cleanup() {
  if [ -n "$first_pid" ]; then kill "$first_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "install-check: FAILED: $*" >&2; exit 1; }

cmake --build "$BUILD" --target velora velora_modules run_folder_resources html_scheme websafe_pal desktop_files \
  -- -j"$(nproc)" >/dev/null
prefix="$work/prefix"
cmake --install "$BUILD" --prefix "$prefix" >/dev/null
listing() { (cd "$prefix" && find . -printf '%p %y %s %m %l %T@\n' | LC_ALL=C sort); }
listing > "$work/before"
[ -L "$prefix/bin/velora" ] || fail "bin/velora is not installed"

export HOME="$work/home" QT_QPA_PLATFORM=offscreen VELORA_PROMPTS=log
unset XDG_CONFIG_HOME VELORA_APPDIR VELORA_SINGLE_INSTANCE
export XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$TMPDIR" && chmod 700 "$XDG_RUNTIME_DIR"
velora="$prefix/bin/velora"

# 1. First start: starts, closes, leaves its preferences in the user's folder.
timeout 60 "$velora" --quit-after-start 2> "$work/start.log" || { cat "$work/start.log" >&2; fail "the installed program did not start and quit"; }
prefs="$HOME/.config/velora/preferences.dat"
[ -s "$prefs" ] || fail "no preferences written to $prefs"
grep -q '^\[Main\]' "$prefs" || fail "preferences.dat has no window layout"
if grep -q -i "cannot read\|unable to find" "$work/start.log"; then
  cat "$work/start.log" >&2; fail "the installed program misses a data file"
fi

# 2. Single instance: a file given to a second start opens in the running one.
page="$work/site/page one.hts"
mkdir -p "$work/site" && printf '<p>hello</p>\n' > "$page"
"$velora" 2> "$work/first.log" &
first_pid=$!
for _ in $(seq 1 100); do
  [ -n "$(find "$TMPDIR" -maxdepth 1 -name 'velora-*' -type s 2>/dev/null)" ] && break
  sleep 0.1
done
timeout 20 "$velora" "$page" 2> "$work/second.log" || fail "the second start did not hand its file over"
for _ in $(seq 1 50); do
  grep -q "page one.hts" "$prefs" && break
  sleep 0.1
done
kill -TERM "$first_pid"; wait "$first_pid" 2>/dev/null || true
first_pid=""
grep -q "page one.hts" "$prefs" || fail "the running program did not open the handed-over file"

# 3. The shipped example site, copied to a folder of the user's as the manual
#    says, builds without a window: every source page gives its page in public/.
example="$prefix/share/velora/examples/site"
[ -f "$example/site.vlr" ] || fail "the example project is not installed under share/velora/examples/site"
cp -r "$example" "$work/example"
chmod -R u+w "$work/example"
timeout 120 "$velora" --build "$work/example/site.vlr" > "$work/build.log" 2>&1 \
  || { cat "$work/build.log" >&2; fail "velora --build of the example site failed"; }
for page in index.html about.html blog/index.html blog/first-walk.html; do
  [ -s "$work/example/public/$page" ] || { cat "$work/build.log" >&2; fail "the example build made no public/$page"; }
done
grep -q "Hillside Walkers" "$work/example/public/index.html" || fail "the example's variables were not replaced"
if grep -q -e '<&' -e '<%' "$work/example/public/index.html"; then
  fail "the example's includes or variables were left in the built page"
fi
echo "install-check: example site built"

# 4. Nothing was written into the prefix.
listing > "$work/after"
diff -u "$work/before" "$work/after" >&2 || fail "the installed tree changed while the program ran"
[ ! -e "$prefix/lib/velora/preferences.dat" ] || fail "preferences written into the program folder"

# 5. Desktop files.
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/velora.desktop" | grep -v ': hint: ' || true
  desktop-file-validate "$prefix/share/applications/velora.desktop" | grep -q -E ': (error|warning): ' && fail "desktop entry"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml >/dev/null || fail "AppStream metainfo"
fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$prefix/share/mime/packages/velora.xml" || fail "MIME definitions"
fi
echo "install-check: passed ($(wc -l < "$work/before") entries in the prefix unchanged)"
