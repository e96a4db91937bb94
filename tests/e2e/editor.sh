#!/usr/bin/env bash
# With the keyboard alone, in the real program under a virtual X server: add a
# system, leave the editor with Escape, end the program with Escape, and check
# that the file now ends with the new system and its two planets.
set -u
source "$(dirname "$0")/xvfb.bash"
e2e_require
e2e_start_xvfb 91

# The file as the program writes it, so that the whole content can be compared.
original=$'[Due pianeti]\n1\n3\nSole\n\t400.000000\t300.000000\t0.000000\t0.000000\t10.000000\t1\nTerra\n\t400.000000\t150.000000\t8.500000\t0.000000\t1.000000\t0\n\n'
added=$'[Nuova configurazione]\n0\nPrimo pianeta\n\t0.000000\t0.000000\t0.000000\t0.000000\t1.000000\t0\nSecondo pianeta\n\t0.000000\t0.000000\t0.000000\t0.000000\t1.000000\t0\n\n'
printf '%s' "$original" >"$e2e_work/Quorvane.ini"
e2e_start_app "$1"

main=$(e2e_wait_window "Quorvane") || fail "the main window did not appear"
xdotool windowfocus --sync "$main"
sleep 0.5

# Focus starts on "Avvia la simulazione!"; the tab order goes on with
# "(Fine del programma)", the chooser, the help text and then "Aggiungi...".
xdotool key --delay 100 Tab Tab Tab Tab
xdotool key space

editor=$(e2e_wait_window "Caratteristiche del sistema") || fail "the editor did not open"
xdotool windowfocus --sync "$editor"
sleep 0.5
xdotool key Escape
e2e_wait_gone "Caratteristiche del sistema" || fail "the editor did not close on Escape"

xdotool windowfocus --sync "$main"
sleep 0.5
xdotool key Escape
e2e_expect_exit_0

expected="$original$added"
actual=$(cat "$e2e_work/Quorvane.ini"; echo x)
actual=${actual%x}
if [ "$actual" != "$expected" ]; then
  echo "--- expected"; printf '%s' "$expected" | cat -A
  echo "--- actual"; printf '%s' "$actual" | cat -A
  fail "the file does not end with the new system"
fi
echo "PASS: the new system was added and saved"
