#!/usr/bin/env bash
# The Windows packages under Wine. The portable zip holds the program and its
# text, and the program fires into the recorder. The installer installs
# silently for the user alone (no elevation asked), into the default folder
# or the one given with /D=; there the program runs and fires into the
# recorder, and the Start-menu shortcut and the Add/Remove entry exist. The
# uninstaller removes the files, the shortcut and the entry, and leaves the
# user's settings. Given a folder that holds a file of the user's, the
# installer installs into a Quellor folder inside it, and the file outlives
# the install and the uninstall unchanged. A /D= that is a file, a relative
# path, a share, or a path of 200 characters or more is refused with a
# non-zero exit code before anything is written.
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

# What an earlier run that stopped half-way may have left.
leftovers() {
  wine reg delete "$entry" /f </dev/null >/dev/null 2>&1 || true
  rm -f "$shortcut"
  rm -rf "$(unix_path "$local_appdata\\Programs\\Quellor")" "$WINEPREFIX/drive_c/Tools/Quellor" \
    "$WINEPREFIX/drive_c/quellor-zip" "$WINEPREFIX/drive_c/quellor-user" \
    "$WINEPREFIX/drive_c/quellor-file" "$WINEPREFIX/drive_c/quellor-long-path-1" \
    "$WINEPREFIX"/drive_c/quellor-200-*
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

# One row per install: the /D= switch (none: the default folder), the folder
# it must install to, and the run of the installed program ("-" for none).
rows=(
  "|$local_appdata\\Programs\\Quellor|restart"
  "/D=C:\\Tools\\Quellor|C:\\Tools\\Quellor|-"
  "/D=$user_folder|$user_folder\\Quellor|-"
)
for row in "${rows[@]}"; do
  IFS='|' read -r switch folder run <<<"$row"
  where="$(unix_path "$folder")"
  echo "Install ${switch:-to the default folder}: $folder"
  started=$SECONDS
  # shellcheck disable=SC2086 # no switch is no argument
  wine "$setup" /S $switch </dev/null || fail "$row: the installer failed"
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

# One row per /D= the installer must refuse: what it is, and the folder.
echo "A file's text" >"$WINEPREFIX/drive_c/quellor-file"
refusals=(
  "a file|C:\\quellor-file"
  "a relative path|quellor-relative\\Quellor"
  "a share|\\\\server\\quellor"
  "200 characters|C:\\quellor-200-$(printf 'x%.0s' {1..185})"
  "260 characters and more|C:\\${long_part}Quellor"
)
default_folder="$(unix_path "$local_appdata\\Programs\\Quellor")"
for row in "${refusals[@]}"; do
  IFS='|' read -r what folder <<<"$row"
  echo "Refuse /D= to $what (${#folder} characters)"
  status=0
  wine "$setup" /S "/D=$folder" </dev/null || status=$?
  ((status != 0)) || fail "$what: the installer ended with exit code 0"
  target="$(unix_path "$folder")"
  [[ "$what" == "a file" ]] || [[ -z "$target" || ! -e "$target" ]] ||
    fail "$what: the installer wrote $target"
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
