#!/usr/bin/env bash
# The real program under a virtual X server: the main window opens on the
# systems of the file without any message, and a screenshot of it is kept as
# mainwindow.png in the directory the test runs in.
set -u
shot="$PWD/mainwindow.png"
source "$(dirname "$0")/xvfb.bash"
e2e_require import
e2e_start_xvfb 151

cat >"$e2e_work/Quorvane.ini" <<'INI'
[Sole e Terra]
0
Sole
	400.000000	300.000000	0.000000	0.000000	10.000000	1
Terra
	400.000000	150.000000	8.500000	0.000000	1.000000	0

[Stella binaria]
1
2.5
A
	350.000000	300.000000	0.000000	5.000000	5.000000	0
B
	450.000000	300.000000	0.000000	-5.000000	5.000000	0

INI
cp "$e2e_work/Quorvane.ini" "$e2e_work/original.ini"
e2e_start_app "$1"

main=$(e2e_wait_window "Quorvane") || fail "the main window did not appear"
sleep 1
kill -0 "$e2e_app_pid" 2>/dev/null || fail "the program ended on its own"
# A message box would be a second window with the same title.
count=$(e2e_windows_named "Quorvane" | wc -l)
[ "$count" -eq 1 ] || fail "$count windows named Quorvane: a message was shown"
echo "main window $main, $(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: //p')"

import -window root "$shot" || fail "no screenshot"
[ -s "$shot" ] || fail "empty screenshot"
echo "screenshot: $shot"

# Escape ends the program without writing the file.
xdotool windowfocus --sync "$main"
xdotool key Escape
e2e_expect_exit_0
cmp -s "$e2e_work/Quorvane.ini" "$e2e_work/original.ini" || fail "the file was written"
echo "PASS: main window shown and closed"
