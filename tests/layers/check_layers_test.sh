#!/usr/bin/env bash
# The layering check on a small tree of its own: a clean tree passes, a
# planted include that a rule forbids fails naming the file, the line and the
# rule, a file outside every rule fails, and a tree without rules is refused.
set -uo pipefail
checker="$1"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

mkdir -p "$tree/platform" "$tree/app/shell" "$tree/app/units" "$tree/project/unit" "$tree/sdk/samples"
cat > "$tree/LAYERS" <<'RULES'
# folder   may include
platform/     platform/
app/shell/    *
app/units/    app/units/ platform/
project/      project/ app/units/ platform/
sdk/          sdk/
RULES
printf '#pragma once\n' > "$tree/platform/System.h"
printf '#pragma once\n#include "platform/System.h"\n' > "$tree/app/units/ShellServices.h"
printf '#pragma once\n#include "app/units/ShellServices.h"\n#include "project/unit/Unit.h"\n' > "$tree/app/shell/Frame.h"
printf '#pragma once\n#include <string>\n#include "app/units/ShellServices.h"\n#include "Missing.h"\n' > "$tree/project/unit/Unit.h"
printf '#pragma once\n' > "$tree/sdk/plugin.h"
printf '#include "plugin.h"\n' > "$tree/sdk/samples/../sample.c"

out="$("$checker" "$tree" 2>&1)" || fail "a clean tree was refused: $out"

# A unit that reaches into the frame, on its third line.
printf '#pragma once\n#include "platform/System.h"\n  #  include "app/shell/Frame.h"\n' > "$tree/project/unit/Bad.h"
out="$("$checker" "$tree" 2>&1)"; rc=$?
[[ $rc -eq 1 ]] || fail "a planted include gave exit $rc: $out"
grep -q '^project/unit/Bad.h:3: includes "app/shell/Frame.h", but project/ may include only: project/ app/units/ platform/$' <<<"$out" \
  || fail "the message does not name file, line and rule: $out"
grep -q 'Unit.h' <<<"$out" && fail "an allowed include was reported: $out"
rm "$tree/project/unit/Bad.h"

# The platform layer may not include the units above it.
printf '#include "app/units/ShellServices.h"\n' > "$tree/platform/Window.cpp"
out="$("$checker" "$tree" 2>&1)"; rc=$?
[[ $rc -eq 1 ]] && grep -q '^platform/Window.cpp:1: ' <<<"$out" || fail "an upward include was not reported: $out"
rm "$tree/platform/Window.cpp"

# A folder that no rule covers.
mkdir -p "$tree/extra" && printf 'int x;\n' > "$tree/extra/x.cpp"
out="$("$checker" "$tree" 2>&1)"; rc=$?
[[ $rc -eq 1 ]] && grep -q '^extra/x.cpp: no rule' <<<"$out" || fail "an unruled file was not reported: $out"
rm -r "$tree/extra"

rm "$tree/LAYERS"
out="$("$checker" "$tree" 2>&1)"; rc=$?
[[ $rc -eq 2 ]] || fail "a tree without rules gave exit $rc: $out"
echo "check-layers: all cases passed"
