#!/usr/bin/env bash
# Starts the real program under a virtual X server, starts a simulation with
# Enter, checks the full-screen frame on a screenshot (background, legend, a
# body), ends it with ESC, checks the main window is back, then ends the
# program with ESC and checks its exit status.
# Usage: simulation.sh QUORVANE_EXE [QUORVANE_RUN_EXE]
set -uo pipefail

app=${1:?usage: simulation.sh QUORVANE_EXE}
case "$app" in /*) ;; *) app="$PWD/$app" ;; esac

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "SKIP: Xvfb is not installed (tools/install-deps.sh installs it)"
  exit 0
fi
for tool in xdotool import convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "FAIL: $tool is missing (tools/install-deps.sh installs it)"; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  [ -f "$work/app.log" ] && sed 's/^/  app: /' "$work/app.log"
  exit 1
}

# A free display number; another server may take the same one at the same
# moment, so a server that exits at once makes us try the next number.
export DISPLAY=""
for n in $(seq 91 140); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    kill -0 "$xvfb_pid" 2>/dev/null || break
    DISPLAY=":$n" xdotool getmouselocation >/dev/null 2>&1 && { DISPLAY=":$n"; break; }
    sleep 0.2
  done
  [ -n "$DISPLAY" ] && break
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
done
[ -n "$DISPLAY" ] || { sed 's/^/  xvfb: /' "$work/xvfb.log" 2>/dev/null; fail "Xvfb did not start"; }
echo "Xvfb on $DISPLAY"

# One system: a fixed white sun in the middle and a green planet orbiting it.
cat >"$work/Quorvane.ini" <<'EOF'
[Sole e Terra]
0
Sole
	400.000000	300.000000	0.000000	0.000000	10.000000	1
Terra
	400.000000	150.000000	25.819889	0.000000	1.000000	0

EOF

cd "$work" || exit 1
QT_QPA_PLATFORM=xcb "$app" >"$work/app.log" 2>&1 &
app_pid=$!

main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quorvane$' 2>/dev/null | head -n1)
[ -n "$main" ] || fail "the main window \"Quorvane\" did not appear"
sleep 0.5
xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
xdotool key Return
sleep 1.5

# Exact colours survive the nearest-pixel scaling: count them in the screenshot.
count() { # image, colour as #rrggbb
  convert "$1" -format %c histogram:info:- | awk -v c="$2" 'toupper($0) ~ toupper(c) { gsub(":", "", $1); n += $1 } END { print n + 0 }'
}
import -window root "$work/frame.png" || fail "no screenshot"
[ -n "${QV_E2E_SHOT:-}" ] && cp "$work/frame.png" "$QV_E2E_SHOT"
bg=$(count "$work/frame.png" '#000020')
yellow=$(count "$work/frame.png" '#FFFF00')
white=$(count "$work/frame.png" '#FFFFFF')
green=$(count "$work/frame.png" '#00FF00')
echo "frame: background $bg, legend yellow $yellow, white $white, green $green pixels"
# 1024x768 shows the frame at 1.28 times: almost all of it is background.
[ "$bg" -gt 600000 ] || fail "the frame's background RGB(0,0,32) is not on screen ($bg pixels)"
[ "$yellow" -gt 300 ] || fail "no yellow legend on screen ($yellow pixels)"
[ "$white" -gt 0 ] && [ "$green" -gt 0 ] || fail "the bodies are not on screen (white $white, green $green)"

# E and V switch on the names and the vectors: more white on screen.
xdotool key e v
sleep 0.6
import -window root "$work/labels.png" || fail "no screenshot"
white_labels=$(count "$work/labels.png" '#FFFFFF')
echo "with names and vectors: white $white_labels pixels"
[ "$white_labels" -gt $((white + 20)) ] || fail "keys E and V changed nothing on screen"

xdotool key Escape
sleep 1
kill -0 "$app_pid" 2>/dev/null || fail "ESC in the simulation ended the program"
timeout 10 xdotool search --sync --onlyvisible --name '^Quorvane$' >/dev/null 2>&1 || fail "the main window is not back"
import -window root "$work/after.png" || fail "no screenshot"
[ -n "${QV_E2E_SHOT:-}" ] && cp "$work/after.png" "${QV_E2E_SHOT%.png}_after.png"
bg_after=$(count "$work/after.png" '#000020')
echo "after ESC: background $bg_after pixels"
[ "$bg_after" -lt 10000 ] || fail "the simulation frame is still on screen after ESC"

xdotool windowfocus "$main" 2>/dev/null
xdotool key Escape
for _ in $(seq 1 50); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end after ESC in the main window"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "PASS"
