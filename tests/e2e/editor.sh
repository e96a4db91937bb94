#!/usr/bin/env bash
# With the keyboard alone, in the real program under a virtual X server: add a
# system, leave the editor with Escape, end the program with Escape, and check
# that the file now ends with the new system and its two planets.
set -u

APP="$1"

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "Xvfb is not installed: test skipped"
  exit 0
fi
for tool in xdotool xdpyinfo; do
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
for n in $(seq 91 150); do
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

# Waits up to 20 s for a visible window with exactly that title and prints its id.
wait_window() {
  local id=""
  for _ in $(seq 1 200); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

wait_gone() {
  for _ in $(seq 1 200); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# The file as the program writes it, so that the whole content can be compared.
original=$'[Due pianeti]\n1\n3\nSole\n\t400.000000\t300.000000\t0.000000\t0.000000\t10.000000\t1\nTerra\n\t400.000000\t150.000000\t8.500000\t0.000000\t1.000000\t0\n\n'
added=$'[Nuova configurazione]\n0\nPrimo pianeta\n\t0.000000\t0.000000\t0.000000\t0.000000\t1.000000\t0\nSecondo pianeta\n\t0.000000\t0.000000\t0.000000\t0.000000\t1.000000\t0\n\n'
printf '%s' "$original" >"$work/Quorvane.ini"

cd "$work" || fail "no working directory"
"$APP" >"$work/app.log" 2>&1 &
app_pid=$!

main=$(wait_window "Quorvane") || fail "the main window did not appear"
xdotool windowfocus --sync "$main"
sleep 0.5

# Focus starts on "Avvia la simulazione!"; the tab order goes on with
# "(Fine del programma)", the chooser, the help text and then "Aggiungi...".
xdotool key --delay 100 Tab Tab Tab Tab
xdotool key space

editor=$(wait_window "Caratteristiche del sistema") || fail "the editor did not open"
xdotool windowfocus --sync "$editor"
sleep 0.5
xdotool key Escape
wait_gone "Caratteristiche del sistema" || fail "the editor did not close on Escape"

xdotool windowfocus --sync "$main"
sleep 0.5
xdotool key Escape

status=""
for _ in $(seq 1 100); do
  if ! kill -0 "$app_pid" 2>/dev/null; then
    wait "$app_pid"
    status=$?
    break
  fi
  sleep 0.1
done
[ -n "$status" ] || fail "the program did not end on Escape"
app_pid=""
[ "$status" -eq 0 ] || { cat "$work/app.log"; fail "the program exited with status $status"; }

expected="$original$added"
actual=$(cat "$work/Quorvane.ini"; echo x)
actual=${actual%x}
if [ "$actual" != "$expected" ]; then
  echo "--- expected"; printf '%s' "$expected" | cat -A
  echo "--- actual"; printf '%s' "$actual" | cat -A
  fail "the file does not end with the new system"
fi
echo "PASS: the new system was added and saved"
