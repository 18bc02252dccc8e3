# Shared by the shell tests of this folder; sourced, with $driver and
# $program set. They run inside scripts/wine-session.sh.

fail() {
  echo "FAIL: $*"
  exit 1
}

[[ -n "${WINEPREFIX:-}" && -n "${DISPLAY:-}" ]] ||
  fail "run inside scripts/wine-session.sh (no WINEPREFIX or DISPLAY)"
[[ -f "$program" ]] || fail "the program $program has not been built"

drive() { wine "$driver" "$@" </dev/null | tr -d '\r'; }

# Starts the program with a long countdown after a clean state (no program
# left running, the recorder in place and empty, no stored settings). The
# main window is placed high enough for the timer dialog to fit under it on
# the 1024x768 screen.
start_program() {
  drive prepare || fail "cannot prepare a clean state"
  drive place 7320 2400 || fail "cannot store a window position"
  wine "$program" -t3000 -o0 </dev/null &
  program_pid=$!
  trap 'kill "$program_pid" 2>/dev/null || true' EXIT
  drive wait-window QuellorForm1 || fail "the main window did not show"
}

# Aborts; "Shutdown -a" must be the only command line run.
abort_program() {
  drive click QuellorForm1 1010 || fail "cannot click Abort" # Label10
  for _ in $(seq 50); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.2
  done
  kill -0 "$program_pid" 2>/dev/null && fail "the program did not end after Abort"
  sleep 1
  local recorded
  recorded="$(drive recorded)"
  [[ "$recorded" == "Shutdown -a" ]] ||
    fail "command lines run: expected \"Shutdown -a\", got \"${recorded//$'\n'/\\n}\""
}

# The whole screen, once the windows have painted.
screenshot() { # file
  sleep 1.5
  import -window root "$1" || fail "import could not take $1"
}
