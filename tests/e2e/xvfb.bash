# Shared by the end-to-end scripts (sourced, not a test of its own): a virtual X
# server on a free display, a work folder, the program started in it, and waits
# for its windows and its end. Everything started here ends with the script.

e2e_work=$(mktemp -d)
e2e_xvfb_pid=""
e2e_app_pid=""

e2e_cleanup() {
  [ -n "$e2e_app_pid" ] && kill "$e2e_app_pid" 2>/dev/null
  [ -n "$e2e_xvfb_pid" ] && kill "$e2e_xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$e2e_work"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*"
  [ -f "$e2e_work/app.log" ] && sed 's/^/  app: /' "$e2e_work/app.log"
  exit 1
}

# Skips the test (exit 0) without Xvfb; fails when another needed tool is missing.
e2e_require() {
  if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIP: Xvfb is not installed (tools/install-deps.sh installs it)"
    exit 0
  fi
  local tool
  for tool in xdotool "$@"; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is not installed (tools/install-deps.sh installs it)"
  done
}

# A display number that nobody uses; another server may take the same one at the
# same moment, so a server that exits at once makes us try the next number.
e2e_start_xvfb() {
  local n
  export DISPLAY=""
  for n in $(seq "$1" $(($1 + 59))); do
    { [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; } && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$e2e_work/xvfb.log" 2>&1 &
    e2e_xvfb_pid=$!
    for _ in $(seq 1 100); do
      kill -0 "$e2e_xvfb_pid" 2>/dev/null || break
      DISPLAY=":$n" xdotool getmouselocation >/dev/null 2>&1 && sleep 0.2 &&
        kill -0 "$e2e_xvfb_pid" 2>/dev/null && { DISPLAY=":$n"; break; }
      sleep 0.1
    done
    [ -n "$DISPLAY" ] && break
    kill "$e2e_xvfb_pid" 2>/dev/null
    wait "$e2e_xvfb_pid" 2>/dev/null
    e2e_xvfb_pid=""
  done
  [ -n "$DISPLAY" ] || { sed 's/^/  xvfb: /' "$e2e_work/xvfb.log" 2>/dev/null; fail "Xvfb did not start"; }
}

# Starts the program in the work folder, which holds the test's Quorvane.ini.
# A sanitizer build reports leaks of the system's own libraries at exit; only ours count.
e2e_start_app() {
  printf 'leak:libdbus-1.so\nleak:libfontconfig.so\n' >"$e2e_work/lsan.supp"
  export LSAN_OPTIONS="suppressions=$e2e_work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
  cd "$e2e_work" || fail "no work folder"
  QT_QPA_PLATFORM=xcb "$1" >"$e2e_work/app.log" 2>&1 &
  e2e_app_pid=$!
}

# Visible windows with exactly that title.
e2e_windows_named() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null
}

# Waits up to 20 s for a visible window with exactly that title and prints its id.
e2e_wait_window() {
  local id=""
  for _ in $(seq 1 200); do
    id=$(e2e_windows_named "$1" | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

e2e_wait_gone() {
  for _ in $(seq 1 200); do
    e2e_windows_named "$1" >/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# Waits up to 10 s for the program to end and checks that its exit status is 0.
e2e_expect_exit_0() {
  local status=""
  for _ in $(seq 1 100); do
    if ! kill -0 "$e2e_app_pid" 2>/dev/null; then
      wait "$e2e_app_pid"
      status=$?
      break
    fi
    sleep 0.1
  done
  [ -n "$status" ] || fail "the program did not end"
  e2e_app_pid=""
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
