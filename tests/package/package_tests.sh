#!/usr/bin/env bash
# The Windows packages under Wine. The portable zip holds the program and its
# text, and the program fires into the recorder. The installer installs
# silently for the user alone (no elevation asked), into the default folder
# or the one given with /D=; there the program runs and fires into the
# recorder, and the Start-menu shortcut and the Add/Remove entry exist. The
# uninstaller removes the files, the shortcut and the entry, and leaves the
# user's settings. Given a folder that holds a file of the user's, the
# installer installs into a Quellor folder inside it, and the file outlives
# the install and the uninstall unchanged. /D= in any letter case, quoted or
# not, installs into the folder as written; a /D= that is a file, a relative
# path, a share, a drive's root, a path of 200 characters or more, or given
# twice is refused with exit code 2 before anything is written. An earlier
# install's folder counts as Quellor's only while it holds Quellor's own
# uninstaller.
#
#   scripts/wine-session.sh tests/package/package_tests.sh DRIVER ZIP SETUP
set -euo pipefail
# session_helpers.sh drives the program with $driver and checks that $program exists.
# shellcheck disable=SC2034
driver="$(realpath "$1")"
zip="$(realpath "$2")"
setup="$(realpath "$3")"
# shellcheck disable=SC2034
program="$setup"
# shellcheck source=tests/windows/session_helpers.sh
source "$(dirname "$0")/../windows/session_helpers.sh"
[[ -f "$zip" ]] || fail "no zip $zip: make package builds it"
version="$(basename "$zip" | sed -n 's/^Quellor-\(.*\)-win64\.zip$/\1/p')"
[[ -n "$version" ]] || fail "cannot read the version from $zip"

entry='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quellor'
settings='HKCU\Software\Quellor\Settings'
win() { wine cmd /c "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# Where a Windows path lies on this machine, worked out here rather than by
# winepath, which once gave an empty path under CI: C:\ is the prefix's
# drive_c, a relative path starts in the current folder (the installer's too),
# and a share has no place here.
unix_path() {
  local path="$1"
  case "$path" in
    [Cc]:\\*) path="$WINEPREFIX/drive_c/${path:3}" ;;
    \\\\*) return 0 ;;
    [A-Za-z]:*) echo "FAIL: only drive C: is known here, not $path" >&2 && return 1 ;;
    *) path="$PWD/$path" ;;
  esac
  printf '%s\n' "${path//\\//}"
}
reg_value() { # key name: the value's data as reg query prints it
  wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
has_key() { wine reg query "$1" </dev/null >/dev/null 2>&1; }
local_appdata="$(win echo %LOCALAPPDATA%)"
appdata="$(win echo %APPDATA%)"
[[ "$local_appdata" == C:\\* && "$appdata" == C:\\* ]] ||
  fail "the user's folders are \"$local_appdata\" and \"$appdata\", not on C:"
shortcut="$(unix_path "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Quellor.lnk")"

# A folder of the user's, with a file whose name is one of the installer's.
user_folder='C:\quellor-user'
user_file="$WINEPREFIX/drive_c/quellor-user/README.txt"
user_text="The user's own notes, not Quellor's"
user_file_kept() { [[ -f "$user_file" && "$(cat "$user_file")" == "$user_text" ]]; }
long_part="$(printf "quellor-long-path-%s\\\\" {1..15})" # 306 characters

# The installer's arguments for its switches as typed on a command line:
# split at spaces, but a "quoted" part is one argument. Wine quotes an
# argument that holds a space when it makes the Windows command line, so the
# installer sees them as typed (a quoted part must hold a space for that).
switch_words() {
  local line="$1" word="" quoted=0 char i
  words=()
  for ((i = 0; i < ${#line}; i++)); do
    char="${line:i:1}"
    if [[ "$char" == '"' ]]; then
      quoted=$((1 - quoted))
    elif [[ "$char" == ' ' && $quoted == 0 ]]; then
      [[ -z "$word" ]] || words+=("$word")
      word=""
    else
      word+="$char"
    fi
  done
  [[ -z "$word" ]] || words+=("$word")
}

# What an earlier run that stopped half-way may have left.
leftovers() {
  wine reg delete "$entry" /f </dev/null >/dev/null 2>&1 || true
  rm -f "$shortcut"
  rm -rf "$(unix_path "$local_appdata\\Programs\\Quellor")" "$WINEPREFIX/drive_c/Tools/Quellor" \
    "$WINEPREFIX/drive_c/quellor-zip" "$WINEPREFIX/drive_c/quellor-user" \
    "$WINEPREFIX/drive_c/quellor-file" "$WINEPREFIX/drive_c/quellor-long-path-1" \
    "$WINEPREFIX"/drive_c/quellor-200-* "$WINEPREFIX"/drive_c/quellor-as-written* \
    "$WINEPREFIX/drive_c/quellor-stale"
}
leftovers
mkdir -p "$(dirname "$user_file")"
echo "$user_text" >"$user_file"

echo "The portable zip"
unpacked="$WINEPREFIX/drive_c/quellor-zip"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip")
listing="$(cd "$unpacked" && find . -type f | sort | tr '\n' ' ')"
[[ "$listing" == "./README.txt ./quellor.exe " ]] || fail "the zip holds $listing"
grep -q $'Quellor '"$version"$'\r$' "$unpacked/README.txt" ||
  fail "README.txt does not start with the version in Windows line ends"
drive run restart 'C:\quellor-zip\quellor.exe' || fail "the zip's program"

# The installer asks for no elevation: its manifest runs it as the user.
grep -aq 'level="asInvoker"' "$setup" || fail "the installer's manifest asks for elevation"

# One row per install: the /D= switch as typed (none: the default folder),
# the folder it must install to, and the run of the installed program ("-"
# for none). Unquoted, /D= takes the rest of the line, spaces and all.
rows=(
  "|$local_appdata\\Programs\\Quellor|restart"
  "/D=C:\\Tools\\Quellor|C:\\Tools\\Quellor|-"
  "/D=$user_folder|$user_folder\\Quellor|-"
  "\"/D=C:\\quellor-as-written quoted\"|C:\\quellor-as-written quoted|-"
  "/d=C:\\quellor-as-written-lower|C:\\quellor-as-written-lower|-"
  "\"/d=C:\\quellor-as-written lower quoted\"|C:\\quellor-as-written lower quoted|-"
  "/D=C:\\quellor-as-written two words|C:\\quellor-as-written two words|-"
)
for row in "${rows[@]}"; do
  IFS='|' read -r switch folder run <<<"$row"
  where="$(unix_path "$folder")"
  echo "Install ${switch:-to the default folder}: $folder"
  started=$SECONDS
  switch_words "$switch"
  wine "$setup" /S "${words[@]}" </dev/null || fail "$row: the installer failed"
  echo "  installed in $((SECONDS - started)) s"
  user_file_kept || fail "$row: the install changed $user_folder\\README.txt"
  for file in quellor.exe README.txt uninstall.exe; do
    [[ -f "$where/$file" ]] || fail "$row: no $folder\\$file"
  done
  [[ -f "$shortcut" ]] || fail "$row: no Start-menu shortcut $shortcut"
  strings -el "$shortcut" | grep -qiF "$folder\\quellor.exe" ||
    fail "$row: the shortcut does not lead to $folder\\quellor.exe"
  wine reg query "$entry" </dev/null | tr -d '\r' | sed -n 's/^ \{4\}/  /p'
  while IFS='=' read -r name expected; do
    actual="$(reg_value "$entry" "$name")"
    [[ "$actual" == "$expected" ]] ||
      fail "$row: the entry's $name is \"$actual\", expected \"$expected\""
  done <<EXPECTED
DisplayName=Quellor
DisplayVersion=$version
DisplayIcon=$folder\\quellor.exe,0
InstallLocation=$folder
UninstallString="$folder\\uninstall.exe"
QuietUninstallString="$folder\\uninstall.exe" /S
NoModify=0x1
NoRepair=0x1
EXPECTED
  size=$(($(reg_value "$entry" EstimatedSize)))
  on_disk=$(find "$where" -type f -printf '%s\n' | awk '{ sum += $1 } END { print int(sum / 1024) }')
  ((size > 0 && size >= on_disk - 1 && size <= on_disk + 1)) ||
    fail "$row: EstimatedSize is $size KiB, the folder holds $on_disk KiB"

  if [[ "$run" != - ]]; then
    drive run "$run" "$folder\\quellor.exe" || fail "$row: the installed program"
  else
    drive prepare || fail "$row: cannot prepare a clean state"
    drive place 1440 1440 || fail "$row: cannot store a setting"
  fi
  has_key "$settings" || fail "$row: no settings to keep"
  # Wine's menu builder, were it on, would have copied the shortcut into this
  # machine's own menus by now.
  [[ ! -e "$HOME/.local/share/applications/wine/Programs/Quellor.desktop" ]] ||
    fail "$row: the shortcut reached this machine's menus"

  started=$SECONDS
  wine "$folder\\uninstall.exe" /S </dev/null || fail "$row: the uninstaller failed"
  # The uninstaller works from a copy of itself that it starts and leaves.
  for _ in $(seq 50); do
    [[ -e "$where" ]] || break
    sleep 0.2
  done
  [[ ! -e "$where" ]] || fail "$row: the uninstaller left $(find "$where" | tr '\n' ' ')"
  echo "  uninstalled in $((SECONDS - started)) s"
  [[ ! -e "$shortcut" ]] || fail "$row: the uninstaller left the shortcut"
  ! has_key "$entry" || fail "$row: the uninstaller left the entry $entry"
  has_key "$settings" || fail "$row: the uninstaller removed the settings"
  user_file_kept || fail "$row: the uninstall changed $user_folder\\README.txt"
  echo "  files, shortcut and entry gone; $settings kept"
done

# An earlier install's folder counts as Quellor's only while it holds
# Quellor's own uninstaller. One row per state the folder is in when Quellor
# is installed into it again: what it holds besides the Add/Remove entry that
# names it, and where the second install must go.
stale='C:\quellor-stale'
stale_rows=(
  "Quellor as installed|$stale"
  "the user's README.txt, made anew by hand|$stale\\Quellor"
  "the user's README.txt and Wine's uninstaller as uninstall.exe|$stale\\Quellor"
)
for row in "${stale_rows[@]}"; do
  IFS='|' read -r holds folder <<<"$row"
  echo "Install again into $stale, which holds $holds"
  wine "$setup" /S "/D=$stale" </dev/null || fail "$holds: the first install failed"
  where="$(unix_path "$stale")"
  if [[ "$holds" == "the user's"* ]]; then
    rm -rf "$where"
    mkdir -p "$where"
    echo "$user_text" >"$where/README.txt"
  fi
  if [[ "$holds" == *uninstall.exe ]]; then
    cp "$WINEPREFIX/drive_c/windows/system32/uninstaller.exe" "$where/uninstall.exe"
  fi
  wine "$setup" /S "/D=$stale" </dev/null || fail "$holds: the second install failed"
  installed="$(reg_value "$entry" InstallLocation)"
  [[ "$installed" == "$folder" ]] || fail "$holds: installed into \"$installed\", not $folder"
  [[ -f "$(unix_path "$folder")/quellor.exe" ]] || fail "$holds: no $folder\\quellor.exe"
  [[ "$holds" != "the user's"* ]] || [[ "$(cat "$where/README.txt")" == "$user_text" ]] ||
    fail "$holds: the install changed $stale\\README.txt"
  wine "$folder\\uninstall.exe" /S </dev/null || fail "$holds: the uninstaller failed"
  for _ in $(seq 50); do
    [[ -e "$(unix_path "$folder")" ]] || break
    sleep 0.2
  done
  [[ ! -e "$(unix_path "$folder")" ]] || fail "$holds: the uninstaller left $folder"
  [[ "$holds" != "the user's"* ]] || [[ "$(cat "$where/README.txt")" == "$user_text" ]] ||
    fail "$holds: the uninstall changed $stale\\README.txt"
  ! has_key "$entry" || fail "$holds: the uninstaller left the entry $entry"
  rm -rf "$where"
  echo "  installed into $folder; the user's files kept"
done

# One row per /D= the installer must refuse: what it is, and the switch as
# typed.
echo "A file's text" >"$WINEPREFIX/drive_c/quellor-file"
refusals=(
  "a file|/D=C:\\quellor-file"
  "a relative path|/D=quellor-relative\\Quellor"
  "a share|/D=\\\\server\\quellor"
  "200 characters|/D=C:\\quellor-200-$(printf 'x%.0s' {1..185})"
  "260 characters and more|/D=C:\\${long_part}Quellor"
  "a file, in lower case|/d=C:\\quellor-file"
  "a folder inside a file|/d=C:\\quellor-file\\Quellor"
  "a relative path, quoted|\"/d=quellor relative\\Quellor\""
  "a drive's root|/d=C:\\"
  "a folder that ends in a dot|/d=C:\\quellor-as-written."
  "a folder that ends in a space|\"/D=C:\\quellor-as-written \""
  "two folders|\"/D=C:\\quellor-as-written quoted\" /D=C:\\quellor-as-written-lower"
)
default_folder="$(unix_path "$local_appdata\\Programs\\Quellor")"
for row in "${refusals[@]}"; do
  IFS='|' read -r what switch <<<"$row"
  echo "Refuse $what (${#switch} characters): $switch"
  switch_words "$switch"
  # Each folder given must be as it was: absent, or the file or root it is.
  targets=() existed=()
  for word in "${words[@]}"; do
    [[ "${word:0:3}" == /[Dd]= ]] || continue
    targets+=("$(unix_path "${word:3}")")
    [[ -e "${targets[-1]}" ]] && existed+=(1) || existed+=(0)
  done
  status=0
  wine "$setup" /S "${words[@]}" </dev/null || status=$?
  ((status == 2)) || fail "$what: the installer ended with exit code $status, not 2"
  for i in "${!targets[@]}"; do
    [[ -z "${targets[i]}" || "${existed[i]}" == 1 || ! -e "${targets[i]}" ]] ||
      fail "$what: the installer wrote ${targets[i]}"
  done
  [[ ! -e "$default_folder" ]] || fail "$what: the installer wrote the default folder"
  [[ ! -e "$shortcut" ]] || fail "$what: the installer made the shortcut"
  ! has_key "$entry" || fail "$what: the installer made the entry $entry"
  echo "  exit code $status, nothing written"
done
[[ "$(cat "$WINEPREFIX/drive_c/quellor-file")" == "A file's text" ]] ||
  fail "the installer changed the file given as /D="

leftovers
drive prepare || fail "cannot clear the settings"
echo "PASS packages"
