#!/usr/bin/env bash
# The frame as the real window shows it on screens of other sizes, against an
# ideal area-averaged scale of the same frame: the legend's mean absolute error
# (0..1) and its sharpness (mean difference of neighbouring pixels) beside the
# ideal's, and whether the box is a whole-factor nearest-pixel picture.
# Usage: tools/measure-scale.sh QUORVANE QUORVANE_RUN OUTDIR [WxH ...]
# Needs Xvfb, xdotool and ImageMagick. Leaves shot-WxH.png, legend-WxH.png and
# ideal-WxH.png in OUTDIR.
set -u
app=$(realpath "$1") run=$(realpath "$2") out=$(realpath "$3")
shift 3
[ $# -gt 0 ] || set -- 1366x768 1920x1080 1600x1200
ini=$(realpath "$(dirname "$0")/../examples/Quorvane.ini")
work=$(mktemp -d) xvfb="" pid=""
trap '{ [ -n "$pid" ] && kill $pid; [ -n "$xvfb" ] && kill $xvfb; wait; rm -rf "$work"; } 2>/dev/null' EXIT
mkdir -p "$out"
cd "$work" || exit 1
cp "$ini" Quorvane.ini

# The legend's cells in the frame, with a margin; the first system's orbit stays clear of them.
lx=436 ly=550 lw=360 lh=46
"$run" render --system 0 --ticks 1 --out frame.png Quorvane.ini >/dev/null || exit 1

mae() { compare -metric MAE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/'; }
# Mean absolute difference of horizontal and of vertical neighbours, averaged.
sharpness() {
  local w h
  read -r w h < <(identify -format '%w %h' "$1")
  convert "$1" -crop $((w - 1))x${h}+0+0 +repage a.png; convert "$1" -crop $((w - 1))x${h}+1+0 +repage b.png
  convert "$1" -crop ${w}x$((h - 1))+0+0 +repage c.png; convert "$1" -crop ${w}x$((h - 1))+0+1 +repage d.png
  echo "$(mae a.png b.png) $(mae c.png d.png)" | awk '{ printf "%.5f", ($1 + $2) / 2 }'
}

for size in "$@"; do
  sw=${size%x*} sh=${size#*x}
  for n in $(seq 57 120); do
    [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
    Xvfb :$n -screen 0 ${sw}x${sh}x24 -nolisten tcp 2>/dev/null & xvfb=$!
    for _ in $(seq 50); do DISPLAY=:$n xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
    kill -0 $xvfb 2>/dev/null && [ "$(tr -d ' ' </tmp/.X$n-lock)" = "$xvfb" ] && export DISPLAY=:$n && break
    kill $xvfb 2>/dev/null; xvfb=""
  done
  [ -n "$xvfb" ] || { echo "Xvfb did not start"; exit 1; }
  QT_QPA_PLATFORM=xcb "$app" >app.log 2>&1 & pid=$!
  sleep 2
  xdotool key Return; sleep 1.5; xdotool key p; sleep 0.7  # a run, paused
  import -window root "$out/shot-$size.png"
  kill $pid; wait $pid 2>/dev/null; pid=""
  kill $xvfb; wait $xvfb 2>/dev/null; xvfb=""

  # The frame's box as the window places it: largest scale, aspect kept, centred.
  if [ $((sw * 600)) -le $((sh * 800)) ]; then w=$sw h=$((sw * 600 / 800)); else h=$sh w=$((sh * 800 / 600)); fi
  bx=$(((sw - w) / 2)) by=$(((sh - h) / 2))
  cx=$((lx * w / 800)) cy=$((ly * h / 600)) cw=$((lw * w / 800)) ch=$((lh * h / 600))
  convert frame.png -sample 1000% -filter Box -resize ${w}x${h}! ideal.png
  convert ideal.png -crop ${cw}x${ch}+$cx+$cy +repage "$out/ideal-$size.png"
  convert "$out/shot-$size.png" -crop ${cw}x${ch}+$((bx + cx))+$((by + cy)) +repage "$out/legend-$size.png"
  convert "$out/shot-$size.png" -crop ${w}x${h}+$bx+$by +repage box.png
  s=$(sharpness "$out/legend-$size.png") i=$(sharpness "$out/ideal-$size.png")
  line="$size: legend MAE $(mae "$out/legend-$size.png" "$out/ideal-$size.png"), sharpness $s of the ideal's $i ($(echo "$s $i" | awk '{ printf "%.1f", 100 * $1 / $2 }') %)"
  if [ $((w % 800)) -eq 0 ]; then  # a whole factor: the box is the nearest-pixel picture of a frame, the legend that of this one
    k=$((w / 800))
    convert box.png -sample $((100 / k))% -sample $((100 * k))% again.png
    convert frame.png -sample $((100 * k))% -crop ${cw}x${ch}+$cx+$cy +repage legend.png
    line="$line; differs from -sample $((100 * k))% in $(compare -metric AE box.png again.png null: 2>&1) pixels, legend in $(compare -metric AE "$out/legend-$size.png" legend.png null: 2>&1)"
  fi
  echo "$line"
done
