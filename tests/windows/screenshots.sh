#!/usr/bin/env bash
# Screenshots of the program's three windows: the main window, the timer
# dialog under it and the help window, in the design's colours and then in
# high contrast ("-high-contrast" names). Before them, a real Tab key into
# the threshold box must select its whole text. The program runs with a long
# countdown and is ended with Abort, which must be the only command run.
#
#   screenshots.sh DRIVER PROGRAM OUTPUT_DIR
set -euo pipefail
driver="$1"
program="$2"
out="$3"
source "$(dirname "$0")/session_helpers.sh"

mkdir -p "$out"
rm -f "$out"/main-window*.png "$out"/timer-dialog*.png "$out"/help-window*.png

shot() { # name
  screenshot "$out/$1.png"
  local colours
  colours="$(convert "$out/$1.png" -format %k info:)"
  [[ "$colours" -gt 4 ]] || fail "$1.png shows only $colours colours: nothing was drawn"
  echo "  wrote $out/$1.png ($colours colours)"
}

shoot_windows() { # suffix
  shot "main-window$1"
  drive click QuellorForm1 1009 || fail "cannot click Set Timer" # Label9
  drive wait-window QuellorForm3 || fail "the timer dialog did not show"
  shot "timer-dialog$1"
  drive click QuellorForm3 3006 || fail "cannot click Cancel" # Label6 of the dialog
  sleep 1
  drive click QuellorForm1 1012 || fail "cannot click ?" # Label12
  drive wait-window QuellorForm2 || fail "the help window did not show"
  shot "help-window$1"
  drive click QuellorForm2 2002 || fail "cannot click the help window's OK" # Label2
  drive wait-window QuellorForm1 || fail "the main window did not come back after help"
}

start_program
# Timer OR CPU, which takes the focus; Tab goes on into the threshold box.
drive click QuellorForm1 1503 || fail "cannot click Timer OR CPU" # Option1(3)
sleep 0.5
xdotool key Tab
sleep 0.5
selection="$(drive selection QuellorForm1 1602)" # Text2, which holds "2"
[[ "$selection" == "focused 0 1" ]] || fail "after Tab the threshold box shows \"$selection\""
echo "  Tab into the threshold box: $selection"

shoot_windows ""
drive high-contrast || fail "cannot turn high contrast on"
shoot_windows -high-contrast

abort_program
echo "PASS screenshots"
