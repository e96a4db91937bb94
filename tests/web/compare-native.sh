#!/bin/bash
# The Node build of quorvane-run against the native one: list, resave and
# simulate (every tick of every system, 17 digits) must give the same bytes:
# the native tool on two threads with its widest vector kernel, Node on one
# with WebAssembly's. exp and pow are our own, correctly rounded, so no C
# library and no processor feature takes part in the bits.
# usage: compare-native.sh NATIVE_QUORVANE_RUN QUORVANE_RUN_JS [TICKS]
set -u
native=$1
js=$2
ticks=${3:-40}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
node_run() { node --no-experimental-fetch "$js" "$@"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 checks=0

same() {  # label, then the two files
  checks=$((checks + 1))
  if ! cmp -s "$2" "$3"; then
    echo "DIFFERENT: $1" >&2
    diff <(head -c 2000 "$2") <(head -c 2000 "$3") | head -5 >&2
    failures=$((failures + 1))
  fi
}

for ini in "$root"/examples/Quorvane.ini "$root"/tests/data/*.ini "$root"/tests/corpus/reader/*.ini "$here"/laws.ini "$here"/bodies.ini "$here"/threads.ini; do
  name=$(basename "$ini")
  "$native" list "$ini" > "$work/n.list" 2> "$work/n.err"; echo "status $?" >> "$work/n.list"
  node_run list "$ini" > "$work/j.list" 2> "$work/j.err"; echo "status $?" >> "$work/j.list"
  same "list $name" "$work/n.list" "$work/j.list"
  same "list $name (stderr)" "$work/n.err" "$work/j.err"
  rm -f "$work/n.ini" "$work/j.ini"
  "$native" resave "$ini" "$work/n.ini"
  node_run resave "$ini" "$work/j.ini"
  same "resave $name" "$work/n.ini" "$work/j.ini"
  count=$(grep -o '"force_type"' "$work/n.list" | wc -l)
  for ((i = 0; i < count; i++)); do
    "$native" simulate "$ini" --system "$i" --ticks "$ticks" --csv --threads 2 > "$work/n.csv" 2>&1
    node_run simulate "$ini" --system "$i" --ticks "$ticks" --csv --threads 1 > "$work/j.csv" 2>&1
    same "simulate $name system $i" "$work/n.csv" "$work/j.csv"
  done
done
# Refusals come out as natively: messages and exit statuses (CLI11's exceptions are caught).
for args in "simulate --bogus" "list $work/missing.ini" "simulate $root/examples/Quorvane.ini --system 99 --ticks 1"; do
  "$native" $args > "$work/n.out" 2>&1; echo "status $?" >> "$work/n.out"
  node_run $args > "$work/j.out" 2>&1; echo "status $?" >> "$work/j.out"
  same "$args" "$work/n.out" "$work/j.out"
done
echo "$checks comparisons, $failures different"
[ "$failures" -eq 0 ]
