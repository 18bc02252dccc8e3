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
# The MSI installs silently for the user alone and for every user
# (ALLUSERS=1), with its shortcut and Add/Remove entry, and uninstalls
# silently keeping the settings; installed over an older version it replaces
# it. The winget and Scoop manifests match the files and the entries.
#
#   scripts/wine-session.sh tests/package/package_tests.sh DRIVER ZIP SETUP MSI STAGED
# (STAGED: the installed files that the MSI was made from, for an older MSI.)
set -euo pipefail
# session_helpers.sh drives the program with $driver and checks that $program exists.
# shellcheck disable=SC2034
driver="$(realpath "$1")"
zip="$(realpath "$2")"
setup="$(realpath "$3")"
msi="$(realpath "$4")"
staged="$(realpath "$5")"
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
[[ "$listing" == "./LICENSE.txt ./README.txt ./quellor.exe " ]] || fail "the zip holds $listing"
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
  for file in quellor.exe README.txt LICENSE.txt uninstall.exe; do
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
Publisher=Quellor
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

# The MSI. Windows Installer (Wine's here) keeps its Add/Remove entry under
# the product code, in HKLM even for a per-user install under Wine; the
# entries named Quellor are looked for in both hives.
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall'
quellor_entries() { # each Add/Remove entry named Quellor, a key a line
  win "reg query HKCU\\$uninstall_key /s & reg query HKLM\\$uninstall_key /s" |
    awk '/^HKEY_/ { key = $0 } /^ +DisplayName +REG_SZ +Quellor$/ { print key }'
}
msi_property() { msiinfo export "$1" Property | tr -d '\r' | sed -n "s/^$2\t//p"; }
msi_code="$(msi_property "$msi" ProductCode)"
upgrade_code="$(msi_property "$msi" UpgradeCode)"
[[ "$msi_code" == \{*\} && "$upgrade_code" == \{*\} ]] ||
  fail "the MSI has the product code \"$msi_code\" and the upgrade code \"$upgrade_code\""
# The installer's icon, from CMake's note to release_files.py.
icon="$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["icon"])' \
  "$staged/../release.json")"
user_menu="$appdata\\Microsoft\\Windows\\Start Menu\\Programs"
# What a run that stopped half-way may have left: a product still installed
# would turn the next install into a repair.
msi_leftovers() {
  local key
  while read -r key; do
    if [[ "$key" == *\} ]]; then
      wine msiexec /x "${key##*\\}" /qn </dev/null >/dev/null 2>&1 || true
    fi
    wine reg delete "$key" /f </dev/null >/dev/null 2>&1 || true
  done < <(quellor_entries)
  rm -rf "$WINEPREFIX/drive_c/Program Files/Quellor"
}
value_of() { sed -n "s/^ *$1 *REG_[A-Z_]* *//p" <<<"$values"; } # of the entry read last
# The one Add/Remove entry, of product $1 and version $2, with the values the
# NSIS installer writes too; its key goes into $msi_entry, its values into
# $values.
check_msi_entry() { # product-code version folder
  local name expected actual size on_disk cached
  msi_entry="$(quellor_entries)"
  [[ "$(wc -l <<<"$msi_entry")" == 1 && "$msi_entry" == *"\\$1" ]] ||
    fail "MSI $2: the Add/Remove entries named Quellor are: ${msi_entry//$'\n'/, }; expected $1 alone"
  values="$(wine reg query "$msi_entry" </dev/null | tr -d '\r')"
  while IFS='=' read -r name expected; do
    actual="$(value_of "$name")"
    [[ "$actual" == "$expected" ]] ||
      fail "MSI $2: the entry's $name is \"$actual\", expected \"$expected\""
  done <<EXPECTED
DisplayName=Quellor
DisplayVersion=$2
Publisher=Quellor
InstallLocation=$3\\
UninstallString=MsiExec.exe /X$1
NoModify=0x1
NoRepair=0x1
EXPECTED
  size="$(value_of Size)"
  on_disk=$(find "$(unix_path "$3")" -type f -printf '%s\n' | awk '{ s += $1 } END { print int(s / 1024) }')
  [[ "$size" =~ ^[0-9]+$ ]] || size=-1
  ((size > 0 && size >= on_disk - 1 && size <= on_disk + 1)) ||
    fail "MSI $2: the entry's size is \"$size\" KiB, the folder holds $on_disk KiB"
  # The entry's icon: Windows Installer keeps a copy under the product code,
  # the user's or the system's.
  cached="$(unix_path "$appdata\\Microsoft\\Installer\\$1\\quellor.ico")"
  [[ -f "$cached" ]] || cached="$WINEPREFIX/drive_c/windows/Installer/$1/quellor.ico"
  cmp -s "$cached" "$icon" || fail "MSI $2: the entry's icon is not the installer's"
}
check_msi_installed() { # product-code version folder menu
  local where file
  where="$(unix_path "$3")"
  for file in quellor.exe README.txt LICENSE.txt; do
    cmp -s "$where/$file" "$staged/$file" || fail "MSI $2: $3\\$file is not the package's"
  done
  [[ -f "$(unix_path "$4\\Quellor.lnk")" ]] || fail "MSI $2: no Start-menu shortcut in $4"
  # Wine's msi writes the link's path in the ANSI code page, NSIS in UTF-16.
  { strings -el "$(unix_path "$4\\Quellor.lnk")" && strings "$(unix_path "$4\\Quellor.lnk")"; } |
    grep -qiF "$3\\quellor.exe" ||
    fail "MSI $2: the shortcut does not lead to $3\\quellor.exe"
  check_msi_entry "$1" "$2" "$3"
  grep -E '^ +(DisplayName|DisplayVersion|Publisher|InstallLocation|Size) ' <<<"$values" |
    sed 's/^ \{4\}/  /'
}
check_msi_removed() { # what folder menu
  [[ ! -e "$(unix_path "$2")" ]] || fail "$1: left $(find "$(unix_path "$2")" | tr '\n' ' ')"
  [[ ! -e "$(unix_path "$3\\Quellor.lnk")" ]] || fail "$1: left the shortcut in $3"
  local entries
  entries="$(quellor_entries)"
  [[ -z "$entries" ]] || fail "$1: left the entry $entries"
  has_key "$settings" || fail "$1: removed the settings"
}
msi_leftovers

# One row per install: what it is, msiexec's property (none for the user
# alone), the folder and Start menu it must use, and the run ("-" for none).
# ALLUSERS=1 goes to the uninstall too: Wine's msiexec /x does not find a
# product's context by itself, and leaves Program Files as it is without it.
# Wine puts the shortcut of an install for every user into the user's own
# Start menu (Windows: into the common one, C:\ProgramData\...).
msi_rows=(
  "for the user||$local_appdata\\Programs\\Quellor|$user_menu|restart"
  "for every user|ALLUSERS=1|C:\\Program Files\\Quellor|$user_menu|-"
)
for row in "${msi_rows[@]}"; do
  IFS='|' read -r what property folder menu run <<<"$row"
  echo "MSI: install $what silently into $folder"
  started=$SECONDS
  # shellcheck disable=SC2086 # no property is no argument
  wine msiexec /i "$msi" $property /qn </dev/null || fail "MSI $what: msiexec /i failed ($?)"
  check_msi_installed "$msi_code" "$version" "$folder" "$menu"
  if [[ "$run" != - ]]; then
    drive run "$run" "$folder\\quellor.exe" || fail "MSI $what: the installed program"
  else
    drive prepare || fail "MSI $what: cannot prepare a clean state"
    drive place 1440 1440 || fail "MSI $what: cannot store a setting"
  fi
  # shellcheck disable=SC2086
  wine msiexec /x "$msi" $property /qn </dev/null || fail "MSI $what: msiexec /x failed ($?)"
  check_msi_removed "MSI $what: the uninstall" "$folder" "$menu"
  echo "  installed and uninstalled in $((SECONDS - started)) s; files, shortcut and entry" \
    "gone, $settings kept"
done

echo "MSI: an older version, then this one"
started=$SECONDS
older="$WINEPREFIX/Quellor-2.0.0-win64.msi"
python3 packaging/release_files.py msi 2.0.0 "$staged" "$icon" "$older" ||
  fail "cannot build an older MSI"
older_code="$(msi_property "$older" ProductCode)"
[[ "$older_code" != "$msi_code" && "$(msi_property "$older" UpgradeCode)" == "$upgrade_code" ]] ||
  fail "the older MSI's codes: product $older_code, upgrade $(msi_property "$older" UpgradeCode)"
folder="$local_appdata\\Programs\\Quellor"
wine msiexec /i "$older" /qn </dev/null || fail "MSI 2.0.0: msiexec /i failed"
check_msi_entry "$older_code" 2.0.0 "$folder" >/dev/null
drive prepare || fail "MSI 2.0.0: cannot prepare a clean state"
drive place 2880 1440 || fail "MSI 2.0.0: cannot store a setting"
wine msiexec /i "$msi" /qn </dev/null || fail "MSI $version over 2.0.0: msiexec /i failed"
check_msi_installed "$msi_code" "$version" "$folder" "$user_menu"
[[ "$(reg_value "$settings" PositionX)" == 0xb40 ]] ||
  fail "MSI $version over 2.0.0: the settings were not kept"
wine msiexec /x "$msi" /qn </dev/null || fail "MSI $version: msiexec /x failed"
check_msi_removed "MSI $version over 2.0.0: the uninstall" "$folder" "$user_menu"
echo "  one entry, $version's; settings kept ($((SECONDS - started)) s)"

echo "Manifests"
# The NSIS installer's entry is $entry, whose values the installs above checked.
python3 tests/package/check_manifests.py "$(dirname "$msi")" "$version" \
  nsis.DisplayName=Quellor nsis.Publisher=Quellor "nsis.DisplayVersion=$version" \
  nsis.ProductCode=Quellor msi.DisplayName=Quellor msi.Publisher=Quellor \
  "msi.DisplayVersion=$version" "msi.ProductCode=$msi_code" "msi.UpgradeCode=$upgrade_code" ||
  fail "the manifests"

msi_leftovers
leftovers
drive prepare || fail "cannot clear the settings"
echo "PASS packages"
