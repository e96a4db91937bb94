#!/usr/bin/env bash
# Draws the pictures of docs/guida.md with the program's own commands, so that
# they show what the window shows: every example system at speed 5 (50 ticks a
# second of the window), the slingshot at speed 9 over the same simulated time,
# the energy chart and a short animation.
# Usage: tools/make-guide-pictures.sh [quorvane-run]   (default build/tools/quorvane-run)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
run=${1:-$root/build/tools/quorvane-run}
ini=$root/examples/Quorvane.ini
out=$root/docs/guida
mkdir -p "$out"

# name, system index, ticks (about one turn of the slowest body, or what the
# picture needs), further options
render() {
  local name=$1 system=$2 ticks=$3
  shift 3
  "$run" render "$ini" --system "$system" --ticks "$ticks" --labels "$@" --out "$out/$name.png"
}
render orbita-circolare 0 610 --vectors
render orbita-ellittica 1 490
render stella-doppia 2 1310
render sole-terra-luna 3 940
render otto 4 1000
render lagrange-l4 5 960
render fionda 6 4300
render fionda-velocita-9 6 269 --speed 9   # 4300 / 16 ticks: the same simulated time
render spirale 7 3000
render rosetta 8 4000
render cinque-corpi 9 1100

# The README shows the same chart.
"$run" energy "$ini" --system 1 --ticks 500 --out "$root/docs/energia-orbita-ellittica.png"
"$run" animate "$ini" --system 3 --seconds 8 --fps 5 --labels --out "$out/sole-terra-luna.gif"
