#!/usr/bin/env bash
# The captions of the labels stand where the windows' design puts them:
# centred in the label buttons, the displays and the titles, right-aligned in
# the timer dialog's field labels. Measured on screenshots: the text's
# bounding box inside the control (its border shaved off), whatever the font.
#
#   caption_alignment.sh DRIVER PROGRAM
set -euo pipefail
driver="$1"
program="$2"
source "$(dirname "$0")/session_helpers.sh"

shots="$(mktemp -d)"
faults=()

# Margins left and right of the text inside a control on a screenshot.
margins() { # shot class id
  local geometry box inner text_width text_left
  geometry="$(drive rect "$2" "$3")" || fail "no control $3 in $2"
  read -r box inner <<<"$(convert "$1" -crop "$geometry" +repage -shave 2x2 -fuzz 20% \
    -format '%@ %w' info:)"
  text_width="${box%%x*}"
  text_left="$(cut -d+ -f2 <<<"$box")"
  echo "$text_left $((inner - text_left - text_width))"
}

check() { # shot class id name alignment
  local left right
  read -r left right < <(margins "$1" "$2" "$3")
  case "$5" in
    centred) ((left - right <= 3 && right - left <= 3)) ||
      faults+=("$4 is not centred: $left px left of its caption, $right px right") ;;
    right) ((right <= 3 && left > right)) ||
      faults+=("$4 is not right-aligned: $left px left of its caption, $right px right") ;;
  esac
  echo "  $4: $left px | caption | $right px"
}

start_program
screenshot "$shots/main.png"
for entry in "1008 Label8 (title)" "1006 Label6 (CPU Usage :)" "1007 Label7 (Time out:)" \
  "1005 Label5 (usage display)" "1003 Label3 (countdown display)" "1001 Label1 (hh:mm:ss)" \
  "1004 Label4 (% CPU Usage)" "1009 Label9 (Set Timer)" "1012 Label12 (?)" \
  "1010 Label10 (Abort)"; do
  check "$shots/main.png" QuellorForm1 "${entry%% *}" "main window ${entry#* }" centred
done

drive click QuellorForm1 1009 || fail "cannot click Set Timer"
drive wait-window QuellorForm3 || fail "the timer dialog did not show"
screenshot "$shots/dialog.png"
for entry in "3001 Label1 (clock)" "3005 Label5 (OK)" "3006 Label6 (Cancel)"; do
  check "$shots/dialog.png" QuellorForm3 "${entry%% *}" "timer dialog ${entry#* }" centred
done
for entry in "3007 Label7 (Clock :)" "3002 Label2 (Hour)" "3003 Label3 (Min)" \
  "3004 Label4 (Sec)"; do
  check "$shots/dialog.png" QuellorForm3 "${entry%% *}" "timer dialog ${entry#* }" right
done
drive click QuellorForm3 3006 || fail "cannot click Cancel"
sleep 1

drive click QuellorForm1 1012 || fail "cannot click ?"
drive wait-window QuellorForm2 || fail "the help window did not show"
screenshot "$shots/help.png"
for entry in "2003 Label3 (Quellor)" "2004 Label4 (version)" "2005 Label5 (Online Help)" \
  "2002 Label2 (OK)"; do
  check "$shots/help.png" QuellorForm2 "${entry%% *}" "help window ${entry#* }" centred
done
drive click QuellorForm2 2002 || fail "cannot click the help window's OK"
drive wait-window QuellorForm1 || fail "the main window did not come back after help"

abort_program
rm -rf "$shots"
if ((${#faults[@]})); then
  printf 'FAIL: %s\n' "${faults[@]}"
  exit 1
fi
echo "PASS caption alignment"
