#!/usr/bin/env bash
# Screenshots of the program's three windows, taken inside a Wine session
# (scripts/wine-session.sh): the main window, the timer dialog under it and
# the help window. The program runs with a long countdown and is ended with
# Abort, which must be the only command line it runs.
#
#   screenshots.sh DRIVER PROGRAM OUTPUT_DIR
set -euo pipefail

driver="$1"
program="$2"
out="$3"

fail() {
  echo "FAIL: $*"
  exit 1
}

[[ -n "${WINEPREFIX:-}" && -n "${DISPLAY:-}" ]] ||
  fail "run inside scripts/wine-session.sh (no WINEPREFIX or DISPLAY)"
[[ -f "$program" ]] || fail "the program $program has not been built"

drive() { wine "$driver" "$@" </dev/null | tr -d '\r'; }

# Kills leftovers, makes sure that shutdown.exe is the recorder, empties its
# file and the stored settings.
drive prepare || fail "cannot prepare a clean state"
# High enough on the 1024x768 screen for the timer dialog to fit under it.
drive place 7320 2400 || fail "cannot store a window position"
mkdir -p "$out"
rm -f "$out"/main-window.png "$out"/timer-dialog.png "$out"/help-window.png

wine "$program" -t3000 -o0 </dev/null &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

shot() { # name: the whole screen, once the window has painted
  sleep 1.5
  import -window root "$out/$1.png" || fail "import could not take $1.png"
  local colours
  colours="$(convert "$out/$1.png" -format %k info:)"
  [[ "$colours" -gt 4 ]] || fail "$1.png shows only $colours colours: nothing was drawn"
  echo "  wrote $out/$1.png ($colours colours)"
}

drive wait-window QuellorForm1 || fail "the main window did not show"
shot main-window

drive click QuellorForm1 1009 || fail "cannot click Set Timer" # Label9
drive wait-window QuellorForm3 || fail "the timer dialog did not show"
shot timer-dialog
drive click QuellorForm3 3006 || fail "cannot click Cancel" # Label6 of the dialog
sleep 1

drive click QuellorForm1 1012 || fail "cannot click ?" # Label12
drive wait-window QuellorForm2 || fail "the help window did not show"
shot help-window
drive click QuellorForm2 2002 || fail "cannot click the help window's OK" # Label2
drive wait-window QuellorForm1 || fail "the main window did not come back after help"

drive click QuellorForm1 1010 || fail "cannot click Abort" # Label10
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end after Abort"
sleep 1
recorded="$(drive recorded)"
[[ "$recorded" == "Shutdown -a" ]] ||
  fail "command lines run: expected \"Shutdown -a\", got \"${recorded//$'\n'/\\n}\""
echo "PASS screenshots"
