#!/usr/bin/env bash
# docs/guida.md quotes the program's own words between double quotes: each
# quoted text must stand word for word in the sources of what the windows,
# the run's legend, the page and the tool's chart show, or among the example
# systems' names. Every picture it shows must exist.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
guide=$root/docs/guida.md

# C++ literals that a source splits over lines are joined: "a " "b" is "a b".
program=$(cat "$root"/res/*.cpp "$root"/app/*.cpp "$root"/editor/*.cpp "$root"/display/*.cpp \
  "$root"/platform/*.cpp "$root"/web/*.html "$root"/web/*.js "$root"/tools/quorvane-run/*.cpp \
  "$root"/examples/Quorvane.ini |
  tr '\n' ' ' | sed -E 's/"[[:space:]]+"//g')

# Prose only: code blocks and code spans hold commands, not the windows' words.
prose=$(awk '/^```/ { code = !code; next } !code' "$guide" | sed 's/`[^`]*`//g' | tr '\n' ' ' | sed -E 's/ +/ /g')

fail=0 count=0
while IFS= read -r quote; do
  text=${quote:1:${#quote}-2}
  count=$((count + 1))
  if [[ $program != *"$text"* ]]; then
    echo "not a text of the program: \"$text\""
    fail=1
  fi
done < <(grep -o '"[^"]*"' <<<"$prose")

# A guide whose quotes are not found at all would pass unseen.
if [ "$count" -lt 30 ]; then
  echo "only $count quoted texts found in $guide"
  fail=1
fi

while IFS= read -r picture; do
  [ -f "$root/docs/$picture" ] || { echo "missing picture: docs/$picture"; fail=1; }
done < <(grep -o '!\[[^]]*\]([^)]*)' "$guide" | sed -E 's/.*\(([^)]*)\)/\1/')

exit $fail
