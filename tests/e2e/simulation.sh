#!/usr/bin/env bash
# Starts the real program under a virtual X server, starts a simulation with
# Enter, checks the full-screen frame on a screenshot (background, legend, a
# body), ends it with ESC, checks the main window is back, then ends the
# program with ESC and checks its exit status.
# Usage: simulation.sh QUORVANE_EXE [QUORVANE_RUN_EXE]
set -uo pipefail

app=${1:?usage: simulation.sh QUORVANE_EXE}
case "$app" in /*) ;; *) app="$PWD/$app" ;; esac

source "$(dirname "$0")/xvfb.bash"
e2e_require import convert
e2e_start_xvfb 211
echo "Xvfb on $DISPLAY"

# One system: a fixed white sun in the middle and a green planet orbiting it.
cat >"$e2e_work/Quorvane.ini" <<'EOF'
[Sole e Terra]
0
Sole
	400.000000	300.000000	0.000000	0.000000	10.000000	1
Terra
	400.000000	150.000000	25.819889	0.000000	1.000000	0

EOF

e2e_start_app "$app"

main=$(e2e_wait_window "Quorvane") || fail "the main window \"Quorvane\" did not appear"
sleep 0.5
xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
xdotool key Return
sleep 1.5

# Exact colours survive the nearest-pixel scaling: count them in the screenshot.
count() { # image, colour as #rrggbb
  convert "$1" -format %c histogram:info:- | awk -v c="$2" 'toupper($0) ~ toupper(c) { gsub(":", "", $1); n += $1 } END { print n + 0 }'
}
import -window root "$e2e_work/frame.png" || fail "no screenshot"
[ -n "${QV_E2E_SHOT:-}" ] && cp "$e2e_work/frame.png" "$QV_E2E_SHOT"
bg=$(count "$e2e_work/frame.png" '#000020')
yellow=$(count "$e2e_work/frame.png" '#FFFF00')
white=$(count "$e2e_work/frame.png" '#FFFFFF')
green=$(count "$e2e_work/frame.png" '#00FF00')
echo "frame: background $bg, legend yellow $yellow, white $white, green $green pixels"
# 1024x768 shows the frame at 1.28 times: almost all of it is background.
[ "$bg" -gt 600000 ] || fail "the frame's background RGB(0,0,32) is not on screen ($bg pixels)"
[ "$yellow" -gt 300 ] || fail "no yellow legend on screen ($yellow pixels)"
[ "$white" -gt 0 ] && [ "$green" -gt 0 ] || fail "the bodies are not on screen (white $white, green $green)"

# E and V switch on the names and the vectors: more white on screen.
xdotool key e v
sleep 0.6
import -window root "$e2e_work/labels.png" || fail "no screenshot"
white_labels=$(count "$e2e_work/labels.png" '#FFFFFF')
echo "with names and vectors: white $white_labels pixels"
[ "$white_labels" -gt $((white + 20)) ] || fail "keys E and V changed nothing on screen"

xdotool key Escape
sleep 1
kill -0 "$e2e_app_pid" 2>/dev/null || fail "ESC in the simulation ended the program"
e2e_wait_window "Quorvane" >/dev/null || fail "the main window is not back"
import -window root "$e2e_work/after.png" || fail "no screenshot"
[ -n "${QV_E2E_SHOT:-}" ] && cp "$e2e_work/after.png" "${QV_E2E_SHOT%.png}_after.png"
bg_after=$(count "$e2e_work/after.png" '#000020')
echo "after ESC: background $bg_after pixels"
[ "$bg_after" -lt 10000 ] || fail "the simulation frame is still on screen after ESC"

xdotool windowfocus "$main" 2>/dev/null
xdotool key Escape
e2e_expect_exit_0
echo "PASS"
