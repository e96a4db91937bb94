#!/usr/bin/env bash
# The real program under a virtual X server: the main window opens on the
# systems of the file without any message, and a screenshot of it is kept as
# mainwindow.png in the directory the test runs in.
set -u

APP="$1"
shot="$PWD/mainwindow.png"

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "Xvfb is not installed: test skipped"
  exit 0
fi
for tool in xdotool xdpyinfo import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "FAIL: $tool is not installed (tools/install-deps.sh)"; exit 1; }
done

fail() {
  echo "FAIL: $*"
  exit 1
}

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A sanitizer build reports leaks of the system's own libraries at exit; only ours count.
printf 'leak:libdbus-1.so\nleak:libfontconfig.so\n' >"$work/lsan.supp"
export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# A display number that nobody uses; another one when the server does not come up.
disp=""
for n in $(seq 151 210); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    kill -0 "$xvfb_pid" 2>/dev/null || break
    DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && sleep 0.2 && kill -0 "$xvfb_pid" 2>/dev/null && { disp=$n; break; }
    sleep 0.1
  done
  [ -n "$disp" ] && break
  kill "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
done
[ -n "$disp" ] || fail "Xvfb did not start"
export DISPLAY=":$disp"

windows_named() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null
}

cat >"$work/Quorvane.ini" <<'EOF'
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

[Tre corpi]
0
Uno
	300.000000	300.000000	0.000000	0.000000	3.000000	0

EOF

cp "$work/Quorvane.ini" "$work/original.ini"
cd "$work" || fail "no working directory"
"$APP" >"$work/app.log" 2>&1 &
app_pid=$!

main=""
for _ in $(seq 1 200); do
  main=$(windows_named "Quorvane" | head -n 1)
  [ -n "$main" ] && break
  sleep 0.1
done
[ -n "$main" ] || fail "the main window did not appear"
sleep 1

kill -0 "$app_pid" 2>/dev/null || fail "the program ended on its own"
# A message box would be a second window with the same title.
count=$(windows_named "Quorvane" | wc -l)
[ "$count" -eq 1 ] || fail "$count windows named Quorvane: a message was shown"
name=$(xdotool getwindowname "$main")
[ "$name" = "Quorvane" ] || fail "window title is '$name'"
geometry=$(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: //p')
echo "main window $main, $geometry"

import -window root "$shot" || fail "no screenshot"
[ -s "$shot" ] || fail "empty screenshot"
echo "screenshot: $shot"

# Escape ends the program without writing the file.
xdotool windowfocus --sync "$main"
xdotool key Escape
for _ in $(seq 1 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then fail "the program did not end on Escape"; fi
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 0 ] || { cat "$work/app.log"; fail "exit status $status"; }
cmp -s "$work/Quorvane.ini" "$work/original.ini" || fail "the file was written"
echo "PASS: main window shown and closed"
