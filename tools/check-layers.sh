#!/usr/bin/env bash
# Checks every #include "..." of the program's code against the layering rules
# in LAYERS. Prints each include that breaks a rule as FILE:LINE: message and
# exits 1 when there is one, 0 when all are allowed, 2 when the rules cannot
# be read. Usage: tools/check-layers.sh [ROOT] (default: the project root).
set -uo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
rules="$root/LAYERS"
[[ -r $rules ]] || { echo "check-layers: no rule file $rules" >&2; exit 2; }
cd "$root" || exit 2

# folder -> allowed prefixes, from the rule file (comments and blank lines skipped).
declare -A allow=()
while read -r folder rest; do
  [[ -z $folder || $folder == \#* ]] && continue
  [[ $folder == */ ]] || { echo "check-layers: $rules: folder '$folder' must end in /" >&2; exit 2; }
  [[ -n $rest ]] || { echo "check-layers: $rules: folder '$folder' allows nothing" >&2; exit 2; }
  allow[$folder]="$rest"
done < "$rules"

# The most specific rule folder for a file's folder, or "" when none covers it.
declare -A rule_of_dir=()
rule_for() {
  local dir="$1" best=""
  if [[ -z ${rule_of_dir[$dir]+set} ]]; then
    for folder in "${!allow[@]}"; do
      if [[ $dir == "$folder"* && ${#folder} -gt ${#best} ]]; then best="$folder"; fi
    done
    rule_of_dir[$dir]="$best"
  fi
  folder="${rule_of_dir[$dir]}"
}

failures=0
unruled=0
while IFS= read -r -d '' file; do
  file="${file#./}"
  dir="${file%/*}/"
  rule_for "$dir"
  if [[ -z $folder ]]; then
    echo "$file: no rule in LAYERS covers this folder"
    unruled=$((unruled + 1))
    continue
  fi
  allowed="${allow[$folder]}"
  [[ $allowed == "*" ]] && continue
  while IFS=: read -r line target; do
    # Includes beside the file (sample plug-ins, a folder's own headers) stay in its folder.
    [[ -e "$dir$target" ]] && continue
    # Only paths of this project are ruled; system and library headers are not.
    [[ -e $target ]] || continue
    ok=0
    for prefix in $allowed; do
      if [[ $target == "$prefix"* ]]; then ok=1; break; fi
    done
    if [[ $ok -eq 0 ]]; then
      echo "$file:$line: includes \"$target\", but $folder may include only: $allowed"
      failures=$((failures + 1))
    fi
  done < <(grep -n -o -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' "$file" | sed -E 's/^([0-9]+):.*"([^"]+)"$/\1:\2/')
done < <(find . \( -path ./build -o -path ./tests -o -path ./bench -o -path ./fuzz -o -path ./.git \) -prune -o \
              -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.hpp' \) -print0)

if [[ $failures -gt 0 || $unruled -gt 0 ]]; then
  echo "check-layers: $failures include(s) break the layering rules, $unruled file(s) outside every rule" >&2
  exit 1
fi
echo "check-layers: every include follows LAYERS"
