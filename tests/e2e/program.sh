#!/usr/bin/env bash
# The real program under Xvfb by keyboard alone: main window, run, question, editor. Usage: program.sh QUORVANE_EXE
set -u
app=$(realpath "$1")
work=$(mktemp -d) xvfb="" pid=""
trap '{ [ -n "$pid" ] && kill $pid; [ -n "$xvfb" ] && kill $xvfb; wait; rm -rf "$work"; } 2>/dev/null' EXIT
fail() { echo "FAIL: $*"; sed 's/^/  app: /' "$work/app.log" 2>/dev/null; exit 1; }
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed (tools/install-deps.sh)"; exit 0; }
for t in xdotool import convert; do command -v $t >/dev/null || fail "no $t (tools/install-deps.sh)"; done
cd "$work" || exit 1
printf 'leak:libdbus-1.so\nleak:libfontconfig.so\n' >lsan.supp  # the system's own leaks, in a sanitizer build
export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$app" 2>&1)
[ $? -eq 1 ] && [[ $out == *"impossibile aprire il display"* ]] || fail "without a display: $out"

for n in $(seq 91 150); do
  [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] && continue
  Xvfb :$n -screen 0 1024x768x24 -nolisten tcp 2>/dev/null & xvfb=$!
  for _ in $(seq 50); do DISPLAY=:$n xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
  kill -0 $xvfb 2>/dev/null && [ "$(tr -d ' ' </tmp/.X$n-lock)" = "$xvfb" ] && export DISPLAY=:$n && break  # not another's
  kill $xvfb 2>/dev/null; xvfb=""
done
[ -n "$xvfb" ] || fail "Xvfb did not start"

printf '[Sole e Terra]\n0\nSole\n 400 300 0 0 10 1\nTerra\n 400 150 25.819889 0 1 0\n' >Quorvane.ini
LC_ALL=it_IT.UTF-8 QT_QPA_PLATFORM=xcb "$app" >app.log 2>&1 & pid=$!  # a fixed white sun, a green planet in orbit
windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -vx "${main:-none}"; }
until_() { for _ in $(seq 200); do eval "$1" && return 0; sleep 0.1; done; fail "$2"; }
key() { xdotool windowfocus --sync "$1" 2>/dev/null; sleep 0.2; shift; xdotool key --delay 60 "$@"; }
count() { convert "$1" -format %c histogram:info:- | awk -v c="$2" 'toupper($0) ~ c { gsub(":", "", $1); n += $1 } END { print n + 0 }'; }
shot() { import -window root "$1" || fail "no screenshot"; count "$1" "$2"; }

until_ 'main=$(windows Quorvane)' "no main window"
sleep 0.5
[ -z "$(windows Quorvane)" ] || fail "a message box was shown"
key $main Return
sleep 1.5
bg=$(shot frame.png '#000020') yellow=$(count frame.png '#FFFF00') white=$(count frame.png '#FFFFFF') green=$(count frame.png '#00FF00')
[ "$bg" -gt 600000 ] && [ "$yellow" -gt 300 ] && [ "$white" -gt 0 ] && [ "$green" -gt 0 ] || fail "not the frame: background $bg, legend $yellow, white $white, green $green pixels"  # 800x600 fills the 1024x768 screen
xdotool key e v  # names and vectors: more white
sleep 0.6
[ "$(shot labels.png '#FFFFFF')" -gt $((white + 20)) ] || fail "E and V changed nothing"
xdotool key Escape
until_ '[ "$(shot after.png "#000020")" -lt 10000 ]' "the frame stayed after ESC"
kill -0 $pid || fail "ESC ended the program"

key $main Tab Tab Tab Tab Tab Return  # start, end, chooser, help, "Aggiungi...", "Elimina"
until_ 'box=$(windows Quorvane)' "no question"
key $box Escape  # No
until_ '[ -z "$(windows Quorvane)" ]' "the question stayed"
[ "$(head -c 14 Quorvane.ini)" = "[Sole e Terra]" ] || fail "No deleted"
key $main Return
until_ 'box=$(windows Quorvane)' "no question"
key $box Return  # Yes
until_ '[ ! -s Quorvane.ini ]' "Yes did not delete"
key $main shift+Tab Return  # back to "Aggiungi..."
until_ 'editor=$(windows "Caratteristiche del sistema")' "no editor"
key $editor shift+Tab ctrl+a  # from "OK" to the system name
xdotool type --delay 50 "Prova"
xdotool key Return
until_ '[ -s Quorvane.ini ]' "the editor did not save"
key $main Escape
until_ '! kill -0 $pid 2>/dev/null' "the program did not end"
wait $pid || fail "exit status $?"
[ "$(cat Quorvane.ini)" = $'[Prova]\n0\nPrimo pianeta\n\t0.000000\t0.000000\t0.000000\t0.000000\t1.000000\t0\nSecondo pianeta\n\t0.000000\t0.000000\t0.000000\t0.000000\t1.000000\t0' ] ||
  { cat -A Quorvane.ini; fail "the file does not hold the new system"; }
echo PASS
